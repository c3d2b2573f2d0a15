#!/usr/bin/env bash
# Listens to gravisk.html with a real screen reader: Orca (Debian's orca) reading
# Chromium, started headful on a private Xvfb in a D-Bus session of its own with the
# AT-SPI bus, everything with a home under build/listen-web. Plays a short game and
# a win (scripts/listen-web.js) and prints what Orca said after each key, from the
# "SPEECH OUTPUT" lines of its debug file (kept as build/listen-web/orca.log); exits
# with 1 if Orca left out any of the headless game's sentences.
# Installs nothing: bash scripts/setup-debian.sh web reader does. Builds nothing
# unless the page or the headless game is missing.
# usage: scripts/listen-web.sh [path/to/gravisk.html]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
page="${1:-$root/build/web/gravisk.html}"
headless="$root/build/default/src/gravisk_headless"
if [[ ! -f $page ]]; then
  bash "$root/scripts/configure.sh" web >/dev/null
  cmake --build --preset web --target gravisk_page >/dev/null
fi
if [[ ! -x $headless ]]; then
  bash "$root/scripts/configure.sh" default >/dev/null
  cmake --build --preset default --target gravisk_headless >/dev/null
fi
bash "$root/tests/web/npm_ci.sh" >&2

work="$root/build/listen-web"
rm -rf "$work"
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
  XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work"
# Chromium's accessibility reaches AT-SPI, as it does on a desktop with a screen reader.
export ACCESSIBILITY_ENABLED=1 GRAVISK_HEADLESS="$headless" NODE_PATH="$root/tests/web/node_modules"

# A private X server on a display it picks itself.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>"$work/xvfb.log")
xvfb_pid=$!
read -r -t 30 display <&3 || { echo "listen-web: Xvfb did not start" >&2; exit 1; }
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":$display"

# In a D-Bus session of its own: the AT-SPI bus, Orca, and then the game. Orca's
# debug lines are read once the game is over.
dbus-run-session -- bash -c '
  set -euo pipefail
  /usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$1/at-spi.log" &
  # On a terminal of its own (script), Orca writes its debug lines as they come.
  script -qfec "orca --replace -u $1/orca-prefs --debug-file=/dev/stdout" "$1/orca.log" >/dev/null 2>&1 &
  orca=$!
  # Orca is ready once it has written its first lines (it says "Screen reader on.").
  for _ in $(seq 300); do
    [[ -s $1/orca.log ]] && break
    sleep 0.1
  done
  status=0
  node "$2/scripts/listen-web.js" "$3" "$1/orca.log" "$1/profile" play "$1/keys.json" || status=$?
  # Orca busy with Chromium may not stop when asked.
  pkill -TERM -P "$orca" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$orca" 2>/dev/null || break; sleep 0.1; done
  pkill -KILL -P "$orca" 2>/dev/null || true
  exit "$status"
' listen "$work" "$root" "$page"
node "$root/scripts/listen-web.js" "$page" "$work/orca.log" "$work/profile" report "$work/keys.json"
