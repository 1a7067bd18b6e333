// The witness file: its name, the record read at its offsets, the default
// record of a new station, and every way the file can fail.
#include "environment/KroWitness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "support/SuiteTree.h"
#include "support/TempDir.h"
#include "support/TestEnv.h"

namespace {

constexpr uint32_t bit(int n) {
    return 1u << n;
}

// A witness record with one field changed by the caller.
std::string recordWith(void (*change)(WitnessFields&)) {
    WitnessFields fields;
    change(fields);
    return witnessRecord(fields);
}

// Streams asked for update or creation are opened differently: refused,
// opened read-only (writes fail at once) or sent to /dev/full (writes fail
// when flushed).
class StreamEnv : public TestEnv {
public:
    enum class Update { kNormal, kRefused, kReadOnly, kFullDevice };

    explicit StreamEnv(Update update) : update_(update) {}

    std::FILE* openStream(const std::string& path, const char* mode) override {
        const std::string asked(mode);
        if (update_ == Update::kNormal || asked == "rb") {
            return TestEnv::openStream(path, mode);
        }
        switch (update_) {
            case Update::kRefused:
                return asked == "rb+" ? nullptr : TestEnv::openStream(path, mode);
            case Update::kReadOnly:
                if (std::FILE* created = TestEnv::openStream(path, "ab")) {
                    std::fclose(created);
                }
                return TestEnv::openStream(path, "rb");
            default:
                return TestEnv::openStream("/dev/full", "wb+");
        }
    }

private:
    Update update_;
};

}  // namespace

TEST(KroWitness, ReadsTheStationsRecordAndLeavesTheFileAsItWas) {
    SuiteTree suite;
    const std::string before = readBytes(suite.witnessPath());
    KroWitness witness(suite.folder(SuiteTree::kWork), "ABC", 5);

    EXPECT_EQ(witness.status().value(), 0u);
    EXPECT_STREQ(witness.name(), "Classe Testimone");
    EXPECT_STREQ(witness.jobName(), "EFFETTI01_CA");
    EXPECT_EQ(witness.jobDate().day(), 31);
    EXPECT_EQ(witness.jobDate().month(), 5);
    EXPECT_EQ(witness.jobDate().year(), 2024);
    EXPECT_EQ(witness.code(), "00000");
    EXPECT_EQ(witness.auxiliaryCode(), "   ");
    EXPECT_TRUE(witness.running());
    EXPECT_TRUE(witness.secondFlag());
    EXPECT_EQ(witness.counter(), 42u);
    EXPECT_EQ(witness.stationNumber(), 5u);
    EXPECT_EQ(witness.exchange(suite.folder(SuiteTree::kWork), false), 1);
    EXPECT_EQ(readBytes(suite.witnessPath()), before);
}

TEST(KroWitness, ReadsTheOtherStatesAndTrimsTheCode) {
    TempDir dir;
    WitnessFields fields;
    fields.state = "STOP";
    fields.secondFlag = 'N';
    fields.code = "12";
    fields.auxiliary = "XY";
    fields.counter = 999999;
    dir.write("WITNESS.ABC.005", witnessRecord(fields));
    KroWitness witness(dir.path(), "ABC", 5);

    EXPECT_EQ(witness.status().value(), 0u);
    EXPECT_FALSE(witness.running());
    EXPECT_FALSE(witness.secondFlag());
    EXPECT_EQ(witness.code(), "12");
    EXPECT_EQ(witness.auxiliaryCode(), "XY ");
    EXPECT_EQ(witness.counter(), 999999u);
}

