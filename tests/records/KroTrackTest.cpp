// Loading a track definition: the header keys, the record sections, the
// field lines, and the definitions that are refused.
#include "records/KroTrack.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Text.h"
#include "support/RecordingMessageBox.h"
#include "support/SorterTrack.h"
#include "support/TempDir.h"
#include "support/TestEnv.h"

namespace {

constexpr const char* kEnd = "\r\n";

// The text with the first occurrence of from replaced by to.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string lines(std::initializer_list<std::string> texts) {
    std::string bytes;
    for (const std::string& text : texts) {
        bytes += text + kEnd;
    }
    return bytes;
}

// A header with everything but the sections.
std::string header(const std::string& types = "1", const std::string& recordLength = "30",
                   const std::string& idPos = "1") {
    return lines({"[TRACK]", "TRK_NAME=TEST", "TYPES=" + types, "ID_POS=" + idPos,
                  "REC_LEN=" + recordLength, "VAR_LEN=0"});
}

class TrackLoad : public ::testing::Test {
protected:
    bool load(const std::string& bytes) { return track.load(dir.write("test.trk", bytes)); }
    bool refusedWithBitNine(const std::string& bytes) {
        return !load(bytes) && track.status().test(KroTrack::kDefinitionIncompleteBit) &&
               !track.loaded();
    }

    TempDir dir;
    RecordingMessageBox box;
    KroTrack track{&box};
};

// An Env on which every stream fails to open.
class NoStreamEnv : public TestEnv {
public:
    std::FILE* openStream(const std::string&, const char*) override { return nullptr; }
};

}  // namespace

TEST(KroTrack, StartsAsARecordFileWithLineEndsAndNoTypes) {
    KroTrack track;
    EXPECT_STREQ(track.name(), "KroTrack");
    EXPECT_TRUE(track.hasLineEnd());
    EXPECT_EQ(track.status().value(), 0x7u);
    EXPECT_EQ(track.typeCount(), -1);
    EXPECT_EQ(track.activeType(), -1);
    EXPECT_FALSE(track.variable());
    EXPECT_FALSE(track.loaded());
}

TEST(KroTrack, NamesItsOwnBitsAndKeepsThoseOfTheRecordFile) {
    const struct {
        int bit;
        const char* text;
    } cases[] = {
        {8, "Impossibile aprire il file tracciato"},
        {9, "Interruzione inattesa del file tracciato"},
        {10, "Tipo record non definito sul tracciato"},
        {11, "Il record letto non \xE8 stato dichiarato"},
        {12, "Trovato Carriage return senza Line Feed"},
        {13, "Il file non contiene un numero finito di record"},
        {0, "Nessun file aperto "},
        {3, "File I/O error "},
        {14, "Errore non definito "},
    };
    KroTrack track;
    for (const auto& c : cases) {
        EXPECT_STREQ(track.errorText(c.bit), c.text) << c.bit;
        EXPECT_EQ(track.errorTextW(c.bit), text::toWide(c.text)) << c.bit;
    }
    const std::u16string accented = u"Il record letto non è stato dichiarato";
    EXPECT_EQ(track.errorTextW(11), accented);
}

