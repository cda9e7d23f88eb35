#!/bin/sh
# Preview redraw time with and without PreviewSourceCache.
#   bench/bench_preview.sh BUILD_DIR PHOTO [WIDTH]
# BUILD_DIR: a configured build with tuvo_batch built (e.g. build-perf).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
out=${TMPDIR:-/tmp}/tuvo_bench_preview
${CXX:-g++} -std=c++20 -O2 -fPIC -Wall -Wextra -I"$root/src" -o "$out" "$root/bench/bench_preview.cpp" \
    "$build/src/libtuvo_batch.a" "$build/src/libtuvo_core.a" "$build/src/libtuvo_exif.a" \
    $(pkg-config --cflags --libs Qt6Gui libturbojpeg) -limagequant -lgif
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$out" "$@"
