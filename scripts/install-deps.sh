#!/usr/bin/env bash
# Installs everything Tuvo needs to build, run, test and benchmark on Debian 12.
# Safe to run again: it asks apt only for packages that are missing.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  qt6-multimedia-dev
  libgif-dev libimagequant-dev libturbojpeg0-dev libjpeg62-turbo-dev
  libcurl4-openssl-dev libzip-dev
  libexiv2-dev liblcms2-dev libheif-dev libwebp-dev libspng-dev
  fonts-noto-cjk
  # tests and their real peers
  libgtest-dev libgmock-dev
  python3-pyftpdlib libimage-exiftool-perl poppler-utils imagemagick libtiff-tools
  python3-docx xvfb xauth liblcms2-utils libgs10-common libheif-examples webp
  # fuzzing and sanitizers
  clang libclang-rt-14-dev
  # benchmarks
  libvips-tools graphicsmagick time
  # packaging checks
  appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
