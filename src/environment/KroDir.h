// KroDir reads the paths file of the vault suite, "PERCORSI.PAT" (or
// "PERCORSI") in the home directory, into six directory slots and checks each
// path. Every other file of the suite is found through these slots:
//
//   slot 0 parameters   (work-mode archive, connection strings)
//   slot 1 work         (witness, job folders with the output files)
//   slot 2 queries      slot 3 user data (DEFDATA.DAT)
//   slot 4 auxiliary    (program settings)   slot 5 patterns (record layouts)
//
//   KroDir paths(homeFolder);
//   if (paths.status().anyLow()) showStatusReport(paths, 0, box);
//   std::optional<std::string> work = paths.directory(KroDir::kWork);
//
// The file holds one path per line (LF or CR LF; the last line may lack its
// line end), read with the record file's line reader: at most 264 characters
// form a line (the rest of a longer line is read as the next one) and every
// non-printable character other than CR reads as a blank. Lines after the
// sixth are ignored. An empty line leaves its slot as it was; the end of the
// file makes the remaining slots undefined.
//
// A valid path is absolute and names an existing folder: a drive form
// (C:\DIR, no further ":" after the drive), a network form (\\HOST\SHARE\DIR)
// or, on POSIX, a path beginning with "/". It holds none of "*?|<>" and at
// most kMaxPath characters: a longer path is refused, never cut, so that a
// slot never names another folder than the one written. Texts end at a first
// byte 0, as the suite's texts do.
//
// Status bits: 0 to 5 a slot is undefined (0 to 4 set at construction; the
// pattern slot 5 is optional), 6 the paths file is missing or any of slots 0
// to 4 is undefined, 7 the last path tested for existence did not exist.
//
// KroPathManager derives from it and adds the job folders.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroDir : public KroFastObject {
public:
    // The six folder slots.
    static constexpr int kParameters = 0;
    static constexpr int kWork = 1;
    static constexpr int kQueries = 2;
    static constexpr int kUserData = 3;
    static constexpr int kAuxiliary = 4;
    static constexpr int kPatterns = 5;
    static constexpr int kFolderSlots = 6;
    // Slot 6 is the home directory, slot 7 the scratch text of rootOf.
    static constexpr int kHome = 6;
    static constexpr int kScratch = 7;

    // Status bits beyond the slot bits 0 to 5.
    static constexpr int kNoPathsFileBit = 6;
    static constexpr int kMissingPathBit = 7;

    static constexpr std::size_t kMaxPath = 260;
    // The paths file is read with this record length: lines of at most 264
    // characters.
    static constexpr int kPathsRecordLength = 262;

    // The home directory is source when only source is given, source and
    // subfolder joined when both are, otherwise the current directory. The
    // paths file is read from it at once (reload(false)).
    explicit KroDir(std::string_view source = {}, std::string_view subfolder = {},
                    Env* env = Env::Default());
    ~KroDir() override = default;

    KroDir(const KroDir&) = delete;
    KroDir& operator=(const KroDir&) = delete;

    // "Dir dei parametri non definita", "Dir di lavoro non definita",
    // "Dir delle query non definita", "Dir ausiliaria non definita",
    // "Dir dei pattern non definita", "Manca il file Percorsi" for bits 0, 1,
    // 2, 4, 5, 6; "Errore non definito " for every other bit.
    const char* errorText(int bit) const override;

    // The path of slot 0 to 5; none for another index or an undefined slot.
    std::optional<std::string> directory(int index) const { return directory(index, true); }
    // With full false, the path without its drive: the text after the first
    // ":" (none when there is no colon, as for a network path); a POSIX path
    // has no drive and comes back whole.
    virtual std::optional<std::string> directory(int index, bool full) const;
    // The same as wide text.
    virtual std::optional<std::u16string> directoryW(int index, bool full = true) const;
    // Stores the path in slot index when it is valid and exists; otherwise
    // marks the slot undefined and leaves its text. Recomputes bit 6. False
    // only for an index outside 0 to 5.
    virtual bool setDirectory(int index, std::string_view path);
    virtual bool setDirectoryW(int index, std::u16string_view path);
    // save false: reads the paths file from the home directory; 1 when it
    // was found, 0 (bit 6) when neither name could be opened.
    // save true: writes the six slots to the home directory's paths file, one
    // line each ended by CR LF, an undefined slot as an empty line (which the
    // reading direction leaves undefined); 1 when written, else 0.
    virtual int reload(bool save);
    // The path check (see above). With mustExist, a missing path sets bit 7
    // and an existing one clears it.
    virtual bool isValidPath(std::string_view path, bool mustExist);

    // Length of a path's root: 2 for a drive ("C:"), the text before the
    // fourth backslash of a network path (the whole text when it has fewer),
    // 1 for a POSIX path ("/"), 0 for another text whose second character is
    // a backslash, -1 otherwise.
    static int rootLength(std::string_view path);
    // The root of a slot (0 to 5, or kHome), also kept in the scratch slot;
    // none when the slot is undefined or has no root.
    std::optional<std::string> rootOf(int index);
    // The slot's path after its root; none when the root length is 0 or less.
    std::optional<std::string> pathAfterRoot(int index) const;

    // The raw text of slot 0 to 7 (empty for another index), defined or not.
    const std::string& slotText(int index) const;
    const std::string& homeDirectory() const { return slots_[kHome]; }

    // The path of the file called name in folder, its name matched whatever
    // its case (the exact name first); empty when there is no such entry or
    // the folder is empty.
    static std::string findFile(Env* env, std::string_view folder, std::string_view name);

protected:
    Env* env() const { return env_; }
    bool slotIsDefined(int index) const;

private:
    int loadPathsFile();
    int savePathsFile();
    void recomputeNoPathsFileBit();

    Env* env_;
    std::array<std::string, 8> slots_;
};
