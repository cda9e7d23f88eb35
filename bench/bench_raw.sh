#!/bin/bash
# A 20-megapixel camera RAW (a DNG of 5472 x 3648, 14-bit Bayer, written by
# tools/make_dng.py) to width 800, JPEG quality 90, against Debian's dcraw in one
# run, tools alternating.
#
# One picture, each tool started for it:
#   tuvo-cli -j 1 -W 800                         (LibRaw, one pixel per 2 x 2 quads, resample)
#   dcraw -h -c | cjpeg                          (half size, no resize: the yardstick)
#   dcraw -h -c | convert -resize 800x           (half size, resized as tuvo does)
#   dcraw -c | convert -resize 800x              (full demosaic)
# A folder of FOLDER copies, per picture, each tool used on a folder as it would be:
#   tuvo-cli -j 1 FOLDER    against   for f in FOLDER: dcraw -h -c f | cjpeg
#   tuvo-cli -j 2 FOLDER    against   the same through xargs -P 2
# Every tool uses the camera's white balance (dcraw -w).
#
#   bench/bench_raw.sh            ROUNDS (default 5), FOLDER (default 8), TUVO_CLI
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work/raw
rounds=${ROUNDS:-5}
copies=${FOLDER:-8}
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
folder=$work/folder
rm -rf "$folder" && mkdir -p "$folder"
for i in $(seq 1 "$copies"); do cp "$raw" "$folder/shot$i.dng"; done

time_of() { # name pictures command...
    local name=$1 pictures=$2
    shift 2
    /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null
    awk -v n="$name" -v p="$pictures" '{ printf "%s\t%.4f\t%.4f\n", n, $1 / p, ($2 + $3) / p }' "$work/time"
}

dcraw_cjpeg='dcraw -h -w -c "$1" | cjpeg -quality 90 >/dev/null'
results=$work/times.txt
: >"$results"
echo "# load before: $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds; $(nproc) cores; folder of $copies"
for r in $(seq 1 "$rounds"); do
    rm -rf "$work/out" "$work/out-folder" && mkdir -p "$work/out" "$work/out-folder"
    time_of "tuvo-cli -W 800" 1 "$cli" --quiet -j 1 -o "$work/out" -f jpg -q 90 -W 800 "$raw" >>"$results"
    time_of "dcraw -h -c | cjpeg" 1 bash -c 'dcraw -h -w -c "$1" | cjpeg -quality 90 >"$2"' \
        _ "$raw" "$work/dcraw-h.jpg" >>"$results"
    time_of "dcraw -h -c | convert -resize 800x" 1 bash -c 'dcraw -h -w -c "$1" | "$2" - -resize 800x -quality 90 "$3"' \
        _ "$raw" "$im_convert" "$work/dcraw-h-resize.jpg" >>"$results"
    time_of "dcraw -c | convert -resize 800x" 1 bash -c 'dcraw -w -c "$1" | "$2" - -resize 800x -quality 90 "$3"' \
        _ "$raw" "$im_convert" "$work/dcraw-full-resize.jpg" >>"$results"

    time_of "folder: tuvo-cli -j 1 -W 800" "$copies" "$cli" --quiet -j 1 -o "$work/out-folder" -f jpg -q 90 \
        -W 800 --on-clash overwrite "$folder" >>"$results"
    time_of "folder: for f: dcraw -h -c | cjpeg" "$copies" bash -c \
        'for f in "$1"/*.dng; do bash -c "$2" _ "$f"; done' _ "$folder" "$dcraw_cjpeg" >>"$results"
    time_of "folder: tuvo-cli -j 2 -W 800" "$copies" "$cli" --quiet -j 2 -o "$work/out-folder" -f jpg -q 90 \
        -W 800 --on-clash overwrite "$folder" >>"$results"
    time_of "folder: xargs -P 2 dcraw -h -c | cjpeg" "$copies" bash -c \
        'printf "%s\0" "$1"/*.dng | xargs -0 -n 1 -P 2 bash -c "$2" _' _ "$folder" "$dcraw_cjpeg" >>"$results"
done
identify "$work/out/shot20mp.jpg" "$work/dcraw-h.jpg" "$work/dcraw-h-resize.jpg" | awk '{ print "# " $1, $3 }'
python3 - "$results" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, wall, cpu = line.rstrip("\n").split("\t")
    rows.setdefault(name, []).append((float(wall), float(cpu)))
median = {n: (statistics.median(w for w, _ in v), statistics.median(c for _, c in v)) for n, v in rows.items()}
# Each row against the dcraw -h | cjpeg run of its own kind.
def yardstick(name):
    if name.startswith("folder:"):
        two = "-j 2" in name or "-P 2" in name
        return "folder: xargs -P 2 dcraw -h -c | cjpeg" if two else "folder: for f: dcraw -h -c | cjpeg"
    return "dcraw -h -c | cjpeg"
print("| 20 MP DNG to 800 wide, per picture | wall s (median) | CPU s (median) | / dcraw -h \\| cjpeg of its kind |")
print("|---|---|---|---|")
for name, (w, c) in median.items():
    shown = name.replace("|", "\\|")
    print(f"| {shown} | {w:.3f} | {c:.3f} | {w / median[yardstick(name)][0]:.2f} |")
EOF
