#include "db/KroDBUtils.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "GatewayFixture.h"
#include "db/KroCnnString.h"
#include "platform/MySqlDataSource.h"
#include "platform/MySqlQuery.h"
#include "platform/MySqlTable.h"

namespace {

constexpr const char* kOutOfRange = "La query impostata non e' nell'intervallo ammesso";

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

// The text a connect throws, "" when it does not.
std::string connectFailure(KroDBUtils& gateway) {
    try {
        gateway.connect(true);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

}  // namespace

TEST_F(GatewayTest, IsBuiltWithNPlusOneDataSetsAndWaitsForAConnectionString) {
    EXPECT_EQ(gateway.dataSetCount(), 6);
    EXPECT_EQ(gateway.utilityIndex(), 5);
    EXPECT_EQ(gateway.databaseType(), 3);
    EXPECT_EQ(gateway.utilityDataSet(), gateway.query(5)->component());
    EXPECT_EQ(gateway.query(-1), gateway.query(5));
    EXPECT_EQ(gateway.query(6), nullptr);
    EXPECT_NE(gateway.query(0)->asQuery(), nullptr);
    EXPECT_FALSE(gateway.connected());
    EXPECT_FALSE(gateway.hasConnectionString());
    EXPECT_FALSE(gateway.loginPrompt());
    EXPECT_EQ(gateway.status().value(), 1u << 2);
    EXPECT_STREQ(gateway.errorText(2), "Stringa di connessione mancante o non dichiarata");
    EXPECT_STREQ(gateway.errorText(0), "Nessun Nome Database dichiarato");
    EXPECT_STREQ(gateway.errorText(1), "Nessun Nome Catalogo (Alias) dichiarato");
    EXPECT_STREQ(gateway.errorText(3), "Server non dichiarato o non raggiungibile");
    EXPECT_STREQ(gateway.errorText(4), "Errore non definito");
    EXPECT_EQ(gateway.name(), nullptr);

    KroMy_DBUtils mixed(box, 2, 0b101);
    EXPECT_NE(mixed.query(0)->asTable(), nullptr);
    EXPECT_NE(mixed.query(1)->asQuery(), nullptr);
    EXPECT_NE(mixed.query(2)->asTable(), nullptr);
    EXPECT_EQ(mixed.queryObject(1), mixed.query(1)->component());
    EXPECT_EQ(mixed.queryObject(3), nullptr);
}

TEST_F(GatewayTest, ConnectsWithTheConnectionStringAndDisconnects) {
    EXPECT_EQ(connectFailure(gateway), "Stato della connessione alterato");
    EXPECT_NO_THROW(gateway.connect(false));

    const std::string missing = dir.file("NONE.CNS");
    EXPECT_FALSE(gateway.loadConnectionString(missing));
    EXPECT_TRUE(gateway.status().test(2));
    EXPECT_EQ(lastShown(), "Apertura di " + missing + "\r\n non riuscita");
    EXPECT_EQ(connectFailure(gateway), "Stato della connessione alterato");

    connect();
    EXPECT_EQ(gateway.status().value(), 0u);
    EXPECT_TRUE(gateway.hasConnectionString());
    EXPECT_EQ(gateway.databaseName(), db.name());
    EXPECT_EQ(text::toNarrow(gateway.connectionString()->value(KroCnnString::kDataSource)),
              testServer().host);
    EXPECT_TRUE(gateway.run("SELECT 1 AS one", 1, true, 0, true));

    gateway.connect(false);
    EXPECT_FALSE(gateway.connected());
    EXPECT_FALSE(gateway.run("SELECT 1", 1, true, 0, false));
    EXPECT_EQ(lastShown(), "Connessione al database non attiva");

    // The same gateway connects again.
    ASSERT_NO_THROW(gateway.connect(true));
    EXPECT_TRUE(gateway.run("SELECT 1", 1, true, 0, true));

    gateway.freeConnectionString();
    EXPECT_FALSE(gateway.hasConnectionString());
    EXPECT_EQ(connectFailure(gateway), "Stato della connessione alterato");
}

TEST_F(GatewayTest, ARefusedConnectionThrowsTheServersMessageWithoutThePassword) {
    const TestServer& server = testServer();
    // Lines of at most 102 characters.
    const std::string base =
        "Data Source=" + server.host + ";Initial Catalog=" + db.name() + "\r\n";
    struct Case {
        std::string entries;
        const char* expected;
    };
    const Case cases[] = {
        {base + "User ID=orvax;Password=wrong-pw-81;Port=" + std::to_string(server.port),
         "Access denied"},
        {base + "User ID=pw-as-user-77;Password=pw-as-user-77;Port=" + std::to_string(server.port),
         "Access denied"},
        {base + "User ID=orvax;Password=orvax-test;Port=" + std::to_string(closedPort()),
         "Can't connect"},
        {"Initial Catalog=x;Port=1", "Server non dichiarato o non raggiungibile"},
        {"Data Source=127.0.0.1;Port=1", "Nessun Nome Database dichiarato"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(gateway.loadConnectionString(dir.write("BAD.CNS", c.entries)));
        const std::string failure = connectFailure(gateway);
        EXPECT_NE(failure.find(c.expected), std::string::npos) << c.entries << " -> " << failure;
        EXPECT_EQ(failure.find("wrong-pw-81"), std::string::npos) << failure;
        EXPECT_EQ(failure.find("pw-as-user-77"), std::string::npos) << failure;
        EXPECT_FALSE(gateway.connected());
    }
    for (const std::string& shown : shownTexts()) {
        EXPECT_EQ(shown.find("wrong-pw-81"), std::string::npos);
    }
}

TEST_F(GatewayTest, RunsStatementsAndQueriesInNumberedDataSets) {
    connect();
    db.exec("CREATE TABLE doc (Prg INT, Serial VARCHAR(10))");
    ASSERT_TRUE(
        gateway.run("INSERT INTO doc VALUES (1, NULL), (2, NULL), (3, 'x')", 0, true, -1, true));
    EXPECT_EQ(gateway.query(5)->resultCount(), 3);
    ASSERT_TRUE(gateway.run("UPDATE doc SET Serial=LPAD(Prg, 10, '0') WHERE Serial is NULL", 0,
                            true, -1, false));
    EXPECT_EQ(gateway.currentIndex(), -1);
    EXPECT_EQ(gateway.currentDataSet(), gateway.utilityDataSet());
    EXPECT_EQ(gateway.query(-1)->resultCount(), 2);

    ASSERT_TRUE(gateway.run("SELECT * FROM doc ORDER BY Prg", 1, true, 3, true));
    EXPECT_EQ(gateway.currentIndex(), 3);
    EXPECT_EQ(gateway.currentDataSet(), gateway.query(3)->component());
    EXPECT_EQ(gateway.query(3)->resultCount(), 3);
    EXPECT_EQ(walk(gateway.currentDataSet(), "Serial"), (Texts{"0000000001", "0000000002", "x"}));
    EXPECT_FALSE(gateway.inTransaction());  // committed

    // Any mode other than 1 executes.
    ASSERT_TRUE(gateway.run("DELETE FROM doc WHERE Prg=3", 7, true, 2, true));
    EXPECT_EQ(gateway.query(2)->mode(), 0);
    EXPECT_EQ(gateway.query(2)->resultCount(), 1);
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(GatewayTest, IndexesOutsideTheDataSetsAreRefusedWithAMessage) {
    connect();
    for (int index : {6, 7, -2}) {
        box.shown.clear();
        EXPECT_FALSE(gateway.run("SELECT 1", 1, true, index, true));
        ASSERT_EQ(box.shown.size(), 1u);
        EXPECT_EQ(lastShown(), kOutOfRange);
        EXPECT_EQ(box.shown[0].caption, u"Errore!");
        EXPECT_EQ(box.shown[0].flags, ModalMessageBox::kIconError);
        EXPECT_EQ(gateway.currentIndex(), -1);
    }
    EXPECT_FALSE(gateway.execute(6));
    EXPECT_FALSE(gateway.prepare("SELECT 1", 1, true, 6, true));

    for (int index : {6, -1}) {
        try {
            gateway.dataSource(index);
            ADD_FAILURE() << "no error for data source " << index;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Data set fuori dall'intervallo");
        }
    }
    MySqlDataSource* source = gateway.dataSource(3);
    EXPECT_EQ(gateway.dataSource(3), source);
    EXPECT_EQ(source->dataSet(), gateway.query(3)->component());
}

TEST_F(GatewayTest, FailuresShowTheServersMessageWhenAskedAndCountMinusOne) {
    connect();
    EXPECT_FALSE(gateway.run("SELECT * FROM missing_table", 1, true, 2, true));
    EXPECT_EQ(gateway.query(2)->resultCount(), -1);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(lastShown().find("missing_table' doesn't exist"), std::string::npos);

    EXPECT_FALSE(gateway.run("SELEC 1", 0, false, 2, false));
    EXPECT_EQ(box.shown.size(), 1u);  // not shown
    EXPECT_EQ(gateway.query(2)->resultCount(), -1);
}

TEST_F(GatewayTest, AFailedTransactionalStatementLeavesItsTransactionForTheNextToRollBack) {
    connect();
    db.exec("CREATE TABLE t (id INT PRIMARY KEY) ENGINE=InnoDB");
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (1)", 0, true, -1, true));

    EXPECT_FALSE(gateway.run("INSERT INTO t VALUES (1)", 0, true, -1, true));
    EXPECT_NE(lastShown().find("Duplicate entry"), std::string::npos);
    EXPECT_TRUE(gateway.inTransaction());
    // Work done now belongs to the transaction left open...
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (2)", 0, true, -1, false));
    EXPECT_TRUE(gateway.inTransaction());
    // ...which the next transactional statement rolls back first.
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (3)", 0, true, -1, true));
    EXPECT_FALSE(gateway.inTransaction());
    EXPECT_EQ(db.scalar("SELECT GROUP_CONCAT(id ORDER BY id) FROM t"), "1,3");

    ASSERT_TRUE(gateway.startTransaction());
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (4)", 0, true, -1, false));
    ASSERT_TRUE(gateway.commit());
    ASSERT_TRUE(gateway.startTransaction());
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (5)", 0, true, -1, false));
    ASSERT_TRUE(gateway.rollback());
    EXPECT_EQ(db.scalar("SELECT GROUP_CONCAT(id ORDER BY id) FROM t"), "1,3,4");
}

TEST_F(GatewayTest, TablePlaceholderIsReplacedOnlyInNumberedDataSets) {
    connect();
    db.exec("CREATE TABLE t2 (v INT)");
    db.exec("INSERT INTO t2 VALUES (4)");
    gateway.query(2)->setTableName("t2");
    ASSERT_TRUE(
        gateway.run("SELECT v FROM %TABLE WHERE v IN (SELECT v FROM %TABLE)", 1, true, 2, true));
    EXPECT_EQ(gateway.query(2)->resultCount(), 1);
    gateway.query(5)->setTableName("t2");
    EXPECT_FALSE(gateway.run("SELECT v FROM %TABLE", 1, true, -1, true));
    EXPECT_NE(lastShown().find("SQL syntax"), std::string::npos);
}

TEST_F(GatewayTest, TableHelpersAnswerOnTheServersTables) {
    connect();
    db.exec("CREATE TABLE docxa (v INT)");
    db.exec("CREATE TABLE empty_one (v INT)");
    db.exec("INSERT INTO docxa VALUES (1), (2), (3)");

    EXPECT_TRUE(gateway.tableExists("docxa"));
    EXPECT_TRUE(gateway.tableExists("DOCXA"));  // names are not case-sensitive
    EXPECT_TRUE(gateway.tableExists("doc_a"));  // "_" matches any character
    EXPECT_TRUE(gateway.tableExists("doc%"));
    EXPECT_FALSE(gateway.tableExists("docya"));
    EXPECT_FALSE(gateway.tableExists("x'y"));  // quotes are escaped
    EXPECT_TRUE(gateway.tableExistsW(u"docxa"));
    EXPECT_FALSE(gateway.utilityDataSet()->active());

    EXPECT_EQ(gateway.count("docxa"), 3);
    EXPECT_FALSE(gateway.utilityDataSet()->active());
    EXPECT_EQ(gateway.count("empty_one"), 0);
    EXPECT_TRUE(box.shown.empty());
    EXPECT_EQ(gateway.count("nothere"), -1);
    EXPECT_NE(lastShown().find("doesn't exist"), std::string::npos);

    EXPECT_EQ(gateway.countIfExists("docxa"), 1);
    EXPECT_EQ(gateway.countIfExists("empty_one"), 0);
    EXPECT_EQ(gateway.countIfExists("nothere"), -1);

    ASSERT_TRUE(gateway.openTable("docxa", 2));
    EXPECT_EQ(gateway.query(2)->resultCount(), 3);

    EXPECT_TRUE(gateway.dropTable("docxa"));
    EXPECT_FALSE(gateway.tableExists("docxa"));
    EXPECT_TRUE(gateway.dropTable("docxa"));  // IF EXISTS

    // Unconnected, nothing exists: a failed look-up is no answer.
    gateway.connect(false);
    EXPECT_FALSE(gateway.tableExists("empty_one"));
}

TEST_F(GatewayTest, NamesThatAreNotIdentifiersAreRefusedAndNothingRuns) {
    connect();
    db.exec("CREATE TABLE victim (v INT)");
    const char* bad[] = {"victim; DROP TABLE victim", "victim`", "a b", "a.b", "a-b", "a'b", ""};
    for (const char* name : bad) {
        box.shown.clear();
        EXPECT_FALSE(gateway.dropTable(name)) << name;
        EXPECT_FALSE(gateway.openTable(name, 1)) << name;
        EXPECT_EQ(gateway.count(name), -1) << name;
        EXPECT_FALSE(gateway.createTableFromLayout(name, dir.file("none.TBL"))) << name;
        ASSERT_EQ(box.shown.size(), 4u) << name;
        EXPECT_EQ(lastShown().rfind(
                      "Nome non ammesso in un'istruzione SQL: \"" + std::string(name) + "\"", 0),
                  0u);
    }
    EXPECT_TRUE(gateway.tableExists("victim"));
}

TEST(KroDBUtils, IdentifierCheckAcceptsOnlyPlainNames) {
    const char* valid[] = {"Orvax",     "EFFETTI01_CA_240305_GUI_DOC", "a$b", "_x", "1abc",
                           "QuorvelNet"};
    for (const char* name : valid) {
        EXPECT_TRUE(KroDBUtils::isValidIdentifier(name)) << name;
    }
    const char* invalid[] = {"",    "123", "a b", "a-b",     "a.b",
                             "a'b", "a;b", "a`b", "caf\xE9", "a\nb"};
    for (const char* name : invalid) {
        EXPECT_FALSE(KroDBUtils::isValidIdentifier(name)) << name;
    }
    EXPECT_TRUE(KroDBUtils::isValidIdentifier(std::string(64, 'x')));
    EXPECT_FALSE(KroDBUtils::isValidIdentifier(std::string(65, 'x')));
}

TEST_F(GatewayTest, EscapedLiteralsAndAccentedTextsReachTheServerUnchanged) {
    db.exec("CREATE TABLE t (id INT PRIMARY KEY, s VARCHAR(60) CHARACTER SET utf8mb4)");
    RecordingMessageBox unused;
    KroMy_DBUtils unconnected(unused, 0, 0);
    EXPECT_EQ(unconnected.escapeLiteral("l'a\\b"), "l\\'a\\\\b");

    connect();
    const std::string tricky = "l'anno \\ 'scorso' -- ; città";
    ASSERT_TRUE(gateway.run("INSERT INTO t VALUES (1, '" + gateway.escapeLiteral(tricky) + "')", 0,
                            true, -1, true));
    const std::u16string wide = u"INSERT INTO t VALUES (2, 'Società più Àncora €')";
    ASSERT_TRUE(gateway.runW(wide, 0, true, -1, true));
    ASSERT_TRUE(gateway.run("SELECT s FROM t ORDER BY id", 1, true, 0, true));
    const std::string accented = "Società più Àncora €";
    EXPECT_EQ(walk(gateway.currentDataSet(), "s"), (Texts{tricky, accented}));
    // Stored as the characters they are: UTF-8 in a utf8mb4 column.
    EXPECT_EQ(db.scalar("SELECT s = CONVERT(UNHEX('" + hex(text::toUtf8(text::toWide(accented))) +
                        "') USING utf8mb4) FROM t WHERE id=2"),
              "1");
}

TEST_F(GatewayTest, LinkedDetailFollowsItsMaster) {
    connect();
    db.exec("CREATE TABLE dist (Lotto_Pres INT)");
    db.exec("CREATE TABLE doc (Lotto_Pres INT, Prg1 INT, Prg2 INT, Serial VARCHAR(10))");
    db.exec("INSERT INTO dist VALUES (8), (7)");
    db.exec(
        "INSERT INTO doc VALUES (7, 1, 1, 'a'), (7, 2, 1, 'b'), (8, 1, 1, 'c'), (8, 0, 1, 'z')");
    ASSERT_TRUE(gateway.run("SELECT * FROM dist ORDER BY Lotto_Pres", 1, true, 0, true));
    ASSERT_TRUE(gateway.linkDetail(
        1, 0, "SELECT * FROM doc WHERE  Lotto_Pres=:Lotto_Pres AND Prg1 > 0 ORDER BY Prg2, Prg1"));
    EXPECT_TRUE(gateway.dataSource(0)->enabled());
    MySqlDataSet* master = gateway.query(0)->component();
    MySqlDataSet* detail = gateway.query(1)->component();
    EXPECT_EQ(gateway.query(1)->resultCount(), 2);
    EXPECT_EQ(walk(detail, "Serial"), (Texts{"a", "b"}));
    master->next();
    EXPECT_EQ(walk(detail, "Serial"), (Texts{"c"}));
    master->first();
    EXPECT_EQ(walk(detail, "Serial"), (Texts{"a", "b"}));

    EXPECT_FALSE(gateway.linkDetail(6, 0, "SELECT 1"));
    EXPECT_FALSE(gateway.linkDetail(1, -1, "SELECT 1"));
    EXPECT_TRUE(box.shown.empty());

    EXPECT_FALSE(gateway.linkDetail(2, 0, "SELECT * FROM nothere WHERE x=:Lotto_Pres"));
    EXPECT_EQ(shownTexts().back(), "Errore in esecuzione della query di dettaglio");
    EXPECT_NE(shownTexts().front().find("doesn't exist"), std::string::npos);

    // A master that no longer opens leaves the detail without a row to follow.
    box.shown.clear();
    ASSERT_TRUE(gateway.prepare("SELECT * FROM gone ORDER BY Lotto_Pres", 1, true, 0, true));
    EXPECT_FALSE(gateway.linkDetail(
        1, 0, "SELECT * FROM doc WHERE  Lotto_Pres=:Lotto_Pres AND Prg1 > 0 ORDER BY Prg2, Prg1"));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(lastShown().find("gone"), std::string::npos);
}

TEST_F(GatewayTest, ARecreatedDataSetIsFreshAndOfTheSameKind) {
    KroMy_DBUtils mixed(box, 2, 0b010);
    ASSERT_TRUE(mixed.loadConnectionString(dir.write("V.CNS", db.connectionString())));
    mixed.connect(true);
    ASSERT_TRUE(mixed.run("SELECT 1 AS one", 1, true, 1, true));
    MySqlDataSet* before = mixed.queryObject(1);
    ASSERT_TRUE(mixed.recreateDataSet(1));
    EXPECT_NE(mixed.query(1)->asTable(), nullptr);
    EXPECT_FALSE(mixed.queryObject(1)->active());
    EXPECT_EQ(mixed.query(1)->resultCount(), -1);
    EXPECT_EQ(mixed.queryObject(1)->commandTimeout(), 300);
    EXPECT_NE(mixed.queryObject(1), before);
    ASSERT_TRUE(mixed.run("SELECT 2 AS two", 1, true, 1, true));
    EXPECT_EQ(mixed.currentDataSet()->fieldByName("two").asInteger(), 2);
    EXPECT_FALSE(mixed.recreateDataSet(3));

    MySqlQuery own;
    mixed.replaceQueryObject(0, &own);
    EXPECT_EQ(mixed.queryObject(0), &own);
    ASSERT_TRUE(mixed.run("SELECT 3 AS three", 1, true, 0, true));
    EXPECT_EQ(own.fieldByName("three").asInteger(), 3);
    mixed.freeDataSets();
    EXPECT_EQ(mixed.dataSetCount(), 0);
    EXPECT_EQ(mixed.utilityDataSet(), nullptr);
    EXPECT_EQ(mixed.currentDataSet(), nullptr);
    EXPECT_FALSE(mixed.run("SELECT 1", 1, true, -1, true));
    EXPECT_EQ(lastShown(), kOutOfRange);
    EXPECT_FALSE(mixed.tableExists("x"));
    EXPECT_EQ(mixed.count("x"), -1);
    EXPECT_FALSE(mixed.recreateDataSet(-1));
    mixed.createDataSets(-3);  // still the utility data set
    EXPECT_EQ(mixed.dataSetCount(), 1);
    EXPECT_TRUE(mixed.run("SELECT 1", 1, true, -1, true));
}

TEST_F(GatewayTest, AStatementPastTheCommandTimeOutFailsWithTheServersMessage) {
    connect("Command Timeout=1\r\n");
    EXPECT_EQ(gateway.queryObject(2)->commandTimeout(), 1);
    EXPECT_FALSE(gateway.run("SELECT SLEEP(3) AS s", 1, true, 2, true));
    EXPECT_NE(lastShown().find("max_statement_time"), std::string::npos) << lastShown();
    EXPECT_TRUE(gateway.run("SELECT 1", 1, true, 2, true));
}

TEST_F(GatewayTest, ALostConnectionIsShownAndTheGatewayCarriesOn) {
    connect();
    ASSERT_TRUE(gateway.run("SELECT CONNECTION_ID() AS Id", 1, true, 0, true));
    db.exec("KILL " + gateway.currentDataSet()->fieldByName("Id").asString());

    EXPECT_FALSE(gateway.run("SELECT 1", 1, true, 1, false));
    const std::string lost = lastShown();
    EXPECT_FALSE(lost.empty());
    EXPECT_NE(lost, "Connessione al database non attiva");
    EXPECT_FALSE(gateway.run("SELECT 1", 1, true, 1, true));
    EXPECT_EQ(lastShown(), "Connessione al database non attiva");

    // Connecting again brings it back.
    ASSERT_NO_THROW(gateway.connect(true));
    EXPECT_TRUE(gateway.run("SELECT 1", 1, true, 1, true));
}
