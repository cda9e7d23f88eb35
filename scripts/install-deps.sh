#!/usr/bin/env bash
# Installs the Debian 12 packages Tuvo needs. Safe to run again: it asks apt only
# for packages that are missing.
#
#   install-deps.sh build   building and running Tuvo (scripts/demo.sh)
#   install-deps.sh test    that, plus the real peers the tests run against (scripts/test.sh)
#   install-deps.sh [all]   that, plus fuzzing, benchmarks and packaging checks
set -euo pipefail

build=(
  g++ cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  qt6-multimedia-dev
  qt6-translations-l10n qt6-l10n-tools
  libgif-dev libimagequant-dev libturbojpeg0-dev libjpeg62-turbo-dev
  libcurl4-openssl-dev libzip-dev libcairo2-dev libpango1.0-dev
  libexiv2-dev liblcms2-dev libheif-dev libwebp-dev libspng-dev zlib1g-dev
  libraw-dev
  fonts-noto-cjk fonts-hanazono
)
test=(
  libgtest-dev libgmock-dev
  python3-pyftpdlib python3-openssl vsftpd openssl openssh-server openssh-client libimage-exiftool-perl poppler-utils imagemagick libtiff-tools
  python3-docx xvfb xauth liblcms2-utils libgs10-common libheif-examples webp
  parallel python3-yaml
  # Wayland: weston (native Wayland client test), sway + the desktop portal with
  # its wlroots backend (screen capture through the portal)
  qt6-wayland weston sway grim pipewire xdg-desktop-portal xdg-desktop-portal-wlr
  xdg-desktop-portal-gtk
  # .doc import, wallpaper and drag and drop against the real programs
  libreoffice-writer-nogui dbus libglib2.0-bin gsettings-desktop-schemas dconf-gsettings-backend
  xfconf libxfconf-0-3 xdotool  # xfconf-query needs libxfconf-0-3, which xfconf only recommends
)
extra=(
  # fuzzing
  clang libclang-rt-14-dev
  # benchmarks
  libvips-tools graphicsmagick time dcraw libjpeg-turbo-progs
  # packaging checks
  appstream desktop-file-utils lintian dpkg-dev debootstrap
)

case ${1:-all} in
  build) packages=("${build[@]}") ;;
  test) packages=("${build[@]}" "${test[@]}") ;;
  all) packages=("${build[@]}" "${test[@]}" "${extra[@]}") ;;
  *) echo "usage: install-deps.sh [build|test|all]" >&2; exit 2 ;;
esac

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
