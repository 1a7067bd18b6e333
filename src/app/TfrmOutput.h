// TfrmOutput is ExportOrvax's main-window controller. It owns every
// long-lived object of the program (paths, user data, witness, work mode,
// step keeper, file utilities, the database gateway, the flow's layout and
// the report file) and carries the job's working values. It reaches its
// window only through an OutputView, which is also the message box of every
// object it makes, so it runs with no window library at all.
//
//   TfrmOutput controller(view);        // centres the window
//   controller.FormCreate();            // builds the environment, loads the settings
//   controller.FormActivate();          // on every activation of the window
//   ... the view calls the handlers as the operator works ...
//   controller.FormDestroy();           // saves the settings, destroys in order
//
// The seven workflow steps (0 connect, 1 flow, 2 output file, 3 pockets,
// 4 verify, 5 write, 6 end of work) are shown by the panels pnlStato1..7
// holding Control1..7 and run by the actions act01_Connect .. act07Reports.
//
// Flows plug their verification and writing into the steps through
// setFlowSteps: a flow without a verification passes it, a flow without a
// writing counts as written.
//
// After a failed verification the verification step is enabled again and
// the display redrawn on it: the operator can run the verification again,
// go back to an earlier step (connect, flow, output file, pockets) or end
// the work. The writing step stays out of reach until a verification passes,
// so nothing is written unverified, and the window never stays without input.
//
// A start-up that stopped before the settings were loaded saves nothing at
// the end, so the stored settings file is never overwritten by the window's
// defaults.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/StepDisplay.h"
#include "core/KroDate.h"
#include "flows/DocumentCounts.h"
#include "platform/Env.h"

class DocumentRange;
class FlowChoice;
class KroDefData;
class KroFastObject;
class KroFile;
class KroFileUtilities;
class KroModLav;
class KroMy_DBUtils;
class KroPathManager;
class KroStepKeeper;
class KroTrack;
class KroWitness;
class OutputView;
class PocketStep;
class RecalledFlow;
class RemittanceFlow;
class SelectionFlow;

class TfrmOutput {
public:
    static constexpr int kStepCount = StepDisplay::kStepCount;
    static constexpr int kFlowCount = StepDisplay::kFlowCount;
    static constexpr const char* kRevision = "1.0.03/26";
    static constexpr const char* kProgramName = "ExportOrvax";

    // What a flow runs in the verification and writing steps; each answers
    // whether it succeeded. An empty operation is one the flow does not have.
    struct FlowSteps {
        std::function<bool()> verify;
        std::function<bool()> write;
    };

    // home: the folder holding the paths file (empty: the current directory).
    // Centres the window on the screen. The view outlives the controller.
    explicit TfrmOutput(OutputView& view, std::string home = {}, Env* env = Env::Default());
    ~TfrmOutput();
    TfrmOutput(const TfrmOutput&) = delete;
    TfrmOutput& operator=(const TfrmOutput&) = delete;

    // Life cycle.
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    // The end action ("&Fine", "Fine Programma").
    void act0EndExecute();

    // The workflow steps.
    void UpdateSteps(bool on);
    // key: the key's character ('Z' or 'z' for the Z key).
    void FormKeyDown(int key, bool ctrl, bool alt);
    void act01_ConnectExecute();
    void act05VerifyExecute();
    void act06UnloadExecute();
    void chkStdFileClick();

    // Connecting to the vault database.
    bool ConnectDatabase();
    void ShowServerState(bool on);
    bool PrepareTables();

    // The program settings file.
    void LoadSettings();
    void SaveSettings();

    // Start-up pieces.
    bool CheckWorkMode();
    // The job name and the work mode's type code: letters, digits and _;
    // anything else ends the start-up with a message, before any folder is
    // made or statement run.
    bool CheckJobNames();
    void ReportStartupError(const KroFastObject& object);

    // The operations of flow 0 to 2 for the verification and writing steps
    // (the selection flow, 0, the recalled-items flow, 1, and the remittances,
    // 2, are registered at construction).
    void setFlowSteps(int flowType, FlowSteps steps);

    // Flow choice and output file. sender: the name of the button clicked
    // (RadioButton1..3); any other sender is ignored.
    void RadioButtonClick(std::string_view sender);
    void act03_BrowseExecute();
    void chkCopyPathClick();
    void spbCopyPathClick();
    // grid: the name of the grid entered (dbgDateCarico, dbgOrvax).
    void dbgGridEnter(std::string_view grid);
    void act07ReportsExecute() {}
    void PageControlChange() {}
    void gpbSelTableClick() {}

    // Services to the flows.
    bool OpenFlowTrack(const std::string& name, std::unique_ptr<KroTrack>& track);
    void MonitorLine(std::string_view text);
    void MonitorLine(const std::u16string& text);
    bool CopyToSorterFolder(const std::string& fileName);

