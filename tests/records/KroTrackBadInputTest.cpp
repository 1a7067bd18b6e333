// Definitions and flow files of arbitrary bytes: truncated, binary, over-long
// lines, absurd numbers. Loading refuses them (bit 9) or leaves the bad field
// out; nothing reads or writes outside a buffer (run under the sanitizers).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "records/KroTrack.h"
#include "support/SorterTrack.h"
#include "support/TempDir.h"

namespace {

// Bytes a definition is made of, and a few that it should not hold.
const std::string kAlphabet =
    "0123456789=[];) _RECNAMIDFLSTYPVRKfts\"\\b\r\n\r\n\r\n\t\x1A\x0C\x7F\x80\xE8\xFF" +
    std::string(1, '\0');

const std::vector<std::string> kAbsurdNumbers = {
    "-5",    "0",     "-1", "999999999", "99999999999999999999", "-2147483648", "2147483647",
    "65535", "65536", "x",  "",
};

std::string randomBytes(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string bytes(length, ' ');
    for (char& c : bytes) {
        c = kAlphabet[pick(random)];
    }
    return bytes;
}

// One change to a definition: a byte replaced, a number made absurd, a
// piece cut out or a line repeated.
std::string mutated(std::string text, std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
    switch (random() % 4) {
        case 0:
            text[at(random)] = static_cast<char>(random() % 256);
            break;
        case 1: {
            const std::size_t digit = text.find_first_of("0123456789", at(random));
            if (digit != std::string::npos) {
                const std::size_t end = text.find_first_not_of("0123456789", digit);
                text.replace(digit, end - digit, kAbsurdNumbers[random() % kAbsurdNumbers.size()]);
            }
            break;
        }
        case 2: {
            const std::size_t from = at(random);
            text.erase(from, random() % 20);
            break;
        }
        default: {
            const std::size_t start = text.rfind('\n', at(random));
            const std::size_t lineStart = start == std::string::npos ? 0 : start + 1;
            const std::size_t end = text.find('\n', lineStart);
            text.insert(lineStart, text.substr(lineStart, end - lineStart) + "\r\n");
            break;
        }
    }
    return text;
}

// Uses every type of a loaded track: new records with over-long values
// written, then read back.
void exercise(KroTrack& track, const TempDir& dir) {
    const std::string flow = dir.file("bad.flow");
    if (!track.open(flow.c_str(), KroFile::kCreate)) {
        return;
    }
    for (int type = 0; type < track.typeCount(); ++type) {
        if (!track.prepareRecord(type)) {
            continue;
        }
        KroRecord& record = track.activeRecord();
        for (int i = 0; i < record.count(); ++i) {
            if (KroField* field = record.field(i)) {
                field->setValue(std::string(300, 'x'));
            }
        }
        track.writeActive(-1);
        track.writeActiveFilled(-1, '#');
        track.selectByName(record.typeName());
    }
    track.close();
    if (track.open(flow.c_str(), KroFile::kReadOnly)) {
        for (int i = 0; i < 100 && !track.atEof(); ++i) {
            if (track.readRecord(-1)) {
                EXPECT_NO_THROW(track.activeRecord());
            }
        }
        track.close();
    }
}

void loadAndExercise(const std::string& bytes, const TempDir& dir) {
    KroTrack track;
    if (track.load(dir.write("bad.trk", bytes))) {
        EXPECT_GT(track.typeCount(), 0);
        EXPECT_GT(track.recordLength(), 0);
        exercise(track, dir);
    } else {
        EXPECT_TRUE(track.status().test(KroTrack::kDefinitionIncompleteBit));
    }
}

}  // namespace

TEST(KroTrackBadInput, EveryTruncationBeforeTheLastFieldLineIsRefused) {
    TempDir dir;
    const std::string definition = sorterTrackDefinition();
    const std::size_t lastFieldLine = definition.rfind("6) ");
    for (std::size_t length = 0; length <= definition.size(); ++length) {
        KroTrack track;
        const std::string cut = definition.substr(0, length);
        const bool loaded = track.load(dir.write("cut.trk", cut));
        // The last line counts as soon as it begins with its digit; a count
        // of fields cut off after its "=" reads as none.
        EXPECT_EQ(loaded, length > lastFieldLine || cut.ends_with("FIELDS=")) << length;
        EXPECT_EQ(track.status().test(KroTrack::kDefinitionIncompleteBit), !loaded) << length;
    }
}

TEST(KroTrackBadInput, ArbitraryBytesNeverBreakLoading) {
    TempDir dir;
    std::mt19937 random(20240531);
    for (int round = 0; round < 200; ++round) {
        loadAndExercise(randomBytes(random, random() % 700), dir);
    }
}

TEST(KroTrackBadInput, DamagedDefinitionsAreRefusedOrUsedSafely) {
    TempDir dir;
    std::mt19937 random(7);
    const std::string definition = sorterTrackDefinition() +
                                   "[REC_02]\r\nREC_NAME=TWO\r\nREC_ID=T\r\nFIELDS=2\r\n"
                                   "1) 0002 0005 A ALIAS=A\r\n2) 0007 0024 B ALIAS=B\r\n";
    const std::string twoTypes = definition.substr(0, definition.find("TYPES=1")) + "TYPES=2" +
                                 definition.substr(definition.find("TYPES=1") + 7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 2 == 0 ? definition : twoTypes;
        for (int changes = 1 + static_cast<int>(random() % 3); changes > 0; --changes) {
            bytes = mutated(bytes, random);
        }
        loadAndExercise(bytes, dir);
    }
}

TEST(KroTrackBadInput, OverLongLinesAreReadInPieces) {
    TempDir dir;
    const std::string definition = sorterTrackDefinition();
    const std::string longValue(100000, '7');
    const std::string variants[] = {
        "TRK_NAME=" + longValue + "\r\n" + definition,
        std::string(5000, ';') + "\r\n" + definition,
        definition + "1) 0002 0010 Key ALIAS=" + longValue + "\r\n",
        definition.substr(0, definition.find("REC_LEN=")) + "REC_LEN=" + longValue + "\r\n" +
            definition.substr(definition.find("REC_LEN=")),
        std::string(70000, '\0'),
    };
    for (const std::string& bytes : variants) {
        loadAndExercise(bytes, dir);
    }
    KroTrack track;
    ASSERT_TRUE(track.load(dir.write("long.trk", variants[2])));
    EXPECT_EQ(track.recordType(0)->count(), 6);
}

TEST(KroTrackBadInput, ArbitraryFlowFilesAreReadWithoutHarm) {
    TempDir dir;
    KroTrack sorter;
    ASSERT_TRUE(sorter.load(writeSorterTrack(dir.path())));
    std::mt19937 random(99);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 150; ++round) {
        std::string bytes(random() % 400, ' ');
        for (char& c : bytes) {
            // Mostly text with line ends, sometimes anything.
            c = round % 3 == 0 ? static_cast<char>(byte(random)) : "S0123 \r\n\x1A"[random() % 9];
        }
        if (!sorter.open(dir.write("random.flow", bytes).c_str(), KroFile::kReadOnly)) {
            EXPECT_TRUE(sorter.status().test(KroTrack::kNotWholeRecordsBit));
            continue;
        }
        for (int i = 0; i < 500 && !sorter.atEof(); ++i) {
            if (!sorter.readRecord(-1) && !sorter.atEof()) {
                break;
            }
        }
        sorter.close();
    }
}
