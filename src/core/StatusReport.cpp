#include "core/StatusReport.h"

#include <cstdio>

#include "core/KroFastObject.h"
#include "core/Text.h"
#include "platform/ModalMessageBox.h"

std::u16string statusReportText(const KroFastObject& object, uint32_t ignoreMask) {
    const char* name = object.name();
    std::u16string report = u"Status: " + text::toWide(name ? name : "") + u"\r\n\r\n";
    const KroOptions status = object.status();
    const KroOptions ignored(ignoreMask);
    for (int bit = 0; bit < 32; ++bit) {
        if (status.test(bit) && !ignored.test(bit)) {
            char number[8];
            std::snprintf(number, sizeof number, "%.2d", bit);
            report += u"Bit " + text::toWide(number) + u") " + object.errorTextW(bit) + u"\r\n";
        }
    }
    return report;
}

void showStatusReport(const KroFastObject& object, uint32_t ignoreMask, ModalMessageBox& box) {
    box.show(statusReportText(object, ignoreMask), u"Attenzione!",
             ModalMessageBox::kIconWarning | ModalMessageBox::kOk);
}
