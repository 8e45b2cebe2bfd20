#!/usr/bin/env bash
# Measures Vostrel beside the minimal Qt 6 tray program (bench/minimal_tray.cpp)
# on the StatusNotifierItem path: both on Xvfb and one private session bus
# with the benchmark's own watcher (bench/sni_watcher.cpp), which also says
# a host is there, so that Qt's tray icon speaks StatusNotifierItem too.
# Start-up until the watcher has the item registered, memory, CPU per minute
# counting, and the D-Bus messages each program sends while counting in
# seconds and in days. It prints figures and never fails on them.
# Usage: bash bench/sni_compare.sh   (bench/compare.sh runs it at its end)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -f build-bench/CMakeCache.txt ]; then
  bash scripts/install-deps.sh
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build build-bench --target Vostrel minimal_tray sni_watcher >/dev/null

binary=build-bench/app/Vostrel
shots=build-bench/bench-screens
tray_host=none
source tests/e2e/lib.sh
source tests/e2e/sni.sh
source bench/measure.sh
vostrel=$PWD/$binary
minimal=$PWD/build-bench/bench/minimal_tray
config_file=$(settings_file)
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_session_bus
"$PWD/build-bench/bench/sni_watcher" >"$work/watcher.log" 2>&1 &
pids+=($!)
wait_for "grep -q ready '$work/watcher.log'" 10 || fail "the watcher did not start"

# Target twelve hours ahead, shown in a unit (3 seconds, 0 days).
counting_settings() {
  printf '[Settings]\nEndDate=+12:00\nDisplayPeriod=%s\nWhichIcon=5\nVacationDays=0\n' "$1" >"$config_file"
}

# Starts a program and prints "pid milliseconds" once the watcher has its
# item; the time is the watcher's own, taken as the call came in.
launch() {
  local start pid
  start=$(date +%s%N)
  "$1" >/dev/null 2>&1 &
  pid=$!
  wait_for "grep -q '^$pid ' '$work/watcher.log'" 15 || fail "$1 registered no item"
  awk -v pid="$pid" -v start="$start" '$1 == pid { printf "%d %.1f\n", pid, ($2 - start) / 1e6; exit }' \
    "$work/watcher.log"
}
bus_name() { awk -v pid="$1" '$1 == pid { print $3; exit }' "$work/watcher.log"; }

stop() {
  kill "$1" 2>/dev/null || true
  wait_for "ended $1" 10 || true
  sleep 0.5
}

# Messages a connection sends over a minute: signals, calls, replies, errors.
messages_per_minute() {
  timeout 60 dbus-monitor --session "sender='$1'" >"$work/monitor-$1.log" 2>/dev/null || true
  grep -cE "^(signal|method call|method return|error) .* sender=$1 " "$work/monitor-$1.log" || true
}

echo "== start-up (median of 10, ms until the watcher has the item)"
counting_settings 4
for _ in $(seq 10); do
  for program in "$vostrel" "$minimal"; do
    read -r pid ms < <(launch "$program")
    stop "$pid"
    printf '%s ' "$ms"
  done
  echo
done >"$work/startup"
s_v=$(column_median "$work/startup" 1)
s_m=$(column_median "$work/startup" 2)

echo "== memory 10 s after start; CPU and D-Bus messages over three minutes counting seconds"
counting_settings 3
read -r pv _ < <(launch "$vostrel")
read -r pm _ < <(launch "$minimal")
sleep 10
read -r rss_v pss_v < <(memory_mb "$pv")
read -r rss_m pss_m < <(memory_mb "$pm")
counting_minutes "$pv" >"$work/cost_v" &
watches=($!)
counting_minutes "$pm" >"$work/cost_m" &
watches+=($!)
messages_per_minute "$(bus_name "$pv")" >"$work/messages_v" &
watches+=($!)
messages_per_minute "$(bus_name "$pm")" >"$work/messages_m" &
watches+=($!)
wait "${watches[@]}"
read -r cpu_v sw_v < <(echo "$(column_median "$work/cost_v" 1) $(column_median "$work/cost_v" 2)")
read -r cpu_m sw_m < <(echo "$(column_median "$work/cost_m" 1) $(column_median "$work/cost_m" 2)")
msg_v=$(cat "$work/messages_v")
msg_m=$(cat "$work/messages_m")
stop "$pv"
stop "$pm"

echo "== a minute counting days"
counting_settings 0
read -r pd _ < <(launch "$vostrel")
sleep 2
cost "$pd" 60 >"$work/cost_d" &
watch=$!
msg_d=$(messages_per_minute "$(bus_name "$pd")")
wait "$watch"
read -r cpu_d sw_d <"$work/cost_d"
stop "$pd"

per_tick() { awk -v n="$1" 'BEGIN { printf "%.2f", n / 60 }'; }
cat <<REPORT

| StatusNotifierItem path | Vostrel | minimal Qt 6 tray | Vostrel / minimal |
|---|---|---|---|
| start-up until the watcher has the item, ms (median of 10) | $s_v | $s_m | $(ratio "$s_v" "$s_m") |
| resident memory, MB | $rss_v | $rss_m | $(ratio "$rss_v" "$rss_m") |
| proportional memory, MB | $pss_v | $pss_m | $(ratio "$pss_v" "$pss_m") |
| CPU per minute counting seconds (median of 3), ms | $cpu_v | $cpu_m | $(ratio "$cpu_v" "$cpu_m") |
| context switches per minute counting seconds | $sw_v | $sw_m | $(ratio "$sw_v" "$sw_m") |
| D-Bus messages sent per minute counting seconds (per tick) | $msg_v ($(per_tick "$msg_v")) | $msg_m ($(per_tick "$msg_m")) | |
| D-Bus messages sent per minute counting days | $msg_d | | |
| CPU / context switches per minute counting days, ms | $cpu_d / $sw_d | | |
REPORT
