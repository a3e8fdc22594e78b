// A libFuzzer target: the check of the reader DATALOADER_FUZZ_TARGET names, on every input;
// a broken property aborts with what broke, as a crash does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Checks.h"

namespace {

hostile::Verdict (*check())(std::string_view) {
    for (const hostile::Target& t : hostile::Targets())
        if (std::strcmp(t.name, DATALOADER_FUZZ_TARGET) == 0) return t.check;
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto run = check();
    if (const auto broken = run(std::string_view(reinterpret_cast<const char*>(data), size))) {
        std::fprintf(stderr, "%s: %s\n", DATALOADER_FUZZ_TARGET, broken->c_str());
        std::abort();
    }
    return 0;
}
