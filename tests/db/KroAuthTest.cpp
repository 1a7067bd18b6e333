#include "db/KroAuth.h"

#include <gtest/gtest.h>

#include "GatewayFixture.h"
#include "support/TestEnv.h"

namespace {

class KroAuthTest : public GatewayTest {
protected:
    // auth_users of the test database with these identifiers.
    void makeUsers(const Texts& users) {
        db.exec("CREATE TABLE auth_users (UserID TEXT, Ruolo VARCHAR(10))");
        for (const std::string& user : users) {
            db.exec("INSERT INTO auth_users VALUES ('" + user + "', 'op')");
        }
    }

    bool authorised(const std::u16string& login, bool lowerCase,
                    const std::u16string& schema = u"") {
        env.login = login;
        return KroAuth(&gateway, schema, lowerCase, &env).isAuthorised();
    }

    TestEnv env;
};

std::vector<std::string> narrow(const std::vector<std::u16string>& texts) {
    std::vector<std::string> result;
    for (const std::u16string& text : texts) {
        result.push_back(text::toNarrow(text));
    }
    return result;
}

}  // namespace

TEST_F(KroAuthTest, ReadsTheOperatorsOfQuorvelNet) {
    TestDatabase quorvel("QuorvelNet");
    quorvel.exec("CREATE TABLE auth_users (UserID VARCHAR(64), Nome VARCHAR(40))");
    quorvel.exec("INSERT INTO auth_users VALUES ('rossi', 'Mario'), ('Bianchi', 'Anna')");
    connect();
    env.login = u"BIANCHI";
    KroAuth auth(&gateway, u"QuorvelNet", false, &env);
    EXPECT_EQ(auth.sql(), "SELECT * FROM QuorvelNet.auth_users ORDER BY UserID");
    EXPECT_EQ(narrow(auth.users()), (Texts{"Bianchi", "rossi"}));  // in UserID order
    EXPECT_TRUE(auth.isAuthorised());                              // letter case ignored
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(KroAuthTest, AnEmptySchemaReadsTheConnectionsOwnDatabase) {
    makeUsers({"Verdi"});
    connect();
    env.login = u"verdi";
    KroAuth auth(&gateway, u"", false, &env);
    EXPECT_EQ(auth.sql(), "SELECT * FROM auth_users ORDER BY UserID");
    EXPECT_TRUE(auth.isAuthorised());
    EXPECT_FALSE(authorised(u"neri", false));
}

TEST_F(KroAuthTest, TheLowerCaseOptionLowersTheListAndTheName) {
    const std::u16string accented = u"NICOL\u00D2.\u00C0LVARO";
    makeUsers({"NICOLÒ.ÀLVARO", "Zeta"});
    connect();
    env.login = u"nicol\u00F2.\u00E0lvaro";
    KroAuth lowered(&gateway, u"", true, &env);
    EXPECT_EQ(narrow(lowered.users()), (Texts{"nicolò.àlvaro", "zeta"}));
    EXPECT_TRUE(lowered.isAuthorised());
    EXPECT_TRUE(authorised(accented, true));
    EXPECT_TRUE(authorised(accented, false));
    EXPECT_FALSE(authorised(u"nicolo.alvaro", false));
}

TEST_F(KroAuthTest, EverybodyIsRefusedWhenTheListCannotBeRead) {
    connect();
    // No table: the gateway shows the server's message.
    EXPECT_FALSE(authorised(u"rossi", false));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(lastShown().find("auth_users' doesn't exist"), std::string::npos);

    // An empty table.
    makeUsers({});
    EXPECT_FALSE(authorised(u"rossi", false));

    // A schema name that is no identifier runs nothing.
    box.shown.clear();
    EXPECT_FALSE(authorised(u"rossi", false, u"x; DROP DATABASE y"));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(lastShown().rfind("Nome non ammesso", 0), 0u);

    // No gateway, or not connected: nothing is read, nothing shown.
    env.login = u"rossi";
    EXPECT_FALSE(KroAuth(nullptr, u"", false, &env).isAuthorised());
    gateway.connect(false);
    KroAuth unconnected(&gateway, u"", false, &env);
    EXPECT_TRUE(unconnected.users().empty());
    EXPECT_EQ(unconnected.sql(), "");
    EXPECT_EQ(box.shown.size(), 1u);
}

TEST_F(KroAuthTest, ALoginNameTheSystemCannotGiveIsRefused) {
    const std::string longest(509, 'u');
    const std::string tooLong(510, 'u');
    makeUsers({"rossi", longest, tooLong});
    connect();
    EXPECT_FALSE(authorised(u"", false));
    EXPECT_TRUE(authorised(text::toWide(longest), false));
    EXPECT_FALSE(authorised(text::toWide(tooLong), false));
}
