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
# The pointer off the window: keys must reach it through the focus it is given, not
# because it is under the pointer.
xdotool mousemove 0 0
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
# Auto-repeat off first: from here the server sends no more F1s, and then the key
# goes up.
xset r off
xdotool keyup F1

# A repeat sent just before may still have reloaded once more: whichever level is
# on screen now, in one window with the keyboard focus, it is one of the three at
# its start, and the game still takes keys there.
showing_level() {
  local n
  GAME_WIN=$(game_window) && [[ $GAME_WIN != *$'\n'* ]] && has_focus "$GAME_WIN" || return 1
  for n in 1 2 3; do
    if same_picture "$GAME_WIN" "$E2E_TMP/l$n.ppm"; then
      level=$n
      return 0
    fi
  done
  return 1
}
wait_for 10 showing_level || fail "no single focused window showing one of the three levels"
echo "ok: level $level after the key went up"
# A key that moves the hero on that level, and the headless keys that reach it.
moves=(Down Right Up)
reach=("" F1 F2)
press "${moves[level - 1]}"
expect_picture "level$level-moved" ${reach[level - 1]} "${moves[level - 1]}"
