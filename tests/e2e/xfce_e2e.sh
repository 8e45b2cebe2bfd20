#!/usr/bin/env bash
# End-to-end test with the Xfce panel's status tray, a StatusNotifierItem
# host, on Xvfb with a session bus of its own: the icon, a click on it, the
# panel's drawing of the program's menu and each entry's effect, the
# tooltip over D-Bus and on screen, and the alarm's faces.
# Usage: xfce_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
for tool in xfce4-panel tesseract gdbus; do
  command -v "$tool" >/dev/null ||
    { echo "SKIP: $tool is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
done
tray_host=none
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sni.sh"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# One panel along the top with the status tray alone.
panel_config="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
mkdir -p "$panel_config"
cat >"$panel_config/xfce4-panel.xml" <<'PANEL'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
PANEL
bus_services=(org.xfce.Xfconf)
start_session_bus XDG_CONFIG_HOME XDG_RUNTIME_DIR DISPLAY

start_panel() {
  NO_AT_BRIDGE=1 xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
  panel_pid=$!
  pids+=($panel_pid)
}

# The status tray's own window in the panel, as "id width height x y"; it
# widens from a pixel as items come.
tray_plugin() {
  xwininfo -root -tree | awk -v window_class="$window_class" '
    /"xfce4-panel": \("xfce4-panel"/ && /[0-9]+x[0-9]+\+0\+0/ { inpanel = 1; next }
    inpanel && /^     0x/ { exit }
    inpanel && /"wrapper-2.0": \("wrapper-2.0"/ {
      match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+  \+-?[0-9]+\+-?[0-9]+/)
      split(substr($0, RSTART, RLENGTH), p, /[x+ ]+/)
      print $1, p[1], p[2], p[5], p[6]; exit
    }'
}

# Dark pixels (the clock's outline) where the tray draws its items; the
# panel's background is light.
tray_dark_pixels() {
  local id w h x y
  read -r id w h x y < <(tray_plugin)
  [ "${w:-1}" -gt 1 ] || { echo 0; return; }
  import -window root -crop "${w}x${h}+$x+$y" "$work/tray.png"
  convert "$work/tray.png" txt:- | awk -F'[(),]' 'NR > 1 && $3 + 0 < 90 && $4 + 0 < 90 && $5 + 0 < 90 { n++ }
    END { print n + 0 }'
}
# The program's XEmbed icons in the panel.
embedded_in_panel() {
  xwininfo -root -tree | awk -v window_class="$window_class" '
    /"xfce4-panel": \("xfce4-panel"/ && /[0-9]+x[0-9]+\+0\+0/ { inpanel = 1; next }
    inpanel && /^     0x/ { exit }
    inpanel && index($0, "\"" window_class "\")") { n++ } END { print n + 0 }'
}
icon_shown() { [ "$(tray_dark_pixels)" -gt 10 ]; }
tray_centre() { tray_plugin | awk '{ print $4 + int($2 / 2), $5 + int($3 / 2) }'; }
click_tray() {
  local x y
  read -r x y < <(tray_centre)
  xdotool mousemove "$x" "$y" click "$1"
}

# The panel's pop-ups (its menus and tooltips) are windows of its tray
# plugin's process, on top of the root window, below the panel.
panel_popups() {
  local id
  for id in $(xwininfo -root -children | awk '/"wrapper-2.0": \("wrapper-2.0"/ { print $1 }'); do
    xwininfo -id "$id" | awk -v id="$id" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { seen = 1 }
      END { if (seen && y >= 30) print id, x, y, w, h }'
  done
}
panel_menu() { panel_popups | awk '$5 >= 90'; }
panel_tooltip() { panel_popups | awk '$5 < 90'; }

# Visible Vostrel windows as "name|width|height", one a line.
named_windows() {
  local id
  for id in $(xdotool search --onlyvisible --class "^$window_class\$" 2>/dev/null); do
    echo "$(xdotool getwindowname "$id")|$(xwininfo -id "$id" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF }
      END { print w "|" h }')"
  done
}
help_box() { named_windows | awk -F'|' '$1 == "Vostrel" && $2 > 400 && $3 > 300'; }
about_box() { named_windows | grep '^About Vostrel|'; }

# Opens the panel's menu of the item and chooses the entry at a position,
# 1 at the top, with the keyboard: the menu takes it as a person's arrows.
choose_from_panel_menu() {
  local attempt downs
  for attempt in 1 2 3; do
    click_tray 3
    wait_for "[ -n \"\$(panel_menu)\" ]" 5 && break
  done
  [ -n "$(panel_menu)" ] || fail "no menu from the panel on right click"
  downs=$(printf 'Down %.0s' $(seq "$1"))
  # shellcheck disable=SC2086 # one key a word
  xdotool key $downs Return
  wait_for "[ -z \"\$(panel_menu)\" ]" 5 || fail "the panel's menu stayed open"
}

echo "== the program starts before the panel: its icon shows once the panel does"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
"$binary" >"$work/vostrel.log" 2>&1 &
vostrel_pid=$!
pids+=($vostrel_pid)
# The program is up once it listens for later starts of itself.
wait_for "ls '$XDG_RUNTIME_DIR'/*.socket" 10 || fail "the program did not come up"
start_panel
wait_for watcher_running 20 || { cat "$work/panel.log" >&2; fail "the panel's status tray did not start"; }
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the panel"
wait_for icon_shown 10 || fail "the panel does not draw the icon"
# The XEmbed icon made before the panel came is gone: one icon, not two.
[ "$(embedded_in_panel)" -eq 0 ] || fail "an XEmbed icon shows beside the item"
import -window root "$shots/xfce-icon.png"

echo "== the tooltip: the time left, over D-Bus and on screen, one second less at a time, and the"
echo "   item's description for screen readers, which the panel shows below it"
# The first tick puts the time left where the program's name was.
counting() { [[ $(sni_tip) =~ ^0:5[0-9]:[0-9]{2}\ HMS$ ]]; }
wait_for counting 5 || fail "tooltip over D-Bus: '$(sni_tip)'"
tip=$(sni_tip)
seconds() { awk -F'[: ]' '{ print $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }
for change in 1 2; do
  wait_for "[ \"\$(sni_tip)\" != '$tip' ]" 5 || fail "the tooltip stays '$tip'"
  next=$(sni_tip)
  [ "$(seconds "$next")" -lt "$(seconds "$tip")" ] || fail "the tooltip went from '$tip' to '$next'"
  tip=$next
done
read -r x y < <(tray_centre)
xdotool mousemove $((x - 4)) "$y" sleep 0.2 mousemove "$x" "$y"
wait_for "[ -n \"\$(panel_tooltip)\" ]" 10 || fail "no tooltip on hover"
shown=""
described() { printf '%s\nVostrel, %s left' "$1" "$1"; }
for attempt in 1 2 3; do
  before=$(sni_tip)
  import -window "$(panel_tooltip | awk '{ print $1 }')" "$work/tooltip.png"
  after=$(sni_tip)
  shown=$(read_picture "$work/tooltip.png" negate)
  [ "$shown" = "$(described "$before")" ] || [ "$shown" = "$(described "$after")" ] && break
done
[ "$shown" = "$(described "$before")" ] || [ "$shown" = "$(described "$after")" ] ||
  fail "the panel's tooltip reads '$shown', not '$(described "$after")'"
import -window root "$shots/xfce-tooltip.png"
xdotool mousemove 400 400
wait_for "[ -z \"\$(panel_tooltip)\" ]" 10 || fail "the tooltip stayed"

echo "== a left click shows the window"
click_tray 1
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "a left click did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"

echo "== the panel draws the program's menu: its entries by text, in order"
xdotool mousemove 400 400
click_tray 3
wait_for "[ -n \"\$(panel_menu)\" ]" 15 || fail "no menu from the panel on right click"
# Away from the icon, so that no tooltip covers the menu.
xdotool mousemove 400 400
read -r menu_id _ < <(panel_menu)
import -window "$menu_id" "$work/menu.png"
import -window root "$shots/xfce-menu.png"
entries=$(read_picture "$work/menu.png" | paste -sd '|')
[ "$entries" = "Update Timer|Help|About|Exit" ] || fail "the panel's menu reads '$entries'"
xdotool key Escape
wait_for "[ -z \"\$(panel_menu)\" ]" 5 || fail "Escape did not close the menu"

echo "== each entry works: Update Timer, Help, About, Exit"
choose_from_panel_menu 1
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
choose_from_panel_menu 2
wait_for "[ -n \"\$(help_box)\" ]" 15 || fail "Help did not open its box: $(named_windows | paste -sd ' ')"
choose_from_panel_menu 3
wait_for "[ -n \"\$(about_box)\" ]" 15 || fail "About did not open its box: $(named_windows | paste -sd ' ')"
import -window root "$shots/xfce-help-about.png"
# Both boxes are modal: the program ends once they are closed, as with any
# tray host.
close_box() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | tail -n1)
  xdotool windowfocus --sync "$id" key Return
  wait_for "! xwininfo -id $id 2>/dev/null | grep -q IsViewable" 5 || fail "Enter did not close '$1'"
}
close_box "About Vostrel"
close_box Vostrel
[ -z "$(help_box)" ] || fail "the Help box stayed"
exit_from_panel_menu() {
  choose_from_panel_menu 4
  wait_for "! kill -0 $vostrel_pid" 10 || fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  wait_for "[ \"\$(sni_items | wc -l)\" -eq 0 ]" 5 || fail "the item outlived the program"
}
exit_from_panel_menu

echo "== the alarm: the panel draws the faces in turn, a smile and a frown"
printf '[Settings]\nEndDate=+0:00:03\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' >"$(settings_file)"
rm -f "$XDG_RUNTIME_DIR"/*.socket
"$binary" >"$work/vostrel.log" 2>&1 &
vostrel_pid=$!
pids+=($vostrel_pid)
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the panel"
xdotool mousemove 400 400
wait_for "[ \"\$(sni_status)\" = NeedsAttention ]" 15 || fail "no alarm: the item's status stays '$(sni_status)'"
icon_picture() {
  local id w h x y
  read -r id w h x y < <(tray_plugin)
  import -window root -crop "${w}x$h+$x+$y" +repage "$1"
}
check_alarm_faces icon_picture "$(date +%s%N)" xfce-alarm.png
exit_from_panel_menu
echo "1 passed, 0 failed"
