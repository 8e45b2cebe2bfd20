#!/usr/bin/env bash
# Smoke test of an installed Vostrel: it starts, its tray icon appears, and
# Exit from the tray menu ends it with status 0.
# Usage: smoke_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

start_vostrel
import -window root "$shots/installed.png"
exit_from_menu
echo "1 passed, 0 failed"
