#!/usr/bin/env bash
# Runs every libFuzzer target for SECONDS each (default 60), then merges the
# inputs that reached new code into the committed corpus fuzz/corpus/<target>/.
#   bench/fuzz.sh [SECONDS] [TARGET...]      e.g. bench/fuzz.sh 600 fuzz_exif
# TUVO_FUZZ_BUILD chooses the clang build tree (default build-fuzz); its
# scratch corpus and any crash files stay in fuzz/corpus-work/<target>/.
# Exit status 1 when a target found a crash, hang or leak.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${TUVO_FUZZ_BUILD:-$root/build-fuzz}

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTUVO_FUZZ=ON -DTUVO_BUILD_TESTS=OFF >/dev/null
fi
# Named targets are built alone, so one target's broken layer does not stop the others.
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    cmake --build "$build" --target fuzz_all
    for program in "$build"/fuzz/fuzz_*; do
        [ -x "$program" ] && [ -f "$program" ] && targets+=("$(basename "$program")")
    done
else
    cmake --build "$build" --target "${targets[@]}"
fi

status=0
for target in "${targets[@]}"; do
    corpus=$root/fuzz/corpus/$target
    work=$root/fuzz/corpus-work/$target
    mkdir -p "$corpus" "$work/inputs" "$work/artifacts"
    echo "== $target: ${seconds}s"
    if ! LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp "$build/fuzz/$target" "$work/inputs" "$corpus" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        2>"$work/last-run.log"; then
        echo "$target: FINDING, see $work/artifacts/ and $work/last-run.log"
        status=1
    fi
    grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/last-run.log" || true
    # Keep only inputs that add coverage to what is committed already.
    "$build/fuzz/$target" -merge=1 -use_counters=0 "$corpus" "$work/inputs" 2>"$work/merge.log" || status=1
    echo "$target: corpus $(ls "$corpus" | wc -l) files"
done
exit $status
