// The information box on the screen: its look, its texts from the main
// window, the notes window it opens and closing it.
#include "ui/InfoBoxDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "support/RecordingMessageBox.h"
#include "ui/UiTestSupport.h"

namespace {

class InfoBoxTest : public testing::Test {
protected:
    RecordingMessageBox messages;
    InfoBoxDialog box{nullptr, &messages};

    QString labelText(const char* name) {
        auto* label = box.findChild<QLabel*>(QLatin1String(name));
        return label == nullptr ? QStringLiteral("<missing>") : label->text();
    }
    QToolButton* button(const char* name) {
        return box.findChild<QToolButton*>(QLatin1String(name));
    }
};

}  // namespace

TEST_F(InfoBoxTest, IsASmallBorderlessBoxWithTheRevisionAndItsTwoButtons) {
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(box.size(), QSize(301, 278));
    EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(labelText("lblRevision"), QStringLiteral("Revisione 3.0.10"));
    EXPECT_EQ(labelText("lblProgram"), QStringLiteral("Caption"));
    EXPECT_EQ(labelText("lblDescription"), QStringLiteral("Description"));
    ASSERT_NE(button("spbNote"), nullptr);
    ASSERT_NE(button("spbClose"), nullptr);
    EXPECT_EQ(button("spbNote")->text(), QStringLiteral("Note"));
    EXPECT_EQ(button("spbNote")->toolTip(), QStringLiteral("Chiudi"));
    EXPECT_EQ(button("spbClose")->text(), QStringLiteral("Chiudi"));
    EXPECT_EQ(button("spbClose")->toolTip(), QStringLiteral("Chiudi"));
}

TEST_F(InfoBoxTest, MainWindowTextsAreShown) {
    box.behaviour().SetDescription(TdlgInfoBox::kMainWindowDescription);
    box.behaviour().SetProgram(TdlgInfoBox::kMainWindowProgram);
    EXPECT_EQ(labelText("lblDescription"), QStringLiteral("Output nelle estrazioni di caveau"));
    EXPECT_EQ(labelText("lblProgram"), QStringLiteral("Vantrell"));
}

TEST_F(InfoBoxTest, NotesOpenWithoutAFolderAndSaySo) {
    box.behaviour().SetProgram(TdlgInfoBox::kMainWindowProgram);
    QString shown;
    onNextModal([&shown](QWidget* notes) {
        shown = notes->findChild<QPlainTextEdit*>(QStringLiteral("memNotes"))->toPlainText();
        notes->close();
    });
    button("spbNote")->click();
    EXPECT_EQ(shown, QStringLiteral("Nome cartella dati non comunicato alla classe"));
}

TEST_F(InfoBoxTest, CloseEndsTheBoxWithOk) {
    onNextModal([this](QWidget*) { button("spbClose")->click(); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
}

TEST_F(InfoBoxTest, MainWindowButtonShowsTheBoxModallyWithItsTexts) {
    QString program;
    QString description;
    onNextModal([&](QWidget* shown) {
        program = shown->findChild<QLabel*>(QStringLiteral("lblProgram"))->text();
        description = shown->findChild<QLabel*>(QStringLiteral("lblDescription"))->text();
        shown->findChild<QToolButton*>(QStringLiteral("spbClose"))->click();
    });
    InfoBoxDialog::showForMainWindow(nullptr, &messages);
    EXPECT_EQ(program, QStringLiteral("Vantrell"));
    EXPECT_EQ(description, QStringLiteral("Output nelle estrazioni di caveau"));
}

TEST_F(InfoBoxTest, ScreenshotGoesToTheBuildTree) {
    box.behaviour().SetDescription(TdlgInfoBox::kMainWindowDescription);
    box.behaviour().SetProgram(TdlgInfoBox::kMainWindowProgram);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_FALSE(QPixmap(saveScreenshot(&box, QStringLiteral("info-box"))).isNull());
}
