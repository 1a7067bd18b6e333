// The record file: naming, opening modes, counting, the record buffer,
// records, positioning, write failures.
#include "records/KroFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/StatusReport.h"
#include "core/Text.h"
#include "records/KroFileTestSupport.h"
#include "support/TempDir.h"

namespace {

constexpr uint32_t kConstructionBits = 0x7;  // no file, no record length, no buffer

std::string recordText(const KroFile& file) {
    return std::string(file.buffer());
}

}  // namespace

// ---- construction, texts, naming ----

TEST(KroFile, StartsClosedWithItsThreeConditionBitsAndTheirReport) {
    KroFile file(true);
    EXPECT_EQ(file.status().value(), kConstructionBits);
    EXPECT_STREQ(file.name(), "KroFile");
    EXPECT_EQ(file.mode(), KroFile::kOpenOrCreate);
    EXPECT_EQ(file.recordCount(), -1);
    EXPECT_EQ(file.encoding(), 0);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.buffer(), nullptr);
    EXPECT_EQ(statusReportText(file, 0),
              u"Status: KroFile\r\n\r\n"
              u"Bit 00) Nessun file aperto \r\n"
              u"Bit 01) Lungh. rec. indefinita \r\n"
              u"Bit 02) Record non allocato \r\n");
}

TEST(KroFile, NamesEachBitWithTrailingBlanks) {
    const struct {
        int bit;
        const char* text;
    } cases[] = {
        {0, "Nessun file aperto "},   {1, "Lungh. rec. indefinita "}, {2, "Record non allocato "},
        {3, "File I/O error "},       {4, "Posizionam. sul File "},   {5, "Errore non definito "},
        {6, "Errore non definito "},  {7, "Errore non definito "},    {31, "Errore non definito "},
        {40, "Errore non definito "},
    };
    KroFile file(true);
    for (const auto& c : cases) {
        EXPECT_STREQ(file.errorText(c.bit), c.text) << c.bit;
        EXPECT_EQ(file.errorTextW(c.bit), text::toWide(c.text)) << c.bit;
    }
}

TEST(KroFile, FileNameSetsAndClearsBitZeroAndIsIgnoredWhileOpen) {
    TempDir dir;
    KroFile file(true);
    file.setFileName(dir.file("A.TXT"));
    EXPECT_FALSE(file.status().test(KroFile::kNoFileBit));
    file.setFileName("");
    EXPECT_TRUE(file.status().test(KroFile::kNoFileBit));
    EXPECT_EQ(file.fileName(), "");
    file.setFileName(dir.file("B.TXT"));
    file.setFileName(static_cast<const char*>(nullptr));
    EXPECT_TRUE(file.status().test(KroFile::kNoFileBit));

    const std::u16string wide = text::toWide(dir.file("")) + u"citt\u00E0.txt";
    file.setFileName(wide);
    EXPECT_EQ(file.fileName(), dir.file("citt\xE0.txt"));
    ASSERT_TRUE(file.open(nullptr, KroFile::kOpenOrCreate));
    file.setFileName(dir.file("OTHER.TXT"));
    EXPECT_EQ(file.fileName(), dir.file("citt\xE0.txt"));
}

TEST(KroFile, ModeOutsideTheFiveBecomesOpenOrCreate) {
    const struct {
        int given;
        int stored;
    } cases[] = {{0, 0}, {3, 3}, {4, 4}, {5, 2}, {-1, 2}, {99, 2}};
    KroFile file(true);
    for (const auto& c : cases) {
        file.setMode(c.given);
        EXPECT_EQ(file.mode(), c.stored) << c.given;
    }
}

// ---- opening ----

TEST(KroFile, EachModeOpensWithItsStreamModeOrFails) {
    const struct {
        int mode;
        bool exists;
        const char* streamMode;  // nullptr: the open fails before any stream
    } cases[] = {
        {0, true, "rb+"}, {0, false, nullptr}, {1, true, "wb+"}, {1, false, "wb+"},
        {2, true, "rb+"}, {2, false, "wb+"},   {3, true, "rb"},  {3, false, nullptr},
        {4, true, "rb+"}, {4, false, "wb+"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " exists " << c.exists);
        TempDir dir;
        StreamEnv env;
        const std::string path = dir.file("F.DAT");
        if (c.exists) {
            dir.write("F.DAT", "ABCD\r\n");
        }
        KroFile file(true, &env);
        file.setRecordLength(4);
        EXPECT_EQ(file.open(path.c_str(), c.mode), c.streamMode != nullptr);
        EXPECT_EQ(file.isOpen(), c.streamMode != nullptr);
        EXPECT_EQ(file.status().value(), 0u);  // the name clears bit 0; a failure sets none
        if (c.streamMode != nullptr) {
            ASSERT_FALSE(env.requestedModes.empty());
            EXPECT_EQ(env.requestedModes.front(), c.streamMode);
            EXPECT_EQ(file.fileSize(), c.exists && c.mode != 1 ? 6 : 0);
        } else {
            EXPECT_TRUE(env.requestedModes.empty());
            EXPECT_FALSE(fileExists(path));
        }
    }
}

