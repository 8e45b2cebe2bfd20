#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for the given number of seconds
# (default 60), starting from the saved inputs in tests/fuzz/inputs.
# An input that fails is left in build-fuzz/findings/; add it to the saved
# inputs so every later test run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVOSTREL_FUZZ=ON -DVOSTREL_WERROR=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz --target ReadTextFuzzer CountdownChainFuzzer

export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in ReadText CountdownChain; do
  corpus=$(mktemp -d)
  findings=build-fuzz/findings/$target
  mkdir -p "$findings"
  echo "== fuzzing $target for ${seconds}s"
  build-fuzz/tests/fuzz/${target}Fuzzer -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "tests/fuzz/inputs/$target"
  rm -rf "$corpus"
done
