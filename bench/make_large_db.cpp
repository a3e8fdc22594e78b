// Creates a large database for trying the program and the benchmarks on real volumes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "LargeDatabase.h"

namespace {

bool parse(const char* text, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bench::LargeDatabaseSize size;
    long long samples = size.samples, results = size.resultsPerSample, seed = 1;
    if (argc < 2 || argc > 5 || (argc > 2 && !parse(argv[2], 0, 100000000, samples)) ||
        (argc > 3 && !parse(argv[3], 0, 1000, results)) ||
        (argc > 4 && !parse(argv[4], 0, 0x7fffffffffffffffLL, seed))) {
        std::fprintf(stderr,
                     "usage: make_large_db PATH [SAMPLES] [RESULTS_PER_SAMPLE] [SEED]\n"
                     "  defaults: %d samples, %d results per sample, seed 1\n",
                     size.samples, size.resultsPerSample);
        return 2;
    }
    size.samples = static_cast<int>(samples);
    size.resultsPerSample = static_cast<int>(results);
    size.seed = static_cast<unsigned long long>(seed);
    try {
        const auto start = std::chrono::steady_clock::now();
        bench::CreateLargeDatabase(argv[1], size);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%s: %d samples, about %d results each, seed %llu, %.1f s\n", argv[1],
                    size.samples, size.resultsPerSample, size.seed, took.count());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_large_db: %s\n", e.what());
        return 1;
    }
    return 0;
}
