#!/usr/bin/env bash
# End-to-end test of Start at Login with the real binary on an X server with
# a tray host: checking the entry in the window's background menu writes an
# XDG autostart entry that is valid and starts this same program, and
# unchecking it removes the entry.
# Usage: login_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

entry="$XDG_CONFIG_HOME/autostart/$(basename "$binary").desktop"

# The window's background menu: a small window beside the countdown window.
background_menu() { windows | awk '$4 < 300 && $5 > 30 && $5 < 120'; }

# Right-clicks the window's background below its controls, then chooses
# the last entry of the menu, Start at Login. A menu that vanished before
# the click is asked for again.
choose_start_at_login() {
  local attempt id x y w h
  for attempt in 1 2 3; do
    read -r id x y w h < <(dialog) || fail "the window is not shown"
    xdotool mousemove $((x + 84 * w / 169)) $((y + 101 * h / 103)) click 3
    wait_for "[ -n \"\$(background_menu)\" ]" 3 || continue
    import -window root "$shots/login-menu-$1.png"
    read -r id x y w h < <(background_menu) || continue
    xdotool mousemove $((x + w / 2)) $((y + h - 12)) click 1
    wait_for "[ -z \"\$(background_menu)\" ]" 3 && return 0
  done
  fail "no background menu on a right click"
}

# The Exec line's program, with the quotes and escapes of a desktop entry
# taken off.
exec_program() {
  sed -n 's/^Exec=//p' "$entry" | python3 -c '
import shlex, sys
line = sys.stdin.read().strip().replace("\\\\", "\\").replace("%%", "%")
print(shlex.split(line)[0])'
}

echo "== the window's background menu: Start at Login writes the autostart entry"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
start_vostrel
open_menu
click_menu 0
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
[ ! -e "$entry" ] || fail "an autostart entry before any was asked for"
choose_start_at_login on
wait_for "[ -s '$entry' ]" 5 || fail "no autostart entry at $entry"
desktop-file-validate "$entry" || fail "the autostart entry is not a valid desktop entry"
grep -qx 'Type=Application' "$entry" || fail "the entry is not an application's: $(cat "$entry")"
program=$(exec_program)
[ "${program:0:1}" = / ] || fail "Exec does not name the program by an absolute path: $program"
[ "$program" -ef "$binary" ] || fail "Exec starts $program, not $binary"

echo "== the entry's Exec starts this program: a second start shows the running copy's window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
status=0
"$program" >"$work/second.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "the entry's program ended with status $status: $(cat "$work/second.log")"
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "the entry's program did not show the running copy's window"

echo "== unchecked, the entry goes"
choose_start_at_login off
wait_for "[ ! -e '$entry' ]" 5 || fail "the autostart entry stayed after unchecking"
left=$(find "$XDG_CONFIG_HOME/autostart" -mindepth 1)
[ -z "$left" ] || fail "left in the autostart folder: $left"
kill -0 "$vostrel_pid" || fail "the program ended"
exit_from_menu
echo "1 passed, 0 failed"
