#!/usr/bin/env bash
# End-to-end test of the alarm's sound, recorded from a real sound server:
# every second of an alarm sounds its 1000 Hz, 10 ms tone through one
# playback stream; the stream goes away while the countdown counts and
# comes back with the next alarm; a server held up for a moment loses no
# tone; when the server dies in the middle of an alarm the program keeps
# running and keeps alarming. The server is PulseAudio, or PipeWire's
# PulseAudio server.
# Usage: audio_e2e.sh VOSTREL_BINARY SCREENSHOT_DIR [pulseaudio|pipewire]
set -euo pipefail
binary=$1
shots=$2
server=${3:-pulseaudio}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
# A client must not start a server of its own once the test's has died.
echo "autospawn = no" >"$work/client.conf"
export PULSE_CLIENTCONFIG="$work/client.conf"
server_pids=()

start_pulseaudio() {
  pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
    --load="module-null-sink sink_name=speaker" --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
  server_pids+=($!)
  pids+=($!)
  wait_for "pactl info" 30 || fail "the sound server did not start"
}

# PipeWire with its session manager, which needs a session bus, and its
# PulseAudio server. The session manager is kept off the machine's own
# sound, video and Bluetooth devices.
start_pipewire() {
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
  dbus-daemon --config-file="$(private_bus_config)" --nofork --address="$DBUS_SESSION_BUS_ADDRESS" \
    >"$work/dbus.log" 2>&1 &
  pids+=($!)
  wait_for "[ -S '$XDG_RUNTIME_DIR/bus' ]" 30 || fail "the session bus did not start"
  local config="$work/wireplumber-config/wireplumber"
  mkdir -p "$config/main.lua.d" "$config/bluetooth.lua.d"
  printf '%s.enabled = false\n' alsa_monitor v4l2_monitor libcamera_monitor >"$config/main.lua.d/99-no-devices.lua"
  echo "bluez_monitor.enabled = false" >"$config/bluetooth.lua.d/99-no-devices.lua"
  pipewire >"$work/pipewire.log" 2>&1 &
  server_pids+=($!)
  pids+=($!)
  wait_for "[ -S '$XDG_RUNTIME_DIR/pipewire-0' ]" 30 || fail "PipeWire did not start"
  XDG_CONFIG_HOME="$work/wireplumber-config" wireplumber >"$work/wireplumber.log" 2>&1 &
  pids+=($!)
  pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
  server_pids+=($!)
  pids+=($!)
  wait_for "pactl info" 30 || {
    tail -n 20 "$work/pipewire.log" "$work/wireplumber.log" "$work/pipewire-pulse.log" >&2
    fail "PipeWire's PulseAudio server did not start"
  }
  pactl load-module module-null-sink sink_name=speaker >/dev/null
  wait_for "pactl set-default-sink speaker && pactl info | grep -q 'Default Sink: speaker'" 30 ||
    fail "the null sink did not become the default"
}

echo "== $server with a null sink"
"start_$server"

# Everything the sink plays, as it plays it.
rate=48000
recording="$work/speaker.raw"
parec --device=speaker.monitor --raw --format=s16le --rate=$rate --channels=1 --latency-msec=20 >"$recording" &
pids+=($!)
wait_for "[ -s '$recording' ]" 10 || fail "the recording did not start"

# How far the recording has come, in seconds.
recorded() { echo "$(stat -c %s "$recording") $rate" | awk '{ printf "%.3f\n", $1 / 2 / $2 }'; }
# The tones recorded from $1 seconds (to $2), one "start Hz ms" a line.
tones() { python3 "$here/tones.py" "$recording" $rate "$@"; }
# Waits until the recording reaches $1 seconds.
wait_recorded() { wait_for "awk -v t=$1 -v r=\$(recorded) 'BEGIN { exit !(r >= t) }'" "$2"; }
playback_streams() { pactl list short sink-inputs | awk '{ print $1 }'; }

# Checks the tones of an alarm from its tone at $1 seconds on: in the $2
# seconds that follow (each from half a second before a tone is due) at
# least $3 have a whole tone, none has two, and each whole tone is 1000 Hz
# within 2 % and about 10 ms long. A sound shorter than 7 ms is a tone cut
# short: PipeWire under load drops a stretch of a stream now and then, here
# or in the recording, and one that falls on a tone leaves a sliver of it.
# It counts as a lost tone.
check_alarm() {
  local first=$1 seconds=$2 need=$3 label=$4
  tones "$(awk -v f="$first" 'BEGIN { print f - 0.02 }')" \
    "$(awk -v f="$first" -v s="$seconds" 'BEGIN { print f - 0.5 + s }')" >"$work/$label.txt"
  echo "   $label: $(wc -l <"$work/$label.txt") tones; Hz and ms seen:" \
    "$(awk '{ print $2 }' "$work/$label.txt" | sort -n | sed -n '1p;$p' | paste -sd-)," \
    "$(awk '{ print $3 }' "$work/$label.txt" | sort -n | sed -n '1p;$p' | paste -sd-)"
  awk -v from="$first" -v need="$need" '
    { second = int($1 - from + 0.5); count[second]++
      if ($3 < 7) { cut = cut sprintf(" %.3fs lasting %.2f ms", $1, $3); next }
      whole[second] = 1
      if ($2 < 980 || $2 > 1020) bad = bad sprintf(" %.3fs at %.1f Hz", $1, $2)
      if ($3 > 15) bad = bad sprintf(" %.3fs lasting %.2f ms", $1, $3) }
    END {
      for (s in count) if (count[s] > 1) bad = bad sprintf(" second %d has %d tones", s, count[s])
      for (s in whole) seconds++
      if (seconds < need) bad = bad sprintf(" only %d seconds had a whole tone", seconds) (cut == "" ? "" : "; cut:" cut)
      if (bad != "") { print bad; exit 1 }
    }' "$work/$label.txt" >"$work/$label.bad" || { cat "$work/$label.txt" >&2; fail "$label:$(cat "$work/$label.bad")"; }
}

