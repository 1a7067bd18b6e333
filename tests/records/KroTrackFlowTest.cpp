// The flow file laid out by a track: new records by type, packing by alias,
// opening with line ends detected, reading records back with their type.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "records/KroTrack.h"
#include "support/RecordingMessageBox.h"
#include "support/SorterTrack.h"
#include "support/TempDir.h"

namespace {

const std::string kBlankSorter = "S" + std::string(29, ' ');

std::string lines(std::initializer_list<std::string> texts) {
    std::string bytes;
    for (const std::string& text : texts) {
        bytes += text + "\r\n";
    }
    return bytes;
}

// Two types told apart by a two-character identifier at position 3; the
// first has a constant "V1" at 5-6.
std::string twoTypeDefinition() {
    return lines({"[TRACK]", "TRK_NAME=DOUBLE", "TYPES=2", "ID_POS=3", "REC_LEN=12", "[REC_01]",
                  "REC_NAME=HEAD", "REC_ID=HD", "FIELDS=2", "1) 0005 0002 \"V1\" ALIAS=VERSION",
                  "2) 0007 0006 Job ALIAS=JOB", "[REC_02]", "REC_NAME=BODY", "REC_ID=BD",
                  "FIELDS=2", "1) 0001 0002 Seq ALIAS=SEQ", "2) 0005 0008 Amount ALIAS=AMOUNT"});
}

std::string activeText(KroTrack& track, const char* alias) {
    return track.activeRecord().fieldByAliasOrThrow(alias)->narrowValue();
}

std::string bufferText(const KroTrack& track) {
    return std::string(track.buffer(), static_cast<std::size_t>(track.recordLength()));
}

void setValue(KroTrack& track, const char* alias, const std::string& value) {
    track.activeRecord().fieldByAliasOrThrow(alias)->setValue(value);
}

class SorterFlow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(track.load(writeSorterTrack(dir.path()))); }

    // Opens a flow file through the track; the file is written first when bytes are given.
    bool openFlow(int mode, const std::string* bytes = nullptr) {
        const std::string path =
            bytes != nullptr ? dir.write("flow.NST", *bytes) : dir.file("flow.NST");
        return track.open(path.c_str(), mode);
    }

    void writeSorter(const std::string& key, const std::string& t1, const std::string& t2,
                     const std::string& t3, const std::string& t4, const std::string& stamp) {
        ASSERT_TRUE(track.selectByName("SORTER"));
        setValue(track, "SRT_KEY", key);
        setValue(track, "SRT_T1", t1);
        setValue(track, "SRT_T2", t2);
        setValue(track, "SRT_T3", t3);
        setValue(track, "SRT_T4", t4);
        if (!stamp.empty()) {
            setValue(track, "SRT_STAMP_NO", stamp);
        }
        ASSERT_TRUE(track.writeActive(-1));
    }

    TempDir dir;
    RecordingMessageBox box;
    KroTrack track{&box};
};

}  // namespace

TEST_F(SorterFlow, WritesRecordsByteForByteAndReadsThemBack) {
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    writeSorter("0123456789", "05", "00", "00", "00", "2");
    writeSorter("42", "24", "00", "00", "00", "");
    writeSorter("987654321012", "120", "03", "04", "05", "17");  // cut to the fields
    track.close();

    const std::string expected = sorterFlowRecord("0123456789", "05", "00", "00", "00", "2") +
                                 sorterFlowRecord("42", "24", "00", "00", "00") +
                                 sorterFlowRecord("9876543210", "12", "03", "04", "05", "17");
    ASSERT_EQ(readBytes(dir.file("flow.NST")), expected);

    ASSERT_TRUE(openFlow(KroFile::kReadOnly));
    EXPECT_EQ(track.recordCount(), 3);
    const struct {
        const char* key;
        const char* t1;
        const char* stamp;
    } records[] = {
        {"0123456789", "05", "2 "}, {"42        ", "24", "  "}, {"9876543210", "12", "17"}};
    for (const auto& record : records) {
        ASSERT_TRUE(track.readRecord(-1)) << record.key;
        EXPECT_EQ(track.activeType(), 0);
        EXPECT_EQ(activeText(track, "SRT_KEY"), record.key);
        EXPECT_EQ(activeText(track, "SRT_T1"), record.t1);
        EXPECT_EQ(activeText(track, "SRT_T2").size(), 2u);
        EXPECT_EQ(activeText(track, "SRT_STAMP_NO"), record.stamp);
    }
    EXPECT_FALSE(track.readRecord(-1));
    EXPECT_TRUE(track.atEof());
    ASSERT_TRUE(track.readRecord(1));
    EXPECT_EQ(activeText(track, "SRT_T1"), "24");
}

