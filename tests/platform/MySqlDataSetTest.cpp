#include "platform/MySqlDataSet.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/MySqlConnection.h"
#include "platform/MySqlDataSource.h"
#include "platform/MySqlQuery.h"
#include "platform/MySqlTable.h"
#include "support/TestConnection.h"
#include "support/TestDatabase.h"

namespace {

class MySqlDataSetTest : public testing::Test {
protected:
    void SetUp() override {
        useTestServer(connection, db.name());
        ASSERT_TRUE(connection.open()) << connection.lastError();
    }

    // The values of one column over all rows, "NULL" for NULL.
    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> values;
        for (const auto& row : db.rows(sql)) {
            values.push_back(row[0].value_or("NULL"));
        }
        return values;
    }

    std::vector<std::string> walk(MySqlDataSet& dataSet, const char* name) {
        std::vector<std::string> values;
        for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
            values.push_back(dataSet.fieldByName(name).asString());
        }
        return values;
    }

    TestDatabase db;
    MySqlConnection connection;
    MySqlQuery query{&connection};
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(MySqlDataSetTest, ReadsTextsNumbersAndNulls) {
    db.exec(
        "CREATE TABLE doc (Prg INT, Importo DECIMAL(10,2), Deb_RagSoc VARCHAR(30), "
        "Scadenza DATE, Ratio DOUBLE)");
    db.exec(
        "INSERT INTO doc VALUES (1, 1234.50, 'Rossi', '2024-03-05', 0.25), "
        "(2, NULL, '', NULL, NULL), (-3, 2.49, NULL, '2024-12-31', -1.5)");
    query.setSql("SELECT * FROM doc ORDER BY Prg DESC");
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_TRUE(query.active());
    EXPECT_EQ(query.recordCount(), 3);
    ASSERT_EQ(query.fieldCount(), 5);
    EXPECT_EQ(query.field(1).fieldName(), "Importo");

    EXPECT_EQ(query.fieldByName("prg").asInteger(), 2);  // letter case ignored
    EXPECT_TRUE(query.fieldByName("Importo").isNull());
    EXPECT_EQ(query.fieldByName("Importo").asString(), "");
    EXPECT_EQ(query.fieldByName("Importo").asInteger(), 0);
    EXPECT_EQ(query.fieldByName("Importo").asFloat(), 0.0);
    EXPECT_FALSE(query.fieldByName("Deb_RagSoc").isNull());  // empty, not NULL
    EXPECT_EQ(query.fieldByName("Deb_RagSoc").asString(), "");

    query.next();
    EXPECT_EQ(query.fieldByName("Importo").asString(), "1234.50");
    EXPECT_EQ(query.fieldByName("Importo").asFloat(), 1234.5);
    EXPECT_EQ(query.fieldByName("Importo").asInteger(), 1235);  // rounded
    EXPECT_EQ(query.fieldByName("Scadenza").asString(), "2024-03-05");
    EXPECT_EQ(query.fieldByName("Ratio").asFloat(), 0.25);
    EXPECT_EQ(query.fieldByName("Deb_RagSoc").asInteger(), 0);  // no number

    query.next();
    EXPECT_EQ(query.fieldByName("Prg").asInteger(), -3);
    EXPECT_TRUE(query.fieldByName("Deb_RagSoc").isNull());

    // A name the result lacks reads as NULL and cannot be set.
    MySqlField& missing = query.fieldByName("DataMin");
    EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(missing.isNull());
    EXPECT_EQ(query.findField("DataMin"), nullptr);
    ASSERT_TRUE(query.edit());
    EXPECT_FALSE(missing.setAsInteger(1));
    EXPECT_NE(query.lastError().find("DataMin"), std::string::npos);
}