    // Pocket assignment and the load-date boxes. box: tbDataIn or tbDataOut.
    void act03AssTasExecute();
    void tbDataExit(std::string_view box);
    bool CountDocuments();
    bool AssignPockets();

    // The recalled-items flow.
    bool VerifyRecalledFlow();
    bool WriteRecalledFlow();

    // The remittance production: the report and the vault table's update.
    bool WriteRemittances();
    // The selection flow. pocket 0: the current row's T1.
    bool VerifySelectionFlow();
    bool WriteSelectionFlow();
    bool WriteSelectionRecord(int pocket, bool recalled);

    // Working values.
    bool started() const { return started_; }
    bool forceMode() const { return forceMode_; }
    int flowType() const { return flowType_; }
    void setFlowType(int flowType) { flowType_ = flowType; }
    const std::string& jobType() const { return jobType_; }
    const std::string& docTable() const { return docTable_; }
    int blockNumber() const { return blockNumber_; }
    void setBlockNumber(int number) { blockNumber_ = number; }
    KroDate& workDate() { return workDate_; }
    KroDate& loadDateFrom() { return loadDateFrom_; }
    KroDate& loadDateTo() { return loadDateTo_; }
    // praticheCount, startDoc, endDoc, totDoc of the load-date range.
    const DocumentCounts& counts() const { return counts_; }
    void setCounts(const DocumentCounts& counts) { counts_ = counts; }
    int pocketCount() const { return pocketCount_; }
    void setPocketCount(int count) { pocketCount_ = count; }
    // The documents of the load-date range: document table, type code (the
    // work mode's parameter 5), loadDateFrom, loadDateTo.
    DocumentRange documentRange();
    // The job name of the witness; empty when there is none.
    std::string jobName() const;
    // The settings file of the job: "ExportOrvax-<job>.PRS" in the auxiliary
    // folder; empty while the folder or the job is unknown.
    std::string settingsPath() const;

    // Owned objects; nullptr until made (or after FormDestroy).
    KroStepKeeper* stepKeeper() const { return stepKeeper_.get(); }
    KroPathManager* pathManager() const { return pathManager_.get(); }
    KroDefData* userData() const { return userData_.get(); }
    KroWitness* witness() const { return witness_.get(); }
    KroModLav* workMode() const { return workMode_.get(); }
    KroFileUtilities* fileUtilities() const { return fileUtilities_.get(); }
    KroMy_DBUtils* dbUtils() const { return dbUtils_.get(); }
    std::unique_ptr<KroTrack>& flowTrack() { return flowTrack_; }
    std::unique_ptr<KroFile>& reportFile() { return reportFile_; }

    OutputView& view() const { return view_; }
    Env* env() const { return env_; }

private:
    void centreWindow();
    bool buildEnvironment();
    void openJobFolder();
    void nameDocumentTable();
    void showJob();
    bool deriveJobType();
    void showStepStatus();
    // The operation of the current flow type; true when it has none.
    bool runFlowStep(std::function<bool()> FlowSteps::*operation);
    void showError(std::string_view text, std::string_view caption = "Errore!");
    void disconnect();
    // Destroys the owned objects in their fixed order.
    void releaseObjects();

    OutputView& view_;
    std::string home_;
    Env* env_;

    bool started_ = false;
    bool forceMode_ = false;
    bool settingsLoaded_ = false;
    std::unique_ptr<KroStepKeeper> stepKeeper_;
    int flowType_ = 0;
    std::string jobType_;
    std::unique_ptr<KroPathManager> pathManager_;
    std::unique_ptr<KroModLav> workMode_;
    std::unique_ptr<KroWitness> witness_;
    std::unique_ptr<KroDefData> userData_;
    std::unique_ptr<KroTrack> flowTrack_;
    std::unique_ptr<KroFile> reportFile_;
    KroDate workDate_;
    KroDate loadDateFrom_;
    KroDate loadDateTo_;
    int blockNumber_ = 0;
    std::unique_ptr<KroMy_DBUtils> dbUtils_;
    std::unique_ptr<KroFileUtilities> fileUtilities_;
    std::string docTable_;
    // The step panels, step controls and flow buttons.
    StepDisplay stepDisplay_;
    std::array<FlowSteps, kFlowCount> flowSteps_;
    DocumentCounts counts_;
    int pocketCount_ = 0;
    std::unique_ptr<FlowChoice> flowChoice_;
    std::unique_ptr<PocketStep> pocketStep_;
    std::unique_ptr<RecalledFlow> recalledFlow_;
    std::unique_ptr<RemittanceFlow> remittanceFlow_;
    std::unique_ptr<SelectionFlow> selectionFlow_;
};
