#!/usr/bin/env bash
# Rebuilds fuzz/corpus/ from fuzz/seeds.txt and the level solutions of
# tests/support/level_solutions.txt (win-level<n>: F1 up to level n, then its
# solution; win-all: the three solutions in a row). Every key becomes two
# little-endian 16-bit values, its virtual-key code and a shift state of 0.
# Run: fuzz/make_corpus.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$here/corpus"
declare -A codes=([Left]=37 [Up]=38 [Right]=39 [Down]=40 [R]=82 [F1]=112 [F2]=113)

# write NAME KEY...: the corpus file NAME holding KEY... as (key, shift) pairs.
write() {
  local out="$here/corpus/$1" key code
  shift
  : >"$out"
  for key in "$@"; do
    code="${codes[$key]:-$key}"
    printf "\\x$(printf %02x $((code & 255)))\\x$(printf %02x $((code >> 8)))\\x00\\x00" >>"$out"
  done
}

while read -r name keys; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  # shellcheck disable=SC2086 # one word a key
  write "$name" $keys
done <"$here/seeds.txt"

all=()
to_level=()
while read -r level keys; do
  [[ -z "$level" || "$level" == \#* ]] && continue
  # shellcheck disable=SC2206 # one word a key
  solution=($keys)
  write "win-level$level" "${to_level[@]}" "${solution[@]}"
  all+=("${solution[@]}")
  to_level+=(F1)
done <"$here/../tests/support/level_solutions.txt"
write win-all "${all[@]}"