TEST_F(SorterFlow, ANewRecordHoldsOnlyItsIdentifier) {
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    EXPECT_THROW(track.activeRecord(), std::runtime_error);
    ASSERT_TRUE(track.selectByName("sorter"));  // case ignored
    EXPECT_EQ(bufferText(track), kBlankSorter);
    setValue(track, "SRT_KEY", "   ");  // blank values leave the buffer alone
    ASSERT_TRUE(track.writeActive(-1));
    ASSERT_TRUE(track.selectByName("s"));  // by identifier
    for (const char* alias : {"SRT_KEY", "SRT_T1", "SRT_STAMP_NO"}) {
        EXPECT_TRUE(activeText(track, alias).empty()) << alias;
    }
    ASSERT_TRUE(track.writeActiveFilled(-1, '*'));
    track.close();
    EXPECT_EQ(readBytes(dir.file("flow.NST")),
              kBlankSorter + "\r\n" + "*" + std::string(29, ' ') + "\r\n");
}

TEST_F(SorterFlow, NoActiveRecordThrowsItsText) {
    try {
        track.activeRecord();
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Nessun record attivo: operazione non valida");
    }
    EXPECT_FALSE(track.writeActive(-1));
}

TEST_F(SorterFlow, AnUnknownNameChangesNothingAndSaysSo) {
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    ASSERT_TRUE(track.selectByName("SORTER"));
    setValue(track, "SRT_KEY", "KEEP");
    EXPECT_FALSE(track.selectByName("GUIDA"));
    EXPECT_EQ(track.activeType(), 0);
    EXPECT_EQ(activeText(track, "SRT_KEY"), "KEEP");
    EXPECT_FALSE(track.prepareRecord(1));
    EXPECT_FALSE(track.prepareRecord(-1));
    EXPECT_FALSE(track.selectType(1));
}

TEST_F(SorterFlow, MissingAliasThrowsTheFieldText) {
    SorterTrackFields withoutT4;
    withoutT4.fields.erase(withoutT4.fields.begin() + 4);
    ASSERT_TRUE(track.load(writeSorterTrack(dir.path(), withoutT4)));
    ASSERT_TRUE(track.selectByName("SORTER"));
    try {
        setValue(track, "SRT_T4", "02");
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Campo SRT_T4 non previsto sul record SORTER");
    }
    EXPECT_EQ(track.activeRecord().fieldByAlias("SRT_STAMP_NO")->start(), 20);
}

TEST_F(SorterFlow, OpeningCountsWholeRecordsWithTheirLineEnds) {
    const std::string three = sorterFlowRecord("1", "02", "02", "02", "02") +
                              sorterFlowRecord("2", "03", "03", "03", "03") +
                              sorterFlowRecord("3", "04", "04", "04", "04");
    ASSERT_EQ(three.size(), 96u);
    const std::string withMark = three + "\x1A";
    const std::string shortOne = three.substr(0, 95);

    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &three));
    EXPECT_EQ(track.recordCount(), 3);
    EXPECT_FALSE(track.variable());
    EXPECT_TRUE(track.hasLineEnd());

    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &withMark));
    EXPECT_EQ(track.recordCount(), 3);
    EXPECT_FALSE(track.variable());

    // Not whole records but lines: read as lines.
    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &shortOne));
    EXPECT_TRUE(track.variable());
    EXPECT_FALSE(track.status().test(KroTrack::kNotWholeRecordsBit));
    int read = 0;
    while (track.readRecord(-1)) {
        ++read;
        EXPECT_EQ(activeText(track, "SRT_KEY").substr(0, 1), std::to_string(read));
    }
    EXPECT_EQ(read, 3);
}

