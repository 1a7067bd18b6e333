// The record file read and written as text lines: line ends, the printable
// filter, pieces of long lines, the end-of-file mark and byte-order marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/KroFile.h"
#include "records/KroFileTestSupport.h"
#include "support/TempDir.h"

namespace {

struct Lines {
    std::vector<std::string> texts;  // every line read before -1
    bool atEof = false;              // after the -1
};

// Reads lines until -1 (at most 50) and once more to see that -1 stays.
Lines readAll(KroFile& file, int maxLength, bool blank) {
    Lines lines;
    for (int i = 0; i < 50; ++i) {
        const int length = file.readLine(maxLength, blank);
        if (length < 0) {
            break;
        }
        lines.texts.emplace_back(file.buffer(), static_cast<std::size_t>(length));
    }
    EXPECT_EQ(file.readLine(maxLength, blank), -1);
    lines.atEof = file.atEof();
    return lines;
}

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::string utf32(std::u32string_view text, bool bigEndian) {
    std::string bytes;
    for (char32_t unit : text) {
        std::string four;
        for (int shift = 0; shift < 32; shift += 8) {
            four += static_cast<char>((unit >> shift) & 0xFF);
        }
        bytes += bigEndian ? std::string(four.rbegin(), four.rend()) : four;
    }
    return bytes;
}

std::string bytesOf(const char* text, std::size_t size) {
    return std::string(text, size);
}

}  // namespace

TEST(KroFileLines, ReadsLinesAsTheLineReaderOfTheSuite) {
    const struct {
        const char* label;
        std::string bytes;
        int recordLength;
        int maxLength;
        bool blank;
        std::vector<std::string> lines;
    } cases[] = {
        {"last line without line end", "uno\r\ndue", 80, 0, true, {"uno", "due"}},
        {"LF alone ends a line", "a\nb\n", 80, 0, true, {"a", "b"}},
        {"empty lines", "\r\n\r\nx\r\n", 80, 0, true, {"", "", "x"}},
        {"tab blanked, CR without LF kept", "a\tb\rc\r\n", 80, 0, true, {"a b\rc"}},
        {"accented letter blanked", "citt\xE8\r\n", 80, 0, true, {"citt "}},
        {"accented letter kept unfiltered", "citt\xE8\r\n", 80, 0, false, {"citt\xE8"}},
        {"control and high bytes blanked", "\x01\x7F\x80\xFF|\r\n", 80, 0, true, {"    |"}},
        {"binary bytes unfiltered",
         bytesOf("\x00\x01"
                 "A\r\n",
                 5),
         80,
         0,
         false,
         {bytesOf("\x00\x01"
                  "A",
                  3)}},
        {"the mark ends the line", "ab\x1A", 80, 0, true, {"ab"}},
        {"the mark alone", "\x1A", 80, 0, true, {}},
        {"empty file", "", 80, 0, true, {}},
        {"long line in pieces of record length + 2",
         "ABCDEFGHIJKLMNOPQRSTUVWXY\r\nz\r\n",
         8,
         0,
         true,
         {"ABCDEFGHIJ", "KLMNOPQRST", "UVWXY", "z"}},
        {"line of exactly the maximum", "0123456789\r\nz\r\n", 8, 0, true, {"0123456789", "z"}},
        {"line one short of the maximum", "012345678\r\nz", 8, 0, true, {"012345678", "z"}},
        {"line of the maximum with LF alone", "0123456789\nz", 8, 0, true, {"0123456789", "z"}},
        {"CR without LF after a full piece",
         "0123456789\rab\r\n",
         8,
         0,
         true,
         {"0123456789", "\rab"}},
        {"smaller maximum", "abcdefg\n", 80, 4, true, {"abcd", "efg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = dir.write("T.TXT", c.bytes);
        KroFile file(true);
        file.setRecordLength(c.recordLength);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
        const Lines lines = readAll(file, c.maxLength, c.blank);
        EXPECT_EQ(lines.texts, c.lines);
        EXPECT_TRUE(lines.atEof);
    }
}

TEST(KroFileLines, ALargerMaximumEnlargesTheBuffer) {
    TempDir dir;
    const std::string line(30, 'x');
    const std::string path = dir.write("T.TXT", line + "\r\n");
    KroFile file(true);
    file.setRecordLength(4);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    EXPECT_EQ(file.readLine(20, true), 22);
    EXPECT_EQ(file.recordLength(), 20);
    EXPECT_EQ(file.bufferSize(), 23u);
    EXPECT_EQ(std::string(file.buffer()), line.substr(0, 22));
    EXPECT_EQ(file.readLine(0, true), 8);
}

TEST(KroFileLines, WritesLinesWithLineEndOrFormFeed) {
    const struct {
        bool lineEnds;
        std::string expected;
    } cases[] = {
        {true,
         "Totale\r\nPagina\x0C"
         "fine\r\n"},
        {false,
         "TotalePagina\x0C"
         "fine"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("REPORT.TXT");
        KroFile file(c.lineEnds);
        file.setRecordLength(20);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kCreate));
        file.append("Totale", 0, true);
        ASSERT_TRUE(file.writeLine(false));
        file.append("Pagina", 0, true);
        ASSERT_TRUE(file.writeLine(true));
        file.append("fine", 0, true);
        ASSERT_TRUE(file.writeLine(false));
        file.close();
        EXPECT_EQ(readBytes(path), c.expected);
    }
}

TEST(KroFileLines, WrittenLinesReadBack) {
    TempDir dir;
    const std::string path = dir.file("S.PRS");
    KroFile file(true);
    file.setRecordLength(80);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kOpenOrCreate));
    file.append("prima", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    file.append("seconda", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    ASSERT_TRUE(file.rewind());
    EXPECT_EQ(readAll(file, 0, true).texts, (std::vector<std::string>{"prima", "seconda"}));
}

TEST(KroFileLines, WriteLineIsRefusedWhileAnyBitIsSet) {
    TempDir dir;
    const std::string path = dir.file("R.TXT");
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kCreate));
    file.clearBuffer();
    file.putAt("ok", 0);
    EXPECT_FALSE(file.putAt("toolong", 0));
    EXPECT_FALSE(file.writeLine(false));
    EXPECT_TRUE(file.writeRecord(-1));  // records look only at the name and the buffer
    file.close();
    EXPECT_EQ(readBytes(path), "ok   \r\n");
}

