// What a grid learns from its data source: every change of the data set's
// rows, cursor and state, the end of the source or of its data set; and the
// cells read without moving the cursor.
#include "platform/MySqlDataSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/MySqlConnection.h"
#include "platform/MySqlQuery.h"
#include "support/TestConnection.h"
#include "support/TestDatabase.h"

namespace {

class RecordingObserver : public MySqlDataSourceObserver {
public:
    void dataSourceChanged() override { ++changes; }
    void dataSourceDestroyed() override { ++destroyed; }

    int changes = 0;
    int destroyed = 0;
};

class MySqlDataSourceTest : public testing::Test {
protected:
    void SetUp() override {
        useTestServer(connection, db.name());
        ASSERT_TRUE(connection.open()) << connection.lastError();
        db.exec("CREATE TABLE Orvax (Progr INT PRIMARY KEY, DataCaricoFin DATE)");
        db.exec("INSERT INTO Orvax VALUES (1, '2024-01-31'), (2, NULL), (3, '2024-03-31')");
        query.setSql("SELECT Progr, DataCaricoFin FROM Orvax ORDER BY Progr");
    }

    TestDatabase db;
    MySqlConnection connection;
    MySqlQuery query{&connection};
};

}  // namespace

TEST_F(MySqlDataSourceTest, ObserversAreToldOfEveryChangeOfTheDataSet) {
    MySqlDataSource source(&query);
    RecordingObserver observer;
    source.addObserver(&observer);
    source.addObserver(&observer);  // once only

    struct Step {
        const char* what;
        std::function<void()> run;
    };
    const Step steps[] = {
        {"open", [&] { ASSERT_TRUE(query.open()) << query.lastError(); }},
        {"next", [&] { query.next(); }},
        {"last", [&] { query.last(); }},
        {"first", [&] { query.first(); }},
        {"post",
         [&] {
             ASSERT_TRUE(query.edit());
             query.fieldByName("DataCaricoFin").setAsString("2024-02-29");
             ASSERT_TRUE(query.post()) << query.lastError();
         }},
        {"disable", [&] { source.setEnabled(false); }},
        {"move while disabled", [&] { query.next(); }},
        {"enable", [&] { source.setEnabled(true); }},
        {"close", [&] { query.close(); }},
        {"another data set", [&] { source.setDataSet(nullptr); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const int before = observer.changes;
        step.run();
        EXPECT_EQ(observer.changes, before + 1);
    }

    source.removeObserver(&observer);
    source.setDataSet(&query);
    EXPECT_EQ(observer.changes, int(std::size(steps)));
    EXPECT_EQ(observer.destroyed, 0);
}

TEST_F(MySqlDataSourceTest, AFailedOpenIsAChangeToo) {
    MySqlDataSource source(&query);
    RecordingObserver observer;
    source.addObserver(&observer);
    ASSERT_TRUE(query.open());
    query.setSql("SELECT Nothing FROM Missing");  // closes the rows: a change
    EXPECT_EQ(observer.changes, 2);
    EXPECT_FALSE(query.open());
    EXPECT_EQ(observer.changes, 3);
    EXPECT_FALSE(query.active());
}

TEST_F(MySqlDataSourceTest, TheEndOfTheSourceOrOfItsDataSetIsTold) {
    RecordingObserver observer;
    {
        MySqlDataSource source(&query);
        source.addObserver(&observer);
    }
    EXPECT_EQ(observer.destroyed, 1);

    auto doomed = std::make_unique<MySqlQuery>(&connection);
    MySqlDataSource source(doomed.get());
    RecordingObserver other;
    source.addObserver(&other);
    doomed.reset();
    EXPECT_EQ(source.dataSet(), nullptr);
    EXPECT_EQ(other.changes, 1);
    EXPECT_EQ(other.destroyed, 0);
}

TEST_F(MySqlDataSourceTest, CellsAreReadWithoutMovingTheCursor) {
    EXPECT_EQ(query.valueAt(0, 0), nullptr);  // not open yet
    ASSERT_TRUE(query.open()) << query.lastError();
    query.next();
    ASSERT_NE(query.valueAt(2, 1), nullptr);
    EXPECT_EQ(*query.valueAt(2, 1), "2024-03-31");
    EXPECT_EQ(*query.valueAt(0, 0), "1");
    ASSERT_NE(query.valueAt(1, 1), nullptr);
    EXPECT_FALSE(query.valueAt(1, 1)->has_value());  // NULL
    EXPECT_EQ(query.recNo(), 1);

    for (const auto& [row, column] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        EXPECT_EQ(query.valueAt(row, column), nullptr) << row << "," << column;
    }
    query.close();
    EXPECT_EQ(query.valueAt(0, 0), nullptr);
}
