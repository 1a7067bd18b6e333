// A gateway of the program's shape (five data sets and the utility one, all
// queries) on a fresh database of the test server, with the message box
// that records what the operator would see.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/Text.h"
#include "db/KroMy_DBUtils.h"
#include "db/KroQueryBase.h"
#include "platform/MySqlDataSet.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

class GatewayTest : public testing::Test {
protected:
    // Loads a connection string naming the test database (plus the extra
    // entries given) and connects.
    void connect(const std::string& extraEntries = "") {
        ASSERT_TRUE(gateway.loadConnectionString(
            dir.write("VAULT.CNS", db.connectionString() + extraEntries)));
        ASSERT_NO_THROW(gateway.connect(true));
        ASSERT_TRUE(gateway.connected());
    }

    // The texts of the boxes shown, in the suite's code page.
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : box.shown) {
            texts.push_back(text::toNarrow(message.text));
        }
        return texts;
    }

    std::string lastShown() const {
        return box.shown.empty() ? std::string() : text::toNarrow(box.shown.back().text);
    }

    // The values of the named field over the rows of a data set.
    static std::vector<std::string> walk(MySqlDataSet* dataSet, const char* field) {
        std::vector<std::string> values;
        for (dataSet->first(); !dataSet->eof(); dataSet->next()) {
            values.push_back(dataSet->fieldByName(field).asString());
        }
        return values;
    }

    TestDatabase db;
    TempDir dir;
    RecordingMessageBox box;
    KroMy_DBUtils gateway{box, 5, 0};
};

using Texts = std::vector<std::string>;
