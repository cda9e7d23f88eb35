#!/bin/bash
# New formats against vipsthumbnail, side by side in one run, tools alternating:
#   HEIC 4000 x 3000 -> JPEG q90, JPEG 12 MP -> PNG, JPEG 12 MP -> WebP q80; width 800.
# The 24 photos of run_bench.sh; their HEIC twins are made once with heif-enc -q 80 (x265 preset ultrafast).
#
#   bench/bench_formats.sh            ROUNDS (default 3), PHOTOS (24), TUVO_CLI
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work
rounds=${ROUNDS:-3}
count=${PHOTOS:-24}
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}

[ -s "$work/photos/p24.jpg" ] || TUVO_CLI=$cli "$root/bench/run_bench.sh" photos >/dev/null
mapfile -t photos < <(ls "$work"/photos/*.jpg | head -n "$count")
mkdir -p "$work/heic"
heics=()
for f in "${photos[@]}"; do
    h=$work/heic/$(basename "${f%.jpg}").heic
    # x265 at its fastest preset: only the decoding is timed.
    [ -s "$h" ] || heif-enc -q 80 -p preset=ultrafast "$f" -o "$h" >/dev/null
    heics+=("$h")
done

time_of() { # name command...
    local name=$1
    shift
    /usr/bin/time -f "%e %U %S" -o "$work/time-$name" "$@" >/dev/null
    awk -v n="$name" '{ printf "%s %.3f %.3f\n", n, $1, $2 + $3 }' "$work/time-$name"
}

fresh() { rm -rf "$work/fmt-$1" && mkdir -p "$work/fmt-$1" && echo "$work/fmt-$1"; }

results=$work/formats-times.txt
: >"$results"
echo "# load before: $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds, $count photos"
for r in $(seq 1 "$rounds"); do
    o=$(fresh heic-tuvo)
    time_of "heic->jpg tuvo" "$cli" --quiet -j 2 -o "$o" -f jpg -q 90 "${heics[@]}" >>"$results"
    o=$(fresh heic-vips)
    time_of "heic->jpg vipsthumbnail" vipsthumbnail -s 800x -o "$o/%s.jpg[Q=90]" "${heics[@]}" >>"$results"
    # vipsthumbnail works through its list one picture at a time; two of them split
    # the list for a peer that uses both cores as tuvo-cli -j 2 does.
    o=$(fresh heic-vips2)
    half=$(((${#heics[@]} + 1) / 2))
    time_of "heic->jpg vipsthumbnail x2" bash -c 'o=$1; h=$2; shift 2
        vipsthumbnail -s 800x -o "$o/%s.jpg[Q=90]" "${@:1:h}" & vipsthumbnail -s 800x -o "$o/%s.jpg[Q=90]" "${@:h+1}"; wait' \
        _ "$o" "$half" "${heics[@]}" >>"$results"
    o=$(fresh png-tuvo)
    time_of "jpg->png tuvo" "$cli" --quiet -j 2 -o "$o" -f png "${photos[@]}" >>"$results"
    o=$(fresh png-vips)
    time_of "jpg->png vipsthumbnail" vipsthumbnail -s 800x -o "$o/%s.png" "${photos[@]}" >>"$results"
    o=$(fresh webp-tuvo)
    time_of "jpg->webp q80 tuvo" "$cli" --quiet -j 2 -o "$o" -f webp -q 80 "${photos[@]}" >>"$results"
    o=$(fresh webp-vips)
    time_of "jpg->webp q80 vipsthumbnail" vipsthumbnail -s 800x -o "$o/%s.webp[Q=80]" "${photos[@]}" >>"$results"
done
python3 - "$results" "$work" <<'EOF'
import os, statistics, sys
rows = {}
for line in open(sys.argv[1]):
    *name, wall, cpu = line.split()
    rows.setdefault(" ".join(name), []).append((float(wall), float(cpu)))
def size(d):
    p = os.path.join(sys.argv[2], d)
    return sum(os.path.getsize(os.path.join(p, f)) for f in os.listdir(p)) / 1e6
dirs = {"heic->jpg tuvo": "fmt-heic-tuvo", "heic->jpg vipsthumbnail": "fmt-heic-vips",
        "heic->jpg vipsthumbnail x2": "fmt-heic-vips2",
        "jpg->png tuvo": "fmt-png-tuvo", "jpg->png vipsthumbnail": "fmt-png-vips",
        "jpg->webp q80 tuvo": "fmt-webp-tuvo", "jpg->webp q80 vipsthumbnail": "fmt-webp-vips"}
print("| job | wall s (median) | CPU s (median) | output MB | tuvo / vipsthumbnail wall | tuvo / 2 vipsthumbnails wall |")
print("|---|---|---|---|---|---|")
for name, v in rows.items():
    w = statistics.median(x for x, _ in v)
    c = statistics.median(y for _, y in v)
    ratios = ["", ""]
    if name.endswith(" tuvo"):
        for k, suffix in enumerate((" vipsthumbnail", " vipsthumbnail x2")):
            peer = rows.get(name[:-5] + suffix)
            if peer:
                ratios[k] = f"{w / statistics.median(x for x, _ in peer):.2f}"
    print(f"| {name} | {w:.2f} | {c:.2f} | {size(dirs[name]):.2f} | {ratios[0]} | {ratios[1]} |")
EOF
