// KroStepKeeper holds the position of a workflow of up to 32 numbered steps:
// the current step, the steps that are disabled (skipped by every move) and
// the steps that are marked. The main window keeps one with seven steps and
// redraws its step panels from it after each move:
//
//   KroStepKeeper steps(7);
//   steps.disable(2);            // the output-file step is skipped
//   steps.goTo(1);
//   steps.advance(-1);           // on to step 3
//
// Moving past the last enabled step turns back (or wraps to step 0 when wrap
// is set) and settles on the nearest enabled step. The keeper needs at least
// one enabled step: with every step disabled a move leaves current() at -1.
// Disabling a step clears its mark and marking a step enables it.
//
// While active() is false the moving operations and enable() do nothing;
// disable(), mark() and clear() always work. No operation sets the status.
#pragma once

#include <cstdint>

#include "core/KroFastObject.h"

class KroStepKeeper : public KroFastObject {
public:
    static constexpr int kMaxSteps = 32;

    // count steps; a negative count gives 32, a count above 32 gives 32.
    explicit KroStepKeeper(int count);

    const char* errorText(int bit) const override;

    virtual int current() const { return current_; }
    // Moves to step when 0 <= step < count(); then moves on when the current
    // step is disabled.
    virtual void goTo(int step);
    ~KroStepKeeper() override = default;
    // From step from (>= 0 and not current: goTo(from) first) to the next
    // enabled step; past the last step it wraps or turns back.
    virtual void advance(int from);
    virtual void disable(int step);
    virtual void enable(int step);
    // To the previous enabled step; below step 0 it moves forward instead.
    virtual void back();
    // Step 0, or the first enabled step after it.
    virtual void restart();
    virtual void mark(int step);
    virtual void clear(int step);
    // The bit of step modulo 32.
    virtual bool isMarked(int step) const;
    virtual bool isDisabled(int step) const;
    virtual bool isEnabled(int step) const;

    // Sets the count when 1 <= n <= 32.
    void setStepCount(int n);

    int count() const { return count_; }
    bool active() const { return active_; }
    void setActive(bool active) { active_ = active; }
    bool wrap() const { return wrap_; }
    void setWrap(bool wrap) { wrap_ = wrap; }
    uint32_t disabledMask() const { return disabled_; }
    uint32_t markedMask() const { return marked_; }

private:
    static bool inMaskRange(int step) { return step >= 0 && step < kMaxSteps; }
    static uint32_t bitOf(int step) { return uint32_t{1} << (static_cast<unsigned>(step) % 32u); }
    // Disabled test that is false for a position outside the mask (-1).
    bool disabledAt(int step) const { return inMaskRange(step) && (disabled_ & bitOf(step)) != 0; }

    bool active_ = true;
    bool wrap_ = false;
    int count_;
    int current_ = 0;
    uint32_t disabled_ = 0;
    uint32_t marked_ = 0;
};
