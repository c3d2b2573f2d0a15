# Sourced by the Wine tests, on top of the X session helpers: the Wine prefix under
# the build directory, Windows programs started under Wine on a private Xvfb with
# openbox, their windows waited for, and their client areas compared with pictures.
# Needs WINE_TEST_DIR (a scratch directory) and WINEPREFIX set by the caller.

set -euo pipefail
X_TMP=$WINE_TEST_DIR
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"

export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no menu entries written for the desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

game_pid=""

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup-debian.sh windows)"
  done
}

cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; fi
  if [ -d "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  x_stop
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

# Xvfb, then openbox with no key bindings of its own (Alt+F4 must reach Windows).
start_display() {
  need Xvfb openbox xdotool xwininfo xprop import compare
  start_xvfb
  start_openbox --config-file "$(dirname "${BASH_SOURCE[0]}")/openbox-rc.xml"
}

# Runs a Windows program under Wine in the background; its stdout and stderr go to
# $WINE_TEST_DIR/game.out and game.err, wait_game_end gives its exit status. A
# shortcut (.lnk) starts as Explorer starts it, through start, which waits for the
# program and ends with its exit status.
start_game() {
  local via=()
  [[ $1 == *.lnk ]] && via=(start /wait /unix)
  wine "${via[@]}" "$@" >"$WINE_TEST_DIR/game.out" 2>"$WINE_TEST_DIR/game.err" &
  game_pid=$!
}

# Waits for the program to end (at most $1 seconds) and sets game_exit to its exit
# status. Not to be run in a subshell: only this shell can wait for its child.
game_exit=""
wait_game_end() {
  program_ended() { ! kill -0 "$game_pid" 2>/dev/null; }
  wait_for "$1" program_ended || fail "the program is still running after $1 s"
  game_exit=0
  wait "$game_pid" || game_exit=$?
  game_pid=""
}

# Waits until exactly one window is titled $1 and prints its id (hex).
wait_window() {
  one_window_named() { [ "$(windows_named "$1" | grep -c .)" -eq 1 ]; }
  wait_for 30 one_window_named "$1" ||
    fail "no window titled \"$1\" after 30 s; windows: $(xwininfo -root -tree | grep '"' || true)"
  windows_named "$1"
}

# Waits until no window is titled $1.
wait_gone() {
  none_named() { [ -z "$(windows_named "$1")" ]; }
  wait_for 30 none_named "$1" || fail "the window \"$1\" is still there after 30 s"
}

# Waits until window $1 (an id) no longer exists.
wait_destroyed() {
  destroyed() { ! xwininfo -id "$1" >/dev/null 2>&1; }
  wait_for 30 destroyed "$1" || fail "window $1 still exists after 30 s"
}

# Waits until window $1 (an id) has the keyboard focus, so that typed keys reach it.
wait_focus() {
  wait_for 30 has_focus "$1" || fail "window $1 did not get the keyboard focus in 30 s"
}

# Runs a check until it succeeds, for at most 10 s (window properties appear a moment
# after the window itself); then once more where its failure can be seen.
eventually() {
  wait_for 10 "$@" || "$@"
}

# Saves what the screen shows of a window's client area as $2 (PNG).
shoot_client() {
  local x y w h
  read -r x y w h < <(client_geometry "$1")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2"
}

# Waits until the client area of window $1 shows exactly picture $2 (the window may
# still be catching up on keys), else fails naming $3.
expect_picture() {
  local window=$1 expected=$2 what=$3
  shows_picture() {
    shoot_client "$window" "$WINE_TEST_DIR/shot.png" &&
      [ "$(pixels_differ "$WINE_TEST_DIR/shot.png" "$expected")" -eq 0 ]
  }
  wait_for 5 shows_picture && return 0
  cp "$WINE_TEST_DIR/shot.png" "$WINE_TEST_DIR/mismatch-$(basename "$expected" .ppm).png"
  fail "$what: $(pixels_differ "$WINE_TEST_DIR/shot.png" "$expected") pixels differ from $expected"
}

# box_took_keys BOX: waits for a sign that the message box has handled every key
# typed so far. It handles its keys in order, and Space held down on its focused
# OK button draws the button pushed in; the button is let go (which presses it)
# only with box_let_go, so the caller can first look at what the keys did.
box_took_keys() {
  shoot_client "$1" "$WINE_TEST_DIR/box.png"
  button_pushed() {
    shoot_client "$1" "$WINE_TEST_DIR/box-now.png" &&
      [ "$(pixels_differ "$WINE_TEST_DIR/box.png" "$WINE_TEST_DIR/box-now.png")" -gt 0 ]
  }
  xdotool keydown space
  wait_for 10 button_pushed "$1" || fail "the box's button did not go in with Space held down"
}
box_let_go() { xdotool keyup space; }

# wake_ups PID: how often the process's threads have left a CPU so far (voluntary
# and involuntary context switches): each time it woke, at least once.
wake_ups() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# expect_idle PID: the process wakes at most a few times while a ticker at a held
# direction's repeat rate (30 a second) ticks 60 times. A program that polled, or
# left a timer running, would wake about as often as the ticker does.
expect_idle() {
  local before after ticks=0
  before=$(wake_ups "$1")
  while ((ticks < 60)); do
    sleep 0.033
    ticks=$((ticks + 1))
  done
  after=$(wake_ups "$1")
  echo "wake-ups while a 30 Hz ticker ticked $ticks times: $((after - before))"
  ((after - before <= 6)) || fail "the program woke $((after - before)) times while idle"
}

# Types keys (xdotool names) into whatever has the keyboard focus.
# expect_client_area WINDOW W H: the window's client area is W x H and centred on
# the 1024 x 768 screen (the work area: no panels); the borders are the same left
# and right, and the caption above makes the client area sit a little low.
expect_client_area() {
  local x y w h centreX centreY
  read -r x y w h < <(client_geometry "$1")
  echo "client area ${w}x${h} at $x,$y"
  [ "$w" -eq "$2" ] && [ "$h" -eq "$3" ] || fail "client area is ${w}x${h}, not ${2}x${3}"
  centreX=$((x + w / 2)) centreY=$((y + h / 2))
  ((centreX >= 511 && centreX <= 513)) || fail "client area centre x is $centreX, not 512"
  ((centreY >= 384 && centreY <= 384 + 30)) || fail "client area centre y is $centreY, not just below 384"
}

press() {
  xdotool key --delay 40 "$@"
}
