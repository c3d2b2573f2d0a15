#!/usr/bin/env bash
# Installs the Debian packages the build needs. With no arguments it installs
# every list in scripts/packages/; with names (core sdl2 ...) only those lists.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

lists=()
if [ "$#" -eq 0 ]; then
  lists=("$here"/packages/*.txt)
else
  for name in "$@"; do lists+=("$here/packages/$name.txt"); done
fi
mapfile -t packages < <(grep -hv '^\s*#' "${lists[@]}" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Packages of another architecture (name:arch, the ARM builds' libraries) need that
# architecture added to dpkg before apt-get update fetches its lists.
for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*:\([a-z0-9]*\)$/\1/p' | sort -u); do
  dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
done
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
