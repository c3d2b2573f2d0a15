#!/bin/bash
# A run-time error in the Linux game, at start-up and from a key: one line on
# stderr, a message box titled "Gravisk" that waits for the player, and status 1
# once it is closed. Needs FAULT_PROBE (tests/support/fault_probe.cpp) besides lib.sh's.
source "$(dirname "$0")/lib.sh"
start_x

# run_probe MODE: starts the probe like start_game starts the game.
run_probe() {
  "$FAULT_PROBE" "$1" >"$E2E_TMP/game.out" 2>"$E2E_TMP/game.err" &
  GAME_PID=$!
  X_PIDS+=($GAME_PID)
}
# close_box_and_expect_status1: Return on the box ends the program with status 1.
close_box_and_expect_status1() {
  local box
  box=$(($(message_box)))
  box_took_events "$box"
  kill -0 "$GAME_PID" 2>/dev/null || fail "the program ended before the box was closed"
  xdotool key --window "$box" Return
  wait_for 10 game_exited || fail "the program did not end after the box was closed"
  wait "$GAME_PID"
  local status=$?
  [[ $status == 1 ]] || fail "exit status $status, not 1"
}

# At start-up the counter overflows while the form loads: no game window at all.
run_probe start
wait_for 10 message_box || fail "no error box at start-up; stderr: $(cat "$E2E_TMP/game.err")"
[[ -z $(game_window) ]] || fail "a game window came up despite the error"
grep -qx "gravisk: Run-time error '6': Overflow (level 32768)" "$E2E_TMP/game.err" ||
  fail "stderr: $(cat "$E2E_TMP/game.err")"
close_box_and_expect_status1
echo "ok: error at start-up"

# From a key: F1 reloads into a level the table has no rows for.
run_probe key
wait_for 10 game_window || fail "no game window"
GAME_WIN=$(game_window)
wait_for 5 has_focus "$GAME_WIN" || fail "the game window did not get the keyboard focus"
message_box >/dev/null && fail "an error box before any key"
xdotool key F1
wait_for 10 message_box || fail "no error box after F1; stderr: $(cat "$E2E_TMP/game.err")"
grep -q "^gravisk: Run-time error '9': Subscript out of range" "$E2E_TMP/game.err" ||
  fail "stderr: $(cat "$E2E_TMP/game.err")"
[[ $(wc -l <"$E2E_TMP/game.err") == 1 ]] || fail "more than one line on stderr"
close_box_and_expect_status1
echo "ok: error from a key"
echo PASS
