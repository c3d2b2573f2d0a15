#!/bin/bash
# Measures the Linux game on its own Xvfb: time from start until its window is
# mapped, resident memory once it shows, and CPU used and wake-ups while it sits
# idle for ten seconds, without a game controller and with the virtual one
# attached and untouched. Prints the median of RUNS runs of each. Then the same on
# Wayland with no X server, in a headless sway, when sway and jq are installed
# (WAYLAND=0 skips it). Builds nothing itself.
# usage: scripts/measure-linux.sh [path/to/gravisk]   (RUNS=5 IDLE=10 by default)
set -euo pipefail
GRAVISK=${1:-build/default/src/sdl2/gravisk}
RUNS=${RUNS:-5}
IDLE=${IDLE:-10}
[[ -x $GRAVISK ]] || { echo "no executable at $GRAVISK (build it first)" >&2; exit 1; }

tmp=$(mktemp -d /tmp/gravisk-measure.XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

: >"$tmp/displayfd"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$tmp/displayfd" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 500); do grep -q '[0-9]' "$tmp/displayfd" && break; sleep 0.01; done
export DISPLAY=":$(head -n1 "$tmp/displayfd")"

median() { sort -n | awk '{v[NR]=$1} END{print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14+$15)*1000/t}' "/proc/$1/stat"; }
# Wake-ups: the voluntary and involuntary context switches of all its threads.
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }

# The window counts as shown when the X server maps it: gravisk_map_timer
# listens for the MapNotify on the root window (no window manager runs here)
# and prints the game's pid and the milliseconds since it started the game.
timer=${MAP_TIMER:-$(dirname "$GRAVISK")/../../tools/map_timer/gravisk_map_timer}
[[ -x $timer ]] || { echo "no gravisk_map_timer at $timer (build the default preset)" >&2; exit 1; }

# idle_cost PID NAME: the CPU time and wake-ups of IDLE seconds, added to NAME_cpu
# and NAME_wakeups.
idle_cost() {
  local before woke
  before=$(cpu_ms "$1")
  woke=$(switches "$1")
  sleep "$IDLE"
  echo "$before $(cpu_ms "$1")" | awk '{print $2-$1}' >>"$tmp/$2_cpu"
  echo $(($(switches "$1") - woke)) >>"$tmp/$2_wakeups"
}
end_game() {
  kill "$game_pid"
  while kill -0 "$game_pid" 2>/dev/null; do sleep 0.01; done
  game_pid=""
}

for run in $(seq "$RUNS"); do
  read -r game_pid ms < <("$timer" "$GRAVISK")
  [[ -n ${ms:-} ]] || { echo "the game ended without a window" >&2; exit 1; }
  echo "$ms" >>"$tmp/start_ms"
  sleep 0.5 # let it settle before reading memory
  awk '/^Rss:/{r=$2} /^Pss:/{p=$2} END{printf "%.1f %.1f\n", r/1024, p/1024}' \
    "/proc/$game_pid/smaps_rollup" >>"$tmp/memory"
  idle_cost "$game_pid" idle
  end_game
done

echo "gravisk: $GRAVISK on Xvfb $DISPLAY, median of $RUNS runs"
echo "start until window mapped: $(median <"$tmp/start_ms") ms (aim: 50 ms; runs: $(tr '\n' ' ' <"$tmp/start_ms"))"
echo "resident memory (Rss):     $(cut -d' ' -f1 "$tmp/memory" | median) MiB (aim: at most 12 MiB)"
echo "proportional memory (Pss): $(cut -d' ' -f2 "$tmp/memory" | median) MiB"
echo "CPU in ${IDLE} s idle:         $(median <"$tmp/idle_cpu") ms (aim: 0 ms)"
echo "wake-ups in ${IDLE} s idle:     $(median <"$tmp/idle_wakeups") (aim: 0)"

# The same idle seconds with SDL's virtual game controller attached and untouched
# (GRAVISK_VIRTUAL_PAD, a FIFO held open here); then 20 D-pad presses, each timed
# until the window shows the move (gravisk_pad_timer reads it back from the X server).
pad_timer=${PAD_TIMER:-$(dirname "$GRAVISK")/../../tools/pad_timer/gravisk_pad_timer}
[[ -x $pad_timer ]] || { echo "no gravisk_pad_timer at $pad_timer (build the default preset)" >&2; exit 1; }
mkfifo "$tmp/pad"
exec 7<>"$tmp/pad"
for run in $(seq "$RUNS"); do
  read -r game_pid ms < <(GRAVISK_VIRTUAL_PAD="$tmp/pad" "$timer" "$GRAVISK")
  [[ -n ${ms:-} ]] || { echo "the game ended without a window" >&2; exit 1; }
  sleep 0.5
  idle_cost "$game_pid" pad
  "$pad_timer" "$tmp/pad" 20 >>"$tmp/pad_press"
  end_game
