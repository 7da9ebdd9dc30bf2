// One libFuzzer target: VALLORN_FUZZ_ENTRY names the entry of fuzz_entries.h it feeds. An
// input that leaves the game with a value it cannot use aborts like a crash, so libFuzzer
// keeps it as a reproducer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vallorn::fuzz::Result result = vallorn::fuzz::VALLORN_FUZZ_ENTRY(
        std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.outcome == vallorn::fuzz::Outcome::Broken) {
        std::fprintf(stderr, "broken: %s\n", result.detail.c_str());
        std::abort();
    }
    return 0;
}
