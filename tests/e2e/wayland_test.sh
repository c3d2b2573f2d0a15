#!/bin/bash
# The game on a Wayland desktop with no X server: sway, headless, its output at
# scale SCALE. The window opens natively, floats at 402 x 201 logical pixels
# with the desktop entry's app id, and shows each pixel of what gravisk_headless
# draws as a SCALE x SCALE block: at start, after a move and on the next levels.
# A win opens the box, focused over the game: keys and a close request for the
# game meanwhile are lost, Return closes it and level 1 follows. Waiting for a
# key, the game does not wake at all; a close request ends it. A run-time error
# shows in the box too, and a game that cannot draw says why in one line.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../support/wayland_session.sh"
start_sway "$SCALE"

TITLE="Gravisk V2.0"
shoot() { wl_shoot "$1" "$2"; } # the pictures expect_picture compares
wtype_keys() { wl_run wtype "$@" || fail "wtype $*"; }
# expect_shown NAME HEADLESS-KEYS...: expect_picture, then the window shown has
# the keyboard (after a reload, keys sent before the new window has it are lost).
expect_shown() {
  expect_picture "$@"
  wait_for 10 wl_focused "$TITLE" || fail "$1: the game window has not the keyboard"
}

"${WL_RUN[@]}" "$GRAVISK" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
GAME_PID=$!
X_PIDS+=($GAME_PID)
GAME_WIN=$TITLE
wait_for 10 wl_focused "$TITLE" ||
  fail "no focused game window; game $(game_state): $(cat "$E2E_TMP/game.err")"
read -r _ _ w h _ floating app_id < <(wl_view "$TITLE")
[[ "$w x $h $floating" == "402 x 201 true" ]] ||
  fail "the window is $w x $h, floating: $floating (not 402 x 201, floating)"
[[ $app_id == io.github.gravisk.Gravisk ]] || fail "app id $app_id, not the desktop entry's"
echo "ok: 402 x 201 logical pixels, floating, app id $app_id"

expect_shown start
wtype_keys -k Right
expect_shown walk Right
wtype_keys -k F1
expect_shown level2 F1
wtype_keys -k F1
expect_shown level3 F1 F1

# Level 3's winning keys, from the list every suite plays, in one call; the last
# walks onto the door.
read -r -a solution < <(sed -n 's/^3 //p' "$(dirname "${BASH_SOURCE[0]}")/../support/level_solutions.txt")
keys=()
for key in "${solution[@]::${#solution[@]}-1}"; do keys+=(-k "$key" -s 20); done
wtype_keys "${keys[@]}"
expect_picture before-door F1 F1 "${solution[@]::${#solution[@]}-1}"
wtype_keys -k "${solution[-1]}"
wait_for 10 wl_focused Gravisk || fail "no focused box titled Gravisk"
read -r _ _ w h _ floating _ < <(wl_view Gravisk)
wl_shoot Gravisk "$E2E_TMP/box.png" || fail "cannot take a picture of the box"
[[ $floating == true ]] || fail "the box is tiled, not floating over the game"
echo "ok: the box, $w x $h, has the keyboard"

# A close request for the game window while the box is open is ignored, and so
# are the keys the box does not take. Space, sent after them, presses its button:
# once that shows, the box has had all of them. Return closes it.
wl_run swaymsg "[title=\"^$TITLE\$\"] kill" >/dev/null || fail "swaymsg kill"
wtype_keys -k Left -s 20 -k Down -s 20 -k F1 -s 20 -P space
box_pressed() {
  wl_shoot Gravisk "$E2E_TMP/box-now.png" &&
    (($(pixels_differ "$E2E_TMP/box.png" "$E2E_TMP/box-now.png") > 0))
}
wait_for 10 box_pressed || fail "the box's button does not show Space pressed"
game_exited && fail "the game ended on a close request while the box was open"
wl_focused Gravisk || fail "the box went on a close request for the game or on other keys"
echo "ok: the box ignored a close request for the game and keys other than its own"
wtype_keys -k Return
expect_shown next-level F1 F1 "${solution[@]}"
wl_view Gravisk >/dev/null && fail "the box is still open"
# Keys typed into the box are gone for good: any left over would show now.
wtype_keys -k Right
expect_shown next-level-walk F1 F1 "${solution[@]}" Right

