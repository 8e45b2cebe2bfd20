#!/usr/bin/env bash
# End-to-end test of the tray icon with the real Vostrel binary on an X
# server with a real tray host: Xvfb, trayer and xdotool, with screenshots.
# Usage: tray_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

echo "== a future target: only the tray icon, with the time left as its tooltip"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
start_vostrel
import -window root "$shots/tray-icon.png"
hover_icon
import -window root "$shots/tray-tooltip.png"
first=$(tooltip_matching '^0:59:[0-9]+ HMS$') || fail "the tooltip reads '$(tooltip_text)', not the time left to +1:00"
# The tooltip has shown the time left: the window would have shown by now.
[ -z "$(dialog)" ] || fail "the window shows although the target lies ahead"
[ "$(icon_pixels yellow)" -eq 0 ] || fail "the tray shows an alarm frame"
[ "$(icon_pixels white)" -gt 20 ] || fail "the tray does not show the clock icon"

echo "== the open tooltip follows the time left, second by second"
tip=$(tooltip | awk '{ print $1 }')
wait_for_ticks tooltip_text 2 || fail "the open tooltip kept its text: $(tooltip_text)"
[ "$(tooltip | awk '{ print $1 }')" = "$tip" ] || fail "the tooltip closed or moved"
later=$(tooltip_matching '^0:5[0-9]:[0-9]+ HMS$') || fail "the tooltip reads '$(tooltip_text)' after two ticks"
gone=$(($(seconds_of <<<"$first") - $(seconds_of <<<"$later")))
[ "$gone" -ge 2 ] && [ "$gone" -le 10 ] || fail "from '$first' to '$later' in two ticks"

echo "== right click: the menu; Update Timer shows the window"
open_menu
import -window root "$shots/tray-menu.png"
click_menu 0
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
import -window root "$shots/dialog-counting.png"

echo "== OK hides the window; a double click shows it again"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
click_icon --repeat 2 --delay 80 1
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "a double click did not show the window"

echo "== Exit ends the program with status 0"
exit_from_menu

echo "== an expired target: the window shows and the tray icon animates"
rm -f "$XDG_CONFIG_HOME/Pelmark/"*.conf
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "the alarm did not show the window"
wait_for "[ \$(icon_pixels yellow) -gt 20 ]" 5 || fail "the tray icon does not animate"
import -window root "$shots/dialog-expired.png"

echo "== a later target: the alarm ends and the chosen icon is back"
click_dialog 83 32
xdotool key ctrl+a type '+2:00'
click_dialog 75 12 # unit S, so that each tick shows
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
wait_for "[ \$(icon_pixels yellow) -eq 0 ] && [ \$(icon_pixels white) -gt 20 ]" 5 || fail "the stopwatch did not come back"
hover_icon
wait_for_ticks tooltip_text 2 || fail "the tooltip does not count: $(tooltip_text)"
tooltip_matching '^71[0-9][0-9] Secs$' >/dev/null || fail "the tooltip reads '$(tooltip_text)' two hours ahead"
[ "$(icon_pixels yellow)" -eq 0 ] || fail "the alarm frames came back"
[ -z "$(dialog)" ] || fail "the window came back although the target lies ahead"

echo "== the tray host restarts: the icon comes back"
kill "$tray_pid"
wait_for "[ -z \"\$(icon_centre)\" ]" 5 || fail "trayer did not stop"
start_tray_host
wait_for "[ -n \"\$(icon_centre)\" ] && [ \$(icon_pixels white) -gt 20 ]" 10 || fail "the icon did not come back"
import -window root "$shots/tray-after-restart.png"

echo "== the tray host starts after the program: the icon shows once it does"
kill "$vostrel_pid"
wait "$vostrel_pid" || true
kill "$tray_pid"
wait_for "! xwininfo -root -tree | grep -q '\"panel\": (\"panel\" \"trayer\")'" 5 || fail "trayer did not end"
"$binary" >"$work/vostrel.log" 2>&1 &
vostrel_pid=$!
pids+=($vostrel_pid)
# Qt's selection owner is the program's first window on the X server.
wait_for "xwininfo -root -tree | grep -q 'Qt Selection Owner for $(basename "$binary")'" 10 ||
  fail "the program did not come up"
start_tray_host
wait_for "[ -n \"\$(icon_centre)\" ] && [ \$(icon_pixels white) -gt 20 ]" 10 || fail "no icon once trayer started"
[ "$(tray_icons | wc -l)" -eq 1 ] || fail "$(tray_icons | wc -l) icons in the tray"
import -window root "$shots/tray-late-host.png"

kill "$vostrel_pid"
echo "1 passed, 0 failed"
