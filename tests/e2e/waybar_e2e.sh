#!/usr/bin/env bash
# End-to-end test of the time left in a status bar on Wayland: waybar, in
# sway (headless), runs "Vostrel --follow --format json" as a custom module
# beside the running program. The bar shows the time left as --query
# prints it, changes each second, turns to the expired class at the end,
# and a click on the module runs "Vostrel --show", which shows the window.
# Usage: waybar_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR (VIRTUAL_POINTER in the
# environment: the helper that gives the seat a pointer)
set -euo pipefail
binary=$(realpath "$1")
shots=$2
command -v waybar >/dev/null || { echo "SKIP: waybar is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
command -v tesseract >/dev/null || { echo "SKIP: tesseract is not installed"; exit 77; }
source "$(dirname "$0")/sway.sh"

# The module alone on a bar along the top: black text on white, red once
# the time has run out.
mkdir -p "$XDG_CONFIG_HOME/waybar"
cat >"$XDG_CONFIG_HOME/waybar/config" <<BAR
{ "layer": "top", "position": "top", "height": 30, "modules-left": ["custom/vostrel"],
  "custom/vostrel": { "exec": "$binary --follow --format json", "return-type": "json",
                      "on-click": "$binary --show", "format": "{}" } }
BAR
cat >"$XDG_CONFIG_HOME/waybar/style.css" <<'STYLE'
* { font-family: "DejaVu Sans Mono"; font-size: 18px; }
window#waybar { background: #808080; }
#custom-vostrel { background: #ffffff; color: #000000; padding: 0 10px; }
#custom-vostrel.expired { background: #ff0000; }
STYLE
fail_details() {
  grim "$shots/waybar-failure.png" 2>/dev/null
  echo "-- waybar:"; tail -n 20 "$work/waybar.log"
}
start_sway ""

source "$(dirname "$0")/status_bar.sh"
grab_bar() { grim -g "0,0 400x30" "$1"; }
# Red pixels at the bar's left end: the expired class's background.
red_pixels() {
  grab_bar "$work/bar.png"
  convert "$work/bar.png" txt:- | awk -F'[(),]' 'NR > 1 && $3 > 200 && $4 < 60 && $5 < 60 { n++ } END { print n + 0 }'
}

echo "== the bar shows the time left as --query prints it"
end=$(($(date +%s) + 40))
printf '[Settings]\nEndDate=%s\nDisplayPeriod=4\n' "$(date -d "@$end" '+%m/%d/%Y %H:%M:%S')" >"$(settings_file)"
start_vostrel
waybar >"$work/waybar.log" 2>&1 &
pids+=($!)
wait_for bar_agrees 20 || fail "the bar reads '$(bar_text)', --query '$("$binary" --query)'"
grim "$shots/waybar-counting.png"

echo "== it changes each second"
bar_ticks 3
bar_agrees || wait_for bar_agrees 3 || fail "the bar reads '$(bar_text)', --query '$("$binary" --query)'"
[ "$(red_pixels)" -eq 0 ] || fail "the module is red before the end"

echo "== a click on the module shows the window"
[ -z "$(dialog)" ] || fail "the window shows before the click"
click 40 15
pointer_away
wait_for "[ -n \"\$(dialog)\" ]" 10 || fail "a click on the module did not show the window"
# The bar goes on without the program: the figure comes from its settings.
"$binary" --quit || fail "--quit ended with $?"
wait_for "! kill -0 $vostrel_pid" 10 || fail "--quit did not end the program"

echo "== at the end the module turns to the expired class"
wait_for "[ \$(red_pixels) -gt 500 ]" 60 || fail "the module did not turn red at the end"
[ "$(date +%s)" -gt "$end" ] || fail "the module turned red before the end"
wait_for "[[ \"\$(bar_text)\" =~ ^0:0:-[0-9]+\ HMS$ ]]" 5 || fail "the expired bar reads '$(bar_text)'"
grim "$shots/waybar-expired.png"
echo "1 passed, 0 failed"
