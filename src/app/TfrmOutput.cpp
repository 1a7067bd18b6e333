#include "app/TfrmOutput.h"

#include <algorithm>
#include <cctype>

#include <stdexcept>

#include "app/FlowChoice.h"
#include "app/KroStepKeeper.h"
#include "app/OutputView.h"
#include "app/PocketStep.h"
#include "app/ProgramSettings.h"
#include "app/RecalledFlow.h"
#include "app/RemittanceFlow.h"
#include "app/SelectionFlow.h"
#include "app/StepDisplay.h"
#include "app/VaultTables.h"
#include "core/StatusReport.h"
#include "core/Text.h"
#include "db/KroAuth.h"
#include "db/KroCnnString.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroTableCatalog.h"
#include "environment/KroDefData.h"
#include "environment/KroModLav.h"
#include "environment/KroPathManager.h"
#include "environment/KroWitness.h"
#include "flows/DocumentRange.h"
#include "records/KroFile.h"
#include "records/KroFileUtilities.h"
#include "records/KroTrack.h"

namespace {

constexpr int kVerifyStep = 4;
constexpr int kWriteStep = 5;
constexpr int kOutputFileStep = 2;

// Work-mode entries.
constexpr int kFolderDatePattern = 16;
constexpr int kBankCode = 0;
constexpr int kGuideLayout = 10;
constexpr int kConnectionStringName = 7;
constexpr int kLowerCaseUsers = 7;

constexpr int kDataSets = 5;

// folder and name joined with the native separator (none added after one).
std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\') {
        return folder + name;
    }
    return folder + KroFileUtilities::kNativeSeparator + name;
}

std::u16string wide(std::string_view narrow) {
    return text::toWide(narrow);
}

// Letters, digits and underscores; not empty.
bool isPlainName(std::string_view name) {
    const auto plain = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
    };
    return !name.empty() && std::all_of(name.begin(), name.end(), plain);
}

}  // namespace

TfrmOutput::TfrmOutput(OutputView& view, std::string home, Env* env)
    : view_(view),
      home_(std::move(home)),
      env_(env),
      workDate_(env),
      loadDateFrom_(env),
      loadDateTo_(env),
      stepDisplay_(view) {
    centreWindow();
    stepKeeper_ = std::make_unique<KroStepKeeper>(kStepCount);
    fileUtilities_ = std::make_unique<KroFileUtilities>(env_);
    flowChoice_ = std::make_unique<FlowChoice>(*this);
    pocketStep_ = std::make_unique<PocketStep>(*this);
    recalledFlow_ = std::make_unique<RecalledFlow>(*this);
    setFlowSteps(1, {[this] { return VerifyRecalledFlow(); },
                     [this] {
                         const bool written = WriteRecalledFlow();
                         if (written) {
                             MonitorLine("Flusso Selez. Resi scaricato regolarmente");
                         }
                         return written;
                     }});
    remittanceFlow_ = std::make_unique<RemittanceFlow>(*this);
    setFlowSteps(2, {nullptr, [this] { return WriteRemittances(); }});
    selectionFlow_ = std::make_unique<SelectionFlow>(*this);
    setFlowSteps(
        0, {[this] { return VerifySelectionFlow(); }, [this] { return WriteSelectionFlow(); }});
}

TfrmOutput::~TfrmOutput() {
    releaseObjects();
}

void TfrmOutput::centreWindow() {
    const OutputView::Geometry g = view_.geometry();
    // Integer division truncates toward zero, also for a window larger than
    // the screen.
    view_.moveWindow((g.screenHeight - g.windowHeight) / 2, (g.screenWidth - g.windowWidth) / 2);
}

// ---------------------------------------------------------------- start-up

void TfrmOutput::FormCreate() {
    if (!buildEnvironment() || !CheckWorkMode() || !CheckJobNames()) {
        return;
    }
    openJobFolder();
    if (!stepDisplay_.find()) {
        return;
    }
    LoadSettings();
    stepKeeper_->restart();
    stepKeeper_->setStepCount(kStepCount);
    UpdateSteps(true);
    nameDocumentTable();
    started_ = true;
}

