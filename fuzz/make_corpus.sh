#!/usr/bin/env bash
# Rebuilds fuzz/corpus/ from fuzz/seeds.txt: every key becomes two little-endian
# 16-bit values, its virtual-key code and a shift state of 0. Run: fuzz/make_corpus.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$here/corpus"
declare -A codes=([Left]=37 [Up]=38 [Right]=39 [Down]=40 [R]=82 [F1]=112 [F2]=113)
while read -r name keys; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  out="$here/corpus/$name"
  : >"$out"
  for key in $keys; do
    code="${codes[$key]:-$key}"
    printf "\\x$(printf %02x $((code & 255)))\\x$(printf %02x $((code >> 8)))\\x00\\x00" >>"$out"
  done
done <"$here/seeds.txt"
