// Creates a large database for trying the program and the benchmarks on real volumes.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "LargeDatabase.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: make_large_db PATH SAMPLES [RESULTS_PER_SAMPLE]\n", stderr);
        return 2;
    }
    try {
        bench::CreateLargeDatabase(argv[1], std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 3);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_large_db: %s\n", e.what());
        return 1;
    }
    return 0;
}
