// KroFastObject is the base of every object that can fail. It holds the
// object's status word (KroOptions) and a label used as the title of its
// status report, and names each status bit in Italian.
//
// A derived class presets in its constructor the bits of conditions not yet
// met, sets a bit and returns false (or -1) when an operation fails, and
// clears the bits it is responsible for when one succeeds. Callers test the
// status after construction and after calls; showStatusReport lists it.
#pragma once

#include <string>

#include "core/KroOptions.h"

class KroFastObject {
public:
    KroFastObject() = default;
    virtual ~KroFastObject() = default;

    KroFastObject(const KroFastObject&) = default;
    KroFastObject& operator=(const KroFastObject&) = default;

    // The fixed Italian message of a status bit; a bit the class does not
    // define gives the class's default text.
    virtual const char* errorText(int bit) const = 0;
    // The same message, wide.
    virtual std::u16string errorTextW(int bit) const;
    // Replaces the label; an absent or empty text leaves the object unnamed.
    virtual void setName(const char* text);

    KroOptions status() const { return status_; }
    // The label, or nullptr when the object has none.
    const char* name() const { return hasName_ ? name_.c_str() : nullptr; }

protected:
    KroOptions status_;

private:
    std::string name_;
    bool hasName_ = false;
};
