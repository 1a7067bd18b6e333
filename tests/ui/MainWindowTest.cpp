// The main window as built: every documented element by name with its type,
// caption, hint and initial state; the settings page's ranges and defaults;
// the bindings the window defines itself; and a screenshot for a reviewer.
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "ui/UiTestSupport.h"

namespace {

enum Flags { kEnabled = 1, kDisabled = 2, kShown = 4, kHidden = 8 };

struct Element {
    const char* name;
    const char* type;
    const char16_t* caption;  // nullptr: not checked
    const char16_t* hint;     // nullptr: no hint
    int state;
};

// clang-format off
const Element kElements[] = {
    // the action list, in its order
    {"act01_Connect", "QAction", u"Connetti DBase", nullptr, kEnabled},
    {"act02_DstType", "QAction", u"Tipologia file di destinazione", nullptr, kEnabled},
    {"act03_Browse", "QAction", u"2-Sfoglia", u"Scelta del nome file di selezione", kEnabled},
    {"act04AssTas", "QAction", u"3-Caselle", u"Assegnazione tasche e timbri", kDisabled},
    {"act05Verify", "QAction", u"5-Verifica", u"Verifiche sui documenti in fase di scarico", kDisabled},
    {"act06Unload", "QAction", u"6-Scarica", nullptr, kDisabled},
    {"act07Reports", "QAction", u"7-Reports", nullptr, kEnabled},
    {"act0End", "QAction", u"&Fine", nullptr, kEnabled},
    {"actBlipGen", "QAction", u"Genera Blip", nullptr, kDisabled},
    // the step display
    {"pnlStato1", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato2", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato3", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato4", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato5", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato6", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato7", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"pnlStato8", "QFrame", nullptr, nullptr, kEnabled | kShown},
    {"Control1", "QToolButton", u"Segui il giallo...", nullptr, kEnabled | kShown},
    {"Control2", "QGroupBox", u"1-Tipologia file di destinazione", nullptr, kEnabled | kShown},
    {"Control3", "QToolButton", u"2-Sfoglia", u"Scelta del nome file di selezione", kEnabled | kShown},
    {"Control4", "QToolButton", u"3-Caselle", u"Assegnazione tasche e timbri", kDisabled | kShown},
    {"Control5", "QToolButton", u"5-Verifica", u"Verifiche sui documenti in fase di scarico", kDisabled | kShown},
    {"Control6", "QToolButton", u"6-Scarica", nullptr, kDisabled | kShown},
    {"Control7", "QToolButton", u"7-Reports", nullptr, kEnabled | kShown},
    {"Control8", "QToolButton", u"&Fine", nullptr, kEnabled | kShown},
    {"RadioButton1", "QRadioButton", u"Flusso di SELEZIONE", u"Crea il flusso per la selezione", kDisabled | kShown},
    {"RadioButton2", "QRadioButton", u"Selezione dei RICHIAMATI", u"Selezione dei richiamati", kEnabled | kShown},
    {"RadioButton3", "QRadioButton", u"Produzione rimesse", nullptr, kDisabled | kShown},
    // the job bar
    {"tbJobImpo", "QLineEdit", u"Lavoro", nullptr, kEnabled | kShown},
    {"tbJobDate", "QLineEdit", u"Data lavoro", nullptr, kEnabled | kShown},
    {"tbGiulian", "QLineEdit", nullptr, nullptr, kHidden},
    {"Label19", "QLabel", u"Giulian", nullptr, kHidden},
    {"tbServer", "QLineEdit", u"Server", nullptr, kEnabled | kShown},
    {"spbInfo", "QToolButton", nullptr, u"Info sul programma", kEnabled | kShown},
    {"spbEnd2", "QToolButton", u"Fine Programma", nullptr, kEnabled | kShown},
    // the page control and the loading page
    {"PageControl", "QTabWidget", nullptr, nullptr, kEnabled | kShown},
    {"tsPreLoad", "QWidget", nullptr, nullptr, kEnabled},
    {"lblCavMode", "QLabel", nullptr, nullptr, kShown},
    {"lblDocSel", "QLabel", nullptr, nullptr, kShown},
    {"tbDataIn", "QLineEdit", u"Data carico iniziale", nullptr, kEnabled | kShown},
    {"tbDataOut", "QLineEdit", u"Data carico finale", nullptr, kEnabled | kShown},
    {"tbBlockNo", "QLineEdit", u"Num.Blocco attuale", nullptr, kShown},
    {"tbPraticheCount", "QLineEdit", u"Pratiche da estrarre", nullptr, kShown},
    {"tbAgg", "QLineEdit", u"Effetti in selezione", nullptr, kShown},
    {"lblPkts", "QLabel", nullptr, nullptr, kShown},
    {"tbBlocks", "QLineEdit", nullptr, nullptr, kHidden},
    {"tbBatch", "QLineEdit", nullptr, nullptr, kHidden},
    {"tbDstRecs", "QLineEdit", nullptr, nullptr, kHidden},
    {"tbTrack", "QLineEdit", nullptr, nullptr, kShown},
    {"cboExt", "QComboBox", nullptr, nullptr, kEnabled | kShown},
    {"Panel6", "QFrame", nullptr, nullptr, kDisabled | kShown},
    {"chkAssTasche", "QCheckBox", u"Da programma", nullptr, kDisabled | kHidden},
    {"tbDstFile", "QLineEdit", nullptr, nullptr, kShown},
    {"memMonitor", "QPlainTextEdit", u"Monitor", nullptr, kEnabled | kShown},
    // the page of extractions made
    {"dbnNavigator", "QToolBar", nullptr, nullptr, kEnabled | kShown},
    {"dbgDateCarico", "QTableView", u"Elenco Date Carico", nullptr, kDisabled | kShown},
    {"dbgOrvax", "QTableView", u"Elenco estrazioni già effettuate", nullptr, kEnabled | kShown},
    // the settings page
    {"chkTest", "QCheckBox", u"Esportazione di prova", u"Limita l'esportazione a 20 rimesse", kEnabled | kShown},
    {"chkStdFile", "QCheckBox", u"Accetta nomi file predefiniti", nullptr, kHidden},
    {"chkCopyPath", "QCheckBox", u"Duplica file di scarico", nullptr, kEnabled | kShown},
    {"pnlCopyPath", "QFrame", nullptr, nullptr, kHidden},
    {"pnlCopyPathCaption", "QLabel", u"Cartella del file duplicato per il sorter", nullptr, kShown},
    {"tbCopyPath", "QLineEdit", nullptr, nullptr, kShown},
    {"spbCopyPath", "QToolButton", u"Sfoglia", nullptr, kShown},
    {"sptOptLoad", "QToolButton", u"Richiama", u"Richiama le impostazioni del programma", kEnabled | kShown},
    {"spbOptSave", "QToolButton", u"Salva", u"Salva le impostazioni attuali", kEnabled | kShown},
    {"pnlErrors", "QFrame", nullptr, nullptr, kHidden},
    {"pnlErrorsCaption", "QLabel", u"Documenti cui non è stato possibile assegnare la casella", nullptr, kShown},
    {"DBGrid3", "QTableView", nullptr, nullptr, kShown},
    // the hidden pages
    {"tsTabelle", "QWidget", nullptr, nullptr, kEnabled},
    {"gpbSelTable", "QGroupBox", nullptr, nullptr, kShown},
    {"dbgDistinte", "QTableView", u"Distinte", nullptr, kShown},
    {"dbgDocumenti", "QTableView", u"Documenti", nullptr, kShown},
    {"tsLogErrori", "QWidget", nullptr, nullptr, kEnabled},
    // status bar, progress bars, save dialog
    {"StatusBar", "QStatusBar", nullptr, nullptr, kShown},
    {"ProgressBar", "QProgressBar", nullptr, nullptr, kShown},
    {"psbDistinte", "QProgressBar", nullptr, nullptr, kHidden},
    {"SaveDialog", "QFileDialog", nullptr, nullptr, kHidden},
};

struct UpDownCase {
    const char* upDown;
    const char* edit;
    const char16_t* caption;
    int minimum;
    int maximum;
    int position;
    bool enabled;
};

const UpDownCase kUpDowns[] = {
    {"udResi", "tbResi", u"Tasca Resi", 1, 100, 24, true},
    {"udFirst", "tbFirstPkt", u"Prima tasca utile", 1, 100, 3, true},
    {"udLast", "tbLastPkt", u"Ultima tasca utile", 1, 64, 22, true},
    {"udDistinta", "tbPktxDist", u"Ogni distinta", 1, 10, 1, true},
    {"udDefStamp", "tbDefStamp", u"Timbro default", 0, 9, 2, false},
    {"udReDom", "tbReDom", u"Ridomiciliati", 1, 100, 2, true},
};
// clang-format on

class MainWindowTest : public testing::Test {
protected:
    MainWindow window;