TEST(KroFile, OpenOrThrowCarriesTheFileNameInItsTexts) {
    TempDir dir;
    KroFile file(true);
    try {
        file.openOrThrow(true);
        ADD_FAILURE() << "no exception without a name";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Nome del file \r\n non valido");
    }
    const std::string missing = dir.file("MANCA.DAT");
    for (int mode : {KroFile::kUpdate, KroFile::kReadOnly}) {
        file.setMode(mode);
        file.setFileName(missing);
        try {
            file.openOrThrow(true);
            ADD_FAILURE() << "no exception for mode " << mode;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "Apertura di " + missing + "\r\n non riuscita");
        }
        EXPECT_EQ(file.status().value(), kConstructionBits & ~1u);
    }
    const std::string present = dir.write("C.DAT", "x");
    file.setFileName(present);
    EXPECT_NO_THROW(file.openOrThrow(true));
    EXPECT_TRUE(file.isOpen());
    file.openOrThrow(false);
    EXPECT_FALSE(file.isOpen());
}

TEST(KroFile, EmptyFileIsRemovedOnClosingUnlessOpenedReadOnly) {
    const struct {
        int mode;
        bool existsBefore;
        bool keptAfterClose;
    } cases[] = {
        {KroFile::kCreate, false, false},      {KroFile::kCreate, true, false},
        {KroFile::kOpenOrCreate, true, false}, {KroFile::kUpdate, true, false},
        {KroFile::kReadOnly, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        TempDir dir;
        const std::string path = dir.file("VUOTO.DAT");
        if (c.existsBefore) {
            dir.write("VUOTO.DAT", "");
        }
        {
            KroFile file(true);
            ASSERT_TRUE(file.open(path.c_str(), c.mode));
            EXPECT_TRUE(fileExists(path));
            if (c.mode == KroFile::kCreate) {
                file.close();
            }
        }  // the others close on destruction
        EXPECT_EQ(fileExists(path), c.keptAfterClose);
    }
}

TEST(KroFile, OpeningWithoutANameUsesTheModeGivenNotAStaleOne) {
    TempDir dir;
    const std::string path = dir.write("DATI.DAT", "ABCD\r\n");
    KroFile file(true);
    file.setRecordLength(4);
    file.setMode(KroFile::kCreate);
    file.setFileName(path);
    ASSERT_TRUE(file.open(nullptr, KroFile::kReadOnly));
    EXPECT_EQ(file.mode(), KroFile::kReadOnly);
    EXPECT_EQ(file.fileSize(), 6);
    file.clearBuffer();
    EXPECT_FALSE(file.writeRecord(-1));
    EXPECT_FALSE(file.writeLine(false));
    file.close();
    EXPECT_EQ(readBytes(path), "ABCD\r\n");
}

TEST(KroFile, ReopeningAFileLeftEmptySucceeds) {
    TempDir dir;
    const std::string path = dir.file("NUOVO.DAT");
    KroFile file(true);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kOpenOrCreate));
    // Reopening closes first, which removes the empty file; it is created again.
    EXPECT_TRUE(file.open(nullptr, KroFile::kOpenOrCreate));
    EXPECT_TRUE(fileExists(path));
}

TEST(KroFile, ModeFourRefusesAFileThatIsNotWholeRecords) {
    const std::string cases[] = {
        letterRecords(3, 30, true) + "\r\n",  // two bytes too many
        letterRecords(3, 30, true) + "X",     // one stray byte that is not the mark
    };
    for (const std::string& bytes : cases) {
        TempDir dir;
        const std::string path = dir.write("FLUSSO.NST", bytes);
        KroFile file(true);
        file.setRecordLength(30);
        EXPECT_FALSE(file.open(path.c_str(), KroFile::kAppend));
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(readBytes(path), bytes);
    }
}

