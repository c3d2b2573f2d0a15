#!/bin/bash
# Installs the browser tests' npm packages (puppeteer-core, and axe-core, which checks
# the page's accessibility) exactly as package-lock.json pins them into
# tests/web/node_modules (git-ignored), where the tests find them. The setup
# runs it, never a test: the tests need no network. Nothing is fetched again while
# the lockfile is the same, no browser is downloaded (the tests use Debian's
# Chromium), and npm's cache and logs go to build/npm-cache, not the home.
# usage: npm_ci.sh [--check]   (--check: only say whether node_modules is current)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
stamp="$here/node_modules/.installed-package-lock.json"
if cmp -s "$here/package-lock.json" "$stamp" &&
  [[ -f $here/node_modules/puppeteer-core/package.json ]] &&
  [[ -f $here/node_modules/axe-core/axe.min.js ]]; then
  echo "npm packages up to date in $here/node_modules"
  exit 0
fi
if [[ ${1:-} == --check ]]; then
  echo "$here/node_modules is not what package-lock.json pins: run bash $here/npm_ci.sh" >&2
  exit 1
fi
cd "$here"
export npm_config_cache="$here/../../build/npm-cache" npm_config_update_notifier=false
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --ignore-scripts
cp package-lock.json "$stamp"