TEST(KroFileLines, AppendedLineOverwritesTheEndOfFileMark) {
    TempDir dir;
    const std::string path = dir.write("R.TXT", crlfRecords({"AAAAA"}) + "\x1A");
    KroFile file(true);
    file.setRecordLength(5);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kAppend));
    file.append("XY", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    file.append("Z", 0, true);
    ASSERT_TRUE(file.writeLine(false));
    file.close();
    EXPECT_EQ(readBytes(path), crlfRecords({"AAAAA", "XY", "Z"}));
}

TEST(KroFileLines, RecognisesEachByteOrderMarkAndReadsPastIt) {
    const struct {
        const char* label;
        std::string bytes;
        bool hasBom;
        int bomLength;
        int encoding;
        std::vector<std::string> lines;
    } cases[] = {
        {"UTF-8",
         "\xEF\xBB\xBF"
         "abc\r\nde",
         true,
         3,
         KroFile::kSingleByte,
         {"abc", "de"}},
        {"UTF-16 little-endian",
         "\xFF\xFE" + utf16(u"ab\r\ncd", false),
         true,
         2,
         KroFile::kUtf16LittleEndian,
         {"ab", "cd"}},
        {"UTF-16 big-endian",
         "\xFE\xFF" + utf16(u"ab\r\ncd", true),
         true,
         2,
         KroFile::kUtf16BigEndian,
         {"ab", "cd"}},
        {"UTF-32 little-endian",
         bytesOf("\xFF\xFE\x00\x00", 4) + utf32(U"ab\r\ncd", false),
         true,
         4,
         KroFile::kUtf32LittleEndian,
         {"ab", "cd"}},
        {"UTF-32 big-endian",
         bytesOf("\x00\x00\xFE\xFF", 4) + utf32(U"ab\r\ncd", true),
         true,
         4,
         KroFile::kUtf32BigEndian,
         {"ab", "cd"}},
        {"UTF-16 with its mark only", "\xFF\xFE", true, 2, KroFile::kUtf16LittleEndian, {}},
        {"UTF-16 with an odd last byte",
         "\xFF\xFE" + utf16(u"ab", false) + "x",
         true,
         2,
         KroFile::kUtf16LittleEndian,
         {"ab"}},
        {"UTF-16 characters beyond the code page",
         "\xFF\xFE" + utf16(u"\u00E8\u4E00\U0001F600.", false),
         true,
         2,
         KroFile::kUtf16LittleEndian,
         {" ??."}},
        {"no mark", "abc", false, 0, KroFile::kSingleByte, {"abc"}},
        {"zero bytes are not a mark",
         bytesOf("\x00\x00"
                 "A\r\n",
                 5),
         false,
         0,
         KroFile::kSingleByte,
         {"  A"}},
        {"half a mark",
         "\xFF"
         "A\r\n",
         false,
         0,
         KroFile::kSingleByte,
         {" A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        const std::string path = dir.write("B.TXT", c.bytes);
        KroFile file(true);
        file.setRecordLength(80);
        ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
        EXPECT_EQ(file.hasBom(), c.hasBom);
        EXPECT_EQ(file.bomLength(), c.bomLength);
        EXPECT_EQ(file.encoding(), c.encoding);
        EXPECT_EQ(readAll(file, 0, true).texts, c.lines);
        ASSERT_TRUE(file.rewind());  // the mark is skipped again from the start
        EXPECT_EQ(readAll(file, 0, true).texts, c.lines);
    }
}

TEST(KroFileLines, UnfilteredUtf16KeepsTheCodePageLetter) {
    TempDir dir;
    const std::string path = dir.write("B.TXT", "\xFF\xFE" + utf16(u"citt\u00E0\r\n", false));
    KroFile file(true);
    file.setRecordLength(80);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    ASSERT_EQ(file.readLine(0, false), 5);
    EXPECT_EQ(std::string(file.buffer()), "citt\xE0");
}

TEST(KroFileLines, RecordPositionsDoNotAllowForTheMark) {
    TempDir dir;
    const std::string path = dir.write("B.DAT",
                                       "\xEF\xBB\xBF"
                                       "ab\r\ncde\r\n");
    KroFile file(true);
    file.setRecordLength(3);
    ASSERT_TRUE(file.open(path.c_str(), KroFile::kReadOnly));
    EXPECT_TRUE(file.hasBom());
    ASSERT_TRUE(file.readRecord(0));
    EXPECT_EQ(std::string(file.buffer()), "\xEF\xBB\xBF");
}

TEST(KroFileLines, MarksAreForgottenWhenAnotherFileIsOpened) {
    TempDir dir;
    const std::string marked = dir.write("A.TXT", "\xFF\xFE" + utf16(u"ab\r\n", false) + "\x1A");
    const std::string plain = dir.write("B.TXT", "cd\r\n");
    KroFile file(true);
    file.setRecordLength(80);
    ASSERT_TRUE(file.open(marked.c_str(), KroFile::kReadOnly));
    EXPECT_TRUE(file.endsWithEof());
    ASSERT_TRUE(file.open(plain.c_str(), KroFile::kReadOnly));
    EXPECT_FALSE(file.hasBom());
    EXPECT_FALSE(file.endsWithEof());
    EXPECT_EQ(file.encoding(), KroFile::kSingleByte);
    EXPECT_EQ(readAll(file, 0, true).texts, std::vector<std::string>{"cd"});
}