bool TfrmOutput::buildEnvironment() {
    pathManager_ = std::make_unique<KroPathManager>(home_, env_);
    if (pathManager_->status().anyLow()) {  // the high bits are state flags
        ReportStartupError(*pathManager_);
        return false;
    }
    userData_ =
        std::make_unique<KroDefData>(pathManager_->directory(KroDir::kUserData).value_or(""), env_);
    if (userData_->status().any()) {
        ReportStartupError(*userData_);
        return false;
    }
    witness_ = std::make_unique<KroWitness>(
        pathManager_->directory(KroDir::kWork).value_or(""), userData_->stationCode(),
        static_cast<uint32_t>(userData_->stationNumber()), env_);
    if (witness_->status().any()) {
        ReportStartupError(*witness_);
        return false;
    }
    workMode_ = std::make_unique<KroModLav>(
        witness_->jobName(), pathManager_->directory(KroDir::kParameters).value_or(""), env_);
    if (workMode_->status().any()) {
        ReportStartupError(*workMode_);
        return false;
    }
    return true;
}

void TfrmOutput::ReportStartupError(const KroFastObject& object) {
    showStatusReport(object, 0, view_);
}

bool TfrmOutput::CheckWorkMode() {
    // The work mode answers none for a missing entry and while its status is set.
    if (workMode_ == nullptr || workMode_->param(kFolderDatePattern) == nullptr) {
        showError("Manca il formato date nel Modo lavoro");
        return false;
    }
    if (workMode_->param(kBankCode) == nullptr) {
        showError("Manca Abi Utente nel Modo lavoro");
        return false;
    }
    if (workMode_->trackName(kGuideLayout) == nullptr) {
        showError("Manca la dichiarazione tracc. Guida Selezione nel Modo lavoro");
        return false;
    }
    return true;
}

void TfrmOutput::openJobFolder() {
    // Selects (and creates) the job's folder for the output files; start-up
    // goes on whatever the result.
    const char* date = witness_->jobDate().format(workMode_->param(kFolderDatePattern));
    pathManager_->openJobFolder(jobName(), date != nullptr ? date : "", KroDir::kWork, true);
}

// The job name names folders and tables, its last part is the job type and
// the type code goes between quotes in statements: none of them may hold
// anything a statement or a path would read as more than a name.
bool TfrmOutput::CheckJobNames() {
    const std::string job = jobName();
    if (!isPlainName(job)) {
        showError(KroTableCatalog::fill(
            "Nome del lavoro non valido: \"%s\"\r\nSono ammessi solo lettere, cifre e _", job));
        return false;
    }
    const char* typeCode = workMode_->param(PocketStep::kTypeCode);
    if (typeCode != nullptr && !isPlainName(typeCode)) {
        showError(KroTableCatalog::fill(
            "Codice tipo non valido nel Modo lavoro: \"%s\"\r\nSono ammessi solo lettere, "
            "cifre e _",
            typeCode));
        return false;
    }
    return true;
}

void TfrmOutput::nameDocumentTable() {
    const char* date = witness_->jobDate().format("AAMMGG");
    docTable_ = KroTableCatalog::documentTable(jobName(), date != nullptr ? date : "");
}

std::string TfrmOutput::jobName() const {
    const char* job = witness_ != nullptr ? witness_->jobName() : nullptr;
    return job != nullptr ? job : "";
}

// -------------------------------------------------------------- activation

void TfrmOutput::FormActivate() {
    if (!started_) {
        view_.terminate();
        return;
    }
    showJob();
    if (!deriveJobType()) {
        return;
    }
    const std::string title =
        KroTableCatalog::fill("Quorvel - Export Scarico di Caveau (Rev. %s)", kRevision);
    view_.setTitle(wide(title));
    view_.setActivePage("tsPreLoad");
    chkStdFileClick();
}

void TfrmOutput::showJob() {
    KroDate& date = witness_->jobDate();
    view_.setText("tbJobImpo", wide(jobName()));
    const char* shown = date.format("GG.MM.AAAA");
    view_.setText("tbJobDate", wide(shown != nullptr ? shown : ""));
    view_.setText("tbGiulian", wide(std::to_string(date.julianDay())));
}

