#!/usr/bin/env bash
# End-to-end test with LXQt's panel and its status notifier plugin, a
# StatusNotifierItem host, on Xvfb with openbox and a session bus of its own:
# the program started before the panel, the stopwatch the panel draws, the
# tooltip on screen against the item's own over D-Bus, a left click, the
# panel's drawing of the program's menu and each entry's effect, Exit, and
# the alarm's faces in the panel.
# Usage: lxqt_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
for tool in lxqt-panel openbox Xvfb dbus-daemon tesseract gdbus xdotool import montage; do
  command -v "$tool" >/dev/null ||
    { echo "SKIP: $tool is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
done
tray_host=none
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sni.sh"

export XDG_RUNTIME_DIR="$work/runtime" XDG_CACHE_HOME="$work/cache"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CACHE_HOME" "$XDG_CONFIG_HOME/lxqt"
# One panel along the top, 32 pixels high, with the status notifier plugin
# alone: no XEmbed tray beside it, so whatever the panel draws is an item.
cat >"$XDG_CONFIG_HOME/lxqt/panel.conf" <<'PANEL'
[General]
__userfile__=true
panels=panel1

[panel1]
position=Top
alignment=0
length=100
lengthPercent=true
panelSize=32
iconSize=22
lineCount=1
hidable=false
plugins=statusnotifier

[statusnotifier]
type=statusnotifier
alignment=Left
PANEL
start_window_manager
start_session_bus XDG_CONFIG_HOME XDG_RUNTIME_DIR XDG_CACHE_HOME DISPLAY

fail_details() {
  import -window root "$shots/lxqt-failure.png" 2>/dev/null
  echo "-- panel:"; tail -n 20 "$work/panel.log"
  echo "-- items: $(sni_items | paste -sd ' ')"
  echo "-- pictures in the panel: $(panel_pictures | paste -sd ',')"
  echo "-- popups: $(panel_popups | paste -sd ',')"
}

# The panel, in its own look whatever the desktop around the test sets for
# Qt programs.
start_panel() {
  env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE NO_AT_BRIDGE=1 lxqt-panel >"$work/panel.log" 2>&1 &
  panel_pid=$!
  pids+=("$panel_pid")
}

# The panel's own window as "width height x y" on screen.
panel_geometry() {
  xwininfo -root -tree | awk '/"LXQt Panel": \("lxqt-panel" "lxqt-panel"\)/ {
      match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+  \+-?[0-9]+\+-?[0-9]+/)
      split(substr($0, RSTART, RLENGTH), p, /[x+ ]+/)
      print p[1], p[2], p[5], p[6]; exit
    }'
}

# What the panel draws on its background, as "x y width height" on screen,
# one picture a line: runs of columns with pixels unlike the panel's
# commonest colour, whichever colour the panel's theme gives it. The
# pointer stays away, as the button under it is drawn raised.
panel_pictures() {
  local w h x y
  read -r w h x y < <(panel_geometry) || return 0
  import -window root -crop "${w}x$h+$x+$y" +repage "$work/panel.png"
  convert "$work/panel.png" txt:- | awk -F'[,:() ]+' -v ox="$x" -v oy="$y" '
    NR > 1 { c = $3 " " $4 " " $5; colour[$1, $2] = c; seen[c]++
      if ($1 > right) right = $1; if ($2 > bottom) bottom = $2 }
    END {
      for (c in seen) if (seen[c] > most) { most = seen[c]; ground = c }
      split(ground, g, " ")
      start = -1
      for (i = 0; i <= right + 1; i++) {
        n = 0
        for (j = 0; j <= bottom && i <= right; j++) {
          split(colour[i, j], p, " ")
          d = (p[1] - g[1]) ^ 2 + (p[2] - g[2]) ^ 2 + (p[3] - g[3]) ^ 2
          if (d > 1600) { n++; if (!(i in top)) top[i] = j; low[i] = j }
        }
        if (n >= 2 && start < 0) { start = i; y0 = top[i]; y1 = low[i] }
        if (n >= 2) { if (top[i] < y0) y0 = top[i]; if (low[i] > y1) y1 = low[i] }
        if (n < 2 && start >= 0) {
          print ox + start, oy + y0, i - start, y1 - y0 + 1; start = -1
        }
      }
    }'
}

# The stopwatch: a white face, a grey rim and a red hand; no yellow.
is_stopwatch() {
  local yellow red white grey
  read -r yellow red white _ grey < <(colour_counts "$1")
  [ "$yellow" -eq 0 ] && [ "$red" -ge 3 ] && [ "$white" -ge 50 ] && [ "$grey" -ge 30 ]
}

# The panel's pop-ups (its menus and tooltips): windows of its own class
# straight on the root window, the panel itself aside, as "id x y width
# height".
panel_popups() {
  local id
  for id in $(xwininfo -root -children |
    awk '/"lxqt-panel": \("lxqt-panel" "lxqt-panel"\)/ && !/"LXQt Panel"/ { print $1 }'); do
    xwininfo -id "$id" 2>/dev/null | awk -v id="$id" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { seen = 1 }
      END { if (seen && h > 8) print id, x, y, w, h }'
  done
}
panel_menu() { panel_popups | awk '$5 >= 60'; }
panel_tooltip() { panel_popups | awk '$5 < 60'; }

