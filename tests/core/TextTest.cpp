#include "core/Text.h"

#include <gtest/gtest.h>

TEST(Text, NarrowLiteralsAreTheCodePagesBytes) {
    // The build's execution character set makes accented literals single bytes.
    EXPECT_EQ(std::string("è"), std::string("\xE8"));
    EXPECT_EQ(std::string("€"), std::string("\x80"));
}

TEST(Text, CodePageToUtf16) {
    struct Case {
        std::string narrow;
        std::u16string wide;
    } cases[] = {
        {"Perché", u"Perché"},
        {"\x80 \x9F \x8A", u"\u20AC \u0178 \u0160"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(text::toWide(c.narrow), c.wide);
        EXPECT_EQ(text::toNarrow(c.wide), c.narrow);
    }
}

TEST(Text, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    EXPECT_EQ(text::toNarrow(text::toWide(all)), all);
}

TEST(Text, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    // Kept out of the assertion: its text is stringised in the code page.
    const std::u16string foreign = u"\u03A9\U0001F600x";
    EXPECT_EQ(text::toNarrow(foreign), "??x");
}

TEST(Text, Utf8BothWays) {
    const std::u16string wide = u"Città €\U0001F600";
    const std::string utf8 = text::toUtf8(wide);
    EXPECT_EQ(utf8, "Citt\xC3\xA0 \xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(text::fromUtf8(utf8), wide);
}

TEST(Text, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(text::fromUtf8("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(text::fromUtf8("\xFF" "b"), u"\uFFFD" u"b");
    EXPECT_EQ(text::fromUtf8("\xC0\xAF"), u"\uFFFD");  // over-long slash
    EXPECT_EQ(text::toUtf8(u"\xD800x"), "\xEF\xBF\xBDx");  // lone surrogate
}
