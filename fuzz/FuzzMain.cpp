// One libFuzzer target: ZORVANE_FUZZ_TARGET names the reader it drives.
#include "FuzzTargets.h"

#include <cstdlib>
#include <cstring>

namespace {

void (*Target())(const uint8_t*, size_t) {
    static void (*const run)(const uint8_t*, size_t) = [] {
        for (const TFuzzTarget& target : FuzzTargets())
            if (std::strcmp(target.Name, ZORVANE_FUZZ_TARGET) == 0)
                return target.Run;
        std::abort();
    }();
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Target()(data, size);
    return 0;
}
