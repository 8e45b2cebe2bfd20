#!/usr/bin/env bash
# End-to-end test of the alarm's sound: with a real sound server the alarm
# plays through it, and when the server dies in the middle of the alarm the
# program keeps running and keeps alarming.
# Usage: audio_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR
set -euo pipefail
binary=$1
shots=$2
source "$(dirname "$0")/lib.sh"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
  --load="module-null-sink sink_name=speaker" --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
pulse_pid=$!
pids+=($pulse_pid)
wait_for "pactl info" 10 || fail "the sound server did not start"

echo "== an expired target: the alarm plays through the sound server"
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "the alarm did not show the window"
wait_for "pactl list short clients | grep -c -i vostrel" 10 || fail "the alarm did not reach the sound server"

echo "== the sound server dies in the middle of the alarm: the program runs on"
kill -9 "$pulse_pid"
sleep 3
kill -0 "$vostrel_pid" || fail "the program ended with the sound server"
wait_for "[ \$(icon_pixels yellow) -gt 20 ]" 5 || fail "the alarm stopped animating"
[ -n "$(dialog)" ] || fail "the window went away"
exit_from_menu
echo "1 passed, 0 failed"
