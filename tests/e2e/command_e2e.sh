#!/usr/bin/env bash
# End-to-end test of the command line with the real binary on an X server
# with a tray host: the time left for scripts with and without a running
# copy, a new target and unit handed to the running copy (tooltip, window,
# saved file, the alarm when it comes), --follow, --quit, bad input, which
# changes nothing, and a copy running in a Turkish locale.
# Usage: command_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
file=$(settings_file)
json() { python3 -c 'import json, sys; print(json.loads(sys.stdin.readline())[sys.argv[1]])' "$1"; }
last_line() { tail -n 1 "$work/follow.log"; }
fail_details() { echo "-- follow:"; tail -n 5 "$work/follow.log" 2>/dev/null; }

echo "== --query with nothing running and no settings file: the first start's figure"
expected=$(python3 -c 'import datetime as t
left = t.datetime(2001, 1, 1) - t.datetime.now().replace(microsecond=0)
print("%.0f Days" % (left.total_seconds() / 86400))')
[ "$("$binary" --query)" = "$expected" ] || fail "--query printed '$("$binary" --query)', not '$expected'"
line=$("$binary" --query --format json)
[ "$(json class <<<"$line")" = expired ] && [ "$(json alt <<<"$line")" = D ] &&
  [ "$(json text <<<"$line")" = "$expected" ] && [[ "$(json end <<<"$line")" == 2001-01-01T00:00:00* ]] &&
  [ "$(json seconds <<<"$line")" -lt -800000000 ] || fail "--query --format json printed $line"
[ ! -e "$file" ] || fail "--query wrote a settings file"

echo "== --query with a corrupt settings file: an answer, and the file as it was"
printf '\xff\xfe\x00[Settings\nEndDate=\x01\x02\n=\n[Settings]\nDisplayPeriod=x\n' >"$file"
cp "$file" "$work/corrupt"
"$binary" --query >"$work/out" || fail "--query failed on a corrupt file"
[ "$(wc -l <"$work/out")" -eq 1 ] || fail "--query printed: $(cat "$work/out")"
cmp -s "$file" "$work/corrupt" || fail "--query changed the corrupt file"

echo "== with a copy running, --query prints its tooltip's text"
printf '[Settings]\nEndDate=12/31/2098 12:00:00\nDisplayPeriod=0\n' >"$file"
start_vostrel
hover_icon
tooltip_matching "^$("$binary" --query)\$" >/dev/null || fail "the tooltip reads '$(tooltip_text)', --query '$("$binary" --query)'"
# Mapped while the program runs: the command line's own process loads no
# graphical library.
"$binary" --follow >"$work/follow-text.log" 2>"$work/follow.err" &
follow_pid=$!
pids+=($follow_pid)
wait_for "[ -s '$work/follow-text.log' ]" 10 || fail "--follow printed nothing"
maps=$(grep -o '/[^ ]*\.so[^ ]*' "/proc/$follow_pid/maps" | sort -u)
! grep -E 'libQt6(Gui|Widgets|DBus|Multimedia)|libvostrel_window|libX11|libxcb' <<<"$maps" ||
  fail "--follow mapped graphical libraries"
grep -q libQt6Core <<<"$maps" || fail "the maps of --follow were not read"
LD_DEBUG=files "$binary" --query 2>"$work/ld.log" >/dev/null
grep -q 'file=libQt6Core' "$work/ld.log" && ! grep -E 'file=libQt6(Gui|Widgets)|libvostrel_window' "$work/ld.log" ||
  fail "--query loaded graphical libraries"
kill "$follow_pid"
wait "$follow_pid" 2>/dev/null || true

echo "== --set +0:02 --unit HMS: the running copy takes them as if typed and confirmed"
"$binary" --follow --format json >"$work/follow.log" 2>"$work/follow.err" &
follow_pid=$!
pids+=($follow_pid)
wait_for "[ -s '$work/follow.log' ]" 10 || fail "--follow --format json printed nothing"
[ "$(last_line | json alt)" = D ] || fail "--follow began with $(last_line)"
before=$(date +%s)
"$binary" --set +0:02 --unit HMS || fail "--set ended with $?"
after=$(date +%s)
wait_for "grep -qx 'DisplayPeriod=4' '$file'" 5 || fail "the unit was not saved: $(cat "$file")"
end_text=$(sed -n 's/^EndDate=//p' "$file")
end=$(date -d "$end_text" +%s) || fail "the saved target '$end_text' is no moment"
[ "$end" -ge $((before + 120)) ] && [ "$end" -le $((after + 120)) ] ||
  fail "the saved end $end_text is not two minutes after --set"
[[ "$("$binary" --query)" =~ ^0:(1:[0-9]+|2:0)\ HMS$ ]] || fail "--query printed $("$binary" --query)"
wait_for "[ \"\$(last_line | json alt)\" = HMS ]" 5 || fail "--follow did not follow: $(last_line)"
[ "$(last_line | json end)" = "$(date -d "$end_text" +%Y-%m-%dT%H:%M:%S)$(date -d "$end_text" +%:z | sed 's/^+00:00$/Z/')" ] ||
  fail "--follow names the end $(last_line | json end), not $end_text"
hover_icon
tooltip_matching '^0:[12]:[0-9]+ HMS$' >/dev/null || fail "the tooltip reads '$(tooltip_text)'"
"$binary" --show || fail "--show ended with $?"
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "--show did not show the window"
wait_for "[ \"\$(target_text)\" = '$end_text' ]" 5 || fail "the target box reads '$(target_text)', not '$end_text'"
import -window root "$shots/command-set.png"
# The unit alone, confirmed as OK confirms it: the window hides again.
"$binary" --unit hms || fail "--unit ended with $?"
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "--unit did not confirm as OK does"

echo "== bad input: one line on stderr, status 2, nothing changed"
cp "$file" "$work/saved.conf"
long=$(head -c 100000 /dev/zero | tr '\0' 7)
bad() {
  local status=0
  "$binary" "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "'${*:0:3}' ended with $status"
  [ "$(wc -l <"$work/err")" -eq 1 ] && grep -q "^$(basename "$binary"): " "$work/err" && [ ! -s "$work/out" ] ||
    fail "'${*:0:3}' said: $(head -c 300 "$work/err")"
}
bad --frobnicate
bad --set
bad --set ''
bad --set tomorrow
bad --set "$long"
bad --unit weeks
bad ''
bad "$long"
bad --query --format xml
bad --quit --set +1:00
cmp -s "$file" "$work/saved.conf" || fail "bad input changed the settings file"
kill -0 "$vostrel_pid" || fail "bad input ended the running copy"
first=$("$binary" --query | seconds_of)
wait_for "[ \$(\"$binary\" --query | seconds_of) -lt $first ]" 5 || fail "the copy no longer counts"
[ -z "$(dialog)" ] || fail "bad input showed the window"

echo "== the alarm two minutes after --set"
wait_for "[ \$(date +%s) -ge $((end - 2)) ]" 150 || fail "the end did not come"
[ -z "$(dialog)" ] || fail "the window showed before the end"
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "no alarm at the end"
shown=$(date +%s)
[ "$shown" -ge "$end" ] || fail "the alarm came at $shown, before the end $end"
import -window root "$shots/command-alarm.png"
wait_for "[ \"\$(last_line | json class)\" = expired ]" 5 || fail "--follow did not turn expired: $(last_line)"
[ "$("$binary" --query --format json | json class)" = expired ] || fail "--query did not say expired"

echo "== --follow ends with its reader, and quietly on SIGTERM"
timeout 15 bash -c '"$0" --follow | head -n 2 >/dev/null' "$binary" || fail "--follow outlived its reader"
kill -TERM "$follow_pid"
wait "$follow_pid" 2>/dev/null || true
[ ! -s "$work/follow.err" ] || fail "--follow said: $(cat "$work/follow.err")"

echo "== --quit ends the copy as Exit does; with none running, status 1"
"$binary" --quit || fail "--quit ended with $?"
wait_for "! kill -0 $vostrel_pid" 10 || fail "--quit did not end the copy"
wait "$vostrel_pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "the copy ended with status $status"
status=0
"$binary" --quit 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && [ "$(cat "$work/err")" = "$(basename "$binary"): no copy is running." ] ||
  fail "--quit with none running: status $status, said $(cat "$work/err")"
echo "== in a Turkish locale the running copy reads a month in capitals as any other copy does"
# There the C library's small letter of I is the dotless one.
if locale -a | grep -qix tr_tr.utf8; then
  printf '[Settings]\nEndDate=APRIL 5, 2098\nDisplayPeriod=0\n' >"$file"
  expected=$("$binary" --query)
  [[ "$expected" =~ ^\ *2[0-9]{4}\ Days$ ]] || fail "--query read APRIL 5, 2098 as '$expected'"
  start_vostrel env LC_ALL=tr_TR.UTF-8
  [ "$("$binary" --query)" = "$expected" ] || fail "the copy in Turkish counts '$("$binary" --query)', not '$expected'"
  hover_icon
  tooltip_matching "^$expected\$" >/dev/null || fail "the tooltip in Turkish reads '$(tooltip_text)'"
  "$binary" --quit || fail "--quit ended with $?"
  wait_for "! kill -0 $vostrel_pid" 10 || fail "--quit did not end the Turkish copy"
else
  echo "(not checked: the tr_TR.UTF-8 locale is not installed)"
fi
echo "1 passed, 0 failed"
