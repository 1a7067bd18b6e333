// Fuzzes the connection-string file (KroCnnString): the input is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzView.h"
#include "MemoryEnv.h"
#include "db/KroCnnString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/PAR/EFFETTI01_CA.CNS",
                std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzView box;
    KroCnnString cns(box, &env);
    if (!cns.load("/vault/PAR/EFFETTI01_CA.CNS")) {
        __builtin_trap();  // the file is there
    }
    for (int i = -1; i <= KroCnnString::kKeyCount; ++i) {
        (void)cns.value(i);
    }
    (void)cns.port();
    return 0;
}
