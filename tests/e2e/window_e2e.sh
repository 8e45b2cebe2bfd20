#!/usr/bin/env bash
# End-to-end test of how the window comes back and how the alarm reaches
# the user, with a real window manager (openbox), a tray host, a session bus
# with a desktop notification server, and a clock that steps back.
# Usage: window_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR (NOTIFICATION_SERVER in
# the environment: the test notification server's binary)
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"
start_window_manager

{ read -r bus_address; read -r bus_pid; } < <(dbus-daemon --config-file="$(private_bus_config)" --fork \
  --print-address=1 --print-pid=1)
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS=$bus_address
"$NOTIFICATION_SERVER" >"$work/notifications.log" 2>&1 &
pids+=($!)
wait_for "grep -q ready '$work/notifications.log'" 10 || fail "the notification server did not start"

dialog_id() { dialog | awk '{ print $1 }'; }
# What the window manager and the program's windows looked like at a failure.
fail_details() {
  import -window root "$shots/window-failure.png"
  local id
  for id in $(xdotool search --class "^$window_class\$" 2>/dev/null); do
    echo "window $id: $(xwininfo -id "$id" | grep -E 'Map State|geometry' | tr -s ' ' | tr '\n' ' ')" \
      "$(xprop -id "$id" WM_STATE _NET_WM_STATE 2>/dev/null | tr -s ' \t' ' ' | tr '\n' ' ')"
  done
  echo "at $(date '+%H:%M:%S.%N'), target ${target:-none}; program: $(ps -o stat=,etime=,time= -p "${vostrel_pid:-0}")"
  tail -n 20 "$work/vostrel.log"
  echo "notifications: $(tr '\n' '|' <"$work/notifications.log")"
}
minimise() {
  local id
  id=$(dialog_id)
  [ -n "$id" ] || fail "no window to minimise"
  xdotool windowminimize "$id"
  wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "the window manager did not minimise the window"
}
# The window is back and in front within $2 seconds (5 if not given).
shown_in_front() {
  wait_for "[ -n \"\$(dialog)\" ]" "${2:-5}" || fail "$1 did not bring the window back"
  wait_for "[ \"\$(xdotool getactivewindow)\" = \"\$(dialog_id)\" ]" 5 || fail "$1 did not bring the window to the front"
}
in_a_moment() { date -d "+$1 sec" '+%m/%d/%Y %H:%M:%S'; }
notifications() { grep -c '^notify ' "$work/notifications.log" || true; }
echo "== a minimised window comes back with Update Timer and with a double click"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
start_vostrel
open_menu
click_menu 0
shown_in_front "Update Timer"
minimise
open_menu
click_menu 0
shown_in_front "Update Timer after minimising"
import -window root "$shots/restored-update-timer.png"
minimise
click_icon --repeat 2 --delay 80 1
shown_in_front "a double click after minimising"

echo "== a second start shows the running copy's window and ends"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
"$binary" >"$work/second.log" 2>&1 && second=0 || second=$?
[ "$second" -eq 0 ] || fail "the second start ended with status $second"
shown_in_front "a second start"
[ "$(pgrep -c -P $$ -f "$binary")" -eq 1 ] || fail "two copies run"
[ "$(tray_icons | wc -l)" -eq 1 ] || fail "$(tray_icons | wc -l) icons in the tray"
import -window root "$shots/second-start.png"

echo "== at expiry: the alarm brings the minimised window back, and the desktop is told once"
target=$(in_a_moment 8)
enter_target "$target"
minimise
# The alarm comes at the first tick after the target's second, up to nine
# seconds from now: a loaded machine gets a few more.
shown_in_front "the alarm" 20
import -window root "$shots/restored-by-alarm.png"
wait_for "[ \$(notifications) -ge 1 ]" 5 || fail "no notification at expiry"
# The alarm goes on every second; the notification does not.
wait_for_ticks display_text 3 || fail "the alarm's window does not count: $(display_text)"
[ "$(notifications)" -eq 1 ] || { cat "$work/notifications.log" >&2; fail "$(notifications) notifications for one expiry"; }
line=$(grep '^notify ' "$work/notifications.log")
expected="app=$(basename "$binary") icon=io.pelmark.Vostrel urgency=2 entry=io.pelmark.Vostrel actions=default,Show summary=Time is up body=The countdown to $target has ended."
[ "${line#notify * }" = "$expected" ] || fail "notified: $line"
id=$(awk '{ print $2 }' <<<"$line")
dbus-send --session --print-reply --dest=org.freedesktop.Notifications /org/freedesktop/Notifications \
  org.freedesktop.Notifications.InvokeAction "uint32:$id" string:default >/dev/null
