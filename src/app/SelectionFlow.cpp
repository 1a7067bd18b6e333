#include "app/SelectionFlow.h"

#include <algorithm>
#include <string>

#include "app/FlowChoice.h"
#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "app/ViewFlowListener.h"
#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "environment/KroModLav.h"
#include "environment/KroWitness.h"
#include "records/KroTrack.h"

namespace {

// The ranges of the settings page's up-downs.
constexpr int kFirstPocket = 1;
constexpr int kLastReturnsPocket = 100;
constexpr int kLastStamp = 9;

}  // namespace

SelectionFlow::SelectionFlow(TfrmOutput& controller) : c_(controller) {}

bool SelectionFlow::verify() {
    KroMy_DBUtils* db = c_.dbUtils();
    if (db == nullptr) {
        return true;  // nothing to look at; the writing reports the missing link
    }
    ViewFlowListener listener(c_);
    return SelectionFlowWriter(*db, listener, job()).verify();
}

bool SelectionFlow::write() {
    KroMy_DBUtils* db = c_.dbUtils();
    const char* layout =
        c_.workMode() != nullptr ? c_.workMode()->trackName(FlowChoice::kFlowLayout) : nullptr;
    if (db == nullptr || !c_.OpenFlowTrack(layout != nullptr ? layout : "", c_.flowTrack())) {
        showError("Impossibile creare il file di scarico", "Errore");
        c_.MonitorLine(SelectionFlowWriter::kAborted);
        return false;
    }
    ViewFlowListener listener(c_);
    const SelectionFlowWriter::Result result =
        SelectionFlowWriter(*db, listener, job()).write(*c_.flowTrack());
    // An empty flow has been removed: there is nothing to copy.
    const bool hasRecords = result.guideRecords + result.recalledRecords > 0;
    if (result.ok() && hasRecords && c_.view().isChecked("chkCopyPath")) {
        c_.CopyToSorterFolder(text::toNarrow(c_.view().text("tbDstFile")));
    }
    return result.ok();
}

bool SelectionFlow::writeRecord(int pocket, bool recalled) {
    KroMy_DBUtils* db = c_.dbUtils();
    MySqlDataSet* rows = db != nullptr ? db->currentDataSet() : nullptr;
    if (rows == nullptr || c_.flowTrack() == nullptr) {
        return false;
    }
    ViewFlowListener listener(c_);
    std::string problem;
    const bool written = SelectionFlowWriter(*db, listener, job())
                             .writeRecord(*c_.flowTrack(), *rows, pocket, recalled, problem);
    if (!problem.empty()) {
        listener.error(problem);
    }
    return written;
}

SelectionFlowWriter::Job SelectionFlow::job() const {
    SelectionFlowWriter::Job job;
    job.name = c_.jobName();
    const char* date = c_.witness() != nullptr ? c_.witness()->jobDate().format("AAMMGG") : nullptr;
    job.date = date != nullptr ? date : "";
    job.type = c_.jobType();
    const OutputView& view = c_.view();
    job.returnsPocket = std::clamp(view.position("udResi"), kFirstPocket, kLastReturnsPocket);
    job.defaultStamp = std::clamp(view.position("udDefStamp"), 0, kLastStamp);
    return job;
}

void SelectionFlow::showError(const char* text, const char* caption) {
    c_.view().show(text::toWide(text), text::toWide(caption),
                   ModalMessageBox::kIconError | ModalMessageBox::kOk);
}