# Reads the lines of text of a pop-up's picture, whichever way the theme
# colours it: light text on a dark ground is turned over first.
popup_text() {
  if [ "$(convert "$1" -colorspace gray -format '%[fx:mean < 0.5 ? 1 : 0]' info:-)" = 1 ]; then
    read_picture "$1" negate
  else
    read_picture "$1"
  fi
}

# Where the pointer rests when it must touch nothing: outside the panel and
# every window the program opens.
pointer_away() { xdotool mousemove 790 590; }
click_panel_icon() { xdotool mousemove "$icon_x" "$icon_y" click "$1"; }

# Opens the panel's menu of the item with a right click; the pointer then
# leaves it, so that the menu takes only keys.
open_panel_menu() {
  for _ in 1 2 3; do
    click_panel_icon 3
    wait_for "[ -n \"\$(panel_menu)\" ]" 5 && break
  done
  [ -n "$(panel_menu)" ] || fail "no menu from the panel on right click"
  pointer_away
}
# Chooses the entry at a position, 1 at the top, with the keyboard: the
# menu takes it as a person's arrows.
choose_from_panel_menu() {
  local downs
  open_panel_menu
  downs=$(printf 'Down %.0s' $(seq "$1"))
  # shellcheck disable=SC2086 # one key a word
  xdotool key $downs Return
  wait_for "[ -z \"\$(panel_menu)\" ]" 5 || fail "the panel's menu stayed open"
}

# Visible Vostrel windows as "name|width|height", one a line.
named_windows() {
  local id
  for id in $(xdotool search --onlyvisible --class "^$window_class\$" 2>/dev/null); do
    echo "$(xdotool getwindowname "$id")|$(xwininfo -id "$id" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF }
      END { print w "|" h }')"
  done
}
help_box() { named_windows | awk -F'|' '$1 == "Vostrel" && $3 > 300'; }
about_box() { named_windows | grep '^About Vostrel|'; }
close_box() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | tail -n1)
  xdotool windowfocus --sync "$id" key Return
  wait_for "! xwininfo -id $id 2>/dev/null | grep -q IsViewable" 5 || fail "Enter did not close '$1'"
}

