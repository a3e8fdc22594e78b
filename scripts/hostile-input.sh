#!/usr/bin/env bash
# Hostile input, checked by machines: the whole test suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, then every fuzz target for a bounded time. Run by .ci/run after
# ./test; installs clang and its sanitizer and fuzzer runtimes when missing.
#   hostile-input.sh [SECONDS per fuzz target, 30 by default]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
DATALOADER_PACKAGES+=(clang libclang-rt-14-dev llvm)
install_missing_packages

start=$SECONDS
scripts/sanitize.sh
echo "Sanitizer suite: $((SECONDS - start)) s"
start=$SECONDS
scripts/fuzz.sh "${1:-30}"
echo "Fuzz targets: $((SECONDS - start)) s"
