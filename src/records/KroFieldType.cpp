#include "records/KroFieldType.h"

#include <string>

#include "core/SuiteText.h"

namespace {

// The names in code order; each fits a slot of 11 characters with its end.
constexpr const char* kNames[KroFieldType::kCount] = {
    "ftUnknown", "ftString",   "ftSmallint", "ftInteger",  "ftWord",
    "ftBoolean", "ftFloat",    "ftCurrency", "ftBCD",      "ftDate",
    "ftTime",    "ftDateTime", "ftBytes",    "ftVarBytes", "ftAutoInc",
};
constexpr std::size_t kSlotLength = 11;

// The name begins with the text (compared over the text's length; the end of
// the name compares unequal to any character).
bool nameBeginsWith(std::string_view name, std::string_view text) {
    return text.size() <= name.size() &&
           suitetext::sameIgnoringCase(name.substr(0, text.size()), text);
}

}  // namespace

KroFieldType::Code KroFieldType::parse(std::string_view text) {
    const int64_t number = suitetext::readDecimal(text);
    if (number >= 1 && number < kCount) {
        return static_cast<Code>(number);
    }
    std::string candidate(text);
    if (!suitetext::sameIgnoringCase(text.substr(0, 2), "ft")) {
        candidate.insert(0, "ft");
    }
    const std::string_view compared = std::string_view(candidate).substr(0, kSlotLength);
    for (int code = 0; code < kCount; ++code) {
        if (nameBeginsWith(kNames[code], compared)) {
            return static_cast<Code>(code);
        }
    }
    return ftUnknown;
}

const char* KroFieldType::name(int code) {
    return (code >= 0 && code < kCount) ? kNames[code] : kNames[ftUnknown];
}
