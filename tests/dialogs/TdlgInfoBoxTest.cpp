// The information box's behaviour: its labels, the notes window it opens and
// its other buttons.
#include "dialogs/TdlgInfoBox.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingInfoBoxView : public InfoBoxView {
public:
    void setDescriptionText(const std::u16string& text) override { description = text; }
    void setProgramText(const std::u16string& text) override { program = text; }
    std::u16string programText() const override { return program; }
    void showNotesWindow(const NotesRequest& request) override { notes.push_back(request); }
    void closeWithOk() override { ++closes; }
    void openAddress(const std::u16string& address) override { addresses.push_back(address); }

    std::u16string description = u"Description";
    std::u16string program = u"Caption";
    std::vector<NotesRequest> notes;
    int closes = 0;
    std::vector<std::u16string> addresses;
};

}  // namespace

TEST(TdlgInfoBox, MainWindowTextsGoToTheirLabels) {
    RecordingInfoBoxView view;
    TdlgInfoBox box(&view);
    box.SetDescription(TdlgInfoBox::kMainWindowDescription);
    box.SetProgram(TdlgInfoBox::kMainWindowProgram);
    EXPECT_EQ(view.description, u"Output nelle estrazioni di caveau");
    EXPECT_EQ(box.GetProgram(), u"Vantrell");
}

TEST(TdlgInfoBox, NotesOpenForTheShownProgramWithoutAFolderUnlessOneIsGiven) {
    RecordingInfoBoxView view;
    TdlgInfoBox box(&view);
    box.SetProgram(u"Vantrell");
    box.SpbNotesClick();
    box.setNotesFolder("D:\\VAULT\\PARAM");
    box.SpbNotesClick();

    ASSERT_EQ(view.notes.size(), 2u);
    EXPECT_EQ(view.notes[0].programName, "Vantrell");
    EXPECT_FALSE(view.notes[0].dataFolder);
    EXPECT_EQ(view.notes[1].dataFolder, "D:\\VAULT\\PARAM");
}

TEST(TdlgInfoBox, TheProgramNameIsHandedOnInTheCodePage) {
    RecordingInfoBoxView view;
    TdlgInfoBox box(&view);
    box.SetProgram(u"Qualità");
    box.SpbNotesClick();
    ASSERT_EQ(view.notes.size(), 1u);
    EXPECT_EQ(view.notes[0].programName, "Qualit\xE0");
}

TEST(TdlgInfoBox, CloseAndWebAddressGoToTheWindow) {
    RecordingInfoBoxView view;
    TdlgInfoBox box(&view);
    box.spbCloseClick();
    box.webAddressClick();
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(view.addresses,
              std::vector<std::u16string>{std::u16string(TdlgInfoBox::kWebAddress)});
}
