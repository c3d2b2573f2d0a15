#!/usr/bin/env bash
# Writes a contact sheet for looking at the game's pictures: each tile picture
# enlarged eight times (from the asset generator), then the three level start
# screens at twice their size (from the headless front end). Needs ImageMagick.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build/default}"
out="${1:-contact-sheet.png}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target gravisk_assetgen gravisk_headless >/dev/null
"$build/tools/assetgen/gravisk_assetgen" --sheet "$work/pictures.ppm" >/dev/null
headless="$build/src/gravisk_headless"
"$headless" --out "$work/level1.ppm" >/dev/null
"$headless" F1 --out "$work/level2.ppm" >/dev/null
"$headless" F2 --out "$work/level3.ppm" >/dev/null
convert "$work/level1.ppm" "$work/level2.ppm" "$work/level3.ppm" -scale 200% \
  -bordercolor white -border 8 -append "$work/levels.png"
convert "$work/pictures.ppm" "$work/levels.png" -background white -gravity west -append "$out"
echo "$out"
