#!/usr/bin/env bash
# Builds the fuzz preset and runs gravisk_fuzz_keys for a bounded time on a copy of
# fuzz/corpus/ (the repository stays untouched). Exits non-zero on any finding; the
# crashing input is kept and its path printed. Usage: scripts/fuzz.sh [seconds] [libFuzzer args]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true

bash "$root/scripts/configure.sh" fuzz >/dev/null
cmake --build "$root/build/fuzz" --target gravisk_fuzz_keys -j"$(nproc)"

work="$(mktemp -d "${TMPDIR:-/tmp}/gravisk-fuzz.XXXXXX")"
cp -r "$root/fuzz/corpus" "$work/corpus"
mkdir -p "$work/artifacts"

status=0
"$root/build/fuzz/fuzz/gravisk_fuzz_keys" "$work/corpus" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@" 2>&1 | tee "$work/fuzz.log" ||
  status=$?

findings=$(find "$work/artifacts" -type f | wc -l)
echo "fuzz: exit status $status, $findings finding(s), corpus $(ls "$work/corpus" | wc -l) inputs"
if [[ $status -ne 0 || $findings -ne 0 ]]; then
  echo "fuzz: FAILED; inputs and log kept in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "fuzz: no findings"
