// Fuzzes the table-layout reader (TableLayoutFile) without a server: the
// input is <table>.TBL, read into its statements.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "db/TableLayoutFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/PAR/Orvax.TBL",
                std::string_view(reinterpret_cast<const char*>(data), size));
    TableLayoutFile layout("Orvax", &env);
    std::string error;
    if (!layout.open("/vault/PAR/Orvax.TBL", &error)) {
        __builtin_trap();  // the file is there
    }
    std::size_t total = 0;
    for (std::string statement; layout.nextStatement(&statement);) {
        total += statement.size();
        // No statement can hold more than the file and its one head.
        if (total > 2 * size + 64) {
            __builtin_trap();
        }
    }
    return 0;
}
