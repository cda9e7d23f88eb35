#!/bin/bash
# Batch speed against the usual thumbnailers, on one job: 24 photos of
# 4000 x 3000 (~2.8 MB JPEG each) to width 800, JPEG quality 90.
#
#   bench/run_bench.sh [photos|speed|summary|memory|all]     (default: all)
#
# Environment: TUVO_CLI (default: the newest build-*/bin/tuvo-cli), ROUNDS (5),
# PHOTOS (24), CORES ("2 1": both cores, then pinned to one core), TOOLS (a subset
# of: tuvo tuvo+text vips vips-2proc im-hint gm im; vips is the yardstick).
# Everything it makes goes to bench/work/ (git-ignored).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
work=$root/bench/work
photos=$work/photos
mode=${1:-all}
rounds=${ROUNDS:-5}
count=${PHOTOS:-24}
cores=${CORES:-"2 1"}
mark_text=${MARK_TEXT:-"Tuvo 2026 样张"}

cli=${TUVO_CLI:-$(ls -t "$root"/build-*/bin/tuvo-cli 2>/dev/null | head -n1)}
[ -x "$cli" ] || { echo "no tuvo-cli found; set TUVO_CLI" >&2; exit 2; }
# The real ImageMagick 6 programs, not a wrapper that may stand first in PATH.
im_convert=$(command -v convert-im6.q16 || command -v convert)
im_mogrify=$(command -v mogrify-im6.q16 || command -v mogrify)
im_compare=$(command -v compare-im6.q16 || command -v compare)
for tool in vipsthumbnail gm /usr/bin/time taskset python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

# A photo-like picture: plasma fractal (soft gradients at every scale), a few thin
# sharp lines and circles (edges that alias when downscaled carelessly) and
# sensor-like noise; 4:2:0 like a camera's JPEG.
make_photo() { # seed width height file
    local s=$1 w=$2 h=$3 f=$4
    "$im_convert" -size "${w}x${h}" -seed "$s" plasma:fractal -blur 0x1 \
        -fill none -stroke '#f4f0e6' -strokewidth 2 \
        -draw "circle $((w / 2)),$((h / 2)) $((w / 2)),$((h / 8 + s * 7 % (h / 4)))" \
        -draw "line $((s * 37 % w)),0 $((w - s * 53 % w)),$((h - 1))" \
        -stroke '#1c1c1c' -strokewidth 1 \
        -draw "line 0,$((s * 71 % h)) $((w - 1)),$((h - s * 29 % h))" \
        -draw "circle $((w / 3)),$((h / 3)) $((w / 3)),$((h / 3 + h / 5))" \
        -attenuate 0.31 +noise Gaussian -sampling-factor 2x2 -quality 90 "$f"
}

make_photos() {
    mkdir -p "$photos"
    local i f
    for i in $(seq 1 "$count"); do
        f=$(printf '%s/p%02d.jpg' "$photos" "$i")
        [ -s "$f" ] || make_photo "$i" 4000 3000 "$f"
    done
}

# The high-quality reference: full decode, Lanczos.
make_references() {
    mkdir -p "$work/ref"
    local f
    for f in "$photos"/*.jpg; do
        local r=$work/ref/$(basename "${f%.jpg}").png
        [ -s "$r" ] || "$im_convert" "$f" -filter Lanczos -resize 800x "$r"
    done
}

list_photos() { ls "$photos"/*.jpg | head -n "$count"; }

# One tool's command for the job; $1 = tool, $2 = output folder, $3 = jobs.
run_tool() {
    local tool=$1 out=$2 jobs=$3
    local -a files
    mapfile -t files < <(list_photos)
    case $tool in
    tuvo)
        "$cli" --quiet -j "$jobs" -o "$out" --size limit-width -W 800 -f jpg -q 90 "${files[@]}" ;;
    tuvo+text)
        "$cli" --quiet -j "$jobs" -o "$out" --size limit-width -W 800 -f jpg -q 90 \
            --text "$mark_text" --font-size 20 --color '#ffffff' "${files[@]}" ;;
    vips)
        vipsthumbnail -s 800x -o "$out/%s.jpg[Q=90]" "${files[@]}" ;;
    vips-2proc)
        local half=$(((${#files[@]} + 1) / 2))
        vipsthumbnail -s 800x -o "$out/%s.jpg[Q=90]" "${files[@]:0:half}" &
        vipsthumbnail -s 800x -o "$out/%s.jpg[Q=90]" "${files[@]:half}"
        wait ;;
    im)
        "$im_mogrify" -path "$out" -resize 800x -quality 90 "${files[@]}" ;;
    im-hint)
        "$im_mogrify" -path "$out" -define jpeg:size=1600x1200 -resize 800x -quality 90 "${files[@]}" ;;
    gm)
        # gm joins the output folder and the input path as given: pass bare names.
        (cd "$photos" && gm mogrify -output-directory "$out" -size 1600x1200 -resize 800x -quality 90 \
            "${files[@]##*/}") ;;
    esac
}
export -f run_tool list_photos
export cli photos count mark_text im_mogrify

