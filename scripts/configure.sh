#!/usr/bin/env bash
# Configures a preset's build folder: `cmake --preset PRESET [cmake args]` from the
# source folder. The presets build with Ninja; a folder an older checkout made
# with Make is configured afresh instead of refused.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cache="$root/build/$1/CMakeCache.txt"
fresh=()
if [[ -f $cache ]] && ! grep -qx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$cache"; then fresh=(--fresh); fi
cd "$root"
cmake --preset "$@" "${fresh[@]}"
