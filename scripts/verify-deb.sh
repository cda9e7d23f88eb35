#!/usr/bin/env bash
# Installs the Tuvo .deb on a clean Debian 12 (a minbase chroot made with
# debootstrap) and checks that apt pulls in everything both programs need:
# tuvo-cli runs, tuvo starts under Xvfb, the desktop entry validates and is
# registered for pictures, and "Open with" on three pictures gives one window
# (a second launch hands its pictures over and ends).
#
#   sudo scripts/verify-deb.sh [path/to/tuvo_*.deb] [chroot-folder]
#
# Needs root, debootstrap and the network to the Debian mirror; takes minutes.
# The chroot is removed at the end unless KEEP_CHROOT=1. A screenshot of the
# window after the handover is left in $OUT (default build-pkg/verify-deb).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls -t "$here"/build-pkg/tuvo_*.deb 2>/dev/null | head -1)}
root=${2:-/work/chroot}
out=${OUT:-$here/build-pkg/verify-deb}
suite=bookworm
mirror=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed -n -E 's/^(URIs:|deb)[[:space:]]+(\[[^]]*\][[:space:]]+)?(https?:[^ ]*).*/\3/p' | grep -v security | head -1 || true)
mirror=${mirror:-http://deb.debian.org/debian}

[[ $(id -u) == 0 ]] || { echo "verify-deb: run as root" >&2; exit 2; }
[[ -f $deb ]] || { echo "verify-deb: no .deb (build it with cpack -G DEB in build-pkg)" >&2; exit 2; }
mkdir -p "$out"

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
as_user() {
    chroot --userspec=tester:tester "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/tester \
        LANG=C.UTF-8 DISPLAY=:99 XDG_RUNTIME_DIR=/tmp/runtime-tester "$@"
}

cleanup() {
    set +e
    # Whatever still runs inside the chroot (Xvfb, tuvo) ends first, by its pid.
    for p in /proc/[0-9]*; do
        if [[ $(readlink "$p/root" 2>/dev/null) == "$root" ]]; then
            kill "${p#/proc/}" 2>/dev/null
        fi
    done
    sleep 1
    for m in dev/pts dev proc sys; do
        mountpoint -q "$root/$m" && umount -l "$root/$m"
    done
    if [[ ${KEEP_CHROOT:-0} != 1 ]]; then
        # Only remove it when nothing is mounted inside any more.
        if ! grep -q " $root/" /proc/mounts; then
            rm -rf --one-file-system "$root"
        else
            echo "verify-deb: $root still has mounts; not removed" >&2
        fi
    fi
}
trap cleanup EXIT

if [[ ! -x $root/usr/bin/apt-get ]]; then
    command -v debootstrap >/dev/null || apt-get install -y debootstrap
    echo "== debootstrap $suite from $mirror"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$out/debootstrap.log"
fi
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount -t devpts devpts "$root/dev/pts" -o newinstance,ptmxmode=0666 || true
mount -t sysfs sysfs "$root/sys" || true
cp /etc/resolv.conf "$root/etc/resolv.conf"
echo "deb $mirror $suite main" >"$root/etc/apt/sources.list"

# The desktop package depends on tuvo-cli, built beside it.
cli_deb=$(ls -t "$(dirname "$deb")"/tuvo-cli_*.deb 2>/dev/null | head -1)
[[ -f $cli_deb ]] || { echo "verify-deb: no tuvo-cli_*.deb beside $deb" >&2; exit 2; }
echo "== apt-get install ./$(basename "$cli_deb") ./$(basename "$deb") (no recommends: Depends alone must do)"
cp "$deb" "$cli_deb" "$root/tmp/"
in_root apt-get update -q >"$out/apt-update.log"
if in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "./tmp/$(basename "$cli_deb")" "./tmp/$(basename "$deb")" >"$out/apt-install.log" 2>&1; then
    pass "apt-get installs the package with its dependencies"
else
    fail "apt-get install (see $out/apt-install.log)"; exit 1
fi
in_root useradd -m tester 2>/dev/null || true
mkdir -p "$root/tmp/runtime-tester" "$root/tmp/pics"
chmod 700 "$root/tmp/runtime-tester"
cp "$here"/data/samples/{city.jpg,meadow.jpg,badge.png,sunset.jpg,rings.jpg,tiles.bmp} "$root/tmp/pics/"
in_root chown -R tester:tester /tmp/runtime-tester /tmp/pics

# Every library the programs link resolves inside the clean system.
for exe in tuvo tuvo-cli; do
    missing=$(in_root ldd "/usr/bin/$exe" | grep 'not found' || true)
    [[ -z $missing ]] && pass "$exe: all shared libraries found" || fail "$exe: $missing"
done

v=$(as_user tuvo-cli --version) && pass "tuvo-cli --version: $v" || fail "tuvo-cli --version"
help=$(as_user tuvo-cli --help)
grep -q -- '--from-settings' <<<"$help" && pass "tuvo-cli --help" || fail "tuvo-cli --help"
# The desktop program answers these before it needs a display (none runs yet).
v=$(as_user tuvo --version) && [[ $v == tuvo\ * ]] && pass "tuvo --version without a display: $v" ||
    fail "tuvo --version"
as_user tuvo --help | grep -q TUVO_HOME && pass "tuvo --help without a display" || fail "tuvo --help"
for page in tuvo tuvo-cli; do
    in_root test -f "/usr/share/man/man1/$page.1.gz" && pass "man page $page.1.gz" || fail "no man page $page.1.gz"
done
# TUVO_HOME moves the writable folders only: the presets of size.ini are still found.
as_user mkdir -p /tmp/th /tmp/out-th
if as_user env TUVO_HOME=/tmp/th tuvo-cli --quiet -o /tmp/out-th --size 2寸 /tmp/pics/city.jpg >>"$out/cli.log" 2>&1 &&
    ls "$root"/tmp/out-th/*.jpg >/dev/null 2>&1; then
    pass "TUVO_HOME=/tmp/th tuvo-cli --size 2寸 finds the installed size.ini"
else
    fail "TUVO_HOME with --size 2寸 (see $out/cli.log)"
fi
# Without -o the output goes to zp in the per-user data folder: /usr/bin is not written.
if as_user tuvo-cli --quiet --size custom -W 320 -H 240 --text '#图片原文件名#' /tmp/pics/city.jpg /tmp/pics/tiles.bmp \
    >"$out/cli.log" 2>&1 && ls "$root"/home/tester/.local/share/tuvo/zp/* >/dev/null 2>&1; then
    pass "tuvo-cli writes $(ls "$root"/home/tester/.local/share/tuvo/zp | wc -l) pictures into ~/.local/share/tuvo/zp"
else
    fail "tuvo-cli on pictures (see $out/cli.log)"
fi
# A camera RAW is developed by the installed LibRaw.
python3 "$here/tools/make_dng.py" "$root/tmp/pics/shot.dng" --size 96x64 --orientation 6
in_root chown tester:tester /tmp/pics/shot.dng
as_user mkdir -p /tmp/out-raw
if as_user tuvo-cli --quiet -o /tmp/out-raw -W 48 /tmp/pics/shot.dng >>"$out/cli.log" 2>&1 &&
    [[ $(identify -format '%wx%h' "$root/tmp/out-raw/shot.jpg" 2>/dev/null) == 48x72 ]]; then
    pass "tuvo-cli develops a DNG, upright"
else
    fail "tuvo-cli on a DNG (see $out/cli.log)"
fi
as_user mkdir -p /tmp/out-pdf
as_user tuvo-cli -o /tmp/out-pdf --pdf -f png /tmp/pics/badge.png >>"$out/cli.log" 2>&1 &&
    ls "$root"/tmp/out-pdf/*.pdf >/dev/null 2>&1 && pass "tuvo-cli --pdf" || fail "tuvo-cli --pdf"
fonts=$(in_root fc-list :lang=zh)
grep -qi 'noto.*cjk' <<<"$fonts" && pass "a CJK font is installed" || fail "no CJK font"
# The desktop program starts on the offscreen platform (no X needed).
if as_user env QT_QPA_PLATFORM=offscreen timeout 8 /usr/bin/tuvo >"$out/offscreen.log" 2>&1; then
    fail "tuvo ended by itself on the offscreen platform"
else
    [[ $? == 124 ]] && pass "tuvo runs on the offscreen platform" || fail "tuvo offscreen (see $out/offscreen.log)"
fi

echo "== desktop tools and an X server"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    xvfb xauth x11-utils x11-apps xdotool desktop-file-utils libglib2.0-bin shared-mime-info >"$out/apt-x.log" 2>&1
in_root desktop-file-validate /usr/share/applications/tuvo.desktop && pass "desktop-file-validate" ||
    fail "desktop-file-validate"
in_root update-desktop-database -q /usr/share/applications
for mime in image/jpeg image/png image/bmp image/gif image/tiff image/x-adobe-dng image/x-canon-cr3; do
    grep -q "^$mime=.*tuvo.desktop" "$root/usr/share/applications/mimeinfo.cache" || fail "tuvo not registered for $mime"
done
pass "tuvo.desktop registered for jpeg, png, bmp, gif, tiff, DNG and CR3"
mimeapps=$(as_user gio mime image/jpeg 2>&1 || true)
grep -q tuvo.desktop <<<"$mimeapps" && pass "gio lists Tuvo for image/jpeg" ||
    fail "gio mime image/jpeg"
in_root test -f /usr/share/icons/hicolor/48x48/apps/tuvo.png && pass "hicolor icon" || fail "hicolor icon"

in_root sh -c 'Xvfb :99 -screen 0 1280x900x24 -nolisten tcp -ac >/tmp/xvfb.log 2>&1 &'
sleep 2
tuvo_count() {
    local n=0 p
    for p in /proc/[0-9]*; do
        [[ $(readlink "$p/root" 2>/dev/null) == "$root" && $(readlink "$p/exe" 2>/dev/null) == "$root/usr/bin/tuvo" ]] && n=$((n + 1))
    done
    echo $n
}
wait_window() {
    local i
    for i in $(seq 1 40); do
        as_user xdotool search --onlyvisible --name 'Tuvo图片批量处理' >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    return 1
}

# "Open with" on three pictures: the menu entry's own Exec line through gio.
as_user sh -c 'cd /tmp/pics && gio launch /usr/share/applications/tuvo.desktop city.jpg meadow.jpg badge.png \
    >/tmp/launch1.log 2>&1'
if wait_window; then
    pass "tuvo shows its window under Xvfb (launched from the desktop entry with three pictures)"
else
    fail "no tuvo window (see $root/tmp/launch1.log)"
fi
sleep 3
[[ $(tuvo_count) == 1 ]] && pass "one tuvo process for three pictures" || fail "$(tuvo_count) tuvo processes"
as_user xwd -root -silent >"$out/open-with-3.xwd" || true

# A second "Open with" while it runs: handed over to the same window, the new process ends.
as_user sh -c 'cd /tmp/pics && gio launch /usr/share/applications/tuvo.desktop sunset.jpg rings.jpg tiles.bmp \
    >/tmp/launch2.log 2>&1'
sleep 4
[[ $(tuvo_count) == 1 ]] && pass "second launch handed over (still one process)" || fail "$(tuvo_count) tuvo processes"
windows=$(as_user xdotool search --onlyvisible --name 'Tuvo图片批量处理' 2>/dev/null | wc -l)
[[ $windows == 1 ]] && pass "one Tuvo window" || fail "$windows Tuvo windows"
as_user xwd -root -silent >"$out/after-handover.xwd" || true
for shot in open-with-3 after-handover; do
    command -v convert >/dev/null && convert "xwd:$out/$shot.xwd" "$out/$shot.png" 2>/dev/null && rm -f "$out/$shot.xwd"
done
[[ -d $root/home/tester/.local/share/tuvo/user ]] && pass "tuvo made zp and user in ~/.local/share/tuvo" ||
    fail "no per-user folders"

echo "== $failures failure(s); screenshots in $out"
[[ $failures == 0 ]]
