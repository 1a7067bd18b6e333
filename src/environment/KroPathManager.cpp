#include "environment/KroPathManager.h"

#include "environment/KroDefData.h"

namespace {

constexpr char kSeparator = KroFileUtilities::kNativeSeparator;

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// A relative path that stays below the folder it is joined to: not rooted,
// no drive, no ".." component.
bool staysBelow(std::string_view subfolder) {
    if (!subfolder.empty() &&
        (isSeparator(subfolder.front()) || KroFileUtilities::rootLength(subfolder) >= 0)) {
        return false;
    }
    std::size_t start = 0;
    while (start <= subfolder.size()) {
        std::size_t end = start;
        while (end < subfolder.size() && !isSeparator(subfolder[end])) {
            ++end;
        }
        if (subfolder.substr(start, end - start) == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace

KroPathManager::KroPathManager(std::string_view home, Env* env)
    : KroDir(home, {}, env), fileUtilities_(std::make_unique<KroFileUtilities>(env)) {
    setName("Path Manager");
    status_.set(kNoMainFolderBit);
    status_.set(kNoJobFolderBit);
    status_.set(kNoServerBit);
}

KroPathManager::~KroPathManager() {
    fileUtilities_->closeSearches(-1);
}

const char* KroPathManager::errorText(int bit) const {
    switch (bit) {
        case kCreateFailedBit:
            return "Errore creando una directory";
        case kNoMainFolderBit:
            return "Directory principale non definita";
        case kNoJobFolderBit:
            return "Manca la madre di tutte le directory";
        case kNoServerFolderBit:
            return "Manca la cartella principale sul server dichiarato";
        case kNoServerBit:
            return "Il server non è ancora stato istanziato";
        default:
            return KroDir::errorText(bit);
    }
}

bool KroPathManager::openJobFolder(std::string_view job, std::string_view date, int index,
                                   bool create) {
    std::string subPath;
    if (!job.empty()) {
        if (!enterSubdirectory(index, job, create, true)) {
            return false;
        }
        jobRootPath_ = jobPath_;
        if (date.empty()) {
            return false;
        }
        subPath = std::string(job) + kSeparator + std::string(date);
    }
    const bool selected = enterSubdirectory(index, subPath, create, false);
    if (selected) {
        attachServer(0);
    }
    return selected;
}

bool KroPathManager::enterSubdirectory(int index, std::string_view subfolder, bool create,
                                       bool firstLevel) {
    status_.set(kNoJobFolderBit);
    if (index < 0 || index >= kPatterns) {
        return false;
    }
    currentIndex_ = index;
    // An undefined slot has no folder: joining to its empty text would reach
    // the root of the file system.
    const std::string& folder = slotText(index);
    if (!slotIsDefined(index) || folder.empty()) {
        status_.set(kNoMainFolderBit);
        return false;
    }
    if (!ensureDirectory(folder + kSeparator, true)) {
        status_.set(kNoMainFolderBit);
        return false;
    }
    if (!staysBelow(subfolder)) {
        return false;
    }
    std::string selected = folder + kSeparator + std::string(subfolder) + kSeparator;
    if (!ensureDirectory(selected, create)) {
        return false;
    }
    jobPath_ = std::move(selected);
    status_.reset(kNoMainFolderBit);
    status_.reset(firstLevel ? kNoFirstLevelBit : kNoJobFolderBit);
    return true;
}

bool KroPathManager::ensureDirectory(const std::string& path, bool create) {
    if (!create || env()->isDirectory(path)) {
        return true;
    }
    if (!env()->createDirectory(path)) {
        status_.set(kCreateFailedBit);
        return false;
    }
    return true;
}

bool KroPathManager::attachServer(int index, std::optional<std::string_view> name,
                                  std::optional<std::string_view> alternate) {
    if (index < 0 || index >= kServerCount) {
        return false;
    }
    if (!servers_[index]) {
        servers_[index] = std::make_unique<KroServer>();
    }
    std::optional<std::string> serverName;
    if (name) {
        serverName = std::string(*name);
    }
    int32_t number = -1;
    if (!alternate) {
        if (index == 0) {
            serverName = rootOf(kWork);
        }
        const KroDefData userData(directory(kUserData).value_or(std::string()), env());
        if (userData.status().any()) {
            return false;
        }
        number = userData.stationNumber();
    }
    servers_[index]->set(serverName, number, alternate);
    const std::optional<std::string> mainFolder =
        alternate
            ? KroFileUtilities::makePath(serverName.value_or(std::string()), "", "", *alternate)
            : KroFileUtilities::makePath(rootOf(kWork).value_or(std::string()), "", "",
                                         pathAfterRoot(kWork).value_or(std::string()));
    if (!mainFolder || mainFolder->empty() || !env()->isDirectory(*mainFolder)) {
        status_.set(kNoServerFolderBit);
        return false;
    }
    status_.reset(kNoServerBit);
    return true;
}

const KroServer* KroPathManager::server(int index) const {
    return (index >= 0 && index < kServerCount) ? servers_[index].get() : nullptr;
}
