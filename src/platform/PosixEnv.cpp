#include "platform/PosixEnv.h"

#include <pwd.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <system_error>

#include "core/Text.h"

namespace fs = std::filesystem;

namespace {

fs::path systemPath(const std::string& path) {
    const std::string utf8 = text::toUtf8(text::toWide(path));
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string suitePath(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return text::toNarrow(text::fromUtf8(std::string(utf8.begin(), utf8.end())));
}

}  // namespace

Env* Env::Default() {
    static PosixEnv env;
    return &env;
}

bool PosixEnv::fileExists(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::exists(systemPath(path), error);
}

int64_t PosixEnv::fileSize(const std::string& path) {
    std::error_code error;
    const fs::path target = systemPath(path);
    if (path.empty() || !fs::is_regular_file(target, error)) {
        return -1;
    }
    const auto size = fs::file_size(target, error);
    return error ? -1 : static_cast<int64_t>(size);
}

bool PosixEnv::deleteFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::remove(systemPath(path), error);
}

bool PosixEnv::renameFile(const std::string& from, const std::string& to) {
    std::error_code error;
    if (from.empty() || to.empty()) {
        return false;
    }
    fs::rename(systemPath(from), systemPath(to), error);
    return !error;
}

bool PosixEnv::copyFile(const std::string& from, const std::string& to, bool failIfExists) {
    std::error_code error;
    const auto options =
        failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(systemPath(from), systemPath(to), options, error) && !error;
}

bool PosixEnv::isDirectory(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(systemPath(path), error);
}

bool PosixEnv::createDirectory(const std::string& path) {
    std::error_code error;
    fs::create_directory(systemPath(path), error);
    return isDirectory(path);
}

std::vector<std::string> PosixEnv::listDirectory(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(systemPath(path), error), end; !error && it != end;
         it.increment(error)) {
        names.push_back(suitePath(it->path().filename()));
    }
    return names;
}

std::string PosixEnv::currentDirectory() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string() : suitePath(current);
}

std::FILE* PosixEnv::openStream(const std::string& path, const char* mode) {
    if (path.empty()) {
        return nullptr;
    }
    return std::fopen(systemPath(path).c_str(), mode);
}

UtcTime PosixEnv::nowUtc() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    return UtcTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::u16string PosixEnv::loginName() {
    const passwd* entry = getpwuid(geteuid());
    if (entry == nullptr || entry->pw_name == nullptr) {
        return std::u16string();
    }
    return text::fromUtf8(entry->pw_name);
}
