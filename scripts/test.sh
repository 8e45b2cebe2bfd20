#!/usr/bin/env bash
# Installs what is needed, builds Vostrel with warnings as errors and runs
# every test. With --sanitize the build uses AddressSanitizer and
# UndefinedBehaviorSanitizer and stops at the first report.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
options=(-DVOSTREL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  options=(-DVOSTREL_WERROR=ON -DVOSTREL_SANITIZE=ON -DVOSTREL_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
  export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
fi

bash scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja "${options[@]}"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$(nproc)"