# The output's scale goes from 1 to 2 and back while the game runs (as when the
# window moves to a denser screen): the window follows, in crisp 2 x 2 blocks.
# sway keeps the window's place in logical pixels, off the smaller output.
if [[ $SCALE == 1 ]]; then
  wl_run swaymsg output HEADLESS-1 scale 2 >/dev/null || fail "swaymsg output scale 2"
  wl_run swaymsg "[title=\"^$TITLE\$\"] move position center" >/dev/null || fail "swaymsg move"
  SCALE=2 expect_picture rescaled F1 F1 "${solution[@]}" Right
  wl_run swaymsg output HEADLESS-1 scale 1 >/dev/null || fail "swaymsg output scale 1"
  wl_run swaymsg "[title=\"^$TITLE\$\"] move position center" >/dev/null || fail "swaymsg move"
  expect_picture scaled-back F1 F1 "${solution[@]}" Right
fi

# Waiting for a key the game does nothing: not one of its threads is switched
# in over a few seconds.
switches() {
  cat /proc/"$GAME_PID"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'
}
before=$(switches)
sleep 3 # the span watched, not a wait for something to happen
after=$(switches)
((after == before)) || fail "the idle game was switched in $((after - before)) times in 3 s"
echo "ok: idle, $before context switches before and after"

wl_run swaymsg "[title=\"^$TITLE\$\"] kill" >/dev/null || fail "swaymsg kill"
wait_for 10 game_exited || fail "the game did not end on a close request"
wait "$GAME_PID"
status=$?
[[ $status == 0 ]] || fail "exit status $status after closing the window"
[[ ! -s $E2E_TMP/game.err ]] || fail "the game wrote on stderr: $(cat "$E2E_TMP/game.err")"
echo "ok: a close request ends the game, nothing on stderr"

# A run-time error from a key: one line on stderr, the box with it, and status 1
# once Return has closed the box.
wl_hold_keyboard
"${WL_RUN[@]}" "$FAULT_PROBE" key >"$E2E_TMP/probe.out" 2>"$E2E_TMP/probe.err" &
GAME_PID=$!
X_PIDS+=($GAME_PID)
wait_for 10 wl_focused "$TITLE" || fail "no window of the fault probe"
wtype_keys -k F1
wait_for 10 wl_focused Gravisk || fail "no error box after F1; stderr: $(cat "$E2E_TMP/probe.err")"
grep -q "^gravisk: Run-time error '9': Subscript out of range" "$E2E_TMP/probe.err" &&
  [[ $(wc -l <"$E2E_TMP/probe.err") == 1 ]] || fail "stderr: $(cat "$E2E_TMP/probe.err")"
wl_shoot Gravisk "$E2E_TMP/error-box.png" || fail "cannot take a picture of the error box"
game_exited && fail "the program ended before the box was closed"
wtype_keys -k Return
wait_for 10 game_exited || fail "the program did not end after the box was closed"
wait "$GAME_PID"
status=$?
[[ $status == 1 ]] || fail "exit status $status after a run-time error, not 1"
echo "ok: a run-time error shows in the box, status 1"

# The window draws its own device pixels: buffers of 402n x 201n at buffer scale
# n. (This compositor would scale a window drawn at scale 1 without blending,
# and show the same pixels; others blend.)
"${WL_RUN[@]}" env WAYLAND_DEBUG=1 "$GRAVISK" 2>"$E2E_TMP/protocol.log" &
GAME_PID=$!
X_PIDS+=($GAME_PID)
wait_for 10 grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$E2E_TMP/protocol.log" ||
  fail "no buffer attached to a surface"
buffer=$(grep -o 'create_buffer(new id wl_buffer@[0-9]*, 0, [0-9]*, [0-9]*' "$E2E_TMP/protocol.log" |
  head -n1 | sed 's/.*, 0, //')
buffer_scale=$(grep -o 'set_buffer_scale([0-9]*)' "$E2E_TMP/protocol.log" | sort -u)
[[ $buffer == "$((402 * SCALE)), $((201 * SCALE))" && $buffer_scale == "set_buffer_scale($SCALE)" ]] ||
  fail "the window's buffer is $buffer with $buffer_scale"
kill "$GAME_PID"
echo "ok: buffers of ${buffer/, / x } device pixels, $buffer_scale"

# With the GL ES window surface turned off (a player's SDL setting) the game
# cannot draw on Wayland, and one line says why.
err=$("${WL_RUN[@]}" env SDL_FRAMEBUFFER_ACCELERATION=0 timeout 20 "$GRAVISK" 2>&1 >/dev/null)
status=$?
[[ $status == 1 && $(wc -l <<<"$err") == 1 && $err == "gravisk: cannot draw in the window: "?* ]] ||
  fail "no surface: status $status, stderr: $err"
echo "ok: $err"
