#include "app/StepDisplay.h"

#include "app/KroStepKeeper.h"
#include "app/OutputView.h"
#include "core/Text.h"

namespace {

// The step actions of alMain, by step.
constexpr const char* kStepActions[StepDisplay::kStepCount] = {
    "act01_Connect", "act02_DstType", "act03_Browse", "act04AssTas",
    "act05Verify",   "act06Unload",   "act07Reports"};

// The status-bar text while a step is current.
constexpr const char* kStepTexts[StepDisplay::kStepCount] = {
    "Connessione al database",
    "Seleziona il flusso da scaricare",
    "Seleziona il nome da assegnare al flusso di scarico",
    "Assegnazione delle tasche di selezione",
    "Verifiche di congruenza sul flusso",
    "Scrittura del flusso selezionato",
    "Fine lavoro"};

constexpr int kEndOfWorkStep = 6;
// The last step whose job date may still be edited.
constexpr int kLastStepWithJobDate = 4;

std::string numbered(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

}  // namespace

StepDisplay::StepDisplay(OutputView& view) : view_(view) {}

const char* StepDisplay::stepText(int step) {
    return step >= 0 && step < kStepCount ? kStepTexts[static_cast<size_t>(step)] : nullptr;
}

bool StepDisplay::findElement(const std::string& name, const char* message) {
    if (view_.hasElement(name)) {
        return true;
    }
    view_.show(text::toWide(message), u"Errore!",
               ModalMessageBox::kIconError | ModalMessageBox::kOk);
    return false;
}

bool StepDisplay::find() {
    found_ = false;
    for (size_t i = 0; i < kStepCount; ++i) {
        const int n = static_cast<int>(i) + 1;
        statePanels_[i] = numbered("pnlStato", n);
        if (!findElement(statePanels_[i], "Errore nel caricamento dei pannelli di stato")) {
            return false;
        }
        stepControls_[i] = numbered("Control", n);
        if (!findElement(stepControls_[i], "Errore nel caricamento dei Controlli")) {
            return false;
        }
    }
    for (size_t i = 0; i < kFlowCount; ++i) {
        flowButtons_[i] = numbered("RadioButton", static_cast<int>(i) + 1);
        if (!findElement(flowButtons_[i], "Errore nel caricamento dei Pulsanti Radio")) {
            return false;
        }
    }
    found_ = true;
    return true;
}

void StepDisplay::update(const KroStepKeeper& keeper, bool on) {
    if (!found_) {
        return;
    }
    const int current = keeper.current();
    for (int i = 0; i < kStepCount; ++i) {
        const auto index = static_cast<size_t>(i);
        if (on) {
            const bool enabled = (i <= current || i == kEndOfWorkStep) && keeper.isEnabled(i);
            view_.setEnabled(kStepActions[index], enabled);
            view_.setEnabled(stepControls_[index], enabled);
            if (i == current) {
                view_.setColour(statePanels_[index], OutputView::Colour::Yellow);
                view_.setStatusText(text::toWide(kStepTexts[index]));
            } else {
                view_.setColour(statePanels_[index], OutputView::Colour::ButtonFace);
            }
        } else {
            // The controls keep their state: the speed buttons follow their
            // actions anyway.
            view_.setEnabled(kStepActions[index], false);
            view_.setColour(statePanels_[index], OutputView::Colour::ButtonFace);
        }
    }
    showJobDate(current);
}

void StepDisplay::showJobDate(int current) {
    const bool editable = current <= kLastStepWithJobDate;
    view_.setColour("tbJobDate",
                    editable ? OutputView::Colour::Window : OutputView::Colour::ButtonFace);
    view_.setReadOnly("tbJobDate", !editable);
}
