#!/usr/bin/env bash
# Winning level 1 in Gravisk.exe under Wine: the board stays as it was under the
# modal "You won!" box titled "Gravisk", keys typed while the box is up never reach
# the game, and closing the box with Return brings a new window with level 2. Then
# the box probe's box, closed as a game pad's A closes it, brings level 2 too.
# Usage: win_test.sh Gravisk.exe gravisk_headless scratch-dir wine-prefix box-probe.exe
exe=$1 headless=$2 probe=$5
export WINE_TEST_DIR=$3 WINEPREFIX=$4
mkdir -p "$WINE_TEST_DIR"
source "$(dirname "$0")/wine_session.sh"

# The way through level 1; the last step reaches the door.
keys=(Right Right Down Right Down Down Right Down Right Right Right Right Right Up Right Right
  Down Right Down Right Down Right Down Right)
approach=("${keys[@]:0:${#keys[@]}-1}")

ensure_prefix
start_display
"$headless" "${approach[@]}" --out "$WINE_TEST_DIR/before-door.ppm" >/dev/null
"$headless" F1 --out "$WINE_TEST_DIR/level2.ppm" >/dev/null
"$headless" F1 Right --out "$WINE_TEST_DIR/level2-right.ppm" >/dev/null
grep -qx 'message "You won!" "Gravisk"' <<<"$("$headless" "${keys[@]}")" ||
  fail "the keys no longer win level 1 in the core: $("$headless" "${keys[@]}")"

start_game "$exe"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
press "${approach[@]}"
expect_picture "$window" "$WINE_TEST_DIR/before-door.ppm" "next to the door"
[ -z "$(windows_named Gravisk)" ] || fail "a message box came up before the door"

press "${keys[-1]}"
box=$(wait_window "Gravisk")
wait_focus "$box"  # the box takes the keys from the game window
[ "$box" != "$window" ] || fail "the box is the game window"
xwininfo -id "$window" >/dev/null 2>&1 || fail "the game window is gone while the box is up"
# The box belongs to the game window (Wine marks it transient for its owner).
grep -q "$window$" <<<"$(xprop -id "$box" WM_TRANSIENT_FOR)" ||
  fail "the box is not owned by the game window: $(xprop -id "$box" WM_TRANSIENT_FOR)"
import -window root "$WINE_TEST_DIR/you-won.png"

# The box is modal: these keys must not move the hero on the next level either.
press Right Down Right F1
box_took_keys "$box"
[ -n "$(windows_named Gravisk)" ] || fail "the box closed on arrow keys"
# Return closes the box; Space, let go after it, goes to the next level's window,
# which has no use for it.
press Return
wait_gone "Gravisk"
box_let_go
wait_destroyed "$window"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
read -r x y w h < <(client_geometry "$window")
[ "$w" -eq 402 ] && [ "$h" -eq 201 ] || fail "level 2's client area is ${w}x${h}"
expect_picture "$window" "$WINE_TEST_DIR/level2.ppm" "level 2 after the win"
# A key that leaked through from the box would be handled before this one, and show.
press Right
expect_picture "$window" "$WINE_TEST_DIR/level2-right.ppm" "level 2, untouched by keys typed at the box"

press alt+F4
wait_game_end 20
[ "$game_exit" -eq 0 ] || fail "exit status $game_exit"

# The probe presses the open box's OK as the game does for a pad's A or Start, once
# the signal file is there, and deletes the file when it has found a box to press.
signal="$WINE_TEST_DIR/close-box"
rm -f "$signal"
start_game "$probe" "Z:$signal"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
press "${keys[@]}"
box=$(wait_window "Gravisk")
wait_focus "$box"
import -window root "$WINE_TEST_DIR/probe-box.png"
touch "$signal"
wait_gone "Gravisk"
[ ! -e "$signal" ] || fail "the box closed, but not by the probe"
wait_destroyed "$window"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
expect_picture "$window" "$WINE_TEST_DIR/level2.ppm" "level 2 after the box was closed as by a pad"
press alt+F4
wait_game_end 20
[ "$game_exit" -eq 0 ] || fail "the probe's exit status $game_exit"
echo "PASS"
