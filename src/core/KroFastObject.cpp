#include "core/KroFastObject.h"

#include "core/Text.h"

std::u16string KroFastObject::errorTextW(int bit) const {
    return text::toWide(errorText(bit));
}

void KroFastObject::setName(const char* text) {
    hasName_ = text != nullptr && *text != '\0';
    name_ = hasName_ ? text : "";
}
