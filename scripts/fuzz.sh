#!/usr/bin/env bash
# Runs each fuzz target built in build-asan (scripts/sanitize.sh builds them) for a bounded
# time, from its seeds in fuzz/corpus; exits non-zero on the first finding, whose input is
# left in build-asan/fuzz-findings. Keep that input in fuzz/regressions/<target>/ once fixed.
#   fuzz.sh [SECONDS [TARGET...]]   (30 seconds each, every target, by default)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/sanitizer-env.sh
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(lab_file data_location wildcard journal_json conversions access_file)

# The checks write their files into a folder of their own under TMPDIR: memory is faster.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
work=build-asan/fuzz-work
findings=build-asan/fuzz-findings
mkdir -p "$findings"
for target in "${targets[@]}"; do
    binary=build-asan/fuzz/fuzz_$target
    [ -x "$binary" ] || { echo "$binary is missing: run scripts/sanitize.sh first" >&2; exit 1; }
    # The seeds and the kept inputs start a corpus of this run's own; what it adds is dropped.
    rm -rf "${work:?}/$target"
    mkdir -p "$work/$target"
    for kept in fuzz/corpus/"$target" fuzz/regressions/"$target"; do
        if [ -d "$kept" ]; then cp -r "$kept"/. "$work/$target/"; fi
    done
    log=$work/$target.log
    if ! "$binary" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 \
            -artifact_prefix="$findings/$target-" -print_final_stats=1 \
            "$work/$target" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz_$target found a failing input: $(ls -t "$findings/$target-"* | head -n 1)" >&2
        exit 1
    fi
    echo "fuzz_$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
        grep -o '[0-9]*$') runs in ${seconds} s, no finding"
done
