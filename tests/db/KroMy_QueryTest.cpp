#include "db/KroMy_Query.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/MySqlDataSource.h"
#include "platform/MySqlQuery.h"
#include "platform/MySqlTable.h"

TEST(KroMy_Query, MakesAQueryOrATableAndAnswersForItsKind) {
    KroMy_Query query(false);
    ASSERT_NE(query.component(), nullptr);
    EXPECT_EQ(query.asQuery(), query.component());
    EXPECT_EQ(query.asTable(), nullptr);

    KroMy_Query table(true);
    EXPECT_EQ(table.asTable(), table.component());
    EXPECT_EQ(table.asQuery(), nullptr);
}

TEST(KroMy_Query, StartsWithTheStatementSettingsOfNoStatement) {
    KroMy_Query query(false);
    EXPECT_EQ(query.resultCount(), -1);
    EXPECT_EQ(query.mode(), KroQueryBase::kOpen);
    EXPECT_FALSE(query.transactional());
    EXPECT_FALSE(query.showErrors());
    EXPECT_EQ(query.tableName(), "");
    EXPECT_FALSE(query.flag());
    query.setFlag(true);
    EXPECT_TRUE(query.flag());
    query.setMode(5);
    EXPECT_EQ(query.mode(), KroQueryBase::kExecute);
    query.setMode(1);
    EXPECT_EQ(query.mode(), KroQueryBase::kOpen);
}

TEST(KroMy_Query, TheDataSourceIsMadeOnceOverTheComponent) {
    KroMy_Query query(false);
    MySqlDataSource* source = query.dataSource();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(query.dataSource(), source);
    EXPECT_EQ(source->dataSet(), query.component());
    EXPECT_TRUE(source->enabled());
}

TEST(KroMy_Query, AComponentHandedInIsUsedButNotOwned) {
    auto external = std::make_unique<MySqlTable>();
    {
        KroMy_Query query(false);
        MySqlDataSource* source = query.dataSource();
        query.setComponent(external.get());
        EXPECT_EQ(query.component(), external.get());
        EXPECT_EQ(query.asTable(), external.get());
        EXPECT_EQ(query.asQuery(), nullptr);
        EXPECT_EQ(source->dataSet(), external.get());  // the source follows
    }
    // Still alive and usable after the data set went.
    external->setTableName("Orvax");
    EXPECT_EQ(external->tableName(), "Orvax");
}