TEST(KroWitness, NamesTheFileByStationCodeAndThreeDigitNumber) {
    const struct {
        const char* code;
        uint32_t number;
        const char* fileName;
    } cases[] = {
        {"ABC", 5, "WITNESS.ABC.005"},   {"AB", 7, "WITNESS.AB.007"},
        {"ABCD", 12, "WITNESS.~~~.012"}, {"ABCDEF", 99, "WITNESS.~~~.099"},
        {"", 0, "WITNESS..000"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(c.fileName, witnessRecord(WitnessFields()));
        KroWitness witness(dir.path(), c.code, c.number);
        EXPECT_EQ(witness.status().value(), 0u) << c.fileName;
        EXPECT_STREQ(witness.jobName(), "EFFETTI01_CA") << c.fileName;
        EXPECT_EQ(witness.fileNameIn(dir.path()), dir.file(c.fileName));
        EXPECT_EQ(witness.fileNameIn(dir.path() + "/"), dir.file(c.fileName));
    }
}

TEST(KroWitness, MissingFileIsCreatedWithTheDefaultRecordOfToday) {
    TempDir dir;
    TestEnv env;
    env.now = UtcTime{2024, 3, 5, 23, 59, 0};
    KroWitness created(dir.path(), "ABC", 7, &env);

    EXPECT_EQ(created.status().value(), bit(KroWitness::kNoJobBit));
    EXPECT_STREQ(created.jobName(), "*****");
    WitnessFields expected;
    expected.state = "STOP";
    expected.secondFlag = 'N';
    expected.date = "050324";
    expected.stationNumber = 7;
    expected.jobName = "*****";
    expected.counter = 0;
    EXPECT_EQ(readBytes(dir.file("WITNESS.ABC.007")), witnessRecord(expected));

    KroWitness reread(dir.path(), "ABC", 7);
    EXPECT_EQ(reread.status().value(), bit(KroWitness::kNoJobBit));
    EXPECT_EQ(reread.exchange(dir.path(), false), 0);
    EXPECT_EQ(reread.jobDate().day(), 5);
    EXPECT_EQ(reread.jobDate().month(), 3);
    EXPECT_EQ(reread.jobDate().year(), 2024);
    EXPECT_FALSE(reread.running());
}

TEST(KroWitness, StationNumberOf100OrMoreLeavesTheFileUntouched) {
    for (const uint32_t number : {100u, 999u, std::numeric_limits<uint32_t>::max()}) {
        TempDir dir;
        KroWitness witness(dir.path(), "ABC", number);
        EXPECT_EQ(witness.status().value(), bit(KroWitness::kBadStationBit)) << number;
        EXPECT_EQ(witness.jobName(), nullptr) << number;
        EXPECT_EQ(witness.exchange(dir.path(), true), 0) << number;
        EXPECT_TRUE(Env::Default()->listDirectory(dir.path()).empty()) << number;
    }
}

TEST(KroWitness, JobNameEndsAtByteZeroOrFiftyCharactersAndFiveAsterisksMeanNoJob) {
    const std::string fifty = "J" + std::string(48, 'x') + "Z";
    const struct {
        const char* label;
        std::string jobName;
        bool zeroAfterName;
        std::string expected;
        uint32_t status;
    } cases[] = {
        {"no job", "*****", true, "*****", bit(KroWitness::kNoJobBit)},
        {"asterisks then more", "*****X", true, "*****X", bit(KroWitness::kNoJobBit)},
        {"four asterisks", "****X", true, "****X", 0},
        {"fifty characters, nothing after", fifty, false, fifty, 0},
        {"blanks after the name", "EFFETTI01", false, "EFFETTI01", 0},
        {"byte 0 inside", std::string("AB\0CD", 5), false, "AB", 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WitnessFields fields;
        fields.jobName = c.jobName;
        fields.zeroAfterName = c.zeroAfterName;
        fields.auxiliary = "QQQ";  // right after the 50 characters of the name
        dir.write("WITNESS.ABC.005", witnessRecord(fields));
        KroWitness witness(dir.path(), "ABC", 5);
        EXPECT_EQ(witness.status().value(), c.status) << c.label;
        ASSERT_NE(witness.jobName(), nullptr) << c.label;
        EXPECT_EQ(std::string(witness.jobName()), c.expected) << c.label;
        EXPECT_EQ(witness.exchange(dir.path(), false), c.status == 0 ? 1 : 0) << c.label;
    }
}

TEST(KroWitness, ShortRecordOrBadDateIsAReadError) {
    const std::string record = witnessRecord(WitnessFields());
    const struct {
        const char* label;
        std::string bytes;
        uint32_t status;
    } cases[] = {
        {"299 bytes", record.substr(0, 299), bit(KroWitness::kReadErrorBit)},
        {"empty file", "", bit(KroWitness::kReadErrorBit)},
        {"day 32", recordWith([](WitnessFields& f) { f.date = "320524"; }),
         bit(KroWitness::kReadErrorBit)},
        {"letters for a date", recordWith([](WitnessFields& f) { f.date = "ABCDEF"; }),
         bit(KroWitness::kReadErrorBit)},
        {"no job and no date", recordWith([](WitnessFields& f) {
             f.date = "      ";
             f.jobName = "*****";
         }),
         bit(KroWitness::kReadErrorBit) | bit(KroWitness::kNoJobBit)},
        {"301 bytes: only record 0 counts", record + "X", 0},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("WITNESS.ABC.005", c.bytes);
        KroWitness witness(dir.path(), "ABC", 5);
        EXPECT_EQ(witness.status().value(), c.status) << c.label;
    }
}

TEST(KroWitness, WitnessThatCannotBeOpenedForUpdateSetsBitZero) {
    SuiteTree suite;
    const std::string work = suite.folder(SuiteTree::kWork);
    const std::string before = readBytes(suite.witnessPath());

    StreamEnv readOnly(StreamEnv::Update::kRefused);
    KroWitness refused(work, "ABC", 5, &readOnly);
    EXPECT_EQ(refused.status().value(), bit(KroWitness::kCannotOpenBit));
    EXPECT_EQ(readBytes(suite.witnessPath()), before);

    ASSERT_TRUE(Env::Default()->createDirectory(work + "/WITNESS.XY.005"));
    KroWitness directory(work, "XY", 5);
    EXPECT_TRUE(directory.status().test(KroWitness::kCannotOpenBit));

    // A missing folder: the default record cannot be created.
    KroWitness noFolder(suite.home() + "/NOWHERE", "ABC", 5);
    EXPECT_EQ(noFolder.status().value(),
              bit(KroWitness::kCannotOpenBit) | bit(KroWitness::kNoJobBit));

    // A station code with a separator would name a file in another folder.
    ASSERT_TRUE(Env::Default()->createDirectory(work + "/WITNESS.A"));
    suite.write(SuiteTree::kWork, "WITNESS.A/B.005", witnessRecord(WitnessFields()));
    KroWitness separator(work, "A/B", 5);
    EXPECT_EQ(separator.status().value(), bit(KroWitness::kCannotOpenBit));
}

TEST(KroWitness, DefaultRecordThatCannotBeWrittenSetsBitFour) {
    for (const auto update : {StreamEnv::Update::kReadOnly, StreamEnv::Update::kFullDevice}) {
        TempDir dir;
        StreamEnv env(update);
        KroWitness witness(dir.path(), "ABC", 5, &env);
        EXPECT_EQ(witness.status().value(),
                  bit(KroWitness::kWriteErrorBit) | bit(KroWitness::kNoJobBit));
    }
}

TEST(KroWitness, WritingPutsTheSameRecordBack) {
    SuiteTree suite;
    const std::string before = readBytes(suite.witnessPath());
    KroWitness witness(suite.folder(SuiteTree::kWork), "ABC", 5);
    EXPECT_EQ(witness.exchange(suite.folder(SuiteTree::kWork), true), 1);
    EXPECT_EQ(witness.status().value(), 0u);
    EXPECT_EQ(readBytes(suite.witnessPath()), before);
}

TEST(KroWitness, ArbitraryBytesNeverCrashAndKeepTheFieldsInBounds) {
    std::mt19937 random(20240531);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const std::size_t size : {1u, 5u, 299u, 300u, 301u, 600u}) {
        for (int round = 0; round < 20; ++round) {
            std::string bytes(size, ' ');
            for (char& b : bytes) {
                b = static_cast<char>(byte(random));
            }
            TempDir dir;
            dir.write("WITNESS.ABC.005", bytes);
            KroWitness witness(dir.path(), "ABC", 5);
            EXPECT_EQ(witness.status().value() & ~0x1Fu, 0u);
            if (witness.jobName() != nullptr) {
                EXPECT_LE(std::string(witness.jobName()).size(), KroWitness::kMaxJobName);
                EXPECT_LE(witness.code().size(), 5u);
                EXPECT_EQ(witness.auxiliaryCode().size(), 3u);
            }
        }
    }
}
