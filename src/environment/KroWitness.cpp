#include "environment/KroWitness.h"

#include <cstdio>
#include <string_view>

#include "core/SuiteText.h"
#include "records/KroFile.h"
#include "records/KroFileUtilities.h"

namespace {

// Record layout: offsets and lengths of the fields.
constexpr int kStateOffset = 0;
constexpr int kSecondFlagOffset = 4;
constexpr int kCodeOffset = 5;
constexpr int kCodeLength = 5;
constexpr int kDateOffset = 11;
constexpr int kDateLength = 6;
constexpr int kStationOffset = 20;
constexpr int kJobNameOffset = 23;
constexpr int kAuxiliaryOffset = 73;
constexpr int kAuxiliaryLength = 3;
constexpr int kCounterOffset = 76;
constexpr int kCounterLength = 6;

constexpr const char* kDatePattern = "GGMMAA";

std::string digits(const char* format, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

KroWitness::KroWitness(const std::string& folder, const std::string& stationCode,
                       uint32_t stationNumber, Env* env)
    : stationNumber_(stationNumber), jobDate_(env), env_(env) {
    setName("Classe Testimone");
    if (stationNumber >= 100) {
        status_.set(kBadStationBit);
        return;
    }
    stationCode_ = stationCode.size() < 4 ? stationCode : "~~~";
    exchange(folder, false);
}

const char* KroWitness::errorText(int bit) const {
    switch (bit) {
        case kCannotOpenBit:
            return "Impossibile aprire .\\LAV\\Witness.xxx (Percorsi errati?)";
        case kNoJobBit:
            return "Occorre impostare una lavorazione";
        case kBadStationBit:
            return "Postazione di lavoro errata";
        case kReadErrorBit:
            return "Errore in lettura di .\\LAV\\Witness.xxx";
        case kWriteErrorBit:
            return "Errore scrivendo .\\LAV\\Witness.xxx";
        default:
            return "Errore non definito ";
    }
}

std::string KroWitness::fileNameIn(const std::string& folder) const {
    return KroFileUtilities::inFolder(
        folder, "WITNESS." + stationCode_ + "." + digits("%.3u", stationNumber_));
}

int KroWitness::exchange(const std::string& folder, bool write) {
    if (status_.test(kBadStationBit)) {
        return 0;
    }
    // Each exchange reports its own outcome.
    status_.reset(kCannotOpenBit);
    status_.reset(kReadErrorBit);
    status_.reset(kWriteErrorBit);
    if (!stationCodeIsUsable()) {
        status_.set(kCannotOpenBit);
        return 0;
    }
    const std::string path = fileNameIn(folder);
    if (!env_->fileExists(path)) {
        setDefaultRecord();
        status_.set(kNoJobBit);
        write = true;
    }
    KroFile file(false, env_);
    file.setRecordLength(kRecordLength);
    if (!file.open(path.c_str(), KroFile::kOpenOrCreate)) {
        status_.set(kCannotOpenBit);
        return 0;
    }
    return write ? writeRecord(file) : readRecord(file);
}

// A station code with a path separator (or a byte 0) would name a file
// outside the witness's own name in the folder.
bool KroWitness::stationCodeIsUsable() const {
    return stationCode_.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
}

void KroWitness::setDefaultRecord() {
    jobName_ = kNoJob;
    code_ = "00000";
    auxiliaryCode_ = "  ";
    counter_ = 0;
    jobDate_.setToday();
    running_ = false;
    secondFlag_ = false;
}

int KroWitness::writeRecord(KroFile& file) {
    file.clearBuffer();
    std::string name = jobName_.value_or("").substr(0, kMaxJobName);
    if (name.size() < kMaxJobName) {
        name += '\0';
    }
    file.putAt(name, kJobNameOffset, static_cast<int>(name.size()));
    file.putAt(code_.substr(0, kCodeLength), kCodeOffset);
    if (const char* date = jobDate_.format(kDatePattern)) {
        file.putAt(date, kDateOffset, kDateLength);
    }
    file.putAt(auxiliaryCode_.substr(0, kAuxiliaryLength), kAuxiliaryOffset);
    file.putAt(digits("%.2u", stationNumber_), kStationOffset, 2);
    file.putAt(running_ ? "RUN" : "STOP", kStateOffset);
    file.putAt(secondFlag_ ? "S" : "N", kSecondFlagOffset);
    // A counter read from the record has at most six digits.
    file.putAt(digits("%.6u", counter_), kCounterOffset, kCounterLength);
    const bool written = file.writeRecord(0);
    file.close();  // a write that fails only when flushed shows up here
    if (!written || file.status().test(KroFile::kIoErrorBit)) {
        status_.set(kWriteErrorBit);
        return 0;
    }
    return finish();
}

int KroWitness::readRecord(KroFile& file) {
    if (!file.readRecord(0)) {
        status_.set(kReadErrorBit);
        return 0;
    }
    takeFields(std::string_view(file.buffer(), kRecordLength));
    file.close();
    const int jobSet = finish();
    // A job date that is not a date would name the job folder and the
    // job's tables with nothing.
    if (jobDate_.status().test(KroDate::kBadDate)) {
        status_.set(kReadErrorBit);
        return 0;
    }
    return jobSet;
}

void KroWitness::takeFields(std::string_view record) {
    running_ = record[kStateOffset] == 'R';
    secondFlag_ = record[kSecondFlagOffset] == 'S';
    code_ = suitetext::fieldText(record, kCodeOffset, kCodeLength);
    jobDate_.parseWithPattern(std::string(record.substr(kDateOffset, kDateLength)), kDatePattern);
    jobName_ = suitetext::fieldText(record, kJobNameOffset, kMaxJobName);
    auxiliaryCode_ = std::string(record.substr(kAuxiliaryOffset, kAuxiliaryLength));
    counter_ = static_cast<uint32_t>(
        suitetext::readDecimal(suitetext::fieldAt(record, kCounterOffset, kCounterLength)));
}

int KroWitness::finish() {
    if (jobName_.value_or("").starts_with(kNoJob)) {
        status_.set(kNoJobBit);
        return 0;
    }
    status_.reset(kNoJobBit);
    return 1;
}
