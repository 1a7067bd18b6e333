// Shared by the notes tests: the real system, except that files cannot be
// opened for reading.
#pragma once

#include <string>

#include "support/TestEnv.h"

class UnreadableEnv : public TestEnv {
public:
    std::FILE* openStream(const std::string& path, const char* mode) override {
        return std::string(mode).starts_with("r") ? nullptr : TestEnv::openStream(path, mode);
    }
};
