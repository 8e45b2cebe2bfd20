#!/usr/bin/env bash
# End-to-end test on Wayland: the program runs natively in sway (headless)
# with waybar's tray, a StatusNotifierItem host, and a session bus of its
# own. The program starts before the bar; the icon, a click on it, the
# bar's drawing of the program's menu and each entry's effect, a host that
# asks for the program's own menu, the stored position on OK, and the
# alarm's faces.
# Usage: sway_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR (VIRTUAL_POINTER in the
# environment: the helper that gives the seat a pointer)
set -euo pipefail
binary=$(realpath "$1")
shots=$2
command -v waybar >/dev/null || { echo "SKIP: waybar is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
source "$(dirname "$0")/sway.sh"

# A bar along the top with the tray alone.
bar_height=30
mkdir -p "$XDG_CONFIG_HOME/waybar"
cat >"$XDG_CONFIG_HOME/waybar/config" <<'BAR'
{ "layer": "top", "position": "top", "height": 30, "modules-right": ["tray"], "tray": { "icon-size": 20 } }
BAR
cat >"$XDG_CONFIG_HOME/waybar/style.css" <<'STYLE'
* { font-family: "DejaVu Sans"; font-size: 13px; }
window#waybar { background: #808080; }
STYLE
fail_details() {
  grim "$shots/sway-failure.png" 2>/dev/null
  menu_details sway
  echo "-- waybar:"; tail -n 20 "$work/waybar.log"
  echo "-- sway:"; tail -n 20 "$work/sway.log"
  echo "-- items: $(sni_items | paste -sd ' ')"
}
start_sway ""

# Opens the bar's menu and reads it.
open_bar_menu() {
  local attempt
  grim "$work/before.png"
  for attempt in 1 2 3; do
    click_icon button3
    pointer_away
    wait_for "[ -n \"\$(new_light_box '$work/before.png')\" ]" 5 && break
  done
  menu_box=$(new_light_box "$work/before.png")
  [ -n "$menu_box" ] || fail "no menu from the bar on right click"
  read_menu
}
choose_from_bar_menu() {
  open_bar_menu
  click_entry "$1"
  wait_for menu_closed 5 || fail "the bar's menu stayed open"
}

echo "== the program starts before the bar: its icon shows once the bar does"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\nx=50\ny=60\n' >"$(settings_file)"
start_vostrel
waybar >"$work/waybar.log" 2>&1 &
pids+=($!)
wait_for watcher_running 20 || { cat "$work/waybar.log" >&2; fail "waybar's tray did not start"; }
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the bar"
wait_for "[ -n \"\$(icon_centre)\" ]" 10 || fail "the bar does not draw the icon"
[ -z "$(windows)" ] || fail "a window shows although the target lies ahead: $(windows)"
grim "$shots/sway-icon.png"

echo "== a left click shows the window; OK hides it and keeps the stored position"
click_icon button1
wait_for "[ -n \"\$(dialog)\" ]" 10 || fail "a left click did not show the window"
grim "$shots/sway-dialog.png"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
settings=$(cat "$(settings_file)")
grep -qx 'x=50' <<<"$settings" && grep -qx 'y=60' <<<"$settings" ||
  fail "OK overwrote the stored position: $(grep -E '^[xy]=' <<<"$settings" | paste -sd ' ')"

echo "== the bar draws the program's menu: its entries by text, in order"
open_bar_menu
grim "$shots/sway-menu.png"
[ "$(menu_entries)" = "Update Timer|Help|About|Exit" ] || fail "the bar's menu reads '$(menu_entries)'"
click 600 500 # outside: the menu closes
wait_for menu_closed 5 || fail "a click outside did not close the menu"

echo "== each entry works: Update Timer, Help, About"
choose_from_bar_menu "Update Timer"
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
choose_from_bar_menu Help
wait_for "[ -n \"\$(help_box)\" ]" 15 || fail "Help did not open its box: $(windows | paste -sd ' ')"
choose_from_bar_menu About
wait_for "[ -n \"\$(about_box)\" ]" 15 || fail "About did not open its box: $(windows | paste -sd ' ')"
grim "$shots/sway-help-about.png"
# Both boxes are modal: they are closed before the program can end.
close_window "$(about_box)"
wait_for "[ -z \"\$(about_box)\" ]" 5 || fail "the About box did not close"
close_window "$(help_box)"
wait_for "[ -z \"\$(help_box)\" ]" 5 || fail "the Help box did not close"

echo "== a host that asks for the program's own menu gets the window and the menu over it"
# The program has had clicks of its own by now: the menu is a popup of the
# window, and a click outside it closes it.
sni_call ContextMenu 1000 30 >/dev/null || fail "ContextMenu failed"
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "ContextMenu showed no window"
wait_for "[ -n \"\$(popup_box)\" ]" 15 || fail "ContextMenu showed no menu over the window"
grim "$shots/sway-context-menu.png"
menu_box=$(popup_box)
read_menu
[ "$(menu_entries)" = "Update Timer|Help|About|Exit" ] || fail "the program's menu reads '$(menu_entries)'"
click 1000 700
wait_for menu_closed 5 || fail "a click outside did not close the program's menu"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"

echo "== Exit ends the program with status 0"
exit_from_bar_menu() {
  choose_from_bar_menu Exit
  wait_for "! kill -0 $vostrel_pid" 10 || fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  wait_for "[ \"\$(sni_items | wc -l)\" -eq 0 ]" 5 || fail "the item outlived the program"
}
read -r icon_x icon_y < <(icon_centre)
exit_from_bar_menu

echo "== the alarm: the bar draws the faces in turn, a smile and a frown"
printf '[Settings]\nEndDate=+0:00:03\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
rm -f "$XDG_RUNTIME_DIR"/*.socket
start_vostrel
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the bar"
wait_for "[ \"\$(sni_status)\" = NeedsAttention ]" 15 || fail "no alarm: the item's status stays '$(sni_status)'"
icon_picture() { grim -g "$((icon_x - 12)),$((icon_y - 12)) 24x24" "$1"; }
check_alarm_faces icon_picture "$(date +%s%N)" sway-alarm.png
# During the alarm the icon shows no clock face to be found by.
icon_centre() { echo "$icon_x $icon_y"; }
exit_from_bar_menu
echo "1 passed, 0 failed"
