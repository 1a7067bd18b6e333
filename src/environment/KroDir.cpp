#include "environment/KroDir.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"
#include "records/KroFile.h"
#include "records/KroFileUtilities.h"

namespace {

constexpr char kSeparator = KroFileUtilities::kNativeSeparator;
const char* const kPathsFileNames[] = {"PERCORSI.PAT", "PERCORSI"};

// The suite's texts are C texts: a byte 0 ends them.
std::string_view upToFirstZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiUpper(x) == asciiUpper(y);
           });
}

// An absolute path in one of the accepted forms, free of wildcard and
// redirection characters.
bool hasValidForm(std::string_view path) {
    if (path.empty() || path.find_first_of("*?|<>") != std::string_view::npos) {
        return false;
    }
#ifndef _WIN32
    if (path.front() == '/') {
        return true;
    }
#endif
    if (isAsciiLetter(path.front())) {
        return path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
               path.find(':', 2) == std::string_view::npos;
    }
    return path.starts_with("\\\\");
}

}  // namespace

KroDir::KroDir(std::string_view source, std::string_view subfolder, Env* env) : env_(env) {
    for (int bit = 0; bit <= kAuxiliary; ++bit) {
        status_.set(bit);
    }
    setName("KroDir");
    if (!source.empty() && subfolder.empty()) {
        slots_[kHome] = source;
    } else if (!source.empty()) {
        slots_[kHome] = std::string(source) + kSeparator + std::string(subfolder);
    } else {
        slots_[kHome] = env_->currentDirectory();
    }
    KroDir::reload(false);
}

const char* KroDir::errorText(int bit) const {
    switch (bit) {
        case kParameters:
            return "Dir dei parametri non definita";
        case kWork:
            return "Dir di lavoro non definita";
        case kQueries:
            return "Dir delle query non definita";
        case kAuxiliary:
            return "Dir ausiliaria non definita";
        case kPatterns:
            return "Dir dei pattern non definita";
        case kNoPathsFileBit:
            return "Manca il file Percorsi";
        default:
            return "Errore non definito ";
    }
}

bool KroDir::slotIsDefined(int index) const {
    return index >= 0 && index < kFolderSlots && !status_.test(index);
}

