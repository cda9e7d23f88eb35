#!/usr/bin/env bash
# Builds the .deb from a Release tree in build-pkg (hardened, no tests, binaries
# stripped by CPack) and checks it with lintian; a lintian error or warning
# fails the script. The package is left in build-pkg/tuvo_*.deb.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUVO_BUILD_TESTS=OFF >/dev/null
cmake --build build-pkg -j "$(nproc)"
rm -f build-pkg/tuvo_*.deb
(cd build-pkg && cpack -G DEB >/dev/null)
deb=$(ls build-pkg/tuvo_*.deb)
echo "make-deb: $deb ($(du -k "$deb" | cut -f1) KiB)"
lintian --info --fail-on error,warning "$deb"
