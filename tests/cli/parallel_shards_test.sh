#!/usr/bin/env bash
# The GNU parallel recipe on this machine: 4 shards write exactly the bytes one
# run writes, with --rename off and on, and their JSON summaries add up; the
# same without a shared folder, through a stand-in for ssh that runs each
# shard's command in a folder of its own, as a second machine would.
#   parallel_shards_test.sh TUVO_CLI EXAMPLES_DIR
set -euo pipefail
cli=$1
examples=$2

bash -n "$examples/parallel.sh"
for tool in parallel convert python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)" >&2
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p "in/sub dir" in/照片
for i in $(seq 0 12); do
    case $((i % 3)) in
    0) dir="in" ;;
    1) dir="in/sub dir" ;;
    *) dir="in/照片" ;;
    esac
    convert -seed "$i" -size $((90 + i * 11))x$((60 + i * 7)) plasma:fractal "$dir/p$i.png"
done
printf 'not a picture' > "in/broken.jpg"
find in -type f | LC_ALL=C sort > list.txt
count=$(wc -l < list.txt)

summary() { # file.jsonl... -> "pictures written failed" over every summary line
    python3 - "$@" <<'PY'
import json, sys
pictures = written = failed = lines = 0
for name in sys.argv[1:]:
    for line in open(name, encoding="utf-8", errors="surrogateescape"):
        obj = json.loads(line)
        if "summary" in obj:
            pictures += obj["pictures"]; written += obj["written"]; failed += obj["failed"]
        else:
            lines += 1
            assert set(obj) == {"index", "source", "output", "width", "height", "bytes", "quality", "ms", "error"}, obj
print(pictures, written, failed, lines)
PY
}

# "ssh HOST COMMAND": COMMAND in an empty home of HOST's own, where nothing of
# this folder can be seen.
mkdir bin
cat > bin/fake-ssh <<'SH'
#!/bin/sh
host=$1
shift
mkdir -p "$HOMES/$host"
cd "$HOMES/$host" && exec env -i PATH="$PATH" TMPDIR="$HOMES/$host" sh -c "$*"
SH
chmod +x bin/fake-ssh
export HOMES=$work/homes

for rename in "" "--rename shot_"; do
    rm -rf one shards apart
    mkdir one shards
    # shellcheck disable=SC2086 # $rename is two words or none
    "$cli" --quiet --json -j 2 --files-from list.txt -o one $rename > one.jsonl || true
    # shellcheck disable=SC2086
    TUVO_CLI=$cli "$examples/parallel.sh" list.txt shards 4 -j 1 $rename > shards.jsonl || true
    diff -r one shards
    # shellcheck disable=SC2086
    HOSTS='node1 node2' SSH=$work/bin/fake-ssh TUVO_CLI=$cli \
        "$examples/parallel.sh" list.txt apart 4 -j 1 $rename > apart.jsonl 2> apart.err || true
    diff -r one apart
    [ -z "$(find homes -name "tmp.*" -print -quit)" ] # no work folder left on the hosts
    [ "$(find one -type f | wc -l)" -eq $((count - 1)) ]
    read -r p1 w1 f1 l1 < <(summary one.jsonl)
    read -r p4 w4 f4 l4 < <(summary shards.jsonl)
    [ "$(summary apart.jsonl)" = "$p4 $w4 $f4 $l4" ]
    echo "rename='$rename': one run $p1 pictures, $w1 written, $f1 failed; 4 shards $p4, $w4, $f4"
    [ "$p1 $w1 $f1 $l1" = "$p4 $w4 $f4 $l4" ]
    [ "$p1" -eq "$count" ] && [ "$w1" -eq $((count - 1)) ] && [ "$f1" -eq 1 ]
done
echo "parallel shards: OK"