done
echo "with the virtual pad attached, untouched:"
echo "CPU in ${IDLE} s idle:         $(median <"$tmp/pad_cpu") ms (aim: 0 ms)"
echo "wake-ups in ${IDLE} s idle:     $(median <"$tmp/pad_wakeups") (aim: 0; runs: $(tr '\n' ' ' <"$tmp/pad_wakeups"))"
echo "a D-pad press to the window showing its move: $(cut -d' ' -f1 "$tmp/pad_press" | median) ms (median of the runs' medians; least $(cut -d' ' -f2 "$tmp/pad_press" | sort -n | head -1), most $(cut -d' ' -f3 "$tmp/pad_press" | sort -n | tail -1))"

# On Wayland: a headless sway at scale 1 as the tests start it (run as a uid of
# its own when this runs as root), the window counting as shown when sway maps
# it and says so to a subscriber of its window events.
if [[ ${WAYLAND:-1} != 0 ]] && command -v sway >/dev/null && command -v jq >/dev/null; then
  (
    chmod 755 "$tmp" # the compositor's user passes through to its own folder
    X_TMP="$tmp/wayland"
    mkdir -p "$X_TMP"
    source "$(dirname "$0")/../tests/support/wayland_session.sh"
    trap x_stop EXIT
    start_sway 1
    : >"$tmp/wl_start_ms" >"$tmp/wl_memory" >"$tmp/wl_idle_cpu"
    for run in $(seq "$RUNS"); do
      exec {events}< <("${WL_RUN[@]}" swaymsg -m -r -t subscribe '["window", "workspace"]')
      watcher=$!
      # Moving to another workspace is a workspace event: once one is read, the
      # subscription stands.
      subscribed() {
        wl_run swaymsg workspace "measure-$((++moves))" >/dev/null
        read -r -t 0.2 line <&"$events" && [[ $line == *'"change": '* ]]
      }
      moves=0
      wait_for 10 subscribed || { echo "sway's events did not come" >&2; exit 1; }
      # next_event CHANGE: reads events until one of that change; false when
      # none comes within 10 s or the subscriber has gone.
      next_event() {
        local line
        while read -r -t 10 line <&"$events"; do
          [[ $line == *"\"change\": \"$1\""* ]] && return 0
        done
        return 1
      }
      start=$(date +%s%N)
      "${WL_RUN[@]}" "$GRAVISK" &
      game_pid=$!
      next_event new || { echo "no window: the game $(kill -0 "$game_pid" 2>/dev/null && echo runs || echo ended)" >&2; exit 1; }
      echo $((($(date +%s%N) - start) / 100000)) | awk '{print $1 / 10}' >>"$tmp/wl_start_ms"
      kill "$watcher"
      exec {events}<&-
      sleep 0.5 # let it settle before reading memory
      awk '/^Rss:/{r=$2} /^Pss:/{p=$2} END{printf "%.1f %.1f\n", r/1024, p/1024}' \
        "/proc/$game_pid/smaps_rollup" >>"$tmp/wl_memory"
      before=$(cpu_ms "$game_pid")
      sleep "$IDLE"
      after=$(cpu_ms "$game_pid")
      echo "$before $after" | awk '{print $2-$1}' >>"$tmp/wl_idle_cpu"
      kill "$game_pid"
      while kill -0 "$game_pid" 2>/dev/null; do sleep 0.01; done
    done
    echo
    echo "gravisk on Wayland (headless sway, $(wl_run sway --version)), median of $RUNS runs"
    echo "start until window mapped: $(median <"$tmp/wl_start_ms") ms (runs: $(tr '\n' ' ' <"$tmp/wl_start_ms"))"
    echo "resident memory (Rss):     $(cut -d' ' -f1 "$tmp/wl_memory" | median) MiB"
    echo "proportional memory (Pss): $(cut -d' ' -f2 "$tmp/wl_memory" | median) MiB"
    echo "CPU in ${IDLE} s idle:         $(median <"$tmp/wl_idle_cpu") ms (aim: 0 ms)"
  )
fi
