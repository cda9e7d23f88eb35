#!/usr/bin/env bash
# Makes the AppStream screenshots in packaging/screenshots from the built program:
# tuvo under Xvfb with the sample pictures, a frame and a text watermark, once in
# the default skin and once in the orange one. Needs Xvfb, xdotool and ImageMagick.
#
#   bash scripts/make-screenshots.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build}/bin
out=$PWD/packaging/screenshots
[[ -x $bin/tuvo ]] || { echo "make-screenshots: build tuvo first ($bin/tuvo)" >&2; exit 2; }
bin=$(cd "$bin" && pwd)
mkdir -p "$out"

work=$(mktemp -d)
# The list shows full paths: the pictures sit in a short folder of their own.
pictures=/tmp/tuvo-screenshots/照片
[[ ! -e ${pictures%/*} ]] || { echo "make-screenshots: ${pictures%/*} is in the way" >&2; exit 2; }
mkdir -p "$pictures"
cp data/samples/{tiles.bmp,badge.png,rings.jpg,meadow.jpg,city.jpg,sunset.jpg} "$pictures/"
xvfb_pid=
tuvo_pid=
cleanup() {
    [[ -n $tuvo_pid ]] && kill "$tuvo_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work" "${pictures%/*}"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")

shot() { # name skin
    local home=$work/$1
    mkdir -p "$home"
    # TUVO_HOME holds the settings: a frame, a text watermark at the bottom, the skin.
    cat >"$home/tuvo.ini" <<INI
[Options]
sSkinFileName=$bin/skin/$2
iuBk=2
sText=Tuvo 2026
iSize=28
sFont=Noto Sans CJK SC
lColor=4210752
sBold=True
iuTSyX=0.06
iuTSyY=0.84
INI
    # A TMPDIR of its own: a Tuvo the user runs would otherwise take the pictures over.
    (cd "$pictures" && TUVO_HOME=$home TMPDIR=$work XDG_RUNTIME_DIR=$work exec "$bin/tuvo" \
        tiles.bmp badge.png rings.jpg meadow.jpg city.jpg sunset.jpg >"$work/$1.log" 2>&1) &
    tuvo_pid=$!
    local window
    window=$(xdotool search --sync --onlyvisible --name 'Tuvo图片批量处理' | head -1)
    xdotool windowmove "$window" 0 0
    sleep 4 # the preview renders in the background
    import -window "$window" "$out/$1.png"
    kill "$tuvo_pid"
    wait "$tuvo_pid" 2>/dev/null || true
    tuvo_pid=
    # Small files: the repository keeps them.
    convert "$out/$1.png" -strip -define png:compression-level=9 "$out/$1.png"
    echo "make-screenshots: packaging/screenshots/$1.png ($(identify -format '%wx%h' "$out/$1.png"))"
}
shot main-window '浅蓝(默认).she'
shot orange-skin '暖阳橙.she'
