#include "app/ViewFlowListener.h"

#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "core/Text.h"

ViewFlowListener::ViewFlowListener(TfrmOutput& controller) : controller_(controller) {}

void ViewFlowListener::statusText(const std::string& text) {
    controller_.view().setStatusText(text::toWide(text));
}

void ViewFlowListener::monitorLine(const std::string& line) {
    controller_.MonitorLine(line);
}

void ViewFlowListener::progress(int position, int maximum) {
    controller_.view().setProgress("ProgressBar", position, maximum);
    controller_.view().processEvents();
}

void ViewFlowListener::error(const std::string& text) {
    controller_.view().show(text::toWide(text), u"Errore!",
                            ModalMessageBox::kIconError | ModalMessageBox::kOk);
}

void ViewFlowListener::warning(const std::string& text) {
    controller_.view().show(text::toWide(text), u"Attenzione!",
                            ModalMessageBox::kIconWarning | ModalMessageBox::kOk);
}

bool ViewFlowListener::question(const std::string& text, const std::string& caption) {
    const int answer =
        controller_.view().show(text::toWide(text), text::toWide(caption),
                                ModalMessageBox::kIconQuestion | ModalMessageBox::kYesNo);
    return answer == ModalMessageBox::kAnswerYes;
}