TEST_F(SorterFlow, RecordsWithoutLineEndsMustBeWhole) {
    std::string bare = kBlankSorter + kBlankSorter + kBlankSorter;
    bare[1] = '7';
    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &bare));
    EXPECT_FALSE(track.hasLineEnd());
    EXPECT_EQ(track.recordCount(), 3);
    ASSERT_TRUE(track.readRecord(0));
    EXPECT_EQ(activeText(track, "SRT_KEY"), "7         ");

    const std::string broken = bare.substr(0, 89);
    EXPECT_FALSE(openFlow(KroFile::kReadOnly, &broken));
    EXPECT_TRUE(track.status().test(KroTrack::kNotWholeRecordsBit));
    EXPECT_FALSE(track.isOpen());

    // The next file opened starts afresh: bit 13 goes, CR LF records again.
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    EXPECT_FALSE(track.status().test(KroTrack::kNotWholeRecordsBit));
    EXPECT_TRUE(track.hasLineEnd());
    writeSorter("1", "02", "00", "00", "00", "");
    track.close();
    EXPECT_EQ(readBytes(dir.file("flow.NST")), sorterFlowRecord("1", "02", "00", "00", "00"));
}

TEST_F(SorterFlow, LinesEndedByLineFeedAloneAreReadAsLines) {
    const std::string lfOnly = "S11        02\n\nS22        03\nS33        04\n";
    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &lfOnly));
    EXPECT_TRUE(track.variable());
    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_EQ(activeText(track, "SRT_KEY"), "11        ");
    EXPECT_EQ(activeText(track, "SRT_T1"), "02");
    EXPECT_EQ(activeText(track, "SRT_T2"), "");  // the line ends before it
    ASSERT_TRUE(track.readRecord(-1));           // the empty line is passed over
    EXPECT_EQ(activeText(track, "SRT_T1"), "03");
    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_EQ(activeText(track, "SRT_T1"), "04");
    EXPECT_FALSE(track.readRecord(-1));
}

TEST_F(SorterFlow, ShortOrEmptyFilesOpenAsTheyAre) {
    const std::string empty;
    ASSERT_TRUE(openFlow(KroFile::kOpenOrCreate, &empty));
    EXPECT_FALSE(track.readRecord(-1));
    const std::string partial = "S123";
    ASSERT_TRUE(openFlow(KroFile::kReadOnly, &partial));
    EXPECT_FALSE(track.readRecord(-1));
}

TEST_F(SorterFlow, AppendingThroughTheTrackKeepsTheRecordsThere) {
    const std::string one = sorterFlowRecord("1", "02", "00", "00", "00");
    ASSERT_TRUE(openFlow(KroFile::kAppend, &one));
    writeSorter("2", "03", "00", "00", "00", "");
    track.close();
    EXPECT_EQ(readBytes(dir.file("flow.NST")), one + sorterFlowRecord("2", "03", "00", "00", "00"));
}

TEST_F(SorterFlow, ClearingTheBufferOfASingleTypeMakesItActive) {
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    ASSERT_TRUE(track.selectByName("SORTER"));
    setValue(track, "SRT_KEY", "X");
    track.clearBuffer();
    EXPECT_EQ(track.activeType(), 0);
    EXPECT_TRUE(activeText(track, "SRT_KEY").empty());
    EXPECT_EQ(bufferText(track), std::string(30, ' '));
}

