#!/usr/bin/env bash
# Renders the application icon (packaging/icons/tuvo.svg) to the hicolor PNG sizes.
set -euo pipefail
cd "$(dirname "$0")/icons"
for s in 16 24 32 48 64 128 256; do
  convert -background none tuvo.svg -resize ${s}x${s} tuvo-$s.png
done
