#include "records/KroFileUtilities.h"

#include "core/SuiteText.h"

#include <cstdio>

namespace {

constexpr std::size_t kBlockSize = 512;

struct PathParts {
    std::string drive;
    std::string directory;
    std::string fileName;
    std::string extension;
};

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool hasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':';
}

bool isNetworkPath(std::string_view path) {
    return path.starts_with("\\\\");
}

bool isPosixRooted(std::string_view path) {
    return path.starts_with('/');
}

// Position of the nth separator (1-based), or npos.
std::size_t nthSeparator(std::string_view path, int n) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isSeparator(path[i]) && --n == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

char firstSeparatorIn(std::string_view text) {
    for (char c : text) {
        if (isSeparator(c)) {
            return c;
        }
    }
    return '\0';
}

// The separator a composition adds: the one the texts already use, else a
// backslash after a Windows root, else the native one.
char joiningSeparator(std::string_view root, std::string_view directory) {
    if (char c = firstSeparatorIn(root); c != '\0') {
        return c;
    }
    if (char c = firstSeparatorIn(directory); c != '\0') {
        return c;
    }
    const bool windowsRoot = hasDriveLetter(root) || isNetworkPath(root);
    return windowsRoot ? '\\' : KroFileUtilities::kNativeSeparator;
}

// The split of the Windows path splitter: drive "C:", directory up to the
// last separator, file name up to the last dot of the last component, the
// extension from that dot.
PathParts splitAsWindows(std::string_view path) {
    PathParts parts;
    if (hasDriveLetter(path)) {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    const std::size_t lastSeparator = path.find_last_of("\\/");
    if (lastSeparator != std::string_view::npos) {
        parts.directory = path.substr(0, lastSeparator + 1);
        path.remove_prefix(lastSeparator + 1);
    }
    const std::size_t dot = path.find_last_of('.');
    parts.fileName = path.substr(0, dot);
    if (dot != std::string_view::npos) {
        parts.extension = path.substr(dot);
    }
    return parts;
}

// "\\SRV\SHARE\DIR\" becomes the drive "\\SRV\SHARE" and the directory
// "\DIR\"; without a complete server and share prefix nothing moves.
void moveNetworkPrefixToDrive(PathParts& parts) {
    const std::size_t fourth = nthSeparator(parts.directory, 4);
    if (fourth == std::string::npos) {
        return;
    }
    parts.drive = parts.directory.substr(0, fourth);
    parts.directory.erase(0, fourth);
}

void assignCut(std::string* output, const std::string& part) {
    if (output != nullptr) {
        *output = part.substr(0, KroFileUtilities::kMaxPath);
    }
}

// File name without leading separators, then the extension with its dot.
void appendFileName(std::string& out, std::string_view fileName, std::string_view extension) {
    while (!fileName.empty() && isSeparator(fileName.front())) {
        fileName.remove_prefix(1);
    }
    out += fileName;
    if (!extension.empty()) {
        if (extension.front() != '.') {
            out += '.';
        }
        out += extension;
    }
}

// The Windows path composer for a drive letter: "C:", the directory closed
// by a separator, the file name as given, the extension with its dot.
std::string composeWithDriveLetter(std::string_view drive, std::string_view extension,
                                   std::string_view fileName, std::string_view directory) {
    std::string out{drive[0], ':'};
    if (!directory.empty()) {
        out += directory;
        if (!isSeparator(out.back())) {
            out += joiningSeparator(drive, directory);
        }
    }
    out += fileName;
    appendFileName(out, "", extension);
    return out;
}

// The root, the directory between separators, then the file name. A root
// (network share, "/" or a prefix taken from the directory) is always
// followed by a separator; a relative directory stays relative.
std::string composeFromRoot(std::string root, bool rooted, std::string_view directory,
                            char separator, std::string_view extension, std::string_view fileName) {
    std::string out = std::move(root);
    if (rooted && (out.empty() || !isSeparator(out.back())) &&
        (directory.empty() || !isSeparator(directory.front()))) {
        out += separator;
    }
    out += directory;
    if (!out.empty() && !isSeparator(out.back())) {
        out += separator;
    }
    appendFileName(out, fileName, extension);
    return out;
}

std::optional<std::string> withinLimit(std::string path) {
    if (path.size() > KroFileUtilities::kMaxPath) {
        return std::nullopt;
    }
    return path;
}

bool copyBlocks(std::FILE* in, std::FILE* out) {
    char block[kBlockSize];
    std::size_t count = 0;
    while ((count = std::fread(block, 1, sizeof block, in)) > 0) {
        if (std::fwrite(block, 1, count, out) != count) {
            return false;
        }
    }
    return std::ferror(in) == 0;
}

}  // namespace

