// A fresh directory under the system's temporary folder, removed with its
// contents when the object goes. Byte helpers write and read fixture files
// exactly as given.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

    // Writes the bytes to the named file (created or emptied); returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

// The whole content of a file; empty when it cannot be read.
std::string readBytes(const std::string& path);
bool fileExists(const std::string& path);