# Runs one tool under /usr/bin/time -v; prints "wall cpu peakMiB".
measure() { # tool cores out
    local tool=$1 n=$2 out=$3 pin=()
    rm -rf "$out" && mkdir -p "$out"
    [ "$n" = 1 ] && pin=(taskset -c 0)
    local log=$work/time.log
    "${pin[@]}" /usr/bin/time -v -o "$log" bash -c 'run_tool "$@"' _ "$tool" "$out" "$n" >/dev/null
    awk -F': ' '
        /Elapsed \(wall clock\)/ { n = split($2, t, ":"); w = 0; for (i = 1; i <= n; ++i) w = w * 60 + t[i] }
        /User time/ { u = $2 } /System time/ { s = $2 }
        /Maximum resident/ { m = $2 / 1024 }
        END { printf "%.3f %.3f %.1f\n", w, u + s, m }' "$log"
}

# Mean PSNR (dB) of a tool's pictures against the reference.
psnr_of() { # out
    local out=$1 f sum=0 n=0 p
    for f in "$work"/ref/*.png; do
        local b=$(basename "${f%.png}")
        [ -f "$out/$b.jpg" ] || { echo "missing $out/$b.jpg" >&2; echo "-"; return 0; }
        p=$("$im_compare" -metric PSNR "$out/$b.jpg" "$f" null: 2>&1 || true)
        sum=$(python3 -c "print($sum + float('$p'.split()[0]))")
        n=$((n + 1))
    done
    python3 -c "print(f'{$sum / $n:.2f}')"
}

speed() {
    make_photos
    make_references
    local tools
    read -r -a tools <<<"${TOOLS:-tuvo tuvo+text vips vips-2proc im-hint gm im}"
    local mp=$(python3 -c "print($count * 4000 * 3000 / 1e6)")
    local results=$work/results.tsv
    : >"$results"
    echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
    echo "# $count photos 4000x3000 ($mp MP, $(du -sm "$photos" | cut -f1) MB), width 800, JPEG quality 90; $rounds rounds, tools alternating; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
    local r n tool
    for r in $(seq 1 "$rounds"); do
        for n in $cores; do
            for tool in "${tools[@]}"; do
                # One process per core is the point of the two-process figure; on one core it is vips.
                [ "$tool" = vips-2proc ] && [ "$n" = 1 ] && continue
                echo "$n $tool $(measure "$tool" "$n" "$work/out/$n/$tool")" >>"$results"
            done
        done
        echo "# round $r done, load $(cut -d' ' -f1 /proc/loadavg)" >&2
    done
    echo "# load after: $(cut -d' ' -f1-3 /proc/loadavg)"
    local psnr=$work/psnr.tsv
    local first_cores=${cores%% *} # the pictures of any core count are the same
    : >"$psnr"
    for tool in "${tools[@]}"; do
        # The watermark changes pixels on purpose; its run is timed, not compared.
        [ "$tool" = tuvo+text ] && continue
        echo "$tool $(psnr_of "$work/out/$first_cores/$tool")" >>"$psnr"
    done
    summarize
}

# The tables of medians from the last speed run's raw figures in bench/work.
summarize() {
    local mp=$(python3 -c "print($count * 4000 * 3000 / 1e6)")
    python3 - "$work/results.tsv" "$work/psnr.tsv" "$mp" <<'EOF'
import statistics, sys
rows = [l.split() for l in open(sys.argv[1]) if l.strip()]
psnr = dict(l.split() for l in open(sys.argv[2]) if l.strip())
mp = float(sys.argv[3])
names = {"tuvo": "tuvo-cli", "tuvo+text": "tuvo-cli + text watermark", "vips": "vipsthumbnail",
         "vips-2proc": "vipsthumbnail, 2 processes", "im": "ImageMagick mogrify",
         "im-hint": "ImageMagick, -define jpeg:size", "gm": "GraphicsMagick, -size hint"}
for cores in sorted({r[0] for r in rows}, reverse=True):
    med = {}
    for tool in dict.fromkeys(r[1] for r in rows if r[0] == cores):
        sel = [r for r in rows if r[0] == cores and r[1] == tool]
        med[tool] = [statistics.median(float(r[i]) for r in sel) for i in (2, 3, 4)] + [min(float(r[2]) for r in sel)]
    base = med["vips"][0]
    label = "both cores (tuvo-cli --jobs 2)" if cores == "2" else "one core (taskset -c 0; tuvo-cli --jobs 1)"
    print(f"\n{label}; medians")
    print("| tool | wall s | CPU s | peak MiB | MP/s | wall / vipsthumbnail | CPU / vipsthumbnail | best wall s | PSNR dB |")
    print("|---|---|---|---|---|---|---|---|---|")
    cbase = med["vips"][1]
    for tool, (w, c, m, best) in med.items():
        print(f"| {names[tool]} | {w:.2f} | {c:.2f} | {m:.0f} | {mp / w:.0f} | {w / base:.2f} | {c / cbase:.2f} | {best:.2f} "
              f"| {psnr.get(tool, 'n/a')} |")
print("\nPSNR: mean over the photos against ImageMagick -filter Lanczos -resize 800x of the full decode.")
EOF
}

# RSS of a running process every 0.2 s; prints the peak of each tenth of the run.
watch_rss() { # pid
    local pid=$1
    while kill -0 "$pid" 2>/dev/null; do
        awk '/VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true
        sleep 0.2
    done
}

memory() {
    make_photos
    local many=$work/many n=500 i
    rm -rf "$many" && mkdir -p "$many"
    # 500 list entries as hard links to the 24 photos: distinct names, no extra disk.
    local -a files
    mapfile -t files < <(list_photos)
    for i in $(seq 1 $n); do
        ln "${files[$(((i - 1) % ${#files[@]}))]}" "$(printf '%s/m%03d.jpg' "$many" "$i")"
    done
    echo "# memory, $(date -u '+%Y-%m-%d %H:%M UTC')"
    local out=$work/out/many
    for list in 24 100 500; do
        rm -rf "$out" && mkdir -p "$out"
        local -a sel
        mapfile -t sel < <(ls "$many"/*.jpg | head -n "$list")
        /usr/bin/time -v -o "$work/time.log" "$cli" --quiet -j 2 -o "$out" --size limit-width -W 800 -f jpg -q 90 \
            --text "$mark_text" "${sel[@]}" &
        local tpid=$!
        sleep 0.1
        local pid=$(pgrep -P "$tpid" -n || true)
        local samples=$work/rss.txt
        [ -n "$pid" ] && watch_rss "$pid" >"$samples" || : >"$samples"
        wait "$tpid"
        local peak=$(awk -F': ' '/Maximum resident/ { printf "%.1f", $2 / 1024 }' "$work/time.log")
        local wall=$(awk -F': ' '/Elapsed/ { n = split($2, t, ":"); w = 0; for (i = 1; i <= n; ++i) w = w * 60 + t[i]; printf "%.1f", w }' "$work/time.log")
        local written=$(ls "$out" | wc -l)
        local tenths=$(python3 -c "
import sys
v = [int(x) / 1024 for x in open('$samples') if x.strip()]
k = len(v)
print(' '.join(f'{max(v[i * k // 10:max(i * k // 10 + 1, (i + 1) * k // 10)]):.0f}' for i in range(10)) if k >= 10 else '-')")
        echo "| $list photos of 12 MP, --jobs 2, text watermark | $wall s | $written written | peak $peak MiB | RSS by tenths of the run: $tenths |"
    done
    # One big photo: 8000 x 6000 = 48 MP.
    local big=$work/big48.jpg
    # Four photos side by side; ImageMagick's default resource policy refuses to make one this large.
    [ -s "$big" ] || vips arrayjoin "${files[*]:0:4}" "$big[Q=90,subsample-mode=on]" --across 2
    rm -rf "$out" && mkdir -p "$out"
    /usr/bin/time -v -o "$work/time.log" "$cli" --quiet -j 2 -o "$out" --size limit-width -W 800 -f jpg -q 90 \
        --text "$mark_text" "$big"
    echo "| one 48 MP photo (8000 x 6000) | peak $(awk -F': ' '/Maximum resident/ { printf "%.1f", $2 / 1024 }' "$work/time.log") MiB |"
    rm -rf "$many"
}

case $mode in
photos) make_photos; make_references ;;
summary) summarize ;;
speed) speed ;;
memory) memory ;;
all) speed; echo; memory ;;
*) echo "usage: $0 [photos|speed|memory|all]" >&2; exit 2 ;;
esac