TEST_F(MySqlDataSetTest, CursorMovesAsTheWindowLibrarysDataSets) {
    db.exec("CREATE TABLE t (n INT)");
    db.exec("INSERT INTO t VALUES (1), (2), (3)");
    query.setSql("SELECT n FROM t ORDER BY n");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(walk(query, "n"), (Texts{"1", "2", "3"}));
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recNo(), 2);  // a move past the end stays on the last row

    query.first();
    EXPECT_TRUE(query.bof());
    EXPECT_FALSE(query.eof());
    query.prior();
    EXPECT_EQ(query.recNo(), 0);
    query.last();
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.fieldByName("n").asString(), "3");
    query.prior();
    EXPECT_FALSE(query.eof());
    EXPECT_EQ(query.fieldByName("n").asString(), "2");

    query.setSql("SELECT n FROM t WHERE n > 5");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recNo(), -1);
    EXPECT_TRUE(query.fieldByName("n").isNull());
    EXPECT_FALSE(query.edit());

    query.close();
    EXPECT_FALSE(query.active());
    EXPECT_EQ(query.recordCount(), 0);
}

TEST_F(MySqlDataSetTest, StatementsCountTheirRowsAndFailuresKeepTheServersMessage) {
    db.exec("CREATE TABLE t (n INT, s VARCHAR(10))");
    db.exec("INSERT INTO t VALUES (1, NULL), (2, NULL), (3, 'x')");
    query.setSql("UPDATE t SET s='y' WHERE s IS NULL");
    ASSERT_TRUE(query.execute());
    EXPECT_EQ(query.rowsAffected(), 2);
    query.setSql("UPDATE t SET s='y' WHERE n > 100");
    ASSERT_TRUE(query.execute());
    EXPECT_EQ(query.rowsAffected(), 0);

    query.setSql("SELECT * FROM missing_table");
    EXPECT_FALSE(query.open());
    EXPECT_NE(query.lastError().find("missing_table' doesn't exist"), std::string::npos)
        << query.lastError();
    query.setSql("SELEC 1");
    EXPECT_FALSE(query.execute());
    EXPECT_NE(query.lastError().find("SQL syntax"), std::string::npos);

    // The connection stays usable after a failed statement.
    query.setSql("SELECT COUNT(*) AS c FROM t");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.fieldByName("c").asInteger(), 3);

    query.setSql("DELETE FROM t");
    EXPECT_FALSE(query.open());  // changes rows but returns none
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM t"), "0");
}

TEST_F(MySqlDataSetTest, AccentedTextsRoundTripAsWindows1252) {
    db.exec(
        "CREATE TABLE t (id INT PRIMARY KEY, u VARCHAR(40) CHARACTER SET utf8mb4, "
        "l VARCHAR(40) CHARACTER SET latin1)");
    const std::string accented = "Perché è già città: 100 €";
    query.setSql("INSERT INTO t VALUES (1, '" + accented + "', '" + accented + "')");
    ASSERT_TRUE(query.execute()) << query.lastError();

    query.setSql("SELECT u, l FROM t");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.fieldByName("u").asString(), accented);
    EXPECT_EQ(query.fieldByName("l").asString(), accented);
    // The server holds the characters, not the bytes: UTF-8 in utf8mb4.
    EXPECT_EQ(db.scalar("SELECT HEX(u) FROM t"),
              "5065726368C3A920C3A8206769C3A02063697474C3A03A2031303020E282AC");

    const std::string changed = "Società Più Àncora";
    ASSERT_TRUE(query.edit());
    ASSERT_TRUE(query.fieldByName("u").setAsString(changed));
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_EQ(db.scalar("SELECT u FROM t"), changed);
}

TEST_F(MySqlDataSetTest, NamedParameterIsBoundNeverPasted) {
    db.exec("CREATE TABLE t (Name VARCHAR(30), Lotto_Pres INT)");
    db.exec("INSERT INTO t VALUES ('a', 1), ('b', 2), ('O''Brien', 3)");
    query.setSql("SELECT Lotto_Pres FROM t WHERE Name=:Name");
    query.setParam("Name", std::string("x' OR '1'='1"));
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_EQ(query.recordCount(), 0);

    query.setParam("name", std::string("O'Brien"));
    ASSERT_TRUE(query.open());
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldByName("Lotto_Pres").asInteger(), 3);

    query.setParam("Name", std::nullopt);
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.recordCount(), 0);

    // Long texts and numbers come back whole through the prepared statement.
    query.setSql("SELECT REPEAT('z', 300) AS Long_Text, :n + 1 AS n, NULL AS Nothing");
    query.setParam("n", std::string("41"));
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_EQ(query.fieldByName("Long_Text").asString(), std::string(300, 'z'));
    EXPECT_EQ(query.fieldByName("n").asInteger(), 42);
    EXPECT_TRUE(query.fieldByName("Nothing").isNull());
}