TEST(KroFile, DeleteFileClosesAndRemoves) {
    TempDir dir;
    KroFile file(true);
    EXPECT_FALSE(file.deleteFile());  // no name
    const std::string path = dir.write("X.DAT", "abc");
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kUpdate));
    EXPECT_TRUE(file.deleteFile());
    EXPECT_FALSE(file.isOpen());
    EXPECT_FALSE(fileExists(path));
    EXPECT_FALSE(file.deleteFile());  // already gone
}

// ---- sizes and counts ----

TEST(KroFile, CountsWholeRecordsToleratingOnlyTheEndOfFileMark) {
    const struct {
        const char* label;
        std::string bytes;
        int recordLength;
        bool lineEnds;
        int count;
    } cases[] = {
        {"3 records of 30 + CR LF", letterRecords(3, 30, true), 30, true, 3},
        {"97 bytes with the mark", letterRecords(3, 30, true) + "\x1A", 30, true, 3},
        {"98 bytes", letterRecords(3, 30, true) + "\x1A\x1A", 30, true, -1},
        {"97 bytes, extra byte not the mark", letterRecords(3, 30, true) + "X", 30, true, -1},
        {"truncated last record", letterRecords(3, 30, true).substr(0, 70), 30, true, -1},
        {"empty", "", 30, true, 0},
        {"no line ends", letterRecords(3, 4, false), 4, false, 3},
        {"no line ends with the mark", letterRecords(3, 4, false) + "\x1A", 4, false, 3},
        {"size a multiple of the length", letterRecords(2, 5, true) + "\x1A", 5, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = dir.write("R.DAT", c.bytes);
        KroFile file(c.lineEnds);
        file.setFileName(path);
        EXPECT_EQ(file.countRecords(), -1);  // no record length yet
        file.setRecordLength(c.recordLength);
        EXPECT_EQ(file.countRecords(), c.count);  // closed: from the directory entry
        ASSERT_TRUE(file.open(nullptr, KroFile::kReadOnly));
        EXPECT_EQ(file.recordCount(), c.count);  // counted at opening
    }
}

TEST(KroFile, FileSizeOfAClosedFileStopsBelowFourGigabytes) {
    const struct {
        std::optional<int64_t> reported;
        int64_t size;
    } cases[] = {{int64_t{4294967295}, 4294967295}, {int64_t{4294967296}, -1}, {-1, -1}, {0, 0}};
    TempDir dir;
    for (const auto& c : cases) {
        StreamEnv env;
        env.reportedSize = c.reported;
        KroFile file(true, &env);
        EXPECT_EQ(file.fileSize(), -1);  // no name
        file.setFileName(dir.file("GRANDE.DAT"));
        EXPECT_EQ(file.fileSize(), c.size);
    }
}

TEST(KroFile, FileSizeOfAnOpenFileKeepsThePosition) {
    TempDir dir;
    const std::string path = dir.write("R.DAT", letterRecords(3, 5, true));
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_EQ(file.fileSize(), 21);
    EXPECT_EQ(file.position(), 7);
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_EQ(recordText(file), "BBBBB");
}

// ---- the buffer ----

TEST(KroFile, RecordLengthMakesTheBufferAndZeroLeavesNone) {
    KroFile file(true);
    EXPECT_TRUE(file.setRecordLength(30));
    EXPECT_EQ(file.bufferSize(), 33u);
    EXPECT_FALSE(file.status().test(KroFile::kNoRecordLengthBit));
    EXPECT_FALSE(file.status().test(KroFile::kNoBufferBit));
    EXPECT_FALSE(file.setRecordLength(0));
    EXPECT_EQ(file.buffer(), nullptr);
    EXPECT_TRUE(file.status().test(KroFile::kNoBufferBit));
    EXPECT_FALSE(file.setRecordLength(-5));
    EXPECT_TRUE(file.setRecordLength(8));
    EXPECT_FALSE(file.status().test(KroFile::kNoBufferBit));
}

TEST(KroFile, ClearBufferBlanksTheRecordAndTerminatesIt) {
    KroFile file(true);
    file.clearBuffer();  // no buffer: nothing happens
    file.setRecordLength(6);
    file.append("abc");
    file.clearBuffer();
    EXPECT_EQ(recordText(file), "      ");
    EXPECT_EQ(file.writePosition(), 0);
}

TEST(KroFile, AppendCopiesAtMostTheRoomLeftAndTerminates) {
    KroFile file(true);
    EXPECT_FALSE(file.append("abc"));  // no buffer
    file.setRecordLength(30);
    const std::string forty(40, 'x');
    EXPECT_TRUE(file.append(forty, 0, true));
    EXPECT_EQ(recordText(file), std::string(30, 'x'));
    EXPECT_EQ(file.writePosition(), 30);
    EXPECT_TRUE(file.append("more"));
    EXPECT_EQ(recordText(file), std::string(30, 'x'));

    EXPECT_TRUE(file.append("Rimessa", 0, true));
    EXPECT_TRUE(file.append(" effetti N. 12345", 11));  // only the first 11
    EXPECT_EQ(recordText(file), "Rimessa effetti N.");
    EXPECT_TRUE(file.append("ab", 10));  // a length beyond the text copies the text
    EXPECT_EQ(recordText(file), "Rimessa effetti N.ab");
    EXPECT_EQ(file.writePosition(), 20);
    EXPECT_EQ(file.buffer()[21], ' ');  // the blanks after the terminator stay
}

TEST(KroFile, PutAtRefusesToPassTheRecordLength) {
    KroFile file(true);
    EXPECT_TRUE(file.putAt(nullptr, 0, 5));
    EXPECT_FALSE(file.putAt("abc", 0));  // no buffer
    EXPECT_FALSE(file.status().test(KroFile::kBeyondRecordBit));
    file.setRecordLength(30);
    file.clearBuffer();
    EXPECT_TRUE(file.putAt("", 0, 0));
    EXPECT_FALSE(file.putAt("0123456789", 25, 10));
    EXPECT_TRUE(file.status().test(KroFile::kBeyondRecordBit));
    EXPECT_EQ(recordText(file), std::string(30, ' '));
    EXPECT_FALSE(file.putAt("ab", -1, 2));

    KroFile other(true);
    other.setRecordLength(10);
    other.append("ABCDEFGHIJ", 0, true);
    EXPECT_TRUE(other.putAt("xy", 2, 5));  // a short text leaves the rest of the span
    EXPECT_TRUE(other.putAt("0123456789", 8, 2));
    EXPECT_EQ(recordText(other), "ABxyEFGH01");
    EXPECT_FALSE(other.status().test(KroFile::kBeyondRecordBit));
}

// ---- records ----

TEST(KroFile, ReadsRecordsByIndexAndInTurnUntilTheEnd) {
    TempDir dir;
    const std::string path = dir.write("R.DAT", letterRecords(3, 5, true) + "\x1A");
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    EXPECT_TRUE(file.endsWithEof());
    ASSERT_TRUE(file.readRecord(2));
    EXPECT_EQ(recordText(file), "CCCCC");
    ASSERT_TRUE(file.readRecord(0));
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_EQ(recordText(file), "BBBBB");
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_FALSE(file.readRecord(-1));  // the mark alone
    EXPECT_TRUE(file.atEof());
    EXPECT_FALSE(file.readRecord(7));
    EXPECT_TRUE(file.atEof());
    EXPECT_FALSE(file.readRecord(-3));
    EXPECT_FALSE(file.status().test(KroFile::kIoErrorBit));
}

TEST(KroFile, ShortOrMissingRecordsReadAsEndOfFile) {
    const struct {
        const char* label;
        std::string bytes;
        int index;
    } cases[] = {
        {"empty file", "", -1},
        {"truncated record", letterRecords(3, 30, true).substr(0, 70), 2},
        {"binary bytes without line ends", std::string("\x00\xFF\x1A\x0D", 4), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = dir.write("R.DAT", c.bytes);
        KroFile file(true);
        file.setRecordLength(30);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
        EXPECT_FALSE(file.readRecord(c.index));
        EXPECT_TRUE(file.atEof());
        EXPECT_FALSE(file.status().test(KroFile::kIoErrorBit));
        EXPECT_LE(std::string(file.buffer()).size(), 30u);
    }
}

TEST(KroFile, WritesRecordsAndCountsThemOnce) {
    const struct {
        bool lineEnds;
        std::string expected;
    } cases[] = {
        {true, "Bxx  \r\nA    \r\n"},
        {false, "Bxx  A    "},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("OUT.NST");
        KroFile file(c.lineEnds);
        file.setRecordLength(5);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kCreate));
        EXPECT_EQ(file.recordCount(), 0);
        file.clearBuffer();
        file.putAt("B", 0);
        ASSERT_TRUE(file.writeRecord(-1));
        file.clearBuffer();
        file.putAt("A", 0);
        ASSERT_TRUE(file.writeRecord(-1));
        EXPECT_EQ(file.recordCount(), 2);
        ASSERT_TRUE(file.readRecord(0));
        ASSERT_TRUE(file.putAt("xx", 1));
        ASSERT_TRUE(file.writeRecord(0));  // rewriting does not add a record
        EXPECT_EQ(file.recordCount(), 2);
        EXPECT_FALSE(file.writeRecord(-2));
        EXPECT_TRUE(file.status().test(KroFile::kSeekErrorBit));
        file.close();
        EXPECT_EQ(readBytes(path), c.expected);
    }
}

