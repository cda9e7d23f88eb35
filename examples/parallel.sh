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
#   find photos -type f | sort > list.txt
#   examples/parallel.sh list.txt out 4 -j 2 --size 1600x1200 > results.jsonl
#
# Several machines with a shared folder (NFS, SMB) that holds the list, the
# pictures and the output under the same paths on every machine:
#   PARALLEL_EXTRA='--sshlogin 8/host1,8/host2 --workdir /shared/work' \
#       examples/parallel.sh /shared/list.txt /shared/out 16
#
# Several machines without a shared folder: set HOSTS. Each shard's pictures
# (and the list) are packed here, sent to a host over ssh into a fresh folder,
# processed there, and the results come back into OUT_DIR; nothing is left on
# the host. The list must name files by relative paths (find photos -type f).
#   HOSTS='host1 host2' examples/parallel.sh list.txt out 8 --size 1600x1200
# SSH (default: ssh) is the command that runs a shell command on a host.
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

if [ -z "${HOSTS:-}" ]; then
    # -q quotes every argument, so paths with spaces pass through unchanged.
    # shellcheck disable=SC2086 # PARALLEL_EXTRA is a list of parallel's own options
    seq 1 "$shards" | parallel ${PARALLEL_EXTRA:-} -q -j "$shards" --halt never \
        "$tuvo" --quiet --json --files-from "$list" --shard "{}/$shards" -o "$out" "$@"
    exit
fi

# The list's entries, NUL-separated, as tuvo-cli reads them: empty ones skipped,
# a CR before a line's end dropped.
entries() {
    local delim=$'\n' name
    case " $* " in *" -0 "* | *" --null "*) delim='' ;; esac
    while IFS= read -r -d "$delim" name || [ -n "$name" ]; do
        [ -z "$delim" ] || name=${name%$'\r'}
        [ -n "$name" ] && printf '%s\0' "$name"
    done < "$list"
}
if entries "$@" | grep -qz '^/'; then
    echo "$0: with HOSTS the list must hold relative paths" >&2
    exit 2
fi

# One shard: its pictures and the list go over ssh as a tar stream, the
# output folder and the JSON lines come back the same way.
shard() {
    local k=$1 host=$2
    shift 2
    local staging remote
    staging=$(mktemp -d)
    remote="set -e; w=\$(mktemp -d); trap 'rm -rf \"\$w\"' EXIT; cd \"\$w\"; tar -xf -; mkdir out;
        $(printf '%q ' "$tuvo" --quiet --json --files-from "${list##*/}" --shard "$k/$shards" -o out "$@") \
            > shard.jsonl 2> shard.err || true; tar -cf - out shard.jsonl shard.err"
    # The positions p with p mod shards = k - 1, as tuvo-cli --shard takes them.
    local p=0
    entries "$@" | while IFS= read -r -d '' name; do
        [ $((p % shards)) -eq $((k - 1)) ] && printf '%s\0' "$name"
        p=$((p + 1))
    done | tar -cf - --null -T - -C "$(dirname "$list")" "${list##*/}" | ${SSH:-ssh} "$host" "$remote" | tar -xf - -C "$staging"
    cp -a "$staging/out/." "$out/"
    cat "$staging/shard.err" >&2
    cat "$staging/shard.jsonl"
    rm -rf "$staging"
}
export -f shard entries
export list out shards tuvo
read -r -a hosts <<< "$HOSTS"
# Shard k goes to host (k - 1) mod (number of hosts).
# parallel runs the exported function through $SHELL, which must be bash.
seq 1 "$shards" | SHELL=$BASH parallel -q -j "$shards" --halt never \
    shard {} "{= \$_ = (split ' ', \$ENV{HOSTS})[(\$_ - 1) % ${#hosts[@]}] =}" "$@"