TEST_F(TrackLoad, ReadsTheSorterLayout) {
    ASSERT_TRUE(track.load(writeSorterTrack(dir.path())));
    EXPECT_TRUE(track.loaded());
    EXPECT_EQ(track.status().value(), 1u);  // only: no flow file named yet
    EXPECT_EQ(track.trackName(), "SORTER");
    EXPECT_EQ(track.typeCount(), 1);
    EXPECT_EQ(track.idPos(), 1);
    EXPECT_EQ(track.idLen(), 1);
    EXPECT_EQ(track.recordLength(), 30);
    EXPECT_FALSE(track.variable());

    KroRecord* sorter = track.recordType(0);
    ASSERT_NE(sorter, nullptr);
    EXPECT_EQ(sorter->typeName(), "SORTER");
    EXPECT_EQ(sorter->identifier(), "S");
    ASSERT_EQ(sorter->count(), 6);
    const SorterTrackFields expected;
    for (int i = 0; i < 6; ++i) {
        const KroField* field = sorter->definedField(i);
        ASSERT_NE(field, nullptr) << i;
        const TrackFieldLine& line = expected.fields[static_cast<std::size_t>(i)];
        EXPECT_EQ(field->start(), line.start) << i;
        EXPECT_EQ(field->length(), line.length) << i;
        EXPECT_STREQ(field->description(), line.description.c_str()) << i;
        EXPECT_STREQ(field->alias(), line.alias.c_str()) << i;
        EXPECT_EQ(field->type(), KroFieldType::ftString) << i;
    }
    EXPECT_EQ(track.recordType(1), nullptr);
    EXPECT_EQ(track.activeType(), -1);
}

TEST_F(TrackLoad, MissingFileIsNoErrorButUnreadableOneSetsBitEight) {
    EXPECT_FALSE(track.load(dir.file("absent.trk")));
    EXPECT_FALSE(track.load(""));
    EXPECT_EQ(track.status().value(), 0x7u);

    NoStreamEnv env;
    KroTrack locked(nullptr, &env);
    EXPECT_FALSE(locked.load(writeSorterTrack(dir.path())));
    EXPECT_TRUE(locked.status().test(KroTrack::kDefinitionUnreadableBit));

    // A folder of that name exists but is no file.
    EXPECT_FALSE(track.load(dir.path()));
    EXPECT_TRUE(track.status().test(KroTrack::kDefinitionUnreadableBit));
    EXPECT_TRUE(track.load(writeSorterTrack(dir.path())));
    EXPECT_FALSE(track.status().test(KroTrack::kDefinitionUnreadableBit));
}

TEST_F(TrackLoad, HeaderEndsAtTheFirstSectionOnceTheFourKeysAreThere) {
    SorterTrackFields noVariableKey;
    noVariableKey.withVariableKey = false;
    EXPECT_TRUE(load(sorterTrackDefinition(noVariableKey)));
    EXPECT_EQ(track.recordType(0)->count(), 6);

    // The same with lines ended by LF alone: the section is read again from
    // where it starts.
    noVariableKey.lineEnd = "\n";
    EXPECT_TRUE(load(sorterTrackDefinition(noVariableKey)));
    EXPECT_EQ(track.recordType(0)->typeName(), "SORTER");

    // Without ID_POS the header never ends.
    EXPECT_TRUE(refusedWithBitNine(replaced(sorterTrackDefinition(), "ID_POS=1\r\n", "")));
}

TEST_F(TrackLoad, HeaderKeysAreFoundInTheKeyText) {
    const std::string definition = sorterTrackDefinition();
    // Case counts: a lower-case key is ignored.
    ASSERT_TRUE(load(replaced(definition, "TYPES=1\r\n", "TYPES=1\r\ntrk_name=lower\r\n")));
    EXPECT_EQ(track.trackName(), "SORTER");
    // NAME is part of TRK_NAME=.
    ASSERT_TRUE(load(replaced(definition, "TRK_NAME=SORTER", "NAME=Selezione guida")));
    EXPECT_EQ(track.trackName(), "Selezione guida");
    // The last value of a key counts; unknown keys and comments are ignored.
    ASSERT_TRUE(
        load(replaced(definition, "TYPES=1\r\n",
                      "TYPES=7\r\nOWNER=X\r\n; TYPES=9\r\n TYPES=9\r\nno key\r\nTYPES=1\r\n")));
    EXPECT_EQ(track.typeCount(), 1);
    // Numbers: leading blanks and sign, up to the first non-digit.
    ASSERT_TRUE(load(replaced(definition, "REC_LEN=30", "REC_LEN= +32 characters")));
    EXPECT_EQ(track.recordLength(), 32);
    ASSERT_TRUE(load(replaced(definition, "VAR_LEN=0", "VAR_LEN=1")));
    EXPECT_TRUE(track.variable());
}

