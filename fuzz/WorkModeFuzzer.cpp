// Fuzzes the work-mode archive <job>.LAV (KroModLav): the input is the
// archive; every value is then asked for.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "MemoryEnv.h"
#include "environment/KroModLav.h"

namespace {

void checkText(const char* text, std::size_t longest) {
    if (text != nullptr && std::strlen(text) > longest) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    MemoryEnv env;
    env.addFile("/vault/PAR/EFFETTI01_CA.LAV",
                std::string_view(reinterpret_cast<const char*>(data), size));
    KroModLav workMode("EFFETTI01_CA", "/vault/PAR", &env);
    for (int i = -1; i <= KroModLav::kParamCount; ++i) {
        checkText(workMode.param(i), 10);
    }
    for (int i = -1; i <= KroModLav::kNameCount; ++i) {
        checkText(workMode.trackName(i), 15);
        checkText(workMode.longName(i), 48);
    }
    checkText(workMode.description(), 180);
    checkText(workMode.note(), 259);
    for (int bit = 0; bit < 32; ++bit) {
        (void)workMode.option(bit);
    }
    for (int i = -1; i <= KroModLav::kNumberCount; ++i) {
        (void)workMode.number(i);
    }
    return 0;
}
