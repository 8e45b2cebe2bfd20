#!/usr/bin/env bash
# Runs every end-to-end scenario ROUNDS times in a row beside a busy loop
# that keeps one core at work, as on a loaded machine, and prints each
# scenario's passes and failures (after scripts/test.sh, or with --sanitize
# after scripts/test.sh --sanitize). Stops early, after the round under
# way, once MINUTES have passed.
# Usage: scripts/e2e-stress.sh [--sanitize] [ROUNDS [MINUTES]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  shift
fi
rounds=${1:-20}
deadline=$((SECONDS + ${2:-600} * 60))
log=$build/e2e-stress
mkdir -p "$log"

while :; do :; done &
busy=$!
trap 'kill "$busy" 2>/dev/null' EXIT

declare -A passed failed
round=0
while [ "$round" -lt "$rounds" ] && [ "$SECONDS" -lt "$deadline" ]; do
  round=$((round + 1))
  ctest --test-dir "$build" -R '^e2e\.' -j "$(nproc)" --timeout 300 --output-on-failure >"$log/round-$round.log" 2>&1 || true
  while read -r name verdict; do
    if [ "$verdict" = Passed ]; then
      passed[$name]=$((${passed[$name]:-0} + 1))
    else
      failed[$name]=$((${failed[$name]:-0} + 1))
      echo "round $round: $name $verdict (see $log/round-$round.log)"
    fi
  done < <(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \(e2e\.[^ ]*\) [ .*]*\([A-Za-z]*\).*/\1 \2/p' "$log/round-$round.log")
done

echo "$round rounds beside a busy loop ($build):"
for name in $(printf '%s\n' "${!passed[@]}" "${!failed[@]}" | sort -u); do
  printf '  %-20s %3d passed %3d failed\n' "$name" "${passed[$name]:-0}" "${failed[$name]:-0}"
done
