#include "platform/MySqlTable.h"

void MySqlTable::setTableName(const std::string& name) {
    close();
    tableName_ = name;
}

std::string MySqlTable::statementText() const {
    if (!sql().empty() || tableName_.empty()) {
        return sql();
    }
    std::string quoted = "`";
    for (char c : tableName_) {
        quoted += c;
        if (c == '`') {
            quoted += '`';
        }
    }
    return "SELECT * FROM " + quoted + "`";
}