bool TfrmOutput::deriveJobType() {
    // The text after the last underscore; an underscore in the first
    // position does not count.
    const std::string job = jobName();
    const size_t underscore = job.rfind('_');
    if (underscore == std::string::npos || underscore == 0) {
        return true;  // the type stays as it was
    }
    const std::string suffix = job.substr(underscore + 1);
    if (suffix.size() > 2) {
        showError("Impossibile attribuire il tipo (CO oppure CA)");
        // The program ends: an activation before it does (the message box
        // closing) must not show the message again.
        started_ = false;
        view_.terminate();
        return false;
    }
    jobType_ = suffix;
    return true;
}

// --------------------------------------------------------------------- end

void TfrmOutput::act0EndExecute() {
    started_ = false;
    view_.terminate();
}

void TfrmOutput::FormDestroy() {
    SaveSettings();
    releaseObjects();
}

void TfrmOutput::releaseObjects() {
    if (dbUtils_ != nullptr) {
        // The grids must not show data sets that are about to go.
        for (const char* grid : {"dbgDateCarico", "dbgOrvax", "dbnNavigator"}) {
            view_.bindGrid(grid, nullptr);
        }
    }
    fileUtilities_.reset();
    dbUtils_.reset();
    stepKeeper_.reset();
    flowTrack_.reset();
    reportFile_.reset();
    pathManager_.reset();
    workMode_.reset();
    userData_.reset();
    witness_.reset();
}

// ------------------------------------------------------------------- steps

void TfrmOutput::UpdateSteps(bool on) {
    if (stepKeeper_ != nullptr) {
        stepDisplay_.update(*stepKeeper_, on);
    }
}

void TfrmOutput::showStepStatus() {
    if (const char* text = StepDisplay::stepText(stepKeeper_->current())) {
        view_.setStatusText(wide(text));
    }
}

void TfrmOutput::FormKeyDown(int key, bool ctrl, bool alt) {
    if (!ctrl || !alt) {
        return;
    }
    if (key == 'z' || key == 'Z') {
        forceMode_ = !forceMode_;
    }
    view_.setStatusText(forceMode_ ? u"Forzatura ON" : u"Forzatura OFF");
}

void TfrmOutput::chkStdFileClick() {
    if (stepKeeper_ == nullptr) {
        return;
    }
    if (view_.isChecked("chkStdFile")) {
        stepKeeper_->disable(kOutputFileStep);
    } else {
        stepKeeper_->enable(kOutputFileStep);
    }
}

void TfrmOutput::setFlowSteps(int flowType, FlowSteps steps) {
    if (flowType >= 0 && flowType < kFlowCount) {
        flowSteps_[static_cast<size_t>(flowType)] = std::move(steps);
    }
}

bool TfrmOutput::runFlowStep(std::function<bool()> FlowSteps::*operation) {
    if (flowType_ < 0 || flowType_ >= kFlowCount) {
        return true;  // no such flow: nothing to run
    }
    const std::function<bool()>& run = flowSteps_[static_cast<size_t>(flowType_)].*operation;
    return !run || run();  // a flow without the operation passes
}

void TfrmOutput::act05VerifyExecute() {
    if (stepKeeper_ == nullptr) {
        return;
    }
    stepKeeper_->goTo(kVerifyStep);
    stepKeeper_->disable(kVerifyStep);
    UpdateSteps(false);
    const bool passed = runFlowStep(&FlowSteps::verify);
    if (passed) {
        stepKeeper_->advance(-1);
    } else {
        // The verification did not run through: it may be run again, and the
        // writing stays out of reach until it passes.
        stepKeeper_->enable(kVerifyStep);
        stepKeeper_->goTo(kVerifyStep);
    }
    UpdateSteps(true);
}

void TfrmOutput::act06UnloadExecute() {
    if (stepKeeper_ == nullptr) {
        return;
    }
    showStepStatus();
    stepKeeper_->goTo(kWriteStep);
    stepKeeper_->disable(kWriteStep);
    UpdateSteps(false);
    const bool written = runFlowStep(&FlowSteps::write);
    if (written) {
        showStepStatus();
    } else {
        view_.setStatusText(u"Creazione flusso abortita");
    }
    stepKeeper_->advance(-1);
    UpdateSteps(true);
}

// ------------------------------------------------------------- flow choice

