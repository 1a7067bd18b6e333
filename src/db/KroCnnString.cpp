#include "db/KroCnnString.h"

#include <strings.h>

#include <charconv>
#include <stdexcept>

#include "core/Text.h"
#include "platform/ModalMessageBox.h"
#include "records/KroFile.h"

namespace {

constexpr const char* kKeys[KroCnnString::kKeyCount] = {
    "Provider",        "Password",        "Persist Security Info",
    "User ID",         "Initial Catalog", "Data Source",
    "Driver",          "Option",          "Connection Timeout",
    "Command Timeout", "Db Type",         "Port",
};

// Lines of at most 100 + 2 characters.
constexpr int kLineLength = 100;

// The index of the key the entry begins with, -1 when none.
int keyOf(std::string_view entry) {
    for (int index = 0; index < KroCnnString::kKeyCount; ++index) {
        const std::string_view key = kKeys[index];
        const size_t length = std::min(key.size(), entry.size());
        if (strncasecmp(entry.data(), key.data(), length) == 0) {
            return index;
        }
    }
    return -1;
}

// Digits, then blanks at most (values keep their trailing blanks).
int decimalValue(const std::u16string& value) {
    const std::string text = text::toNarrow(value);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end == text.data()) {
        return 0;
    }
    for (const char* rest = end; rest != text.data() + text.size(); ++rest) {
        if (*rest != ' ') {
            return 0;
        }
    }
    return number;
}

}  // namespace

KroCnnString::KroCnnString(ModalMessageBox& box, Env* env)
    : box_(box), env_(env != nullptr ? env : Env::Default()) {}

bool KroCnnString::load(const std::string& path) {
    isLoaded_ = false;
    KroFile file(false, env_);
    file.setRecordLength(kLineLength);
    file.setMode(KroFile::kReadOnly);
    file.setFileName(path);
    try {
        file.openOrThrow(true);
    } catch (const std::runtime_error& error) {
        box_.show(text::toWide(error.what()), u"Errore!",
                  ModalMessageBox::kIconError | ModalMessageBox::kOk);
        return false;
    }
    // A value the file no longer gives must not survive from an earlier load.
    values_.fill(std::u16string());
    for (int length = file.readLine(0, true); length >= 0; length = file.readLine(0, true)) {
        std::string_view line(file.buffer(), static_cast<size_t>(length));
        while (!line.empty()) {
            const size_t end = std::min(line.find(';'), line.size());
            if (end > 0) {
                readEntry(line.substr(0, end));
            }
            line.remove_prefix(std::min(end + 1, line.size()));
        }
    }
    file.close();
    if (values_[kCommandTimeout].empty()) {
        values_[kCommandTimeout] = u"300";
    }
    if (values_[kConnectionTimeout].empty()) {
        values_[kConnectionTimeout] = u"10";
    }
    port_ = decimalValue(values_[kPort]);
    isLoaded_ = true;
    return true;
}

bool KroCnnString::loadW(const std::u16string& path) {
    return load(text::toNarrow(path));
}

void KroCnnString::readEntry(std::string_view entry) {
    const int index = keyOf(entry);
    if (index < 0) {
        return;
    }
    // The key, one separator character, then blanks.
    const size_t skipped = std::string_view(kKeys[index]).size() + 1;
    std::string_view value = entry.size() > skipped ? entry.substr(skipped) : std::string_view();
    while (!value.empty() && value.front() == ' ') {
        value.remove_prefix(1);
    }
    values_[static_cast<size_t>(index)] = text::toWide(value);
}

const std::u16string& KroCnnString::value(int index) const {
    static const std::u16string none;
    return index >= 0 && index < kKeyCount ? values_[static_cast<size_t>(index)] : none;
}

const char* KroCnnString::keyName(int index) {
    return index >= 0 && index < kKeyCount ? kKeys[index] : nullptr;
}
