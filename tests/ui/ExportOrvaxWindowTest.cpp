// The program as the operator sees it: the real window over the controller,
// started on a suite installation written by the test, with the private
// server behind it. The step panels follow the steps, Control1 connects and
// moves to step 1, the load dates and the extraction log fill the grids,
// the window sees Ctrl+Alt keys first, and ending the work leaves the loop
// and writes the settings file.
#include "ui/OutputProgram.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include "app/TfrmOutput.h"
#include "support/DocumentTable.h"
#include "support/SorterTrack.h"
#include "support/SuiteTree.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "support/TestEnv.h"
#include "ui/MainWindow.h"
#include "ui/QtOutputView.h"
#include "ui/UiTestSupport.h"

namespace {

// The job of the suite tree: EFFETTI01_CA on 31/05/2024.
constexpr const char* kDocTable = "EFFETTI01_CA_240531_GUI_DOC";
constexpr const char* kSettingsFile = "ExportOrvax-EFFETTI01_CA.PRS";

// Answers every message box that appears (OK, or its default button) and
// keeps its text, so that an unexpected message fails the test instead of
// blocking it.
class MessageBoxes {
public:
    MessageBoxes() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            shown.append(box->windowTitle() + QStringLiteral(": ") + box->text());
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            (ok != nullptr ? ok : box->buttons().constFirst())->click();
        });
        poll_.start(5);
    }

    QStringList shown;

private:
    QTimer poll_;
};

class ExportOrvaxWindow : public testing::Test {
protected:
    template <typename T>
    T* get(const MainWindow& window, const char* name) {
        auto* found = qobject_cast<T*>(window.element(QLatin1String(name)));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString text(const OutputProgram& program, const char* name) {
        return QString::fromStdU16String(program.view().text(name));
    }

    // The step whose panel is yellow; every other panel must have the
    // button-face colour.
    int yellowStep(const MainWindow& window) {
        const QColor buttonFace = QApplication::palette().color(QPalette::Button);
        int yellow = -1;
        for (int n = 1; n <= 7; ++n) {
            const auto* panel = window.findChild<QWidget*>(QStringLiteral("pnlStato%1").arg(n));
            const QColor colour = panel->palette().color(QPalette::Window);
            if (colour == QColor(255, 255, 0)) {
                EXPECT_EQ(yellow, -1) << "two yellow panels";
                yellow = n - 1;
            } else {
                EXPECT_EQ(colour, buttonFace) << "pnlStato" << n;
            }
        }
        return yellow;
    }

    bool actionEnabled(const MainWindow& window, const char* name) {
        return qobject_cast<QAction*>(window.element(QLatin1String(name)))->isEnabled();
    }

    void startAndActivate(OutputProgram& program) {
        program.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program.window()));
        QApplication::processEvents();
    }

    // Runs the loop the way the program does, until the controller ends it.
    int runLoop() { return QApplication::exec(); }

    SuiteTree suite;
    TestEnv env;
};

class ExportOrvaxWindowOnServer : public ExportOrvaxWindow {
protected:
    void SetUp() override {
        env.login = u"operatore1";
        users.exec("CREATE TABLE auth_users (UserID VARCHAR(64), Nome VARCHAR(40))");
        users.exec("INSERT INTO auth_users VALUES ('OPERATORE1', 'Anna'), ('rossi', 'Mario')");
        db.exec(std::string("CREATE TABLE ") + kDocTable +
                " (Serial VARCHAR(10), Num_Effetto INT, TC CHAR(2), Data_Carico DATE, "
                "Num_Pratica INT, Prg INT, Doc_Prg INT, T1 INT, T2 INT, T3 INT, T4 INT)");
        db.exec(std::string("INSERT INTO ") + kDocTable +
                " VALUES ('0000000101', 101, 'CA', '2024-01-15', 7, 1, 1, 0, 0, 0, 0),"
                " ('0000000102', 102, 'CA', '2024-01-15', 7, 1, 2, 0, 0, 0, 0),"
                " ('0000000103', 103, 'CA', '2024-02-01', 8, 2, 1, 0, 0, 0, 0)");
        suite.writeConnectionString(db.connectionString());
    }

    // Two extractions already made, the last up to 14/01/2024.
    void logTwoExtractions() {
        db.exec(
            "CREATE TABLE Orvax (Progr INT PRIMARY KEY, DataCaricoIn VARCHAR(10), "
            "DataCaricoFin VARCHAR(10), Num_Pratiche INT, Num_Documenti INT)");
        db.exec(
            "INSERT INTO Orvax VALUES (1, '2023-12-01', '2023-12-31', 4, 9), "
            "(2, '2024-01-01', '2024-01-14', 2, 3)");
    }

    TestDatabase users{"QuorvelNet"};
    TestDatabase db;
};

}  // namespace

