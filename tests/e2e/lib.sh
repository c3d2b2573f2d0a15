# Shared helpers for the end-to-end tests of the Linux program, on top of the X
# session helpers: the game started on a private Xvfb (and openbox), keys sent to
# it, and its window compared pixel for pixel with what gravisk_headless draws.
# Sourced by each test; needs GRAVISK, HEADLESS and WM (none | openbox) set.

set -u
# Scratch files go under E2E_SCRATCH (CTest sets it to a folder of the build).
mkdir -p "${E2E_SCRATCH:=/tmp}"
E2E_TMP=$(mktemp -d "$E2E_SCRATCH/gravisk-e2e.XXXXXX")
X_TMP=$E2E_TMP
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
GAME_PID=""
GAME_WIN=""

e2e_cleanup() {
  x_stop
  if [[ $X_FAILED == 0 ]]; then rm -rf "$E2E_TMP"; else echo "files kept in $E2E_TMP" >&2; fi
}
trap e2e_cleanup EXIT

# start_x [openbox args...]: starts Xvfb and, if WM says so, openbox; exports DISPLAY.
start_x() {
  start_xvfb
  [[ $WM == openbox ]] && start_openbox "$@"
  return 0
}

# The game window's id, if exactly one is mapped.
game_window() { xdotool search --onlyvisible --name '^Gravisk V2\.0$'; }

# Starts the game; waits for its window and for the keyboard focus on it.
start_game() {
  "$GRAVISK" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
  GAME_PID=$!
  X_PIDS+=($GAME_PID)
  wait_for 10 game_window || fail "no game window appeared; game $(game_state); windows:
$(xwininfo -root -tree | grep -v 'has no name')"
  GAME_WIN=$(game_window)
  wait_for 5 has_focus "$GAME_WIN" || fail "the game window did not get the keyboard focus"
}

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

# shoot WIN FILE: a picture of the window. import waits for ever on a window that
# goes away while it reads it (a reload does that), hence the time limit.
shoot() { timeout 2 import -window "$1" "$2" 2>/dev/null; }

# window_differs WIN PICTURE: how many pixels of the window differ from PICTURE.
window_differs() {
  shoot "$1" "$E2E_TMP/shot.png" || { echo 999999; return; }
  pixels_differ "$E2E_TMP/shot.png" "$2"
}
same_picture() { [[ $(window_differs "$1" "$2") == 0 ]]; }

# window_shows PICTURE: the game window shows PICTURE; with FOLLOW_WINDOW=1, in
# whichever single game window is mapped now (a pad's level buttons and a box a
# pad closed build new windows without the test's knowing).
window_shows() {
  if [[ ${FOLLOW_WINDOW:-0} == 1 ]]; then
    GAME_WIN=$(game_window) && [[ -n $GAME_WIN && $GAME_WIN != *$'\n'* ]] || return 1
  fi
  same_picture "$GAME_WIN" "$1"
}

# expect_picture NAME HEADLESS-KEYS...: the game window must show, within a few
# seconds, exactly what gravisk_headless draws after the same keys; with SCALE=n,
# that picture with each pixel an n x n block (ImageMagick's -sample).
expect_picture() {
  local name=$1
  shift
  "$HEADLESS" --out "$E2E_TMP/$name.ppm" "$@" >"$E2E_TMP/$name.txt" || fail "headless: $*"
  if [[ ${SCALE:-1} != 1 ]]; then
    convert "$E2E_TMP/$name.ppm" -sample "${SCALE}00%" "$E2E_TMP/$name.ppm" || fail "convert"
  fi
  if ! wait_for 5 window_shows "$E2E_TMP/$name.ppm"; then
    cp "$E2E_TMP/shot.png" "$E2E_TMP/$name.window.png"
    fail "$name: $(window_differs "$GAME_WIN" "$E2E_TMP/$name.ppm") pixels differ from headless ($*)"
  fi
  echo "ok: $name"
}

# The message box SDL opens: a top-level window named "Gravisk" (xdotool's
# search misses its UTF-8 name, xwininfo does not).
message_box() {
  local ids
  ids=$(windows_named Gravisk) && [[ -n $ids ]] && echo "$ids"
}

