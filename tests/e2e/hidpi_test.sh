#!/bin/bash
# A dense screen: with the desktop's Xft.dpi at 192 the window is twice as large,
# 804 x 402, fixed at that size and centred, and each 2 x 2 block of it is one
# pixel of what gravisk_headless draws: at start, after a move and after F1.
source "$(dirname "$0")/lib.sh"
start_x
echo 'Xft.dpi: 192' | xrdb -nocpp -merge - || fail "xrdb could not set Xft.dpi"
start_game

read -r _ _ w h < <(client_geometry "$GAME_WIN")
[[ "$w x $h" == "804 x 402" ]] || fail "client area is $w x $h, not 804 x 402"
sizes=$(xprop -id "$GAME_WIN" WM_NORMAL_HINTS)
[[ $sizes == *"minimum size: 804 by 402"* && $sizes == *"maximum size: 804 by 402"* ]] ||
  fail "not fixed at 804 x 402: $sizes"
echo "ok: 804 x 402, fixed"
expect_centred

SCALE=2
expect_picture start
press Right
expect_picture walk Right
press F1
expect_picture level2 F1
