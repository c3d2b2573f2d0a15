#!/bin/bash
# Installs the browser tests' npm packages exactly as package-lock.json pins them
# into a build folder, once: nothing is fetched again while the lockfile is the
# same, and no browser is ever downloaded (the tests use Debian's Chromium).
# usage: npm_ci.sh TESTS_DIR NPM_DIR
set -euo pipefail
here=$1 npm_dir=$2
if cmp -s "$here/package-lock.json" "$npm_dir/package-lock.json" &&
  [[ -f $npm_dir/node_modules/puppeteer-core/package.json ]]; then
  echo "npm packages up to date in $npm_dir"
  exit 0
fi
mkdir -p "$npm_dir"
cp "$here/package.json" "$here/package-lock.json" "$npm_dir/"
cd "$npm_dir"
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefer-offline --no-audit --no-fund --ignore-scripts
