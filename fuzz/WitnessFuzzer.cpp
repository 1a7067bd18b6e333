// Fuzzes the witness file (KroWitness): the input is the record of station
// ABC 5; the job date it holds is then written in the folder layout.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "environment/KroWitness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/LAV/WITNESS.ABC.005",
                std::string_view(reinterpret_cast<const char*>(data), size));
    KroWitness witness("/vault/LAV", "ABC", 5, &env);
    const char* job = witness.jobName();
    if (job != nullptr && std::strlen(job) > KroWitness::kMaxJobName) {
        __builtin_trap();
    }
    (void)witness.jobDate().format("AAMMGG");
    return 0;
}
