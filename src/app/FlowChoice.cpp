#include "app/FlowChoice.h"

#include <stdexcept>

#include "app/KroStepKeeper.h"
#include "app/OutputView.h"
#include "app/TfrmOutput.h"
#include "core/Text.h"
#include "db/KroDBUtils.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "environment/KroModLav.h"
#include "environment/KroPathManager.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlField.h"
#include "records/KroFileUtilities.h"
#include "records/KroTrack.h"

namespace {

using Catalog = KroTableCatalog;

constexpr const char* kBrowseFilter =
    "Output per elaborazioni (*.%s)|*.%s|File Guida (*.%s)|*.%s|File Generico (*.*)|*.*";
constexpr int kUtility = -1;

std::u16string wide(const std::string& narrow) {
    return text::toWide(narrow);
}

// The folder the folder picker starts in.
#ifdef _WIN32
constexpr const char16_t* kPickerStart = u"C:\\";
#else
constexpr const char16_t* kPickerStart = u"/";
#endif

}  // namespace

FlowChoice::FlowChoice(TfrmOutput& controller) : c_(controller) {}

void FlowChoice::chooseFlow(int flow) {
    KroStepKeeper* keeper = c_.stepKeeper();
    if (keeper == nullptr || flow < 0 || flow > 2) {
        return;
    }
    OutputView& view = c_.view();
    c_.setFlowType(flow);
    keeper->goTo(kFlowStep);
    view.setVisible("chkAssTasche", false);
    const char* layout = c_.workMode() != nullptr ? c_.workMode()->trackName(kFlowLayout) : nullptr;
    const std::u16string flowLayout = wide(layout != nullptr ? layout : "");
    switch (flow) {
        case 0:
            view.setText("lblDocSel", u"Doc. 'Virtuali' in Selezione");
            keeper->enable(kPocketStep);
            view.setText("tbTrack", flowLayout);
            view.setItemIndex("cboExt", 1);
            break;
        case 1:
            view.setText("lblCavMode", u"Flusso di selezione dei richiamati");
            view.setText("tbTrack", flowLayout);
            view.setEnabled("chkAssTasche", true);
            view.setVisible("chkAssTasche", true);
            keeper->enable(kPocketStep);
            view.setItemIndex("cboExt", 1);
            useLoggedBlock();
            break;
        default:
            view.setText("lblCavMode", u"Report delle distinte cartacee");
            keeper->disable(kPocketStep);
            view.setText("tbTrack", u"LIBERO");
            view.setItemIndex("cboExt", 2);
            break;
    }
    const std::string folder = c_.pathManager() != nullptr ? c_.pathManager()->jobPath() : "";
    view.setText("tbDstFile", wide(KroFileUtilities::inFolder(
                                  folder, defaultFileName(flow) + "." + extension())));
    keeper->advance(-1);
    c_.UpdateSteps(true);
}

std::string FlowChoice::defaultFileName(int flow) {
    switch (flow) {
        case 0:
            return Catalog::fill("%s_GGG", c_.jobName());
        case 1:
            return Catalog::fill("OrvaxBlocco_%.3d", c_.blockNumber());
        default:
            return Catalog::fill("%s_REP_GGG", c_.jobName());
    }
}

void FlowChoice::useLoggedBlock() {
    KroMy_DBUtils* db = c_.dbUtils();
    const char* from = c_.loadDateFrom().format("AAAA-MM-GG");
    if (db == nullptr || !db->connected() || from == nullptr) {
        return;  // no log to look in: the proposed number stays
    }
    if (!db->run(Catalog::fill(Catalog::kBlockOfLoadDate, db->escapeLiteral(from)),
                 KroQueryBase::kOpen, true, kUtility, true)) {
        return;
    }
    MySqlDataSet* rows = db->currentDataSet();
    if (db->query(kUtility)->resultCount() > 0 && rows != nullptr) {
        rows->first();
        c_.setBlockNumber(static_cast<int>(rows->fieldByName("PROGR").asInteger()));
        c_.view().setText("tbBlockNo", wide(std::to_string(c_.blockNumber())));
    }
}

std::string FlowChoice::extension() const {
    const OutputView& view = c_.view();
    return text::toNarrow(view.itemText("cboExt", view.itemIndex("cboExt")));
}

