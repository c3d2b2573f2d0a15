#!/usr/bin/env bash
# A run-time error from the game under Wine, at start-up and from a key inside the
# window procedure: it is written to stderr, shown in a box titled "Gravisk", and the
# program ends with status 1 once the box is closed.
# Usage: fault_test.sh gravisk_fault_probe.exe scratch-dir wine-prefix
probe=$1
export WINE_TEST_DIR=$2 WINEPREFIX=$3
mkdir -p "$WINE_TEST_DIR"
source "$(dirname "$0")/wine_session.sh"
[ -f "$probe" ] || fail "no $probe: build the windows preset with GRAVISK_TESTS on"

ensure_prefix
start_display

# Start-up: the level counter overflows while the form loads, before any window.
start_game "$probe" start
box=$(wait_window "Gravisk")
wait_focus "$box"
[ -z "$(windows_named "Gravisk V2.0")" ] || fail "a game window came up despite the error"
import -window root "$WINE_TEST_DIR/error-at-start.png"
grep -q "^Run-time error '6': Overflow" "$WINE_TEST_DIR/game.err" ||
  fail "stderr: $(cat "$WINE_TEST_DIR/game.err")"
press Return
wait_game_end 20
[ "$game_exit" -eq 1 ] || fail "exit status $game_exit after the start-up error"

# A key: F1 reloads into a level the table has no rows for.
start_game "$probe" key
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
[ -z "$(windows_named Gravisk)" ] || fail "an error box before any key"
press F1
box=$(wait_window "Gravisk")
wait_focus "$box"
import -window root "$WINE_TEST_DIR/error-on-key.png"
grep -q "^Run-time error '9': Subscript out of range" "$WINE_TEST_DIR/game.err" ||
  fail "stderr: $(cat "$WINE_TEST_DIR/game.err")"
# The box waits for the player: the program has not ended behind it while the box
# handled the keys so far. Space let go presses OK.
box_took_keys "$box"
kill -0 "$game_pid" 2>/dev/null || fail "the program ended before the box was closed"
box_let_go
wait_game_end 20
[ "$game_exit" -eq 1 ] || fail "exit status $game_exit after the error from a key"
[ -z "$(windows_named "Gravisk V2.0")" ] || fail "the game window outlived the program"
echo "PASS"
