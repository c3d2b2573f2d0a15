# Sourced by the Wine tests: a private virtual X server with a window manager, the
# Wine prefix under the build directory, starting Windows programs, finding their
# windows, screenshots and pixel comparisons, and a cleanup trap that ends it all.
# Needs WINE_TEST_DIR (a scratch directory) and WINEPREFIX set by the caller.

set -euo pipefail

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts

session_pids=()
game_pid=""

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup-debian.sh windows)"
  done
}

cleanup() {
  local pid
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -d "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  for ((pid = ${#session_pids[@]} - 1; pid >= 0; pid--)); do
    kill "${session_pids[$pid]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Creates the Wine prefix on first use (wineboot takes a while), without a display so
# that no dialog can wait for a click.
ensure_prefix() {
  need wine wineboot wineserver flock
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "creating the Wine prefix $WINEPREFIX"
      DISPLAY= timeout 300 wine wineboot -i >"$WINE_TEST_DIR/wineboot.log" 2>&1 ||
        { cat "$WINE_TEST_DIR/wineboot.log" >&2; exit 1; }
      timeout 120 wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock" || fail "could not create the Wine prefix"
  [ -f "$WINEPREFIX/system.reg" ] || fail "the Wine prefix has no registry"
}

# Starts Xvfb on a free display, then openbox on it. A server that does not answer is
# replaced, four times at most.
start_display() {
  need Xvfb openbox xdotool xwininfo xprop import compare
  local attempt
  for attempt in 1 2 3 4 5; do
    start_xvfb && break
    [ "$attempt" -lt 5 ] || fail "Xvfb did not start: $(cat "$WINE_TEST_DIR/xvfb.log")"
  done
  openbox --config-file "$(dirname "${BASH_SOURCE[0]}")/openbox-rc.xml" \
    >"$WINE_TEST_DIR/openbox.log" 2>&1 &
  session_pids+=($!)
  local i
  for i in $(seq 100); do
    [[ "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)" == *"window id"* ]] && return 0
    sleep 0.1
  done
  fail "openbox did not start on $DISPLAY: $(cat "$WINE_TEST_DIR/openbox.log")"
}

# One Xvfb on a random display from 200 up, clear of the low numbers other programs
# on the machine pick first; succeeds once it takes clients. -noreset: by default the
# server restarts whenever its last client leaves, refusing connections meanwhile.
start_xvfb() {
  local number=$((200 + RANDOM % 700)) i pid
  Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -noreset >"$WINE_TEST_DIR/xvfb.log" 2>&1 &
  pid=$!
  session_pids+=("$pid")
  export DISPLAY=":$number"
  for i in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break  # that display is taken
    # Only our own server: its lock file holds its process id.
    [ "$({ tr -d ' \n' <"/tmp/.X$number-lock"; } 2>/dev/null)" = "$pid" ] &&
      xprop -root _NET_SUPPORTED >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb on $DISPLAY did not answer" >&2
  kill "$pid" 2>/dev/null || true
  return 1
}

# Runs a Windows program under Wine in the background; its stdout and stderr go to
# $WINE_TEST_DIR/game.out and game.err, wait_game_end gives its exit status.
start_game() {
  wine "$@" >"$WINE_TEST_DIR/game.out" 2>"$WINE_TEST_DIR/game.err" &
  game_pid=$!
}

# Waits for the program to end (at most $1 seconds) and sets game_exit to its exit
# status. Not to be run in a subshell: only this shell can wait for its child.
game_exit=""
wait_game_end() {
  local seconds=$1 i
  for i in $(seq $((seconds * 10))); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the program is still running after ${seconds}s"
  game_exit=0
  wait "$game_pid" || game_exit=$?
  game_pid=""
}

# The ids of the top-level windows titled exactly $1, one a line.
windows_named() {
  xwininfo -root -tree | awk -v title=" \"$1\": " 'index($0, title) { print $1 }' || true
}

# Waits until exactly one window is titled $1 and prints its id (hex).
wait_window() {
  local title=$1 i ids
  for i in $(seq 300); do
    ids=$(windows_named "$title")
    if [ "$(echo "$ids" | grep -c .)" -eq 1 ]; then
      echo "$ids"
      return 0
    fi
    sleep 0.1
  done
  fail "no window titled \"$title\" after 30s; windows: $(xwininfo -root -tree | grep '"' || true)"
}

# Waits until no window is titled $1.
wait_gone() {
  local i
  for i in $(seq 300); do
    [ -z "$(windows_named "$1")" ] && return 0
    sleep 0.1
  done
  fail "the window \"$1\" is still there after 30s"
}

# "X Y WIDTH HEIGHT" of a window's client area on the screen.
client_geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    END { print x, y, w, h }'
}

# Saves what the screen shows of a window's client area as $2 (PNG).
shoot_client() {
  local x y w h
  read -r x y w h < <(client_geometry "$1")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# The number of pixels that differ between two pictures of the same size.
pixels_differ() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1 >/dev/null) || true
  [[ "$count" =~ ^[0-9]+$ ]] || fail "cannot compare $1 with $2: $count"
  echo "$count"
}

# Waits until the client area of window $1 shows exactly picture $2 (the window may
# still be catching up on keys), else fails naming $3.
expect_picture() {
  local window=$1 expected=$2 what=$3 i differ=""
  for i in $(seq 50); do
    shoot_client "$window" "$WINE_TEST_DIR/shot.png"
    differ=$(pixels_differ "$WINE_TEST_DIR/shot.png" "$expected")
    [ "$differ" -eq 0 ] && return 0
    sleep 0.1
  done
  cp "$WINE_TEST_DIR/shot.png" "$WINE_TEST_DIR/mismatch-$(basename "$expected" .ppm).png"
  fail "$what: $differ pixels differ from $expected"
}

# Types keys (xdotool names) into whatever has the keyboard focus.
press() {
  xdotool key --delay 40 "$@"
}

# Waits until window $1 (an id) no longer exists.
wait_destroyed() {
  local i
  for i in $(seq 300); do
    xwininfo -id "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window $1 still exists after 30s"
}

# Waits until window $1 (an id) has the keyboard focus, so that typed keys reach it.
wait_focus() {
  local i
  for i in $(seq 300); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ] && return 0
    sleep 0.1
  done
  fail "window $1 did not get the keyboard focus in 30s"
}

# Runs a check until it succeeds, for at most 10s: window properties appear a moment
# after the window itself.
eventually() {
  local i
  for i in $(seq 100); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}
