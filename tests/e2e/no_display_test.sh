#!/bin/bash
# Without a display the game says so in one line on stderr and ends with a
# non-zero status instead of running on an invisible video driver; the same
# when DISPLAY names a server that is not there, when SDL is told to use its
# invisible drivers, and when only a Wayland display is named and it is not
# there or cannot be found (no XDG_RUNTIME_DIR).
set -u
check() {
  local what=$1
  shift
  local err status
  err=$(timeout 10 env "$@" "$GRAVISK" 2>&1 >/dev/null)
  status=$?
  if [[ $status == 0 || $status == 124 ]]; then
    echo "FAIL: $what: exit status $status" >&2
    exit 1
  fi
  if [[ $(printf '%s\n' "$err" | wc -l) != 1 || $err != "gravisk: cannot open a window: "?* ]]; then
    echo "FAIL: $what: stderr was: $err" >&2
    exit 1
  fi
  echo "ok: $what: status $status: $err"
}
check "DISPLAY unset" -u DISPLAY -u WAYLAND_DISPLAY
check "no server on DISPLAY" -u WAYLAND_DISPLAY DISPLAY=:4242
check "offscreen driver" -u WAYLAND_DISPLAY -u DISPLAY SDL_VIDEODRIVER=offscreen
check "dummy driver" -u WAYLAND_DISPLAY DISPLAY=:4242 SDL_VIDEODRIVER=dummy
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
check "no compositor on WAYLAND_DISPLAY" -u DISPLAY WAYLAND_DISPLAY=gravisk-none \
  XDG_RUNTIME_DIR="$runtime"
check "WAYLAND_DISPLAY without XDG_RUNTIME_DIR" -u DISPLAY -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-0
