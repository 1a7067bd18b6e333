#include "records/KroField.h"

#include "core/Text.h"

namespace {

constexpr char kQuote = '"';

}  // namespace

void KroField::setValue(std::u16string_view text) {
    setValue(text::toNarrow(text));
}

void KroField::setValue(std::string_view text) {
    const std::size_t room = length_ > 0 ? static_cast<std::size_t>(length_) : 0;
    value_.assign(text.substr(0, room));
}

const std::u16string& KroField::value() const {
    wideValue_ = text::toWide(value_);
    return wideValue_;
}

void KroField::setDescription(std::string_view text) {
    const std::size_t lastKept = text.find_last_not_of(kQuote);
    description_ =
        std::string(text.substr(0, lastKept == std::string_view::npos ? 0 : lastKept + 1));
}

void KroField::setAlias(std::string_view text) {
    alias_ = std::string(text.substr(0, text.find(' ')));
}

bool KroField::isConstant() const {
    return description_ && !description_->empty() && description_->front() == kQuote;
}

std::string_view KroField::constantText() const {
    return isConstant() ? std::string_view(*description_).substr(1) : std::string_view();
}
