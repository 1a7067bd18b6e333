#include "db/KroDBUtils.h"

#include <algorithm>
#include <stdexcept>

#include "core/Text.h"
#include "db/KroCnnString.h"
#include "db/KroQueryBase.h"
#include "db/KroTableCatalog.h"
#include "db/TableLayoutFile.h"
#include "platform/ModalMessageBox.h"
#include "platform/MySqlDataSet.h"
#include "platform/MySqlDataSource.h"

namespace {

constexpr size_t kMaxIdentifierLength = 64;

void replaceFirst(std::string& text, std::string_view what, const std::string& with) {
    const size_t at = text.find(what);
    if (at != std::string::npos) {
        text.replace(at, what.size(), with);
    }
}

void replaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.replace(at, what.size(), with);
        at += with.size();
    }
}

}  // namespace

KroDBUtils::KroDBUtils(ModalMessageBox& box, uint32_t tableMask, Env* env)
    : box_(box), env_(env != nullptr ? env : Env::Default()), tableMask_(tableMask) {
    status_.set(kNoConnectionStringBit);
}

KroDBUtils::~KroDBUtils() = default;

const char* KroDBUtils::errorText(int bit) const {
    switch (bit) {
        case kNoDatabaseBit:
            return "Nessun Nome Database dichiarato";
        case kNoCatalogBit:
            return "Nessun Nome Catalogo (Alias) dichiarato";
        case kNoConnectionStringBit:
            return "Stringa di connessione mancante o non dichiarata";
        case kNoServerBit:
            return "Server non dichiarato o non raggiungibile";
        default:
            return "Errore non definito";
    }
}

MySqlDataSet* KroDBUtils::queryObject(int) const {
    return nullptr;
}

void KroDBUtils::replaceQueryObject(int, MySqlDataSet*) {}

KroQueryBase* KroDBUtils::query(int index) const {
    return dataSetAt(index);
}

MySqlDataSource* KroDBUtils::dataSource(int index) {
    if (index < 0 || index >= dataSetCount()) {
        throw std::runtime_error("Data set fuori dall'intervallo");
    }
    return dataSets_[static_cast<size_t>(index)]->dataSource();
}

MySqlDataSet* KroDBUtils::currentDataSet() const {
    const KroQueryBase* current = dataSetAt(currentIndex_);
    return current != nullptr ? current->component() : nullptr;
}

MySqlDataSet* KroDBUtils::utilityDataSet() const {
    const KroQueryBase* utility = dataSetAt(-1);
    return utility != nullptr ? utility->component() : nullptr;
}

void KroDBUtils::freeDataSets() {
    for (const auto& dataSet : dataSets_) {
        if (dataSet->component() != nullptr) {
            dataSet->component()->close();
        }
    }
    dataSets_.clear();
    currentIndex_ = -1;
}

bool KroDBUtils::prepare(const std::string& sql, int mode, bool showErrors, int index,
                         bool transactional) {
    KroQueryBase* dataSet = dataSetAt(index);
    sql_ = sql;
    if (index != -1 && dataSet != nullptr) {
        replaceAll(sql_, "%TABLE", dataSet->tableName());
    }
    currentIndex_ = dataSet != nullptr ? index : -1;
    if (dataSet == nullptr || dataSet->component() == nullptr) {
        return false;
    }
    dataSet->component()->close();
    dataSet->setMode(mode);
    dataSet->setTransactional(transactional);
    dataSet->setShowErrors(showErrors);
    dataSet->setResultCount(-1);
    return true;
}

bool KroDBUtils::run(const std::string& sql, int mode, bool showErrors, int index,
                     bool transactional) {
    prepare(sql, mode, showErrors, index, transactional);
    return execute(index);
}

bool KroDBUtils::runW(const std::u16string& sql, int mode, bool showErrors, int index,
                      bool transactional) {
    return run(text::toNarrow(sql), mode, showErrors, index, transactional);
}

bool KroDBUtils::openTable(const std::string& name, int index) {
    if (!checkIdentifier(name)) {
        return false;
    }
    return run(KroTableCatalog::fill(KroTableCatalog::kWholeTable, name), KroQueryBase::kOpen, true,
               index, true);
}

bool KroDBUtils::dropTable(const std::string& name) {
    if (!checkIdentifier(name)) {
        return false;
    }
    return run(KroTableCatalog::fill(KroTableCatalog::kDropTable, name), KroQueryBase::kExecute,
               true, -1, true);
}

int KroDBUtils::countIfExists(const std::string& name) {
    if (!tableExists(name)) {
        return -1;
    }
    return count(name) > 0 ? 1 : 0;
}

bool KroDBUtils::loadConnectionString(const std::string& path) {
    hasConnectionString_ = false;
    if (!cnnString_) {
        cnnString_ = std::make_unique<KroCnnString>(box_, env_);
    }
    if (!cnnString_->load(path)) {
        status_.set(kNoConnectionStringBit);
        return false;
    }
    status_.reset(kNoConnectionStringBit);
    hasConnectionString_ = true;
    return true;
}

bool KroDBUtils::loadConnectionStringW(const std::u16string& path) {
    return loadConnectionString(text::toNarrow(path));
}

