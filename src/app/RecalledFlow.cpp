#include "app/RecalledFlow.h"

#include <string>

#include "app/FlowChoice.h"
#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "app/ViewFlowListener.h"
#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "environment/KroModLav.h"
#include "environment/KroWitness.h"
#include "flows/DocumentRange.h"
#include "flows/RecalledItemsWriter.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlField.h"
#include "records/KroTrack.h"

namespace {

using Catalog = KroTableCatalog;

constexpr int kUtility = -1;
constexpr const char* kUnlinkedError = "(E) ERRORE DURANTE L'ESTRAZIONE EFFETTI NON AGGANCIATI";

}  // namespace

RecalledFlow::RecalledFlow(TfrmOutput& controller) : c_(controller) {}

bool RecalledFlow::verify() {
    KroMy_DBUtils* db = c_.dbUtils();
    OutputView& view = c_.view();
    view.setStatusText(u"Estrazione Effetti");
    const std::string job = c_.jobName();
    std::string table;
    std::string sql;
    if (job.find("CC") != std::string::npos) {
        c_.MonitorLine("Output del controllo di caveau");
        table = job + "_DOC";
        sql = Catalog::fill(Catalog::kUnlinkedDocuments, job);
    } else {
        c_.MonitorLine("Crea il flusso di selezione");
        view.setStatusText(u"Estrazione Effetti");
        const char* date =
            c_.witness() != nullptr ? c_.witness()->jobDate().format("AAMMGG") : nullptr;
        const std::string jobDate = date != nullptr ? date : "";
        table = job + "_" + jobDate + "_GUI_DOC";
        sql = Catalog::fill(Catalog::kGuideWithoutSerial, job, jobDate);
    }
    // The table name comes from the suite's files: a name that is not a plain
    // identifier never reaches the server (the gateway shows why).
    if (db == nullptr || !db->checkIdentifier(table) ||
        !db->run(sql, KroQueryBase::kOpen, true, kUtility, true)) {
        showError(kUnlinkedError, "Errore!");
        c_.MonitorLine(kUnlinkedError);
        return false;
    }
    MySqlDataSet* rows = db->currentDataSet();
    const int unlinked =
        rows != nullptr ? static_cast<int>(rows->fieldByName("NAG").asInteger()) : 0;
    if (unlinked > 0) {
        c_.MonitorLine(
            Catalog::fill("Esistono in lavorazione %d effetti non agganciati!", unlinked));
        c_.MonitorLine("Gli effetti non agganciati non verranno scaricati");
    }
    return true;
}

bool RecalledFlow::write() {
    KroMy_DBUtils* db = c_.dbUtils();
    const char* layout =
        c_.workMode() != nullptr ? c_.workMode()->trackName(FlowChoice::kFlowLayout) : nullptr;
    if (db == nullptr || !c_.OpenFlowTrack(layout != nullptr ? layout : "", c_.flowTrack())) {
        showError("Impossibile creare il file di scarico", "Errore");
        c_.MonitorLine("(E)CREAZIONE FLUSSO GUIDA ABORTITA!");
        return false;
    }
    ViewFlowListener listener(c_);
    const RecalledItemsWriter::Result result =
        RecalledItemsWriter(*db, listener)
            .write(*c_.flowTrack(), c_.documentRange(), c_.counts(), c_.blockNumber());
    const bool fileComplete =
        result.ok() || result.outcome == RecalledItemsWriter::Outcome::kLogFailed;
    if (fileComplete && c_.view().isChecked("chkCopyPath")) {
        c_.CopyToSorterFolder(text::toNarrow(c_.view().text("tbDstFile")));
    }
    c_.view().setProgress("ProgressBar", result.records, result.records);
    c_.view().setStatusText(u"Scarico terminato");
    return result.ok();
}

void RecalledFlow::showError(const char* text, const char* caption) {
    c_.view().show(text::toWide(text), text::toWide(caption),
                   ModalMessageBox::kIconError | ModalMessageBox::kOk);
}
