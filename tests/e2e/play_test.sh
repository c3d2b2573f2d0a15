#!/bin/bash
# Plays level 1 in the real window and checks every picture against the
# headless game: the start, a walk, a push, a dig, R, F1 and F2; also the
# client size, R on a Russian layout, where the R key types a Cyrillic letter,
# and the keypad's arrows with Num Lock off and on.
source "$(dirname "$0")/lib.sh"
start_x
start_game

read -r x y w h < <(client_geometry "$GAME_WIN")
[[ "$w x $h" == "402 x 201" ]] || fail "client area is $w x $h, not 402 x 201"
echo "ok: client area 402 x 201"

expect_picture start
press Right
expect_picture walk Right
press Right
expect_picture push Right Right
dig=(Down Down Right Down Right Up Down Down Right Right)
press "${dig[@]}"
expect_picture dig Right Right "${dig[@]}"
# Keys the game has no use for change nothing.
press a space Escape Tab F5 shift+Left ctrl+Up
expect_picture ignored Right Right "${dig[@]}" Left Up
press R
expect_picture restart
press Right Right R
expect_picture restart-again
press F1
expect_picture level2 F1
press Right Down
expect_picture level2-moved F1 Right Down
press F1
expect_picture level3 F1 F1
press F2
expect_picture back-to-level2 F1 F1 F2
press F2 F2
expect_picture back-to-level3 F1 F1 F2 F2 F2

# Caps Lock and Shift do not change R; nor does a layout without Latin letters.
press F1 Right
press Caps_Lock shift+r Caps_Lock
expect_picture restart-caps F1 F1 F2 F2 F2 F1 Right R
setxkbmap ru || fail "setxkbmap ru"
press Right
press Cyrillic_ka # the key labelled R on a Russian keyboard
expect_picture restart-russian F1 F1 F2 F2 F2 F1 Right R Right R
setxkbmap us

# The keypad: with Num Lock off its 6, 2 and 4 are Right, Down and Left; with it
# on they are digits, which the game ignores.
press KP_Right KP_Down Num_Lock KP_Left KP_Up KP_Right Num_Lock KP_Left
expect_picture keypad F1 F1 F2 F2 F2 F1 Right R Right R Right Down Left
