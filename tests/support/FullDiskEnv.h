// The real Env on a disk that fills up: every stream opened for writing
// shares one budget of bytes, and a write that would pass it fails as a
// full disk does (ENOSPC), at the write or at the flush that carries it.
// Reads, seeks and everything else are the real system's.
//
//   FullDiskEnv disk(4096);          // 4 KB left on the disk
//   KroFile file(true, &disk);       // writes past 4 KB fail
//   disk.capacity = -1;              // room again
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "support/TestEnv.h"

class FullDiskEnv : public TestEnv {
public:
    // capacity: bytes that may still be written; -1 without limit.
    explicit FullDiskEnv(int64_t capacity) : capacity(capacity) {}

    std::FILE* openStream(const std::string& path, const char* mode) override {
        std::FILE* real = TestEnv::openStream(path, mode);
        if (real == nullptr || std::string(mode).find_first_of("wa+") == std::string::npos) {
            return real;
        }
        auto* cookie = new Cookie{real, this};
        const cookie_io_functions_t functions{&Cookie::read, &Cookie::write, &Cookie::seek,
                                              &Cookie::close};
        std::FILE* stream = fopencookie(cookie, mode, functions);
        if (stream == nullptr) {
            std::fclose(real);
            delete cookie;
        }
        return stream;
    }

    int64_t capacity;
    int64_t written = 0;

private:
    struct Cookie {
        std::FILE* real;
        FullDiskEnv* disk;

        static ssize_t read(void* self, char* buffer, size_t size) {
            return static_cast<ssize_t>(std::fread(buffer, 1, size, as(self)->real));
        }
        static ssize_t write(void* self, const char* buffer, size_t size) {
            FullDiskEnv& disk = *as(self)->disk;
            if (disk.capacity >= 0 && disk.written + static_cast<int64_t>(size) > disk.capacity) {
                errno = ENOSPC;
                return -1;
            }
            const size_t done = std::fwrite(buffer, 1, size, as(self)->real);
            disk.written += static_cast<int64_t>(done);
            return std::fflush(as(self)->real) == 0 ? static_cast<ssize_t>(done) : -1;
        }
        static int seek(void* self, off64_t* offset, int whence) {
            std::FILE* real = as(self)->real;
            if (fseeko(real, *offset, whence) != 0) {
                return -1;
            }
            *offset = ftello(real);
            return 0;
        }
        static int close(void* self) {
            const int result = std::fclose(as(self)->real);
            delete as(self);
            return result;
        }
        static Cookie* as(void* self) { return static_cast<Cookie*>(self); }
    };
};