TEST_F(TrackLoad, RefusesAbsurdHeaderNumbersWithBitNine) {
    const std::string definition = sorterTrackDefinition();
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        {"TYPES=1", "TYPES=0"},
        {"TYPES=1", "TYPES=-5"},
        {"TYPES=1", "TYPES=999999999"},
        {"TYPES=1", "TYPES=x"},
        {"REC_LEN=30", "REC_LEN=-5"},
        {"REC_LEN=30", "REC_LEN=0"},
        {"REC_LEN=30", "REC_LEN=999999999"},
        {"REC_LEN=30", "REC_LEN=65536"},
        {"REC_LEN=30", "REC_LEN=99999999999999999999999"},
        {"ID_POS=1", "ID_POS=-1"},
        {"ID_POS=1", "ID_POS=31"},
        {"ID_POS=1", "ID_POS=999999999999"},
    };
    for (const auto& c : cases) {
        KroTrack fresh;
        EXPECT_FALSE(fresh.load(dir.write("absurd.trk", replaced(definition, c.from, c.to))))
            << c.to;
        EXPECT_TRUE(fresh.status().test(KroTrack::kDefinitionIncompleteBit)) << c.to;
        EXPECT_FALSE(fresh.loaded()) << c.to;
    }
}

TEST_F(TrackLoad, AcceptsTheEdgesOfTheHeaderNumbers) {
    const std::string definition = sorterTrackDefinition();
    ASSERT_TRUE(load(replaced(definition, "REC_LEN=30", "REC_LEN=65535")));
    EXPECT_EQ(track.recordLength(), 65535);
    ASSERT_TRUE(load(replaced(definition, "ID_POS=1", "ID_POS=30")));
    ASSERT_TRUE(load(replaced(definition, "ID_POS=1", "ID_POS=0")));  // no identifier written
    EXPECT_EQ(track.idPos(), 0);
}

TEST_F(TrackLoad, RefusesIncompleteDefinitionsWithBitNine) {
    const std::string definition = sorterTrackDefinition();
    EXPECT_TRUE(refusedWithBitNine(""));
    EXPECT_TRUE(refusedWithBitNine(header()));  // no section
    EXPECT_TRUE(refusedWithBitNine(header("2") + definition.substr(definition.find("[REC_01]"))));
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "FIELDS=6", "FIELDS=7")));
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "REC_ID=S\r\n", "")));
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "[REC_01]", "[REC_1]")));
    // A Ctrl-Z ends the file.
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "FIELDS=6\r\n", "FIELDS=6\r\n\x1A")));
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "FIELDS=6", "FIELDS=-1")));
    EXPECT_TRUE(refusedWithBitNine(replaced(definition, "FIELDS=6", "FIELDS=999999999")));
}

TEST_F(TrackLoad, FailedLoadIsForgottenByTheNextGoodOne) {
    EXPECT_FALSE(load(header("0")));
    ASSERT_TRUE(load(sorterTrackDefinition()));
    EXPECT_FALSE(track.status().test(KroTrack::kDefinitionIncompleteBit));
    EXPECT_TRUE(track.loaded());
}

TEST_F(TrackLoad, ReloadingReplacesTheTypesAndForgetsTheVariableFlag) {
    const std::string twoTypes =
        lines({"TRK_NAME=LINES", "TYPES=2", "ID_POS=1", "REC_LEN=20", "VAR_LEN=1", "[REC_01]",
               "REC_NAME=HEAD", "REC_ID=H", "FIELDS=0", "[REC_02]", "REC_NAME=BODY", "REC_ID=B",
               "FIELDS=0"});
    ASSERT_TRUE(load(twoTypes));
    EXPECT_EQ(track.typeCount(), 2);
    EXPECT_TRUE(track.variable());
    EXPECT_EQ(track.recordType(1)->typeName(), "BODY");

    SorterTrackFields noVariableKey;
    noVariableKey.withVariableKey = false;
    ASSERT_TRUE(load(sorterTrackDefinition(noVariableKey)));
    EXPECT_EQ(track.typeCount(), 1);
    EXPECT_FALSE(track.variable());
    EXPECT_EQ(track.recordType(0)->typeName(), "SORTER");
}

