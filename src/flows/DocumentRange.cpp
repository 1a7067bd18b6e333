#include "flows/DocumentRange.h"

#include "core/KroDate.h"
#include "db/KroDBUtils.h"
#include "db/KroTableCatalog.h"
#include "flows/FlowListener.h"

namespace {

constexpr const char* kSqlDatePattern = "AAAA-MM-GG";

std::string sqlDate(const KroDate& date) {
    KroDate copy(date);
    const char* text = copy.format(kSqlDatePattern);
    return text != nullptr ? text : std::string();
}

}  // namespace

DocumentRange::DocumentRange(std::string docTable, std::string typeCode, std::string from,
                             std::string to)
    : docTable_(std::move(docTable)),
      typeCode_(std::move(typeCode)),
      from_(std::move(from)),
      to_(std::move(to)) {}

DocumentRange::DocumentRange(std::string docTable, std::string typeCode, const KroDate& from,
                             const KroDate& to)
    : DocumentRange(std::move(docTable), std::move(typeCode), sqlDate(from), sqlDate(to)) {}

bool DocumentRange::check(KroDBUtils& dbUtils, FlowListener& listener) const {
    if (!dbUtils.checkIdentifier(docTable_)) {
        return false;
    }
    if (!isUsableTypeCode(typeCode_)) {
        listener.error("Codice tipo documento non ammesso in un'istruzione SQL: \"" + typeCode_ +
                       "\"");
        return false;
    }
    if (!isSqlDate(from_) || !isSqlDate(to_)) {
        listener.error("Data carico non valida: \"" + from_ + "\" - \"" + to_ + "\"");
        return false;
    }
    return true;
}

std::string DocumentRange::fill(const char* format, const KroDBUtils& dbUtils) const {
    return KroTableCatalog::fill(format, docTable_, quotedTypeCode(dbUtils), quotedFrom(dbUtils),
                                 quotedTo(dbUtils));
}

std::string DocumentRange::quotedTypeCode(const KroDBUtils& dbUtils) const {
    return dbUtils.escapeLiteral(typeCode_);
}

std::string DocumentRange::quotedFrom(const KroDBUtils& dbUtils) const {
    return dbUtils.escapeLiteral(from_);
}

std::string DocumentRange::quotedTo(const KroDBUtils& dbUtils) const {
    return dbUtils.escapeLiteral(to_);
}

bool DocumentRange::isSqlDate(const std::string& text) {
    if (text.size() != 10) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool separator = i == 4 || i == 7;
        if (separator ? text[i] != '-' : (text[i] < '0' || text[i] > '9')) {
            return false;
        }
    }
    return true;
}

bool DocumentRange::isUsableTypeCode(const std::string& code) {
    for (char c : code) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\'' || c == '\\') {
            return false;
        }
    }
    return true;
}
