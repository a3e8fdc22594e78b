#!/usr/bin/env bash
# Builds every library, test and fuzz target with AddressSanitizer and UndefinedBehavior-
# Sanitizer (clang, in build-asan) and runs the whole test suite there, both backends;
# exits non-zero on any failure or sanitizer report. Arguments go to ctest (-R pg. ...).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDATALOADER_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
