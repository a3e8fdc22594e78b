// The inputs kept for the fuzz targets, checked again on every run: each target's seeds and
// every input that ever broke one of its properties.
#include <gtest/gtest.h>

#include <filesystem>

#include "Checks.h"
#include "EngineSupport.h"

namespace hostile {
// A target as the test names it.
void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }
}  // namespace hostile

namespace {

class KeptInputs : public ::testing::TestWithParam<hostile::Target> {};

TEST_P(KeptInputs, KeepEveryProperty) {
    const hostile::Target& target = GetParam();
    int inputs = 0;
    for (const char* kept : {"corpus", "regressions"}) {
        const auto folder = std::filesystem::path(DATALOADER_FUZZ_DIR) / kept / target.name;
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const auto broken = target.check(testing_support::ReadFile(entry.path().string()));
            EXPECT_EQ(broken, std::nullopt) << entry.path();
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no input is kept for " << target.name;
}

INSTANTIATE_TEST_SUITE_P(Fuzz, KeptInputs, ::testing::ValuesIn(hostile::Targets()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
