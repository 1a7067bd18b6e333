#include "db/TableLayoutFile.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace {

constexpr int kLineLength = 256;

bool isSkipped(std::string_view line) {
    return line.empty() || line.front() == ' ' || line.front() == ';' || line.starts_with("[T");
}

}  // namespace

TableLayoutFile::TableLayoutFile(const std::string& tableName, Env* env)
    : file_(false, env), statement_("CREATE TABLE " + tableName + "(") {
    file_.setRecordLength(kLineLength);
    file_.setMode(KroFile::kReadOnly);
}

bool TableLayoutFile::open(const std::string& path, std::string* error) {
    file_.setFileName(path);
    try {
        file_.openOrThrow(true);
    } catch (const std::runtime_error& failure) {
        *error = failure.what();
        return false;
    }
    return true;
}

bool TableLayoutFile::nextStatement(std::string* statement) {
    if (ended_) {
        return false;
    }
    for (int length = file_.readLine(0, true); length >= 0; length = file_.readLine(0, true)) {
        const std::string_view line(file_.buffer(), static_cast<std::size_t>(length));
        if (isSkipped(line)) {
            continue;
        }
        if (line.starts_with("[I")) {
            if (columnListOpen_) {
                statement_ += ")";
                columnListOpen_ = false;
            }
            *statement = std::move(statement_);
            statement_.clear();
            return true;
        }
        statement_ += " ";
        statement_ += line.substr(0, std::min(line.find(';'), line.size()));
    }
    ended_ = true;
    file_.close();
    if (columnListOpen_) {
        statement_ += ")";
    }
    if (statement_.empty()) {
        return false;
    }
    *statement = std::move(statement_);
    return true;
}
