#!/usr/bin/env bash
# Runs a command inside a private, headless Wayland session and ends the session
# after it. Used by the tests; nothing here touches the machine's own session.
#
#   wayland-session.sh weston COMMAND...   weston's headless backend (runs as root)
#   wayland-session.sh portal COMMAND...   sway's headless backend with the desktop
#                                          portal (xdg-desktop-portal + its wlroots
#                                          backend, which grabs through grim) on a
#                                          private D-Bus; the background is pure red
# sway will not run as root: as root, the portal session runs as the user
# "tuvo-test" (made when missing) and so does COMMAND, with a clean environment
# that keeps only what the tests and the sanitizer builds need.
set -euo pipefail
kind=$1; shift

if [ "$kind" = portal ] && [ -z "${TUVO_PORTAL_INNER:-}" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    TUVO_PORTAL_INNER=1 exec dbus-run-session -- bash "$0" portal "$@"
  fi
  # The wlroots backend always writes its grab to /tmp/out.png; one left by another
  # user would make every grab fail.
  rm -f /tmp/out.png
  id tuvo-test >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin tuvo-test
  home=$(mktemp -d /tmp/tuvo-portal-home.XXXXXX)
  chown tuvo-test: "$home"
  exec setpriv --reuid=tuvo-test --regid=tuvo-test --clear-groups --reset-env \
    env HOME="$home" PATH="$PATH" TUVO_PORTAL_INNER=1 \
    QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-wayland}" ${QT_SCALE_FACTOR:+QT_SCALE_FACTOR=$QT_SCALE_FACTOR} \
    ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
    dbus-run-session -- bash "$0" portal "$@"
fi

runtime=$(mktemp -d /tmp/tuvo-wayland.XXXXXX)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$runtime"
  case ${HOME:-} in /tmp/tuvo-portal-home.*) rm -rf "$HOME" ;; esac
}
trap cleanup EXIT

wait_for_socket() {
  for _ in $(seq 100); do
    [ -S "$runtime/$1" ] && return 0
    sleep 0.1
  done
  echo "wayland-session: the compositor did not start; its log:" >&2
  cat "$runtime/compositor.log" >&2 || true
  exit 3
}

case $kind in
  weston)
    weston --backend=headless-backend.so --socket=tuvo-wl --idle-time=0 --width=1024 --height=768 \
      >"$runtime/compositor.log" 2>&1 &
    pids+=($!)
    wait_for_socket tuvo-wl
    export WAYLAND_DISPLAY=tuvo-wl
    ;;
  portal)
    export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman XDG_CURRENT_DESKTOP=sway
    printf 'output HEADLESS-1 resolution 640x480 bg #ff0000 solid_color\n' >"$runtime/sway.conf"
    sway -c "$runtime/sway.conf" >"$runtime/compositor.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
      sock=$(ls "$runtime" | grep -m1 '^wayland-[0-9]*$' || true)
      [ -n "$sock" ] && break
      sleep 0.1
    done
    wait_for_socket "$sock"
    export WAYLAND_DISPLAY=$sock
    dbus-update-activation-environment WAYLAND_DISPLAY XDG_CURRENT_DESKTOP XDG_RUNTIME_DIR
    # The wlroots portal backend will not start without PipeWire (it also serves screen casts).
    pipewire >"$runtime/pipewire.log" 2>&1 &
    pids+=($!)
    sleep 0.5
    /usr/libexec/xdg-desktop-portal-wlr >"$runtime/portal-wlr.log" 2>&1 &
    pids+=($!)
    sleep 0.5
    /usr/libexec/xdg-desktop-portal -r >"$runtime/portal.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do
      gdbus introspect --session --dest org.freedesktop.portal.Desktop \
        --object-path /org/freedesktop/portal/desktop 2>/dev/null | grep -q portal.Screenshot && break
      sleep 0.2
    done
    ;;
  *)
    echo "wayland-session: unknown session kind $kind" >&2
    exit 2
    ;;
esac

"$@"
