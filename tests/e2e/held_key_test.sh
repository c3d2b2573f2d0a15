#!/bin/bash
# A key held down through reloads: the X server's own auto-repeat (set here to a
# known rate) sends F1 again and again, every F1 builds a new window, and each new
# window must have the keyboard focus at once for the repeats to go on reaching the
# game: held long enough, the game goes round all three levels and on. Afterwards
# the game shows one of the three levels and still takes keys.
source "$(dirname "$0")/lib.sh"
start_x
# Repeats start 500 ms after the press and come twice a second: each level stays
# long enough on screen to be seen, whatever else the machine does.
xset r on
xset r rate 500 2
start_game

"$HEADLESS" --out "$E2E_TMP/l1.ppm" >/dev/null
"$HEADLESS" F1 --out "$E2E_TMP/l2.ppm" >/dev/null
"$HEADLESS" F2 --out "$E2E_TMP/l3.ppm" >/dev/null
expect_picture level1

# Held, F1 takes the game from level 1 through 2, 3, 1 to 2 again: the press and
# then at least three repeats, each reaching the window the one before built.
xdotool keydown F1
for n in 2 3 1 2; do
  showing() { GAME_WIN=$(game_window) && same_picture "$GAME_WIN" "$E2E_TMP/l$n.ppm"; }
  wait_for 20 showing || { xdotool keyup F1; fail "holding F1 did not bring level $n round"; }
  echo "ok: held F1 brought level $n"
done
xdotool keyup F1


# The key went up half a repeat after level 2 came: no repeat is left behind it.
# Level 2 is on screen, in one window with the focus, and the game still takes
# keys: Right walks the hero there (any reload left over would show instead).
wait_for 10 has_focus "$GAME_WIN" || fail "level 2's window does not have the keyboard focus"
[[ $(game_window) == "$GAME_WIN" ]] || fail "more than one game window: $(game_window)"
press Right
expect_picture level2-moved F1 Right
