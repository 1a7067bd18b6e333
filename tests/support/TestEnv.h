// The real Env with a few things a test can change: the clock, the login
// name, and the system copy or rename made to fail a number of times.
#pragma once

#include <optional>

#include "platform/Env.h"

class TestEnv : public EnvWrapper {
public:
    TestEnv() : EnvWrapper(Env::Default()) {}

    UtcTime nowUtc() override { return now ? *now : EnvWrapper::nowUtc(); }
    std::u16string loginName() override { return login ? *login : EnvWrapper::loginName(); }
    bool copyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        ++copyCalls;
        if (failingCopies > 0) {
            --failingCopies;
            return false;
        }
        return EnvWrapper::copyFile(from, to, failIfExists);
    }

    bool renameFile(const std::string& from, const std::string& to) override {
        if (failingRenames > 0) {
            --failingRenames;
            return false;
        }
        return EnvWrapper::renameFile(from, to);
    }

    std::optional<UtcTime> now;
    std::optional<std::u16string> login;
    int failingCopies = 0;
    int copyCalls = 0;
    int failingRenames = 0;
};
