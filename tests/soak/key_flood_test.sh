#!/bin/bash
# Floods the Linux program under Xvfb with key-downs as fast as the X server takes
# them (xdotool --delay 0): rounds of 120 arrow keys, and shorter rounds that end in R.
# After every round the window must show exactly what gravisk_headless draws after the
# same keys, so each key acted once and in order. Keys after an R would be typed into
# a window the reload has destroyed, so R only ever ends a round; the next round waits
# for the new window. Needs GRAVISK, HEADLESS, FLOOD_KEYS (gravisk_flood_keys) and
# WM (none | openbox).
source "${E2E_LIB:-$(dirname "$0")/../e2e/lib.sh}"
# The rounds: every arrow moves the hero on the board it meets (gravisk_flood_keys
# plans them with the game core), so a key lost or doubled changes the picture.
plan=$("$FLOOD_KEYS" "${FLOOD_SEED:-4242}" 120 40R 120 40R 120 40R 120) || fail "gravisk_flood_keys"
mapfile -t rounds <<<"$plan"
all=()
for round in "${rounds[@]}"; do read -ra keys <<<"$round" && all+=("${keys[@]}"); done
((${#all[@]} == 603)) || fail "planned ${#all[@]} keys, not 603"
if "$HEADLESS" "${all[@]}" | grep -q '^message'; then fail "the planned keys win the level"; fi

start_x
start_game
played=()
n=0
for round in "${rounds[@]}"; do
  read -ra keys <<<"$round"
  old=$GAME_WIN
  xdotool key --delay 0 "${keys[@]}"
  played+=("${keys[@]}")
  n=$((n + 1))
  if [[ ${keys[-1]} == R ]]; then
    wait_for 10 is_new_window "$old" || fail "round $n: no new window after R"
    GAME_WIN=$(game_window)
  fi
  expect_picture "round-$n-${#keys[@]}-keys" "${played[@]}"
done
game_exited && fail "the game ended"
echo "ok: ${#played[@]} keys in $n rounds, each acted once and in order"