void KroDBUtils::freeConnectionString() {
    cnnString_.reset();
    hasConnectionString_ = false;
}

bool KroDBUtils::tableExists(const std::string& name) {
    // The name stays a LIKE pattern; only the quotes are made safe.
    const bool ran = run(KroTableCatalog::fill(KroTableCatalog::kShowTables, escapeLiteral(name)),
                         KroQueryBase::kOpen, true, -1, true);
    const bool found = ran && dataSetAt(-1)->resultCount() > 0;
    closeUtilityDataSet();
    return found;
}

bool KroDBUtils::tableExistsW(const std::u16string& name) {
    return tableExists(text::toNarrow(name));
}

bool KroDBUtils::linkDetail(int detailIndex, int masterIndex, const std::string& sql) {
    const bool inRange = detailIndex >= 0 && detailIndex < dataSetCount() && masterIndex >= 0 &&
                         masterIndex < dataSetCount();
    if (!inRange) {
        return false;
    }
    KroQueryBase* detail = dataSetAt(detailIndex);
    KroQueryBase* master = dataSetAt(masterIndex);
    if (detail->component() == nullptr || master->component() == nullptr) {
        return false;
    }
    detail->component()->close();
    master->component()->close();
    prepare(sql, KroQueryBase::kOpen, true, detailIndex, true);
    MySqlDataSource* masterSource = master->dataSource();
    detail->component()->setMasterSource(masterSource);
    masterSource->setEnabled(false);
    // A master that cannot open would give the detail no parameters: it
    // would follow no row at all.
    if (!master->component()->open()) {
        if (master->showErrors()) {
            showError(master->component()->lastError());
        }
        return false;
    }
    if (execute(detailIndex)) {
        masterSource->setEnabled(true);
        return true;
    }
    if (detail->showErrors()) {
        showError("Errore in esecuzione della query di dettaglio");
    }
    return false;
}

int KroDBUtils::count(const std::string& name) {
    if (!checkIdentifier(name)) {
        return -1;
    }
    const bool ran = run(KroTableCatalog::fill(KroTableCatalog::kCountRows, name),
                         KroQueryBase::kOpen, true, -1, true);
    const int rows =
        ran ? static_cast<int>(utilityDataSet()->fieldByName("Counter").asInteger()) : -1;
    closeUtilityDataSet();
    return rows;
}

// The statements come from the layout file one at a time (TableLayoutFile);
// the first "%TABLE" of each becomes the table name.
bool KroDBUtils::createTableFromLayout(const std::string& name, const std::string& path) {
    if (!checkIdentifier(name)) {
        return false;
    }
    TableLayoutFile layout(name, env_);
    std::string error;
    if (!layout.open(path, &error)) {
        showError(error);
        return false;
    }
    // Only once the layout is at hand: a missing file must not cost the table.
    dropTable(name);
    bool result = false;
    for (std::string statement; layout.nextStatement(&statement);) {
        result = runLayoutStatement(statement, name);
        if (!result) {
            return false;
        }
    }
    return result;
}

bool KroDBUtils::createTableFromLayoutW(const std::u16string& name, const std::u16string& path) {
    return createTableFromLayout(text::toNarrow(name), text::toNarrow(path));
}

bool KroDBUtils::runLayoutStatement(std::string statement, const std::string& name) {
    replaceFirst(statement, "%TABLE", name);
    return run(statement, KroQueryBase::kExecute, true, -1, true);
}

bool KroDBUtils::isValidIdentifier(std::string_view name) {
    if (name.empty() || name.size() > kMaxIdentifierLength) {
        return false;
    }
    bool allDigits = true;
    for (char c : name) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!digit && !letter && c != '_' && c != '$') {
            return false;
        }
        allDigits = allDigits && digit;
    }
    return !allDigits;
}

bool KroDBUtils::checkIdentifier(std::string_view name) {
    if (isValidIdentifier(name)) {
        return true;
    }
    showError("Nome non ammesso in un'istruzione SQL: \"" + std::string(name) +
              "\"\r\nSono ammessi lettere, cifre, '_' e '$' (al massimo 64)");
    return false;
}

std::string KroDBUtils::escapeLiteral(std::string_view value) const {
    std::string escaped;
    for (char c : value) {
        if (c == '\'' || c == '\\') {
            escaped += '\\';
        } else if (c == '\0') {
            escaped += "\\0";
            continue;
        }
        escaped += c;
    }
    return escaped;
}

KroQueryBase* KroDBUtils::dataSetAt(int index) const {
    if (index == -1) {
        index = utilityIndex();
    }
    if (index < 0 || index >= dataSetCount()) {
        return nullptr;
    }
    return dataSets_[static_cast<size_t>(index)].get();
}

void KroDBUtils::closeUtilityDataSet() {
    if (MySqlDataSet* utility = utilityDataSet()) {
        utility->close();
    }
}

void KroDBUtils::showError(const std::string& text) const {
    box_.show(text::toWide(text), u"Errore!", ModalMessageBox::kIconError | ModalMessageBox::kOk);
}

bool KroDBUtils::isTable(int index) const {
    return index >= 0 && index < 32 && (tableMask_ >> index & 1u) != 0;
}