void FlowChoice::browseOutputFile() {
    KroStepKeeper* keeper = c_.stepKeeper();
    if (keeper == nullptr) {
        return;
    }
    OutputView& view = c_.view();
    keeper->goTo(kOutputFileStep);
    const std::string csv = text::toNarrow(view.itemText("cboExt", 0));
    const std::string nst = text::toNarrow(view.itemText("cboExt", 1));
    OutputView::SaveDialogRequest request;
    if (c_.pathManager() != nullptr) {
        request.initialFolder = wide(c_.pathManager()->directory(KroDir::kWork).value_or(""));
    }
    request.filter = wide(Catalog::fill(kBrowseFilter, csv, csv, nst, nst));
    request.filterIndex = view.itemIndex("cboExt") + 1;
    request.defaultExtension = wide(extension());
    request.fileName = view.text("tbDstFile");
    const std::optional<std::u16string> chosen = view.askSaveFileName(request);
    if (!chosen) {
        return;
    }
    view.setText("tbDstFile", *chosen);
    keeper->advance(-1);
    view.setEnabled("Control2", true);
    c_.UpdateSteps(true);
    for (const char* box : {"tbBlockNo", "tbAgg", "tbBlocks", "tbPraticheCount"}) {
        view.setText(box, u"");
    }
    view.setStatusText(u"Seleziona il tipo di file da esportare");
}

void FlowChoice::pickCopyFolder() {
    OutputView::SaveDialogRequest request;
    request.initialFolder = kPickerStart;
    request.title = u"Seleziona la cartella desiderata...";
    request.fileName = u"Premi invio quando sei nella cartella!";
    const std::optional<std::u16string> chosen = c_.view().askSaveFileName(request);
    KroFileUtilities* files = c_.fileUtilities();
    if (!chosen || files == nullptr) {
        return;
    }
    files->listComponents(text::toNarrow(*chosen));
    c_.view().setText("tbCopyPath", wide(files->directoryPath()));
}

bool FlowChoice::openFlowTrack(const std::string& name, std::unique_ptr<KroTrack>& track) {
    const std::string patterns = c_.pathManager() != nullptr
                                     ? c_.pathManager()->directory(KroDir::kPatterns).value_or("")
                                     : "";
    const std::string path = KroFileUtilities::inFolder(patterns, name + ".trk");
    if (track == nullptr) {
        track = std::make_unique<KroTrack>(&c_.view(), c_.env());
    } else {
        track->close();
    }
    if (name.empty() || !track->load(path)) {
        showError("Impossibile caricare il Tracciato Record");
        return false;
    }
    track->setMode(KroFile::kCreate);
    // The sorter may read the folder at any time: the file takes its name
    // only once it is complete.
    track->setStagedWriting(true);
    track->setFileName(text::toNarrow(c_.view().text("tbDstFile")));
    try {
        track->openOrThrow(true);
    } catch (const std::runtime_error& error) {
        showError(error.what());
        return false;
    }
    return true;
}

bool FlowChoice::copyToSorterFolder(const std::string& fileName) {
    KroFileUtilities* files = c_.fileUtilities();
    if (files == nullptr) {
        return false;
    }
    std::string name;
    std::string extension;
    files->splitPath(fileName, nullptr, &extension, &name, nullptr);
    std::string folder = text::toNarrow(c_.view().text("tbCopyPath"));
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
        folder += KroFileUtilities::kNativeSeparator;
    }
    const std::optional<std::string> target =
        folder.empty() ? std::nullopt : KroFileUtilities::makePath("", extension, name, folder);
    const int code =
        target ? files->copyFile(fileName, *target, false) : KroFileUtilities::kNoDestinationFolder;
    if (code == KroFileUtilities::kCopied) {
        c_.MonitorLine("File copiato nella seconda cartella di scarico");
        return true;
    }
    c_.MonitorLine(std::string("(W) - ") + KroFileUtilities::copyResultText(code));
    c_.MonitorLine(fileName);
    c_.MonitorLine("");
    return false;
}

void FlowChoice::showError(const std::string& text) {
    c_.MonitorLine(text);
    c_.view().show(wide(text), u"Errore!", ModalMessageBox::kIconError | ModalMessageBox::kOk);
}