TEST_F(ExportOrvaxWindowOnServer, ConnectsFromControl1AndShowsTheJobsTables) {
    logTwoExtractions();
    MessageBoxes boxes;
    OutputProgram program(suite.home(), &env);
    const MainWindow& window = program.window();
    startAndActivate(program);

    // Ready: the job, the title, step 0 (connection).
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("Quorvel - Export Scarico di Caveau (Rev. 1.0.03/26)"));
    EXPECT_EQ(text(program, "tbJobImpo"), QStringLiteral("EFFETTI01_CA"));
    EXPECT_EQ(text(program, "tbJobDate"), QStringLiteral("31.05.2024"));
    EXPECT_EQ(yellowStep(window), 0);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Connessione al database"));
    EXPECT_TRUE(actionEnabled(window, "act01_Connect"));
    EXPECT_FALSE(actionEnabled(window, "act04AssTas"));
    EXPECT_TRUE(get<QToolButton>(window, "Control1")->isEnabled());
    EXPECT_FALSE(get<QToolButton>(window, "Control5")->isEnabled());
    saveScreenshot(&program.window(), QStringLiteral("before-connect"));

    // Control1 connects: "Server ON", step 1 (the flow choice).
    QTest::mouseClick(get<QToolButton>(window, "Control1"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(boxes.shown, QStringList());
    EXPECT_EQ(text(program, "Control1"), QStringLiteral("Server ON"));
    EXPECT_TRUE(get<QToolButton>(window, "Control1")->font().bold());
    EXPECT_EQ(text(program, "tbServer"), QString::fromStdString(testServer().host));
    EXPECT_EQ(yellowStep(window), 1);
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("Seleziona il flusso da scaricare"));
    EXPECT_TRUE(get<QWidget>(window, "Control2")->isEnabled());
    EXPECT_TRUE(actionEnabled(window, "act02_DstType"));
    EXPECT_FALSE(actionEnabled(window, "act04AssTas"));

    // The next block follows the two logged ones, from the day after the last.
    EXPECT_EQ(text(program, "tbBlockNo"), QStringLiteral("3"));
    EXPECT_EQ(text(program, "tbDataIn"), QStringLiteral("15/01/2024"));

    // The load dates and the log are in the grids.
    auto* loadDates = get<QTableView>(window, "dbgDateCarico");
    auto* log = get<QTableView>(window, "dbgOrvax");
    ASSERT_EQ(loadDates->model()->rowCount(), 2);
    EXPECT_EQ(loadDates->model()->index(0, 0).data().toString(), QStringLiteral("2024-01-15"));
    EXPECT_EQ(loadDates->model()->index(0, 1).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(loadDates->model()->index(1, 0).data().toString(), QStringLiteral("2024-02-01"));
    ASSERT_EQ(log->model()->rowCount(), 2);
    EXPECT_EQ(log->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("DataCaricoFin"));
    EXPECT_EQ(log->model()->index(1, 2).data().toString(), QStringLiteral("2024-01-14"));
    saveScreenshot(&program.window(), QStringLiteral("after-connect"));
    get<QTabWidget>(window, "PageControl")->setCurrentIndex(1);
    QApplication::processEvents();
    saveScreenshot(&program.window(), QStringLiteral("after-connect-estrazioni"));
    get<QTabWidget>(window, "PageControl")->setCurrentIndex(0);

    // The window sees Ctrl+Alt keys before the focused box.
    get<QLineEdit>(window, "tbDataIn")->setFocus();
    QTest::keyClick(program.window().windowHandle(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Forzatura ON"));
    QTest::keyClick(program.window().windowHandle(), Qt::Key_X,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Forzatura ON"));
    QTest::keyClick(program.window().windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Forzatura ON"));
    QTest::keyClick(program.window().windowHandle(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Forzatura OFF"));

    // Control1 again disconnects: "Server OFF", back on step 0.
    QTest::mouseClick(get<QToolButton>(window, "Control1"), Qt::LeftButton);
    EXPECT_EQ(text(program, "Control1"), QStringLiteral("Server OFF"));
    EXPECT_EQ(yellowStep(window), 0);
    EXPECT_FALSE(get<QWidget>(window, "Control2")->isEnabled());

    // "Fine Programma" ends the loop; the settings are written at the end.
    QTest::mouseClick(get<QToolButton>(window, "spbEnd2"), Qt::LeftButton);
    EXPECT_EQ(runLoop(), 0);
    program.finish();
    EXPECT_TRUE(fileExists(suite.file(SuiteTree::kAuxiliary, kSettingsFile)));
    EXPECT_EQ(boxes.shown, QStringList());
}

// The operator's whole job with the mouse and the keyboard: connect, type
// the last load date and leave the box, choose the recalled items, assign
// the pockets, verify and write; the flow file is in the job folder.
TEST_F(ExportOrvaxWindowOnServer, RunsTheWholeRecalledItemsJob) {
    db.exec("DROP TABLE " + std::string(kDocTable));
    db.exec(documentTableStatement(kDocTable));
    std::vector<Document> documents;
    for (int prg = 1; prg <= 3; ++prg) {
        Document d;
        d.numEffetto = 100 + prg;
        d.serial = "00000001" + std::to_string(prg) + "0";
        d.tc = "CA";
        d.dataCarico = "2024-01-15";
        d.prg = prg;
        d.numPratica = "P" + std::to_string(prg);
        documents.push_back(d);
    }
    forEachInsert(kDocTable, documents, 10, [this](const std::string& sql) { db.exec(sql); });
    suite.writeExtractionLogLayout();
    writeSorterTrack(suite.folder(SuiteTree::kPatterns));
    MessageBoxes boxes;
    OutputProgram program(suite.home(), &env);
    const MainWindow& window = program.window();
    startAndActivate(program);

    QTest::mouseClick(get<QToolButton>(window, "Control1"), Qt::LeftButton);
    ASSERT_EQ(text(program, "Control1"), QStringLiteral("Server ON"));
    auto* dateTo = get<QLineEdit>(window, "tbDataOut");
    dateTo->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(dateTo, QStringLiteral("15/1/24"));
    get<QLineEdit>(window, "tbDataIn")->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(text(program, "tbDataOut"), QStringLiteral("15/01/2024"));
    EXPECT_EQ(text(program, "tbPraticheCount"), QStringLiteral("3"));

    QTest::mouseClick(get<QAbstractButton>(window, "RadioButton2"), Qt::LeftButton);
    EXPECT_EQ(yellowStep(window), 3);
    for (const char* step : {"Control4", "Control5", "Control6"}) {
        QTest::mouseClick(get<QToolButton>(window, step), Qt::LeftButton);
        QApplication::processEvents();
    }
    EXPECT_EQ(yellowStep(window), 6);
    EXPECT_EQ(boxes.shown, QStringList());
    const QString monitor = get<QPlainTextEdit>(window, "memMonitor")->toPlainText();
    EXPECT_TRUE(monitor.contains(QStringLiteral("Flusso Selez. Resi scaricato regolarmente")))
        << monitor.toStdString();
    const std::string flow = text(program, "tbDstFile").toStdString();
    EXPECT_TRUE(flow.ends_with("OrvaxBlocco_001.NST")) << flow;
    EXPECT_EQ(readBytes(flow), sorterFlowRecord("0000000110", "02", "02", "02", "02") +
                                   sorterFlowRecord("0000000120", "03", "03", "03", "03") +
                                   sorterFlowRecord("0000000130", "04", "04", "04", "04"));
    saveScreenshot(&program.window(), QStringLiteral("after-whole-job"));

    QTest::mouseClick(get<QToolButton>(window, "spbEnd2"), Qt::LeftButton);
    EXPECT_EQ(runLoop(), 0);
    program.finish();
}

TEST_F(ExportOrvaxWindowOnServer, WithoutALogTheLayoutMakesOneAndBlock1StartsAtTheFirstLoadDate) {
    suite.writeExtractionLogLayout();
    MessageBoxes boxes;
    OutputProgram program(suite.home(), &env);
    startAndActivate(program);
    QTest::mouseClick(get<QToolButton>(program.window(), "Control1"), Qt::LeftButton);
    EXPECT_EQ(boxes.shown, QStringList());
    EXPECT_EQ(text(program, "Control1"), QStringLiteral("Server ON"));
    EXPECT_EQ(yellowStep(program.window()), 1);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM Orvax"), "0");
    auto* log = get<QTableView>(program.window(), "dbgOrvax");
    EXPECT_EQ(log->model()->rowCount(), 0);
    EXPECT_EQ(log->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Progr"));
    EXPECT_EQ(text(program, "tbBlockNo"), QStringLiteral("1"));
    EXPECT_EQ(text(program, "tbDataIn"), QStringLiteral("15/01/2024"));
    program.controller().act0EndExecute();
    EXPECT_EQ(runLoop(), 0);
}

TEST_F(ExportOrvaxWindowOnServer, AnUnknownOperatorIsToldAndTheProgramEnds) {
    env.login = u"sconosciuto";
    MessageBoxes boxes;
    OutputProgram program(suite.home(), &env);
    startAndActivate(program);
    QTest::mouseClick(get<QToolButton>(program.window(), "Control1"), Qt::LeftButton);
    EXPECT_EQ(boxes.shown, QStringList({QStringLiteral("ATTENZIONE!: Utente non censito\n"
                                                       "Impossibile continuare ")}));
    EXPECT_EQ(text(program, "Control1"), QStringLiteral("Server OFF"));
    EXPECT_EQ(runLoop(), 0);  // the termination asked for ends the loop
}

TEST_F(ExportOrvaxWindow, AFailedStartUpReportsAndEndsAtActivation) {
    TempDir empty;  // no paths file there
    MessageBoxes boxes;
    OutputProgram program(empty.path(), &env);
    EXPECT_EQ(boxes.shown.size(), 1) << boxes.shown.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(program.controller().started());
    program.show();
    EXPECT_EQ(runLoop(), 0);  // the first activation terminates
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(ExportOrvaxWindow, ClosingTheWindowEndsTheWorkAndSavesTheSettings) {
    MessageBoxes boxes;
    {
        OutputProgram program(suite.home(), &env);
        startAndActivate(program);
        program.window().close();
        EXPECT_EQ(runLoop(), 0);
        EXPECT_FALSE(program.controller().started());
    }
    EXPECT_TRUE(fileExists(suite.file(SuiteTree::kAuxiliary, kSettingsFile)));
    EXPECT_EQ(boxes.shown, QStringList());
}