TEST_F(TrackLoad, SectionKeysComeInAnyOrderAndTheIdentifierMayHoldABlank) {
    const std::string definition =
        header("2", "30", "1") +
        lines({"[REC_01]", "; a comment", "FIELDS=1", "REC_ID=A\\b", " REC_NAME=skipped",
               "REC_NAME=FIRST", "1) 0003 0002 Code ALIAS=CODE", "[REC_02]", "REC_ID=\\bB",
               "REC_NAME=SECOND", "FIELDS=0"});
    ASSERT_TRUE(load(definition));
    EXPECT_EQ(track.recordType(0)->typeName(), "FIRST");
    EXPECT_EQ(track.recordType(0)->identifier(), "A ");
    EXPECT_EQ(track.recordType(1)->identifier(), " B");
    EXPECT_EQ(track.idLen(), 2);  // the blank counts once
    EXPECT_EQ(track.recordType(1)->count(), 0);
}

TEST_F(TrackLoad, FieldLinesDefineTheirSlotsOrLeaveThemUndefined) {
    const std::string definition =
        header() + lines({"[REC_01]", "REC_NAME=SORTER", "REC_ID=S", "FIELDS=8",
                          "1) 0002 0010 Key ALIAS=SRT_KEY TYPE=ftString",
                          "between field lines a line not beginning with a digit is ignored",
                          "2) 0012 0002 Pocket ALIAS=SRT_T1",             // no type: ftString
                          "3) 0010 0005",                                 // three items
                          "4) 0014 0002 Date ALIAS=DATE TYPE=ftDate x",   // not a type name
                          "5)\t0016\t0002\tTabbed\tALIAS=TABBED TYPE=9",  // tabs read as blanks
                          "6) 0029 0002 End ALIAS=END",                   // ends at 30
                          "7) 0029 0003 Over ALIAS=OVER",                 // beyond the record
                          "8) 0000 0001 Zero ALIAS=ZERO"});               // before the record
    ASSERT_TRUE(load(definition));
    KroRecord& sorter = *track.recordType(0);
    ASSERT_EQ(sorter.count(), 8);
    EXPECT_EQ(sorter.indexOfAlias("SRT_KEY"), 0);
    EXPECT_EQ(sorter.definedField(1)->type(), KroFieldType::ftString);
    EXPECT_EQ(sorter.definedField(2), nullptr);
    EXPECT_EQ(sorter.definedField(3)->type(), KroFieldType::ftUnknown);
    EXPECT_STREQ(sorter.definedField(4)->alias(), "TABBED");
    EXPECT_EQ(sorter.definedField(4)->type(), KroFieldType::ftDate);
    EXPECT_EQ(sorter.definedField(4)->start(), 16);
    EXPECT_EQ(sorter.indexOfAlias("END"), 5);
    EXPECT_EQ(sorter.definedField(6), nullptr);
    EXPECT_EQ(sorter.definedField(7), nullptr);
}

TEST_F(TrackLoad, LinesComeInPiecesOf134Characters) {
    const std::string longName(140, 'N');
    ASSERT_TRUE(load(replaced(sorterTrackDefinition(), "TRK_NAME=SORTER", "TRK_NAME=" + longName)));
    EXPECT_EQ(track.trackName(), std::string(125, 'N'));

    // The rest of a long comment is a line of its own.
    const std::string comment = ";" + std::string(133, '-') + "TYPES=2";
    EXPECT_TRUE(refusedWithBitNine(
        replaced(sorterTrackDefinition(), "ID_POS=1", comment + kEnd + "ID_POS=1")));
}
