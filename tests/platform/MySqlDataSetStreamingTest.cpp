// A data set that reads its rows from the server one at a time.
#include <gtest/gtest.h>

#include "platform/MySqlConnection.h"
#include "platform/MySqlQuery.h"
#include "platform/MySqlStream.h"
#include "support/TestConnection.h"
#include "support/TestDatabase.h"

namespace {

class StreamingTest : public testing::Test {
protected:
    void SetUp() override {
        useTestServer(connection, db.name());
        ASSERT_TRUE(connection.open()) << connection.lastError();
        db.exec("CREATE TABLE doc (Prg INT PRIMARY KEY, Serial VARCHAR(10))");
        db.exec("INSERT INTO doc VALUES (1, 'A'), (2, NULL), (3, ''), (4, 'D')");
        query.setStreaming(true);
    }

    TestDatabase db;
    MySqlConnection connection;
    MySqlQuery query{&connection};
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(StreamingTest, ReadsEveryRowInTurnCountingThemAsItGoes) {
    query.setSql("SELECT Prg, Serial FROM doc ORDER BY Prg");
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_EQ(query.recordCount(), 1);
    Texts seen;
    ASSERT_TRUE(query.first());
    while (!query.eof()) {
        const MySqlField& serial = query.fieldByName("Serial");
        seen.push_back(query.fieldByName("Prg").asString() + ":" +
                       (serial.isNull() ? std::string("NULL") : serial.asString()));
        EXPECT_EQ(query.recNo() + 1, query.recordCount());
        ASSERT_TRUE(query.next());
    }
    EXPECT_EQ(seen, (Texts{"1:A", "2:NULL", "3:", "4:D"}));
    EXPECT_EQ(query.recordCount(), 4);
    EXPECT_TRUE(query.next());  // past the end it stays there
    EXPECT_EQ(query.fieldByName("Prg").asInteger(), 4);

    // The connection is free again.
    EXPECT_TRUE(connection.run("UPDATE doc SET Serial='X' WHERE Prg=1"));
}

TEST_F(StreamingTest, AnEmptyResultIsAtItsEndAtOnce) {
    query.setSql("SELECT * FROM doc WHERE Prg > 10");
    ASSERT_TRUE(query.open());
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.recordCount(), 0);
    EXPECT_EQ(query.recNo(), -1);
    EXPECT_TRUE(query.fieldByName("Prg").isNull());
}

TEST_F(StreamingTest, MovesForwardOnlyAndIsNeverEdited) {
    query.setSql("SELECT * FROM doc ORDER BY Prg");
    ASSERT_TRUE(query.open());
    EXPECT_TRUE(query.first());  // still on the first row
    EXPECT_FALSE(query.edit());
    EXPECT_FALSE(query.lastError().empty());
    ASSERT_TRUE(query.next());
    EXPECT_FALSE(query.first());
    EXPECT_FALSE(query.prior());
    EXPECT_FALSE(query.last());
    EXPECT_EQ(query.fieldByName("Prg").asInteger(), 2);  // the cursor stayed
}

TEST_F(StreamingTest, AnotherStatementEndsTheReadingAndTheNextMoveSaysSo) {
    query.setSql("SELECT * FROM doc ORDER BY Prg");
    ASSERT_TRUE(query.open());
    MySqlQuery other(&connection);
    other.setSql("SELECT COUNT(*) AS N FROM doc");
    ASSERT_TRUE(other.open()) << other.lastError();
    EXPECT_EQ(other.fieldByName("N").asInteger(), 4);

    EXPECT_FALSE(query.next());
    EXPECT_TRUE(query.eof());
    EXPECT_EQ(query.lastError(), MySqlStream::kInterruptedText);
}

TEST_F(StreamingTest, ClosingMidWayFreesTheConnection) {
    query.setSql("SELECT * FROM doc ORDER BY Prg");
    ASSERT_TRUE(query.open());
    query.close();
    EXPECT_TRUE(connection.run("DELETE FROM doc WHERE Prg=4"));
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM doc"), "3");
    // Reading is set again with the next open.
    ASSERT_TRUE(query.open());
    EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(StreamingTest, FailuresAtOpenCarryTheServersMessage) {
    query.setSql("SELECT * FROM missing");
    EXPECT_FALSE(query.open());
    EXPECT_NE(query.lastError().find("missing"), std::string::npos);
    EXPECT_FALSE(query.active());
    query.setSql("UPDATE doc SET Serial='Y'");
    EXPECT_FALSE(query.open());
    EXPECT_EQ(query.lastError(), MySqlStream::kNoRowsText);
}

// A statement with parameters is read whole, as without streaming.
TEST_F(StreamingTest, AStatementWithParametersIsReadWhole) {
    query.setSql("SELECT * FROM doc WHERE Prg > :Prg ORDER BY Prg");
    query.setParam("Prg", "1");
    ASSERT_TRUE(query.open()) << query.lastError();
    EXPECT_EQ(query.recordCount(), 3);
    EXPECT_TRUE(query.last());
}

// The rows are large enough (20 MB) that most are still on the server when
// it lets go: the reading stops with the server's message and the connection
// is closed.
TEST_F(StreamingTest, AServerGoneMidWayFailsTheNextMove) {
    db.exec("CREATE TABLE big (Id INT PRIMARY KEY, Filler VARCHAR(4000))");
    db.exec("INSERT INTO big SELECT seq, REPEAT('x', 4000) FROM seq_1_to_5000");
    MySqlQuery id(&connection);
    id.setSql("SELECT CONNECTION_ID() AS Id");
    ASSERT_TRUE(id.open());
    const std::string connectionId = id.fieldByName("Id").asString();
    query.setSql("SELECT * FROM big ORDER BY Id");
    ASSERT_TRUE(query.open());
    for (int row = 0; row < 100; ++row) {
        ASSERT_TRUE(query.next());
    }
    db.exec("KILL " + connectionId);
    int more = 0;
    while (query.next() && !query.eof()) {
        ++more;
    }
    EXPECT_LT(more, 4899);
    EXPECT_TRUE(query.eof());
    EXPECT_FALSE(query.lastError().empty());
    EXPECT_NE(query.lastError(), MySqlStream::kInterruptedText);
    EXPECT_FALSE(connection.connected());
}
