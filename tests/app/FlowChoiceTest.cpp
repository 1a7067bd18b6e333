// The flow choice, the output file and the copy to the sorter's folder,
// without a database.
#include <gtest/gtest.h>

#include <cstdio>

#include "ControllerFixture.h"
#include "app/KroStepKeeper.h"
#include "environment/KroPathManager.h"
#include "platform/Env.h"

namespace {

class FlowChoiceTest : public ControllerTest {
protected:
    std::string jobFile(const std::string& name) {
        return controller->pathManager()->jobPath() + name;
    }
};

struct FlowCase {
    const char* button;
    const char* file;
    const char* label;
    const char* labelText;
    const char* layout;
    int step;  // with the output-file step skipped
};

TEST_F(FlowChoiceTest, EachFlowSetsItsLayoutNameAndStep) {
    const FlowCase cases[] = {
        {"RadioButton1", "EFFETTI01_CA_GGG.NST", "lblDocSel", "Doc. 'Virtuali' in Selezione",
         "SORTER", 3},
        {"RadioButton2", "OrvaxBlocco_004.NST", "lblCavMode", "Flusso di selezione dei richiamati",
         "SORTER", 3},
        {"RadioButton3", "EFFETTI01_CA_REP_GGG.TXT", "lblCavMode", "Report delle distinte cartacee",
         "LIBERO", 4},
    };
    TfrmOutput& c = start();
    c.setBlockNumber(4);  // no connection: no logged block to reuse
    for (const FlowCase& flow : cases) {
        SCOPED_TRACE(flow.button);
        c.RadioButtonClick(flow.button);
        EXPECT_EQ(narrow(view.element("tbDstFile").text), jobFile(flow.file));
        EXPECT_EQ(narrow(view.element(flow.label).text), flow.labelText);
        EXPECT_EQ(narrow(view.element("tbTrack").text), flow.layout);
        EXPECT_EQ(c.stepKeeper()->current(), flow.step);
        EXPECT_EQ(view.element("chkAssTasche").visible, std::string(flow.button) == "RadioButton2");
    }
    c.RadioButtonClick("tbDataIn");  // not a flow button
    EXPECT_EQ(c.flowType(), 2);
}

TEST_F(FlowChoiceTest, WithoutStandardNamesTheSaveDialogOffersTheDefault) {
    TfrmOutput& c = create();
    view.setChecked("chkStdFile", false);
    c.FormActivate();
    c.RadioButtonClick("RadioButton2");
    EXPECT_EQ(c.stepKeeper()->current(), 2);

    c.act03_BrowseExecute();  // cancelled
    ASSERT_EQ(view.saveRequests.size(), 1u);
    const OutputView::SaveDialogRequest& request = view.saveRequests[0];
    EXPECT_EQ(narrow(request.filter),
              "Output per elaborazioni (*.CSV)|*.CSV|File Guida (*.NST)|*.NST|File Generico "
              "(*.*)|*.*");
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(narrow(request.defaultExtension), "NST");
    EXPECT_EQ(narrow(request.fileName), jobFile("OrvaxBlocco_000.NST"));
    EXPECT_EQ(narrow(request.initialFolder), suite.folder(SuiteTree::kWork));
    EXPECT_EQ(c.stepKeeper()->current(), 2);

    view.saveAnswer = u"/tmp/altro.NST";
    view.setText("tbAgg", u"12");
    c.act03_BrowseExecute();
    EXPECT_EQ(narrow(view.element("tbDstFile").text), "/tmp/altro.NST");
    EXPECT_EQ(narrow(view.element("tbAgg").text), "");
    EXPECT_EQ(c.stepKeeper()->current(), 3);
    EXPECT_EQ(view.statusText(), "Seleziona il tipo di file da esportare");
}

TEST_F(FlowChoiceTest, TheFolderPickerKeepsTheFolderOfTheAnswer) {
    TfrmOutput& c = start();
    view.saveAnswer = u"/srv/out/Premi invio quando sei nella cartella!";
    c.spbCopyPathClick();
    EXPECT_EQ(narrow(view.saveRequests.back().title), "Seleziona la cartella desiderata...");
    EXPECT_EQ(narrow(view.element("tbCopyPath").text), "/srv/out/");

    view.setChecked("chkCopyPath", true);
    c.chkCopyPathClick();
    EXPECT_TRUE(view.element("pnlCopyPath").visible);
    view.setChecked("chkCopyPath", false);
    c.chkCopyPathClick();
    EXPECT_FALSE(view.element("pnlCopyPath").visible);
}

TEST_F(FlowChoiceTest, AFailedCopyIsToldOnTheMonitor) {
    TfrmOutput& c = start();
    const std::string source = suite.write(SuiteTree::kWork, "FLOW.NST", "S1\r\n");
    view.setText("tbCopyPath", u"");
    EXPECT_FALSE(c.CopyToSorterFolder(source));
    ASSERT_EQ(view.monitorLines.size(), 3u);
    EXPECT_EQ(narrow(view.monitorLines[0]).rfind("(W) - ", 0), 0u);
    EXPECT_EQ(narrow(view.monitorLines[1]), source);
    EXPECT_EQ(narrow(view.monitorLines[2]), "");

    view.monitorLines.clear();
    view.setText("tbCopyPath", text::toWide(suite.folder(SuiteTree::kAuxiliary)));
    EXPECT_TRUE(c.CopyToSorterFolder(source));
    EXPECT_EQ(view.monitorLines.size(), 1u);
    EXPECT_TRUE(Env::Default()->fileExists(suite.file(SuiteTree::kAuxiliary, "FLOW.NST")));
}

TEST_F(FlowChoiceTest, OpenFlowTrackLoadsTheLayoutAndOpensTheFileAgain) {
    TfrmOutput& c = start();
    view.setText("tbDstFile", text::toWide(suite.file(SuiteTree::kWork, "A.NST")));
    EXPECT_FALSE(c.OpenFlowTrack("SORTER", c.flowTrack()));  // no layout yet
    EXPECT_EQ(view.messageTexts(), Texts{"Impossibile caricare il Tracciato Record"});
    EXPECT_EQ(narrow(view.monitorLines.back()), "Impossibile caricare il Tracciato Record");
}

}  // namespace
