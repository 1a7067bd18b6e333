// The controller's view over the real main window: each operation reaches
// the element of that name and changes what the operator sees; names the
// window lacks change nothing; the save dialog, message box and termination
// go through Qt.
#include "ui/QtOutputView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "core/Text.h"
#include "support/TempDir.h"
#include "ui/MainWindow.h"
#include "ui/UiTestSupport.h"

namespace {

class QtOutputViewTest : public testing::Test {
protected:
    MainWindow window;
    QtOutputView view{&window};

    template <typename T>
    T* get(const char* name) {
        auto* found = qobject_cast<T*>(window.element(QLatin1String(name)));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

struct TextCase {
    const char* name;
    const char16_t* text;
    const char16_t* read;  // what text() gives back
};

// clang-format off
const TextCase kTexts[] = {
    {"tbJobImpo", u"EFFETTI01_CA", u"EFFETTI01_CA"},          // edit box
    {"tbDataIn", u"15/01/2024", u"15/01/2024"},
    {"Control1", u"Server ON", u"Server ON"},                  // speed button
    {"lblCavMode", u"Flusso di selezione dei richiamati", u"Flusso di selezione dei richiamati"},
    {"lblPkts", u"Tasche: 21", u"Tasche: 21"},                 // label
    {"Control2", u"Flussi", u"Flussi"},                        // group box title
    {"act07Reports", u"7-Reports", u"7-Reports"},             // action
    {"memMonitor", u"riga 1\r\nriga 2", u"riga 1\r\nriga 2"},  // memo, CR LF lines
    {"tbResi", u"30", u"30"},                                  // an up-down's edit box
    {"cboExt", u"TXT", u"TXT"},                                // combo box item
    {"tbServer", u"Modalità città", u"Modalità città"},        // accented
};
// clang-format on

}  // namespace

TEST_F(QtOutputViewTest, TextsReachEachKindOfElementAndReadBack) {
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(view.hasElement(c.name));
        view.setText(c.name, c.text);
        EXPECT_EQ(view.text(c.name), std::u16string(c.read));
    }
    EXPECT_EQ(get<QToolButton>("Control1")->text(), QStringLiteral("Server ON"));
    EXPECT_EQ(get<QPlainTextEdit>("memMonitor")->toPlainText(), QStringLiteral("riga 1\nriga 2"));
    EXPECT_EQ(get<QSpinBox>("udResi")->value(), 30);
    EXPECT_EQ(get<QComboBox>("cboExt")->currentIndex(), 2);
    EXPECT_EQ(get<QLineEdit>("tbServer")->text(), q(u"Modalità città"));
}

TEST_F(QtOutputViewTest, NamesTheWindowLacksChangeNothingAndReadEmpty) {
    for (const char* name : {"pnlStato9", "Control0", "", "tbNothing"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(view.hasElement(name));
        view.setText(name, u"x");
        view.setEnabled(name, false);
        view.setColour(name, OutputView::Colour::Yellow);
        view.setPosition(name, 3);
        view.setProgress(name, 1, 2);
        view.bindGrid(name, nullptr);
        view.setActivePage(name);
        EXPECT_EQ(view.text(name), u"");
        EXPECT_FALSE(view.isEnabled(name));
        EXPECT_FALSE(view.isChecked(name));
        EXPECT_EQ(view.position(name), 0);
        EXPECT_EQ(view.itemIndex(name), -1);
        EXPECT_EQ(view.itemText(name, 0), u"");
    }
    // Operations an element has no use for leave it alone.
    view.setPosition("tbJobImpo", 3);
    view.setChecked("tbJobImpo", true);
    EXPECT_EQ(view.position("pnlStato1"), 0);
    EXPECT_EQ(view.text("pnlStato1"), u"");
}

TEST_F(QtOutputViewTest, EnablingReachesActionsAndControlsAndReadsTheirOwnState) {
    for (const char* name : {"act05Verify", "Control2", "RadioButton2", "tbDataIn", "udResi"}) {
        SCOPED_TRACE(name);
        view.setEnabled(name, false);
        EXPECT_FALSE(view.isEnabled(name));
        view.setEnabled(name, true);
        EXPECT_TRUE(view.isEnabled(name));
    }
    EXPECT_TRUE(get<QToolButton>("Control5")->isEnabled());  // follows act05Verify

    // With the connect action off the whole window takes no input, yet each
    // control keeps (and reports) its own state.
    view.setEnabled("act01_Connect", false);
    EXPECT_FALSE(get<QLineEdit>("tbDataIn")->isEnabled());
    EXPECT_TRUE(view.isEnabled("tbDataIn"));
    EXPECT_TRUE(view.isEnabled("Control2"));
    EXPECT_FALSE(view.isEnabled("act01_Connect"));
}

TEST_F(QtOutputViewTest, VisibilityReadOnlyBoldAndFocus) {
    view.setVisible("pnlCopyPath", true);
    EXPECT_FALSE(get<QFrame>("pnlCopyPath")->isHidden());
    view.setVisible("chkAssTasche", true);
    EXPECT_FALSE(get<QCheckBox>("chkAssTasche")->isHidden());
    view.setVisible("chkAssTasche", false);
    EXPECT_TRUE(get<QCheckBox>("chkAssTasche")->isHidden());

    view.setReadOnly("tbJobDate", true);
    EXPECT_TRUE(get<QLineEdit>("tbJobDate")->isReadOnly());
    view.setReadOnly("tbJobDate", false);
    EXPECT_FALSE(get<QLineEdit>("tbJobDate")->isReadOnly());

    view.setBold("Control1", true);
    EXPECT_TRUE(get<QToolButton>("Control1")->font().bold());
    view.setBold("Control1", false);
    EXPECT_FALSE(get<QToolButton>("Control1")->font().bold());

    view.setFocus("tbDataIn");
    EXPECT_EQ(window.focusWidget(), get<QLineEdit>("tbDataIn"));
}

TEST_F(QtOutputViewTest, ColoursFillPanelsAndColourEditBoxes) {
    const QPalette palette = QApplication::palette();
    struct Case {
        OutputView::Colour colour;
        QColor expected;
    };
    const Case cases[] = {
        {OutputView::Colour::Yellow, QColor(255, 255, 0)},
        {OutputView::Colour::ButtonFace, palette.color(QPalette::Button)},
        {OutputView::Colour::ButtonHighlight, palette.color(QPalette::Light)},
        {OutputView::Colour::Window, palette.color(QPalette::Base)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.name().toStdString());
        view.setColour("pnlStato3", c.colour);
        auto* panel = get<QFrame>("pnlStato3");
        EXPECT_TRUE(panel->autoFillBackground());
        EXPECT_EQ(panel->palette().color(QPalette::Window), c.expected);
        view.setColour("tbJobDate", c.colour);
        EXPECT_EQ(get<QLineEdit>("tbJobDate")->palette().color(QPalette::Base), c.expected);
    }
}

TEST_F(QtOutputViewTest, ChecksReachCheckBoxesAndRadioButtons) {
    EXPECT_TRUE(view.isChecked("chkStdFile"));
    view.setChecked("chkStdFile", false);
    EXPECT_FALSE(get<QCheckBox>("chkStdFile")->isChecked());
    view.setChecked("RadioButton2", true);
    EXPECT_TRUE(view.isChecked("RadioButton2"));
    EXPECT_FALSE(view.isChecked("RadioButton1"));
}

TEST_F(QtOutputViewTest, UpDownsAreReachedByEitherNameAndKeepToTheirRange) {
    struct Case {
        const char* name;
        const char* other;
        int set;
        int expected;
    };
    const Case cases[] = {
        {"udResi", "tbResi", 30, 30},       {"tbLastPkt", "udLast", 64, 64},
        {"udLast", "tbLastPkt", 80, 64},  // above the range
        {"tbFirstPkt", "udFirst", 0, 1},  // below it
        {"udDefStamp", "tbDefStamp", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view.setPosition(c.name, c.set);
        EXPECT_EQ(view.position(c.name), c.expected);
        EXPECT_EQ(view.position(c.other), c.expected);
    }
}

TEST_F(QtOutputViewTest, ComboBoxItemsByIndex) {
    EXPECT_EQ(view.itemIndex("cboExt"), 0);
    view.setItemIndex("cboExt", 1);
    EXPECT_EQ(view.itemIndex("cboExt"), 1);
    EXPECT_EQ(view.text("cboExt"), u"NST");
    EXPECT_EQ(view.itemText("cboExt", 0), u"CSV");
    EXPECT_EQ(view.itemText("cboExt", 2), u"TXT");
    EXPECT_EQ(view.itemText("cboExt", 3), u"");
    view.setItemIndex("cboExt", 7);  // no such item: none chosen
    EXPECT_EQ(view.itemIndex("cboExt"), -1);
}

TEST_F(QtOutputViewTest, ActivePageIsChosenByThePagesName) {
    auto* pages = get<QTabWidget>("PageControl");
    for (const char* page : {"tsEstrazioni", "tsImpostazioni", "tsPreLoad"}) {
        view.setActivePage(page);
        EXPECT_EQ(pages->currentWidget()->objectName(), QLatin1String(page));
    }
    view.setActivePage("tbDataIn");  // not a page
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("tsPreLoad"));
}

TEST_F(QtOutputViewTest, ProgressBarsShowPositionOfMaximum) {
    struct Case {
        int position;
        int maximum;
        int value;
        int top;
    };
    const Case cases[] = {
        {0, 200, 0, 200},
        {50, 200, 50, 200},
        {250, 200, 200, 200},  // past the end: full
        {0, 0, 0, 1},          // nothing to do: an empty bar, not a busy one
    };
    auto* bar = get<QProgressBar>("ProgressBar");
    for (const Case& c : cases) {
        view.setProgress("ProgressBar", c.position, c.maximum);
        EXPECT_EQ(bar->value(), c.value) << c.position << "/" << c.maximum;
        EXPECT_EQ(bar->maximum(), c.top);
        EXPECT_EQ(bar->minimum(), 0);
    }
}

TEST_F(QtOutputViewTest, TitleStatusBarAndMonitorLines) {
    view.setTitle(u"Quorvel - Export Scarico di Caveau (Rev. 1.0.03/26)");
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Quorvel - Export Scarico di Caveau (Rev. 1.0.03/26)"));

    view.setStatusText(u"Connessione al database");
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Connessione al database"));
    EXPECT_EQ(view.text("StatusBar"), u"Connessione al database");

    view.addMonitorLine(u"Sono stati attribuiti 3 serial=Num_Effetto");
    view.addMonitorLine(u"Passi di selezione necessari: UNO!\r\nSvuota sempre le caselle");
    view.addMonitorLine(u"");
    EXPECT_EQ(get<QPlainTextEdit>("memMonitor")->toPlainText(),
              QStringLiteral("Sono stati attribuiti 3 serial=Num_Effetto\n"
                             "Passi di selezione necessari: UNO!\nSvuota sempre le caselle\n"));
}

TEST_F(QtOutputViewTest, GeometryIsTheScreenAndTheWindowAndMovingPlacesItsCorner) {
    const OutputView::Geometry geometry = view.geometry();
    ASSERT_NE(window.screen(), nullptr);
    EXPECT_EQ(geometry.screenWidth, window.screen()->geometry().width());
    EXPECT_EQ(geometry.screenHeight, window.screen()->geometry().height());
    EXPECT_EQ(geometry.windowWidth, 802);
    EXPECT_EQ(geometry.windowHeight, 499);
    view.moveWindow(30, 70);  // top, left
    EXPECT_EQ(window.pos(), QPoint(70, 30));
}

TEST(QtOutputViewFilters, ProgramFiltersBecomeQtNameFilters) {
    struct Case {
        const char16_t* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {u"Output per elaborazioni (*.CSV)|*.CSV|File Guida (*.NST)|*.NST|File Generico "
         u"(*.*)|*.*",
         {"Output per elaborazioni (*.CSV)", "File Guida (*.NST)", "File Generico (*.*)"}},
        {u"Testi|*.TXT", {"Testi (*.TXT)"}},
        {u"Due (*.A;*.B)|*.A;*.B", {"Due (*.A *.B)"}},
        {u"Solo descrizione", {}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtOutputView::nameFilters(c.filter), c.expected);
    }
}

TEST_F(QtOutputViewTest, SaveDialogOffersTheRequestAndGivesTheChosenPath) {
    TempDir folder;
    OutputView::SaveDialogRequest request;
    request.initialFolder = text::fromUtf8(folder.path());
    request.filter =
        u"Output per elaborazioni (*.CSV)|*.CSV|File Guida (*.NST)|*.NST|File Generico (*.*)|*.*";
    request.filterIndex = 2;
    request.defaultExtension = u"NST";
    request.fileName = u"OrvaxBlocco_004.NST";

    struct Offered {
        QString title;
        QString directory;
        QStringList filters;
        QString selectedFilter;
        QString suffix;
    } offered;
    // The operator confirms the name offered, in the folder offered.
    const QString chosen = QString::fromStdString(folder.file("OrvaxBlocco_004.NST"));
    onNextModal([&offered](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        offered = {dialog->windowTitle(), dialog->directory().absolutePath(), dialog->nameFilters(),
                   dialog->selectedNameFilter(), dialog->defaultSuffix()};
        static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    });
    const std::optional<std::u16string> path = view.askSaveFileName(request);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(QString::fromStdU16String(*path), chosen);
    EXPECT_EQ(offered.directory, QString::fromStdString(folder.path()));
    EXPECT_EQ(offered.filters.size(), 3);
    EXPECT_EQ(offered.selectedFilter, QStringLiteral("File Guida (*.NST)"));
    EXPECT_EQ(offered.suffix, QStringLiteral("NST"));

    // A title of its own for the folder picker, then the dialog's own again.
    request.title = u"Seleziona la cartella desiderata...";
    request.filter.clear();
    onNextModal([&offered](QWidget* modal) {
        offered.title = modal->windowTitle();
        qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(view.askSaveFileName(request).has_value());
    EXPECT_EQ(offered.title, QStringLiteral("Seleziona la cartella desiderata..."));

    const MainWindow fresh;
    const QString ownTitle =
        fresh.findChild<QFileDialog*>(QStringLiteral("SaveDialog"))->windowTitle();
    request.title.clear();
    onNextModal([&offered](QWidget* modal) {
        offered.title = modal->windowTitle();
        qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(view.askSaveFileName(request).has_value());
    EXPECT_EQ(offered.title, ownTitle);
}

TEST_F(QtOutputViewTest, MessageBoxShowsCaptionIconTextAndAnswersTheButton) {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    const int answer = view.show(u"Non esiste la tabella di lavoro!", u"Errore!",
                                 ModalMessageBox::kYesNo | ModalMessageBox::kIconError);
    EXPECT_EQ(answer, ModalMessageBox::kAnswerNo);
    EXPECT_EQ(caption, QStringLiteral("Errore!"));
    EXPECT_EQ(text, QStringLiteral("Non esiste la tabella di lavoro!"));
    EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST_F(QtOutputViewTest, TerminateEndsTheLoopOnceItRuns) {
    EXPECT_FALSE(view.terminateRequested());
    view.terminate();  // before the loop, as a failed start-up asks
    EXPECT_TRUE(view.terminateRequested());
    EXPECT_EQ(QApplication::exec(), 0);
}
