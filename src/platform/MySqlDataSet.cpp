#include "platform/MySqlDataSet.h"

#include <strings.h>

#include <algorithm>

#include "platform/MySqlConnection.h"
#include "platform/MySqlDataSource.h"
#include "platform/MySqlStatement.h"
#include "platform/MySqlStream.h"

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

MySqlDataSet::MySqlDataSet(MySqlConnection* connection) : connection_(connection) {}

MySqlDataSet::~MySqlDataSet() {
    setMasterSource(nullptr);
    for (MySqlDataSource* source : sources_) {
        source->dataSet_ = nullptr;
    }
}

void MySqlDataSet::setConnection(MySqlConnection* connection) {
    close();
    connection_ = connection;
}

void MySqlDataSet::setSql(const std::string& sql) {
    close();
    sql_ = sql;
    params_.clear();
}

void MySqlDataSet::setParam(const std::string& name, MySqlValue value) {
    for (auto& [known, current] : params_) {
        if (sameName(known, name)) {
            current = std::move(value);
            return;
        }
    }
    params_.emplace_back(name, std::move(value));
}

void MySqlDataSet::setMasterSource(MySqlDataSource* source) {
    if (master_ == source) {
        return;
    }
    if (master_ != nullptr) {
        std::erase(master_->details_, this);
    }
    master_ = source;
    if (master_ != nullptr) {
        master_->details_.push_back(this);
    }
}

void MySqlDataSet::setStreaming(bool streaming) {
    close();
    streaming_ = streaming;
}

bool MySqlDataSet::open() {
    drop();
    if (streaming_ && MySqlStatement(statementText()).parameterNames().empty()) {
        return openStream();
    }
    MySqlResult result;
    if (!run(result)) {
        rowChanged();
        return false;
    }
    if (!result.hasRows) {
        rowChanged();
        return fail("L'istruzione non restituisce righe");
    }
    takeColumns(std::move(result.columns));
    rows_ = std::move(result.rows);
    active_ = true;
    row_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    bof_ = true;
    rowChanged();
    return true;
}

bool MySqlDataSet::openStream() {
    lastError_.clear();
    const bool ready = connection_ != nullptr && connection_->connected();
    if (!ready || !connection_->limitStatementTime(commandTimeout_)) {
        rowChanged();
        return fail(ready ? connection_->lastError() : "Connessione al database non attiva");
    }
    auto stream = std::make_unique<MySqlStream>();
    if (!stream->open(*connection_, statementText())) {
        rowChanged();
        return fail(stream->lastError());
    }
    MySqlRow first;
    if (!stream->next(first) && stream->failed()) {
        rowChanged();
        return fail(stream->lastError());
    }
    takeColumns(stream->columns());
    boundValues_.clear();
    if (stream->rowsRead() > 0) {
        rows_.push_back(std::move(first));
    }
    stream_ = std::move(stream);
    active_ = true;
    row_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
    bof_ = true;
    rowChanged();
    return true;
}

void MySqlDataSet::takeColumns(std::vector<MySqlColumn> columns) {
    columns_ = std::move(columns);
    fields_.clear();
    missing_.clear();
    for (size_t i = 0; i < columns_.size(); ++i) {
        fields_.push_back(std::make_unique<MySqlField>(this, static_cast<int>(i), columns_[i]));
    }
    writer_.reset();
}

void MySqlDataSet::close() {
    const bool wasActive = active_;
    drop();
    if (wasActive) {
        rowChanged();
    }
}

void MySqlDataSet::drop() {
    cancel();
    stream_.reset();
    active_ = false;
    rows_.clear();
    row_ = -1;
    eof_ = bof_ = true;
}

bool MySqlDataSet::execute() {
    close();
    MySqlResult result;
    if (!run(result)) {
        return false;
    }
    rowsAffected_ = result.rowsAffected;
    return true;
}

bool MySqlDataSet::run(MySqlResult& result) {
    lastError_.clear();
    if (connection_ == nullptr || !connection_->connected()) {
        return fail("Connessione al database non attiva");
    }
    const MySqlStatement statement(statementText());
    const std::vector<MySqlValue> values = parameterValues(statement);
    if (!connection_->limitStatementTime(commandTimeout_) ||
        !statement.run(*connection_, values, result)) {
        return fail(connection_->lastError());
    }
    boundValues_ = values;
    return true;
}

std::vector<MySqlValue> MySqlDataSet::parameterValues(const MySqlStatement& statement) const {
    MySqlDataSet* master = master_ != nullptr ? master_->dataSet() : nullptr;
    std::vector<MySqlValue> values;
    for (const std::string& name : statement.parameterNames()) {
        if (MySqlField* field = master != nullptr ? master->findField(name) : nullptr) {
            values.push_back(field->isNull() ? MySqlValue() : MySqlValue(field->asString()));
            continue;
        }
        const auto given = std::find_if(params_.begin(), params_.end(), [&](const auto& param) {
            return sameName(param.first, name);
        });
        values.push_back(given != params_.end() ? given->second : MySqlValue());
    }
    return values;
}

int MySqlDataSet::recordCount() const {
    if (!active_) {
        return 0;
    }
    return static_cast<int>(stream_ ? stream_->rowsRead() : static_cast<int64_t>(rows_.size()));
}

