#include "app/KroStepKeeper.h"

KroStepKeeper::KroStepKeeper(int count)
    : count_(count < 0 || count > kMaxSteps ? kMaxSteps : count) {}

const char* KroStepKeeper::errorText(int /*bit*/) const {
    return "Errore non definito ";
}

void KroStepKeeper::goTo(int step) {
    if (!active_) {
        return;
    }
    if (step >= 0 && step < count_) {
        current_ = step;
    }
    if (disabledAt(current_)) {
        advance(-1);
    }
}

void KroStepKeeper::advance(int from) {
    if (!active_) {
        return;
    }
    if (from >= 0 && from != current_) {
        goTo(from);
    }
    // Every position is visited at most twice (once each way) before a move
    // either settles or has proved that no step is enabled.
    int movesLeft = 2 * (count_ + 1);
    int direction = 1;
    do {
        if (movesLeft-- == 0) {
            current_ = -1;  // no enabled step to settle on
            return;
        }
        current_ += direction;
        if (current_ >= count_) {
            if (wrap_) {
                current_ = 0;
            } else {
                current_ = count_ - 1;
                direction = -1;
            }
        }
    } while (disabledAt(current_));
}

void KroStepKeeper::disable(int step) {
    if (inMaskRange(step)) {
        marked_ &= ~bitOf(step);
        disabled_ |= bitOf(step);
    }
}

void KroStepKeeper::enable(int step) {
    if (active_ && inMaskRange(step)) {
        disabled_ &= ~bitOf(step);
    }
}

void KroStepKeeper::back() {
    if (!active_) {
        return;
    }
    do {
        current_ -= 1;
        if (current_ < 0) {
            advance(-1);
        }
    } while (disabledAt(current_));
}

void KroStepKeeper::restart() {
    if (!active_) {
        return;
    }
    current_ = 0;
    if (disabledAt(0)) {
        advance(-1);
    }
}

void KroStepKeeper::mark(int step) {
    if (inMaskRange(step)) {
        marked_ |= bitOf(step);
        disabled_ &= ~bitOf(step);
    }
}

void KroStepKeeper::clear(int step) {
    if (inMaskRange(step)) {
        marked_ &= ~bitOf(step);
        disabled_ &= ~bitOf(step);
    }
}

bool KroStepKeeper::isMarked(int step) const {
    return (marked_ & bitOf(step)) != 0;
}

bool KroStepKeeper::isDisabled(int step) const {
    return (disabled_ & bitOf(step)) != 0;
}

bool KroStepKeeper::isEnabled(int step) const {
    return !isDisabled(step);
}

void KroStepKeeper::setStepCount(int n) {
    if (n >= 1 && n <= kMaxSteps) {
        count_ = n;
    }
}
