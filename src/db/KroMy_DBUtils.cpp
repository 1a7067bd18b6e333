#include "db/KroMy_DBUtils.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>

#include "core/Text.h"
#include "db/KroCnnString.h"
#include "db/KroMy_Query.h"
#include "platform/MySqlConnection.h"
#include "platform/MySqlDataSet.h"

namespace {

constexpr int kStandardPort = 3306;
constexpr int kDefaultConnectionTimeout = 10;
constexpr int kDefaultCommandTimeout = 300;
// How much longer than the command time-out the client waits for an answer
// before it takes the server for gone.
constexpr int kReadTimeoutGrace = 30;

// A value of the connection string that is no number gives the default.
int seconds(const std::u16string& value, int fallback) {
    const std::string text = text::toNarrow(value);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool onlyBlanksAfter =
        std::all_of(end, text.data() + text.size(), [](char c) { return c == ' '; });
    return error == std::errc() && end != text.data() && onlyBlanksAfter && number >= 0 ? number
                                                                                        : fallback;
}

int clampToInt(int64_t count) {
    return static_cast<int>(std::min<int64_t>(count, std::numeric_limits<int>::max()));
}

}  // namespace

KroMy_DBUtils::KroMy_DBUtils(ModalMessageBox& box, int n, uint32_t tableMask, Env* env)
    : KroDBUtils(box, tableMask, env), connection_(std::make_unique<MySqlConnection>()) {
    databaseType_ = kMySqlDatabase;
    createDataSets(n);
}

KroMy_DBUtils::~KroMy_DBUtils() {
    freeDataSets();
}

bool KroMy_DBUtils::loginPrompt() const {
    return connection_->loginPrompt();
}

void KroMy_DBUtils::setLoginPrompt(bool prompt) {
    connection_->setLoginPrompt(prompt);
}

std::string KroMy_DBUtils::databaseName() const {
    return connection_->database();
}

void KroMy_DBUtils::setDatabaseName(const std::string& name) {
    if (!connection_->setDatabase(name)) {
        showError(connection_->lastError());
    }
}

void KroMy_DBUtils::connect(bool open) {
    if (status_.any() || (open && !cnnString_)) {
        if (open) {
            throw std::runtime_error("Stato della connessione alterato");
        }
        return;
    }
    connection_->close();
    connected_ = false;
    if (!open) {
        return;
    }
    const KroCnnString& cns = *cnnString_;
    const std::string server = text::toNarrow(cns.value(KroCnnString::kDataSource));
    const std::string database = text::toNarrow(cns.value(KroCnnString::kInitialCatalog));
    // Without them the connection would go to this machine, or to no
    // database: the connection string must name both.
    if (server.empty()) {
        throw std::runtime_error(errorText(kNoServerBit));
    }
    if (database.empty()) {
        throw std::runtime_error(errorText(kNoDatabaseBit));
    }
    connection_->setLoginPrompt(cns.loginPrompt());
    connection_->setDatabase(database);
    connection_->setUsername(text::toNarrow(cns.value(KroCnnString::kUserId)));
    connection_->setPassword(text::toNarrow(cns.value(KroCnnString::kPassword)));
    connection_->setServer(server);
    connection_->setPort(cns.port() != 0 ? cns.port() : kStandardPort);
    connection_->setConnectionTimeout(
        seconds(cns.value(KroCnnString::kConnectionTimeout), kDefaultConnectionTimeout));
    const int timeout = commandTimeout();
    for (const auto& dataSet : dataSets_) {
        dataSet->component()->setCommandTimeout(timeout);
    }
    connection_->setReadTimeout(timeout > 0 ? timeout + kReadTimeoutGrace : 0);
    if (!connection_->open()) {
        throw std::runtime_error(connection_->lastError());
    }
    connected_ = true;
}

bool KroMy_DBUtils::connected() const {
    // The connection closes itself when the server goes away.
    return KroDBUtils::connected() && connection_->connected();
}

