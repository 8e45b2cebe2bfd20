#!/usr/bin/env bash
# End-to-end test on Wayland with sway's own bar, swaybar: a tray host that
# never reads the exported menu and asks the program for its own
# (ContextMenu) on a right click. The menu comes over the program's window
# and each entry works; the alarm's pictures are drawn as sent, a smile and
# a frown in turn and never noise, with one status change as it starts;
# Exit in the middle of an alarm closes the desktop notification it sent.
# Usage: swaybar_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR (VIRTUAL_POINTER and
# NOTIFICATION_SERVER in the environment)
set -euo pipefail
binary=$(realpath "$1")
shots=$2
[ -x "${NOTIFICATION_SERVER:-}" ] || { echo "SKIP: the notification_server helper was not built"; exit 77; }
source "$(dirname "$0")/sway.sh"

# A bar along the top whose tray draws icons at 24 pixels, a size the
# program sends: no scaling blurs the colours.
bar_height=30
fail_details() {
  grim "$shots/swaybar-failure.png" 2>/dev/null
  menu_details swaybar
  echo "-- sway:"; tail -n 20 "$work/sway.log"
  echo "-- items: $(sni_items | paste -sd ' ')"
  echo "-- windows: $(windows | paste -sd ' ')"
}
start_sway "bar {
  position top
  height $bar_height
  tray_output *
  tray_padding 3
  colors {
    background #808080
  }
}"
"$NOTIFICATION_SERVER" >"$work/notifications.log" 2>&1 &
pids+=($!)
wait_for "grep -q ready '$work/notifications.log'" 10 || fail "the notification server did not start"

start_counting() {
  printf '[Settings]\nEndDate=%s\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' "$1" >"$(settings_file)"
  start_vostrel
  wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 20 || fail "the program's item did not reach the bar"
}

# The program's own menu, as "width height x y": a window of its own while
# the program has had no input yet, else a popup hanging from the window.
program_menu_box() {
  local box
  box=$(windows | awk -F'|' '$5 < 300 && $6 < 200 { print $5, $6, $3, $4; exit }')
  [ -n "$box" ] && echo "$box" || popup_box
}
open_program_menu() {
  local attempt
  for attempt in 1 2 3; do
    # Where the icon was found: during the alarm it shows no clock face.
    click "$icon_x" "$icon_y" button3
    pointer_away
    wait_for "[ -n \"\$(program_menu_box)\" ]" 5 && break
  done
  [ -n "$(program_menu_box)" ] || fail "no menu on a right click: $(windows | paste -sd ' ')"
  [ -n "$(dialog)" ] || fail "the menu came without the window"
  # A new window may be mapped a moment before it is drawn.
  reads_entries() {
    menu_box=$(program_menu_box)
    [ -n "$menu_box" ] && read_menu && [ "$(menu_entries)" = "Update Timer|Help|About|Exit" ]
  }
  wait_for reads_entries 5 || fail "the program's menu reads '$(menu_entries)'"
}
choose_from_program_menu() {
  open_program_menu
  click_entry "$1"
  wait_for menu_closed 5 || fail "the program's menu stayed open"
}
exit_from_program_menu() {
  choose_from_program_menu Exit
  wait_for "! kill -0 $vostrel_pid" 10 || fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  wait_for "[ \"\$(sni_items | wc -l)\" -eq 0 ]" 5 || fail "the item outlived the program"
}

echo "== the bar draws the icon"
start_counting +1:00
wait_for "[ -n \"\$(icon_centre)\" ]" 10 || fail "the bar does not draw the icon"
read -r icon_x icon_y < <(icon_centre)
grim "$shots/swaybar-icon.png"

echo "== a right click gives the window and the program's menu over it; Help, About and Exit work"
open_program_menu
grim "$shots/swaybar-menu.png"
click 1000 700 # away from the menu
choose_from_program_menu Help
wait_for "[ -n \"\$(help_box)\" ]" 15 || fail "Help did not open its box: $(windows | paste -sd ' ')"
close_window "$(help_box)"
wait_for "[ -z \"\$(help_box)\" ]" 5 || fail "the Help box did not close"
choose_from_program_menu About
wait_for "[ -n \"\$(about_box)\" ]" 15 || fail "About did not open its box: $(windows | paste -sd ' ')"
grim "$shots/swaybar-about.png"
close_window "$(about_box)"
wait_for "[ -z \"\$(about_box)\" ]" 5 || fail "the About box did not close"
exit_from_program_menu

echo "== the alarm: the bar draws its frames, a smile and a frown in turn, never noise"
dbus-monitor --session "type='signal',interface='org.kde.StatusNotifierItem',member='NewStatus'" \
  >"$work/status.log" 2>&1 &
pids+=($!)
start_counting +0:00:03
wait_for "grep -q '^notify ' '$work/notifications.log'" 15 || fail "no alarm: no notification came"
# The tray draws the pictures as they are sent: none of their pixels may be
# off the standard colours.
icon_picture() { grim -g "$((icon_x - 12)),$((icon_y - 12)) 24x24" "$1"; }
check_alarm_faces icon_picture "$(date +%s%N)" swaybar-alarm-frames.png 3
grim "$shots/swaybar-alarm.png"
attention=$(grep -c '"NeedsAttention"' "$work/status.log" || true)
active=$(grep -c '"Active"' "$work/status.log" || true)
[ "$attention" -eq 1 ] && [ "$active" -eq 0 ] ||
  fail "over the alarm the status changed to NeedsAttention $attention times and to Active $active times"

echo "== Exit in the middle of the alarm takes its notification away"
exit_from_program_menu
notified=$(awk '/^notify / { print $2 }' "$work/notifications.log")
[ "$(wc -w <<<"$notified")" -eq 1 ] || fail "notifications: $(paste -sd ' ' "$work/notifications.log")"
grep -qx "close $notified" "$work/notifications.log" || fail "the notification stayed open: $(paste -sd ' ' "$work/notifications.log")"
echo "1 passed, 0 failed"
