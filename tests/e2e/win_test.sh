#!/bin/bash
# Wins level 3 in the real window: the "You won!" box appears, owned by the
# game, keys typed and a close request sent while it is open never reach the
# game, Return closes it, the next level (1) starts, and a close request then
# ends the game.
source "$(dirname "$0")/lib.sh"
start_x
start_game

press F1 F1
expect_picture level3 F1 F1
# Level 3's winning keys, from the list every suite plays; the last walks onto the door.
read -r -a solution < <(sed -n 's/^3 //p' "$(dirname "${BASH_SOURCE[0]}")/../support/level_solutions.txt")
"$HEADLESS" F1 F1 "${solution[@]}" | grep -q '^message "You won!" "Gravisk"$' ||
  fail "the headless game does not win with these keys"
press "${solution[@]::${#solution[@]}-1}"
expect_picture before-door F1 F1 "${solution[@]::${#solution[@]}-1}"
press "${solution[-1]}"

wait_for 10 message_box || fail "no message box titled Gravisk"
box=$(($(message_box))) # decimal, as xdotool prints ids
echo "ok: message box $box"
if [[ $WM == openbox ]]; then
  xprop -id "$box" WM_TRANSIENT_FOR | grep -q "$(printf '# 0x%x$' "$GAME_WIN")" ||
    fail "the box is not owned by the game window: $(xprop -id "$box" WM_TRANSIENT_FOR)"
  wait_for 5 has_focus "$box" || fail "the box did not get the keyboard focus"
fi
# Keys typed now, both to whatever has the focus and to the box itself, are lost,
# and the box is modal: a close request for the game window meanwhile is ignored.
xdotool key Left Down Right F1
xdotool key --window "$box" Left Down F2
"$SEND_WM_DELETE" "$GAME_WIN" || fail "cannot send WM_DELETE_WINDOW"
box_took_events "$box"
message_box >/dev/null || fail "the box closed on keys other than Return/Escape or a close request"
game_exited && fail "the game ended on a close request while the box was open"
old=$GAME_WIN
xdotool key --window "$box" Return
wait_for 10 is_new_window "$old" || fail "no new window after the box closed"
GAME_WIN=$(game_window)
message_box >/dev/null && fail "the box is still open"
"$HEADLESS" F1 F1 "${solution[@]}" | grep -q '^level 1 hero 0,0$' || fail "headless not at level 1"
expect_picture next-level F1 F1 "${solution[@]}"
# The keys typed into the box are gone for good, and the game takes keys again:
# any of them left over would be handled before this Right, and show.
press Right
expect_picture next-level-walk F1 F1 "${solution[@]}" Right
game_exited && fail "the game ended on the close request sent while the box was open"
# With the box gone, a close request ends the game again.
"$SEND_WM_DELETE" "$GAME_WIN" || fail "cannot send WM_DELETE_WINDOW"
wait_for 10 game_exited || fail "the game did not end on a close request after the box"
wait "$GAME_PID"
status=$?
[[ $status == 0 ]] || fail "exit status $status after closing the window"
echo "ok: a close request after the box ends the game"