void TfrmOutput::RadioButtonClick(std::string_view sender) {
    const auto& buttons = stepDisplay_.flowButtons();
    for (size_t tag = 0; tag < buttons.size(); ++tag) {
        if (sender == buttons[tag]) {
            flowChoice_->chooseFlow(static_cast<int>(tag));
            return;
        }
    }
}

void TfrmOutput::act03_BrowseExecute() {
    flowChoice_->browseOutputFile();
}

void TfrmOutput::chkCopyPathClick() {
    view_.setVisible("pnlCopyPath", view_.isChecked("chkCopyPath"));
}

void TfrmOutput::spbCopyPathClick() {
    flowChoice_->pickCopyFolder();
}

void TfrmOutput::dbgGridEnter(std::string_view grid) {
    int dataSet = -1;
    if (grid == "dbgDateCarico") {
        dataSet = VaultTables::kLoadDatesDataSet;
    } else if (grid == "dbgOrvax") {
        dataSet = VaultTables::kExtractionLogDataSet;
    }
    if (dataSet >= 0 && dbUtils_ != nullptr) {
        view_.bindGrid("dbnNavigator", dbUtils_->dataSource(dataSet));
    }
}

bool TfrmOutput::OpenFlowTrack(const std::string& name, std::unique_ptr<KroTrack>& track) {
    return flowChoice_->openFlowTrack(name, track);
}

void TfrmOutput::MonitorLine(std::string_view text) {
    view_.addMonitorLine(wide(text));
}

void TfrmOutput::MonitorLine(const std::u16string& text) {
    view_.addMonitorLine(text);
}

bool TfrmOutput::CopyToSorterFolder(const std::string& fileName) {
    return flowChoice_->copyToSorterFolder(fileName);
}

// --------------------------------------------------------- pocket assignment

void TfrmOutput::act03AssTasExecute() {
    pocketStep_->run();
}

void TfrmOutput::tbDataExit(std::string_view box) {
    pocketStep_->leaveDateBox(box);
}

bool TfrmOutput::CountDocuments() {
    return pocketStep_->countDocuments();
}

bool TfrmOutput::AssignPockets() {
    return pocketStep_->assignPockets();
}

DocumentRange TfrmOutput::documentRange() {
    const char* typeCode = workMode_ != nullptr ? workMode_->param(PocketStep::kTypeCode) : nullptr;
    return DocumentRange(docTable_, typeCode != nullptr ? typeCode : "", loadDateFrom_,
                         loadDateTo_);
}

// ----------------------------------------------------- recalled-items flow

bool TfrmOutput::VerifyRecalledFlow() {
    return recalledFlow_->verify();
}

bool TfrmOutput::WriteRecalledFlow() {
    return recalledFlow_->write();
}

// ----------------------------------------------------------- remittances

bool TfrmOutput::WriteRemittances() {
    return remittanceFlow_->WriteRemittances();
}

// ---------------------------------------------------------- selection flow

bool TfrmOutput::VerifySelectionFlow() {
    return selectionFlow_->verify();
}

bool TfrmOutput::WriteSelectionFlow() {
    return selectionFlow_->write();
}

bool TfrmOutput::WriteSelectionRecord(int pocket, bool recalled) {
    return selectionFlow_->writeRecord(pocket, recalled);
}

// -------------------------------------------------------------- connection

void TfrmOutput::act01_ConnectExecute() {
    if (stepKeeper_ == nullptr || !started_) {
        return;  // the window is being destroyed, or its start-up stopped
    }
    if (dbUtils_ != nullptr && dbUtils_->connected()) {
        disconnect();
        ShowServerState(false);
    } else {
        ConnectDatabase();
    }
}

void TfrmOutput::disconnect() {
    try {
        dbUtils_->connect(false);
    } catch (const std::runtime_error&) {
        // Closing never fails; nothing to tell the operator.
    }
}

