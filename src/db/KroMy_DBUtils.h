// KroMy_DBUtils is the database gateway over MySQL (MariaDB Connector/C): it
// owns the connection, its data sets (KroMy_Query) and the connection string.
// The program makes one, with five data sets plus the utility one, all
// queries:
//
//   KroMy_DBUtils db(box, 5, 0);
//
// connect(true) copies the connection string into the connection: server
// ("Data Source"), port (3306 when 0), database ("Initial Catalog"), user,
// password, connection time-out, and the command time-out of every data set;
// a failure throws std::runtime_error with the server's message, which never
// contains the password.
#pragma once

#include <memory>

#include "db/KroDBUtils.h"

class MySqlConnection;

class KroMy_DBUtils : public KroDBUtils {
public:
    static constexpr int kMySqlDatabase = 3;

    KroMy_DBUtils(ModalMessageBox& box, int n, uint32_t tableMask, Env* env = Env::Default());
    ~KroMy_DBUtils() override;

    bool loginPrompt() const override;
    void setLoginPrompt(bool prompt) override;
    std::string databaseName() const override;
    void setDatabaseName(const std::string& name) override;
    void connect(bool open) override;
    MySqlDataSet* queryObject(int index) const override;
    // The component is used, not owned, and put on the connection.
    void replaceQueryObject(int index, MySqlDataSet* component) override;
    bool inTransaction() const override;
    void createDataSets(int n) override;
    bool prepare(const std::string& sql, int mode, bool showErrors, int index,
                 bool transactional) override;
    bool execute(int index) override;
    bool startTransaction() override;
    bool commit() override;
    bool rollback() override;
    bool recreateDataSet(int index) override;
    std::string escapeLiteral(std::string_view value) const override;

    MySqlConnection& connection() { return *connection_; }
    bool connected() const override;

private:
    std::unique_ptr<KroQueryBase> makeDataSet(int index) const;
    int commandTimeout() const;
    // Shows the connection's failure when asked; false.
    bool connectionFailed(bool show);

    std::unique_ptr<MySqlConnection> connection_;
};
