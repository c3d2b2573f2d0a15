#!/bin/bash
# A key held down through reloads: every auto-repeated F1 builds a new window,
# and each new window must have the keyboard focus at once for the repeats to
# go on reaching the game. Afterwards the game shows one of the three levels
# and still takes keys.
source "$(dirname "$0")/lib.sh"
start_x
start_game

declare -A seen=([$GAME_WIN]=1)
xdotool keydown F1
for _ in $(seq 40); do
  win=$(game_window) && seen[$win]=1
  sleep 0.03
done
xdotool keyup F1
windows=${#seen[@]}
((windows >= 4)) || fail "holding F1 made only $((windows - 1)) new window(s)"
echo "ok: holding F1 went through at least $((windows - 1)) reloads"

# Repeats queued before the key went up may still be reloading: wait until one
# window stays, with the keyboard focus.
settled() {
  local first second
  first=$(game_window) && [[ $first != *$'\n'* ]] && sleep 0.3 &&
    second=$(game_window) && [[ $second == "$first" ]] && has_focus "$first"
}
wait_for 10 settled || fail "no single focused game window after the key was let go"
GAME_WIN=$(game_window)

# Which level is on screen now: it must be exactly one of the three.
"$HEADLESS" --out "$E2E_TMP/l1.ppm" >/dev/null
"$HEADLESS" F1 --out "$E2E_TMP/l2.ppm" >/dev/null
"$HEADLESS" F2 --out "$E2E_TMP/l3.ppm" >/dev/null
showing_level() {
  local n
  for n in 1 2 3; do
    if same_picture "$GAME_WIN" "$E2E_TMP/l$n.ppm"; then
      level=$n
      return 0
    fi
  done
  return 1
}
wait_for 5 showing_level || fail "the window shows none of the three levels at their start"
echo "ok: level $level"
# A key that moves the hero on that level, and the headless keys that reach it.
moves=(Down Right Up)
reach=("" F1 F2)
press "${moves[level - 1]}"
expect_picture "level$level-moved" ${reach[level - 1]} "${moves[level - 1]}"
