# A headless sway session for the end-to-end tests on Wayland: the program
# runs natively in it, on a session bus of the test's own, with a pointer
# the test moves through sway's seat commands.
# The caller sets $binary and $shots, checks its own tools, and sources this
# file first thing: as root it then runs again as an unprivileged user (sway
# will not run as root). Then it calls start_sway with the bar's lines of
# sway's configuration.
# Needs VIRTUAL_POINTER in the environment (NOTIFICATION_SERVER is passed on).
for tool in sway swaymsg grim tesseract gdbus python3 setpriv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
  { echo "SKIP: qt6-wayland is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
[ -x "${VIRTUAL_POINTER:-}" ] || { echo "SKIP: the virtual_pointer helper was not built (it needs libwayland-dev)"; exit 77; }

# As root, the test runs again as nobody, from copies that user can reach
# wherever the checkout lies, and its screenshots are copied back at the end.
if [ "$(id -u)" -eq 0 ]; then
  mkdir -p "$shots"
  copies=$(mktemp -d)
  here=$(dirname "$0")
  cp "$0" "$here/common.sh" "$here/sni.sh" "$here/sway.sh" "$here/status_bar.sh" "$binary" "$VIRTUAL_POINTER" "$copies/"
  # The program's window and tone modules sit beside it.
  cp "$(dirname "$binary")"/libvostrel_*.so "$copies/"
  [ -z "${NOTIFICATION_SERVER:-}" ] || cp "$NOTIFICATION_SERVER" "$copies/"
  mkdir "$copies/shots" "$copies/support"
  cp "$here/../support/session-bus.conf" "$copies/support/"
  if [ -n "${FONTCONFIG_FILE:-}" ]; then
    cp "$FONTCONFIG_FILE" "$copies/support/fonts.conf"
    export FONTCONFIG_FILE=$copies/support/fonts.conf
  fi
  # The leak checker's suppressions, where given, from a copy too.
  if [[ ${LSAN_OPTIONS:-} =~ suppressions=([^:]*) ]]; then
    cp "${BASH_REMATCH[1]}" "$copies/lsan.supp"
    export LSAN_OPTIONS=${LSAN_OPTIONS/"${BASH_REMATCH[1]}"/$copies/lsan.supp}
  fi
  chown -R nobody:nogroup "$copies"
  setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
    VIRTUAL_POINTER="$copies/$(basename "$VIRTUAL_POINTER")" \
    NOTIFICATION_SERVER="${NOTIFICATION_SERVER:+$copies/$(basename "$NOTIFICATION_SERVER")}" \
    bash "$copies/$(basename "$0")" "$copies/$(basename "$binary")" "$copies/shots" && status=0 || status=$?
  cp "$copies"/shots/*.png "$shots"/ 2>/dev/null || true
  rm -rf "$copies"
  exit "$status"
fi

source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/sni.sh"
export HOME="$work" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/Pelmark"
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK
export NO_AT_BRIDGE=1 QT_QPA_PLATFORM=wayland
# Under AddressSanitizer, whole stacks for every allocation, so that the
# Wayland libraries' leaks at exit are matched by their suppressions.
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman
start_session_bus

settings_file() { echo "$XDG_CONFIG_HOME/Pelmark/$(basename "$binary").conf"; }

# Starts sway with the bar's configuration given, and the seat's pointer.
# The pointer hides when still, so that screenshots show only what the
# programs draw.
start_sway() {
  printf 'xwayland disable\noutput HEADLESS-1 resolution 1024x768\nseat * hide_cursor 100\n%s\n' "$1" \
    >"$work/sway.conf"
  sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  pids+=($!)
  wait_for "compgen -G '$XDG_RUNTIME_DIR/sway-ipc.*.sock'" 20 || { cat "$work/sway.log" >&2; fail "sway did not start"; }
  SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")
  WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]" | head -n1)")
  export SWAYSOCK WAYLAND_DISPLAY
  "$VIRTUAL_POINTER" >"$work/pointer.log" 2>&1 &
  pids+=($!)
  wait_for "grep -q ready '$work/pointer.log'" 10 || { cat "$work/pointer.log" >&2; fail "no pointer for the seat"; }
}

# Starts the program; it is up once it listens for later starts of itself.
start_vostrel() {
  "$binary" >"$work/vostrel.log" 2>&1 &
  vostrel_pid=$!
  pids+=($vostrel_pid)
  wait_for "compgen -G '$XDG_RUNTIME_DIR/*.socket'" 10 || fail "the program did not come up"
}

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
# The pointer goes to the corner, where it hides off the screen.
pointer_away() { swaymsg seat - cursor set 1023 767 >/dev/null; }

# The tray icon in a bar along the top, $bar_height high: the centre of the
# clock face's white pixels in the bar's right half, where the tray is.
icon_centre() {
  grim -g "512,0 512x$bar_height" "$work/bar.png"
  convert "$work/bar.png" txt:- | awk -F'[,:() ]+' 'NR > 1 && $3 > 235 && $4 > 235 && $5 > 235 {
      n++; x += $1; y += $2 } END { if (n > 20) print 512 + int(x / n), int(y / n) }'
}
click_icon() {
  local x y
  read -r x y < <(icon_centre)
  click "$x" "$y" "$1"
}

# What is new and light on screen since a picture taken before, as
# "width height x y": a menu, which may overlap the bar; light pixels only,
# so that a dark tooltip does not count.
new_light_box() {
  grim "$work/now.png"
  convert "$work/now.png" "$1" -compose difference -composite -threshold 5% "$work/changed.png"
  convert "$work/now.png" -threshold 90% "$work/changed.png" -compose multiply -composite -format '%@' info:- |
    awk -F'[x+]' '$1 >= 80 && $2 >= 60 { print $1, $2, $3, $4 }'
}
# The box of the menu that hangs from the window's corner, as
# "width height x y": the white area around a point just inside it, filled
# with a colour none of the pictures has.
popup_box() {
  local x y
  IFS='|' read -r _ _ x y _ _ < <(dialog)
  [ -n "$x" ] || return 0
  grim "$work/screen.png"
  convert "$work/screen.png" -fill "#123456" -draw "color $((x + 12)),$((y + 12)) floodfill" -fill black +opaque "#123456" \
    -format '%@' info:- | awk -F'[x+]' '$1 >= 80 && $2 >= 60 { print $1, $2, $3, $4 }'
}
# Reads a menu in a box of the screen ("width height x y" in $menu_box):
# "text|x|y" a line in menu.txt, x and y on screen.
read_menu() {
  local w h x y
  read -r w h x y <<<"$menu_box"
  grim -g "$x,$y ${w}x$h" "$work/menu.png"
  picture_lines "$work/menu.png" | awk -F'|' -v x="$x" -v y="$y" '{ print $1 "|" $2 + x "|" $3 + y }' >"$work/menu.txt"
}
menu_entries() { cut -d'|' -f1 "$work/menu.txt" | paste -sd '|'; }
# The menu's box no longer shows the menu.
menu_closed() {
  local w h x y
  read -r w h x y <<<"$menu_box"
  grim -g "$x,$y ${w}x$h" "$work/menu-now.png"
  [ "$(compare -metric AE "$work/menu.png" "$work/menu-now.png" null: 2>&1)" != 0 ]
}
# Clicks the entry of the menu read last; the screen just before the click
# is kept for a failure's report.
click_entry() {
  local x y
  IFS='|' read -r _ x y < <(grep "^$1|" "$work/menu.txt") || fail "no '$1' in the menu: $(menu_entries)"
  grim "$work/before-click.png"
  click "$x" "$y"
  echo "clicked '$1' at $x,$y" >>"$work/clicks.log"
}
# What a failure after a menu's entry was chosen needs to be understood: the
# menu as read, its box afterwards, the screen before the click, the clicks.
menu_details() {
  local name=$1
  echo "-- clicks: $(paste -sd ';' "$work/clicks.log" 2>/dev/null)"
  echo "-- menu read: $(paste -sd ';' "$work/menu.txt" 2>/dev/null) in box ${menu_box:-none}"
  cp "$work/menu.png" "$shots/$name-menu-read.png" 2>/dev/null
  cp "$work/menu-now.png" "$shots/$name-menu-after.png" 2>/dev/null
  cp "$work/before-click.png" "$shots/$name-before-click.png" 2>/dev/null
  return 0
}
