#!/usr/bin/env bash
# Times what a newcomer waits for on a fresh clone: `./run` until the program's first window
# is on the screen, and `./test` to its end. Each run is a new clone of COMMIT, built without
# ccache, so nothing carries over from an earlier build.
#
#   bench/first-build.sh COMMIT [RUNS] [run|test|both]
#
# Prints one line per run: what, commit, wall seconds, CPU seconds (user + system of every
# process the run started), and the load average when it began. Needs Xvfb and xwininfo.
set -euo pipefail
commit=$1
runs=${2:-3}
what=${3:-both}
repo=$(cd "$(dirname "$0")/.." && pwd)
export CCACHE_DISABLE=1
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT

now() { date +%s.%N; }

# CPU seconds of this shell's waited-for children and their descendants, into `cpu`. `times`
# runs in this shell itself, as a subshell would count its own children, none.
read_cpu() {
    times >"$scratch"
    cpu=$(awk 'NR == 2 { for (i = 1; i <= 2; i++) { split($i, p, "m"); sub("s", "", p[2]);
                                                   s += p[1] * 60 + p[2] } print s }' "$scratch")
}

# The program's first top-level window, once the X server shows it.
window_shown() {
    local id
    for id in $(DISPLAY=$1 xwininfo -root -tree 2>/dev/null |
                awk '/\("dataloader" "dataloader"\)/ {print $1}'); do
        DISPLAY=$1 xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}

# ./run on its own X server; the program is closed once its window shows.
run_once() {
    local display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    (cd "$dir" && DISPLAY=$display exec ./run >"$dir.log" 2>&1) &
    local runner=$!
    until window_shown "$display"; do
        kill -0 "$runner" 2>/dev/null || { echo "./run ended without a window: $dir.log" >&2; kept=1; break; }
        sleep 0.2
    done
    end=$(now)
    kill "$runner" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
}

test_once() {
    (cd "$dir" && ./test >"$dir.log" 2>&1) || { echo "./test failed: $dir.log" >&2; kept=1; }
    end=$(now)
}

for ((i = 1; i <= runs; i++)); do
    for kind in run test; do
        [ "$what" = both ] || [ "$what" = "$kind" ] || continue
        dir=$(mktemp -d /tmp/first-build.XXXXXX)/dataloader
        git clone --quiet --no-local "$repo" "$dir"
        git -C "$dir" checkout --quiet "$commit"
        load=$(cut -d' ' -f1 /proc/loadavg)
        kept=0
        read_cpu; cpu_before=$cpu
        start=$(now)
        "${kind}_once"
        read_cpu
        awk -v k="$kind" -v c="$commit" -v w="$(echo "$end - $start" | bc)" \
            -v u="$(echo "$cpu - $cpu_before" | bc)" -v l="$load" \
            'BEGIN { printf "%s %s wall %.0f s cpu %.0f s load %s\n", k, c, w, u, l }'
        [ "$kept" = 1 ] || rm -rf "$(dirname "$dir")"
    done
done
