#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControllerFixture.h"
#include "app/KroStepKeeper.h"

namespace {

using Colour = OutputView::Colour;

const char* const kActions[] = {"act01_Connect", "act02_DstType", "act03_Browse", "act04AssTas",
                                "act05Verify",   "act06Unload",   "act07Reports"};

class StepsTest : public ControllerTest {
protected:
    void SetUp() override { start(); }

    KroStepKeeper& keeper() { return *controller->stepKeeper(); }

    // The steps whose actions are enabled.
    std::vector<int> enabledActions() {
        std::vector<int> steps;
        for (int i = 0; i < 7; ++i) {
            if (view.element(kActions[i]).enabled) {
                steps.push_back(i);
            }
        }
        return steps;
    }

    std::vector<int> yellowPanels() {
        std::vector<int> steps;
        for (int i = 0; i < 7; ++i) {
            if (view.element("pnlStato" + std::to_string(i + 1)).colour == Colour::Yellow) {
                steps.push_back(i);
            }
        }
        return steps;
    }

    std::vector<std::string> statusTexts() const {
        std::vector<std::string> texts;
        for (const std::u16string& text : view.statusTexts) {
            texts.push_back(narrow(text));
        }
        return texts;
    }

    // Puts the keeper on a step and redraws.
    void showStep(int step) {
        keeper().goTo(step);
        controller->UpdateSteps(true);
    }
};

struct DisplayCase {
    int step;
    std::vector<int> enabled;
    const char* statusText;
    bool dateEditable;
};

TEST_F(StepsTest, TheDisplayFollowsTheCurrentStep) {
    // Step 2 is skipped, as the hidden chkStdFile (checked) makes it.
    const DisplayCase cases[] = {
        {0, {0, 6}, "Connessione al database", true},
        {1, {0, 1, 6}, "Seleziona il flusso da scaricare", true},
        {3, {0, 1, 3, 6}, "Assegnazione delle tasche di selezione", true},
        {4, {0, 1, 3, 4, 6}, "Verifiche di congruenza sul flusso", true},
        {5, {0, 1, 3, 4, 5, 6}, "Scrittura del flusso selezionato", false},
        {6, {0, 1, 3, 4, 5, 6}, "Fine lavoro", false},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(c.step);
        showStep(c.step);
        EXPECT_EQ(enabledActions(), c.enabled);
        EXPECT_EQ(yellowPanels(), std::vector<int>{c.step});
        EXPECT_EQ(view.statusText(), c.statusText);
        for (int i = 0; i < 7; ++i) {
            const std::string control = "Control" + std::to_string(i + 1);
            EXPECT_EQ(view.element(control).enabled, view.element(kActions[i]).enabled) << control;
        }
        EXPECT_EQ(view.element("tbJobDate").readOnly, !c.dateEditable);
        EXPECT_EQ(view.element("tbJobDate").colour,
                  c.dateEditable ? Colour::Window : Colour::ButtonFace);
    }
}

TEST_F(StepsTest, TheOutputFileStepIsOfferedWhenNotSkipped) {
    view.element("chkStdFile").checked = false;
    controller->chkStdFileClick();
    showStep(2);
    EXPECT_EQ(enabledActions(), (std::vector<int>{0, 1, 2, 6}));
    EXPECT_EQ(view.statusText(), "Seleziona il nome da assegnare al flusso di scarico");
}

TEST_F(StepsTest, SwitchingTheDisplayOffDisablesEveryStepButKeepsTheControls) {
    showStep(3);
    const std::u16string status = view.statusTexts.back();
    controller->UpdateSteps(false);
    EXPECT_TRUE(enabledActions().empty());
    EXPECT_TRUE(yellowPanels().empty());
    EXPECT_TRUE(view.element("Control2").enabled);
    EXPECT_EQ(view.statusTexts.back(), status);
    EXPECT_FALSE(view.element("tbJobDate").readOnly);  // still step 3
}

TEST_F(StepsTest, CtrlAltZSwitchesTheForcingMode) {
    controller->FormKeyDown('Z', true, true);
    EXPECT_TRUE(controller->forceMode());
    EXPECT_EQ(view.statusText(), "Forzatura ON");
    controller->FormKeyDown('z', true, true);
    EXPECT_FALSE(controller->forceMode());
    EXPECT_EQ(view.statusText(), "Forzatura OFF");

    // Another key with Ctrl and Alt shows the state only.
    controller->FormKeyDown('Z', true, true);
    controller->FormKeyDown('X', true, true);
    EXPECT_TRUE(controller->forceMode());
    EXPECT_EQ(view.statusText(), "Forzatura ON");

    // Without both Ctrl and Alt nothing happens.
    const size_t shown = view.statusTexts.size();
    controller->FormKeyDown('Z', false, false);
    controller->FormKeyDown('Z', true, false);
    controller->FormKeyDown('Z', false, true);
    EXPECT_TRUE(controller->forceMode());
    EXPECT_EQ(view.statusTexts.size(), shown);
    // A key code that only looks like Z in its low byte is not Z.
    controller->FormKeyDown('Z' + 256, true, true);
    EXPECT_TRUE(controller->forceMode());
}

class StepMachineTest : public StepsTest {
protected:
    // The state the display was in while a flow's operation ran.
    struct Seen {
        int calls = 0;
        int step = -2;
        std::vector<int> enabled;
    };

