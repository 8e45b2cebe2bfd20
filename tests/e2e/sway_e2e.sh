#!/usr/bin/env bash
# End-to-end test on Wayland: the program runs natively in sway (headless)
# with waybar's tray, a StatusNotifierItem host, and a session bus of its
# own. The program starts before the bar; the icon, a click on it, the
# bar's drawing of the program's menu and each entry's effect, a host that
# asks for the program's own menu, and the stored position on OK.
# Usage: sway_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR (VIRTUAL_POINTER in the
# environment: the helper that gives the seat a pointer)
set -euo pipefail
binary=$(realpath "$1")
shots=$2
skip() { echo "SKIP: $*"; exit 77; }
for tool in sway swaymsg waybar grim tesseract gdbus python3 setpriv; do
  command -v "$tool" >/dev/null || skip "$tool is not installed; bash scripts/install-deps.sh installs it"
done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
  skip "qt6-wayland is not installed; bash scripts/install-deps.sh installs it"
[ -x "${VIRTUAL_POINTER:-}" ] || skip "the virtual_pointer helper was not built (it needs libwayland-dev)"

# sway will not run as root: as root, the test runs again as an unprivileged
# user, from copies that user can reach wherever the checkout lies, and its
# screenshots are copied back at the end.
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p "$shots"
  copies=$(mktemp -d)
  here=$(dirname "$0")
  cp "$0" "$here/common.sh" "$here/sni.sh" "$binary" "$VIRTUAL_POINTER" "$copies/"
  mkdir "$copies/shots"
  # The leak checker's suppressions, where given, from a copy too.
  if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[1]}" "$copies/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/$copies/lsan.supp}
  fi
  chown -R nobody:nogroup "$copies"
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
    VIRTUAL_POINTER="$copies/$(basename "$VIRTUAL_POINTER")" \
    bash "$copies/$(basename "$0")" "$copies/$(basename "$binary")" "$copies/shots" && status=0 || status=$?
  cp "$copies"/shots/*.png "$shots"/ 2>/dev/null || true
  rm -rf "$copies"
  exit "$status"
fi

source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/sni.sh"
export HOME="$work" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Pelmark" "$XDG_CONFIG_HOME/waybar"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export NO_AT_BRIDGE=1 QT_QPA_PLATFORM=wayland
# Under AddressSanitizer, whole stacks for every allocation, so that the
# Wayland libraries' leaks at exit are matched by their suppressions.
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
# The pointer hides when still, so that screenshots show only what the
# programs draw.
cat >"$work/sway.conf" <<'SWAY'
xwayland disable
output HEADLESS-1 resolution 1024x768
seat * hide_cursor 100
SWAY
# A bar along the top with the tray alone.
cat >"$XDG_CONFIG_HOME/waybar/config" <<'BAR'
{ "layer": "top", "position": "top", "height": 30, "modules-right": ["tray"], "tray": { "icon-size": 20 } }
BAR
cat >"$XDG_CONFIG_HOME/waybar/style.css" <<'STYLE'
* { font-family: "DejaVu Sans"; font-size: 13px; }
window#waybar { background: #808080; }
STYLE
start_session_bus
fail_details() {
  grim "$shots/sway-failure.png" 2>/dev/null
  echo "-- waybar:"; tail -n 20 "$work/waybar.log"
  echo "-- sway:"; tail -n 20 "$work/sway.log"
  echo "-- items: $(sni_items | paste -sd ' ')"
}

sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
wait_for "compgen -G '$XDG_RUNTIME_DIR/sway-ipc.*.sock'" 20 || { cat "$work/sway.log" >&2; fail "sway did not start"; }
SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")
WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -n1)")
export SWAYSOCK WAYLAND_DISPLAY
"$VIRTUAL_POINTER" >"$work/pointer.log" 2>&1 &
pids+=($!)
wait_for "grep -q ready '$work/pointer.log'" 10 || { cat "$work/pointer.log" >&2; fail "no pointer for the seat"; }

# The program's windows that sway manages, as "id|name|x|y|width|height".
windows() {
  swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("app_id") == sys.argv[1] or node.get("name") == "About Vostrel":
        r, w = node["rect"], node["window_rect"]
        print("|".join(str(v) for v in (node["id"], node["name"], r["x"] + w["x"], r["y"] + w["y"], w["width"], w["height"])))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$window_class"
}
dialog() { windows | awk -F'|' '$2 == "Vostrel" && $5 > 300 && $6 < 250'; }
help_box() { windows | awk -F'|' '$2 == "Vostrel" && $6 > 300'; }
about_box() { windows | awk -F'|' '$2 == "About Vostrel"'; }
close_window() { swaymsg "[con_id=$(cut -d'|' -f1 <<<"$1")] kill" >/dev/null; }

click() {
  swaymsg seat - cursor set "$1" "$2" >/dev/null
  swaymsg seat - cursor press "${3:-button1}" >/dev/null
  swaymsg seat - cursor release "${3:-button1}" >/dev/null
}
# Clicks a point given in dialog units inside the countdown window.
click_dialog() {
  local x y w h
  IFS='|' read -r _ _ x y w h < <(dialog)
  click $((x + $1 * w / 169)) $((y + $2 * h / 103))
}

# The tray icon in the bar: the centre of the clock face's white pixels.
icon_centre() {
  grim -g "0,0 1024x30" "$work/bar.png"
  convert "$work/bar.png" txt:- | awk -F'[,:() ]+' 'NR > 1 && $3 > 235 && $4 > 235 && $5 > 235 {
      n++; x += $1; y += $2 } END { if (n > 20) print int(x / n), int(y / n) }'
}
click_icon() {
  local x y
  read -r x y < <(icon_centre)
  click "$x" "$y" "$1"
}

# What is new and light on screen since a picture taken before, as
# "width height x y": the bar's menu, which may overlap the bar; light
# pixels only, so that the bar's dark tooltip does not count.
new_light_box() {
  grim "$work/now.png"
  convert "$work/now.png" "$1" -compose difference -composite -threshold 5% "$work/changed.png"
  convert "$work/now.png" -threshold 90% "$work/changed.png" -compose multiply -composite -format '%@' info: |
    awk -F'[x+]' '$1 >= 80 && $2 >= 60 { print $1, $2, $3, $4 }'
}
# Opens the bar's menu and reads it: "text|x|y" a line in menu.txt, x and
# y on screen; the menu's box in $menu_box.
open_bar_menu() {
  local attempt w h x y
  grim "$work/before.png"
  for attempt in 1 2 3; do
    click_icon button3
    # The pointer goes to the corner, where it hides off the screen.
    swaymsg seat - cursor set 1023 767 >/dev/null
    wait_for "[ -n \"\$(new_light_box '$work/before.png')\" ]" 5 && break
  done
  menu_box=$(new_light_box "$work/before.png")
  [ -n "$menu_box" ] || fail "no menu from the bar on right click"
  read -r w h x y <<<"$menu_box"
  grim -g "$x,$y ${w}x$h" "$work/menu.png"
  picture_lines "$work/menu.png" | awk -F'|' -v x="$x" -v y="$y" '{ print $1 "|" $2 + x "|" $3 + y }' >"$work/menu.txt"
}
# The menu's box no longer shows the menu.
menu_closed() {
  local w h x y
  read -r w h x y <<<"$menu_box"
  grim -g "$x,$y ${w}x$h" "$work/menu-now.png"
  [ "$(compare -metric AE "$work/menu.png" "$work/menu-now.png" null: 2>&1)" != 0 ]
}
choose_from_bar_menu() {
  local x y
  open_bar_menu
  IFS='|' read -r _ x y < <(grep "^$1|" "$work/menu.txt") ||
    fail "no '$1' in the bar's menu: $(cut -d'|' -f1 "$work/menu.txt" | paste -sd '|')"
  click "$x" "$y"
  wait_for menu_closed 5 || fail "the bar's menu stayed open"
}

echo "== the program starts before the bar: its icon shows once the bar does"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\nx=50\ny=60\n' \
  >"$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"
"$binary" >"$work/vostrel.log" 2>&1 &
vostrel_pid=$!
pids+=($vostrel_pid)
wait_for "compgen -G '$XDG_RUNTIME_DIR/*.socket'" 10 || fail "the program did not come up"
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
settings=$(cat "$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf")
grep -qx 'x=50' <<<"$settings" && grep -qx 'y=60' <<<"$settings" ||
  fail "OK overwrote the stored position: $(grep -E '^[xy]=' <<<"$settings" | paste -sd ' ')"

echo "== the bar draws the program's menu: its entries by text, in order"
open_bar_menu
grim "$shots/sway-menu.png"
entries=$(cut -d'|' -f1 "$work/menu.txt" | paste -sd '|')
[ "$entries" = "Update Timer|Help|About|Exit" ] || fail "the bar's menu reads '$entries'"
click 600 500 # outside: the menu closes
wait_for menu_closed 5 || fail "a click outside did not close the menu"

echo "== each entry works: Update Timer, Help, About"
choose_from_bar_menu "Update Timer"
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "Update Timer did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
choose_from_bar_menu Help
wait_for "[ -n \"\$(help_box)\" ]" 5 || fail "Help did not open its box: $(windows | paste -sd ' ')"
choose_from_bar_menu About
wait_for "[ -n \"\$(about_box)\" ]" 5 || fail "About did not open its box: $(windows | paste -sd ' ')"
grim "$shots/sway-help-about.png"
# Both boxes are modal: they are closed before the program can end.
close_window "$(about_box)"
wait_for "[ -z \"\$(about_box)\" ]" 5 || fail "the About box did not close"
close_window "$(help_box)"
wait_for "[ -z \"\$(help_box)\" ]" 5 || fail "the Help box did not close"

echo "== a host that asks for the program's own menu gets the window, not a menu as a window"
sni_call ContextMenu 1000 30 >/dev/null || fail "ContextMenu failed"
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "ContextMenu showed no window"
[ "$(windows | wc -l)" -eq 1 ] || fail "ContextMenu made more than the window: $(windows | paste -sd ' ')"
grim "$shots/sway-context-menu.png"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"

echo "== Exit ends the program with status 0"
choose_from_bar_menu Exit
wait_for "! kill -0 $vostrel_pid" 10 || fail "Exit did not end the program"
wait "$vostrel_pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
wait_for "[ \"\$(sni_items | wc -l)\" -eq 0 ]" 5 || fail "the item outlived the program"
echo "1 passed, 0 failed"
