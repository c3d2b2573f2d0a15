#!/bin/bash
# The game played with a game controller alone: SDL's virtual pad
# (GRAVISK_VIRTUAL_PAD) fed line by line through a FIFO, every picture checked
# against the headless game. Buttons the game has no use for do nothing; a held
# D-pad repeats and stops when let go; Y, Back and the shoulders act on the level;
# the stick moves past half its travel; malformed lines are passed over; all three
# levels are won, each "You won!" closed with A or Start, and buttons pressed while
# the box is open never reach the game. With the pad attached and untouched the
# program sleeps.
source "$(dirname "$0")/lib.sh"
start_pad
start_x
start_game

expect_picture start
# A and Start only close the box, B and X do nothing: only the Right shows.
pad_tap a b x start dpright
expect_picture walk Right

# Held, the D-pad repeats as a held key does: Right walks, its first repeat pushes
# the rock (later ones find it blocked). Let go, the program sleeps again: a
# repeat still running would wake it about 30 times a second.
pad "press dpleft" "release dpleft" "press dpright"
expect_picture held Right Left Right Right
pad "release dpright"
idle_after_release() {
  local before
  before=$(context_switches "$GAME_PID")
  sleep 2
  (($(context_switches "$GAME_PID") - before < 10))
}
wait_for 10 idle_after_release || fail "the program stays awake after the D-pad was let go"
echo "ok: a held D-pad repeats and stops when let go"

# Y and Back restart the level, the right shoulder goes on, the left one back.
pad_tap y
expect_picture restart-y
pad_tap dpdown back
expect_picture restart-back
pad_tap rightshoulder
expect_picture next F1
pad_tap leftshoulder leftshoulder
expect_picture previous F1 F2 F2
pad_tap rightshoulder

# The left stick, pushed past half its travel, in its stronger axis; half is not enough.
pad "axis lefty 32767" "axis lefty 0" "axis leftx 16384" "axis leftx 0"
pad "axis leftx 20000" "axis lefty 10000" "axis lefty 0" "axis leftx 0"
expect_picture stick Down Right

# Lines that mean nothing are passed over, and the pad goes on working.
pad "" "press" "press nosuch" "axis leftx 99999" "axis a 5" "jump a" "press a b" \
  "$(printf 'press \001\377')" "$(head -c 5000 /dev/zero | tr '\0' 'x')" "release"
pad_tap y
expect_picture after-nonsense

# All three levels won with the pad alone. While a box is open the other buttons
# neither close it nor reach the game (either would leave the hero off the next
# level's start); A closes the first two boxes, the second pressed at once after
# the winning step, and Start the third.
played=()
for level in 1 2 3; do
  read -r -a solution < <(sed -n "s/^$level //p" "$(dirname "${BASH_SOURCE[0]}")/../support/level_solutions.txt")
  pad_keys "${solution[@]::${#solution[@]}-1}"
  expect_picture "level$level-before-door" "${played[@]}" "${solution[@]::${#solution[@]}-1}"
  old=$GAME_WIN
  pad_keys "${solution[-1]}"
  if [[ $level == 2 ]]; then
    pad_tap a # at once: it may well come before the box is on screen
  else
    wait_for 10 message_box || fail "no message box after level $level"
    pad_tap b x back y rightshoulder dpright dpdown
    if [[ $level == 3 ]]; then pad_tap start; else pad_tap a; fi
  fi
  wait_for 10 is_new_window "$old" || fail "no new window after the box of level $level"
  played+=("${solution[@]}")
  "$HEADLESS" "${played[@]}" | grep -q "^level $((level % 3 + 1)) hero" || fail "headless: not at level $((level % 3 + 1))"
  expect_picture "won-level$level" "${played[@]}"
done
message_box >/dev/null && fail "a box is still open"
# Nothing pressed while a box was open acts now; the pad still moves the hero.
pad_tap dpdown
expect_picture back-at-level1 "${played[@]}" Down

# Attached and untouched, the pad costs nothing: no thread of the program wakes.
before=$(context_switches "$GAME_PID")
sleep 3
woke=$(($(context_switches "$GAME_PID") - before))
((woke == 0)) || fail "$woke context switches in 3 idle seconds with the pad attached"
echo "ok: no wake-up in 3 idle seconds with the pad attached"
