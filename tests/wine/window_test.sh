#!/usr/bin/env bash
# Gravisk.exe under Wine as a player meets it: the window by its title, its 402 x 201
# client area centred on the screen, a fixed border with only a close box, the icon,
# level 1's pixels exactly as the core renders them, game pads listened to at no cost
# while none is there, keys moving the hero, R rebuilding the window in the same
# place, and Alt+F4 ending the program with status 0.
# Usage: window_test.sh Gravisk.exe gravisk_headless scratch-dir wine-prefix
exe=$1 headless=$2
export WINE_TEST_DIR=$3 WINEPREFIX=$4
mkdir -p "$WINE_TEST_DIR"
source "$(dirname "$0")/wine_session.sh"

ensure_prefix
start_display
"$headless" --out "$WINE_TEST_DIR/level1.ppm" >/dev/null
"$headless" Right --out "$WINE_TEST_DIR/right.ppm" >/dev/null
"$headless" Right Down --out "$WINE_TEST_DIR/right-down.ppm" >/dev/null

# Wine's rawinput channel logs the game's Raw Input registration.
WINEDEBUG=-all,+rawinput start_game "$exe"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
expect_client_area "$window" 402 201
read -r x y w h < <(client_geometry "$window")

# The border Wine asks the window manager for follows the window's style: it can be
# moved and closed, not resized, minimised or maximised (Motif functions 0x24).
move_and_close_only() {
  local functions
  functions=$(xprop -id "$window" _MOTIF_WM_HINTS | sed -n 's/.*= *[^,]*, *\([^,]*\),.*/\1/p')
  [ -n "$functions" ] && [ "$((functions))" -eq $((0x4 | 0x20)) ]
}
eventually move_and_close_only || fail "window functions: $(xprop -id "$window" _MOTIF_WM_HINTS)"
fixed_size() {
  grep -q 'minimum size: 402 by 201' <<<"$(xprop -id "$window" WM_NORMAL_HINTS)"
}
eventually fixed_size || fail "the window can be resized: $(xprop -id "$window" WM_NORMAL_HINTS)"

# The class icons from the icon resource, large and small.
icons() { xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u; }
both_icons() { [ "$(icons | tr '\n' ' ')" = "Icon (16 x 16) Icon (32 x 32) " ]; }
eventually both_icons || fail "window icons: $(icons)"

expect_picture "$window" "$WINE_TEST_DIR/level1.ppm" "level 1 at start"

# Game pads: the game registered, before its window came, for joysticks (usage 4)
# and game pads (5) of the generic desktop page (1), with their arrivals and removals
# (RIDEV_DEVNOTIFY 0x2000) and their reports whichever of its windows is in front
# (RIDEV_INPUTSINK 0x100), sent to a window of its own. A refusal is a warning of
# Wine's and a line of the game's on stderr.
for usage in 0x4 0x5; do
  grep -q "RegisterRawInputDevices device .: page 0x1, usage $usage, flags 0x2100, target 0x[1-9a-f]" \
    "$WINE_TEST_DIR/game.err" || fail "no Raw Input registration for usage $usage"
done
! grep -E 'warn:rawinput|err:rawinput|game pads are not read' "$WINE_TEST_DIR/game.err" ||
  fail "Raw Input refused the registration"
# With no pad connected, listening costs nothing: the game sleeps. Its process is
# the window's (a shortcut starts it through start.exe, which may be gone by now).
window_process=$(xprop -id "$window" _NET_WM_PID | sed -n 's/.* = \([0-9]*\)$/\1/p')
[[ -d /proc/${window_process:-none} ]] || fail "no process for the window: $(xprop -id "$window" _NET_WM_PID)"
expect_idle "$window_process"

press Right
expect_picture "$window" "$WINE_TEST_DIR/right.ppm" "after Right"
# Held Ctrl or Shift still moves: the shift state does not matter to the game.
press ctrl+Down
expect_picture "$window" "$WINE_TEST_DIR/right-down.ppm" "after Ctrl+Down"

# R restarts: a new window, centred where the first one was, with level 1 again.
press r
wait_destroyed "$window"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
read -r x2 y2 w2 h2 < <(client_geometry "$window")
[ "$x2,$y2,$w2,$h2" = "$x,$y,$w,$h" ] || fail "after R the client area is ${w2}x${h2} at $x2,$y2"
expect_picture "$window" "$WINE_TEST_DIR/level1.ppm" "level 1 after R"
press Right
expect_picture "$window" "$WINE_TEST_DIR/right.ppm" "the new window has the keyboard focus"

# Alt+F4 goes through the window's system keys to Windows, which closes the window.
press alt+F4
wait_gone "Gravisk V2.0"
wait_game_end 20
[ "$game_exit" -eq 0 ] || fail "exit status $game_exit after Alt+F4"
echo "PASS"
