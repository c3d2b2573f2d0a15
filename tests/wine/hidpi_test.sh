#!/usr/bin/env bash
# Gravisk.exe on a 192-dpi screen (LogPixels 192 in the Wine prefix, put back when
# the test ends): the client area is 804 x 402, fixed and centred, and shows the
# core's picture with every pixel doubled, at start, after a move and after F1.
# Then the dpi probe's window, told it moved to a 96-dpi screen, shows the picture
# pixel for pixel at 402 x 201, also after a move.
# Usage: hidpi_test.sh Gravisk.exe gravisk_headless scratch-dir wine-prefix dpi-probe.exe
exe=$1 headless=$2 probe=$5
export WINE_TEST_DIR=$3 WINEPREFIX=$4
mkdir -p "$WINE_TEST_DIR"
source "$(dirname "$0")/wine_session.sh"

desktop='HKCU\Control Panel\Desktop'
usual_dpi() { wine reg delete "$desktop" /v LogPixels /f >/dev/null 2>&1 || true; }
trap 'usual_dpi; cleanup' EXIT
trap 'exit 1' INT TERM

ensure_prefix
start_display
wine reg add "$desktop" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null || fail "cannot set LogPixels"

# The core's pictures, each pixel made a 2 x 2 block by ImageMagick.
doubled() {
  "$headless" "${@:2}" --out "$WINE_TEST_DIR/$1.ppm" >/dev/null &&
    convert "$WINE_TEST_DIR/$1.ppm" -sample 200% "$WINE_TEST_DIR/$1.ppm" || fail "picture $1"
}
doubled level1
doubled right Right
doubled level2 F1
"$headless" --out "$WINE_TEST_DIR/level1-usual.ppm" >/dev/null
"$headless" Right --out "$WINE_TEST_DIR/right-usual.ppm" >/dev/null

start_game "$exe"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
expect_client_area "$window" 804 402
fixed_size() {
  grep -q 'minimum size: 804 by 402' <<<"$(xprop -id "$window" WM_NORMAL_HINTS)"
}
eventually fixed_size || fail "not fixed at 804 x 402: $(xprop -id "$window" WM_NORMAL_HINTS)"

expect_picture "$window" "$WINE_TEST_DIR/level1.ppm" "level 1 at start, doubled"
press Right
expect_picture "$window" "$WINE_TEST_DIR/right.ppm" "after Right, doubled"
press F1
wait_destroyed "$window"
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
expect_picture "$window" "$WINE_TEST_DIR/level2.ppm" "level 2 after F1, doubled"
press alt+F4
wait_game_end 20

start_game "$probe" 96
window=$(wait_window "Gravisk V2.0")
wait_focus "$window"
usual_size() { [ "$(client_geometry "$window" | cut -d' ' -f3,4)" = "402 201" ]; }
eventually usual_size || fail "at 96 dpi the client area is $(client_geometry "$window")"
expect_picture "$window" "$WINE_TEST_DIR/level1-usual.ppm" "level 1 after the move to 96 dpi"
press Right
expect_picture "$window" "$WINE_TEST_DIR/right-usual.ppm" "after Right at 96 dpi"
echo "PASS"