TEST(KroFile, WritingAfterReadingGoesToTheNextRecord) {
    TempDir dir;
    const std::string path = dir.write("R.DAT", letterRecords(3, 5, true));
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kUpdate));
    ASSERT_TRUE(file.readRecord(0));
    file.append("zzzzz", 0, true);
    ASSERT_TRUE(file.writeRecord(-1));
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_EQ(recordText(file), "CCCCC");
    file.close();
    EXPECT_EQ(readBytes(path), crlfRecords({"AAAAA", "zzzzz", "CCCCC"}));
}

TEST(KroFile, RewriteRecordReplacesTheRecordJustRead) {
    TempDir dir;
    const std::string path = dir.write("R.DAT", letterRecords(3, 5, true));
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kUpdate));
    EXPECT_FALSE(file.rewriteRecord());  // nothing read: before the start
    EXPECT_TRUE(file.status().test(KroFile::kSeekErrorBit));
    ASSERT_TRUE(file.readRecord(1));
    ASSERT_TRUE(file.putAt("xx", 3));
    ASSERT_TRUE(file.rewriteRecord());
    EXPECT_EQ(recordText(file), "BBBxx");  // read back
    EXPECT_EQ(file.position(), 14);
    EXPECT_EQ(file.recordCount(), 3);
    file.close();
    EXPECT_EQ(readBytes(path), crlfRecords({"AAAAA", "BBBxx", "CCCCC"}));
}

