// Fuzzes the paths file PERCORSI.PAT (KroDir, through KroPathManager): the
// input is the file of a home folder; a few folders exist, so that paths
// naming them are taken. Then every slot is asked for its root and its path
// after the root, and a job folder is opened under the work folder. A slot
// that is defined holds a whole path of at most kMaxPath characters.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "environment/KroPathManager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    for (const char* folder : {"/vault", "/vault/PAR", "/vault/LAV", "/vault/QRY", "/vault/USR",
                               "/vault/AUX", "/vault/PAT", "C:\\VAULT", "\\\\HOST\\SHARE\\DIR"}) {
        env.addFolder(folder);
    }
    env.addFile("/fuzz/home/PERCORSI.PAT",
                std::string_view(reinterpret_cast<const char*>(data), size));
    KroPathManager paths("/fuzz/home", &env);
    for (int slot = 0; slot < KroDir::kFolderSlots; ++slot) {
        const std::optional<std::string> path = paths.directory(slot);
        // The optional pattern slot is defined and empty until a path is read.
        const bool emptyPatterns = slot == KroDir::kPatterns && path && path->empty();
        if (path && !emptyPatterns &&
            (path->empty() || path->size() > KroDir::kMaxPath ||
             path->find_first_of("*?|<>") != std::string::npos || !env.fileExists(*path))) {
            __builtin_trap();
        }
    }
    for (int slot = 0; slot <= KroDir::kHome; ++slot) {
        (void)paths.directory(slot, false);
        (void)paths.directoryW(slot);
        (void)paths.rootOf(slot);
        (void)paths.pathAfterRoot(slot);
    }
    if (!paths.status().anyLow()) {
        paths.openJobFolder("EFFETTI01_CA", "240531", KroDir::kWork, true);
    }
    return 0;
}
