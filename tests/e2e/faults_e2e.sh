#!/usr/bin/env bash
# End-to-end test of the faults a desktop throws at Vostrel: no tray host at
# start, a tray host that restarts, and settings that cannot be written.
# Usage: faults_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

echo "== no tray host at start: the alarm still shows the window, the icon comes with the host"
kill "$tray_pid"
wait_for "[ -z \"\$(icon_centre)\" ] && ! xwininfo -root -tree | grep -c '\"panel\"'" 5 || fail "trayer did not stop"
# The settings cannot be written: their folder is a plain file.
rm -rf "$XDG_CONFIG_HOME/Pelmark" && touch "$XDG_CONFIG_HOME/Pelmark"
"$binary" >"$work/vostrel.log" 2>&1 &
vostrel_pid=$!
pids+=($vostrel_pid)
wait_for "[ -n \"\$(dialog)\" ]" 8 || fail "the alarm did not show the window without a tray host"
start_tray_host
wait_for "[ -n \"\$(icon_centre)\" ]" 20 || fail "the icon did not appear with the tray host"

echo "== OK with unwritable settings: the program runs on"
click_dialog 83 32
xdotool key ctrl+a type '+1:00'
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
kill -0 "$vostrel_pid" || fail "the program ended"

echo "== the tray host restarts: the icon comes back with its picture and tooltip"
kill "$tray_pid"
wait_for "[ -z \"\$(icon_centre)\" ]" 5 || fail "trayer did not stop"
start_tray_host
wait_for "[ -n \"\$(icon_centre)\" ] && [ \$(icon_pixels white) -gt 20 ] && [ \$(icon_pixels yellow) -eq 0 ]" 20 ||
  fail "the icon did not come back with its picture"
hover_icon
tooltip_matching '^0 Days$' >/dev/null || fail "after the restart the tooltip reads '$(tooltip_text)'"
import -window root "$shots/tray-restarted-tooltip.png"
kill -0 "$vostrel_pid" || fail "the program ended"
kill "$vostrel_pid"
echo "1 passed, 0 failed"