    template <typename T>
    T* get(const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

}  // namespace

TEST_F(MainWindowTest, WindowHasItsFormCaptionClientSizeAndMinimumWidth) {
    EXPECT_EQ(window.objectName(), QStringLiteral("frmOutput"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("QuorvelNet - Export Scarico di  Caveau"));
    EXPECT_EQ(window.size(), QSize(802, 499));
    EXPECT_EQ(window.minimumWidth(), 800);
}

TEST_F(MainWindowTest, EveryDocumentedElementHasItsTypeCaptionHintAndState) {
    for (const Element& e : kElements) {
        SCOPED_TRACE(e.name);
        QObject* found = window.element(QLatin1String(e.name));
        ASSERT_NE(found, nullptr);
        EXPECT_TRUE(found->inherits(e.type)) << found->metaObject()->className();
        if (e.caption != nullptr) {
            EXPECT_EQ(captionOf(found), q(e.caption));
        }
        EXPECT_EQ(hintOf(found), e.hint == nullptr ? QString() : q(e.hint));
        const auto* action = qobject_cast<QAction*>(found);
        const auto* widget = qobject_cast<QWidget*>(found);
        const bool enabled = action != nullptr ? action->isEnabled() : widget->isEnabled();
        if (e.state & kEnabled) {
            EXPECT_TRUE(enabled);
        }
        if (e.state & kDisabled) {
            EXPECT_FALSE(enabled);
        }
        if (e.state & kShown) {
            EXPECT_FALSE(widget->isHidden());
        }
        if (e.state & kHidden) {
            EXPECT_TRUE(widget->isHidden());
        }
    }
}

TEST_F(MainWindowTest, ActionListHoldsTheStepsThenEndAndBlip) {
    QStringList names;
    for (const QAction* action : window.actionList()) {
        names << action->objectName();
        EXPECT_EQ(action->parent()->objectName(), QStringLiteral("alMain"));
    }
    EXPECT_EQ(names,
              QStringList({"act01_Connect", "act02_DstType", "act03_Browse", "act04AssTas",
                           "act05Verify", "act06Unload", "act07Reports", "act0End", "actBlipGen"}));
}

TEST_F(MainWindowTest, EachStepControlSitsInItsPanelAndPanelsStartWithTheHighlightColour) {
    const QColor highlight = window.palette().color(QPalette::Light);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        auto* panel = get<QFrame>(QStringLiteral("pnlStato%1").arg(n).toLatin1().constData());
        auto* control = get<QWidget>(QStringLiteral("Control%1").arg(n).toLatin1().constData());
        ASSERT_TRUE(panel && control);
        EXPECT_EQ(control->parentWidget(), panel);
        EXPECT_TRUE(panel->autoFillBackground());
        EXPECT_EQ(panel->palette().color(QPalette::Window), highlight);
    }
}

TEST_F(MainWindowTest, FlowButtonsCarryTheirFlowNumberAsTagAndNoneIsChosen) {
    for (int n = 1; n <= 3; ++n) {
        auto* button =
            get<QRadioButton>(QStringLiteral("RadioButton%1").arg(n).toLatin1().constData());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->property("tag"), QVariant(n - 1));
        EXPECT_FALSE(button->isChecked());
        EXPECT_EQ(button->parent()->objectName(), QStringLiteral("Control2"));
    }
}

TEST_F(MainWindowTest, PageControlShowsThreePagesAndHidesTwoStartingOnLoading) {
    auto* pages = get<QTabWidget>("PageControl");
    ASSERT_NE(pages, nullptr);
    const QStringList titles = {"Caricamento", "Estrazioni eseguite", "Impostazioni",
                                "Visualizza Tabelle", "Log degli errori"};
    const QStringList names = {"tsPreLoad", "tsEstrazioni", "tsImpostazioni", "tsTabelle",
                               "tsLogErrori"};
    ASSERT_EQ(pages->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pages->tabText(i), titles[i]);
        EXPECT_EQ(pages->widget(i)->objectName(), names[i]);
        EXPECT_EQ(pages->isTabVisible(i), i < 3) << i;
    }
    EXPECT_EQ(pages->currentWidget()->objectName(), QStringLiteral("tsPreLoad"));
    EXPECT_EQ(q(u"Estrazioni eseguite"), pages->tabText(1));
}

