#!/usr/bin/env bash
# Prints the game's speed and memory figures in one table: gravisk_bench (Google
# Benchmark: a move, its redraw, a reload, Form_Load, a full render, the present step
# at scale 1 to 3) and, when they are there, scripts/measure-linux.sh (start time,
# memory and idle CPU of the Linux game; the same for the Linux archive's program
# beside the Debian package's, and the archive's size, when dist/ holds them) and
# scripts/measure-web.sh (gravisk.html in headless Chromium, once it is built).
# Builds nothing unless the binaries are missing; then it builds the default preset.
# usage: scripts/measure.sh [build-dir]   (default build/default; MIN_TIME=0.2 seconds
# per benchmark; LINUX=0 skips the Linux program, WEB=0 the page; RUNS and IDLE go to
# measure-linux.sh and measure-web.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/default}"
min_time="${MIN_TIME:-0.2}"
bench="$build/bench/gravisk_bench"
game="$build/src/sdl2/gravisk"

if [[ ! -x $bench ]]; then
  echo "measure: $bench missing, building the default preset" >&2
  bash "$root/scripts/configure.sh" default >/dev/null
  build="$root/build/default" bench="$build/bench/gravisk_bench" game="$build/src/sdl2/gravisk"
  cmake --build "$build" --target gravisk_bench -j"$(nproc)" >/dev/null
  [[ -x "$root/scripts/measure-linux.sh" ]] && cmake --build "$build" --target gravisk -j"$(nproc)" >/dev/null
fi

json="$(mktemp /tmp/gravisk-bench.XXXXXX.json)"
trap 'rm -f "$json"' EXIT
"$bench" --benchmark_min_time="$min_time" --benchmark_format=json --benchmark_out="$json" \
  --benchmark_out_format=json >/dev/null

echo "Gravisk figures ($(uname -m), $(nproc) CPUs, $(date -u +%Y-%m-%d))"
python3 - "$json" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
rows = {
    "BM_Move": ("one move (Form_KeyDown, Right/Left)", None),
    "BM_MoveAndRedraw": ("one move + its redraw (Renderer::update)", None),
    "BM_MoveRedraw": ("a move's redraw alone", 10.0),
    "BM_Reload": ("one reload (Form1::reload)", None),
    "BM_FormLoad": ("Form_Load on a fresh board", None),
    "BM_FullRender": ("full render (Renderer::render)", 100.0),
    "BM_PresentFrame/1": ("present a whole frame at scale 1", None),
    "BM_PresentFrame/2": ("present a whole frame at scale 2", None),
    "BM_PresentFrame/3": ("present a whole frame at scale 3", 500.0),
    "BM_PresentMove/1": ("present a move's redraw at scale 1", None),
    "BM_PresentMove/2": ("present a move's redraw at scale 2", None),
    "BM_PresentMove/3": ("present a move's redraw at scale 3", None),
}
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
print(f"{'figure':<44} {'wall µs':>10} {'CPU µs':>10}  aim")
for b in data["benchmarks"]:
    name = b["name"]
    if name not in rows:
        continue
    label, aim = rows[name]
    k = scale[b["time_unit"]]
    wall, cpu = b["real_time"] * k, b["cpu_time"] * k
    verdict = ""
    if aim is not None:
        verdict = f"<= {aim:g} µs " + ("met" if wall <= aim else "MISSED")
    print(f"{label:<44} {wall:>10.2f} {cpu:>10.2f}  {verdict}")
PY

if [[ ${LINUX:-1} != 0 && -x "$root/scripts/measure-linux.sh" ]]; then
  if [[ -x $game ]]; then
    echo
    "$root/scripts/measure-linux.sh" "$game"
  else
    echo "(no Linux program at $game: start-up, memory and idle CPU not measured)"
  fi
fi

# Gravisk.exe under Wine, when the windows preset has built it: its idle cost with no
# game pad (WINE=0 skips it; RUNS and IDLE go to measure-wine.sh).
win_exe="$root/build/windows/src/win32/Gravisk.exe"
if [[ ${WINE:-1} != 0 && -x "$root/scripts/measure-wine.sh" ]]; then
  echo
  if [[ -f $win_exe ]] && command -v wine >/dev/null; then
    "$root/scripts/measure-wine.sh" "$win_exe"
  else
    echo "(no Gravisk.exe at $win_exe, or no wine: its idle cost not measured)"
  fi
fi

# The Linux archives (from dist/: scripts/release.sh or scripts/linux-archive.sh):
# their sizes, and this machine's one's program's start and memory beside the Debian
# package's program (the .deb's in dist/ if it is there; else this build's, above).
compgen -G "$root/dist/gravisk-*-linux-*.tar.gz" >/dev/null && echo
for other in "$root"/dist/gravisk-*-linux-*.tar.gz; do
  [[ -f $other ]] || continue
  size=$(stat -c %s "$other")
  echo "Linux archive $(basename "$other"): $size bytes ($(awk -v b="$size" 'BEGIN{printf "%.1f", b/1024}') KiB)"
done
archive="$(ls "$root"/dist/gravisk-*-linux-"$(uname -m)".tar.gz 2>/dev/null | head -n1 || true)"
if [[ ${LINUX:-1} != 0 && -n $archive && -x "$build/tools/map_timer/gravisk_map_timer" ]]; then
  unpack="$(mktemp -d /tmp/gravisk-archive.XXXXXX)"
  tar -xzf "$archive" -C "$unpack"
  deb="$(ls "$root"/dist/gravisk_*_amd64.deb 2>/dev/null | head -n1 || true)"
  programs=()
  if [[ -n $deb ]]; then
    dpkg-deb -x "$deb" "$unpack/deb"
    programs+=("$unpack/deb/usr/games/gravisk")
  fi
  for program in "${programs[@]}" "$unpack"/gravisk-*/gravisk; do
    echo
    MAP_TIMER="$build/tools/map_timer/gravisk_map_timer" "$root/scripts/measure-linux.sh" "$program"
  done
  rm -rf "$unpack"
fi

web_page="$root/build/web/gravisk.html"
if [[ ${WEB:-1} != 0 ]]; then
  echo
  if [[ -f $web_page ]]; then
    "$root/scripts/measure-web.sh" "$web_page"
  else
    echo "(no page at $web_page: build the web preset for the browser figures)"
  fi
fi
