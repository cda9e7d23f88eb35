#!/bin/bash
# A 20-megapixel camera RAW (a DNG of 5472 x 3648, 14-bit Bayer, written by
# tools/make_dng.py) to width 800, JPEG quality 90, against Debian's dcraw in one
# run, tools alternating, one picture at a time (-j 1):
#   tuvo-cli -W 800                              (LibRaw half-size decode, then resample)
#   dcraw -h -c | cjpeg                          (half size, no resize: the yardstick)
#   dcraw -h -c | convert -resize 800x           (half size, resized as tuvo does)
#   dcraw -c | convert -resize 800x              (full demosaic)
# Every tool uses the camera's white balance (dcraw -w).
#
#   bench/bench_raw.sh            ROUNDS (default 5), TUVO_CLI
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work/raw
rounds=${ROUNDS:-5}
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}
[ -x "$cli" ] || { echo "no tuvo-cli found; set TUVO_CLI" >&2; exit 2; }
# Debian's dcraw and libjpeg-turbo's cjpeg are the peers; installed here only.
if ! command -v dcraw >/dev/null || ! command -v cjpeg >/dev/null; then
    apt-get install -y dcraw libjpeg-turbo-progs >/dev/null
fi
im_convert=$(command -v convert-im6.q16 || command -v convert)

mkdir -p "$work"
raw=$work/shot20mp.dng
[ -s "$raw" ] || python3 "$root/tools/make_dng.py" "$raw" --size 5472x3648 --scene photo

time_of() { # name command...
    local name=$1
    shift
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null
    awk -v n="$name" '{ printf "%s\t%.3f\t%.3f\n", n, $1, $2 + $3 }' "$work/time"
}

results=$work/times.txt
: >"$results"
echo "# load before: $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds; $(nproc) cores"
for r in $(seq 1 "$rounds"); do
    rm -rf "$work/out" && mkdir -p "$work/out"
    time_of "tuvo-cli -W 800" "$cli" --quiet -j 1 -o "$work/out" -f jpg -q 90 -W 800 "$raw" >>"$results"
    time_of "dcraw -h -c | cjpeg" bash -c 'dcraw -h -w -c "$1" | cjpeg -quality 90 >"$2"' \
        _ "$raw" "$work/dcraw-h.jpg" >>"$results"
    time_of "dcraw -h -c | convert -resize 800x" bash -c 'dcraw -h -w -c "$1" | "$2" - -resize 800x -quality 90 "$3"' \
        _ "$raw" "$im_convert" "$work/dcraw-h-resize.jpg" >>"$results"
    time_of "dcraw -c | convert -resize 800x" bash -c 'dcraw -w -c "$1" | "$2" - -resize 800x -quality 90 "$3"' \
        _ "$raw" "$im_convert" "$work/dcraw-full-resize.jpg" >>"$results"
done
identify "$work/out/shot20mp.jpg" "$work/dcraw-h.jpg" "$work/dcraw-h-resize.jpg" | awk '{ print "# " $1, $3 }'
python3 - "$results" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, wall, cpu = line.rstrip("\n").split("\t")
    rows.setdefault(name, []).append((float(wall), float(cpu)))
yardstick = statistics.median(w for w, _ in rows["dcraw -h -c | cjpeg"])
print("| 20 MP DNG to 800 wide | wall s (median) | CPU s (median) | / dcraw -h \\| cjpeg |")
print("|---|---|---|---|")
for name, v in rows.items():
    w = statistics.median(x for x, _ in v)
    c = statistics.median(y for _, y in v)
    print(f"| {name} | {w:.2f} | {c:.2f} | {w / yardstick:.2f} |")
EOF
