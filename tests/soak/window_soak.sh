#!/bin/bash
# 1,000 reloads of the Linux program under Xvfb (F1 through XTEST, each waiting for the
# new window): its resident memory (/proc/PID/smaps_rollup), its X resources (xrestop)
# and the server's window tree (xwininfo) must be the same after the last reload as after
# the first 100. Closed at the end, it must exit cleanly; in a sanitizer build that
# includes LeakSanitizer finding nothing. Needs GRAVISK, XRELOAD (gravisk_x_reload),
# SEND_WM_DELETE and WM (none | openbox); HEADLESS as the shared helpers want it.
source "${E2E_LIB:-$(dirname "$0")/../e2e/lib.sh}"
RELOADS=${RELOADS:-1000}
RSS_SLACK_KB=${RSS_SLACK_KB:-32}
# An AddressSanitizer build keeps freed memory aside for a while; with that on, its
# resident memory grows with every reload whether anything leaks or not.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0:thread_local_quarantine_size_kb=0"

# measure LABEL: one line of figures, also kept in $E2E_TMP/LABEL.
measure() {
  local rss xres tree
  rss=$(awk '/^Rss:/{print $2}' "/proc/$GAME_PID/smaps_rollup")
  # The client's block of `xrestop -b -m 1`: windows, GCs, pixmaps, other, total bytes.
  xres=$(xrestop -b -m 1 | awk -v pid="$GAME_PID" '
    /^[0-9]+ - / {inblock = $0 ~ ("PID: *" pid " ")}
    inblock && /^\twindows/ {w=$3} inblock && /^\tGCs/ {g=$3} inblock && /^\tpixmaps/ {p=$3}
    inblock && /^\tunknowns/ {u=$3} inblock && /^\ttotal bytes/ {sub("~", "", $4); b=$4}
    END {print w+0, g+0, p+0, u+0, b+0}')
  tree=$(xwininfo -root -tree | grep -c '^ *0x')
  echo "$rss $xres $tree" >"$E2E_TMP/$1"
  printf '%-16s rss %6s kB | X: windows %s GCs %s pixmaps %s other %s bytes %s | tree %s\n' \
    "$1" "$rss" $xres "$tree"
}

start_x
start_game
"$XRELOAD" 100 || fail "reloads 1-100"
measure after-100
"$XRELOAD" $((RELOADS / 2 - 100)) || fail "reloads 101-$((RELOADS / 2))"
measure after-$((RELOADS / 2))
"$XRELOAD" $((RELOADS - RELOADS / 2)) || fail "reloads to $RELOADS"
measure after-$RELOADS
game_exited && fail "the game ended during the reloads"

"$SEND_WM_DELETE" "$(game_window)" || fail "cannot ask the game to close"
wait_for 30 game_exited || fail "the game did not close"
wait "$GAME_PID"
status=$?
if grep -q LeakSanitizer "$E2E_TMP/game.err"; then
  fail "LeakSanitizer: $(grep -E 'leak of|SUMMARY' "$E2E_TMP/game.err")"
fi
[[ $status == 0 ]] || fail "the game exited with status $status: $(cat "$E2E_TMP/game.err")"

read -r rss0 w0 g0 p0 u0 b0 t0 <"$E2E_TMP/after-100"
read -r rss1 w1 g1 p1 u1 b1 t1 <"$E2E_TMP/after-$RELOADS"
[[ $w0 -ge 1 ]] || fail "xrestop does not see the game (PID $GAME_PID)"
[[ "$w1 $g1 $p1 $u1 $b1" == "$w0 $g0 $p0 $u0 $b0" ]] ||
  fail "X resources grew: windows GCs pixmaps other bytes $w0 $g0 $p0 $u0 $b0 -> $w1 $g1 $p1 $u1 $b1"
[[ $t1 == "$t0" ]] || fail "the server's window tree grew: $t0 -> $t1 windows"
((rss1 - rss0 <= RSS_SLACK_KB)) ||
  fail "resident memory grew by $((rss1 - rss0)) kB over $((RELOADS - 100)) reloads"
echo "ok: $RELOADS reloads, resident memory $rss0 -> $rss1 kB, X resources and window tree flat"
