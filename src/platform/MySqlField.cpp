#include "platform/MySqlField.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/MySqlDataSet.h"

namespace {

bool parseDouble(const std::string& text, double& number) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && stop == end;
}

}  // namespace

MySqlField::MySqlField(MySqlDataSet* owner, int index, MySqlColumn column)
    : owner_(owner), index_(index), column_(std::move(column)) {}

bool MySqlField::isComputed() const {
    return column_.isExpression();
}

const MySqlValue* MySqlField::value() const {
    return index_ >= 0 ? owner_->currentValue(index_) : nullptr;
}

bool MySqlField::isNull() const {
    const MySqlValue* current = value();
    return current == nullptr || !current->has_value();
}

std::string MySqlField::asString() const {
    return isNull() ? std::string() : **value();
}

int64_t MySqlField::asInteger() const {
    const std::string text = asString();
    int64_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error == std::errc() && stop == end) {
        return number;
    }
    double real = 0;
    constexpr double kLimit = 9.2e18;  // within int64_t
    if (parseDouble(text, real) && std::isfinite(real) && std::fabs(real) < kLimit) {
        return std::llround(real);
    }
    return 0;
}

double MySqlField::asFloat() const {
    double number = 0;
    return parseDouble(asString(), number) ? number : 0.0;
}

bool MySqlField::setAsString(const std::string& value) {
    return set(value);
}

bool MySqlField::setAsInteger(int64_t value) {
    return set(std::to_string(value));
}

bool MySqlField::setAsFloat(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return set(std::string(text, result.ptr));
}

bool MySqlField::setNull() {
    return set(std::nullopt);
}

bool MySqlField::set(MySqlValue value) {
    if (index_ < 0) {
        return owner_->fail("Campo " + column_.name + " non presente nel risultato");
    }
    return owner_->setCurrentValue(index_, std::move(value));
}
