// MemoryEnv is the Env of the fuzz targets: a handful of files and folders
// held in memory, so that a parser reads the fuzzer's bytes through the same
// Env seam as it reads the disk, without touching it. Streams are fmemopen
// streams over a private copy of a file's bytes; a stream opened for update
// can overwrite those bytes but never grow the file. Creating a file that
// does not exist is refused, a folder can be created (in memory); the clock
// stands still at 31/05/2024 12:00 so that every run of an input is the same.
//
//   MemoryEnv env;
//   env.addFolder("/vault/PAR");
//   env.addFile("/vault/PAR/JOB.LAV", std::string_view(data, size));
//   KroModLav workMode("JOB", "/vault/PAR", &env);
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Env.h"

class MemoryEnv : public Env {
public:
    MemoryEnv() = default;
    ~MemoryEnv() override;
    MemoryEnv(const MemoryEnv&) = delete;
    MemoryEnv& operator=(const MemoryEnv&) = delete;

    // A file with these bytes; its folder is added too.
    void addFile(const std::string& path, std::string_view bytes);
    void addFolder(const std::string& path);

    bool fileExists(const std::string& path) override;
    int64_t fileSize(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool copyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    bool isDirectory(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    std::vector<std::string> listDirectory(const std::string& path) override;
    std::string currentDirectory() override { return "/fuzz"; }
    std::FILE* openStream(const std::string& path, const char* mode) override;
    UtcTime nowUtc() override { return UtcTime{2024, 5, 31, 12, 0, 0}; }
    std::u16string loginName() override { return u"fuzz"; }

private:
    static std::string withoutTrailingSlash(const std::string& path);

    std::map<std::string, std::string> files_;
    std::set<std::string> folders_;
    // The buffers under open streams live as long as the Env.
    std::vector<std::unique_ptr<std::string>> streamBuffers_;
};
