// Fields of a record layout and their type codes: values cut to the field,
// aliases and descriptions as the definition gives them, type names and
// numbers.
#include "records/KroField.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Text.h"
#include "records/KroFieldType.h"

TEST(KroFieldType, ParsesNumbersAndNamesByTheirFirstMatchingPrefix) {
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"3", 3},
        {"1", 1},
        {"14", 14},
        {" 7", 7},          // leading blanks before a number
        {"9 and more", 9},  // the number stops at the first non-digit
        {"15", 0},          // read as a name: "ft15" matches nothing
        {"0", 0},
        {"-3", 0},
        {"99999999999999999999", 0},
        {"date", 9},  // "ft" put in front
        {"ftDate", 9},
        {"ftDate x", 0},   // a name followed by other text
        {"ftString ", 0},  // even a trailing blank
        {"String", 1},
        {"ftstring", 1},
        {"FTSTRING", 1},
        {"ftS", 1},  // the first name beginning so
        {"ftB", 5},  // ftBoolean before ftBCD and ftBytes
        {"bc", 8},
        {"ftDateTime", 11},
        {"DateTime", 11},
        {"ftAutoInc", 14},
        {"ftVarBytesXY", 0},  // beyond the 11 characters of a name
        {"ftUnknown", 0},
        {"ft", 0},
        {"", 0},
        {"xyz", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KroFieldType::parse(c.text), c.code) << '"' << c.text << '"';
    }
}

TEST(KroFieldType, NamesEveryCodeAndUnknownOutsideTheTable) {
    EXPECT_STREQ(KroFieldType::name(KroFieldType::ftString), "ftString");
    EXPECT_STREQ(KroFieldType::name(KroFieldType::ftAutoInc), "ftAutoInc");
    EXPECT_STREQ(KroFieldType::name(15), "ftUnknown");
    EXPECT_STREQ(KroFieldType::name(-1), "ftUnknown");
    for (int code = 0; code < KroFieldType::kCount; ++code) {
        EXPECT_EQ(KroFieldType::parse(KroFieldType::name(code)), code);
    }
}

TEST(KroField, StartsEmptyAsATextFieldWithoutDescriptionOrAlias) {
    const KroField field;
    EXPECT_TRUE(field.narrowValue().empty());
    EXPECT_TRUE(field.value().empty());
    EXPECT_EQ(field.type(), KroFieldType::ftString);
    EXPECT_EQ(field.description(), nullptr);
    EXPECT_EQ(field.alias(), nullptr);
    EXPECT_FALSE(field.isConstant());
}

TEST(KroField, ValueIsCutToTheLengthAndNeverPadded) {
    const struct {
        int length;
        std::u16string text;
        std::string kept;
    } cases[] = {
        {5, u"ABCDEFG", "ABCDE"}, {5, u"AB", "AB"}, {5, u" A B ", " A B "},
        {0, u"ABC", ""},          {-3, u"ABC", ""}, {2, u"", ""},
    };
    for (const auto& c : cases) {
        KroField field;
        field.setLength(c.length);
        field.setValue(c.text);
        EXPECT_EQ(field.narrowValue(), c.kept) << c.length;
        EXPECT_EQ(field.value(), text::toWide(c.kept)) << c.length;
    }
}

TEST(KroField, WideValuesTravelInTheSuitesCodePage) {
    KroField field;
    field.setLength(4);
    const std::u16string accented = u"perché";
    field.setValue(accented);
    EXPECT_EQ(field.narrowValue(), "perc");
    field.setValue(std::u16string(u"\u00e8"));
    EXPECT_EQ(field.narrowValue(), "\xE8");
    EXPECT_EQ(field.value(), u"\u00e8");
    field.setValue(std::string("AB\xE0"));
    EXPECT_EQ(field.value(), u"AB\u00e0");
}

TEST(KroField, AliasStopsAtTheFirstBlank) {
    KroField field;
    field.setAlias("SRT_KEY TYPE=ftString");
    EXPECT_STREQ(field.alias(), "SRT_KEY");
    field.setAlias("SRT_T1");
    EXPECT_STREQ(field.alias(), "SRT_T1");
    field.setAlias(" LEADING");
    EXPECT_STREQ(field.alias(), "");
}

TEST(KroField, DescriptionLosesTheQuotesAtItsEndAndALeadingQuoteMakesAConstant) {
    const struct {
        const char* written;
        const char* kept;
        bool constant;
        const char* constantText;
    } cases[] = {
        {"Key", "Key", false, ""},         {"ABC\"\"", "ABC", false, ""},
        {"\"ABC\"", "\"ABC", true, "ABC"}, {"\"00", "\"00", true, "00"},
        {"\"\"", "", false, ""},           {"\"", "", false, ""},
        {"A\"B", "A\"B", false, ""},
    };
    for (const auto& c : cases) {
        KroField field;
        field.setDescription(c.written);
        EXPECT_STREQ(field.description(), c.kept) << c.written;
        EXPECT_EQ(field.isConstant(), c.constant) << c.written;
        EXPECT_EQ(field.constantText(), c.constantText) << c.written;
    }
}