# box_took_events BOX: waits for a sign that the message box has handled every
# event sent to it so far. The box handles its events in order, and the pointer
# moved onto its OK button (centred, 41 pixels above the bottom) lights the
# button up; moved off the button (to the box's top left corner), the button goes
# back as it was.
box_took_events() {
  local x y w h
  read -r x y w h < <(client_geometry "$1")
  shoot "$1" "$E2E_TMP/box.png" || fail "cannot take a picture of the box"
  box_looks() { # box_looks same|changed
    shoot "$box_id" "$E2E_TMP/box-now.png" || return 1
    local n
    n=$(pixels_differ "$E2E_TMP/box.png" "$E2E_TMP/box-now.png")
    if [[ $1 == same ]]; then ((n == 0)); else ((n > 0 && n < 999999)); fi
  }
  local box_id=$1
  xdotool mousemove $((x + w / 2)) $((y + h - 41))
  wait_for 10 box_looks changed || fail "the box's button did not light up under the pointer"
  xdotool mousemove $((x + 2)) $((y + 2))
  wait_for 10 box_looks same || fail "the box's button stayed lit with the pointer off it"
}

# For failure messages: whether the game runs, and where it waits.
game_state() {
  if [[ -d /proc/$GAME_PID ]]; then
    echo "running ($(awk '{print $3}' "/proc/$GAME_PID/stat") in $(cat "/proc/$GAME_PID/wchan"))"
  else
    echo "ended"
  fi
}

# expect_centred: the whole game window, frame and title bar included, stands in
# the middle of the work area (to a pixel); with no window manager, the client
# area in the middle of the screen.
expect_centred() {
  local x0 y0 w h left=0 right=0 top=0 bottom=0 extents area ax ay aw ah fx fy fw fh dx dy
  read -r x0 y0 w h < <(client_geometry "$GAME_WIN")
  extents=$(xprop -id "$GAME_WIN" _NET_FRAME_EXTENTS)
  if [[ $extents =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+)$ ]]; then
    read -r left right top bottom <<<"${BASH_REMATCH[*]:1}"
  elif [[ $WM == openbox ]]; then
    fail "openbox gave no frame extents: $extents"
  fi
  area=$(xprop -root _NET_WORKAREA)
  if [[ $area =~ =\ ([0-9]+),\ ([0-9]+),\ ([0-9]+),\ ([0-9]+) ]]; then
    read -r ax ay aw ah <<<"${BASH_REMATCH[*]:1}"
  else
    ax=0 ay=0
    read -r aw ah < <(xdotool getdisplaygeometry)
  fi
  fx=$((x0 - left)) fy=$((y0 - top)) fw=$((left + w + right)) fh=$((top + h + bottom))
  dx=$((2 * fx + fw - (2 * ax + aw))) dy=$((2 * fy + fh - (2 * ay + ah))) # twice the offsets
  ((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) ||
    fail "not centred: $fw x $fh at $fx,$fy in the work area $aw x $ah at $ax,$ay"
  echo "ok: $fw x $fh centred at $fx,$fy in $aw x $ah at $ax,$ay"
}

game_exited() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# The virtual game controller (GRAVISK_VIRTUAL_PAD): start_pad makes a FIFO for it,
# held open by this shell as descriptor 7, before start_game.
start_pad() {
  mkfifo "$E2E_TMP/pad" || fail "mkfifo"
  exec 7<>"$E2E_TMP/pad"
  export GRAVISK_VIRTUAL_PAD=$E2E_TMP/pad FOLLOW_WINDOW=1
}
# pad LINE...: lines for the pad ("press a", "release dpup", "axis leftx 32767").
pad() { printf '%s\n' "$@" >&7; }
# pad_tap BUTTON...: each button pressed and let go.
pad_tap() {
  local button
  for button in "$@"; do pad "press $button" "release $button"; done
}
# pad_keys KEY...: the D-pad buttons for the key names the headless game takes.
pad_keys() {
  local key
  for key in "$@"; do
    case $key in
      Left | Up | Right | Down) pad_tap "dp${key,,}" ;;
      *) fail "no pad button for $key" ;;
    esac
  done
}

# context_switches PID: the voluntary and involuntary context switches of all the
# process's threads so far: each is a time it woke up or was put to sleep.
context_switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'
}
