// Env is everything ExportOrvax asks of the operating system: files and
// directories, the clock and the login name. Nothing else in the program
// calls the system directly.
//
// Paths are narrow texts in the suite's code page (Windows-1252), as the
// suite's files give them; an implementation converts them at its boundary.
// Env::Default() is the real system and lives for the whole process; tests
// wrap it (EnvWrapper) to change the clock, the login name or make an
// operation fail.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct UtcTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Env {
public:
    virtual ~Env() = default;

    // The operating system of this machine. Never deleted.
    static Env* Default();

    // True when something (a file or a directory) exists at the path.
    virtual bool fileExists(const std::string& path) = 0;
    // Size in bytes of a regular file; -1 when it is missing or not a file.
    virtual int64_t fileSize(const std::string& path) = 0;
    virtual bool deleteFile(const std::string& path) = 0;
    // Gives the file at from the name to, replacing a file there in one step
    // (both in the same folder); false when it cannot.
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    // The system's own copy. Fails when the destination exists and
    // failIfExists is set.
    virtual bool copyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    // Creates one directory; its parent must exist. True when it exists afterwards.
    virtual bool createDirectory(const std::string& path) = 0;
    // The names (not paths) of the entries of a directory; empty when unreadable.
    virtual std::vector<std::string> listDirectory(const std::string& path) = 0;
    // The current directory, without a trailing separator.
    virtual std::string currentDirectory() = 0;
    // A buffered stream on the file, opened with a C stdio mode ("rb+", "wb+" ...);
    // nullptr on failure. The caller closes it with std::fclose.
    virtual std::FILE* openStream(const std::string& path, const char* mode) = 0;

    virtual UtcTime nowUtc() = 0;
    // The login name of the user running the program.
    virtual std::u16string loginName() = 0;
};

// An Env that forwards every call to another one; tests derive from it and
// override only what they change.
class EnvWrapper : public Env {
public:
    explicit EnvWrapper(Env* target) : target_(target) {}

    bool fileExists(const std::string& path) override { return target_->fileExists(path); }
    int64_t fileSize(const std::string& path) override { return target_->fileSize(path); }
    bool deleteFile(const std::string& path) override { return target_->deleteFile(path); }
    bool renameFile(const std::string& from, const std::string& to) override {
        return target_->renameFile(from, to);
    }
    bool copyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        return target_->copyFile(from, to, failIfExists);
    }
    bool isDirectory(const std::string& path) override { return target_->isDirectory(path); }
    bool createDirectory(const std::string& path) override {
        return target_->createDirectory(path);
    }
    std::vector<std::string> listDirectory(const std::string& path) override {
        return target_->listDirectory(path);
    }
    std::string currentDirectory() override { return target_->currentDirectory(); }
    std::FILE* openStream(const std::string& path, const char* mode) override {
        return target_->openStream(path, mode);
    }
    UtcTime nowUtc() override { return target_->nowUtc(); }
    std::u16string loginName() override { return target_->loginName(); }

private:
    Env* target_;
};
