#!/bin/bash
# The cost of --max-size: the bench photos (4000 x 3000 JPEG) to width 800 at
# quality 90, plain and with --max-size 100k (every picture needs a search), one
# thread. Counted as instructions under callgrind, which a busy machine does not
# change; WALL=1 times ROUNDS plain runs instead.
#
#   bench/bench_size_limit.sh          PHOTOS (3) photos, TUVO_CLI as run_bench.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work
count=${PHOTOS:-3}
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}
[ -x "$cli" ] || { echo "no tuvo-cli found; set TUVO_CLI" >&2; exit 2; }
# The photos of run_bench.sh, made by its own recipe.
im_convert=$(command -v convert-im6.q16 || command -v convert)
eval "$(sed -n '/^make_photo()/,/^}/p' "$root/bench/run_bench.sh")"
mkdir -p "$work/photos"
inputs=()
for i in $(seq 1 "$count"); do
    f=$(printf '%s/photos/p%02d.jpg' "$work" "$i")
    [ -s "$f" ] || make_photo "$i" 4000 3000 "$f"
    inputs+=("$f")
done

run() { # label, then tuvo-cli options
    local label=$1 out=$work/size-limit/$1
    shift
    rm -rf "$out" && mkdir -p "$out"
    if [ "${WALL:-0}" = 1 ]; then
        local start end
        start=$(date +%s.%N)
        for _ in $(seq 1 "${ROUNDS:-3}"); do
            "$cli" --quiet -j 1 -W 800 -q 90 -o "$out" "$@" "${inputs[@]}" >/dev/null
        done
        end=$(date +%s.%N)
        printf '%-10s %8.2f s per run\n' "$label" "$(echo "($end - $start) / ${ROUNDS:-3}" | bc -l)"
    else
        valgrind --tool=callgrind --callgrind-out-file="$out/cg.out" \
            "$cli" --quiet -j 1 -W 800 -q 90 -o "$out" "$@" "${inputs[@]}" >/dev/null 2>"$out/cg.log"
        printf '%-10s %10.1f M instructions\n' "$label" \
            "$(grep -m1 '^summary:' "$out/cg.out" | awk '{print $2 / 1e6}')"
    fi
    du -b "$out"/*.jpg | awk '{print "  " $1 " bytes"}'
}

run plain
run max-100k --max-size 100k
