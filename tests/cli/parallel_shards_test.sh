#!/usr/bin/env bash
# The GNU parallel recipe on this machine: 4 shards write exactly the bytes one
# run writes, with --rename off and on, and their JSON summaries add up. Also
# checks the Slurm and Kubernetes recipes for syntax (no cluster here).
#   parallel_shards_test.sh TUVO_CLI EXAMPLES_DIR
set -euo pipefail
cli=$1
examples=$2

bash -n "$examples/slurm-array.sbatch"
bash -n "$examples/parallel.sh"
if python3 -c 'import yaml' 2>/dev/null; then
    python3 -c 'import sys, yaml; d = yaml.safe_load(open(sys.argv[1])); assert d["spec"]["completionMode"] == "Indexed"' \
        "$examples/k8s-indexed-job.yaml"
else
    echo "SKIP: python3-yaml is missing, the Kubernetes manifest was not checked" >&2
fi
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
            assert set(obj) == {"index", "source", "output", "width", "height", "bytes", "ms", "error"}, obj
print(pictures, written, failed, lines)
PY
}

for rename in "" "--rename shot_"; do
    rm -rf one shards
    mkdir one shards
    # shellcheck disable=SC2086 # $rename is two words or none
    "$cli" --quiet --json -j 2 --files-from list.txt -o one $rename > one.jsonl || true
    # shellcheck disable=SC2086
    TUVO_CLI=$cli "$examples/parallel.sh" list.txt shards 4 -j 1 $rename > shards.jsonl || true
    diff -r one shards
    [ "$(find one -type f | wc -l)" -eq $((count - 1)) ]
    read -r p1 w1 f1 l1 < <(summary one.jsonl)
    read -r p4 w4 f4 l4 < <(summary shards.jsonl)
    echo "rename='$rename': one run $p1 pictures, $w1 written, $f1 failed; 4 shards $p4, $w4, $f4"
    [ "$p1 $w1 $f1 $l1" = "$p4 $w4 $f4 $l4" ]
    [ "$p1" -eq "$count" ] && [ "$w1" -eq $((count - 1)) ] && [ "$f1" -eq 1 ]
done
echo "parallel shards: OK"
