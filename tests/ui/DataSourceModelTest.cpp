// The grids and the navigator over real data sets on the test server: what
// the grid shows, how it follows the data set being moved, run again,
// closed or destroyed, and the navigator's buttons.
#include "ui/DataSourceModel.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "platform/MySqlConnection.h"
#include "platform/MySqlDataSource.h"
#include "platform/MySqlQuery.h"
#include "support/RecordingMessageBox.h"
#include "support/TestConnection.h"
#include "support/TestDatabase.h"
#include "ui/GridBinding.h"
#include "ui/MainWindow.h"
#include "ui/NavigatorBinding.h"
#include "ui/QtOutputView.h"
#include "ui/UiTestSupport.h"

namespace {

class GridOnServer : public testing::Test {
protected:
    void SetUp() override {
        useTestServer(connection, db.name());
        ASSERT_TRUE(connection.open()) << connection.lastError();
        db.exec(
            "CREATE TABLE Orvax (Progr INT PRIMARY KEY, Filiale VARCHAR(20), "
            "DataCaricoFin DATE)");
        // 'Citt\xE0' is "Città" in the suite's code page.
        db.exec(
            "INSERT INTO Orvax VALUES (1, 'Citt\xE0', '2024-01-31'), (2, NULL, NULL), "
            "(3, 'Roma', '2024-03-31')");
        query->setSql("SELECT * FROM Orvax ORDER BY Progr");
        ASSERT_TRUE(query->open()) << query->lastError();
    }

    QString cell(const DataSourceModel& model, int row, int column) {
        return model.data(model.index(row, column)).toString();
    }

    QAction* button(const char* name) { return window.findChild<QAction*>(QLatin1String(name)); }

    int gridRow(const char* name) {
        return window.findChild<QTableView*>(QLatin1String(name))->currentIndex().row();
    }

    TestDatabase db;
    MySqlConnection connection;
    std::unique_ptr<MySqlQuery> query = std::make_unique<MySqlQuery>(&connection);
    std::unique_ptr<MySqlDataSource> source = std::make_unique<MySqlDataSource>(query.get());
    MainWindow window;
    QtOutputView view{&window};
};

}  // namespace

TEST_F(GridOnServer, ShowsTheFieldsAndRowsOfTheDataSetAsText) {
    DataSourceModel model;
    model.setSource(source.get());
    ASSERT_EQ(model.columnCount(), 3);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Progr"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("DataCaricoFin"));
    EXPECT_EQ(cell(model, 0, 1), q(u"Città"));
    EXPECT_EQ(cell(model, 1, 1), QString());  // NULL shows empty
    EXPECT_EQ(cell(model, 2, 2), QStringLiteral("2024-03-31"));
    EXPECT_EQ(cell(model, 2, 0), QStringLiteral("3"));
    EXPECT_EQ(query->recNo(), 0);  // reading moved nothing
    EXPECT_EQ(model.currentRow(), 0);
}

TEST_F(GridOnServer, FollowsTheDataSetRunAgainClosedDisabledOrGone) {
    DataSourceModel model;
    model.setSource(source.get());
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

    db.exec("INSERT INTO Orvax VALUES (4, 'Bari', '2024-04-30')");
    ASSERT_TRUE(query->open());
    EXPECT_EQ(resets.count(), 1);  // another row count
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(cell(model, 3, 1), QStringLiteral("Bari"));

    db.exec("UPDATE Orvax SET Filiale='Napoli' WHERE Progr=4");
    ASSERT_TRUE(query->open());
    EXPECT_EQ(resets.count(), 1);  // same shape: the cells are refreshed
    EXPECT_GE(changes.count(), 1);
    EXPECT_EQ(cell(model, 3, 1), QStringLiteral("Napoli"));

    query->setSql("SELECT Progr FROM Orvax WHERE Progr < 3");
    ASSERT_TRUE(query->open());
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.rowCount(), 2);

    query->close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(model.currentRow(), -1);

    ASSERT_TRUE(query->open());
    source->setEnabled(false);
    EXPECT_EQ(model.rowCount(), 0);
    source->setEnabled(true);
    EXPECT_EQ(model.rowCount(), 2);

    query.reset();  // the data set goes first
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(source->dataSet(), nullptr);
    source.reset();  // then its source
    EXPECT_EQ(model.source(), nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(GridOnServer, CellsOfRowsNoLongerThereReadEmpty) {
    // A view may still ask for a row it was told of before the data set
    // changed; nothing is read outside the rows kept.
    DataSourceModel model;
    model.setSource(source.get());
    const QModelIndex last = model.index(2, 1);
    query->setSql("SELECT Progr FROM Orvax WHERE Progr = 1");
    ASSERT_TRUE(query->open());
    EXPECT_EQ(model.data(last).toString(), QString());
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("1"));
    query->close();
    EXPECT_EQ(model.data(last).toString(), QString());
}