TEST_F(MainWindowTest, UpDownsHaveTheirRangesDefaultsAndBothNames) {
    for (const UpDownCase& u : kUpDowns) {
        SCOPED_TRACE(u.upDown);
        auto* upDown = get<QSpinBox>(u.upDown);
        ASSERT_NE(upDown, nullptr);
        EXPECT_EQ(upDown->minimum(), u.minimum);
        EXPECT_EQ(upDown->maximum(), u.maximum);
        EXPECT_EQ(upDown->value(), u.position);
        EXPECT_EQ(upDown->isEnabled(), u.enabled);
        EXPECT_EQ(captionOf(upDown), q(u.caption));
        EXPECT_EQ(window.element(QLatin1String(u.edit)), upDown);
        auto* edit = get<QLineEdit>(u.edit);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->parent(), upDown);
        EXPECT_EQ(upDown->property("editName").toString(), QLatin1String(u.edit));
    }
}

TEST_F(MainWindowTest, UpDownsKeepOutOfRangeValuesAtTheNearestBound) {
    auto* first = get<QSpinBox>("udFirst");
    auto* last = get<QSpinBox>("udLast");
    first->setValue(0);
    last->setValue(80);
    EXPECT_EQ(first->value(), 1);
    EXPECT_EQ(last->value(), 64);
}

