#!/usr/bin/env bash
# Sets up a Debian machine for the browser version, builds gravisk.html (one
# self-contained page), prints where it is and opens it in the desktop's browser.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup-debian.sh web
bash scripts/configure.sh web >/dev/null
cmake --build --preset web --target gravisk_page -j "$(nproc)"
page="$root/build/web/gravisk.html"
echo "$page"
if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
  for opener in xdg-open sensible-browser; do
    if command -v "$opener" >/dev/null; then
      exec "$opener" "$page"
    fi
  done
fi
echo "Open it in a browser (file://$page); it needs no server and no network."
