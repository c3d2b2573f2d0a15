#!/usr/bin/env bash
# Prints the browser figures of gravisk.html and the web app beside it
# (scripts/measure-web.js in Debian's headless Chromium). Builds nothing unless the
# page is missing; the npm packages come from tests/web/package-lock.json into the
# page's build folder.
# usage: scripts/measure-web.sh [path/to/gravisk.html]   (RUNS, IDLE, KEYS, RELOADS)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
page="${1:-$root/build/web/gravisk.html}"
if [[ ! -f $page ]]; then
  echo "measure-web: $page missing, building the web preset" >&2
  bash "$root/scripts/configure.sh" web >/dev/null
  cmake --build --preset web --target gravisk_page gravisk_webapp -j"$(nproc)" >/dev/null
  page="$root/build/web/gravisk.html"
fi
npm_dir="$(dirname "$page")/npm"
bash "$root/tests/web/npm_ci.sh" "$root/tests/web" "$npm_dir" >&2
NODE_PATH="$npm_dir/node_modules" node "$root/scripts/measure-web.js" "$page"