TEST_F(MainWindowTest, SettingsChecksStartAsDefinedAndTheCopyFolderIsEmpty) {
    EXPECT_TRUE(get<QCheckBox>("chkStdFile")->isChecked());
    EXPECT_FALSE(get<QCheckBox>("chkCopyPath")->isChecked());
    EXPECT_FALSE(get<QCheckBox>("chkTest")->isChecked());
    EXPECT_TRUE(get<QLineEdit>("tbCopyPath")->text().isEmpty());
    EXPECT_EQ(get<QLineEdit>("tbCopyPath")->parent()->objectName(), QStringLiteral("pnlCopyPath"));
    EXPECT_EQ(get<QWidget>("chkAssTasche")->parent()->objectName(), QStringLiteral("Panel6"));
}

TEST_F(MainWindowTest, ExtensionBoxOffersCsvNstTxt) {
    auto* extension = get<QComboBox>("cboExt");
    ASSERT_NE(extension, nullptr);
    ASSERT_EQ(extension->count(), 3);
    EXPECT_EQ(extension->itemText(0), QStringLiteral("CSV"));
    EXPECT_EQ(extension->itemText(1), QStringLiteral("NST"));
    EXPECT_EQ(extension->itemText(2), QStringLiteral("TXT"));
}

TEST_F(MainWindowTest, DisplayOnlyBoxesAreReadOnlyAndTheDateBoxesEditable) {
    for (const char* name : {"tbDstFile", "tbJobImpo", "tbServer", "tbBlockNo", "tbPraticheCount",
                             "tbAgg", "tbTrack"}) {
        EXPECT_TRUE(get<QLineEdit>(name)->isReadOnly()) << name;
    }
    for (const char* name : {"tbDataIn", "tbDataOut", "tbJobDate", "tbCopyPath"}) {
        EXPECT_FALSE(get<QLineEdit>(name)->isReadOnly()) << name;
    }
    EXPECT_TRUE(get<QPlainTextEdit>("memMonitor")->isReadOnly());
}

