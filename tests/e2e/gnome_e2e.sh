#!/usr/bin/env bash
# End-to-end test under GNOME Shell 43 (X11, on Xvfb) with its AppIndicator
# extension as the StatusNotifierItem host, on session and system buses of
# its own:
# - the stopwatch in the top bar, with the time left as a label beside it
#   that counts down, second by second;
# - the menu GNOME draws from the exported one: its entries by their text,
#   and what Update Timer, Help, About and Exit each do;
# - the alarm as the top bar shows it: a smiling and a frowning face in
#   turn, never the theme's placeholder, the label counting past zero; the
#   item's status changing once at its start and once at its end, when a
#   later target is typed into the window; one "Time is up" notification;
# - no unknown property or method of the item in the shell's log;
# - the icon back after each of five replacements of the shell;
# - Exit ends the program with status 0 and its item leaves the watcher.
# Usage: gnome_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
extension=ubuntu-appindicators@ubuntu.com
skip() { echo "SKIP: $*"; exit 77; }
for tool in gnome-shell gjs Xvfb xdotool xwininfo tesseract import convert montage gdbus gsettings \
  dbus-monitor dbus-daemon dbus-update-activation-environment; do
  command -v "$tool" >/dev/null || skip "$tool is not installed; bash scripts/install-deps.sh installs it"
done
[ -d "/usr/share/gnome-shell/extensions/$extension" ] ||
  skip "GNOME's AppIndicator extension is not installed (gnome-shell-extension-appindicator)"

source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/sni.sh"

# Everything the session writes stays in the work folder.
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
session_runtime="$work/runtime"
export XDG_RUNTIME_DIR="$session_runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Pelmark" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
export XDG_SESSION_TYPE=x11 XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=dconf LIBGL_ALWAYS_SOFTWARE=1 NO_AT_BRIDGE=1
unset WAYLAND_DISPLAY
# No D-Bus client may launch a bus for the display before ours runs.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"

