#include "environment/KroModLav.h"

#include "core/SuiteText.h"
#include "records/KroFile.h"
#include "records/KroFileUtilities.h"

namespace {

constexpr int kLineCount = 6;  // five lines and the optional note
constexpr int kNoteLine = 5;
constexpr int kFlagCount = 8;
constexpr int kOptionCount = 32;
constexpr std::size_t kDescriptionOffset = 32;
constexpr std::size_t kDescriptionLength = 180;
constexpr std::size_t kNoteLength = 259;

// Where each field of lines 2 to 4 starts (stride) and how many of its
// characters count (width).
struct FieldLayout {
    std::size_t stride;
    std::size_t width;
};
constexpr FieldLayout kParamLayout{11, 10};
constexpr FieldLayout kNameLayout{16, 15};
constexpr FieldLayout kShortLongNameLayout{16, 15};
constexpr FieldLayout kLongLongNameLayout{49, 48};

// A field whose first character is a blank is empty, whatever follows.
std::string fieldText(std::string_view line, std::size_t index, FieldLayout layout) {
    const std::string_view field = suitetext::fieldAt(line, index * layout.stride, layout.width);
    if (field.empty() || field.front() == ' ') {
        return std::string();
    }
    return suitetext::withoutTrailingBlanks(field);
}

template <std::size_t N>
void takeFields(std::string_view line, FieldLayout layout, std::array<std::string, N>& fields) {
    for (std::size_t i = 0; i < N; ++i) {
        fields[i] = fieldText(line, i, layout);
    }
}

// Bit n set when position n of the text holds "1".
uint32_t flagsOf(std::string_view text, int count) {
    uint32_t flags = 0;
    for (int n = 0; n < count && static_cast<std::size_t>(n) < text.size(); ++n) {
        if (text[n] == '1') {
            flags |= 1u << n;
        }
    }
    return flags;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int32_t decimalValue(std::string_view text) {
    return static_cast<int32_t>(suitetext::readDecimal(text));
}

}  // namespace

KroModLav::KroModLav(const char* jobName, const std::string& parametersFolder, Env* env)
    : env_(env) {
    setName("Modo Lavoro");
    reset();
    load(jobName, parametersFolder);
}

const char* KroModLav::errorText(int bit) const {
    switch (bit) {
        case kCannotOpenBit:
            return "Impossibile accedere all'archivio del Modo Lavoro";
        case kEndsEarlyBit:
            return "L'archivio Modo Lavoro termina inopinatamente";
        case kWriteErrorBit:
            return "Errore durante la scrittura sull'Archivio del Modo Lavoro";
        case kNoJobBit:
            return "Nessuna lavorazione impostata";
        case kBadSizeBit:
            return "File Modo Lavoro di dimensione anomala";
        default:
            return "Manca la definizione dell'errore occorso";
    }
}

void KroModLav::reset() {
    status_.set(kNoJobBit);
    options_ = 0;
    optionWord_.clear();
    flagWord_ = 0;
    numbers_.fill(0);
    names_.fill(std::string());
    params_.fill(std::string());
    longNames_.fill(std::string());
    note_.clear();
    description_.clear();
}

void KroModLav::load(const char* jobName, const std::string& folder) {
    status_.clear();
    reset();
    if (jobName == nullptr || *jobName == '\0') {
        return;
    }
    const std::string job(jobName);
    // A job name is a file name in the folder, never a way out of it.
    if (job.find_first_of("/\\") != std::string::npos) {
        status_.set(kCannotOpenBit);
        return;
    }
    KroFile file(true, env_);
    if (!file.open(KroFileUtilities::inFolder(folder, job + ".LAV").c_str(), KroFile::kReadOnly)) {
        status_.set(kCannotOpenBit);
        return;
    }
    const int64_t size = file.fileSize();
    if (size != kShortSize && size != kLongSize) {
        status_.set(kBadSizeBit);
        return;
    }
    recordLength_ = size == kShortSize ? kShortLine : kLongLine;
    if (!file.setRecordLength(recordLength_)) {
        status_.set(kCannotOpenBit);
        return;
    }
    if (!readLines(file)) {
        reset();
        status_.set(kEndsEarlyBit);
        return;
    }
    status_.reset(kNoJobBit);
}

// False when the archive ends (an empty line or the end of the file) before
// line 4 has been read. The note, line 5, may be missing.
bool KroModLav::readLines(KroFile& file) {
    for (int line = 0; line < kLineCount; ++line) {
        const int length = file.readLine(0, true);
        if (length <= 0) {
            if (line < kNoteLine) {
                return false;
            }
            if (length == 0) {
                return true;
            }
            continue;
        }
        takeLine(line, std::string_view(file.buffer(), static_cast<std::size_t>(length)));
    }
    return true;
}

void KroModLav::takeLine(int line, std::string_view text) {
    switch (line) {
        case 0:
            takeFirstLine(text);
            break;
        case 1:
            takeOptionLine(text);
            break;
        case 2:
            takeFields(text, kParamLayout, params_);
            break;
        case 3:
            takeFields(text, kNameLayout, names_);
            break;
        case 4:
            takeFields(text,
                       recordLength_ == kLongLine ? kLongLongNameLayout : kShortLongNameLayout,
                       longNames_);
            break;
        default:
            note_ = suitetext::withoutTrailingBlanks(suitetext::fieldAt(text, 0, kNoteLength));
            break;
    }
}

void KroModLav::takeFirstLine(std::string_view text) {
    flagWord_ = flagsOf(text, kFlagCount);
    numbers_[0] = decimalValue(suitetext::fieldAt(text, 9, 3));
    numbers_[1] = decimalValue(suitetext::fieldAt(text, 13, 2));
    numbers_[2] = decimalValue(suitetext::fieldAt(text, 16, 3));
    const std::string_view fourth = suitetext::fieldAt(text, 20, 1);
    numbers_[3] = (!fourth.empty() && isDigit(fourth.front())) ? fourth.front() - '0' : 0;
}

void KroModLav::takeOptionLine(std::string_view text) {
    options_ = flagsOf(text, kOptionCount);
    optionWord_ = KroOptions(options_);
    description_ = suitetext::withoutTrailingBlanks(
        suitetext::fieldAt(text, kDescriptionOffset, kDescriptionLength));
}

const char* KroModLav::answer(const std::string& text) const {
    return (status_.any() || text.empty()) ? nullptr : text.c_str();
}

const char* KroModLav::param(int index) const {
    return (index >= 0 && index < kParamCount) ? answer(params_[index]) : nullptr;
}

const char* KroModLav::trackName(int index) const {
    return (index >= 0 && index < kNameCount) ? answer(names_[index]) : nullptr;
}

const char* KroModLav::longName(int index) const {
    return (index >= 0 && index < kNameCount) ? answer(longNames_[index]) : nullptr;
}

const char* KroModLav::description() const {
    return answer(description_);
}

const char* KroModLav::note() const {
    return answer(note_);
}

bool KroModLav::option(int bit) const {
    return !status_.any() && bit >= 0 && bit < kOptionCount && (options_ & (1u << bit)) != 0;
}

int32_t KroModLav::number(int index) const {
    return (index >= 0 && index < kNumberCount) ? numbers_[index] : 0;
}