TEST_F(MainWindowTest, NavigatorOffersFirstPriorNextLastRefresh) {
    auto* navigator = get<QToolBar>("dbnNavigator");
    ASSERT_NE(navigator, nullptr);
    QStringList names;
    for (const QAction* action : navigator->actions()) {
        names << action->objectName();
    }
    EXPECT_EQ(names, QStringList({"nbFirst", "nbPrior", "nbNext", "nbLast", "nbRefresh"}));
}

TEST_F(MainWindowTest, ProgressBarsSitInTheStatusBar) {
    auto* bar = get<QStatusBar>("StatusBar");
    ASSERT_EQ(bar, window.statusBar());
    EXPECT_EQ(get<QProgressBar>("ProgressBar")->parent(), bar);
    EXPECT_EQ(get<QProgressBar>("psbDistinte")->parent(), bar);
    EXPECT_EQ(get<QFileDialog>("SaveDialog")->acceptMode(), QFileDialog::AcceptSave);
}

TEST_F(MainWindowTest, SpeedButtonsFollowAndTriggerTheirActions) {
    auto* verify = qobject_cast<QAction*>(window.element(u"act05Verify"));
    auto* end = qobject_cast<QAction*>(window.element(u"act0End"));
    auto* connect = qobject_cast<QAction*>(window.element(u"act01_Connect"));
    verify->setEnabled(true);
    EXPECT_TRUE(get<QToolButton>("Control5")->isEnabled());

    QSignalSpy ended(end, &QAction::triggered);
    QSignalSpy connected(connect, &QAction::triggered);
    get<QToolButton>("Control8")->click();
    get<QToolButton>("spbEnd2")->click();
    get<QToolButton>("Control1")->click();
    EXPECT_EQ(ended.count(), 2);
    EXPECT_EQ(connected.count(), 1);
}

TEST_F(MainWindowTest, TheWindowTakesInputExactlyWhileTheConnectActionIsEnabled) {
    auto* connect = qobject_cast<QAction*>(window.element(u"act01_Connect"));
    connect->setEnabled(false);
    EXPECT_FALSE(window.centralWidget()->isEnabled());
    EXPECT_FALSE(get<QToolButton>("Control1")->isEnabled());
    EXPECT_FALSE(get<QLineEdit>("tbDataIn")->isEnabled());
    EXPECT_EQ(get<QToolButton>("Control1")->text(), QStringLiteral("Segui il giallo..."));
    connect->setEnabled(true);
    EXPECT_TRUE(window.centralWidget()->isEnabled());
    EXPECT_TRUE(get<QToolButton>("Control1")->isEnabled());
    EXPECT_EQ(get<QToolButton>("Control1")->text(), QStringLiteral("Segui il giallo..."));
}

TEST_F(MainWindowTest, UnknownNamesFindNothing) {
    EXPECT_EQ(window.element(u"pnlStato9"), nullptr);
    EXPECT_EQ(window.element(u"Control0"), nullptr);
}

TEST_F(MainWindowTest, ScreenshotsOfThePagesGoToTheBuildTree) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* pages = get<QTabWidget>("PageControl");
    const char* names[] = {"main-window", "main-window-estrazioni", "main-window-impostazioni"};
    for (int i = 0; i < 3; ++i) {
        pages->setCurrentIndex(i);
        const QString path = saveScreenshot(&window, QLatin1String(names[i]));
        EXPECT_FALSE(QPixmap(path).isNull()) << path.toStdString();
    }
    pages->setCurrentIndex(0);
}
