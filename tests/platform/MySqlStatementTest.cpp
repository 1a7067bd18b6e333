#include "platform/MySqlStatement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ParameterCase {
    const char* sql;
    const char* text;
    std::vector<std::string> names;
};

}  // namespace

TEST(MySqlStatement, NamedParametersOutsideQuotesAndCommentsBecomeMarkers) {
    const ParameterCase cases[] = {
        {"SELECT * FROM d WHERE  Lotto_Pres=:Lotto_Pres AND Prg1 > 0",
         "SELECT * FROM d WHERE  Lotto_Pres=? AND Prg1 > 0",
         {"Lotto_Pres"}},
        {":a", "?", {"a"}},
        {"SELECT :a, :A, :a", "SELECT ?, ?, ?", {"a", "A", "a"}},
        {"SELECT ':x', \":y\", `:z`", "SELECT ':x', \":y\", `:z`", {}},
        {"SELECT 'it''s :a', :b", "SELECT 'it''s :a', ?", {"b"}},
        {"SELECT 'a\\':b', :c", "SELECT 'a\\':b', ?", {"c"}},
        {"SELECT @x:=1, 12:30", "SELECT @x:=1, 12:30", {}},
        {"SELECT a::b", "SELECT a::b", {}},
        {"SELECT 1 -- :a\n, :b", "SELECT 1 -- :a\n, ?", {"b"}},
        {"SELECT 1 --:a", "SELECT 1 --?", {"a"}},  // not a comment without a blank
        {"SELECT 1 # :a", "SELECT 1 # :a", {}},
        {"SELECT 1 /* :a */ + :b", "SELECT 1 /* :a */ + ?", {"b"}},
        {"SELECT ':a", "SELECT ':a", {}},  // unterminated quote
        {"SELECT 1 /* :a", "SELECT 1 /* :a", {}},
        {"SELECT :", "SELECT :", {}},
        {"SELECT :$x, :_y1$", "SELECT :$x, ?", {"_y1$"}},
    };
    for (const ParameterCase& c : cases) {
        const MySqlStatement statement(c.sql);
        EXPECT_EQ(statement.text(), c.text) << c.sql;
        EXPECT_EQ(statement.parameterNames(), c.names) << c.sql;
    }
}
