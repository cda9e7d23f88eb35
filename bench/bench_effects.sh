#!/bin/sh
# Builds and runs the effect and rotation benchmark against the core sources.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=${TMPDIR:-/tmp}/tuvo_bench_effects
${CXX:-g++} -std=c++20 -O2 -Wall -Wextra -I"$root/src" -o "$out" \
    "$root/bench/bench_effects.cpp" "$root"/src/core/*.cpp
"$out"