std::optional<std::string> KroDir::directory(int index, bool full) const {
    if (!slotIsDefined(index)) {
        return std::nullopt;
    }
    const std::string& path = slots_[index];
    if (full || path.starts_with('/')) {
        return path;
    }
    const std::size_t colon = path.find(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    return path.substr(colon + 1);
}

std::optional<std::u16string> KroDir::directoryW(int index, bool full) const {
    const std::optional<std::string> path = directory(index, full);
    if (!path) {
        return std::nullopt;
    }
    return text::toWide(*path);
}

bool KroDir::setDirectory(int index, std::string_view path) {
    if (index < 0 || index >= kFolderSlots) {
        return false;
    }
    path = upToFirstZero(path);
    if (path.size() <= kMaxPath && isValidPath(path, true)) {
        slots_[index] = path;
        status_.reset(index);
    } else {
        status_.set(index);
    }
    recomputeNoPathsFileBit();
    return true;
}

bool KroDir::setDirectoryW(int index, std::u16string_view path) {
    return setDirectory(index, text::toNarrow(path));
}

int KroDir::reload(bool save) {
    return save ? savePathsFile() : loadPathsFile();
}

bool KroDir::isValidPath(std::string_view path, bool mustExist) {
    path = upToFirstZero(path);
    if (!hasValidForm(path)) {
        return false;
    }
    if (mustExist) {
        if (!env_->fileExists(std::string(path))) {
            status_.set(kMissingPathBit);
            return false;
        }
        status_.reset(kMissingPathBit);
    }
    return true;
}

int KroDir::rootLength(std::string_view path) {
    path = upToFirstZero(path);
    if (path.starts_with('/')) {
        return 1;
    }
    if (path.size() < 2) {
        return -1;
    }
    if (path[1] == ':') {
        return 2;
    }
    if (path[1] != '\\') {
        return -1;
    }
    if (!path.starts_with("\\\\")) {
        return 0;
    }
    // \\HOST\SHARE: the root ends at the fourth backslash, or with the text.
    int backslashes = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' && ++backslashes == 4) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(path.size());
}

std::optional<std::string> KroDir::rootOf(int index) {
    if (index != kHome && !slotIsDefined(index)) {
        return std::nullopt;
    }
    const int length = rootLength(slots_[index]);
    if (length < 0) {
        return std::nullopt;
    }
    slots_[kScratch] = slots_[index].substr(0, static_cast<std::size_t>(length));
    return slots_[kScratch];
}

std::optional<std::string> KroDir::pathAfterRoot(int index) const {
    if (index != kHome && !slotIsDefined(index)) {
        return std::nullopt;
    }
    const int length = rootLength(slots_[index]);
    if (length <= 0) {
        return std::nullopt;
    }
    return slots_[index].substr(static_cast<std::size_t>(length));
}

const std::string& KroDir::slotText(int index) const {
    static const std::string kNone;
    return (index >= 0 && index < static_cast<int>(slots_.size())) ? slots_[index] : kNone;
}

std::string KroDir::findFile(Env* env, std::string_view folder, std::string_view name) {
    if (folder.empty() || name.empty()) {
        return std::string();
    }
    const std::optional<std::string> exact = KroFileUtilities::makePath("", "", name, folder);
    if (!exact) {
        return std::string();
    }
    if (env->fileExists(*exact)) {
        return *exact;
    }
    std::vector<std::string> matches;
    for (const std::string& entry : env->listDirectory(std::string(folder))) {
        if (equalsIgnoringCase(entry, name)) {
            matches.push_back(entry);
        }
    }
    if (matches.empty()) {
        return std::string();
    }
    // Several spellings can live side by side on POSIX: take one the same
    // way every time.
    std::sort(matches.begin(), matches.end());
    return KroFileUtilities::makePath("", "", matches.front(), folder).value_or(std::string());
}

int KroDir::loadPathsFile() {
    KroFile file(false, env_);
    file.setRecordLength(kPathsRecordLength);
    bool opened = false;
    for (const char* name : kPathsFileNames) {
        const std::string path = findFile(env_, slots_[kHome], name);
        // A directory would open for reading on POSIX and read as an empty file.
        if (!path.empty() && env_->fileSize(path) >= 0 &&
            file.open(path.c_str(), KroFile::kReadOnly)) {
            opened = true;
            break;
        }
    }
    if (!opened) {
        status_.set(kNoPathsFileBit);
        return 0;
    }
    bool ended = false;
    for (int slot = 0; slot < kFolderSlots; ++slot) {
        // The end of the file (or a Ctrl-Z) ends reading: every slot left
        // reads an empty path and so becomes undefined. An empty line leaves
        // its slot alone.
        const int length = ended ? -1 : file.readLine(0, true);
        ended = length < 0;
        if (length > 0) {
            setDirectory(slot, std::string_view(file.buffer(), static_cast<std::size_t>(length)));
        } else if (length < 0) {
            setDirectory(slot, std::string_view());
        }
    }
    file.close();
    recomputeNoPathsFileBit();
    return 1;
}

int KroDir::savePathsFile() {
    std::string path = findFile(env_, slots_[kHome], kPathsFileNames[0]);
    if (path.empty()) {
        path = KroFileUtilities::makePath("", "", kPathsFileNames[0], slots_[kHome])
                   .value_or(std::string());
    }
    KroFile file(true, env_);
    file.setRecordLength(kPathsRecordLength);
    file.setStagedWriting(true);  // the suite's programs never see half a paths file
    if (path.empty() || !file.open(path.c_str(), KroFile::kCreate)) {
        return 0;
    }
    bool written = true;
    for (int slot = 0; slot < kFolderSlots && written; ++slot) {
        file.append(directory(slot).value_or(std::string()), 0, true);
        written = file.writeLine(false);
    }
    file.close();
    return written && !file.status().test(KroFile::kIoErrorBit) ? 1 : 0;
}

void KroDir::recomputeNoPathsFileBit() {
    bool anyUndefined = false;
    for (int bit = 0; bit <= kAuxiliary; ++bit) {
        anyUndefined = anyUndefined || status_.test(bit);
    }
    if (anyUndefined) {
        status_.set(kNoPathsFileBit);
    } else {
        status_.reset(kNoPathsFileBit);
    }
}
