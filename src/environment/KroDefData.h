// KroDefData loads the user-data file of the vault suite, DEFDATA.DAT (found
// whatever the case of its name, "Defdata.dat" in the messages), from the
// user-data folder. The suite's other programs write it; this program reads
// the station code and number, which name the witness file, and the path
// manager reads the station number again for the work folder's server.
//
//   KroDefData userData(*paths.directory(KroDir::kUserData));
//   if (userData.status().any()) showStatusReport(userData, 0, box);
//   KroWitness witness(work, userData.stationCode(), userData.stationNumber());
//
// The file is one line of 1024 characters and a line end (CR LF or LF):
//
//   offset length                 offset length
//        0     50 first text         193      4 station code
//       50     50 second text        197      2 station number ("%.2u")
//      100      5 five-char code     199      1 second flag ("1"/"0")
//      105     40 forty-char text    200      1 first flag
//      145      2 two-char code      201    256 first path text
//      147     46 46-char text       457    512 second path text
//
// Each field is taken up to its width or a first byte 0, trailing blanks
// removed; a field beyond the end of a shorter line is empty, and the second
// path text is read only from a line of exactly 1024 characters. A line longer
// than 1024 characters is ignored: the defaults stand. An empty file gives
// empty fields and the station number 0.
//
// No file: the first text "Generico", station number 1, everything else empty
// or false, status 0. A file that exists but cannot be opened for reading (or
// is not a regular file) sets bit 0. The file is opened read-only: this
// program never writes it, and a file left untouched cannot be lost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroDefData : public KroFastObject {
public:
    static constexpr int kRecordLength = 1024;
    static constexpr const char* kFileName = "DEFDATA.DAT";

    // Status bits.
    static constexpr int kUnreadableBit = 0;
    static constexpr int kUnexpectedSizeBit = 1;  // kept for the suite; never set here

    // Reads the file from folder; an empty folder means no file.
    explicit KroDefData(std::string_view folder, Env* env = Env::Default());

    // "Errore in lettura Dati Utente", "Dimensione di 'Defdata.dat' inattesa"
    // for bits 0 and 1; "Errore non definito " for every other bit.
    const char* errorText(int bit) const override;

    const std::string& firstText() const { return firstText_; }
    const std::string& secondText() const { return secondText_; }
    const std::string& fiveCharCode() const { return fiveCharCode_; }
    const std::string& fortyCharText() const { return fortyCharText_; }
    const std::string& twoCharCode() const { return twoCharCode_; }
    const std::string& fortySixCharText() const { return fortySixCharText_; }
    // Up to 4 characters; the witness file is named by it.
    const std::string& stationCode() const { return stationCode_; }
    int32_t stationNumber() const { return stationNumber_; }
    bool firstFlag() const { return firstFlag_; }
    bool secondFlag() const { return secondFlag_; }
    const std::string& firstPath() const { return firstPath_; }
    const std::string& secondPath() const { return secondPath_; }

private:
    void takeFields(std::string_view line);

    std::string firstText_ = "Generico";
    std::string secondText_;
    std::string fiveCharCode_;
    std::string fortyCharText_;
    std::string twoCharCode_;
    std::string fortySixCharText_;
    std::string firstPath_;
    std::string secondPath_;
    std::string stationCode_;
    int32_t stationNumber_ = 1;
    bool firstFlag_ = false;
    bool secondFlag_ = false;
};
