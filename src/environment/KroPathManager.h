// KroPathManager is the paths object the program builds at start-up: the six
// folders of the paths file (KroDir) plus the job folders below the work
// folder, one per job and, inside it, one per job date, created on demand.
// The job's output files are made in jobPath().
//
//   KroPathManager paths;                        // the current directory's paths file
//   if (paths.status().anyLow()) showStatusReport(paths, 0, box);
//   paths.openJobFolder(witness.jobName(), jobDateText, KroDir::kWork, true);
//   std::string flow = paths.jobPath() + "OrvaxBlocco_001.NST";
//
// With the job EFFETTI01 and the date text 240531 in the work folder
// /vault/LAV, openJobFolder selects /vault/LAV/EFFETTI01/ (jobRootPath) and
// /vault/LAV/EFFETTI01/240531/ (jobPath), creating the work folder, the job
// folder and the date folder when they are missing. Folders are joined with
// the native separator and the job paths end with it. It then records the
// work folder's server (attachServer).
//
// Status bits added to those of KroDir (bits 16 to 20 are state flags: only
// the low 16 bits stop start-up):
//   8  a missing folder could not be created
//   16 the slot folder is undefined, missing and not creatable (set at construction)
//   17 no first-level job folder selected yet (never set)
//   18 no job sub-folder selected (set at construction and at each selection)
//   19 the server's main folder does not exist
//   20 no server attached yet (set at construction)
//
// A sub-folder that would lead out of its slot folder (an absolute path or a
// ".." component, as a job name read from the witness could hold) is refused;
// jobPath changes only when a selection succeeds.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "environment/KroDir.h"
#include "environment/KroServer.h"
#include "records/KroFileUtilities.h"

class KroPathManager : public KroDir {
public:
    static constexpr int kCreateFailedBit = 8;
    static constexpr int kNoMainFolderBit = 16;
    static constexpr int kNoFirstLevelBit = 17;
    static constexpr int kNoJobFolderBit = 18;
    static constexpr int kNoServerFolderBit = 19;
    static constexpr int kNoServerBit = 20;
    static constexpr int kServerCount = 3;

    // Reads the paths file of home, or of the current directory when home is
    // empty.
    explicit KroPathManager(std::string_view home = {}, Env* env = Env::Default());
    ~KroPathManager() override;

    // "Errore creando una directory", "Directory principale non definita",
    // "Manca la madre di tutte le directory", "Manca la cartella principale
    // sul server dichiarato", "Il server non è ancora stato istanziato" for
    // bits 8, 16, 18, 19, 20; KroDir's texts for the others.
    const char* errorText(int bit) const override;

    // Selects the folder of job, then its date folder, under slot index
    // (creating them when create is set). True when the date folder is
    // selected. An empty date selects the job folder only and answers false;
    // an empty job selects the slot folder itself (jobPath: the folder and
    // two separators) and ignores the date. On success attaches the server 0.
    bool openJobFolder(std::string_view job, std::string_view date, int index, bool create);
    // Makes slot index (0 to 4) current, creates its folder when missing,
    // and selects subfolder below it: jobPath := folder + separator +
    // subfolder + separator, created when create is set. firstLevel: the
    // selection is a job folder (clears bit 17) rather than a date folder
    // (clears bit 18).
    bool enterSubdirectory(int index, std::string_view subfolder, bool create, bool firstLevel);
    // True when path is a folder; a missing one is created (one level) when
    // create is set, and a failure sets bit 8 and answers false. Without
    // create, a missing folder answers true.
    bool ensureDirectory(const std::string& path, bool create);
    // Records server index (0 to 2). Without an alternate the name is, for
    // server 0, the work folder's root, the number the user data's station
    // number (a user-data file that cannot be read answers false, no bit),
    // and the main folder the work folder; with an alternate, the main folder
    // is the alternate path under the name. True when the main folder exists
    // (clears bit 20); otherwise bit 19.
    bool attachServer(int index, std::optional<std::string_view> name = std::nullopt,
                      std::optional<std::string_view> alternate = std::nullopt);

    // The selected folder with a trailing separator; empty until a selection.
    const std::string& jobPath() const { return jobPath_; }
    // The job folder without the date level, with a trailing separator.
    const std::string& jobRootPath() const { return jobRootPath_; }
    int currentIndex() const { return currentIndex_; }
    // Server 0 to 2, or nullptr when not attached yet.
    const KroServer* server(int index) const;
    KroFileUtilities& fileUtilities() { return *fileUtilities_; }

private:
    int currentIndex_ = kWork;
    std::string jobRootPath_;
    std::string jobPath_;
    std::array<std::unique_ptr<KroServer>, kServerCount> servers_;
    std::unique_ptr<KroFileUtilities> fileUtilities_;
};
