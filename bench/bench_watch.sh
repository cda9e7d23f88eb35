#!/bin/sh
# Latency of tuvo-cli --watch: a 12-megapixel JPEG is copied into the watched
# folder N times (a new name each time); for each, the time from the end of the
# copy (its close) to the output's appearance, as tuvo-cli's JSON line reports
# it done. Also the CPU the idle watch used over 10 s.
# Usage: bench/bench_watch.sh [path/to/tuvo-cli] [N]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/tuvo-cli}
n=${2:-5}
work=$(mktemp -d)
watch=
trap '[ -n "$watch" ] && kill $watch 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/out"
convert -size 4000x3000 gradient:navy-gold -attenuate 0.3 +noise Gaussian -quality 90 "$work/photo.jpg"

"$cli" --watch --json --quiet -W 1600 -o "$work/out" "$work/in" >"$work/lines" &
watch=$!
# The watch is up once the process holds an inotify descriptor.
until ls -l /proc/$watch/fd 2>/dev/null | grep -q inotify; do sleep 0.05; done

python3 - "$work" "$n" <<'PY'
import os, shutil, sys, time
work, n = sys.argv[1], int(sys.argv[2])
lines = os.path.join(work, "lines")
seen = 0
for i in range(n):
    shutil.copyfile(os.path.join(work, "photo.jpg"), os.path.join(work, "in", f"p{i}.jpg"))
    closed = time.monotonic()
    while True:
        with open(lines) as f:
            count = sum(1 for _ in f)
        if count > seen:
            break
        time.sleep(0.005)
    seen = count
    print(f"p{i}.jpg: written {time.monotonic() - closed:.3f} s after its close")
PY

before=$(awk '{print $14 + $15}' /proc/$watch/stat)
sleep 10
after=$(awk '{print $14 + $15}' /proc/$watch/stat)
echo "idle watch: $((after - before)) clock ticks of CPU in 10 s"
kill -TERM $watch
wait $watch
watch=
