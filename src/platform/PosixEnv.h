// PosixEnv is Env on a POSIX system (Linux): std::filesystem and stdio for
// files, the system clock, and the effective user's login name. Narrow paths
// in the suite's code page become UTF-8 file names.
#pragma once

#include "platform/Env.h"

class PosixEnv : public Env {
public:
    bool fileExists(const std::string& path) override;
    int64_t fileSize(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool copyFile(const std::string& from, const std::string& to, bool failIfExists) override;
    bool isDirectory(const std::string& path) override;
    bool createDirectory(const std::string& path) override;
    std::vector<std::string> listDirectory(const std::string& path) override;
    std::string currentDirectory() override;
    std::FILE* openStream(const std::string& path, const char* mode) override;
    UtcTime nowUtc() override;
    std::u16string loginName() override;
};
