// KroOptions is an object's status word: 32 condition bits, bit n set when
// condition n holds, 0 when all is well. A small value, copied freely:
//
//   KroOptions status = file.status();
//   if (status.test(3)) ...
#pragma once

#include <cstdint>

class KroOptions {
public:
    explicit KroOptions(uint32_t flags = 0) : flags_(flags) {}

    uint32_t value() const { return flags_; }
    void set(int bit);
    void reset(int bit);
    // A bit number outside 0..31 tests false.
    bool test(int bit) const;
    void clear() { flags_ = 0; }
    bool any() const { return flags_ != 0; }
    // Any of bits 0 to 15.
    bool anyLow() const { return (flags_ & 0xFFFFu) != 0; }

private:
    uint32_t flags_;
};