TEST_F(MySqlDataSetTest, PostFindsTheRowByItsPrimaryKey) {
    db.exec("CREATE TABLE doc (id INT PRIMARY KEY, Serial VARCHAR(10), T1 INT, T2 INT)");
    db.exec("INSERT INTO doc VALUES (1, 'A', 0, 0), (2, 'A', 0, 0), (3, 'B', 0, 0)");
    query.setSql("SELECT id, T1, T2 FROM doc ORDER BY id");
    ASSERT_TRUE(query.open());
    query.next();
    ASSERT_TRUE(query.edit());
    EXPECT_TRUE(query.editing());
    query.fieldByName("T1").setAsInteger(7);
    query.fieldByName("T2").setNull();
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_FALSE(query.editing());
    EXPECT_EQ(column("SELECT CONCAT(id, ':', T1, ':', IFNULL(T2, 'N')) FROM doc ORDER BY id"),
              (Texts{"1:0:0", "2:7:N", "3:0:0"}));
    EXPECT_EQ(query.fieldByName("T1").asInteger(), 7);  // the row keeps its new values

    // The key itself can change: the row is found by its old key.
    ASSERT_TRUE(query.edit());
    query.fieldByName("id").setAsInteger(20);
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_EQ(column("SELECT id FROM doc ORDER BY id"), (Texts{"1", "3", "20"}));

    // Moving on while editing posts the change.
    ASSERT_TRUE(query.edit());
    query.fieldByName("T1").setAsInteger(9);
    ASSERT_TRUE(query.next());
    EXPECT_EQ(db.scalar("SELECT T1 FROM doc WHERE id=20"), "9");

    // Editing and cancelling writes nothing.
    ASSERT_TRUE(query.edit());
    query.fieldByName("T1").setAsInteger(99);
    query.cancel();
    EXPECT_EQ(query.fieldByName("T1").asInteger(), 0);
    EXPECT_FALSE(query.post());  // nothing being edited
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM doc WHERE T1=99"), "0");

    // A value changes only while editing.
    EXPECT_FALSE(query.fieldByName("T1").setAsInteger(5));
}

TEST_F(MySqlDataSetTest, WithoutAWholeKeyPostChangesOneRowMatchingTheOriginalValues) {
    // Two identical rows: only one may change.
    db.exec("CREATE TABLE nokey (Serial VARCHAR(10), T1 INT, Note VARCHAR(10))");
    db.exec("INSERT INTO nokey VALUES ('A', 0, NULL), ('A', 0, NULL), ('B', 0, NULL)");
    query.setSql("SELECT Serial, T1, Note FROM nokey WHERE Serial='A'");
    ASSERT_TRUE(query.open());
    ASSERT_TRUE(query.edit());
    query.fieldByName("T1").setAsInteger(4);
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_EQ(column("SELECT T1 FROM nokey ORDER BY T1"), (Texts{"0", "0", "4"}));

    // A table whose key is not all selected is treated the same way.
    db.exec("CREATE TABLE partkey (a INT, b INT, v INT, PRIMARY KEY (a, b))");
    db.exec("INSERT INTO partkey VALUES (1, 1, 0), (1, 2, 0)");
    query.setSql("SELECT a, v FROM partkey ORDER BY b");
    ASSERT_TRUE(query.open());
    ASSERT_TRUE(query.edit());
    query.fieldByName("v").setAsInteger(5);
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_EQ(column("SELECT v FROM partkey ORDER BY v"), (Texts{"0", "5"}));
}

