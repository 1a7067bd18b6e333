#include "app/PocketStep.h"

#include <string>

#include "app/KroStepKeeper.h"
#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "app/ViewFlowListener.h"
#include "core/FormatThousands.h"
#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "flows/DocumentRange.h"
#include "flows/PocketAssignment.h"

namespace {

constexpr int kCountWidth = 11;

}  // namespace

PocketStep::PocketStep(TfrmOutput& controller) : c_(controller) {}

void PocketStep::run() {
    KroStepKeeper* keeper = c_.stepKeeper();
    KroMy_DBUtils* db = c_.dbUtils();
    if (keeper == nullptr || db == nullptr) {
        return;
    }
    OutputView& view = c_.view();
    ViewFlowListener listener(c_);
    PocketAssignment(*db, listener).fillSerials(c_.docTable());
    if (view.text("tbDataIn").empty()) {
        showError("Attribuisci la data carico iniziale");
        return;
    }
    c_.loadDateFrom().parseWithPattern(view.text("tbDataIn"), u"GG/MM/AAAA");
    if (view.text("tbDataOut").empty()) {
        showError("Attribuisci la data carico finale");
        return;
    }
    c_.loadDateTo().parseWithPattern(view.text("tbDataOut"), u"GG/MM/AAAA");
    if (!countDocuments()) {
        showError("Errori in fase di estrazione");
        view.setFocus("tbDataIn");
        keeper->goTo(kFlowStep);
        return;
    }
    keeper->goTo(kPocketStep);
    c_.UpdateSteps(false);
    const int pockets = view.position("udLast") - view.position("udFirst") + 1;
    c_.setPocketCount(pockets);
    if (pockets < kLeastPockets) {
        showError(
            "I dati relativi alle tasche di selezione nelle impostazioni del programma sono "
            "sbagliati");
        keeper->goTo(kPocketStep);
        c_.UpdateSteps(true);
        return;
    }
    view.setText("lblPkts", text::toWide("Tasche: " + std::to_string(pockets)));
    if (!assignPockets()) {
        view.terminate();
        return;
    }
    keeper->advance(-1);
    c_.UpdateSteps(true);
}

void PocketStep::leaveDateBox(std::string_view box) {
    if (box != "tbDataIn" && box != "tbDataOut") {
        return;
    }
    OutputView& view = c_.view();
    KroDate& date = c_.workDate();
    if (!date.parse(view.text(box))) {
        showError("Data non valida");
        view.setText(box, u"");
        view.setFocus(box);
        return;
    }
    std::u16string shown;
    date.formatW(&shown, u"GG/MM/AAAA");
    view.setText(box, shown);
    countDocuments();
}

bool PocketStep::readDateBox(std::string_view box, bool fromDate) {
    OutputView& view = c_.view();
    const std::u16string text = view.text(box);
    if (text.empty()) {
        view.setFocus(box);
        return false;
    }
    KroDate& date = fromDate ? c_.loadDateFrom() : c_.loadDateTo();
    date.parseWithPattern(text, u"GG/MM/AAAA");
    return true;
}

bool PocketStep::countDocuments() {
    KroMy_DBUtils* db = c_.dbUtils();
    if (!readDateBox("tbDataIn", true) || !readDateBox("tbDataOut", false) || db == nullptr) {
        return false;
    }
    ViewFlowListener listener(c_);
    DocumentCounts counts;
    const bool found = PocketAssignment(*db, listener).countDocuments(c_.documentRange(), counts);
    if (counts.dossiers > 0) {
        c_.view().setText("tbPraticheCount", text::toWide(std::to_string(counts.dossiers)));
    }
    c_.setCounts(counts);
    if (!found) {
        return false;
    }
    c_.view().setText("tbAgg", text::toWide(FormatThousands(counts.totDoc, kCountWidth)));
    return true;
}

bool PocketStep::assignPockets() {
    KroMy_DBUtils* db = c_.dbUtils();
    if (db == nullptr) {
        return false;
    }
    OutputView& view = c_.view();
    ViewFlowListener listener(c_);
    const int assigned =
        PocketAssignment(*db, listener)
            .assignPockets(c_.documentRange(), c_.counts().startDoc, view.position("udLast"));
    if (assigned < 0) {
        return false;
    }
    view.setText("tbDstRecs", text::toWide(FormatThousands(assigned, kCountWidth)));
    view.setText("tbBlocks", u"0");
    view.setText("tbBatch", u"0");
    return true;
}

void PocketStep::showError(const char* text) {
    c_.view().show(text::toWide(text), u"Errore!",
                   ModalMessageBox::kIconError | ModalMessageBox::kOk);
}
