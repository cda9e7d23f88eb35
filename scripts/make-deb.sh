#!/usr/bin/env bash
# Builds the two .debs from a Release tree in build-pkg (hardened, no tests,
# binaries stripped by CPack) and checks them with lintian; a lintian error or
# warning fails the script. The packages are left in build-pkg: tuvo-cli_*.deb
# (the batch engine without a window) and tuvo_*.deb (the desktop program).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DTUVO_BUILD_TESTS=OFF >/dev/null
cmake --build build-pkg -j "$(nproc)"
rm -f build-pkg/tuvo_*.deb build-pkg/tuvo-cli_*.deb
(cd build-pkg && cpack -G DEB >/dev/null)
debs=(build-pkg/tuvo-cli_*.deb build-pkg/tuvo_*.deb)
for deb in "${debs[@]}"; do
    echo "make-deb: $deb ($(du -k "$deb" | cut -f1) KiB)"
done
# The headless package must not pull in the desktop.
if dpkg-deb -f build-pkg/tuvo-cli_*.deb Depends | grep -E 'libqt6(widgets|multimedia)|fonts-'; then
    echo "make-deb: tuvo-cli depends on the desktop libraries or fonts" >&2
    exit 1
fi
# Camera RAW is developed by LibRaw; shlibdeps must have named it.
if ! dpkg-deb -f build-pkg/tuvo-cli_*.deb Depends | grep -q 'libraw20'; then
    echo "make-deb: tuvo-cli does not depend on libraw20" >&2
    exit 1
fi
lintian --info --fail-on error,warning "${debs[@]}"
