// A message box for tests: records every box shown and answers with a preset
// button, as an operator would.
#pragma once

#include <string>
#include <vector>

#include "platform/ModalMessageBox.h"

struct ShownMessage {
    std::u16string text;
    std::u16string caption;
    int flags = 0;
};

class RecordingMessageBox : public ModalMessageBox {
public:
    int show(const std::u16string& text, const std::u16string& caption, int flags) override {
        shown.push_back({text, caption, flags});
        return answer;
    }

    std::vector<ShownMessage> shown;
    int answer = kAnswerOk;
};