int MySqlDataSet::recNo() const {
    if (!active_ || rows_.empty()) {
        return -1;
    }
    return stream_ ? static_cast<int>(stream_->rowsRead() - 1) : row_;
}

bool MySqlDataSet::first() {
    if (stream_ && stream_->rowsRead() > 1) {
        return refuseWhileStreaming();
    }
    if (!postIfEditing()) {
        return false;
    }
    moveTo(0, rows_.empty(), true);
    return true;
}

bool MySqlDataSet::next() {
    if (stream_) {
        return nextStreamed();
    }
    if (!postIfEditing()) {
        return false;
    }
    if (row_ + 1 < static_cast<int>(rows_.size())) {
        moveTo(row_ + 1, false, false);
    } else {
        eof_ = true;
    }
    return true;
}

bool MySqlDataSet::prior() {
    if (stream_) {
        return refuseWhileStreaming();
    }
    if (!postIfEditing()) {
        return false;
    }
    if (row_ > 0) {
        moveTo(row_ - 1, false, false);
    } else {
        bof_ = true;
    }
    return true;
}

bool MySqlDataSet::last() {
    if (stream_) {
        return refuseWhileStreaming();
    }
    if (!postIfEditing()) {
        return false;
    }
    moveTo(static_cast<int>(rows_.size()) - 1, true, rows_.empty());
    return true;
}

bool MySqlDataSet::nextStreamed() {
    if (eof_) {
        return true;
    }
    MySqlRow row;
    if (stream_->next(row)) {
        rows_.front().swap(row);
        bof_ = false;
        rowChanged();
        return true;
    }
    eof_ = true;
    return stream_->failed() ? fail(stream_->lastError()) : true;
}

bool MySqlDataSet::refuseWhileStreaming() {
    return fail("Le righe lette una alla volta si percorrono solo in avanti e non si modificano");
}

void MySqlDataSet::moveTo(int row, bool atEof, bool atBof) {
    if (!active_) {
        return;
    }
    const int before = row_;
    row_ = rows_.empty() ? -1 : row;
    eof_ = atEof;
    bof_ = atBof;
    if (row_ != before) {
        rowChanged();
    }
}

MySqlField* MySqlDataSet::findField(std::string_view name) {
    for (const auto& field : fields_) {
        if (sameName(field->fieldName(), name)) {
            return field.get();
        }
    }
    return nullptr;
}

MySqlField& MySqlDataSet::fieldByName(std::string_view name) {
    if (MySqlField* field = findField(name)) {
        return *field;
    }
    for (const auto& standIn : missing_) {
        if (sameName(standIn->fieldName(), name)) {
            return *standIn;
        }
    }
    MySqlColumn column;
    column.name = std::string(name);
    missing_.push_back(std::make_unique<MySqlField>(this, -1, column));
    return *missing_.back();
}

bool MySqlDataSet::edit() {
    if (editing_) {
        return true;
    }
    if (stream_) {
        return refuseWhileStreaming();
    }
    if (recNo() < 0) {
        return fail("Nessuna riga da modificare");
    }
    original_ = rows_[static_cast<size_t>(row_)];
    changed_.assign(columns_.size(), false);
    editing_ = true;
    return true;
}

bool MySqlDataSet::post() {
    if (!editing_) {
        return fail("Nessuna modifica in corso");
    }
    if (connection_ == nullptr || !connection_->connected()) {
        return fail("Connessione al database non attiva");
    }
    std::string error;
    if (!connection_->limitStatementTime(commandTimeout_)) {
        return fail(connection_->lastError());
    }
    if (!writer_.write(*connection_, columns_, original_, rows_[static_cast<size_t>(row_)],
                       changed_, error)) {
        return fail(error);
    }
    editing_ = false;
    rowChanged();
    return true;
}

void MySqlDataSet::cancel() {
    if (!editing_) {
        return;
    }
    rows_[static_cast<size_t>(row_)] = original_;
    editing_ = false;
}

bool MySqlDataSet::postIfEditing() {
    return !editing_ || post();
}

const MySqlValue* MySqlDataSet::currentValue(int column) const {
    if (recNo() < 0 || column < 0 || static_cast<size_t>(column) >= columns_.size()) {
        return nullptr;
    }
    return &rows_[static_cast<size_t>(row_)][static_cast<size_t>(column)];
}

bool MySqlDataSet::setCurrentValue(int column, MySqlValue value) {
    if (!editing_) {
        return fail("Il data set non è in modifica");
    }
    rows_[static_cast<size_t>(row_)][static_cast<size_t>(column)] = std::move(value);
    changed_[static_cast<size_t>(column)] = true;
    return true;
}

void MySqlDataSet::rowChanged() {
    const std::vector<MySqlDataSource*> sources = sources_;
    for (MySqlDataSource* source : sources) {
        source->rowChanged();
    }
}

void MySqlDataSet::masterMoved() {
    // A detail runs again only for other master values; a cycle of masters
    // stops here.
    if (!active_ || refreshing_ || master_ == nullptr) {
        return;
    }
    const MySqlStatement statement(statementText());
    if (parameterValues(statement) == boundValues_) {
        return;
    }
    refreshing_ = true;
    open();
    refreshing_ = false;
}

bool MySqlDataSet::fail(const std::string& message) {
    lastError_ = message;
    return false;
}
