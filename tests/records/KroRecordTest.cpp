// Record types: field slots, lookups by alias, the missing-field exception,
// unpacking a record text, identifiers and copies.
#include "records/KroRecord.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/Text.h"
#include "support/RecordingMessageBox.h"

namespace {

// The sorter's record: key 2-11, pocket 12-13, an undefined slot, stamp 20-21.
void defineSorter(KroRecord& record) {
    record.setTypeName("SORTER");
    record.setId("S");
    record.setFieldCount(4);
    record.defineField(0, "Key", "SRT_KEY", 10, 2, "ftString");
    record.defineField(1, "Pocket", "SRT_T1", 2, 12, "ftString");
    record.defineField(3, "Stamp", "SRT_STAMP_NO", 2, 20, "ftString");
}

std::string thrownText(KroRecord& record, const char* alias) {
    try {
        record.fieldByAliasOrThrow(alias);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(nothing thrown)";
}

}  // namespace

TEST(KroRecord, NamesItsBitsAndHasNoLabel) {
    const KroRecord record;
    EXPECT_EQ(record.status().value(), 0u);
    EXPECT_EQ(record.name(), nullptr);
    EXPECT_STREQ(record.errorText(0), "Numero di campo esterno all'intervallo dichiarato");
    EXPECT_STREQ(record.errorText(1), "Superata la dimensione dichiarata per il record ");
    EXPECT_STREQ(record.errorText(2), "Errore non definito ");
    EXPECT_EQ(record.errorTextW(0), u"Numero di campo esterno all'intervallo dichiarato");
}

TEST(KroRecord, DefineFieldOutsideTheSlotsSetsBitZeroAndDefinesNothing) {
    for (int index : {2, -1, 99}) {
        KroRecord record;
        record.setFieldCount(2);
        EXPECT_FALSE(record.defineField(index, "Key", "SRT_KEY", 10, 2, "ftString")) << index;
        EXPECT_TRUE(record.status().test(KroRecord::kFieldOutOfRangeBit)) << index;
        EXPECT_EQ(record.indexOfAlias("SRT_KEY"), -1) << index;
        EXPECT_EQ(record.definedField(0), nullptr);
        EXPECT_EQ(record.definedField(1), nullptr);
    }
}

TEST(KroRecord, DefineFieldSetsTheLayoutAndTheTypeFromItsName) {
    KroRecord record;
    record.setFieldCount(3);
    ASSERT_TRUE(record.defineField(0, "\"AB\"", "SRT_C TYPE=x", 2, 5, "9"));
    ASSERT_TRUE(record.defineField(1, nullptr, nullptr, 3, 7, nullptr));
    ASSERT_TRUE(record.defineField(2, "Short", "SHORT", 4, 9));

    const KroField* constant = record.definedField(0);
    EXPECT_STREQ(constant->description(), "\"AB");
    EXPECT_STREQ(constant->alias(), "SRT_C");
    EXPECT_EQ(constant->length(), 2);
    EXPECT_EQ(constant->start(), 5);
    EXPECT_EQ(constant->type(), KroFieldType::ftDate);

    const KroField* bare = record.definedField(1);
    EXPECT_EQ(bare->description(), nullptr);
    EXPECT_EQ(bare->alias(), nullptr);
    EXPECT_EQ(bare->type(), KroFieldType::ftString);

    EXPECT_EQ(record.definedField(2)->type(), KroFieldType::ftUnknown);

    // Redefining keeps the field and what is not given again.
    ASSERT_TRUE(record.defineField(0, nullptr, nullptr, 1, 6, "ftInteger"));
    EXPECT_STREQ(record.definedField(0)->alias(), "SRT_C");
    EXPECT_EQ(record.definedField(0)->start(), 6);
    EXPECT_EQ(record.definedField(0)->type(), KroFieldType::ftInteger);
}

TEST(KroRecord, FieldOutsideTheSlotsTellsTheOperator) {
    RecordingMessageBox box;
    KroRecord record(&box);
    defineSorter(record);

    EXPECT_EQ(record.field(4), nullptr);
    EXPECT_EQ(record.field(-2), nullptr);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].text, u"Tentativo di lettura del campo n.4");
    EXPECT_EQ(box.shown[0].caption, u"Errore!");
    EXPECT_EQ(box.shown[0].flags, 16);
    EXPECT_EQ(box.shown[1].text, u"Tentativo di lettura del campo n.-2");

    // An undefined slot inside the table is no error.
    EXPECT_EQ(record.field(2), nullptr);
    EXPECT_NE(record.field(3), nullptr);
    EXPECT_EQ(box.shown.size(), 2u);

    KroRecord silent;
    EXPECT_EQ(silent.field(0), nullptr);
}

