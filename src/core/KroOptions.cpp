#include "core/KroOptions.h"

namespace {

bool inRange(int bit) {
    return bit >= 0 && bit < 32;
}

}  // namespace

void KroOptions::set(int bit) {
    if (inRange(bit)) {
        flags_ |= 1u << bit;
    }
}

void KroOptions::reset(int bit) {
    if (inRange(bit)) {
        flags_ &= ~(1u << bit);
    }
}

bool KroOptions::test(int bit) const {
    return inRange(bit) && (flags_ & (1u << bit)) != 0;
}
