// Fuzzes the program settings file (ProgramSettings::load): the input is the
// file; every up-down must end within its range.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzView.h"
#include "MemoryEnv.h"
#include "app/ProgramSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/AUX/ExportOrvax.INI",
                std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzView view;
    ProgramSettings settings(view, &env);
    if (!settings.load("/vault/AUX/ExportOrvax.INI")) {
        __builtin_trap();  // the file is there
    }
    for (const ProgramSettings::UpDownRange& upDown : ProgramSettings::kUpDowns) {
        const auto set = view.positions.find(upDown.name);
        if (set != view.positions.end() &&
            (set->second < upDown.minimum || set->second > upDown.maximum)) {
            __builtin_trap();
        }
    }
    return 0;
}
