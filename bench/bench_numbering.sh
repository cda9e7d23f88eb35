#!/bin/bash
# How long does planning "--on-clash number" take when many pictures share one
# output name? The same picture listed 2,000 / 10,000 / 100,000 times, planned
# with --dry-run (nothing is read or written); the time should grow in step
# with the count.
#
#   bench/bench_numbering.sh
#
# Environment: TUVO_CLI (default: the newest build*/bin/tuvo-cli).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cli=${TUVO_CLI:-$(ls -t "$root"/build*/bin/tuvo-cli 2>/dev/null | head -n1)}
[ -x "$cli" ] || { echo "no tuvo-cli found; set TUVO_CLI" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"
python3 -c "
import struct, zlib
row = b'\x00' + b'\x80\x80\x80'
raw = zlib.compress(row)
def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
open('$work/x.png', 'wb').write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 1, 1, 8, 2, 0, 0, 0))
    + chunk(b'IDAT', raw) + chunk(b'IEND', b''))"
echo "| same-named entries | plan seconds |"
echo "|---:|---:|"
for count in 2000 10000 100000; do
    (yes "$work/x.png" || true) | head -n "$count" > "$work/list.txt"
    start=$(date +%s.%N)
    "$cli" --quiet --dry-run --on-clash number -o "$work/out" --files-from "$work/list.txt" > /dev/null
    end=$(date +%s.%N)
    python3 -c "print(f'| $count | {$end - $start:.2f} |')"
done
