// The fixture's files must have the sizes the suite's programs give them;
// every environment test relies on it.
#include "support/SuiteTree.h"

#include <gtest/gtest.h>

TEST(SuiteTree, FilesHaveTheSuitesSizes) {
    SuiteTree suite;
    EXPECT_EQ(readBytes(suite.file(SuiteTree::kUserData, "DEFDATA.DAT")).size(), 1026u);
    EXPECT_EQ(readBytes(suite.witnessPath()).size(), 300u);
    EXPECT_EQ(readBytes(suite.workModePath()).size(), 1330u);
    suite.workMode.longForm = true;
    suite.writeWorkMode();
    EXPECT_EQ(readBytes(suite.workModePath()).size(), 3930u);
}

TEST(SuiteTree, RecordsCarryTheirValuesAtTheirOffsets) {
    SuiteTree suite;
    const std::string defData = readBytes(suite.file(SuiteTree::kUserData, "DEFDATA.DAT"));
    EXPECT_EQ(defData.substr(193, 6), "ABC 05");
    const std::string witness = readBytes(suite.witnessPath());
    EXPECT_EQ(witness.substr(0, 17), std::string("RUN S00000 310524"));
    EXPECT_EQ(witness.substr(23, 13), std::string("EFFETTI01_CA\0", 13));
    EXPECT_EQ(witness.substr(76, 6), "000042");
    const std::string archive = readBytes(suite.workModePath());
    EXPECT_EQ(archive.substr(266 * 2 + 11 * 16, 11), "AAMMGG     ");
    EXPECT_EQ(archive.substr(266 * 3 + 16 * 13, 6), "SORTER");
}
