#!/usr/bin/env bash
# Started where there is no display to connect to, Vostrel says so in one
# line and ends with status 1, reading and writing nothing; told to use a
# platform that needs no display (offscreen), it starts as usual.
# Usage: no_display.sh VOSTREL_BINARY
set -euo pipefail
binary=$1
work=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -m 700 "$work/home" "$work/config" "$work/runtime"
# Only what a login without a desktop has: no DISPLAY, no WAYLAND_DISPLAY.
session=(env -i PATH="$PATH" HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime")
bare() { "${session[@]}" "$@"; }

echo "== no display: one line, status 1"
status=0
bare "$binary" >"$work/out" 2>"$work/err" </dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status instead of 1 (134 is an abort with a core dump)"
[ ! -s "$work/out" ] || fail "printed on standard output: $(cat "$work/out")"
expected="$(basename "$binary") needs a graphical desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set."
[ "$(cat "$work/err")" = "$expected" ] || fail "said: $(cat "$work/err")"
left=$(find "$work/home" "$work/config" "$work/runtime" -mindepth 1)
[ -z "$left" ] || fail "left files behind: $left"

echo "== an X11 platform asked for without DISPLAY: the same, naming DISPLAY alone"
status=0
bare QT_QPA_PLATFORM=xcb "$binary" >"$work/out" 2>"$work/err" </dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status instead of 1"
[ "$(cat "$work/err")" = "$(basename "$binary") needs a graphical desktop session: DISPLAY is not set." ] ||
  fail "said: $(cat "$work/err")"

echo "== QT_QPA_PLATFORM=offscreen: no display needed, the program runs"
# Started without a function around it, so that $! is the program itself.
"${session[@]}" QT_QPA_PLATFORM=offscreen "$binary" >"$work/log" 2>&1 </dev/null &
pid=$!
# A running copy listens for later starts in the runtime folder.
for ((i = 0; i < 150; i++)); do
  compgen -G "$work/runtime/*.socket" >/dev/null && break
  kill -0 "$pid" 2>/dev/null || fail "ended at once: $(cat "$work/log")"
  sleep 0.1
done
compgen -G "$work/runtime/*.socket" >/dev/null || fail "did not start: $(cat "$work/log")"
! grep -q "graphical desktop session" "$work/log" || fail "refused a platform that needs no display"
echo "1 passed, 0 failed"
