#!/bin/bash
# What carrying metadata costs: the 24 photos of run_bench.sh, given camera metadata
# (IFD0, Exif, GPS, XMP, IPTC, a thumbnail, an Adobe RGB profile) with exiftool, to
# width 800, JPEG quality 90, two jobs; tools alternate within each round.
#
#   bench/bench_metadata.sh            ROUNDS (default 5), TUVO_CLI (this tree's),
#   TUVO_CLI_BEFORE (a tuvo-cli that drops all metadata; optional)
#   bench/bench_metadata.sh callgrind  instruction counts of one such photo, which a
#                                      busy machine does not disturb: the metadata
#                                      path's share of the run, and the resampler
#                                      with and without its AVX2 path
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work
rounds=${ROUNDS:-5}
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}
before=${TUVO_CLI_BEFORE:-}
profile=/usr/share/color/icc/ghostscript/a98.icc
tags=(-Make=Canon -Model='EOS 5D' -DateTimeOriginal='2024:05:01 10:20:30' -GPSLatitude=48.1 -GPSLatitudeRef=N
    -GPSLongitude=11.5 -GPSLongitudeRef=E -XMP-dc:Creator=Anna -XMP-photoshop:City=Munich -IPTC:Keywords=holiday
    -IPTC:City=Munich)

if [ "${1:-}" = callgrind ]; then
    dir=$work/callgrind
    mkdir -p "$dir"
    photo=$dir/camera.jpg
    if [ ! -s "$photo" ]; then
        convert -size 4000x3000 -seed 1 plasma:fractal -attenuate 0.3 +noise Gaussian -quality 92 \
            -sampling-factor 2x2 "$photo"
        convert -size 160x120 xc:gray "$dir/thumb.jpg"
        exiftool -q -overwrite_original "${tags[@]}" "-ThumbnailImage<=$dir/thumb.jpg" \
            ${profile:+"-ICC_Profile<=$profile"} "$photo"
    fi
    share() { # callgrind file, function pattern: inclusive instructions of the pattern / total
        callgrind_annotate --inclusive=yes --threshold=100 --auto=no "$1" 2>/dev/null | awk -v p="$2" '
            /PROGRAM TOTALS/ { gsub(",", "", $1); total = $1 }
            $0 ~ p && !/=>/ { gsub(",", "", $1); sum += $1 }
            END { printf "%d of %d instructions (%.3f %%)", sum, total, 100 * sum / total }'
    }
    echo "| run | metadata path (reading + writing) | resampler |"
    echo "|---|---|---|"
    for run in keep no-location strip keep-sse2; do
        choice=${run%-sse2}
        rm -rf "$dir/out" && mkdir -p "$dir/out"
        env $([ "$run" = keep-sse2 ] && echo TUVO_NO_AVX2=1) valgrind --tool=callgrind \
            --callgrind-out-file="$dir/cg.$run" "$cli" --quiet -j 1 -o "$dir/out" --size limit-width -W 800 \
            -f jpg -q 90 --metadata "$choice" "$photo" >/dev/null 2>&1
        echo "| $run | $(share "$dir/cg.$run" "cpp:(SourceMetadata::fromFile|carryMetadata)\\(") |" \
            "$(share "$dir/cg.$run" "cpp:resampleLanczos\\(QImage const&, QRect const&, QSize\\) ") |"
    done
    exit 0
fi

[ -s "$work/photos/p24.jpg" ] || TUVO_CLI=$cli "$root/bench/run_bench.sh" photos >/dev/null
camera=$work/photos-camera
if [ ! -s "$camera/p24.jpg" ]; then
    mkdir -p "$camera"
    cp "$work"/photos/*.jpg "$camera/"
    convert -size 160x120 xc:gray "$work/thumb.jpg"
    exiftool -q -overwrite_original "${tags[@]}" "-ThumbnailImage<=$work/thumb.jpg" \
        ${profile:+"-ICC_Profile<=$profile"} "$camera"/*.jpg
fi

run() { # name cli args...
    local name=$1 program=$2
    shift 2
    rm -rf "$work/out-$name" && mkdir -p "$work/out-$name"
    /usr/bin/time -f "%e %U %S" -o "$work/time-$name" "$program" --quiet -j 2 -o "$work/out-$name" \
        --size limit-width -W 800 -f jpg -q 90 "$@" "$camera"/*.jpg
    awk -v n="$name" '{ printf "%s %.3f %.3f\n", n, $1, $2 + $3 }' "$work/time-$name"
}

results=$work/metadata-times.txt
: >"$results"
echo "# load before: $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds"
for r in $(seq 1 "$rounds"); do
    [ -n "$before" ] && run before "$before" >>"$results"
    run strip "$cli" --metadata strip >>"$results"
    run no-location "$cli" >>"$results"
    run keep "$cli" --metadata keep >>"$results"
    run keep+srgb "$cli" --metadata keep --colour srgb >>"$results"
done
python3 - "$results" <<'EOF'
import statistics, sys
rows = {}
for line in open(sys.argv[1]):
    name, wall, cpu = line.split()
    rows.setdefault(name, []).append((float(wall), float(cpu)))
base = statistics.median(w for w, _ in rows.get('before', rows['strip']))
print("| run | wall s (median) | CPU s (median) | wall / first row |")
print("|---|---|---|---|")
for name, v in rows.items():
    w = statistics.median(x for x, _ in v)
    c = statistics.median(y for _, y in v)
    print(f"| {name} | {w:.2f} | {c:.2f} | {w / base:.3f} |")
EOF
