#!/usr/bin/env bash
# The mutation check: puts each deliberate fault listed in tests/mutants.txt
# into a scratch copy of the tree, one at a time, rebuilds it incrementally
# and runs the tests against it, the tests of the fault's own subsystem
# first. Prints one line per fault (caught, and by which test, or survived)
# and a total; exits non-zero when any fault survives or no longer applies.
# Usage: scripts/mutants.sh [PATTERN]   (only the faults whose line matches)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
pattern=${1:-}
scratch=${MUTANTS_DIR:-$root/build-mutants}
tree=$scratch/tree
build=$scratch/build
log=$scratch/log
mkdir -p "$scratch"

# The scratch tree: this commit, plus whatever the working tree changes in it.
if [ ! -d "$tree/.git" ] && [ ! -f "$tree/.git" ]; then
  git worktree prune
  git worktree add --detach --force "$tree" HEAD >/dev/null
fi
git -C "$tree" checkout --detach --force -q "$(git rev-parse HEAD)"
git diff HEAD --binary | git -C "$tree" apply --allow-empty 2>/dev/null || true
git ls-files --others --exclude-standard -z | xargs -0 -r -I{} cp --parents {} "$tree/"

cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O0 -g0" \
  -DVOSTREL_BENCH=OFF >"$log" 2>&1
cmake --build "$build" >>"$log" 2>&1 || { tail -n 30 "$log"; echo "the scratch tree does not build" >&2; exit 1; }

# The test executables that look at a subsystem's code, most telling first.
first_tests() {
  case "$1" in
    engine/*) echo "tests/engine/engine_tests" ;;
    settings/*) echo "tests/settings/settings_tests" ;;
    tray/*) echo "tests/tray/tray_tests tests/ui/ui_tests" ;;
    ui/*) echo "tests/ui/ui_tests" ;;
    app/framework/*) echo "tests/app/framework/framework_tests tests/ui/ui_tests" ;;
    app/sound/*) echo "tests/app/sound/sound_tests" ;;
    app/desktop/*) echo "tests/app/desktop/desktop_tests tests/ui/ui_tests" ;;
    app/command/*) echo "tests/app/command/command_tests" ;;
    app/*) echo "tests/ui/ui_tests" ;;
    resources/*) echo "tests/resources/resources_tests tests/tray/tray_tests tests/ui/ui_tests" ;;
  esac
}

# The end-to-end scenario that alone looks at a file's work, run before the
# whole suite: what only a real clock, sound server, tray host or pointer
# shows.
first_scenario() {
  case "$1" in
    app/sound/*) echo '^e2e\.audio$' ;;
    tray/xembed/* | app/framework/DialogUnits.cpp) echo '^e2e\.tray$' ;;
    engine/SystemClock.cpp) echo '^e2e\.window$' ;;
    app/framework/WindowPlatform.cpp) echo '^e2e\.(swaybar|window)$' ;;
    app/CountdownApp.cpp) echo '^e2e\.command$' ;;
  esac
}

# The first failing test of a GoogleTest run's output, and of a CTest run's.
first_failure() { sed -n 's/^\[  FAILED  \] \([^ ]*\).*/\1/p' | head -n 1; }
first_ctest_failure() { sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' | head -n 1; }

caught=0
survived=0
stale=0
while IFS= read -r line <&3; do
  case "$line" in "" | "#"*) continue ;; esac
  # cut, unlike read, keeps empty fields (a replacement by nothing).
  file=$(cut -f1 <<<"$line")
  text=$(cut -f2 <<<"$line")
  replacement=$(cut -f3 <<<"$line")
  effect=$(cut -f4 <<<"$line")
  [ -z "$pattern" ] || grep -q -- "$pattern" <<<"$file$text$replacement$effect" || continue
  target=$tree/$file
  [ -f "$target" ] && cp "$target" "$scratch/original"
  if [ ! -f "$target" ] || ! MUT_TEXT=$text MUT_NEW=$replacement python3 - "$target" <<'PY'; then
import os, re, sys
path = sys.argv[1]
unescape = lambda s: re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), s)
text, new = unescape(os.environ["MUT_TEXT"]), unescape(os.environ["MUT_NEW"])
source = open(path, encoding="utf-8").read()
if source.count(text) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(source.replace(text, new))
PY
    echo "STALE     $file: $text (not found exactly once)"
    stale=$((stale + 1))
    continue
  fi
  verdict=""
  first=$(first_tests "$file")
  if ! cmake --build "$build" --target $(for exe in $first; do basename "$exe"; done) >"$log" 2>&1; then
    verdict="broken"
  fi
  if [ -z "$verdict" ]; then
    for exe in $first; do
      if ! (cd "$build" && timeout 120 "./$exe" --gtest_brief=1 >"$log" 2>&1); then
        verdict="caught by $(first_failure <"$log")"
        [ "$verdict" = "caught by " ] && verdict="caught by $(basename "$exe") (crash or hang)"
        break
      fi
    done
  fi
  if [ -z "$verdict" ]; then
    scenario=$(first_scenario "$file")
    if ! cmake --build "$build" >"$log" 2>&1; then
      verdict="broken"
    elif [ -n "$scenario" ] && ! ctest --test-dir "$build" -R "$scenario" --timeout 180 >"$log" 2>&1; then
      verdict="caught by $(first_ctest_failure <"$log")"
    elif ! ctest --test-dir "$build" --timeout 180 -j "$(nproc)" >"$log" 2>&1; then
      verdict="caught by $(first_ctest_failure <"$log")"
    fi
  fi
  cp "$scratch/original" "$target"
  if [ "$verdict" = broken ]; then
    # A fault that does not build tests nothing: it must be written again.
    echo "BROKEN    $file: $text -> $replacement (does not build)"
    stale=$((stale + 1))
  elif [ -n "$verdict" ]; then
    echo "caught    $file: $effect ($verdict)"
    caught=$((caught + 1))
  else
    echo "SURVIVED  $file: $text -> $replacement ($effect)"
    survived=$((survived + 1))
  fi
done 3<tests/mutants.txt

echo "$((caught + survived + stale)) faults: $caught caught, $survived survived, $stale stale or broken"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ]
