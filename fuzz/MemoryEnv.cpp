#include "MemoryEnv.h"

#include <cstring>

MemoryEnv::~MemoryEnv() = default;

std::string MemoryEnv::withoutTrailingSlash(const std::string& path) {
    std::string result = path;
    while (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result;
}

void MemoryEnv::addFile(const std::string& path, std::string_view bytes) {
    files_[path] = std::string(bytes);
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        addFolder(path.substr(0, slash));
    }
}

void MemoryEnv::addFolder(const std::string& path) {
    folders_.insert(withoutTrailingSlash(path));
}

bool MemoryEnv::fileExists(const std::string& path) {
    return files_.count(path) != 0 || isDirectory(path);
}

int64_t MemoryEnv::fileSize(const std::string& path) {
    const auto file = files_.find(path);
    return file == files_.end() ? -1 : static_cast<int64_t>(file->second.size());
}

bool MemoryEnv::deleteFile(const std::string& path) {
    return files_.erase(path) != 0;
}

bool MemoryEnv::renameFile(const std::string& from, const std::string& to) {
    const auto file = files_.find(from);
    if (file == files_.end() || isDirectory(to)) {
        return false;
    }
    std::string bytes = std::move(file->second);
    files_.erase(file);
    files_[to] = std::move(bytes);
    return true;
}

bool MemoryEnv::copyFile(const std::string& from, const std::string& to, bool failIfExists) {
    const auto file = files_.find(from);
    if (file == files_.end() || (failIfExists && fileExists(to)) || isDirectory(to)) {
        return false;
    }
    files_[to] = file->second;
    return true;
}

bool MemoryEnv::isDirectory(const std::string& path) {
    return !path.empty() && folders_.count(withoutTrailingSlash(path)) != 0;
}

bool MemoryEnv::createDirectory(const std::string& path) {
    if (files_.count(path) != 0) {
        return false;
    }
    addFolder(path);
    return true;
}

std::vector<std::string> MemoryEnv::listDirectory(const std::string& path) {
    const std::string prefix = withoutTrailingSlash(path) + "/";
    std::vector<std::string> names;
    for (const auto& [filePath, bytes] : files_) {
        if (filePath.starts_with(prefix) &&
            filePath.find('/', prefix.size()) == std::string::npos) {
            names.push_back(filePath.substr(prefix.size()));
        }
    }
    return names;
}

// Reading and updating existing files only: the stream works on a copy of
// the bytes, so an update never changes what the next stream reads.
std::FILE* MemoryEnv::openStream(const std::string& path, const char* mode) {
    const auto file = files_.find(path);
    if (file == files_.end() || mode == nullptr || mode[0] != 'r') {
        return nullptr;
    }
    const bool update = std::strchr(mode, '+') != nullptr;
    auto buffer = std::make_unique<std::string>(file->second);
    std::FILE* stream = fmemopen(buffer->data(), buffer->size(), update ? "r+" : "r");
    if (stream != nullptr) {
        streamBuffers_.push_back(std::move(buffer));
    }
    return stream;
}
