#!/usr/bin/env bash
# End-to-end test of the real Vostrel binary on an X server with a real tray
# host: Xvfb, trayer and xdotool, with screenshots of what the user sees.
# Usage: tray_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail

binary=$1
shots=$2
mkdir -p "$shots"
work=$(mktemp -d)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/vostrel.log" ] && tail -n 60 "$work/vostrel.log" >&2
  exit 1
}

# Polls a condition (a shell command) for up to $2 seconds.
wait_for() {
  local what=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 10; i++)); do
    if eval "$what" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# A free display, chosen by the X server itself.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for "[ -s '$work/display' ]" 10 || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"

start_tray_host() {
  trayer --edge top --align right --widthtype pixel --width 120 --height 32 \
    --transparent false --tint 0x808080 >"$work/trayer.log" 2>&1 &
  tray_pid=$!
  pids+=($tray_pid)
  wait_for "xwininfo -root -tree | grep -q '\"panel\": (\"panel\" \"trayer\")'" 10 || fail "trayer did not start"
}

# Visible top-level Vostrel windows as "id x y width height".
windows() {
  local id
  for id in $(xwininfo -root -children | awk '/^     0x/ && /\("Vostrel" "Vostrel"\)/ { print $1 }'); do
    xwininfo -id "$id" | awk -v id="$id" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { seen = 1 }
      END { if (seen) print id, x, y, w, h }'
  done
}
dialog() { windows | awk '$4 > 300'; }
menu() { windows | awk '$4 < 300 && $5 > 60'; }
tooltip() { windows | awk '$5 < 40 && $4 > 40'; }

# The centre of the tray icon: the window embedded in trayer's panel.
icon_centre() {
  xwininfo -root -tree | awk '
    /"panel": \("panel" "trayer"\)/ { inpanel = 1; next }
    inpanel && /^        0x/ && $0 ~ /[0-9]+x[0-9]+\+/ {
      match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+  \+-?[0-9]+\+-?[0-9]+/)
      split(substr($0, RSTART, RLENGTH), p, /[x+ ]+/)
      print p[5] + int(p[1] / 2), p[6] + int(p[2] / 2); exit
    }
    inpanel && /^     0x/ { exit }'
}

# Counts the pixels of one colour in the tray icon's square.
icon_pixels() {
  local colour=$1 x y
  read -r x y < <(icon_centre)
  import -window root -crop 16x16+$((x - 8))+$((y - 8)) "$work/icon.png"
  convert "$work/icon.png" -format %c histogram:info:- | awk -v c="$colour" 'toupper($0) ~ c { n += $1 } END { print n + 0 }'
}

start_vostrel() {
  "$binary" >"$work/vostrel.log" 2>&1 &
  vostrel_pid=$!
  pids+=($vostrel_pid)
  wait_for "[ -n \"\$(icon_centre)\" ]" 15 || fail "no tray icon appeared"
}

click_icon() {
  local x y
  read -r x y < <(icon_centre)
  xdotool mousemove "$x" "$y" click "$@"
}

# Clicks inside the menu: entry 0 at the top, "last" at the bottom.
click_menu() {
  local id x y w h
  read -r id x y w h < <(menu)
  if [ "$1" = last ]; then xdotool mousemove $((x + w / 2)) $((y + h - 12)) click 1
  else xdotool mousemove $((x + w / 2)) $((y + 12)) click 1; fi
}

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Pelmark"
start_tray_host

echo "== a future target: only the tray icon, with the time left as its tooltip"
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=4\nVacationDays=0\n' \
  >"$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"
start_vostrel
sleep 1.5
[ -z "$(dialog)" ] || fail "the window shows although the target lies ahead"
[ "$(icon_pixels YELLOW)" -eq 0 ] || fail "the tray shows an alarm frame"
[ "$(icon_pixels WHITE)" -gt 20 ] || fail "the tray does not show the clock icon"
import -window root "$shots/tray-icon.png"
read -r x y < <(icon_centre)
xdotool mousemove $((x - 5)) "$y" sleep 0.2 mousemove "$x" "$y"
wait_for "[ -n \"\$(tooltip)\" ]" 8 || fail "no tooltip on hover"
import -window root "$shots/tray-tooltip.png"

echo "== right click: the menu; Update Timer shows the window"
click_icon 3
wait_for "[ -n \"\$(menu)\" ]" 5 || fail "no menu on right click"
import -window root "$shots/tray-menu.png"
click_menu 0
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "Update Timer did not show the window"
import -window root "$shots/dialog-counting.png"

echo "== OK hides the window; a double click shows it again"
read -r id x y w h < <(dialog)
xdotool mousemove $((x + w * 327 / 380)) $((y + h * 52 / 167)) click 1
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
click_icon --repeat 2 --delay 80 1
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "a double click did not show the window"

echo "== Exit ends the program with status 0"
click_icon 3
wait_for "[ -n \"\$(menu)\" ]" 5 || fail "no menu for Exit"
click_menu last
wait_for "! kill -0 $vostrel_pid" 10 || fail "Exit did not end the program"
wait "$vostrel_pid" && status=0 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"

echo "== an expired target: the window shows and the tray icon animates"
rm -f "$XDG_CONFIG_HOME/Pelmark/"*.conf
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "the alarm did not show the window"
wait_for "[ \$(icon_pixels YELLOW) -gt 20 ]" 5 || fail "the tray icon does not animate"
import -window root "$shots/dialog-expired.png"

echo "== a later target: the alarm ends and the chosen icon is back"
read -r id x y w h < <(dialog)
xdotool mousemove $((x + w * 170 / 380)) $((y + h * 52 / 167)) click 1 key ctrl+a type '+2:00'
xdotool mousemove $((x + w * 327 / 380)) $((y + h * 52 / 167)) click 1
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
sleep 2.5
[ "$(icon_pixels YELLOW)" -eq 0 ] || fail "the alarm frames stayed"
[ "$(icon_pixels WHITE)" -gt 20 ] || fail "the stopwatch did not come back"
[ -z "$(dialog)" ] || fail "the window came back although the target lies ahead"

echo "== the tray host restarts: the icon comes back"
kill "$tray_pid"
sleep 1
start_tray_host
wait_for "[ -n \"\$(icon_centre)\" ] && [ \$(icon_pixels WHITE) -gt 20 ]" 10 || fail "the icon did not come back"
import -window root "$shots/tray-after-restart.png"

kill "$vostrel_pid"
echo "1 passed, 0 failed"
