// KroWitness reads the workstation's witness file: the single 300-byte
// record, kept in the suite's work folder, that names the job the station is
// working on and the job's date. The suite's other programs set it; this
// program reads it once at start-up and asks it for the job name and date
// whenever it needs them.
//
//   KroWitness witness(workFolder, userData.stationCode(), userData.stationNumber());
//   if (witness.status().any()) showStatusReport(witness, 0, box);
//   const char* job = witness.jobName();               // "EFFETTI01_CA"
//   const char* folderDate = witness.jobDate().format("AAMMGG");
//
// The file is WITNESS.<station code>.<station number as three digits> in the
// folder (a station code of 4 or more characters becomes "~~~"). A missing
// file is created with the default record (no job, today's date), so a new
// station ends with bit 1 and leaves a valid file for the other programs.
//
// Status bits:
//   0 the witness cannot be opened for update (missing folder, read-only
//     file, a station code holding a path separator),
//   1 no job is set (the job name begins with "*****"),
//   2 the station number is 100 or more (the file is not touched),
//   3 record 0 cannot be read whole, or its job date is not a date,
//   4 the record cannot be written.
// No operation throws. The job name is absent (nullptr) until a record has
// been read or created; texts handed out belong to the object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/KroDate.h"
#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroFile;

class KroWitness : public KroFastObject {
public:
    // Status bits.
    static constexpr int kCannotOpenBit = 0;
    static constexpr int kNoJobBit = 1;
    static constexpr int kBadStationBit = 2;
    static constexpr int kReadErrorBit = 3;
    static constexpr int kWriteErrorBit = 4;

    static constexpr int kRecordLength = 300;
    static constexpr std::size_t kMaxJobName = 50;
    // The job name of a station with no job (compared on these 5 characters).
    static constexpr const char* kNoJob = "*****";

    // Reads the witness of the station in folder (the work folder). The date
    // member takes today's date from env.
    KroWitness(const std::string& folder, const std::string& stationCode, uint32_t stationNumber,
               Env* env = Env::Default());

    // "Impossibile aprire .\LAV\Witness.xxx (Percorsi errati?)",
    // "Occorre impostare una lavorazione", "Postazione di lavoro errata",
    // "Errore in lettura di .\LAV\Witness.xxx",
    // "Errore scrivendo .\LAV\Witness.xxx" for bits 0 to 4, else
    // "Errore non definito ".
    const char* errorText(int bit) const override;

    // Reads the witness in folder (write false) or writes the members to it
    // (write true); a missing file is created with the default record. 1 when
    // a job is set, else 0. Refused (0, file untouched) while bit 2 is set.
    virtual int exchange(const std::string& folder, bool write);

    // The job name, at most 50 characters; nullptr before a record was read.
    const char* jobName() const { return jobName_ ? jobName_->c_str() : nullptr; }
    KroDate& jobDate() { return jobDate_; }
    const KroDate& jobDate() const { return jobDate_; }

    // The file name in folder: "WITNESS." + station code + "." + three digits.
    std::string fileNameIn(const std::string& folder) const;

    const std::string& code() const { return code_; }
    const std::string& auxiliaryCode() const { return auxiliaryCode_; }
    const std::string& stationCode() const { return stationCode_; }
    bool running() const { return running_; }
    bool secondFlag() const { return secondFlag_; }
    uint32_t stationNumber() const { return stationNumber_; }
    uint32_t counter() const { return counter_; }

private:
    void setDefaultRecord();
    bool stationCodeIsUsable() const;
    int writeRecord(KroFile& file);
    int readRecord(KroFile& file);
    void takeFields(std::string_view record);
    int finish();

    std::optional<std::string> jobName_;
    std::string code_;
    std::string auxiliaryCode_;
    std::string stationCode_;
    bool running_ = false;
    bool secondFlag_ = false;
    uint32_t stationNumber_;
    uint32_t counter_ = 0;
    KroDate jobDate_;
    Env* env_;
};