TEST(KroRecord, AliasLookupIgnoresCaseUnlessAskedAndSkipsFieldsWithoutAlias) {
    KroRecord record;
    record.setFieldCount(5);
    record.defineField(0, "NoAlias", nullptr, 1, 1, nullptr);
    record.defineField(2, "Key", "SRT_KEY", 10, 2, nullptr);
    record.defineField(3, "Again", "srt_key", 1, 12, nullptr);
    record.defineField(4, "Empty", "", 1, 13, nullptr);

    EXPECT_EQ(record.indexOfAlias("SRT_KEY"), 2);
    EXPECT_EQ(record.indexOfAlias("Srt_Key"), 2);  // the first that matches
    EXPECT_EQ(record.indexOfAlias("NoAlias"), -1);
    EXPECT_EQ(record.indexOfAlias("SRT"), -1);
    EXPECT_EQ(record.indexOfAlias(""), 4);
    EXPECT_EQ(record.fieldByAlias("srt_key"), record.field(2));
    EXPECT_EQ(record.fieldByAlias("XYZ"), nullptr);

    record.setCaseSensitive(true);
    EXPECT_EQ(record.indexOfAlias("srt_key"), 3);
    EXPECT_EQ(record.indexOfAlias("Srt_Key"), -1);
}

TEST(KroRecord, MissingAliasThrowsTheTextNamingFieldAndRecord) {
    KroRecord record;
    defineSorter(record);
    EXPECT_EQ(thrownText(record, "XYZ"), "Campo XYZ non previsto sul record SORTER");
    EXPECT_EQ(record.fieldByAliasOrThrow("srt_t1"), record.field(1));
}

TEST(KroRecord, UnpackGivesEachFieldItsSliceBlanksIncluded) {
    KroRecord record;
    record.setFieldCount(6);
    record.defineField(0, "Beyond", "BEYOND", 3, 11, nullptr);
    record.defineField(1, "Tail", "TAIL", 5, 9, nullptr);
    record.defineField(2, "Last", "LAST", 1, 10, nullptr);
    record.defineField(3, "Blanks", "BLANKS", 4, 3, nullptr);
    record.defineField(4, "Before", "BEFORE", 2, 0, nullptr);

    record.fieldByAlias("BEYOND")->setValue("old");
    record.unpack("AB    GHIJ");  // ten characters

    EXPECT_EQ(record.fieldByAlias("BEYOND")->narrowValue(), "");
    EXPECT_EQ(record.fieldByAlias("TAIL")->narrowValue(), "IJ");
    EXPECT_EQ(record.fieldByAlias("LAST")->narrowValue(), "J");
    EXPECT_EQ(record.fieldByAlias("BLANKS")->narrowValue(), "    ");
    EXPECT_EQ(record.fieldByAlias("BEFORE")->narrowValue(), "");
}

TEST(KroRecord, ClearValuesEmptiesEveryDefinedField) {
    KroRecord record;
    defineSorter(record);
    record.unpack("S0123456789050000000703     ");
    EXPECT_EQ(record.fieldByAlias("SRT_KEY")->narrowValue(), "0123456789");
    record.clearValues();
    for (int i : {0, 1, 3}) {
        EXPECT_TRUE(record.field(i)->narrowValue().empty()) << i;
    }
}

TEST(KroRecord, SetIdReplacesTheFirstBackslashBWithABlank) {
    const struct {
        const char* written;
        const char* identifier;
    } cases[] = {
        {"A\\bB", "A B"}, {"A\\b\\bB", "A \\bB"}, {"\\b", " "}, {"S", "S"}, {"A\\", "A\\"},
    };
    for (const auto& c : cases) {
        KroRecord record;
        record.setId(c.written);
        EXPECT_EQ(record.identifier(), c.identifier) << c.written;
    }
}

TEST(KroRecord, AssignCopiesTheLayoutButNotTheValues) {
    KroRecord source;
    defineSorter(source);
    source.setId("A\\b\\bB");  // "A \bB": copied as it is, not replaced again
    source.setCaseSensitive(true);
    source.fieldByAlias("SRT_KEY")->setValue("0123456789");

    KroRecord copy;
    copy.setFieldCount(9);
    copy.assign(source);

    EXPECT_EQ(copy.identifier(), "A \\bB");
    EXPECT_EQ(copy.typeName(), "SORTER");
    EXPECT_TRUE(copy.caseSensitive());
    ASSERT_EQ(copy.count(), 4);
    EXPECT_EQ(copy.definedField(2), nullptr);
    for (int i : {0, 1, 3}) {
        const KroField* from = source.definedField(i);
        const KroField* to = copy.definedField(i);
        ASSERT_NE(to, nullptr) << i;
        EXPECT_STREQ(to->description(), from->description());
        EXPECT_STREQ(to->alias(), from->alias());
        EXPECT_EQ(to->start(), from->start());
        EXPECT_EQ(to->length(), from->length());
        EXPECT_EQ(to->type(), from->type());
        EXPECT_TRUE(to->narrowValue().empty());
    }
}

TEST(KroRecord, FieldCountBelowOneLeavesNoSlots) {
    KroRecord record;
    defineSorter(record);
    record.setFieldCount(-5);
    EXPECT_EQ(record.count(), 0);
    record.setFieldCount(3);
    EXPECT_EQ(record.count(), 3);
    record.clearFields();
    EXPECT_EQ(record.count(), 0);
    EXPECT_EQ(record.indexOfAlias("SRT_KEY"), -1);
}
