#!/usr/bin/env bash
# Checks that every folder of src/ includes only its own files and those of the
# folders below it: base < board < levels < play < game < render, and the front
# ends (headless, sdl2, win32, web) above the whole core and apart from one
# another. Prints each include that reaches up or sideways; exits 1 if any does.
# Usage: scripts/check-layers.sh [SOURCE_DIR] (default: this checkout's src/)
set -euo pipefail
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"

# Each folder's rank; a folder may include its own rank's files only from itself.
declare -A rank=([base]=0 [board]=1 [levels]=2 [play]=3 [game]=4 [render]=5
                 [headless]=6 [sdl2]=6 [win32]=6 [web]=6)

status=0
for dir in "$src"/*/; do
  folder="$(basename "$dir")"
  if [ -z "${rank[$folder]+set}" ]; then
    echo "src/$folder: a folder with no place in the layering (add it to ${0##*/})"
    status=1
  fi
done

# Every quoted or bracketed include whose first part names a folder of src/.
while IFS=: read -r file line text; do
  from="${file#"$src"/}"
  from="${from%%/*}"
  target="$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">].*/\1/' <<<"$text")"
  to="${target%%/*}"
  [ "$to" = "$target" ] && continue  # a file of the same folder
  [ -z "${rank[$to]+set}" ] && continue  # not one of ours (a system or library header)
  [ "$to" = "$from" ] && continue
  [ -z "${rank[$from]+set}" ] && continue  # reported above
  if ((rank[$to] >= rank[$from])); then
    echo "src/${file#"$src"/}:$line: $from includes $target, which is not below it"
    status=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$src" \
           --include='*.h' --include='*.cpp' --include='*.rc' || true)

if [ "$status" -eq 0 ]; then
  echo "layers: every include in src/ looks down"
fi
exit "$status"