# Every process of this session, whoever started it (the bus daemons start
# dconf-service and the shell's notification service, the shell starts
# helpers of its own), carries this session's runtime folder in its
# environment: at exit each of them ends, found by that and ended by its id.
session_processes() {
  local proc pid entry environment
  found=()
  for proc in /proc/[0-9]*; do
    pid=${proc#/proc/}
    [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] || continue
    { mapfile -d '' -t environment <"$proc/environ"; } 2>/dev/null || continue
    for entry in "${environment[@]}"; do
      if [ "$entry" = "XDG_RUNTIME_DIR=$session_runtime" ]; then
        # A process that has ended but not been reaped needs no signal.
        [[ $(cat "$proc/stat" 2>/dev/null) =~ ^[0-9]+\ \(.*\)\ [^Z] ]] && found+=("$pid")
        break
      fi
    done
  done
}
end_session() {
  local tries
  session_processes
  [ ${#found[@]} -eq 0 ] && return 0
  kill "${found[@]}" 2>/dev/null || true
  for ((tries = 0; tries < 50; tries++)); do
    session_processes
    [ ${#found[@]} -eq 0 ] && return 0
    sleep 0.1
  done
  kill -KILL "${found[@]}" 2>/dev/null || true
}
trap 'trap - ERR; end_session; cleanup' EXIT
# A command that fails where nothing checks it ends the test: say which.
trap 'fail "line $LINENO: \"$BASH_COMMAND\" ended with status $?"' ERR

fail_details() {
  import -window root "$shots/gnome-failure.png" 2>/dev/null
  cp "$work/shell.log" "$shots/gnome-shell.log"
  cp "$work/monitor.log" "$shots/gnome-bus.log"
  echo "-- shell (last lines):"; grep -v '^ALSA lib' "$work/shell.log" | tail -n 20
  echo "-- items: $(sni_items 2>/dev/null | paste -sd ' ')"
  echo "-- status signals: $(status_signals | paste -sd ' ')"
  echo "-- the program registered $(grep -c 'member=RegisterStatusNotifierItem$' "$work/monitor.log") times;" \
    "the watchers dropped an item $(grep -c 'member=StatusNotifierItemUnregistered$' "$work/monitor.log") times"
}

echo "== an X server, a system bus and a session bus of the test's own"
# A free display, chosen by the X server; GNOME Shell draws with OpenGL.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 +extension GLX -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for "[ -s '$work/display' ]" 10 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
# The shell asks logind and others on the system bus, and gives up where a
# machine has seats but no system bus (a container): a private one answers.
cat >"$work/system-bus.conf" <<BUS
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/system_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
BUS
pids+=("$(dbus-daemon --config-file="$work/system-bus.conf" --fork --print-pid=1)")
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus"
# GNOME Shell's own services; none that another desktop could put in its place.
bus_services=(ca.desrt.dconf org.a11y.Bus org.gnome.Shell.CalendarServer org.gnome.Shell.Extensions org.gnome.Extensions
  org.gnome.Shell.Notifications org.gnome.Shell.HotplugSniffer org.gnome.Shell.PortalHelper org.gnome.Shell.Screencast
  org.gnome.ScreenSaver)
start_session_bus HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME XDG_RUNTIME_DIR DISPLAY \
  DBUS_SYSTEM_BUS_ADDRESS LIBGL_ALWAYS_SOFTWARE

# The item's status changes and the notifications, as the bus carries them,
# and, should the test fail, the watcher's side of the registrations.
dbus-monitor --session "type='signal',interface='org.kde.StatusNotifierItem',member='NewStatus'" \
  "type='method_call',destination='org.freedesktop.Notifications',member='Notify'" \
  "type='signal',interface='org.kde.StatusNotifierWatcher'" \
  "type='method_call',interface='org.kde.StatusNotifierWatcher'" >"$work/monitor.log" 2>&1 &
pids+=($!)
wait_for "[ -s '$work/monitor.log' ]" 10 || fail "dbus-monitor did not start"

# The statuses the item has announced, one a line, in order.
status_signals() {
  awk '/member=NewStatus/ { getline; gsub(/^ *string "|"$/, ""); print }' "$work/monitor.log"
}
status_count() { status_signals | grep -cx "$1" || true; }
# The summaries of the notifications sent (a Notify call's fourth argument).
# Only the calls to the notification service count: the shell's service
# passes each one on to the shell under the same name.
notification_summaries() {
  awk '/member=Notify/ { n = 0; want = 1; next }
    want && /^ *(string|uint32) / { if (++n == 4) { sub(/^ *string "/, ""); sub(/"$/, ""); print; want = 0 } }' \
    "$work/monitor.log"
}

echo "== GNOME Shell with the AppIndicator extension"
# A plain coloured desktop whatever image loaders are installed, so that the
# desktop is told from the overview by its colour, and no screen blanking.
desktop_colour=023C88
gsettings set org.gnome.shell disable-user-extensions false
gsettings set org.gnome.shell enabled-extensions "['$extension']"
gsettings set org.gnome.desktop.background picture-options none
gsettings set org.gnome.desktop.background color-shading-type solid
gsettings set org.gnome.desktop.background primary-color "#$desktop_colour"
gsettings set org.gnome.desktop.session idle-delay 0

# On a desktop the user's service manager starts the input method daemon,
# and GNOME Shell only asks it whether it does so. Without one the shell
# spawns the daemon itself, running a JavaScript callback in the forked
# child, which now and then deadlocks the shell as it starts. A stand-in for
# the service manager answers that one question, as a desktop's would.
cat >"$work/service-manager.js" <<'STANDIN'
const { Gio, GLib } = imports.gi;
const managerXml = `<node><interface name="org.freedesktop.systemd1.Manager">
  <method name="GetUnit"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
</interface></node>`;
const inputMethodUnit = 'org.freedesktop.IBus.session.GNOME.service';
const manager = Gio.DBusExportedObject.wrapJSObject(managerXml, {
    GetUnitAsync([name], invocation) {
        if (name === inputMethodUnit)
            invocation.return_value(new GLib.Variant('(o)', ['/org/freedesktop/systemd1/unit/input_method']));
        else
            invocation.return_dbus_error('org.freedesktop.systemd1.NoSuchUnit', `Unit ${name} not loaded.`);
    },
});
const loop = new GLib.MainLoop(null, false);
Gio.bus_own_name(Gio.BusType.SESSION, 'org.freedesktop.systemd1', Gio.BusNameOwnerFlags.NONE,
    connection => manager.export(connection, '/org/freedesktop/systemd1'), null, () => loop.quit());
loop.run();
STANDIN
gjs "$work/service-manager.js" >"$work/service-manager.log" 2>&1 &
pids+=($!)
wait_for "bus_call org.freedesktop.systemd1 /org/freedesktop/systemd1 org.freedesktop.systemd1.Manager.GetUnit \
  org.freedesktop.IBus.session.GNOME.service" 10 ||
  fail "the service manager's stand-in did not start: $(cat "$work/service-manager.log")"

# Starts a shell, which replaces the running one if any. A replaced shell
# may crash on its way out; bash would report that as if it were the
# test's own failure, so the shell is not kept among this script's jobs.
start_shell() {
  gnome-shell --x11 --replace --sm-disable >>"$work/shell.log" 2>&1 &
  shell_pid=$!
  disown "$shell_pid"
}
watcher_owner() {
  bus_call org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner org.kde.StatusNotifierWatcher 2>/dev/null |
    grep -o "'[^']*'" | tr -d "'"
}
extension_enabled() {
  [[ $(bus_call org.gnome.Shell.Extensions /org/gnome/Shell/Extensions org.gnome.Shell.Extensions.GetExtensionInfo \
    "$extension") == *"'state': <1.0>"* ]]
}
start_shell
wait_for "watcher_running && extension_enabled" 30 || fail "GNOME Shell or its AppIndicator extension did not start"
# The shell opens the overview at its start; Escape leaves it for the desktop.
desktop_shown() {
  import -window root -crop 1x1+2+798 +repage "$work/corner.png"
  [ "$(convert "$work/corner.png" -format '%[hex:p{0,0}]' info:-)" = "$desktop_colour" ]
}
leave_overview() {
  local attempt
  for attempt in 1 2 3 4 5 6; do
    desktop_shown && return 0
    xdotool key Escape
    wait_for desktop_shown 3 && return 0
  done
  fail "the overview stays open"
}
leave_overview

# The top bar right of the clock, where the extension puts the icon, as a
# picture of 540x32 pixels from x=700.
bar_left=700
shoot_bar() { import -window root -crop 540x32+$bar_left+0 +repage "$1"; }
# Where things are in a picture of the bar: the first run of bright columns
# (anything but the bar's dark background) is the icon, at most 24 pixels
# wide, and what follows up to a gap of 12 empty columns is the label.
# Prints "icon-left icon-right label-left label-right" in the picture's
# columns, nothing where the bar is empty.
bar_layout() {
  convert "$1" txt:- | awk -F'[(),:]' '
    NR > 1 { if ($4 + 0 > 100 || $5 + 0 > 100 || $6 + 0 > 100) bright[$1 + 0] = 1; if ($1 + 0 > width) width = $1 + 0 }
    END {
      for (x = 0; x <= width && !bright[x]; x++) ;
      if (x > width) exit
      left = x
      for (; x <= width && bright[x] && x - left < 24; x++) ;
      right = x - 1
      for (; x <= width && !bright[x]; x++) ;
      label = x
      for (gap = 0; x <= width && gap < 12; x++) { if (bright[x]) { gap = 0; end = x } else gap++ }
      print left, right, label, end
    }'
}
# Counts the pixels of each kind of colour in the icon's columns of a
# picture of the bar: "yellow red white grey".
icon_colours() {
  local left right label end
  read -r left right label end < <(bar_layout "$1") || true
  [ -n "$left" ] || { echo 0 0 0 0; return; }
  convert "$1" -crop $((right - left + 1))x32+$left+0 +repage txt:- | awk -F'[(),:]' 'NR > 1 {
      r = $4 + 0; g = $5 + 0; b = $6 + 0
      if (r > 200 && g > 200 && b < 100) yellow++
      if (r > 180 && g < 80 && b < 80) red++
      if (r > 235 && g > 235 && b > 235) white++
      if (r == g && g == b && r >= 90 && r <= 170) grey++
    } END { print yellow + 0, red + 0, white + 0, grey + 0 }'
}
# The label beside the icon, read by OCR: light text on the dark bar.
label_of() {
  local left right label end
  read -r left right label end < <(bar_layout "$1") || true
  [ -n "$end" ] && [ "$end" -gt "$label" ] || return 0
  convert "$1" -crop $((end - label + 3))x32+$((label - 1))+0 +repage -colorspace gray -negate -resize 400% \
    -threshold 60% -bordercolor white -border 20 "$work/label.png"
  tesseract "$work/label.png" - --psm 7 -c tessedit_char_whitelist='0123456789:- HMS' 2>/dev/null |
    sed 's/^ *//; s/ *$//' | head -n 1
}
# A 24x24 crop around the icon, for the record.
crop_icon() {
  local left right label end
  read -r left right label end < <(bar_layout "$1") || true
  convert "$1" -crop 24x24+$(((left + right) / 2 - 12))+4 +repage "$2"
}
bar_label() { shoot_bar "$work/bar.png" && label_of "$work/bar.png"; }
bar_colours() { shoot_bar "$work/bar.png" && icon_colours "$work/bar.png"; }
# The stopwatch: a white face, a grey rim and a red hand; nothing yellow.
is_stopwatch() {
  local yellow red white grey
  read -r yellow red white grey <<<"$1"
  [ "$yellow" -eq 0 ] && [ "$red" -ge 2 ] && [ "$white" -ge 20 ] && [ "$grey" -ge 10 ]
}
stopwatch_shown() { is_stopwatch "$(bar_colours)"; }
# The running watcher's last word on the item and how many seconds ago it
# came: "Registered 3.2". The extension may drop an item a second or so
# after taking it (it then says Unregistered), and the program registers
# again.
last_registration() {
  awk -v now="$EPOCHREALTIME" -v watcher="sender=$(watcher_owner) " '
    index($0, watcher) && /member=StatusNotifierItem(Un)?[Rr]egistered/ {
      match($0, /time=[0-9.]+/); at = substr($0, RSTART + 5, RLENGTH - 5)
      word = $0 ~ /Unregistered/ ? "Unregistered" : "Registered"
    } END { if (word != "") printf "%s %.1f\n", word, now - at }' "$work/monitor.log"
}
# The stopwatch shows, and the item has been registered for 3 s without
# being dropped: the icon stays.
stopwatch_settled() {
  local word age
  read -r word age < <(last_registration) || return 1
  [ "$word" = Registered ] && awk -v age="$age" 'BEGIN { exit !(age >= 3) }' && stopwatch_shown
}
# The seconds a label stands for: "0:1:27 HMS" is 87, "0:0:-3 HMS" is -3.
seconds_of() { awk -F'[: ]' '{ print $1 * 3600 + $2 * 60 + $3 }' <<<"$1"; }

# Clicks the middle of the icon in the top bar.
click_icon() {
  local left right label end
  shoot_bar "$work/bar.png"
  read -r left right label end < <(bar_layout "$work/bar.png") || true
  [ -n "$left" ] || fail "no icon in the top bar to click"
  xdotool mousemove $((bar_left + (left + right) / 2)) 16 click 1
}
# The lines of text in the area under the right of the top bar, where the
# shell opens the icon's menu, as "text|x|y" with x and y on the screen.
menu_area_lines() {
  import -window root -crop 380x300+900+32 +repage "$work/menu-area.png"
  picture_lines "$work/menu-area.png" negate | awk -F'|' '{ print $1 "|" $2 + 900 "|" $3 + 32 }'
}
menu_entries() { menu_area_lines | cut -d'|' -f1; }
menu_open() { menu_entries | grep -x Exit >/dev/null; }
# Opens the icon's menu with a click; a click a loaded shell missed is made
# again.
open_menu() {
  local attempt
  for attempt in 1 2 3; do
    wait_for stopwatch_settled 20 ||
      fail "no lasting stopwatch to click: $(last_registration), yellow red white grey = $(bar_colours)"
    click_icon
    wait_for menu_open 5 && return 0
  done
  fail "no menu on a click on the icon; under the top bar: $(menu_entries | paste -sd '|')"
}
# Chooses an entry of the icon's menu by its text.
choose() {
  local text x y
  open_menu
  IFS='|' read -r text x y < <(menu_area_lines | grep "^$1|") || true
  [ -n "$text" ] || fail "no '$1' in the menu: $(menu_entries | paste -sd '|')"
  xdotool mousemove "$x" "$y" click 1
  wait_for "! menu_open" 5 || fail "the menu stayed open after choosing '$1'"
}

# The program's visible windows as "id x y width height title".
named_windows() {
  local id
  for id in $(xdotool search --onlyvisible --class "^$window_class\$" 2>/dev/null); do
    xwininfo -id "$id" | awk -v id="$id" -v title="$(xdotool getwindowname "$id" 2>/dev/null)" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { seen = 1 }
      END { if (seen) print id, x, y, w, h, title }'
  done
}
main_window() { named_windows | awk '$6 == "Vostrel" && $7 == "" && $5 < 300'; }
help_box() { named_windows | awk '$6 == "Vostrel" && $7 == "" && $5 > 300'; }
about_box() { named_windows | awk '$6 == "About" && $7 == "Vostrel" && $8 == ""'; }
# Clicks a point given in dialog units of the 169x103 countdown window,
# once the window manager has stopped moving it.
click_window() {
  local id x y w h now before tries
  now=$(main_window)
  for ((tries = 0; tries < 20; tries++)); do
    before=$now
    sleep 0.1
    now=$(main_window)
    [ -n "$now" ] && [ "$now" = "$before" ] && break
  done
  read -r id x y w h _ <<<"$now" || true
  [ -n "$id" ] || fail "the window is not shown"
  xdotool mousemove $((x + $1 * w / 169)) $((y + $2 * h / 103)) click 1
}
# Closes a box with Return, given the command that finds it; the box is
# given the focus first, which a loaded shell may be slow to grant.
close_box() {
  local id attempt
  for attempt in 1 2 3; do
    read -r id _ < <($1) || true
    [ -n "$id" ] || return 0
    timeout 5 xdotool windowactivate --sync "$id" || true
    xdotool key Return
    wait_for "[ -z \"\$($1)\" ]" 5 && return 0
  done
  fail "Return did not close the box: $(named_windows)"
}

start_vostrel() {
  "$binary" >"$work/vostrel.log" 2>&1 &
  vostrel_pid=$!
  pids+=($vostrel_pid)
  wait_for "[ \"\$(our_item_count)\" = 1 ]" 30 ||
    fail "the program's item did not reach the watcher: $(sni_items | paste -sd ' ')"
}
# The entries of the watcher's list that belong to the program: those whose
# bus name (a well-known name, or a unique name before "@" or "/") the
# program's process owns.
our_items() {
  local item owner
  for item in $(sni_items); do
    owner=$(bus_call org.freedesktop.DBus / org.freedesktop.DBus.GetConnectionUnixProcessID "${item%%[@/]*}" \
      2>/dev/null | grep -o '[0-9]\+' | tail -n 1)
    [ "$owner" != "$vostrel_pid" ] || echo "$item"
  done
}
our_item_count() { our_items | grep -c . || true; }
exit_from_menu() {
  local status items
  items=$(our_items)
  [ -n "$items" ] || fail "the watcher does not list the program's item: $(sni_items | paste -sd ' ')"
  choose Exit
  wait_for "! kill -0 $vostrel_pid" 15 || fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  wait_for "! sni_items | grep -Fx '$items' >/dev/null" 10 || fail "the item outlived the program: $(sni_items | paste -sd ' ')"
}
check_shell_log() {
  local errors
  errors=$(grep -E 'UnknownProperty|UnknownMethod' "$work/shell.log" || true)
  [ -z "$errors" ] || fail "the shell asked the item for what it does not have: $errors"
}

echo "== the stopwatch in the top bar, the time left beside it, counting down"
printf '[Settings]\nEndDate=+0:01:30\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' \
  >"$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"
start_vostrel
wait_for stopwatch_settled 30 ||
  fail "no lasting stopwatch in the top bar: $(last_registration), yellow red white grey = $(bar_colours)"
reading='^0:[01]:([0-9]|[1-5][0-9]) HMS$'
wait_for "[[ \"\$(bar_label)\" =~ \$reading ]]" 10 || fail "the label beside the icon reads '$(bar_label)'"
import -window root "$shots/gnome-icon.png"
first=$(bar_label)
start=$EPOCHREALTIME
label=$first
for change in 1 2; do
  wait_for "[ \"\$(bar_label)\" != '$label' ]" 5 || fail "the label stays '$label'"
  next=$(bar_label)
  [[ $next =~ $reading ]] || fail "the label went from '$label' to '$next'"
  [ "$(seconds_of "$next")" -lt "$(seconds_of "$label")" ] || fail "the label went from '$label' to '$next'"
  label=$next
done
taken=$(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
gone=$(($(seconds_of "$first") - $(seconds_of "$label")))
# A label read just before a tick and one read late, on a loaded machine,
# make the time taken up to two seconds longer than the seconds gone.
awk -v gone="$gone" -v taken="$taken" 'BEGIN { exit !(gone >= 2 && gone <= taken + 1.5 && gone >= taken - 2) }' ||
  fail "the label went from '$first' to '$label' in $taken s"
[ "$(seconds_of "$first")" -le 90 ] && [ "$(seconds_of "$first")" -gt 50 ] ||
  fail "the label reads '$first' for a target 90 s after the start"
echo "label: '$first' .. '$label' in $taken s"

echo "== the shell's menu of the item: its entries, in order"
open_menu
xdotool mousemove 640 500
import -window root "$shots/gnome-menu.png"
entries=$(menu_entries | paste -sd '|')
[ "$entries" = "Update Timer|Help|About|Exit" ] || fail "the menu reads '$entries'"
xdotool key Escape
wait_for "! menu_open" 5 || fail "Escape did not close the menu"

echo "== Update Timer shows the window, OK hides it"
choose "Update Timer"
wait_for "[ -n \"\$(main_window)\" ]" 10 || fail "Update Timer did not show the window: $(named_windows)"
click_window 145 32
wait_for "[ -z \"\$(main_window)\" ]" 10 || fail "OK did not hide the window"

echo "== Help and About open their boxes"
choose Help
wait_for "[ -n \"\$(help_box)\" ]" 10 || fail "Help did not open its box: $(named_windows)"
close_box help_box
choose About
wait_for "[ -n \"\$(about_box)\" ]" 10 || fail "About did not open its box: $(named_windows)"
close_box about_box

echo "== Exit from the menu ends the program; its item leaves the watcher"
exit_from_menu
[ "$(status_count NeedsAttention)" -eq 0 ] || fail "the status changed before any alarm: $(status_signals | paste -sd ' ')"

echo "== the alarm: the faces in turn in the top bar, the label counting past zero"
printf '[Settings]\nEndDate=+0:00:15\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' \
  >"$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"
start_vostrel
started=$EPOCHREALTIME
wait_for stopwatch_settled 30 ||
  fail "no lasting stopwatch before the alarm: $(last_registration), yellow red white grey = $(bar_colours)"
echo "stopwatch settled $(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s after the item registered"
[ "$(status_count NeedsAttention)" -eq 0 ] || fail "the alarm started before the icon settled"
wait_for "[ \"\$(status_count NeedsAttention)\" -ge 1 ]" 40 || fail "the alarm did not start"
alarm_start=$EPOCHREALTIME
# Pictures of the screen every 0.7 s for 10 s, read afterwards, so that
# reading them does not slow the pace.
shots_taken=0
times=()
while :; do
  now=$EPOCHREALTIME
  elapsed=$(awk -v a="$alarm_start" -v b="$now" 'BEGIN { printf "%.2f", b - a }')
  awk -v e="$elapsed" 'BEGIN { exit !(e >= 10) }' && [ "$shots_taken" -ge 12 ] && break
  shots_taken=$((shots_taken + 1))
  import -window root "$work/alarm-$shots_taken.png"
  times+=("$elapsed")
  next=$(awk -v a="$alarm_start" -v n="$shots_taken" -v b="$EPOCHREALTIME" \
    'BEGIN { d = a + n * 0.7 - b; printf "%.2f", (d > 0 ? d : 0) }')
  sleep "$next"
done
smiles=0
frowns=0
crops=()
previous=""
readings=()
problems=()
for ((n = 1; n <= shots_taken; n++)); do
  t=${times[n - 1]}
  convert "$work/alarm-$n.png" -crop 540x32+$bar_left+0 +repage "$work/alarm-bar.png"
  read -r yellow red white grey < <(icon_colours "$work/alarm-bar.png")
  crop_icon "$work/alarm-bar.png" "$work/crop-$n.png"
  crops+=("$work/crop-$n.png")
  text=$(label_of "$work/alarm-bar.png")
  readings+=("$t s: $text")
  if [ "$yellow" -ge 40 ]; then
    if [ "$red" -ge 3 ]; then
      smiles=$((smiles + 1))
      [ "$smiles" -eq 1 ] && cp "$work/alarm-$n.png" "$shots/gnome-alarm-1.png"
    elif [ "$red" -eq 0 ]; then
      frowns=$((frowns + 1))
      [ "$frowns" -eq 1 ] && cp "$work/alarm-$n.png" "$shots/gnome-alarm-2.png"
    fi
  # The extension may draw the stopwatch a moment longer, or nothing while
  # it changes its icon for the new status (seen on a loaded machine),
  # never past a second, and never its placeholder.
  elif ! { awk -v t="$t" 'BEGIN { exit !(t < 1) }' &&
    { is_stopwatch "$yellow $red $white $grey" || [ "$yellow $red $white $grey" = "0 0 0 0" ]; }; }; then
    problems+=("at $t s no face: yellow $yellow, red $red, white $white, grey $grey")
  fi
  # Past the first second the label shows the time since the end.
  if awk -v t="$t" 'BEGIN { exit !(t >= 1.5) }'; then
    [[ $text =~ ^0:0:-[0-9]+\ HMS$ ]] || problems+=("at $t s the label reads '$text'")
  else
    [[ $text =~ ^0:0:-?[0-9]+\ HMS$ ]] || problems+=("at $t s the label reads '$text'")
  fi
  if [ -n "$previous" ] && [ "$(seconds_of "$text")" -gt "$(seconds_of "$previous")" ]; then
    problems+=("the label went from '$previous' to '$text'")
  fi
  previous=$text
done
montage "${crops[@]}" -tile "${#crops[@]}x1" -geometry 96x96+4+4 -filter point -background gray50 \
  "$shots/gnome-alarm-crops.png"
echo "crops: $shots_taken, smiles $smiles, frowns $frowns; labels: $(printf '%s; ' "${readings[@]}")"
[ ${#problems[@]} -eq 0 ] || fail "during the alarm: $(printf '%s; ' "${problems[@]}")"
[ "$smiles" -ge 2 ] || fail "the smiling face showed in $smiles of $shots_taken pictures"
[ "$frowns" -ge 2 ] || fail "the frowning face showed in $frowns of $shots_taken pictures"
first_label=${readings[0]#*: }
span=$(($(seconds_of "$first_label") - $(seconds_of "$previous")))
taken=$(awk -v a="${times[0]}" -v b="${times[shots_taken - 1]}" 'BEGIN { printf "%.1f", b - a }')
awk -v span="$span" -v taken="$taken" 'BEGIN { exit !(span >= taken - 1.5 && span <= taken + 1.5) }' ||
  fail "the label went from '$first_label' to '$previous' in $taken s"

echo "== the status: NeedsAttention once; a later target ends the alarm, Active once"
[ "$(status_count NeedsAttention)" -eq 1 ] && [ "$(status_count Active)" -eq 0 ] ||
  fail "status signals during the alarm: $(status_signals | paste -sd ' ')"
[ "$(notification_summaries | paste -sd '|')" = "Time is up" ] ||
  fail "notifications sent: '$(notification_summaries | paste -sd '|')'"
# As a user would: the alarm has shown the window; a later target in its
# target box (dialog units 45,26 76x12), then OK.
for attempt in 1 2 3; do
  wait_for "[ -n \"\$(main_window)\" ]" 10 || fail "the alarm does not show the window"
  click_window 83 32
  xdotool key ctrl+a type '+1:00'
  xdotool key Tab
  click_window 145 32
  wait_for "[ \"\$(status_count Active)\" -ge 1 ]" 5 && break
done
[ "$(status_count Active)" -ge 1 ] || fail "the alarm did not end: $(status_signals | paste -sd ' ')"
wait_for "[ -z \"\$(main_window)\" ]" 10 || fail "OK did not hide the window"
wait_for stopwatch_shown 10 || fail "the stopwatch did not come back: yellow red white grey = $(bar_colours)"
wait_for "[[ \"\$(bar_label)\" =~ ^(0:59:[0-9]+|1:0:0)\ HMS$ ]]" 10 || fail "the label reads '$(bar_label)' after +1:00"
# Two more ticks: no further status change, the window stays hidden.
label=$(bar_label)
for change in 1 2; do
  wait_for "[ \"\$(bar_label)\" != '$label' ]" 5 || fail "the label stays '$label'"
  label=$(bar_label)
done
[ -z "$(main_window)" ] || fail "the window came back after the alarm ended"
stopwatch_shown || fail "the icon changed after the alarm ended: yellow red white grey = $(bar_colours)"
[ "$(status_signals | paste -sd ' ')" = "NeedsAttention Active" ] ||
  fail "status signals: $(status_signals | paste -sd ' ')"
import -window root "$shots/gnome-after-alarm.png"

echo "== the shell's log: no unknown property or method of the item"
check_shell_log

echo "== the shell replaced five times: the item registers again, the stopwatch is back"
for round in 1 2 3 4 5; do
  old_shell=$shell_pid
  old_owner=$(watcher_owner)
  started=$EPOCHREALTIME
  start_shell
  wait_for "! kill -0 $old_shell" 20 || fail "round $round: the old shell did not give way"
  wait_for "owner=\$(watcher_owner); [ -n \"\$owner\" ] && [ \"\$owner\" != '$old_owner' ]" 20 ||
    fail "round $round: no new watcher"
  wait_for "[ \"\$(our_item_count)\" = 1 ]" 20 ||
    fail "round $round: the item is not registered again: $(sni_items | paste -sd ' ')"
  wait_for stopwatch_settled 20 ||
    fail "round $round: no lasting stopwatch: $(last_registration), yellow red white grey = $(bar_colours)"
  echo "round $round: back after $(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }') s"
done
import -window root "$shots/gnome-after-replace.png"
kill -0 "$vostrel_pid" || fail "the program ended while the shell was replaced"

echo "== Exit from the shell's menu ends the program with status 0"
exit_from_menu
check_shell_log
echo "1 passed, 0 failed"