# The seconds in a time left such as "0:9:56 HMS" or "0:0:-3 HMS".
seconds() { awk -F'[: ]' '{ print $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }

# Exit from the panel's menu, the last entry: the program ends with status
# 0 and its item leaves the watcher and the panel.
exit_from_panel_menu() {
  local status
  for _ in 1 2 3; do
    choose_from_panel_menu 4
    wait_for "! kill -0 $vostrel_pid" 10 && break
  done
  kill -0 "$vostrel_pid" 2>/dev/null && fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
  wait_for "[ \"\$(sni_items | wc -l)\" -eq 0 ]" 5 || fail "the item outlived the program"
  wait_for "[ -z \"\$(panel_pictures)\" ]" 5 || fail "the panel still draws a picture: $(panel_pictures)"
}

start_vostrel_counting() {
  printf '[Settings]\nEndDate=%s\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' "$1" >"$(settings_file)"
  # A program that ran before may have left its socket behind as a file:
  # what is waited for below is the new program's own.
  rm -f "$XDG_RUNTIME_DIR"/*.socket
  "$binary" >"$work/vostrel.log" 2>&1 &
  vostrel_pid=$!
  pids+=("$vostrel_pid")
  # The program is up once it listens for later starts of itself.
  wait_for "ls '$XDG_RUNTIME_DIR'/*.socket" 20 || fail "the program did not come up"
}

echo "== the program starts before the panel: the panel draws its stopwatch, once"
start_vostrel_counting +0:10:00
start_panel
wait_for watcher_running 20 || { cat "$work/panel.log" >&2; fail "the panel's status notifier did not start"; }
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the panel"
pointer_away
drawn() {
  local x y w h
  [ "$(panel_pictures | wc -l)" -eq 1 ] || return 1
  read -r x y w h < <(panel_pictures)
  import -window root -crop "${w}x$h+$x+$y" +repage "$work/drawn.png"
  is_stopwatch "$work/drawn.png"
}
wait_for drawn 15 || fail "the panel does not draw one stopwatch: $(panel_pictures | paste -sd ',') $(colour_counts "$work/drawn.png")"
read -r icon_left icon_top icon_width icon_height < <(panel_pictures)
icon_x=$((icon_left + icon_width / 2)) icon_y=$((icon_top + icon_height / 2))
[ -z "$(windows)" ] || fail "a window shows although the target lies ahead: $(windows | paste -sd ' ')"
import -window root "$shots/lxqt-icon.png"

echo "== the tooltip: the time left, over D-Bus one second less at a time, and on screen"
counting() { [[ $(sni_tip) =~ ^0:9:[0-9]+\ HMS$ ]]; }
wait_for counting 5 || fail "tooltip over D-Bus: '$(sni_tip)'"
tip=$(sni_tip)
for _ in 1 2; do
  wait_for "[ \"\$(sni_tip)\" != '$tip' ]" 5 || fail "the tooltip stays '$tip'"
  next=$(sni_tip)
  gone=$(($(seconds "$tip") - $(seconds "$next")))
  [ "$gone" -ge 1 ] && [ "$gone" -le 3 ] || fail "the tooltip went from '$tip' to '$next'"
  tip=$next
done
# The panel sets the text as the tooltip opens and keeps it while it shows:
# it is read right after a tick, so that it opens within the same second,
# and against the time left before the pointer came and after the picture.
read_tooltip_on_screen() {
  local id tick
  shown="" before="" after=""
  for _ in 1 2 3 4 5; do
    pointer_away
    wait_for "[ -z \"\$(panel_tooltip)\" ]" 5 || fail "the tooltip stayed"
    tick=$(sni_tip)
    wait_for "[ \"\$(sni_tip)\" != '$tick' ]" 5 || fail "the tooltip stays '$tick'"
    before=$(sni_tip)
    xdotool mousemove $((icon_x - 4)) "$icon_y" sleep 0.1 mousemove "$icon_x" "$icon_y"
    wait_for "[ -n \"\$(panel_tooltip)\" ]" 10 || continue
    read -r id _ < <(panel_tooltip)
    import -window "$id" "$work/tooltip.png" 2>/dev/null || continue
    after=$(sni_tip)
    shown=$(popup_text "$work/tooltip.png")
    [ "$shown" = "$before" ] || [ "$shown" = "$after" ] && return 0
  done
  fail "the panel's tooltip reads '$shown', not '$before' or '$after'"
}
read_tooltip_on_screen
first=$shown
echo "   the panel's tooltip reads '$shown' (over D-Bus '$before', then '$after')"
import -window root "$shots/lxqt-tooltip.png"
# A tooltip opened again a few seconds later shows the time left then.
pointer_away
wait_for "[ \$(seconds \"\$(sni_tip)\") -le $(($(seconds "$first") - 2)) ]" 10 || fail "the time left stays '$(sni_tip)'"
read_tooltip_on_screen
echo "   then '$shown' (over D-Bus '$before', then '$after')"
[ "$(seconds "$shown")" -lt "$(seconds "$first")" ] || fail "the panel's tooltip went from '$first' to '$shown'"
pointer_away
wait_for "[ -z \"\$(panel_tooltip)\" ]" 10 || fail "the tooltip stayed"

echo "== a left click shows the window; OK hides it"
click_panel_icon 1
wait_for "[ -n \"\$(dialog)\" ]" 10 || fail "a left click did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"

echo "== the panel draws the program's menu: its entries by text, in order"
open_panel_menu
read -r menu_id _ < <(panel_menu)
import -window "$menu_id" "$work/menu.png"
import -window root "$shots/lxqt-menu.png"
entries=$(popup_text "$work/menu.png" | paste -sd '|')
[ "$entries" = "Update Timer|Help|About|Exit" ] || fail "the panel's menu reads '$entries'"
xdotool key Escape
wait_for "[ -z \"\$(panel_menu)\" ]" 5 || fail "Escape did not close the menu"

echo "== each entry works: Update Timer, Help, About, then Exit"
choose_from_panel_menu 1
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
choose_from_panel_menu 2
wait_for "[ -n \"\$(help_box)\" ]" 15 || fail "Help did not open its box: $(named_windows | paste -sd ' ')"
choose_from_panel_menu 3
wait_for "[ -n \"\$(about_box)\" ]" 15 || fail "About did not open its box: $(named_windows | paste -sd ' ')"
import -window root "$shots/lxqt-help-about.png"
close_box "About Vostrel"
close_box Vostrel
[ -z "$(help_box)" ] || fail "the Help box stayed"
exit_from_panel_menu

echo "== the alarm: the panel draws the faces in turn, a smile and a frown, never the stopwatch"
start_vostrel_counting +0:00:05
wait_for "[ \"\$(sni_items | wc -l)\" -eq 1 ]" 10 || fail "the program's item did not reach the panel"
pointer_away
wait_for "[ \"\$(sni_status)\" = NeedsAttention ]" 30 || fail "no alarm: the item's status stays '$(sni_status)'"
icon_picture() {
  import -window root -crop "$((icon_width + 8))x$((icon_height + 8))+$((icon_left - 4))+$((icon_top - 4))" +repage "$1"
}
check_alarm_faces icon_picture "$(date +%s%N)" lxqt-alarm.png
import -window root "$shots/lxqt-alarm-screen.png"
[ -n "$(dialog)" ] || fail "the alarm did not show the window"
[[ $(sni_tip) =~ ^0:0:-[0-9]+\ HMS$ ]] || fail "the time past the end over D-Bus reads '$(sni_tip)'"

echo "== Exit during the alarm ends the program with status 0"
exit_from_panel_menu
echo "1 passed, 0 failed"