TEST_F(MySqlDataSetTest, ComputedColumnsAreNeverWrittenBack) {
    db.exec("CREATE TABLE doc (Prg INT PRIMARY KEY, Serial VARCHAR(10), T1 INT)");
    db.exec("INSERT INTO doc VALUES (10, 'A', 0), (11, 'B', 0)");
    query.setSql("SELECT Prg - 10 + 1 AS Prg, Serial, T1 FROM doc ORDER BY Serial");
    ASSERT_TRUE(query.open());
    EXPECT_TRUE(query.fieldByName("Prg").isComputed());
    EXPECT_FALSE(query.fieldByName("T1").isComputed());
    ASSERT_TRUE(query.edit());
    query.fieldByName("Prg").setAsInteger(50);
    query.fieldByName("T1").setAsInteger(2);
    ASSERT_TRUE(query.post()) << query.lastError();
    EXPECT_EQ(column("SELECT CONCAT(Prg, ':', T1) FROM doc ORDER BY Prg"), (Texts{"10:2", "11:0"}));

    // A result made only of expressions writes nothing at all.
    query.setSql("SELECT COUNT(*) AS TotDoc FROM doc");
    ASSERT_TRUE(query.open());
    ASSERT_TRUE(query.edit());
    query.fieldByName("TotDoc").setAsInteger(0);
    EXPECT_TRUE(query.post());
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM doc"), "2");
}

TEST_F(MySqlDataSetTest, PostRefusesWhatItCannotWriteSafely) {
    db.exec("CREATE TABLE a (id INT PRIMARY KEY, v INT)");
    db.exec("CREATE TABLE b (id INT PRIMARY KEY, w INT)");
    db.exec("INSERT INTO a VALUES (1, 0)");
    db.exec("INSERT INTO b VALUES (1, 0)");

    // The row was deleted meanwhile: nothing is written, the edit stays.
    query.setSql("SELECT id, v FROM a");
    ASSERT_TRUE(query.open());
    db.exec("DELETE FROM a");
    ASSERT_TRUE(query.edit());
    query.fieldByName("v").setAsInteger(3);
    EXPECT_FALSE(query.post());
    EXPECT_NE(query.lastError().find("non si trova più"), std::string::npos) << query.lastError();
    EXPECT_TRUE(query.editing());
    EXPECT_FALSE(query.next());  // cannot move on without posting
    query.cancel();
    EXPECT_TRUE(query.next());

    // Changes to two tables of a join are refused.
    db.exec("INSERT INTO a VALUES (1, 0)");
    query.setSql("SELECT a.id, a.v, b.w FROM a JOIN b ON a.id=b.id");
    ASSERT_TRUE(query.open());
    ASSERT_TRUE(query.edit());
    query.fieldByName("v").setAsInteger(1);
    query.fieldByName("w").setAsInteger(1);
    EXPECT_FALSE(query.post());
    EXPECT_EQ(db.scalar("SELECT CONCAT(a.v, b.w) FROM a JOIN b"), "00");
}

TEST_F(MySqlDataSetTest, DetailFollowsItsMasterRow) {
    db.exec("CREATE TABLE dist (Lotto_Pres INT)");
    db.exec("CREATE TABLE doc (Lotto_Pres INT, Prg1 INT, Serial VARCHAR(10))");
    db.exec("INSERT INTO dist VALUES (7), (8), (9)");
    db.exec("INSERT INTO doc VALUES (7, 2, 'b'), (7, 1, 'a'), (8, 1, 'c'), (8, 0, 'x')");
    MySqlQuery master(&connection);
    master.setSql("SELECT * FROM dist ORDER BY Lotto_Pres");
    MySqlDataSource masterSource(&master);
    query.setSql("SELECT * FROM doc WHERE  Lotto_Pres=:Lotto_Pres AND Prg1 > 0 ORDER BY Prg1");
    query.setMasterSource(&masterSource);
    ASSERT_TRUE(master.open());
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_EQ(walk(query, "Serial"), (Texts{"a", "b"}));

    master.next();
    EXPECT_EQ(walk(query, "Serial"), (Texts{"c"}));
    master.next();
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_TRUE(query.eof());

    // A disabled source holds the detail still; enabling it catches up.
    masterSource.setEnabled(false);
    master.first();
    EXPECT_EQ(query.recordCount(), 0);
    masterSource.setEnabled(true);
    EXPECT_EQ(walk(query, "Serial"), (Texts{"a", "b"}));

    // Without master rows the parameter is NULL: no detail rows.
    master.close();
    EXPECT_EQ(query.recordCount(), 0);
}