TEST(KroFile, ReadOnlyRefusesEveryWriteWithoutABit) {
    TempDir dir;
    const std::string bytes = letterRecords(2, 5, true);
    const std::string path = dir.write("R.DAT", bytes);
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    ASSERT_TRUE(file.readRecord(0));
    EXPECT_FALSE(file.writeRecord(-1));
    EXPECT_FALSE(file.writeRecord(1));
    EXPECT_FALSE(file.rewriteRecord());
    EXPECT_FALSE(file.writeLine(false));
    EXPECT_FALSE(file.status().any());
    file.close();
    EXPECT_EQ(readBytes(path), bytes);
}

// ---- appending over the end-of-file mark ----

TEST(KroFile, AppendingOverwritesTheEndOfFileMark) {
    const struct {
        const char* label;
        std::string bytes;
        int recordLength;
        bool lineEnds;
        std::string expected;
    } cases[] = {
        {"3 records of 30 and the mark", letterRecords(3, 30, true) + "\x1A", 30, true,
         letterRecords(4, 30, true)},
        {"size a multiple of the record length", letterRecords(2, 5, true) + "\x1A", 5, true,
         letterRecords(3, 5, true)},
        {"no line ends", letterRecords(2, 4, false) + "\x1A", 4, false, letterRecords(3, 4, false)},
        {"no mark", letterRecords(2, 5, true), 5, true, letterRecords(3, 5, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = dir.write("F.NST", c.bytes);
        KroFile file(c.lineEnds);
        file.setRecordLength(c.recordLength);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kAppend));
        EXPECT_TRUE(file.atEnd());
        const int before = file.recordCount();
        file.append(std::string(c.recordLength, static_cast<char>('A' + before)), 0, true);
        ASSERT_TRUE(file.writeRecord(-1));
        EXPECT_EQ(file.recordCount(), before + 1);
        EXPECT_FALSE(file.endsWithEof());
        file.close();
        EXPECT_EQ(readBytes(path), c.expected);
    }
}

TEST(KroFile, LinesAndRecordsAfterReadingToTheEndDoNotFollowTheMark) {
    TempDir dir;
    const std::string path = dir.write("F.TXT", crlfRecords({"AAAAA"}) + "\x1A");
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kOpenOrCreate));
    while (file.readRecord(-1)) {
    }
    ASSERT_TRUE(file.atEof());  // positioned after the mark
    file.append("XY", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    file.append("ZZZZZ", 0, true);
    ASSERT_TRUE(file.writeRecord(-1));
    file.close();
    EXPECT_EQ(readBytes(path), crlfRecords({"AAAAA", "XY", "ZZZZZ"}));
}

