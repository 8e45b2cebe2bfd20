# Shared by the end-to-end tests: an X server with a tray host, the program
# under test, and helpers to find its windows and click them.
# The caller sets $binary and $shots before sourcing this file, and
# tray_host=none when it starts a tray host of its own, or none, later.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# A free display, chosen by the X server itself. Without -noreset the
# server starts over whenever its last client leaves, as when a test ends
# its tray host and its program, and turns the next client away meanwhile.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for "[ -s '$work/display' ]" 10 || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
# No session bus unless a test starts one of its own: without an address,
# every D-Bus client would launch a bus daemon for the display at its start
# (X11 autolaunch).
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"

# A real window manager, for what depends on one (minimising, framing).
start_window_manager() {
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" 10 || fail "openbox did not start"
}

start_tray_host() {
  local attempt
  for attempt in 1 2 3; do
    trayer --edge top --align right --widthtype pixel --width 120 --height 32 \
      --transparent false --tint 0x808080 >"$work/trayer.log" 2>&1 &
    tray_pid=$!
    pids+=($tray_pid)
    # A loaded machine can start the panel slowly; try again rather than fail.
    if wait_for "xwininfo -root -tree | grep -c '\"panel\": (\"panel\" \"trayer\")'" 10; then
      return 0
    fi
    kill "$tray_pid" 2>/dev/null || true
  done
  cat "$work/trayer.log" "$work/xvfb.log" >&2
  fail "trayer did not start on $DISPLAY"
}

# Visible Vostrel windows as "id x y width height", whether a window manager
# has framed them or not.
windows() {
  local id
  for id in $(xdotool search --onlyvisible --class "^$window_class\$" 2>/dev/null); do
    xwininfo -id "$id" | awk -v id="$id" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF } /Map State: IsViewable/ { seen = 1 }
      END { if (seen) print id, x, y, w, h }'
  done
}
dialog() { windows | awk '$4 > 300'; }
menu() { windows | awk '$4 < 300 && $5 > 60'; }
tooltip() { windows | awk '$5 < 40 && $4 > 40'; }

# Vostrel's windows embedded in trayer's panel, at whatever depth a window
# manager has put the panel, as "width height x y".
tray_icons() {
  xwininfo -root -tree | awk -v class="\"$window_class\")" '
    /"panel": \("panel" "trayer"\)/ { match($0, /^ */); depth = RLENGTH; inpanel = 1; next }
    inpanel { match($0, /^ */); if (RLENGTH <= depth) exit }
    inpanel && index($0, class) {
      match($0, /[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+  \+-?[0-9]+\+-?[0-9]+/)
      split(substr($0, RSTART, RLENGTH), p, /[x+ ]+/)
      print p[1], p[2], p[5], p[6]
    }'
}

# The centre of the tray icon.
icon_centre() { tray_icons | awk 'NR == 1 { print $3 + int($1 / 2), $4 + int($2 / 2) }'; }

# Counts the pixels of one kind of colour (yellow, blue or white) in the
# tray icon's square; the tray host may scale the icon and blend its edges.
icon_pixels() {
  local kind=$1 x y
  read -r x y < <(icon_centre)
  import -window root -crop 16x16+$((x - 8))+$((y - 8)) "$work/icon.png"
  convert "$work/icon.png" txt:- | awk -v kind="$kind" -F'[(),]' 'NR > 1 {
      r = $3 + 0; g = $4 + 0; b = $5 + 0
      if (kind == "yellow" && r > 200 && g > 200 && b < 100) n++
      if (kind == "blue" && b > 150 && r < 120 && g < 120) n++
      if (kind == "white" && r > 235 && g > 235 && b > 235) n++
    } END { print n + 0 }'
}

# Starts the program, behind the command and environment given, if any.
start_vostrel() {
  "$@" "$binary" >"$work/vostrel.log" 2>&1 &
  vostrel_pid=$!
  pids+=($vostrel_pid)
  wait_for "[ -n \"\$(icon_centre)\" ]" 15 ||
    fail "no tray icon appeared; the program $(kill -0 "$vostrel_pid" 2>/dev/null && echo runs || echo ended)"
  # An icon just embedded may not be drawn yet: wait for its picture.
  wait_for "[ \$(icon_pixels white) -gt 0 ] || [ \$(icon_pixels yellow) -gt 0 ]" 10 || fail "the tray icon stays blank"
}

# Clicks a point given in dialog units inside the countdown window.
# A window manager may still be placing a window that has just appeared:
# the click waits until the window stands still.
click_dialog() {
  local id x y w h before now tries
  now=$(dialog)
  for ((tries = 0; tries < 20; tries++)); do
    before=$now
    sleep 0.1
    now=$(dialog)
    [ -n "$now" ] && [ "$now" = "$before" ] && break
  done
  read -r id x y w h <<<"$now"
  xdotool mousemove $((x + $1 * w / 169)) $((y + $2 * h / 103)) click 1
}

settings_file() { echo "$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"; }

# Opens the tray menu with a right click. Qt closes an open menu when
# another window appears, as the alarm's window does at the first tick of an
# expired countdown, so a menu that vanished is asked for again.
open_menu() {
  local attempt
  for attempt in 1 2 3; do
    click_icon 3
    wait_for "[ -n \"\$(menu)\" ]" 3 && return 0
  done
  fail "no menu on right click"
}