MySqlDataSet* KroMy_DBUtils::queryObject(int index) const {
    const KroQueryBase* dataSet = dataSetAt(index);
    return dataSet != nullptr ? dataSet->component() : nullptr;
}

void KroMy_DBUtils::replaceQueryObject(int index, MySqlDataSet* component) {
    KroQueryBase* dataSet = dataSetAt(index);
    if (dataSet == nullptr || component == nullptr) {
        return;
    }
    dataSet->setComponent(component);
    component->setConnection(connection_.get());
    component->setCommandTimeout(commandTimeout());
}

bool KroMy_DBUtils::inTransaction() const {
    return connection_->inTransaction();
}

void KroMy_DBUtils::createDataSets(int n) {
    freeDataSets();
    for (int i = 0; i <= std::max(n, 0); ++i) {
        dataSets_.push_back(makeDataSet(i));
    }
}

bool KroMy_DBUtils::prepare(const std::string& sql, int mode, bool showErrors, int index,
                            bool transactional) {
    if (!KroDBUtils::prepare(sql, mode, showErrors, index, transactional)) {
        return false;
    }
    dataSetAt(index)->component()->setSql(sql_);
    return true;
}

bool KroMy_DBUtils::execute(int index) {
    KroQueryBase* dataSet = index >= -1 ? dataSetAt(index) : nullptr;
    if (dataSet == nullptr || dataSet->component() == nullptr) {
        showError("La query impostata non e' nell'intervallo ammesso");
        return false;
    }
    const bool show = dataSet->showErrors();
    if (dataSet->transactional()) {
        if (inTransaction() && !connection_->rollback()) {
            return connectionFailed(show);
        }
        if (!connection_->startTransaction()) {
            return connectionFailed(show);
        }
    }
    dataSet->setResultCount(-1);
    currentIndex_ = index;
    MySqlDataSet* component = dataSet->component();
    const bool opens = dataSet->mode() == KroQueryBase::kOpen;
    if (!(opens ? component->open() : component->execute())) {
        // The transaction, if any, stays open until the next transactional
        // statement rolls it back.
        if (show) {
            showError(component->lastError());
        }
        return false;
    }
    dataSet->setResultCount(opens ? component->recordCount()
                                  : clampToInt(component->rowsAffected()));
    if (dataSet->transactional() && inTransaction() && !connection_->commit()) {
        return connectionFailed(show);
    }
    return true;
}

bool KroMy_DBUtils::startTransaction() {
    return connection_->startTransaction();
}

bool KroMy_DBUtils::commit() {
    return connection_->commit();
}

bool KroMy_DBUtils::rollback() {
    return connection_->rollback();
}

bool KroMy_DBUtils::recreateDataSet(int index) {
    if (dataSetAt(index) == nullptr) {
        return false;
    }
    const int at = index == -1 ? utilityIndex() : index;
    dataSets_[static_cast<size_t>(at)]->component()->close();
    dataSets_[static_cast<size_t>(at)] = makeDataSet(at);
    return true;
}

std::string KroMy_DBUtils::escapeLiteral(std::string_view value) const {
    return connection_->escape(value);
}

std::unique_ptr<KroQueryBase> KroMy_DBUtils::makeDataSet(int index) const {
    auto dataSet = std::make_unique<KroMy_Query>(isTable(index), connection_.get());
    dataSet->component()->setCommandTimeout(commandTimeout());
    return dataSet;
}

int KroMy_DBUtils::commandTimeout() const {
    if (!cnnString_) {
        return kDefaultCommandTimeout;
    }
    return seconds(cnnString_->value(KroCnnString::kCommandTimeout), kDefaultCommandTimeout);
}

bool KroMy_DBUtils::connectionFailed(bool show) {
    if (show) {
        showError(connection_->lastError());
    }
    return false;
}
