#include "app/ProgramSettings.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "app/OutputView.h"
#include "core/Text.h"
#include "records/KroFile.h"

namespace {

constexpr std::string_view kCopyKey = "CPY=";
constexpr std::string_view kFolderKey = "PTH=";
constexpr size_t kKeyLength = 4;

bool sameKey(std::string_view line, std::string_view key) {
    if (line.size() < kKeyLength) {
        return false;
    }
    for (size_t i = 0; i < kKeyLength; ++i) {
        const auto a = static_cast<unsigned char>(line[i]);
        const auto b = static_cast<unsigned char>(key[i]);
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(a) != lower(b)) {
            return false;
        }
    }
    return true;
}

}  // namespace

ProgramSettings::ProgramSettings(OutputView& view, Env* env) : view_(view), env_(env) {}

int ProgramSettings::readNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool ProgramSettings::load(const std::string& path) {
    KroFile file(true, env_);
    file.setFileName(path);
    file.setRecordLength(kLineLength);
    file.setMode(KroFile::kReadOnly);
    try {
        file.openOrThrow(true);
    } catch (const std::runtime_error&) {
        return false;  // the page keeps its values
    }
    for (int length = file.readLine(0, true); length >= 0; length = file.readLine(0, true)) {
        applyLine(std::string_view(file.buffer(), static_cast<size_t>(length)));
    }
    file.openOrThrow(false);
    return true;
}

void ProgramSettings::applyLine(std::string_view line) {
    if (line.empty() || line.front() == ';' || line.front() == ' ') {
        return;  // a comment
    }
    const std::string_view value = line.size() > kKeyLength ? line.substr(kKeyLength) : "";
    for (const UpDownRange& upDown : kUpDowns) {
        if (sameKey(line, upDown.key)) {
            view_.setPosition(upDown.name,
                              std::clamp(readNumber(value), upDown.minimum, upDown.maximum));
            return;
        }
    }
    if (sameKey(line, kCopyKey)) {
        view_.setChecked("chkCopyPath", readNumber(value) != 0);
    } else if (sameKey(line, kFolderKey)) {
        view_.setText("tbCopyPath", text::toWide(value));
    }
}

bool ProgramSettings::save(const std::string& path) {
    KroFile file(true, env_);
    file.setFileName(path);
    file.setRecordLength(kLineLength);
    file.setMode(KroFile::kCreate);
    // A disk that fills up must not cost the settings stored before.
    file.setStagedWriting(true);
    try {
        file.openOrThrow(true);
    } catch (const std::runtime_error& error) {
        view_.show(text::toWide(error.what()), u"Errore",
                   ModalMessageBox::kIconError | ModalMessageBox::kOk);
        return false;
    }
    std::string lines[] = {
        std::string(kUpDowns[0].key) + std::to_string(view_.position(kUpDowns[0].name)),
        std::string(kUpDowns[1].key) + std::to_string(view_.position(kUpDowns[1].name)),
        std::string(kUpDowns[2].key) + std::to_string(view_.position(kUpDowns[2].name)),
        std::string(kCopyKey) + (view_.isChecked("chkCopyPath") ? "1" : "0"),
        std::string(kFolderKey) + text::toNarrow(view_.text("tbCopyPath")),
    };
    for (const std::string& line : lines) {
        // The buffer holds the record length: a longer line is cut to it.
        file.append(line, 0, true);
        file.writeLine(false);
    }
    file.openOrThrow(false);
    if (file.status().test(KroFile::kIoErrorBit)) {
        view_.show(text::toWide("Impossibile salvare le impostazioni in " + path), u"Errore",
                   ModalMessageBox::kIconError | ModalMessageBox::kOk);
        return false;
    }
    return true;
}