# The menu can also vanish between finding it and clicking Exit: then the
# click meets nothing and the whole choice is made again.
exit_from_menu() {
  local attempt
  for attempt in 1 2 3; do
    open_menu
    click_menu last
    wait_for "! kill -0 $vostrel_pid" 5 && break
  done
  kill -0 "$vostrel_pid" 2>/dev/null && fail "Exit did not end the program"
  wait "$vostrel_pid" && status=0 || status=$?
  [ "$status" -eq 0 ] || fail "exit status $status"
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

# Reads the text in a rectangle of the screen (x y width height): its frame
# shaved off, the text cut out and enlarged, then read by tesseract as one
# line of the program's figures and units (or of the characters given).
# None of those texts has spaces around a colon: any read there are dropped.
read_text() {
  import -window root -crop "$3x$4+$1+$2" +repage "$work/screen.png"
  convert "$work/screen.png" -shave 2x2 -trim +repage -resize "${ocr_scale:-400}%" -bordercolor white -border 20 \
    "$work/text.png"
  tesseract "$work/text.png" - --psm 7 -c tessedit_char_whitelist="${5:-0123456789:- DaysHrMinSecHMS}" 2>/dev/null |
    sed 's/^ *//; s/ *$//; s/ *: */:/g' | head -n 1
}

# Rests the pointer on the tray icon until its tooltip shows. An icon just
# embedded may not answer yet, so the pointer comes again from elsewhere.
hover_icon() {
  local x y attempt
  for attempt in 1 2 3 4 5; do
    read -r x y < <(icon_centre)
    xdotool mousemove 0 300 sleep 0.2 mousemove $((x - 5)) "$y" sleep 0.2 mousemove "$x" "$y"
    wait_for "[ -n \"\$(tooltip_text)\" ]" 3 && return 0
  done
  fail "no tooltip on the tray icon"
}
# The tooltip's text, while it shows.
tooltip_text() {
  local id x y w h
  read -r id x y w h < <(tooltip)
  [ -z "$id" ] || read_text "$x" "$y" "$w" "$h"
}

# The tooltip's text once it matches the pattern, read again for up to 3 s:
# the tooltip is redrawn every second, and a read in the middle of a redraw
# finds nothing where it was. Prints nothing and fails if it never matches.
tooltip_matching() {
  local text deadline=$((SECONDS + 3))
  while :; do
    text=$(tooltip_text)
    [[ "$text" =~ $1 ]] && { echo "$text"; return 0; }
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# The menu's entries by their text, top to bottom.
menu_entries() {
  local id x y w h
  read -r id x y w h < <(menu)
  [ -n "$id" ] || return 0
  import -window root -crop "${w}x$h+$x+$y" +repage -resize 300% "$work/menu.png"
  tesseract "$work/menu.png" - --psm 6 2>/dev/null | sed 's/^ *//; s/ *$//' | grep -v '^$' || true
}

# The big figure of the countdown window (dialog units 5,46 159x20).
display_text() {
  local id x y w h
  read -r id x y w h < <(dialog)
  [ -n "$id" ] && read_text $((x + 5 * w / 169)) $((y + 46 * h / 103)) $((159 * w / 169)) $((20 * h / 103))
}

# Whether the display reads as the text matches the pattern, at one of
# several scales: the OCR engine misreads some figures at one scale that
# it reads right at another (at 400%, "-227329:-52:-50" came out with an
# extra 1).
display_matches() {
  local scale
  for scale in 400 300 200; do
    [[ "$(ocr_scale=$scale display_text)" =~ $1 ]] && return 0
  done
  return 1
}

# The target box of the countdown window (dialog units 45,26 76x12).
target_text() {
  local id x y w h
  read -r id x y w h < <(dialog)
  [ -n "$id" ] && read_text $((x + 45 * w / 169)) $((y + 26 * h / 103)) $((76 * w / 169)) $((12 * h / 103)) '0123456789/: '
}

# Types a target into the window's target box and leaves the box, which
# reads it; typed again should the box not show it (a loaded machine may
# lose the click that gives the box the focus).
enter_target() {
  local attempt
  for attempt in 1 2 3; do
    click_dialog 83 32
    xdotool key ctrl+a type "$1"
    xdotool key Tab
    wait_for "[ \"\$(target_text)\" = '$1' ]" 3 && return 0
  done
  fail "the target box reads '$(target_text)', not '$1'"
}

# The seconds a time left stands for: "1:02:03 HMS", "3723 Secs".
seconds_of() {
  awk '/HMS$/ { split($1, p, ":"); print p[1] * 3600 + p[2] * 60 + p[3]; exit }
       /Secs$/ { print $1; exit }'
}

# Waits until a reading (a command that prints text) has changed n times,
# each within 5 seconds: the program has ticked that often.
wait_for_ticks() {
  local read=$1 n=$2 last now i tries
  last=$($read)
  for ((i = 0; i < n; i++)); do
    for ((tries = 0; tries < 25; tries++)); do
      now=$($read)
      [ -n "$now" ] && [ "$now" != "$last" ] && break
      sleep 0.2
    done
    [ "$tries" -lt 25 ] || return 1
    last=$now
  done
}

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Pelmark"
if [ "${tray_host:-trayer}" = trayer ]; then start_tray_host; fi
