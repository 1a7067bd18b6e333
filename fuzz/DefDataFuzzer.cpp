// Fuzzes the user-data file DEFDATA.DAT (KroDefData): the input is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "environment/KroDefData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/USR/DEFDATA.DAT",
                std::string_view(reinterpret_cast<const char*>(data), size));
    KroDefData userData("/vault/USR", &env);
    // The station code names the witness file: at most its four characters.
    if (userData.stationCode().size() > 4) {
        __builtin_trap();
    }
    return 0;
}