# The time of the $2th tone from $1 seconds of the recording on, found
# within $3 seconds.
nth_tone() {
  wait_for "[ \$(tones $1 | wc -l) -ge $2 ]" "$3" || fail "no tone $2 from ${1}s of the recording on"
  tones "$1" | awk -v n="$2" 'NR == n { print $1 }'
}

echo "== an expired target: every second of the alarm sounds its tone"
start_vostrel
wait_for "[ -n \"\$(dialog)\" ]" 15 || fail "the alarm did not show the window"
# The program beeps as it starts, at any point of a second (possibly a few
# milliseconds before the next second starts), and then at the start of
# every second: the seconds are counted from the third tone.
alarm=$(nth_tone 0 3 20)
wait_recorded "$(awk -v a="$alarm" 'BEGIN { print a + 4 }')" 10 || fail "the recording stalled"
streams=$(playback_streams)
[ "$(echo "$streams" | grep -c .)" -eq 1 ] || fail "playback streams during the alarm: '$streams'"
wait_recorded "$(awk -v a="$alarm" 'BEGIN { print a + 28.8 }')" 40 || fail "the recording stalled"
[ "$(playback_streams)" = "$streams" ] || fail "the alarm changed its playback stream: $streams, then $(playback_streams)"
check_alarm "$alarm" 29 27 first-alarm

# A sound server starved of the processor on a loaded machine, played by
# stopping it for 150 ms forty times, at twenty points of a second: it then
# plays at once what the program has sent ahead, which must reach past the
# hold, so that every second still has its tone, whole. PulseAudio only:
# PipeWire's server loses tones over such holds whatever the program sends
# ahead, so there they would test the server rather than the program.
if [ "$server" = pulseaudio ]; then
  echo "== the sound server held up for 150 ms forty times: no tone lost or cut"
  held_from=$(recorded)
  phases="0.05 0.55 0.30 0.80 0.15 0.65 0.40 0.90 0.25 0.75 0.00 0.50 0.35 0.85 0.10 0.60 0.45 0.95 0.20 0.70"
  for phase in $phases $phases; do
    sleep "$phase"
    kill -STOP "${server_pids[@]}"
    sleep 0.15
    kill -CONT "${server_pids[@]}"
  done
  held_to=$(recorded)
  alarm=$(nth_tone "$held_from" 1 5)
  awk -v a="$alarm" -v h="$held_from" 'BEGIN { exit !(a - h <= 1.2) }' || fail "held: no tone from ${held_from}s to ${alarm}s"
  wait_recorded "$(awk -v t="$held_to" 'BEGIN { print t + 1 }')" 10 || fail "the recording stalled after the holds"
  held_seconds=$(awk -v a="$alarm" -v t="$held_to" 'BEGIN { print int(t - a) }')
  check_alarm "$alarm" "$held_seconds" "$held_seconds" held
fi

echo "== a target 15 seconds ahead: silence and no playback stream while counting"
click_dialog 83 32
xdotool key ctrl+a type "$(date -d '+15 sec' '+%m/%d/%Y %H:%M:%S')"
click_dialog 145 32
wait_for "[ -z \"\$(dialog)\" ]" 5 || fail "OK did not hide the window"
counting=$(recorded)
wait_for "[ -z \"\$(playback_streams)\" ]" 8 || fail "the playback stream stayed while counting: $(playback_streams)"
echo "   playback streams $(awk -v c="$counting" -v r="$(recorded)" 'BEGIN { printf "%.1f", r - c }')s into the count: none"
wait_for "[ -n \"\$(dialog)\" ]" 25 || fail "the second alarm did not show the window"
expired=$(recorded)
quiet=$(tones "$(awk -v c="$counting" 'BEGIN { print c + 1 }')" "$(awk -v e="$expired" 'BEGIN { print e - 1 }')")
[ -z "$quiet" ] || fail "tones while counting: $quiet"
awk -v c="$counting" -v e="$expired" 'BEGIN { exit !(e - c >= 8) }' || fail "the count lasted only from ${counting}s to ${expired}s"

echo "== the second alarm sounds again"
alarm=$(nth_tone "$(awk -v e="$expired" 'BEGIN { print e - 1 }')" 1 10)
wait_recorded "$(awk -v a="$alarm" 'BEGIN { print a + 9.8 }')" 20 || fail "the recording stalled"
check_alarm "$alarm" 10 9 second-alarm

echo "== the sound server dies in the middle of the alarm: the program runs on"
kill -9 "${server_pids[@]}"
sleep 3
kill -0 "$vostrel_pid" || fail "the program ended with the sound server"
wait_for "[ \$(icon_pixels yellow) -gt 20 ]" 5 || fail "the alarm stopped animating"
[ -n "$(dialog)" ] || fail "the window went away"
exit_from_menu
echo "1 passed, 0 failed"