bool TfrmOutput::ConnectDatabase() {
    if (dbUtils_ == nullptr) {
        dbUtils_ = std::make_unique<KroMy_DBUtils>(view_, kDataSets, 0, env_);
    }
    const char* name = workMode_ != nullptr ? workMode_->trackName(kConnectionStringName) : nullptr;
    if (name == nullptr) {
        showError("Manca Connection String nel modo lavoro");
        return false;
    }
    const std::string folder =
        pathManager_ != nullptr ? pathManager_->directory(KroDir::kParameters).value_or("") : "";
    const std::string path = inFolder(folder, std::string(name) + ".CNS");
    if (!dbUtils_->loadConnectionString(path)) {
        showError("Impossibile caricare la stringa di connessione\r\n" + path);
        return false;
    }
    try {
        dbUtils_->connect(true);
    } catch (const std::runtime_error& error) {
        showError(error.what());
        ShowServerState(false);
        return false;
    }
    const bool known = KroAuth(dbUtils_.get(), wide(KroTableCatalog::kUsersSchema),
                               workMode_->option(kLowerCaseUsers), env_)
                           .isAuthorised();
    if (known) {
        ShowServerState(true);
        return true;
    }
    showError("Utente non censito\r\nImpossibile continuare ", "ATTENZIONE!");
    disconnect();
    ShowServerState(false);
    view_.terminate();
    return false;
}

void TfrmOutput::ShowServerState(bool on) {
    if (stepKeeper_ == nullptr) {
        return;
    }
    view_.setBold("Control1", true);
    stepKeeper_->restart();
    if (on) {
        view_.setText("Control1", u"Server ON");
        const KroCnnString* cns = dbUtils_ != nullptr ? dbUtils_->connectionString() : nullptr;
        if (cns != nullptr) {
            view_.setText("tbServer", cns->value(KroCnnString::kDataSource));
        }
        if (!PrepareTables()) {
            ShowServerState(false);
            return;
        }
        stepKeeper_->advance(-1);
        view_.setEnabled("Control2", true);
        UpdateSteps(true);
    } else {
        view_.setText("Control1", u"Server OFF");
        view_.setEnabled("Control2", false);
        UpdateSteps(true);
    }
}

bool TfrmOutput::PrepareTables() {
    if (dbUtils_ == nullptr || !dbUtils_->connected()) {
        return false;
    }
    VaultTables tables(*dbUtils_, view_);
    const std::optional<std::string> patterns =
        pathManager_ != nullptr ? pathManager_->directory(KroDir::kPatterns) : std::nullopt;
    const bool ok = tables.open(docTable_, patterns);
    if (!ok) {
        disconnect();
    }
    view_.bindGrid("dbnNavigator", dbUtils_->dataSource(VaultTables::kExtractionLogDataSet));
    if (!ok) {
        return false;  // the connection is closed: nothing more is read through it
    }
    blockNumber_ = tables.proposeNextBlock(docTable_, workDate_, loadDateFrom_);
    const char* from = loadDateFrom_.format("GG/MM/AAAA");
    view_.setText("tbDataIn", wide(from != nullptr ? from : ""));
    view_.setFocus("tbDataIn");
    view_.setText("tbBlockNo", wide(std::to_string(blockNumber_)));
    return true;
}

// ---------------------------------------------------------------- settings

std::string TfrmOutput::settingsPath() const {
    const std::string job = jobName();
    if (pathManager_ == nullptr || job.empty() || job.find_first_of("/\\") != std::string::npos) {
        return std::string();
    }
    const std::optional<std::string> folder = pathManager_->directory(KroDir::kAuxiliary);
    if (!folder) {
        return std::string();
    }
    return inFolder(*folder, KroTableCatalog::fill("%s-%s", kProgramName, job) + ".PRS");
}

void TfrmOutput::LoadSettings() {
    settingsLoaded_ = true;
    const std::string path = settingsPath();
    if (!path.empty()) {
        ProgramSettings(view_, env_).load(path);
    }
}

void TfrmOutput::SaveSettings() {
    // Only values that came from the file (or the defaults that stood in
    // for it) are written back.
    if (witness_ == nullptr || !settingsLoaded_) {
        return;
    }
    const std::string path = settingsPath();
    if (!path.empty()) {
        ProgramSettings(view_, env_).save(path);
    }
}

// ------------------------------------------------------------------ helpers

void TfrmOutput::showError(std::string_view text, std::string_view caption) {
    view_.show(wide(text), wide(caption), ModalMessageBox::kIconError | ModalMessageBox::kOk);
}
