#!/usr/bin/env bash
# Installs the Debian packages the build needs. With no arguments it installs
# every list in scripts/packages/ and the browser tests' npm packages; with names
# (core sdl2 ...) only those lists.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

lists=()
if [ "$#" -eq 0 ]; then
  lists=("$here"/packages/*.txt)
else
  for name in "$@"; do lists+=("$here/packages/$name.txt"); done
fi
mapfile -t packages < <(grep -hv '^\s*#' "${lists[@]}" | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Another apt (a desktop installing its updates, a second setup) may hold the lock:
# wait for it rather than fail.
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -q -y -o DPkg::Lock::Timeout=600 "$@"; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  # Packages of another architecture (name:arch, the ARM builds' libraries) need that
  # architecture added to dpkg before apt-get update fetches its lists.
  for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/^[^:]*:\([a-z0-9]*\)$/\1/p' | sort -u); do
    dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
  done
  echo "Installing: ${missing[*]}"
  # A mirror caught mid-sync serves one index of another size than its Release
  # file says; apt then keeps the lists it had. Try again a little later, and go
  # on with what was fetched: the install below fails plainly if a package is
  # really not there.
  for try in 1 2 3; do
    apt_get update && break
    [ "$try" -lt 3 ] && sleep 20
    echo "setup: apt-get update failed (try $try of 3)" >&2
  done
  apt_get install --no-install-recommends "${missing[@]}"
fi

# The whole setup also installs the browser tests' puppeteer-core, now, so that the
# tests need no network. Their npm client comes with nodejs from other sources;
# Debian packs it apart.
if [ "$#" -eq 0 ]; then
  command -v npm >/dev/null || apt_get install --no-install-recommends npm
  bash "$here/../tests/web/npm_ci.sh"
fi