// ---- positioning ----

TEST(KroFile, SeekCountsFromBeforeTheMarkAndStopsAtTheStart) {
    TempDir dir;
    const std::string path = dir.write("R.DAT", letterRecords(3, 30, true) + "\x1A");
    KroFile file(true);
    file.setRecordLength(30);
    EXPECT_FALSE(file.seek(0, KroFile::kFromStart, false));  // not open
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));

    ASSERT_TRUE(file.seek(-1, KroFile::kFromEnd, true));
    EXPECT_EQ(file.position(), 64);
    EXPECT_FALSE(file.atEnd());
    ASSERT_TRUE(file.readRecord(-1));
    EXPECT_EQ(recordText(file), std::string(30, 'C'));

    ASSERT_TRUE(file.seek(0, KroFile::kFromEnd, true));
    EXPECT_EQ(file.position(), 96);
    EXPECT_TRUE(file.atEnd());

    ASSERT_TRUE(file.seek(-10, KroFile::kFromCurrent, true));
    EXPECT_EQ(file.position(), 0);
    ASSERT_TRUE(file.seek(5, KroFile::kFromCurrent, false));
    EXPECT_EQ(file.position(), 5);
    EXPECT_FALSE(file.seek(-1, KroFile::kFromStart, false));
    EXPECT_FALSE(file.seek(0, 3, false));
    EXPECT_EQ(file.position(), 5);
    EXPECT_FALSE(file.status().any());
}

TEST(KroFile, OperationsOnAClosedFileFailQuietly) {
    KroFile file(true);
    file.setRecordLength(10);
    EXPECT_FALSE(file.readRecord(-1));
    EXPECT_EQ(file.readLine(0, true), -1);
    EXPECT_FALSE(file.writeRecord(-1));
    EXPECT_FALSE(file.rewriteRecord());
    EXPECT_FALSE(file.writeLine(false));
    EXPECT_FALSE(file.rewind());
    EXPECT_FALSE(file.goToEnd());
    EXPECT_EQ(file.position(), -1);
    EXPECT_EQ(file.status().value(), 1u);
}

// ---- write failures ----

TEST(KroFile, AFailedWriteSetsBitThreeAndStopsLines) {
    TempDir dir;
    StreamEnv env;
    env.replacedModes["rb+"] = "rb";  // the stream cannot write
    const std::string path = dir.write("R.DAT", letterRecords(1, 5, true));
    KroFile file(true, &env);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kUpdate));
    file.append("abc", 0, true);
    EXPECT_FALSE(file.writeLine(false));
    EXPECT_TRUE(file.status().test(KroFile::kIoErrorBit));
    EXPECT_FALSE(file.writeRecord(0));
    EXPECT_FALSE(file.goToEnd());
    EXPECT_TRUE(file.rewind());
    EXPECT_FALSE(file.status().test(KroFile::kIoErrorBit));
}

TEST(KroFile, WriteLineIsRefusedAfterAFailureUntilRewind) {
    TempDir dir;
    StreamEnv env;
    env.replacedModes["wb+"] = "wb";  // the stream cannot read
    const std::string path = dir.file("L.TXT");
    KroFile file(true, &env);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kCreate));
    file.append("A", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    EXPECT_FALSE(file.readRecord(0));
    ASSERT_TRUE(file.status().test(KroFile::kIoErrorBit));
    EXPECT_FALSE(file.atEof());
    file.append("B", 0, true);
    EXPECT_FALSE(file.writeLine(false));
    EXPECT_EQ(readBytes(path), "A\r\n");
    ASSERT_TRUE(file.rewind());
    EXPECT_TRUE(file.writeLine(false));
    file.close();
    EXPECT_EQ(readBytes(path), "B\r\n");
    EXPECT_FALSE(file.status().test(KroFile::kIoErrorBit));
}

TEST(KroFile, AWriteThatFailsOnlyWhenFlushedIsReportedAtClosing) {
    if (!fileExists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full on this system";
    }
    TempDir dir;
    StreamEnv env;
    env.redirectTo = "/dev/full";
    KroFile file(true, &env);
    file.setRecordLength(20);
    ASSERT_TRUE(file.open(dir.file("PIENO.TXT").c_str(), KroFile::kCreate));
    file.append("riga", 0, true);
    EXPECT_TRUE(file.writeLine(false));  // still in the stream's buffer
    file.close();
    EXPECT_TRUE(file.status().test(KroFile::kIoErrorBit));
}
