#include "db/KroAuth.h"

#include <algorithm>

#include "core/Text.h"
#include "db/KroDBUtils.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "platform/MySqlDataSet.h"

namespace {

// The system refuses login names that do not fit its 510-character buffer
// with the terminator.
constexpr size_t kLongestLoginName = 509;

// Lower case for the characters of the suite's code page.
char16_t toLower(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<char16_t>(c + 0x20);
    }
    switch (c) {
        case 0x0152:  // OE
        case 0x0160:  // S caron
        case 0x017D:  // Z caron
            return static_cast<char16_t>(c + 1);
        case 0x0178:  // Y diaeresis
            return 0x00FF;
        default:
            return c;
    }
}

std::u16string lowerCase(std::u16string text) {
    std::transform(text.begin(), text.end(), text.begin(), toLower);
    return text;
}

}  // namespace

KroAuth::KroAuth(KroDBUtils* dbUtils, const std::u16string& schema, bool lowerCase, Env* env)
    : lowerCase_(lowerCase),
      dbUtils_(dbUtils),
      schema_(schema),
      env_(env != nullptr ? env : Env::Default()) {
    loadUsers();
}

void KroAuth::loadUsers() {
    if (dbUtils_ == nullptr || !dbUtils_->connected()) {
        return;
    }
    const std::string schema = text::toNarrow(schema_);
    if (schema.empty()) {
        sql_ = KroTableCatalog::fill(KroTableCatalog::kUsers, KroTableCatalog::kUsersTable);
    } else {
        if (!dbUtils_->checkIdentifier(schema)) {
            return;
        }
        sql_ = KroTableCatalog::fill(KroTableCatalog::kUsersOfSchema, schema,
                                     KroTableCatalog::kUsersTable);
    }
    if (!dbUtils_->runW(text::toWide(sql_), KroQueryBase::kOpen, true, -1, true)) {
        return;
    }
    users_.clear();
    if (dbUtils_->query(-1)->resultCount() < 1) {
        return;
    }
    MySqlDataSet* rows = dbUtils_->utilityDataSet();
    if (rows->fieldCount() == 0) {
        return;
    }
    for (rows->first(); !rows->eof(); rows->next()) {
        const std::u16string user = text::toWide(rows->field(0).asString());
        users_.push_back(lowerCase_ ? lowerCase(user) : user);
    }
}

bool KroAuth::isAuthorised() const {
    if (users_.empty()) {
        return false;
    }
    std::u16string login = env_->loginName();
    if (login.empty() || login.size() > kLongestLoginName) {
        return false;
    }
    if (lowerCase_) {
        login = lowerCase(login);
    }
    const std::u16string wanted = lowerCase(login);
    return std::any_of(users_.begin(), users_.end(),
                       [&](const std::u16string& user) { return lowerCase(user) == wanted; });
}
