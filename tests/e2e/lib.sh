# Shared helpers for the end-to-end tests: a private Xvfb (and openbox), the game
# started on it, waits that poll for a condition with a time limit, screenshots
# compared pixel for pixel with the pictures gravisk_headless draws.
# Sourced by each test; needs GRAVISK, HEADLESS and WM (none | openbox) set.

set -u
E2E_TMP=$(mktemp -d /tmp/gravisk-e2e.XXXXXX)
E2E_PIDS=()
E2E_FAILED=0
E2E_WM_PID=""
GAME_PID=""
GAME_WIN=""

e2e_cleanup() {
  local pid
  for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${E2E_PIDS[i]}
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  if [[ $E2E_FAILED == 0 ]]; then rm -rf "$E2E_TMP"; else echo "files kept in $E2E_TMP" >&2; fi
}
trap e2e_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  E2E_FAILED=1
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every 20 ms until it succeeds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS <= deadline)) || return 1
    sleep 0.02
  done
}

# Starts Xvfb on a free display (it picks the number itself) and, if WM says so,
# openbox; exports DISPLAY.
start_x() {
  local fifo="$E2E_TMP/displayfd"
  : >"$fifo"
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$fifo" \
    2>"$E2E_TMP/xvfb.log" &
  E2E_PIDS+=($!)
  wait_for 10 grep -q '[0-9]' "$fifo" || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  export DISPLAY=":$(head -n1 "$fifo")"
  if [[ $WM == openbox ]]; then
    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    E2E_PIDS+=($E2E_WM_PID)
    wait_for 10 wm_running || fail "openbox did not start"
  fi
}

# openbox claims the screen (_NET_SUPPORTING_WM_CHECK) before it is ready to
# manage windows; a window mapped in between stays unmanaged and unmapped. The
# theme is the last thing it loads before its event loop.
wm_running() {
  local props
  props=$(xprop -root _OB_THEME _NET_WORKAREA) &&
    [[ $props == *"_OB_THEME("*"_NET_WORKAREA("* ]]
}

# The game window's id, if exactly one is mapped.
game_window() { xdotool search --onlyvisible --name '^Gravisk V2\.0$'; }

# Starts the game; waits for its window and for the keyboard focus on it.
start_game() {
  "$GRAVISK" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
  GAME_PID=$!
  E2E_PIDS+=($GAME_PID)
  wait_for 10 game_window || fail "no game window appeared; game $(game_state); windows:
$(xwininfo -root -tree | grep -v 'has no name')"
  GAME_WIN=$(game_window)
  wait_for 5 has_focus "$GAME_WIN" || fail "the game window did not get the keyboard focus"
}

has_focus() { [[ $(xdotool getwindowfocus) == "$1" ]]; }

is_new_window() {
  local win
  win=$(game_window) && [[ -n $win && $win != "$1" ]] && has_focus "$win"
}

# Sends keys to whatever has the focus, one at a time; after a key that reloads
# the game (R, F1, F2) waits for the new window to appear and take the focus.
press() {
  local key old
  for key in "$@"; do
    old=$GAME_WIN
    xdotool key "$key"
    case $key in
      r | R | *+r | *+R | F1 | F2 | Cyrillic_ka)
        wait_for 10 is_new_window "$old" || fail "no new window after $key"
        GAME_WIN=$(game_window)
        ;;
    esac
  done
}

# window_geometry WIN: prints "X Y WIDTH HEIGHT" of the client area on screen.
window_geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}

# pixels_differ WIN PICTURE: how many pixels of the window differ from PICTURE.
pixels_differ() {
  import -window "$1" "$E2E_TMP/shot.png" 2>/dev/null || { echo 999999; return; }
  compare -metric AE "$E2E_TMP/shot.png" "$2" null: 2>&1 >/dev/null | cut -d' ' -f1
}
same_picture() { [[ $(pixels_differ "$1" "$2") == 0 ]]; }

# expect_picture NAME HEADLESS-KEYS...: the game window must show, within a few
# seconds, exactly what gravisk_headless draws after the same keys.
expect_picture() {
  local name=$1
  shift
  "$HEADLESS" --out "$E2E_TMP/$name.ppm" "$@" >"$E2E_TMP/$name.txt" || fail "headless: $*"
  if ! wait_for 5 same_picture "$GAME_WIN" "$E2E_TMP/$name.ppm"; then
    cp "$E2E_TMP/shot.png" "$E2E_TMP/$name.window.png"
    fail "$name: $(pixels_differ "$GAME_WIN" "$E2E_TMP/$name.ppm") pixels differ from headless ($*)"
  fi
  echo "ok: $name"
}

# The message box SDL opens: a top-level window named "Gravisk" (xdotool's
# search misses its UTF-8 name, xwininfo does not).
message_box() { xwininfo -root -tree | awk '/"Gravisk": \(/{print $1; found=1} END{exit !found}'; }

# For failure messages: whether the game runs, and where it waits.
game_state() {
  if [[ -d /proc/$GAME_PID ]]; then
    echo "running ($(awk '{print $3}' "/proc/$GAME_PID/stat") in $(cat "/proc/$GAME_PID/wchan"))"
  else
    echo "ended"
  fi
  if [[ -n $E2E_WM_PID ]]; then
    echo "openbox: $(awk '{print $3}' "/proc/$E2E_WM_PID/stat" 2>/dev/null) $(cat "/proc/$E2E_WM_PID/wchan" 2>/dev/null)"
  fi
}

game_exited() { ! kill -0 "$GAME_PID" 2>/dev/null; }
