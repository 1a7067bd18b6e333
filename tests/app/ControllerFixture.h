// The controller on a complete suite tree, with the recording window and a
// test Env (fixed clock, chosen login name).
//
//   TEST_F(ControllerTest, ...) {
//       suite.workMode.params[16] = "";   // break what the test needs
//       suite.writeWorkMode();
//       TfrmOutput& c = start();          // construction, FormCreate, FormActivate
//   }
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/TfrmOutput.h"
#include "core/Text.h"
#include "support/RecordingView.h"
#include "support/SuiteTree.h"
#include "support/TestEnv.h"

using Texts = std::vector<std::string>;

inline std::string narrow(const std::u16string& text) {
    return text::toNarrow(text);
}

class ControllerTest : public testing::Test {
protected:
    ControllerTest() {
        env.now = UtcTime{2024, 9, 10, 8, 0, 0};
        env.login = u"operatore";
    }

    // A new controller on the suite tree, then FormCreate.
    TfrmOutput& create() {
        controller = std::make_unique<TfrmOutput>(view, suite.home(), controllerEnv);
        controller->FormCreate();
        return *controller;
    }

    // create(), then FormActivate.
    TfrmOutput& start() {
        create().FormActivate();
        return *controller;
    }

    std::string settingsFile() const {
        return suite.file(SuiteTree::kAuxiliary, "ExportOrvax-" + suite.witness.jobName + ".PRS");
    }

    SuiteTree suite;
    TestEnv env;
    // The system the controller sees (a test may give it a full disk).
    Env* controllerEnv = &env;
    RecordingView view;
    std::unique_ptr<TfrmOutput> controller;
};