TEST_F(MySqlDataSetTest, LinksBetweenDataSetsAndSourcesEndWithEitherSide) {
    auto master = std::make_unique<MySqlQuery>(&connection);
    auto source = std::make_unique<MySqlDataSource>(master.get());
    query.setMasterSource(source.get());
    master.reset();
    EXPECT_EQ(source->dataSet(), nullptr);
    source.reset();
    EXPECT_EQ(query.masterSource(), nullptr);
    query.setSql("SELECT :x IS NULL AS Unset");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.fieldByName("Unset").asInteger(), 1);
}

TEST_F(MySqlDataSetTest, AStatementPastItsTimeOutFailsWithTheServersMessage) {
    query.setCommandTimeout(1);
    query.setSql("SELECT SLEEP(3) AS s");
    EXPECT_FALSE(query.open());
    EXPECT_NE(query.lastError().find("max_statement_time"), std::string::npos) << query.lastError();
    // The connection carries on.
    query.setSql("SELECT 1 AS one");
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.fieldByName("one").asInteger(), 1);
}

TEST_F(MySqlDataSetTest, ALostConnectionIsAnErrorNeverACrash) {
    db.exec("CREATE TABLE t (id INT PRIMARY KEY, v INT)");
    db.exec("INSERT INTO t VALUES (1, 0)");
    query.setSql("SELECT id, v FROM t");
    ASSERT_TRUE(query.open());
    MySqlQuery id(&connection);
    id.setSql("SELECT CONNECTION_ID() AS Id");
    ASSERT_TRUE(id.open());
    db.exec("KILL " + id.fieldByName("Id").asString());

    ASSERT_TRUE(query.edit());
    query.fieldByName("v").setAsInteger(1);
    EXPECT_FALSE(query.post());
    EXPECT_FALSE(query.lastError().empty());
    EXPECT_NE(query.lastError(), "Connessione al database non attiva");
    EXPECT_FALSE(connection.connected());
    query.cancel();

    MySqlQuery other(&connection);
    other.setSql("UPDATE t SET v=2");
    EXPECT_FALSE(other.execute());
    EXPECT_EQ(other.lastError(), "Connessione al database non attiva");
    EXPECT_EQ(db.scalar("SELECT v FROM t"), "0");

    MySqlQuery unconnected;
    unconnected.setSql("SELECT 1");
    EXPECT_FALSE(unconnected.open());
    EXPECT_EQ(unconnected.lastError(), "Connessione al database non attiva");
}

TEST_F(MySqlDataSetTest, ATableReadsItsRowsByName) {
    db.exec("CREATE TABLE Orvax (Progr INT PRIMARY KEY, DataCaricoFin VARCHAR(10))");
    db.exec("INSERT INTO Orvax VALUES (1, '2024-03-05'), (2, '2024-03-31')");
    MySqlTable table(&connection);
    table.setTableName("ORVAX");  // table names are not case-sensitive
    ASSERT_TRUE(table.open()) << table.lastError();
    EXPECT_EQ(table.recordCount(), 2);
    table.last();
    ASSERT_TRUE(table.edit());
    table.fieldByName("DataCaricoFin").setAsString("2024-04-01");
    ASSERT_TRUE(table.post()) << table.lastError();
    EXPECT_EQ(db.scalar("SELECT DataCaricoFin FROM Orvax WHERE Progr=2"), "2024-04-01");
}
