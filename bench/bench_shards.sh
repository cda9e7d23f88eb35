#!/bin/bash
# Does sharding cost anything? The same list of 12 MP photos to width 800,
# once as one `tuvo-cli -j 2` run and once as 4 shards through GNU parallel
# with -j 2 (two shards at a time, one picture each), side by side, rounds
# alternating. The shards must write the same bytes as the one run.
#
#   bench/bench_shards.sh            (PHOTOS=96 ROUNDS=3 by default)
#
# Environment: TUVO_CLI (default: the newest build*/bin/tuvo-cli), PHOTOS, ROUNDS.
# Photos are made once in bench/work/shard-photos (git-ignored); the table is
# appended to bench/RESULTS.md.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work
photos=$work/shard-photos
count=${PHOTOS:-96}
rounds=${ROUNDS:-3}
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}
[ -x "$cli" ] || { echo "no tuvo-cli found; set TUVO_CLI" >&2; exit 2; }
im_convert=$(command -v convert-im6.q16 || command -v convert)
for tool in parallel python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

mkdir -p "$photos"
# Eight different 4000 x 3000 photos (plasma and noise, as a camera JPEG), copied
# under the other names: decoding cost does not depend on the name.
for i in $(seq 1 "$count"); do
    f=$(printf '%s/p%03d.jpg' "$photos" "$i")
    seed=$(printf '%s/p%03d.jpg' "$photos" $(((i - 1) % 8 + 1)))
    if [ ! -s "$f" ]; then
        if [ "$i" -le 8 ]; then
            "$im_convert" -size 4000x3000 -seed "$i" plasma:fractal \
                -attenuate 0.3 +noise Gaussian -sampling-factor 2x2 -quality 90 "$f"
        else
            cp "$seed" "$f"
        fi
    fi
done
ls "$photos"/*.jpg | head -n "$count" > "$work/shard-list.txt"

seconds() { # command... -> wall seconds
    local start end
    start=$(date +%s.%N)
    "$@" > /dev/null 2>&1 || true
    end=$(date +%s.%N)
    python3 -c "print(f'{$end - $start:.2f}')"
}
one_run() { rm -rf "$work/one" && mkdir -p "$work/one" &&
    "$cli" --quiet -j 2 --files-from "$work/shard-list.txt" -o "$work/one" -W 800 -q 90; }
shards() { rm -rf "$work/shards" && mkdir -p "$work/shards" &&
    seq 1 4 | parallel -q -j 2 "$cli" --quiet -j 1 --files-from "$work/shard-list.txt" \
        --shard "{}/4" -o "$work/shards" -W 800 -q 90; }

one_times=() shard_times=()
for r in $(seq 1 "$rounds"); do
    one_times+=("$(seconds one_run)")
    shard_times+=("$(seconds shards)")
    echo "round $r: one run ${one_times[-1]} s, 4 shards ${shard_times[-1]} s" >&2
done
diff -r "$work/one" "$work/shards" > /dev/null && same=yes || same=NO

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
m1=$(median "${one_times[@]}")
m4=$(median "${shard_times[@]}")
ratio=$(python3 -c "print(f'{$m4 / $m1:.2f}')")
{
    echo
    echo "## Sharding ($count photos 4000x3000 to width 800, $(date -u '+%Y-%m-%d %H:%M') UTC, $(nproc) cores)"
    echo
    echo "Load before: $(cut -d' ' -f1-3 /proc/loadavg). Median of $rounds rounds, alternating."
    echo
    echo "| run | wall s |"
    echo "|---|---|"
    echo "| tuvo-cli -j 2, one run | $m1 |"
    echo "| 4 shards through GNU parallel -j 2 (tuvo-cli -j 1 each) | $m4 |"
    echo
    echo "Shards / one run: $ratio. Same bytes written: $same."
} | tee -a "$root/bench/RESULTS.md"
