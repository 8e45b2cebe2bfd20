#!/usr/bin/env bash
# Smoke test of an installed Vostrel: it starts, its tray icon appears, its
# window carries the class that the desktop entry's StartupWMClass names (so
# that taskbars tie it to the launcher), and Exit from the tray menu ends it
# with status 0.
# Usage: smoke_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR [DESKTOP_ENTRY]
set -euo pipefail
binary=$1
shots=$2
desktop_entry=${3:-}
source "$(dirname "$0")/lib.sh"

# A target an hour ahead: an expired one would raise the alarm, whose window
# closes a tray menu that is open at that moment.
printf '[Settings]\nEndDate=+1:00\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' >"$(settings_file)"
start_vostrel
import -window root "$shots/installed.png"
if [ -n "$desktop_entry" ]; then
  wanted=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
  [ -n "$wanted" ] || fail "$desktop_entry has no StartupWMClass"
  open_menu
  click_menu 0
  wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "Update Timer did not show the window"
  read -r id _ < <(dialog)
  # WM_CLASS(STRING) = "instance", "class"
  class=$(xprop -id "$id" WM_CLASS | sed -n 's/.*= "[^"]*", "\(.*\)"$/\1/p')
  [ "$class" = "$wanted" ] || fail "the window's class is '$class', the launcher's StartupWMClass '$wanted'"
  import -window root "$shots/installed-window.png"
fi
exit_from_menu
echo "1 passed, 0 failed"
