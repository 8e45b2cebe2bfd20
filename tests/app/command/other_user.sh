#!/usr/bin/env bash
# Only the user who runs a copy of Vostrel can command it. As root, with
# the user nobody, each running a copy: told to use root's runtime folder,
# nobody's requests do not reach root's copy, which keeps running with its
# settings as they were; each user commands their own copy. (That a copy
# refuses a request from another user who does reach its socket is
# LocalChannel.RefusesAnotherUsersRequestUnread.)
# Usage: other_user.sh VOSTREL_BINARY
set -euo pipefail
binary=$1
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to act as a second user"; exit 77; }
id nobody >/dev/null 2>&1 || { echo "SKIP: no user nobody"; exit 77; }

work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wait_for() {
  local deadline=$((SECONDS + $2))
  until eval "$1" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# The binary and its modules where nobody can read them.
mkdir "$work/bin"
cp "$binary" "$(dirname "$binary")"/libvostrel_*.so "$work/bin/"
chmod -R a+rX "$work/bin"
program=$work/bin/$(basename "$binary")

# Each user's own session: home, settings and runtime folder (mode 0700).
session_of() {
  local user=$1
  mkdir -p "$work/$user/config/Pelmark" "$work/$user/runtime"
  printf '[Settings]\nEndDate=12/31/2098 12:00:00\nDisplayPeriod=0\n' >"$work/$user/config/Pelmark/Vostrel.conf"
  chown -R "$user" "$work/$user"
  chmod 700 "$work/$user/runtime"
}
as() {
  local user=$1
  shift
  setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
    env -i PATH="$PATH" HOME="$work/$user" XDG_CONFIG_HOME="$work/$user/config" \
    XDG_RUNTIME_DIR="$work/${session_user:-$user}/runtime" QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" "$@"
}
session_of root
session_of nobody

start_copy() {
  as "$1" "$program" >"$work/$1.log" 2>&1 &
  pids+=($!)
  eval "${1}_pid=$!"
  wait_for "compgen -G '$work/$1/runtime/*.socket'" 15 || fail "$1's copy did not start: $(cat "$work/$1.log")"
}
start_copy root
start_copy nobody
cp "$work/root/config/Pelmark/Vostrel.conf" "$work/root.before"
cp "$work/nobody/config/Pelmark/Vostrel.conf" "$work/nobody.before"

echo "== nobody cannot reach root's copy"
status=0
session_user=root as nobody "$program" --quit 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "nobody's --quit to root's copy ended with $status, not 1 (none reached)"
session_user=root as nobody "$program" --query --format json >"$work/query" 2>>"$work/err" || fail "--query failed"
grep -q '"end":"2098-12-31T12:00:00' "$work/query" || fail "query answered: $(cat "$work/query")"
sleep 1
kill -0 "$root_pid" || fail "root's copy ended"
cmp -s "$work/root.before" "$work/root/config/Pelmark/Vostrel.conf" || fail "root's settings changed"

sleep 1
kill -0 "$nobody_pid" || fail "nobody's copy ended"

echo "== each user commands their own copy"
as nobody "$program" --quit || fail "nobody could not end nobody's copy"
wait_for "! kill -0 $nobody_pid" 10 || fail "nobody's copy did not end"
as root "$program" --quit || fail "root could not end root's copy"
wait_for "! kill -0 $root_pid" 10 || fail "root's copy did not end"
echo "1 passed, 0 failed"