KroFileUtilities::KroFileUtilities(Env* env) : env_(env) {}

KroFileUtilities::~KroFileUtilities() {
    closeSearches(-1);
}

const char* KroFileUtilities::errorText(int) const {
    return "Errore non definito";
}

std::string KroFileUtilities::pathText(int kind) {
    if (kind == 0) {
        fullPath(&composedPath_);
        return composedPath_;
    }
    if (kind == 1) {
        listComponents(composedPath_);
    }
    return std::string();
}

int KroFileUtilities::copyFile(const std::string& source, const std::string& destination,
                               bool failIfExists) {
    if (source.size() > kMaxPath) {
        return kSourceUnreadable;
    }
    if (!env_->fileExists(source)) {
        return kSourceMissing;
    }
    if (destination.empty() || destination.size() > kMaxPath) {
        return kDestinationUnwritable;
    }
    // A copy onto itself would empty the source in the hand copy.
    if (destination == source) {
        return kCopied;
    }
    if (failIfExists && env_->fileExists(destination)) {
        return kCopied;
    }
    if (copiesBySystem(source, destination, failIfExists)) {
        return kCopied;
    }
    return copyByHand(source, destination);
}

// An attempt counts only when the system reports success: an older
// destination left in place by a failed copy is not the source's copy.
bool KroFileUtilities::copiesBySystem(const std::string& source, const std::string& destination,
                                      bool failIfExists) {
    for (int attempt = 0; attempt < kRetries; ++attempt) {
        if (env_->copyFile(source, destination, failIfExists) && env_->fileExists(destination)) {
            return true;
        }
    }
    return false;
}

int KroFileUtilities::copyByHand(const std::string& source, const std::string& destination) {
    const int64_t size = env_->fileSize(source);
    if (size < 0) {
        return kSourceUnreadable;
    }
    std::FILE* in = env_->openStream(source, "rb");
    if (in == nullptr) {
        return kSourceUnreadable;
    }
    std::FILE* out = env_->openStream(destination, "wb");
    if (out == nullptr) {
        std::fclose(in);
        return kDestinationUnwritable;
    }
    bool copied = copyBlocks(in, out);
    copied = std::fclose(out) == 0 && copied;
    std::fclose(in);
    if (!copied || env_->fileSize(destination) != size) {
        // A short copy must not pass for the file it stands for.
        env_->deleteFile(destination);
        return kCopyFailed;
    }
    return kCopied;
}

std::string KroFileUtilities::inFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !isSeparator(path.back())) {
        path += kNativeSeparator;
    }
    return path + std::string(name);
}

const char* KroFileUtilities::copyResultText(int code) {
    switch (code) {
        case kNothingToCopy:
            return "Nessun file da copiare";
        case kCopied:
            return "Copia avvenuta regolarmente";
        case kSourceMissing:
            return "File sorgente non trovato durante la copia";
        case kSourceUnreadable:
            return "Impossibile aprire il file sorgente durante la copia";
        case kDiskFull:
        case kDestinationUnwritable:
            return "Hai esaurito lo spazio sul disco fisso";
        case kCopyFailed:
            return "Errore durante la copia";
        case kNoDestinationFolder:
            return "La cartella di destinazione manca e/o non e' stato possibile crearla";
        case kOverwriteRefused:
            return "Sovrascrittura di file nella cartella di destinazione non ammessa";
        default:
            return "Errore non definito";
    }
}

