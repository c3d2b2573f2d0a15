#!/usr/bin/env bash
# Sets up a Debian machine for the Linux game, builds it and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup-debian.sh core sdl2 pad
bash scripts/configure.sh default >/dev/null
cmake --build --preset default --target gravisk -j "$(nproc)"
exec build/default/src/sdl2/gravisk
