// Staged writing: the file is written under its staging name and takes its
// own name only when complete, so a full disk, a failed rename or a run that
// gives up never leaves a file cut short under the real name.
#include <gtest/gtest.h>

#include <string>

#include "records/KroFile.h"
#include "support/FullDiskEnv.h"
#include "support/TempDir.h"

namespace {

constexpr const char* kOld = "OLD RECORD\r\n";

// Writes count lines "LINE nnn" to a staged file of the folder over an
// earlier file holding kOld; the file is left open.
void writeStaged(KroFile& file, const TempDir& dir, int count) {
    dir.write("FLUSSO.NST", kOld);
    file.setStagedWriting(true);
    file.setMode(KroFile::kCreate);
    file.setRecordLength(64);
    file.setFileName(dir.file("FLUSSO.NST"));
    ASSERT_NO_THROW(file.openOrThrow(true));
    for (int i = 0; i < count; ++i) {
        file.append("LINE " + std::to_string(i), 0, true);
        file.writeLine(false);
    }
}

std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "LINE " + std::to_string(i) + "\r\n";
    }
    return text;
}

}  // namespace

TEST(KroFileStaged, TheNameKeepsTheEarlierFileUntilTheNewOneIsComplete) {
    TempDir dir;
    KroFile file(true);
    writeStaged(file, dir, 3);
    EXPECT_EQ(readBytes(dir.file("FLUSSO.NST")), kOld);
    EXPECT_TRUE(fileExists(dir.file("FLUSSO.NST.part")));
    file.close();
    EXPECT_EQ(readBytes(dir.file("FLUSSO.NST")), lines(3));
    EXPECT_FALSE(fileExists(dir.file("FLUSSO.NST.part")));
    EXPECT_FALSE(file.status().test(KroFile::kIoErrorBit));
}

TEST(KroFileStaged, WhatCannotBeCompletedNeverTakesTheName) {
    const struct {
        const char* what;
        int lines;
        int64_t diskRoom;  // -1: no limit
        int failingRenames;
        bool discard;
        bool ioErrorBit;
    } cases[] = {
        {"disk full at a write", 4000, 4096, 0, false, true},
        {"disk full at the last flush", 8, 60, 0, false, true},
        {"rename refused", 8, -1, 1, false, true},
        {"given up by the caller", 8, -1, 0, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        FullDiskEnv disk(c.diskRoom);
        disk.failingRenames = c.failingRenames;
        KroFile file(true, &disk);
        writeStaged(file, dir, c.lines);
        if (c.discard) {
            EXPECT_TRUE(file.discard());
        } else {
            file.close();
        }
        EXPECT_EQ(readBytes(dir.file("FLUSSO.NST")), kOld);
        EXPECT_FALSE(fileExists(dir.file("FLUSSO.NST.part")));
        EXPECT_EQ(file.status().test(KroFile::kIoErrorBit), c.ioErrorBit);
    }
}

TEST(KroFileStaged, AnEmptyResultLeavesNoFileAsCreatingDoes) {
    TempDir dir;
    KroFile file(true);
    writeStaged(file, dir, 0);
    file.close();
    EXPECT_FALSE(fileExists(dir.file("FLUSSO.NST")));
    EXPECT_FALSE(fileExists(dir.file("FLUSSO.NST.part")));
}

TEST(KroFileStaged, AStagingFileLeftByAStoppedRunIsReplaced) {
    TempDir dir;
    dir.write("FLUSSO.NST.part", "HALF A FLOW FROM YESTERDAY");
    KroFile file(true);
    writeStaged(file, dir, 2);
    file.close();
    EXPECT_EQ(readBytes(dir.file("FLUSSO.NST")), lines(2));
}

TEST(KroFileStaged, OnlyCreatingIsStaged) {
    TempDir dir;
    dir.write("FLUSSO.NST", kOld);
    KroFile file(true);
    file.setStagedWriting(true);
    file.setRecordLength(10);
    ASSERT_TRUE(file.open(dir.file("FLUSSO.NST").c_str(), KroFile::kAppend));
    file.append("NEW RECORD", 0, true);
    EXPECT_TRUE(file.writeRecord(-1));
    EXPECT_FALSE(fileExists(dir.file("FLUSSO.NST.part")));
    file.close();
    EXPECT_EQ(readBytes(dir.file("FLUSSO.NST")), std::string(kOld) + "NEW RECORD\r\n");
}

TEST(KroFileStaged, DiscardingAnUnstagedNewFileRemovesIt) {
    TempDir dir;
    KroFile file(true);
    file.setRecordLength(20);
    ASSERT_TRUE(file.open(dir.file("REPORT.TXT").c_str(), KroFile::kCreate));
    file.append("Rimessa effetti N. 7", 0, true);
    file.writeLine(false);
    EXPECT_TRUE(file.discard());
    EXPECT_FALSE(fileExists(dir.file("REPORT.TXT")));
}