void KroFileUtilities::splitPath(std::string_view path, std::string* drive, std::string* extension,
                                 std::string* fileName, std::string* directory) {
    PathParts parts = splitAsWindows(path);
    if (isNetworkPath(path)) {
        moveNetworkPrefixToDrive(parts);
    }
    if (parts.directory.size() == 1 && isDirectory(path)) {
        parts.directory += parts.fileName + parts.extension;
        parts.fileName.clear();
        parts.extension.clear();
    }
    assignCut(drive, parts.drive);
    assignCut(extension, parts.extension);
    assignCut(fileName, parts.fileName);
    assignCut(directory, parts.directory);
}

void KroFileUtilities::splitInto(std::string_view path) {
    splitPath(path, &drive_, &extension_, &fileName_, &directory_);
}

std::optional<std::string> KroFileUtilities::makePath(std::string_view drive,
                                                      std::string_view extension,
                                                      std::string_view fileName,
                                                      std::string_view directory) {
    if (hasDriveLetter(drive)) {
        return withinLimit(composeWithDriveLetter(drive, extension, fileName, directory));
    }
    std::string root;
    bool rooted = false;
    char separator = '\0';
    if (!drive.empty()) {
        if (!isNetworkPath(drive) && !isPosixRooted(drive)) {
            return std::nullopt;
        }
        separator = joiningSeparator(drive, directory);
        root = drive;
        if (isSeparator(root.back())) {
            root.pop_back();  // the separator comes back when the directory joins
        }
        rooted = true;
    } else if (const int length = rootLength(directory); length > 0) {
        separator = joiningSeparator(directory.substr(0, length), directory.substr(length));
        root = directory.substr(0, length);
        directory.remove_prefix(length);
        rooted = true;
    } else {
        separator = joiningSeparator("", directory);
    }
    return withinLimit(
        composeFromRoot(std::move(root), rooted, directory, separator, extension, fileName));
}

int KroFileUtilities::fullPath(std::string* output) {
    const std::optional<std::string> path = makePath(drive_, extension_, fileName_, directory_);
    const bool composed = path.has_value() && !path->empty();
    if (output != nullptr) {
        *output = composed ? *path : std::string();
    }
    return composed ? 0 : -1;
}

const std::string& KroFileUtilities::directoryPath() {
    directoryPath_ = makePath(drive_, "", "", directory_).value_or(std::string());
    return directoryPath_;
}

int KroFileUtilities::listComponents(std::string_view path) {
    const std::string text(path);  // splitInto may replace what path points into
    splitInto(text);
    return components(text);
}

int KroFileUtilities::components() {
    return components(drive_ + directory_);
}

int KroFileUtilities::components(std::string_view path) {
    components_.clear();
    const bool network = isNetworkPath(path);
    if (!network && !hasDriveLetter(path) && !path.empty() && isSeparator(path.front())) {
        components_.emplace_back(1, path.front());
    }
    bool first = components_.empty();
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        if (end > start) {
            const std::string_view item = path.substr(start, end - start);
            if (first) {
                components_.push_back(network ? "\\\\" + std::string(item) : std::string(item));
                first = false;
            } else {
                components_.push_back(suitetext::withoutTrailingBlanks(item));
            }
        }
        start = end + 1;
    }
    return static_cast<int>(components_.size());
}

int KroFileUtilities::rootLength(std::string_view path) {
    if (isPosixRooted(path)) {
        return 1;
    }
    if (path.size() <= 1) {
        return -1;
    }
    if (path[1] == ':') {
        return 2;
    }
    if (!isNetworkPath(path)) {
        return -1;
    }
    const std::size_t fourth = nthSeparator(path, 4);
    return static_cast<int>(fourth == std::string_view::npos ? path.size() : fourth);
}

bool KroFileUtilities::isDirectory(std::string_view path) {
    if (path.size() > kMaxPath) {
        return false;
    }
    while (path.size() > 1 && isSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return !path.empty() && env_->isDirectory(std::string(path));
}

void KroFileUtilities::closeSearches(int which) {
    if (which == -1 || searchDepth_ <= 0) {
        searchDepth_ = -1;
        return;
    }
    --searchDepth_;
}
