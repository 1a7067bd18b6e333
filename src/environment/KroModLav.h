// KroModLav is the job's work mode: it loads the work-mode archive ("Modo
// Lavoro") that the suite's other programs write for each job, and answers
// the few values this program needs by index.
//
//   KroModLav workMode(witness.jobName(), parametersFolder);
//   if (workMode.status().any()) showStatusReport(workMode, 0, box);
//   const char* folderPattern = workMode.param(16);   // "AAMMGG", or nullptr
//   const char* guideLayout = workMode.trackName(10);
//   bool lowerCaseUsers = workMode.option(7);
//
// The archive is <job>.LAV in the parameters folder: five text lines of 264
// characters (1330 bytes, the short form) or of 784 characters (3930 bytes,
// the long form), each followed by CR LF, and optionally a sixth line, the
// trailing note. Line 0 holds eight flags and four numbers, line 1 the
// option word and the description, line 2 twenty-four parameters of 11
// characters, line 3 sixteen names of 16 characters, line 4 sixteen long
// names of 16 (short form) or 49 (long form) characters. A field whose first
// character is a blank is empty; a field stops at the end of its line.
// Non-printable bytes read as blanks.
//
// "None" is nullptr: every text accessor answers nullptr while the status
// word is not 0, for an index out of range, or for an empty value, so a
// failed archive cannot be half-used. Texts belong to the object.
//
// Status bits:
//   0 the archive cannot be opened (missing, unreadable, or a job name
//     holding a path separator, which would look outside the folder),
//   1 the archive ends before line 4 is read (an empty line or the end of
//     the file among lines 0 to 4); every value is then empty,
//   2 writing failed (never set: the archive is only read),
//   3 no job is set (also while loading),
//   4 the archive is neither 1330 nor 3930 bytes long.
// No operation throws.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/KroFastObject.h"
#include "core/KroOptions.h"
#include "platform/Env.h"

class KroFile;

class KroModLav : public KroFastObject {
public:
    // Status bits.
    static constexpr int kCannotOpenBit = 0;
    static constexpr int kEndsEarlyBit = 1;
    static constexpr int kWriteErrorBit = 2;
    static constexpr int kNoJobBit = 3;
    static constexpr int kBadSizeBit = 4;

    static constexpr int kParamCount = 24;
    static constexpr int kNameCount = 16;
    static constexpr int kNumberCount = 4;
    // The two accepted sizes and their line lengths.
    static constexpr int64_t kShortSize = 1330;
    static constexpr int64_t kLongSize = 3930;
    static constexpr int kShortLine = 264;
    static constexpr int kLongLine = 784;

    // Loads <jobName>.LAV from parametersFolder; a null or empty job name
    // loads nothing (bit 3).
    KroModLav(const char* jobName, const std::string& parametersFolder, Env* env = Env::Default());

    // "Impossibile accedere all'archivio del Modo Lavoro",
    // "L'archivio Modo Lavoro termina inopinatamente",
    // "Errore durante la scrittura sull'Archivio del Modo Lavoro",
    // "Nessuna lavorazione impostata", "File Modo Lavoro di dimensione anomala"
    // for bits 0 to 4, else "Manca la definizione dell'errore occorso".
    const char* errorText(int bit) const override;

    // Parameter 0 to 23 (at most 10 characters), or nullptr.
    const char* param(int index) const;
    // Name-table entry 0 to 15 (at most 15 characters), or nullptr.
    const char* trackName(int index) const;
    // True when the status word is 0 and bit (0 to 31) of the option word is set.
    bool option(int bit) const;

    // Values loaded and kept for the suite's other programs.
    // Long-name entry 0 to 15 (at most 15 or 48 characters), or nullptr.
    const char* longName(int index) const;
    // The description (at most 180 characters) and the trailing note (at
    // most 259), or nullptr.
    const char* description() const;
    const char* note() const;
    // Bit n set when flag n of line 0 is "1".
    uint32_t flagWord() const { return flagWord_; }
    // The option word as a status word of its own.
    KroOptions optionWord() const { return optionWord_; }
    // Number 0 to 3 of line 0; 0 for another index.
    int32_t number(int index) const;
    // 264 or 784 once the size is known, else 0.
    int recordLength() const { return recordLength_; }

private:
    void reset();
    void load(const char* jobName, const std::string& folder);
    bool readLines(KroFile& file);
    void takeLine(int line, std::string_view text);
    void takeFirstLine(std::string_view text);
    void takeOptionLine(std::string_view text);
    const char* answer(const std::string& text) const;

    Env* env_;
    uint32_t flagWord_ = 0;
    uint32_t options_ = 0;
    std::array<int32_t, kNumberCount> numbers_{};
    int recordLength_ = 0;
    std::array<std::string, kNameCount> names_;
    std::array<std::string, kParamCount> params_;
    std::array<std::string, kNameCount> longNames_;
    std::string note_;
    std::string description_;
    KroOptions optionWord_;
};
