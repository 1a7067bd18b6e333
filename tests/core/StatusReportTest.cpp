#include "core/StatusReport.h"

#include <gtest/gtest.h>

#include "core/KroFastObject.h"
#include "support/RecordingMessageBox.h"

namespace {

// An object with two texts of its own and a default for the other bits.
class Sample : public KroFastObject {
public:
    explicit Sample(uint32_t bits) {
        setName("Campione");
        status_ = KroOptions(bits);
    }
    const char* errorText(int bit) const override {
        switch (bit) {
            case 0: return "Nessun file aperto ";
            case 2: return "Città non valida";
            default: return "Errore non definito";
        }
    }
};

}  // namespace

TEST(StatusReport, ListsSetBitsInOrderWithTheirTexts) {
    Sample sample((1u << 0) | (1u << 2) | (1u << 17));
    EXPECT_EQ(statusReportText(sample, 0),
              u"Status: Campione\r\n\r\n"
              u"Bit 00) Nessun file aperto \r\n"
              u"Bit 02) Città non valida\r\n"
              u"Bit 17) Errore non definito\r\n");
}

TEST(StatusReport, IgnoreMaskHidesBits) {
    Sample sample((1u << 0) | (1u << 2));
    EXPECT_EQ(statusReportText(sample, 1u << 2),
              u"Status: Campione\r\n\r\nBit 00) Nessun file aperto \r\n");
}

TEST(StatusReport, EveryBitSetListsThirtyTwoLines) {
    Sample sample(0xFFFFFFFFu);
    const std::u16string report = statusReportText(sample, 0);
    EXPECT_NE(report.find(u"Bit 31) Errore non definito\r\n"), std::u16string::npos);
    size_t lines = 0;
    for (size_t at = report.find(u"Bit "); at != std::u16string::npos;
         at = report.find(u"Bit ", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 32u);
}

TEST(StatusReport, CleanUnnamedObjectShowsTheTitleAlone) {
    Sample sample(0);
    sample.setName("");
    EXPECT_EQ(sample.name(), nullptr);
    EXPECT_EQ(statusReportText(sample, 0), u"Status: \r\n\r\n");
}

TEST(StatusReport, ShownAsAWarningCaptionedAttenzione) {
    Sample sample(1u << 2);
    RecordingMessageBox box;
    showStatusReport(sample, 0, box);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].caption, u"Attenzione!");
    EXPECT_EQ(box.shown[0].flags, 48);
    EXPECT_EQ(box.shown[0].text, statusReportText(sample, 0));
}
