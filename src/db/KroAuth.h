// KroAuth is the operator check: only operators listed in the suite's user
// table "auth_users" may work with the vault. There is no password: the
// system log-on identifies the operator, the table authorises them.
//
//   KroAuth auth(&dbUtils, u"QuorvelNet", workMode.option(7));
//   if (!auth.isAuthorised()) refuse();
//
// The constructor reads the table's first column (the user identifiers, in
// UserID order) from "<schema>.auth_users", or from "auth_users" of the
// connection's own database when the schema is empty. With lowerCase the
// identifiers and the login name are lower-cased first; either way the
// comparison ignores letter case. A failing query is shown by the gateway
// and leaves the list empty, so everybody is refused; nothing throws.
#pragma once

#include <string>
#include <vector>

#include "platform/Env.h"

class KroDBUtils;

class KroAuth {
public:
    KroAuth(KroDBUtils* dbUtils, const std::u16string& schema, bool lowerCase,
            Env* env = Env::Default());

    // True when the login name of the user running the program is listed.
    bool isAuthorised() const;

    // The identifiers read.
    const std::vector<std::u16string>& users() const { return users_; }
    // The statement last built ("" when none was).
    const std::string& sql() const { return sql_; }

private:
    void loadUsers();

    bool lowerCase_;
    std::vector<std::u16string> users_;
    KroDBUtils* dbUtils_;
    std::u16string schema_;
    std::string sql_;
    Env* env_;
};
