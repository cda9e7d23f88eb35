#!/bin/sh
# Times the publishing steps of tuvo-cli on N 12-megapixel photos: a plain run,
# the same run with --pdf, and with --upload to a pyftpdlib server on 127.0.0.1.
# Usage: bench/bench_publish.sh [path/to/tuvo-cli] [N]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/bin/tuvo-cli}
n=${2:-10}
work=$(mktemp -d)
trap 'kill $ftp 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/ftp" "$work/home"
i=0
while [ $i -lt "$n" ]; do
    convert -size 4000x3000 gradient:navy-gold -attenuate 0.3 +noise Gaussian -quality 90 "$work/in/p$i.jpg"
    i=$((i + 1))
done

/usr/bin/python3 -u -c '
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
a = DummyAuthorizer(); a.add_user("bench", "bench", sys.argv[1], perm="elradfmwMT")
FTPHandler.authorizer = a
s = FTPServer(("127.0.0.1", 0), FTPHandler)
print(s.socket.getsockname()[1], flush=True)
s.serve_forever()' "$work/ftp" >"$work/port" 2>/dev/null &
ftp=$!
while [ ! -s "$work/port" ]; do sleep 0.1; done
port=$(cat "$work/port")

run() {
    rm -rf "$work/out" && mkdir "$work/out"
    start=$(date +%s.%N)
    TUVO_HOME="$work/home" TUVO_FTP_PASSWORD=bench "$cli" --quiet -o "$work/out" -f jpg --size original "$@" "$work/in" || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
plain=$(run)
pdf=$(run --pdf)
pdfsize=$(stat -c %s "$work/out/Tuvo图片集.pdf")
upload=$(run --upload --passive --ftp-server "127.0.0.1:$port" --ftp-user bench --web-base http://bench)
echo "$n photos of 4000x3000: plain ${plain}s, with --pdf ${pdf}s (PDF $pdfsize bytes), with --upload ${upload}s"
