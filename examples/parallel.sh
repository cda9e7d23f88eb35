#!/usr/bin/env bash
# tuvo-cli as N shards through GNU parallel (Debian: apt install parallel).
#
#   examples/parallel.sh LIST OUT_DIR SHARDS [tuvo-cli options...]
#
# Every shard reads the same list (one path a line; add -0 for a list made by
# `find ... -print0`) and takes the positions p with p mod SHARDS = K-1. Names
# and rename numbers come from the whole list, so the shards together write
# exactly what one run writes. Each shard prints one JSON line per picture and a
# summary line; parallel keeps each shard's lines together on standard output.
#
# One machine, four shards of two pictures at a time each:
#   find photos -name '*.jpg' | sort > list.txt
#   examples/parallel.sh list.txt out 4 -j 2 --size custom -W 1600 -H 1200 > results.jsonl
#
# Several machines with a shared folder (NFS, SMB) for the list and the output:
#   PARALLEL_EXTRA='--sshlogin 8/host1,8/host2 --workdir /shared/work' \
#       examples/parallel.sh /shared/list.txt /shared/out 16
#
# Several machines without a shared folder: parallel copies the list over and
# brings each shard's folder back (then merge the shard folders):
#   seq 1 4 | parallel --sshlogin host1,host2 --transferfile list.txt \
#       --return 'out-{}' --cleanup \
#       'mkdir -p out-{} && tuvo-cli --quiet --json --files-from list.txt --shard {}/4 -o out-{}'
#
# Pictures named alike in different folders land on one name unless --rename
# or --keep-tree tells them apart; across machines that clash has no fixed winner.
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 LIST OUT_DIR SHARDS [tuvo-cli options...]" >&2
    exit 2
fi
list=$1
out=$2
shards=$3
shift 3
tuvo=${TUVO_CLI:-tuvo-cli}
mkdir -p "$out"

# -q quotes every argument, so paths with spaces pass through unchanged.
# shellcheck disable=SC2086 # PARALLEL_EXTRA is a list of parallel's own options
seq 1 "$shards" | parallel ${PARALLEL_EXTRA:-} -q -j "$shards" --halt never \
    "$tuvo" --quiet --json --files-from "$list" --shard "{}/$shards" -o "$out" "$@"