wait_for "grep -q '^close $id\$' '$work/notifications.log'" 5 || fail "the notification's action did not reach the window"
shown_in_front "the notification's action"
# Taken off the screen behind the program's back, as when the window
# manager and the toolkit lose track of each other over an iconified window:
# the toolkit still believes the window shown, and the alarm shows it afresh.
read -r _ before_x before_y _ < <(dialog)
xdotool windowunmap "$(dialog_id)"
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "the window stayed on the screen"
shown_in_front "the alarm, once the window was taken off the screen," 15
read -r _ x y _ < <(dialog)
[ "$x,$y" = "$before_x,$before_y" ] || fail "the window came back at $x,$y, not where it was ($before_x,$before_y)"
import -window root "$shots/shown-afresh-by-alarm.png"

echo "== Help fits an 800 x 600 screen, and the tray answers while it is open"
before=$(windows | wc -l)
open_menu
read -r _ mx my mw mh < <(menu)
xdotool mousemove $((mx + mw / 2)) $((my + 12 + 2 * (mh - 24) / 5)) click 1
wait_for "[ \$(windows | wc -l) -gt $before ]" 5 || fail "Help showed nothing"
read -r help_id hx hy hw hh < <(windows | awk '$4 > 400 && $5 > 300')
[ -n "$help_id" ] || fail "no Help box"
[ $((hy + hh)) -le 600 ] && [ $((hx + hw)) -le 800 ] && [ "$hx" -ge 0 ] && [ "$hy" -ge 0 ] ||
  fail "the Help box runs off the screen: $hw x $hh at $hx,$hy"
import -window root "$shots/help-800x600.png"
open_menu
import -window root "$shots/menu-over-help.png"
xdotool key Escape
wait_for "[ -z \"\$(menu)\" ]" 5 || fail "the menu stayed open"
xdotool windowactivate --sync "$help_id" key Return
wait_for "! xwininfo -id $help_id 2>/dev/null | grep -q IsViewable" 5 || fail "Enter did not close Help"
exit_from_menu

echo "== a long time left in hours, minutes and seconds is drawn whole"
printf '[Settings]\nEndDate=01/01/2001\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "the alarm did not show the window"
wait_for "display_matches '^-2[0-9]{5}:-?[0-9]+:-?[0-9]+ HMS$'" 30 ||
  { import -window root "$shots/long-hms.png"; fail "the display reads '$(display_text)', not the whole time left"; }
import -window root "$shots/dialog-long-hms.png"
exit_from_menu

echo "== the clock steps back past the end: the chosen picture comes back at once"
echo "+0" >"$work/clock-offset"
printf '[Settings]\nEndDate=%s\nDisplayPeriod=3\nWhichIcon=4\nVacationDays=0\n' "$(in_a_moment 3)" >"$(settings_file)"
start_vostrel env LD_PRELOAD="$(find /usr/lib -name libfaketime.so.1 | head -n1)" \
  FAKETIME_TIMESTAMP_FILE="$work/clock-offset" FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
wait_for "[ \$(icon_pixels yellow) -gt 20 ]" 10 || fail "the alarm did not animate the icon"
echo "-3600" >"$work/clock-offset"
back() { [ "$(icon_pixels yellow)" -eq 0 ] && [ "$(icon_pixels white)" -gt 20 ]; }
wait_for back 2 || fail "the alarm frames outlived the alarm"
wait_for_ticks display_text 2 || fail "the window does not count: $(display_text)"
back || fail "the alarm frames came back"
import -window root "$shots/clock-stepped-back.png"
exit_from_menu
echo "1 passed, 0 failed"