TEST_F(SorterFlow, AValueThatCannotBePlacedIsNotWrittenSilently) {
    ASSERT_TRUE(openFlow(KroFile::kCreate));
    ASSERT_TRUE(track.selectByName("SORTER"));
    KroRecord& sorter = track.activeRecord();
    sorter.setFieldCount(1);
    sorter.defineField(0, "Wide", "WIDE", 5, 28, nullptr);  // 28-32 on a 30-character record
    sorter.field(0)->setValue("ABCDE");
    EXPECT_FALSE(track.writeActive(-1));
    EXPECT_TRUE(track.status().test(KroFile::kBeyondRecordBit));
    track.close();
    EXPECT_FALSE(fileExists(dir.file("flow.NST")));  // nothing written: removed
}

TEST(KroTrackTypes, ReadingRecognisesEachTypeByItsIdentifier) {
    TempDir dir;
    KroTrack track;
    ASSERT_TRUE(track.load(dir.write("double.trk", twoTypeDefinition())));
    ASSERT_TRUE(track.open(dir.file("double.flow").c_str(), KroFile::kCreate));

    ASSERT_TRUE(track.selectByName("head"));
    EXPECT_EQ(std::string(track.buffer(), 12), "  HD        ");
    EXPECT_EQ(activeText(track, "VERSION"), "V1");  // the constant, packed on writing
    setValue(track, "JOB", "EFF01");
    ASSERT_TRUE(track.writeActive(-1));
    ASSERT_TRUE(track.selectByName("BD"));
    setValue(track, "SEQ", "01");
    setValue(track, "AMOUNT", "00012345");
    ASSERT_TRUE(track.writeActive(-1));
    track.close();
    const std::string written = readBytes(dir.file("double.flow"));
    EXPECT_EQ(written, lines({"  HDV1EFF01 ", "01BD00012345"}));

    const std::string withUnknown = written + lines({"01XX00000000"}) + lines({"02BD00000007"});
    ASSERT_TRUE(track.open(dir.write("double.flow", withUnknown).c_str(), KroFile::kReadOnly));
    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_EQ(track.activeType(), 0);
    EXPECT_EQ(activeText(track, "JOB"), "EFF01 ");
    EXPECT_EQ(activeText(track, "VERSION"), "V1");
    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_EQ(track.activeType(), 1);
    EXPECT_EQ(activeText(track, "AMOUNT"), "00012345");

    EXPECT_FALSE(track.readRecord(-1));
    EXPECT_TRUE(track.status().test(KroTrack::kUndeclaredRecordBit));
    EXPECT_EQ(track.activeType(), -1);
    EXPECT_THROW(track.activeRecord(), std::runtime_error);

    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_FALSE(track.status().test(KroTrack::kUndeclaredRecordBit));
    EXPECT_EQ(activeText(track, "SEQ"), "02");

    track.clearBuffer();  // two types: none active
    EXPECT_EQ(track.activeType(), -1);
}

TEST(KroTrackTypes, AnIdentifierWithABlankIsWrittenAndRecognisedAsOneBlank) {
    TempDir dir;
    KroTrack track;
    const std::string definition =
        lines({"TRK_NAME=B", "TYPES=2", "ID_POS=1", "REC_LEN=6", "[REC_01]", "REC_NAME=ONE",
               "REC_ID=A\\b", "FIELDS=1", "1) 0003 0004 Rest ALIAS=REST", "[REC_02]",
               "REC_NAME=TWO", "REC_ID=AB", "FIELDS=1", "1) 0003 0004 Rest ALIAS=REST"});
    ASSERT_TRUE(track.load(dir.write("blank.trk", definition)));
    ASSERT_TRUE(track.open(dir.file("blank.flow").c_str(), KroFile::kCreate));
    ASSERT_TRUE(track.selectByName("ONE"));
    setValue(track, "REST", "1234");
    ASSERT_TRUE(track.writeActive(-1));
    track.close();
    ASSERT_EQ(readBytes(dir.file("blank.flow")), "A 1234\r\n");

    ASSERT_TRUE(track.open(dir.file("blank.flow").c_str(), KroFile::kReadOnly));
    ASSERT_TRUE(track.readRecord(-1));
    EXPECT_EQ(track.activeType(), 0);
}
