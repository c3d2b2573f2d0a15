#!/bin/bash
# The game window as the window manager sees it: the frame hints (close box, no
# minimise or maximise box), the icon, a fixed size, the place at start, frame
# and all centred in the work area, and again after a reload even when the
# player moved it; and closing it ends the game with status 0.
source "$(dirname "$0")/lib.sh"
# openbox with margins, which stand for panels: the work area is smaller than
# the screen and off its middle.
start_x --config-file "$(dirname "$0")/openbox-margins.xml"
start_game

hints=$(xprop -id "$GAME_WIN" _MOTIF_WM_HINTS)
# flags: functions + decorations; functions: move + close; decorations: border + title + menu
[[ $hints == *"= 0x3, 0x24, 0x1a, 0x0, 0x0" ]] || fail "frame hints: $hints"
echo "ok: $hints"
xprop -id "$GAME_WIN" _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "no 32 x 32 _NET_WM_ICON"
echo "ok: icon"
sizes=$(xprop -id "$GAME_WIN" WM_NORMAL_HINTS)
[[ $sizes == *"minimum size: 402 by 201"* && $sizes == *"maximum size: 402 by 201"* ]] ||
  fail "not fixed at 402 x 201: $sizes"
echo "ok: fixed size"

# Centred as on Windows: the whole window, frame and title bar included, in the
# middle of the work area; with no window manager, the client area in the
# middle of the screen.
expect_centred
read -r x0 y0 _ < <(client_geometry "$GAME_WIN")

moved_away() { read -r x y _ < <(client_geometry "$GAME_WIN") && ((x < 100 && y < 100)); }
xdotool windowmove "$GAME_WIN" 20 30
wait_for 5 moved_away || fail "the window did not move"
press F1
read -r x y _ < <(client_geometry "$GAME_WIN")
[[ "$x,$y" == "$x0,$y0" ]] || fail "after the reload at $x,$y, not back at $x0,$y0"
echo "ok: centred again after moving and F1"
expect_picture level2 F1

# Closing the window: openbox's own Alt+F4, or without a window manager the
# message a window manager's close box sends.
if [[ $WM == openbox ]]; then
  xdotool key alt+F4
else
  "$SEND_WM_DELETE" "$GAME_WIN" || fail "cannot send WM_DELETE_WINDOW"
fi
wait_for 10 game_exited || fail "the game did not end when its window was closed"
wait "$GAME_PID"
status=$?
[[ $status == 0 ]] || fail "exit status $status after closing the window"
[[ ! -s $E2E_TMP/game.err ]] || fail "stderr: $(cat "$E2E_TMP/game.err")"
echo "ok: closed, status 0"