TEST_F(GridOnServer, CurrentRowFollowsTheCursorAndAChosenRowMovesIt) {
    DataSourceModel model;
    QSignalSpy moved(&model, &DataSourceModel::currentRowChanged);
    model.setSource(source.get());
    query->last();
    EXPECT_EQ(model.currentRow(), 2);
    EXPECT_EQ(moved.last().at(0).toInt(), 2);

    EXPECT_TRUE(model.moveToRow(1));
    EXPECT_EQ(query->recNo(), 1);
    EXPECT_TRUE(model.moveToRow(0));
    EXPECT_EQ(query->recNo(), 0);
    EXPECT_FALSE(model.moveToRow(3));
    EXPECT_FALSE(model.moveToRow(-1));
    EXPECT_EQ(query->recNo(), 0);
}

TEST_F(GridOnServer, GridShowsTheCursorRowAndAClickMovesTheCursor) {
    view.bindGrid("dbgOrvax", source.get());
    auto* grid = window.findChild<QTableView*>(QStringLiteral("dbgOrvax"));
    window.show();
    view.setActivePage("tsEstrazioni");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(gridRow("dbgOrvax"), 0);

    query->last();
    EXPECT_EQ(gridRow("dbgOrvax"), 2);

    const QRect second = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(query->recNo(), 1);
    EXPECT_EQ(gridRow("dbgOrvax"), 1);

    view.bindGrid("dbgOrvax", nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(GridOnServer, NavigatorMovesTheDataSetAndTheGridsFollow) {
    view.bindGrid("dbgOrvax", source.get());
    view.bindGrid("dbnNavigator", source.get());
    struct Step {
        const char* button;
        int row;
        bool firstEnabled;
        bool lastEnabled;
    };
    const Step steps[] = {
        {"nbLast", 2, true, false}, {"nbPrior", 1, true, true}, {"nbFirst", 0, false, true},
        {"nbNext", 1, true, true},  {"nbNext", 2, true, true},  {"nbNext", 2, true, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        button(step.button)->trigger();
        EXPECT_EQ(query->recNo(), step.row);
        EXPECT_EQ(gridRow("dbgOrvax"), step.row);
        EXPECT_EQ(button("nbFirst")->isEnabled(), step.firstEnabled);
        EXPECT_EQ(button("nbPrior")->isEnabled(), step.firstEnabled);
        EXPECT_EQ(button("nbLast")->isEnabled(), step.lastEnabled);
        EXPECT_EQ(button("nbNext")->isEnabled(), step.lastEnabled);
        EXPECT_TRUE(button("nbRefresh")->isEnabled());
    }

    query->close();
    for (const char* name : {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbRefresh"}) {
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    }
    button("nbLast")->trigger();  // nothing to move
    EXPECT_EQ(query->recNo(), -1);
}

TEST_F(GridOnServer, NavigatorRefreshRunsTheStatementAgainAndShowsAFailure) {
    RecordingMessageBox messages;
    auto* navigator = window.findChild<QToolBar*>(QStringLiteral("dbnNavigator"));
    NavigatorBinding::of(navigator, &messages)->setSource(source.get());
    view.bindGrid("dbgOrvax", source.get());

    db.exec("INSERT INTO Orvax VALUES (4, 'Bari', '2024-04-30')");
    button("nbRefresh")->trigger();
    EXPECT_EQ(window.findChild<QTableView*>(QStringLiteral("dbgOrvax"))->model()->rowCount(), 4);
    EXPECT_TRUE(messages.shown.empty());

    db.exec("DROP TABLE Orvax");
    button("nbRefresh")->trigger();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, u"Errore!");
    EXPECT_EQ(messages.shown[0].flags, ModalMessageBox::kIconError);
    EXPECT_FALSE(messages.shown[0].text.empty());
    EXPECT_EQ(window.findChild<QTableView*>(QStringLiteral("dbgOrvax"))->model()->rowCount(), 0);
    EXPECT_FALSE(button("nbRefresh")->isEnabled());
}

TEST_F(GridOnServer, BindingsOutliveTheirSourcesAndTheWindowOutlivesNothing) {
    view.bindGrid("dbgDateCarico", source.get());
    view.bindGrid("dbnNavigator", source.get());
    source.reset();  // the gateway drops its data sets before the window goes
    EXPECT_EQ(window.findChild<QTableView*>(QStringLiteral("dbgDateCarico"))->model()->rowCount(),
              0);
    EXPECT_FALSE(button("nbFirst")->isEnabled());

    // A window that goes first leaves no observer behind in the source.
    auto other = std::make_unique<MySqlDataSource>(query.get());
    {
        MainWindow shortLived;
        QtOutputView shortView(&shortLived);
        shortView.bindGrid("dbgOrvax", other.get());
        shortView.bindGrid("dbnNavigator", other.get());
    }
    query->last();  // would reach a destroyed grid if it were still observing
    other.reset();
    SUCCEED();
}
