#!/bin/bash
# Measures Gravisk.exe under Wine on its own Xvfb with no game pad connected: the CPU
# time it uses and how often it wakes (context switches of all its threads) while it
# sits idle for ten seconds once its window is up. Prints the median of RUNS runs.
# Builds nothing itself; makes its own Wine prefix under the build folder on first use.
# usage: scripts/measure-wine.sh [path/to/Gravisk.exe]   (RUNS=3 IDLE=10 by default)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
EXE=${1:-$root/build/windows/src/win32/Gravisk.exe}
RUNS=${RUNS:-3}
IDLE=${IDLE:-10}
[[ -f $EXE ]] || { echo "no Gravisk.exe at $EXE (build the windows preset first)" >&2; exit 1; }
command -v wine >/dev/null || { echo "no wine (bash scripts/setup-debian.sh windows)" >&2; exit 1; }

tmp=$(mktemp -d /tmp/gravisk-measure-wine.XXXXXX)
xvfb_pid=""
game_pid=""
export WINEPREFIX="$root/build/windows/measure-wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine and what it starts keep out of the user's home.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_CACHE_HOME="$tmp/home/.cache"
export XDG_DATA_HOME="$tmp/home/.local/share"
mkdir -p "$HOME"
cleanup() {
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
  wineserver -k 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

if [[ ! -f $WINEPREFIX/system.reg ]]; then
  echo "creating the Wine prefix $WINEPREFIX" >&2
  mkdir -p "$(dirname "$WINEPREFIX")"
  DISPLAY= wine wineboot -i >"$tmp/wineboot.log" 2>&1 || { cat "$tmp/wineboot.log" >&2; exit 1; }
  wineserver -w
fi

: >"$tmp/displayfd"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$tmp/displayfd" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 500); do grep -q '[0-9]' "$tmp/displayfd" && break; sleep 0.01; done
export DISPLAY=":$(head -n1 "$tmp/displayfd")"

median() { sort -n | awk '{v[NR]=$1} END{print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }
ticks=$(getconf CLK_TCK)
cpu_ms() { awk -v t="$ticks" '{print ($14+$15)*1000/t}' "/proc/$1/stat"; }
wake_ups() {
  cat /proc/"$1"/task/*/status | awk '/^(non)?voluntary_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}
shown() { xwininfo -root -tree | grep -q '"Gravisk V2.0": '; }

for run in $(seq "$RUNS"); do
  wine "$EXE" >/dev/null 2>&1 &
  game_pid=$!
  for _ in $(seq 3000); do shown && break; sleep 0.02; done
  shown || { echo "Gravisk.exe showed no window in 60 s" >&2; exit 1; }
  sleep 1 # let it settle: the first paint, the focus
  cpu_before=$(cpu_ms "$game_pid") wake_before=$(wake_ups "$game_pid")
  sleep "$IDLE"
  cpu_after=$(cpu_ms "$game_pid") wake_after=$(wake_ups "$game_pid")
  echo "$cpu_before $cpu_after" | awk '{print $2-$1}' >>"$tmp/idle_cpu"
  echo $((wake_after - wake_before)) >>"$tmp/wake_ups"
  kill "$game_pid"
  while kill -0 "$game_pid" 2>/dev/null; do sleep 0.01; done
  game_pid=""
  wineserver -w
done

echo "Gravisk.exe: $EXE under $(wine --version) on Xvfb $DISPLAY, no game pad, median of $RUNS runs"
echo "CPU in ${IDLE} s idle:         $(median <"$tmp/idle_cpu") ms (aim: 0 ms; runs: $(tr '\n' ' ' <"$tmp/idle_cpu"))"
echo "wake-ups in ${IDLE} s idle:    $(median <"$tmp/wake_ups") (aim: 0; runs: $(tr '\n' ' ' <"$tmp/wake_ups"))"
