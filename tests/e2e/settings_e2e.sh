#!/usr/bin/env bash
# End-to-end test of what Vostrel remembers between runs, and of its Help
# and About commands, with the real binary on an X server with a tray host.
# Usage: settings_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

count_windows() { windows | wc -l; }

echo "== first start: set a target, a unit, an icon and vacation days, then OK"
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "the first start's alarm did not show the window"
click_dialog 83 32
xdotool key ctrl+a type '+2:00'
click_dialog 35 12   # unit H
click_dialog 47 86   # the eye
click_dialog 145 15  # vacation days
xdotool key ctrl+a type '3'
read -r id _ < <(dialog)
xdotool windowmove "$id" 123 97
wait_for "dialog | grep -q ' 123 97 '" 5 || fail "the window did not move"
click_dialog 145 32  # OK
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
file=$(settings_file)
grep -Eq '^EndDate=[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$file" || fail "target not saved as a moment"
grep -q '^DisplayPeriod=1$' "$file" || fail "unit not saved"
grep -q '^WhichIcon=1$' "$file" || fail "icon not saved"
grep -q '^VacationDays=3$' "$file" || fail "vacation days not saved"
grep -q '^x=123$' "$file" && grep -q '^y=97$' "$file" || fail "the position saved is not where the window was moved"
cp "$file" "$work/saved.conf"
cp "$file" "$shots/settings-after-ok.conf"
exit_from_menu

echo "== the next start restores them"
start_vostrel
hover_icon
tooltip_matching '^1 Hrs$' >/dev/null || fail "the tooltip reads '$(tooltip_text)', not the hours left"
# The time left has been worked out: an alarm would have shown the window.
[ -z "$(dialog)" ] || fail "the window shows although the target lies ahead"
import -window root "$shots/tray-restored.png"
[ "$(icon_pixels blue)" -gt 3 ] || fail "the tray does not show the chosen eye"
open_menu
[ "$(menu_entries | paste -sd '|')" = "Update Timer|Help|About|Exit" ] ||
  fail "the menu lists: $(menu_entries | paste -sd '|')"
click_menu 0
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
import -window root "$shots/dialog-restored.png"
[ "$(dialog | awk '{ print $2, $3 }')" = "123 97" ] || fail "the window opened at $(dialog | awk '{ print $2, $3 }')"

echo "== changes without OK are not kept"
click_dialog 75 12   # unit S
click_dialog 21 86   # the firecracker
exit_from_menu
cmp -s "$file" "$work/saved.conf" || fail "leaving without OK changed the settings"

echo "== Help and About from the tray menu close with Enter and Escape"
start_vostrel
before=$(count_windows)
# Chooses a tray menu entry by position (of the six, separators included),
# waits for its window, takes a screenshot and closes it with a key.
open_and_close() {
  local position=$1 name=$2 key=$3 id x y w h
  open_menu
  read -r id x y w h < <(menu)
  xdotool mousemove $((x + w / 2)) $((y + 12 + position * (h - 24) / 5)) click 1
  wait_for "[ \$(count_windows) -gt $before ]" 5 || fail "$name showed nothing"
  import -window root "$shots/$name.png"
  xdotool key "$key"
  wait_for "[ \$(count_windows) -eq $before ]" 5 || fail "$key did not close $name"
}
open_and_close 2 help Return
open_and_close 3 about Escape
[ -z "$(dialog)" ] || fail "Help or About showed the countdown window"
exit_from_menu
echo "1 passed, 0 failed"
