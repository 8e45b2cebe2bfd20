#!/usr/bin/env bash
# End-to-end test of the time left in polybar on X11: a custom/script
# module with tail = true runs "Vostrel --follow"; the bar shows the text
# --query prints, changing each second, with no copy of the program running.
# Usage: polybar_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$(realpath "$1")
shots=$2
command -v polybar >/dev/null || { echo "SKIP: polybar is not installed; bash scripts/install-deps.sh installs it"; exit 77; }
tray_host=none
source "$(dirname "$0")/lib.sh"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/polybar"
cat >"$work/polybar/config.ini" <<BAR
[bar/top]
width = 100%
height = 30
background = #808080
foreground = #000000
font-0 = DejaVu Sans Mono:size=14;3
modules-left = vostrel

[module/vostrel]
type = custom/script
exec = $binary --follow
tail = true
format-background = #ffffff
format-padding = 1
BAR
fail_details() {
  import -window root "$shots/polybar-failure.png" 2>/dev/null
  echo "-- polybar:"; tail -n 20 "$work/polybar.log"
}

source "$(dirname "$0")/status_bar.sh"
grab_bar() { import -window root -crop 400x30+0+0 +repage "$1"; }

echo "== the bar shows the text --query prints, each second anew"
printf '[Settings]\nEndDate=%s\nDisplayPeriod=4\n' "$(date -d '+3 hours' '+%m/%d/%Y %H:%M:%S')" >"$(settings_file)"
polybar --config="$work/polybar/config.ini" top >"$work/polybar.log" 2>&1 &
pids+=($!)
wait_for bar_agrees 20 || fail "the bar reads '$(bar_text)', --query '$("$binary" --query)'"
import -window root "$shots/polybar.png"
bar_ticks 3
bar_agrees || wait_for bar_agrees 3 || fail "the bar reads '$(bar_text)', --query '$("$binary" --query)'"
echo "1 passed, 0 failed"