    std::function<bool()> recorder(Seen& seen, bool result) {
        return [this, &seen, result] {
            ++seen.calls;
            seen.step = keeper().current();
            seen.enabled = enabledActions();
            return result;
        };
    }

    // Connected, flow 1 chosen and pockets assigned: the keeper on step 4.
    void readyToVerify() {
        controller->setFlowType(1);
        keeper().goTo(3);
        keeper().advance(-1);
        controller->UpdateSteps(true);
        ASSERT_EQ(keeper().current(), 4);
    }
};

TEST_F(StepMachineTest, AFlowWithoutOperationsPassesAndCountsAsWritten) {
    readyToVerify();
    controller->setFlowSteps(0, {});  // a flow that plugs in nothing
    controller->setFlowType(0);
    controller->act05VerifyExecute();
    EXPECT_EQ(keeper().current(), 5);
    EXPECT_TRUE(keeper().isDisabled(4));
    EXPECT_EQ(enabledActions(), (std::vector<int>{0, 1, 3, 5, 6}));

    view.statusTexts.clear();
    controller->act06UnloadExecute();
    EXPECT_EQ(keeper().current(), 6);
    EXPECT_TRUE(keeper().isDisabled(5));
    EXPECT_EQ(statusTexts(),
              (std::vector<std::string>{"Scrittura del flusso selezionato",
                                        "Scrittura del flusso selezionato", "Fine lavoro"}));
    EXPECT_EQ(enabledActions(), (std::vector<int>{0, 1, 3, 6}));
    EXPECT_EQ(yellowPanels(), std::vector<int>{6});
}

TEST_F(StepMachineTest, TheChosenFlowsOperationsRunWithTheDisplayOff) {
    Seen otherVerify, verify, write;
    controller->setFlowSteps(0, {recorder(otherVerify, true), nullptr});
    controller->setFlowSteps(1, {recorder(verify, true), recorder(write, true)});
    readyToVerify();

    controller->act05VerifyExecute();
    EXPECT_EQ(otherVerify.calls, 0);
    EXPECT_EQ(verify.calls, 1);
    EXPECT_EQ(verify.step, 4);
    EXPECT_TRUE(verify.enabled.empty());  // the whole window takes no input meanwhile
    EXPECT_EQ(keeper().current(), 5);

    controller->act06UnloadExecute();
    EXPECT_EQ(write.calls, 1);
    EXPECT_EQ(write.step, 5);
    EXPECT_TRUE(write.enabled.empty());
    EXPECT_EQ(keeper().current(), 6);

    // Each runs once per run: later moves that would reach them end on 6.
    keeper().goTo(3);
    keeper().advance(-1);
    EXPECT_EQ(keeper().current(), 6);
}

TEST_F(StepMachineTest, AFailedWritingIsReportedAndTheWorkflowEnds) {
    Seen write;
    controller->setFlowSteps(1, {nullptr, recorder(write, false)});
    readyToVerify();
    controller->act05VerifyExecute();
    view.statusTexts.clear();
    controller->act06UnloadExecute();
    EXPECT_EQ(write.calls, 1);
    EXPECT_EQ(statusTexts(),
              (std::vector<std::string>{"Scrittura del flusso selezionato",
                                        "Creazione flusso abortita", "Fine lavoro"}));
    EXPECT_EQ(keeper().current(), 6);
    EXPECT_TRUE(keeper().isDisabled(5));
}

TEST_F(StepMachineTest, AFailedVerificationCanBeRunAgainButNotSkipped) {
    Seen failing, write;
    controller->setFlowSteps(1, {recorder(failing, false), recorder(write, true)});
    readyToVerify();
    controller->act05VerifyExecute();
    EXPECT_EQ(failing.calls, 1);
    // The window is usable again, on the verification step.
    EXPECT_EQ(keeper().current(), 4);
    EXPECT_TRUE(keeper().isEnabled(4));
    EXPECT_EQ(enabledActions(), (std::vector<int>{0, 1, 3, 4, 6}));
    EXPECT_EQ(yellowPanels(), std::vector<int>{4});
    EXPECT_EQ(view.statusText(), "Verifiche di congruenza sul flusso");

    // A new pocket assignment leads to the verification, not past it.
    keeper().goTo(3);
    keeper().advance(-1);
    EXPECT_EQ(keeper().current(), 4);

    Seen passing;
    controller->setFlowSteps(1, {recorder(passing, true), recorder(write, true)});
    controller->act05VerifyExecute();
    EXPECT_EQ(passing.calls, 1);
    EXPECT_EQ(keeper().current(), 5);
    EXPECT_EQ(write.calls, 0);
}

TEST_F(StepMachineTest, AnUnknownFlowTypeHasNoOperations) {
    Seen verify;
    controller->setFlowSteps(1, {recorder(verify, false), nullptr});
    controller->setFlowSteps(3, {recorder(verify, false), nullptr});  // ignored
    readyToVerify();
    controller->setFlowType(7);
    controller->act05VerifyExecute();
    EXPECT_EQ(verify.calls, 0);
    EXPECT_EQ(keeper().current(), 5);
}

}  // namespace
