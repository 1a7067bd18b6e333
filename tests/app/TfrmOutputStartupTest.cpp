#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "ControllerFixture.h"
#include "app/KroStepKeeper.h"
#include "environment/KroPathManager.h"
#include "environment/KroWitness.h"
#include "platform/ModalMessageBox.h"
#include "support/TempDir.h"

namespace {

constexpr int kErrorBox = ModalMessageBox::kIconError | ModalMessageBox::kOk;
constexpr int kWarningBox = ModalMessageBox::kIconWarning | ModalMessageBox::kOk;

// A stored settings file that a failed start-up must leave alone.
const std::string kStoredSettings = "RES=30\r\nFST=4\r\nLST=20\r\nCPY=1\r\nPTH=/srv/sorter\r\n";

struct StopCase {
    std::string name;
    std::function<void(SuiteTree&, RecordingView&)> breakIt;
    std::string message;  // the whole text, or a line of the status report
    std::string caption;
    int flags;
};

void PrintTo(const StopCase& c, std::ostream* out) {
    *out << c.name;
}

class StartupStopTest : public ControllerTest, public testing::WithParamInterface<StopCase> {};

TEST_P(StartupStopTest, StopsWithItsMessageAndLeavesTheSettingsAlone) {
    const StopCase& c = GetParam();
    const std::string stored =
        suite.write(SuiteTree::kAuxiliary, "ExportOrvax-EFFETTI01_CA.PRS", kStoredSettings);
    c.breakIt(suite, view);

    TfrmOutput& controller = create();
    EXPECT_FALSE(controller.started());
    ASSERT_EQ(view.shown.size(), 1u);
    const std::string shown = narrow(view.shown[0].text);
    if (c.flags == kWarningBox) {
        EXPECT_NE(shown.find(c.message), std::string::npos) << shown;
    } else {
        EXPECT_EQ(shown, c.message);
    }
    EXPECT_EQ(narrow(view.shown[0].caption), c.caption);
    EXPECT_EQ(view.shown[0].flags, c.flags);
    EXPECT_TRUE(controller.docTable().empty());

    // The first activation ends the program and shows nothing.
    controller.FormActivate();
    EXPECT_EQ(view.terminateRequests, 1);
    EXPECT_TRUE(view.element("tbJobImpo").text.empty());

    controller.FormDestroy();
    EXPECT_EQ(readBytes(stored), kStoredSettings);
    EXPECT_EQ(controller.witness(), nullptr);
    EXPECT_EQ(controller.stepKeeper(), nullptr);
}

const StopCase kStopCases[] = {
    {"NoPathsFile",
     [](SuiteTree& s, RecordingView&) { std::filesystem::remove(s.home() + "/PERCORSI.PAT"); },
     "Status: Path Manager\r\n\r\n", "Attenzione!", kWarningBox},
    {"PathsFileMissingReportsItsBit",
     [](SuiteTree& s, RecordingView&) { std::filesystem::remove(s.home() + "/PERCORSI.PAT"); },
     "Bit 06) Manca il file Percorsi\r\n", "Attenzione!", kWarningBox},
    {"UnreadableUserData",
     [](SuiteTree& s, RecordingView&) {
         const std::string file = s.file(SuiteTree::kUserData, "DEFDATA.DAT");
         std::filesystem::remove(file);
         std::filesystem::create_directory(file);
     },
     "Status: Dati Utente\r\n\r\nBit 00) Errore in lettura Dati Utente\r\n", "Attenzione!",
     kWarningBox},
    {"WitnessWithoutJob",
     [](SuiteTree& s, RecordingView&) {
         s.witness.jobName = "*****";
         s.writeWitness();
     },
     "Status: Classe Testimone\r\n\r\nBit 01) Occorre impostare una lavorazione\r\n", "Attenzione!",
     kWarningBox},
    {"NoWorkModeArchive",
     [](SuiteTree& s, RecordingView&) { std::filesystem::remove(s.workModePath()); },
     "Status: Modo Lavoro\r\n\r\nBit 00) Impossibile accedere all'archivio del Modo Lavoro\r\n",
     "Attenzione!", kWarningBox},
    {"NoDatePattern",
     [](SuiteTree& s, RecordingView&) {
         s.workMode.params[16] = "";
         s.writeWorkMode();
     },
     "Manca il formato date nel Modo lavoro", "Errore!", kErrorBox},
    {"NoDatePatternNorBankCodeShowsTheFirst",
     [](SuiteTree& s, RecordingView&) {
         s.workMode.params[16] = "";
         s.workMode.params[0] = "";
         s.writeWorkMode();
     },
     "Manca il formato date nel Modo lavoro", "Errore!", kErrorBox},
    {"NoBankCode",
     [](SuiteTree& s, RecordingView&) {
         s.workMode.params[0] = "";
         s.writeWorkMode();
     },
     "Manca Abi Utente nel Modo lavoro", "Errore!", kErrorBox},
    {"NoGuideLayout",
     [](SuiteTree& s, RecordingView&) {
         s.workMode.names[10] = "";
         s.writeWorkMode();
     },
     "Manca la dichiarazione tracc. Guida Selezione nel Modo lavoro", "Errore!", kErrorBox},
    {"NoStatePanel", [](SuiteTree&, RecordingView& v) { v.removeElement("pnlStato4"); },
     "Errore nel caricamento dei pannelli di stato", "Errore!", kErrorBox},
    {"NoStepControl", [](SuiteTree&, RecordingView& v) { v.removeElement("Control7"); },
     "Errore nel caricamento dei Controlli", "Errore!", kErrorBox},
    {"NoFlowButton", [](SuiteTree&, RecordingView& v) { v.removeElement("RadioButton3"); },
     "Errore nel caricamento dei Pulsanti Radio", "Errore!", kErrorBox},
};

INSTANTIATE_TEST_SUITE_P(Stops, StartupStopTest, testing::ValuesIn(kStopCases),
                         [](const testing::TestParamInfo<StopCase>& info) {
                             return info.param.name;
                         });

TEST_F(ControllerTest, StartsOnStepZeroWithTheJobFolderMade) {
    TfrmOutput& c = create();
    EXPECT_TRUE(c.started());
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(c.stepKeeper()->current(), 0);
    EXPECT_EQ(c.stepKeeper()->count(), 7);
    EXPECT_EQ(view.element("pnlStato1").colour, OutputView::Colour::Yellow);
    EXPECT_EQ(view.statusText(), "Connessione al database");
    EXPECT_EQ(c.docTable(), "EFFETTI01_CA_240531_GUI_DOC");
    // The job folder with its date folder (the work mode's pattern AAMMGG).
    const std::string jobFolder = suite.folder(SuiteTree::kWork) + "/EFFETTI01_CA/240531";
    EXPECT_TRUE(std::filesystem::is_directory(jobFolder));
    EXPECT_EQ(c.pathManager()->jobPath(), jobFolder + "/");
    EXPECT_TRUE(view.missingRequests.empty());
}

TEST_F(ControllerTest, HighStateFlagsOfThePathManagerDoNotStopStartUp) {
    TfrmOutput& c = create();
    // No server attached and no job sub-folder at construction: state only.
    EXPECT_TRUE(c.started());
    EXPECT_FALSE(c.pathManager()->status().anyLow());
}

struct CentringCase {
    OutputView::Geometry geometry;
    int top;
    int left;
};

TEST(ControllerCentringTest, CentresWithTheTruncatingDivision) {
    const CentringCase cases[] = {
        {{1024, 768, 802, 499}, 134, 111},
        {{1920, 1080, 802, 499}, 290, 559},
        {{800, 600, 803, 499}, 50, -1},  // -3 / 2 truncates toward zero
        {{800, 400, 800, 405}, -2, 0},
    };
    for (const CentringCase& c : cases) {
        RecordingView view;
        view.screen = c.geometry;
        TfrmOutput controller(view);
        EXPECT_EQ(view.windowTop, c.top);
        EXPECT_EQ(view.windowLeft, c.left);
    }
}

TEST_F(ControllerTest, ActivationShowsTheJobAndTheLoadingPage) {
    TfrmOutput& c = create();
    view.activePage = "tsImpostazioni";
    c.FormActivate();
    EXPECT_EQ(narrow(view.element("tbJobImpo").text), "EFFETTI01_CA");
    EXPECT_EQ(narrow(view.element("tbJobDate").text), "31.05.2024");
    EXPECT_EQ(narrow(view.element("tbGiulian").text), "152");
    EXPECT_EQ(narrow(view.title), "Quorvel - Export Scarico di Caveau (Rev. 1.0.03/26)");
    EXPECT_EQ(view.activePage, "tsPreLoad");
    EXPECT_EQ(c.jobType(), "CA");
    EXPECT_EQ(view.terminateRequests, 0);
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(ControllerTest, ActivationFollowsTheStandardFileNameBox) {
    TfrmOutput& c = start();
    EXPECT_TRUE(c.stepKeeper()->isDisabled(2));  // checked as the window defines it
    view.element("chkStdFile").checked = false;
    c.FormActivate();
    EXPECT_TRUE(c.stepKeeper()->isEnabled(2));
    view.element("chkStdFile").checked = true;
    c.chkStdFileClick();
    EXPECT_TRUE(c.stepKeeper()->isDisabled(2));
}

struct JobCase {
    std::string job;
    std::string jobType;
    bool refused;
};

TEST(ControllerJobTypeTest, TakesTheTextAfterTheLastUnderscore) {
    const JobCase cases[] = {
        {"EFFETTI01_CA", "CA", false}, {"EFFETTI01", "", false}, {"EFFETTI01_", "", false},
        {"_EFFETTI01", "", false},     {"JOB_XY", "XY", false},  {"A_B_CA", "CA", false},
        {"JOB_C", "C", false},         {"JOB_ABC", "", true},    {"A_CO_ABC", "", true},
    };
    for (const JobCase& c : cases) {
        SCOPED_TRACE(c.job);
        SuiteTree suite;
        suite.witness.jobName = c.job;
        suite.writeWitness();
        suite.writeWorkMode();
        RecordingView view;
        TfrmOutput controller(view, suite.home());
        controller.FormCreate();
        ASSERT_TRUE(controller.started());
        controller.FormActivate();
        EXPECT_EQ(controller.jobType(), c.jobType);
        EXPECT_EQ(view.terminateRequests, c.refused ? 1 : 0);
        if (c.refused) {
            ASSERT_EQ(view.messageTexts(), Texts{"Impossibile attribuire il tipo (CO oppure CA)"});
            EXPECT_EQ(narrow(view.shown[0].caption), "Errore!");
            EXPECT_EQ(view.shown[0].flags, kErrorBox);
            // Nothing after the refusal: the title stays the form's.
            EXPECT_EQ(narrow(view.title), "QuorvelNet - Export Scarico di  Caveau");
            // Activated again before the program ends: no second message.
            controller.FormActivate();
            EXPECT_EQ(view.shown.size(), 1u);
            EXPECT_EQ(view.terminateRequests, 2);
        } else {
            EXPECT_TRUE(view.shown.empty());
        }
    }
}

TEST(ControllerDocTableTest, JobsWithCcUseTheShortName) {
    const std::pair<std::string, std::string> cases[] = {
        {"EFFETTI01_CA", "EFFETTI01_CA_240531_GUI_DOC"},
        {"EFFCC01_CA", "EFFCC01_CA_DOC"},
        {"ACCOUNT_CO", "ACCOUNT_CO_DOC"},  // "CC" inside a word
        {"effcc01_CA", "effcc01_CA_240531_GUI_DOC"},
        {"CC", "CC_DOC"},
    };
    for (const auto& [job, table] : cases) {
        SCOPED_TRACE(job);
        SuiteTree suite;
        suite.witness.jobName = job;
        suite.writeWitness();
        suite.writeWorkMode();
        RecordingView view;
        TfrmOutput controller(view, suite.home());
        controller.FormCreate();
        EXPECT_EQ(controller.docTable(), table);
    }
}

TEST_F(ControllerTest, TheEndActionTerminates) {
    TfrmOutput& c = start();
    c.act0EndExecute();
    EXPECT_FALSE(c.started());
    EXPECT_EQ(view.terminateRequests, 1);
}

TEST_F(ControllerTest, DestructionSavesAndReleasesEverything) {
    TfrmOutput& c = start();
    c.FormDestroy();
    EXPECT_TRUE(fileExists(settingsFile()));
    EXPECT_EQ(c.stepKeeper(), nullptr);
    EXPECT_EQ(c.fileUtilities(), nullptr);
    EXPECT_EQ(c.pathManager(), nullptr);
    EXPECT_EQ(c.workMode(), nullptr);
    EXPECT_EQ(c.userData(), nullptr);
    EXPECT_EQ(c.witness(), nullptr);
    // Handlers that come late do nothing.
    c.UpdateSteps(true);
    c.act01_ConnectExecute();
    c.act05VerifyExecute();
    c.act06UnloadExecute();
    c.chkStdFileClick();
    c.FormDestroy();
    EXPECT_TRUE(view.shown.empty());
}

}  // namespace
