#!/usr/bin/env bash
# Measures Vostrel beside a minimal Qt 6 tray program (bench/minimal_tray.cpp)
# and KDE's ktimer from Debian, on Xvfb with the trayer tray host, and prints
# the figures side by side. Nothing here asserts: it reports.
# Usage: bash bench/compare.sh [TICK_SECONDS]   (default 300)
set -euo pipefail
cd "$(dirname "$0")/.."
tick_seconds=${1:-300}

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -z "${VOSTREL_BENCH_INSTALLED:-}" ]; then
  bash scripts/install-deps.sh
  as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
    ktimer dbus libx11-dev libxdamage-dev >/dev/null
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DBUILD_TESTING=OFF >/dev/null
  cmake --build build-bench --target Vostrel vostrel_window vostrel_tone minimal_tray sni_watcher >/dev/null
  cc -O2 bench/tick_watch.c -o build-bench/tick_watch -lX11 -lXdamage
  cc -O2 bench/embed_watch.c -o build-bench/embed_watch -lX11
  # ktimer needs a session bus; all three run on the same one.
  VOSTREL_BENCH_INSTALLED=1 exec dbus-run-session -- bash "$0" "$tick_seconds"
fi

binary=build-bench/app/Vostrel
shots=build-bench/bench-screens
# The test helpers keep their programs off any session bus; ktimer needs
# the one this run started.
session_bus=$DBUS_SESSION_BUS_ADDRESS
source tests/e2e/lib.sh
source bench/measure.sh
export DBUS_SESSION_BUS_ADDRESS=$session_bus
vostrel=$PWD/$binary
minimal=$PWD/build-bench/bench/minimal_tray
config_file=$(settings_file)
# ktimer starts with a running twelve-hour job, as Vostrel starts counting.
ktimer=$work/ktimer-with-job
cat >"$ktimer" <<KTIMER
#!/bin/sh
printf '[Jobs]\\nNumber=1\\n\\n[Job0]\\nCommand=true\\nDelay=43200\\nValue=43200\\nState=2\\n' >"$XDG_CONFIG_HOME/ktimerrc"
exec /usr/bin/ktimer
KTIMER
chmod +x "$ktimer"

embedded() { xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ { p = 1; next }
  p && /^     0x/ { exit } p && /^           0x/ { found = 1 } END { exit !found }'; }
counting_settings() { printf '[Settings]\nEndDate=+12:00\nDisplayPeriod=4\nWhichIcon=5\nVacationDays=0\n' >"$config_file"; }
expired_settings() { rm -f "$config_file"; }

# Starts a program, waits until the tray host has embedded its icon, and
# prints "pid milliseconds". The watch waits for the X server's notice
# instead of polling, so it takes no processor time from the program.
launch() {
  "$PWD/build-bench/embed_watch" "$@" || fail "$1 showed no tray icon"
}

# Ends a program and lets the machine settle, so that the next start-up
# does not share the processor with this one's end.
stop() {
  kill "$1" 2>/dev/null || true
  wait_for "ended $1" 10 || true
  wait_for "! embedded" 10 || true
  sleep 0.5
}

# Ten rounds, each starting the three programs in turn, so that a change in
# the machine's load during the runs falls on all three alike. Prints one
# line of three start-up times per round.
startup_rounds() {
  local i program pid ms
  for i in $(seq 10); do
    for program in "$vostrel" "$minimal" "$ktimer"; do
      read -r pid ms < <(launch "$program")
      stop "$pid"
      printf '%s ' "$ms"
    done
    echo
  done
}

sound_loaded() { grep -c -E 'libpulse|libasound' "/proc/$1/maps" || true; }

echo "== start-up (median of 10, ms until the tray host has embedded the icon)"
counting_settings
startup_rounds >"$work/startup"
s_v=$(column_median "$work/startup" 1)
s_m=$(column_median "$work/startup" 2)
s_k=$(column_median "$work/startup" 3)

echo "== memory 10 s after start, and idle cost over three minutes of counting"
read -r pv _ < <(launch "$vostrel")
read -r pm _ < <(launch "$minimal")
read -r pk _ < <(launch "$ktimer")
sleep 10
read -r rss_v pss_v < <(memory_mb "$pv")
read -r rss_m pss_m < <(memory_mb "$pm")
read -r rss_k pss_k < <(memory_mb "$pk")
sound_before=$(sound_loaded "$pv")
# A single minute's few milliseconds vary by a fifth or more with whatever
# else the machine does: each program's median of three minutes in a row is
# reported.
median_minute() { echo "$(column_median "$1" 1) $(column_median "$1" 2)"; }
counting_minutes "$pv" >"$work/cost_v" &
watches=($!)
counting_minutes "$pm" >"$work/cost_m" &
watches+=($!)
counting_minutes "$pk" >"$work/cost_k" &
watches+=($!)
wait "${watches[@]}"
read -r cpu_v sw_v < <(median_minute "$work/cost_v")
read -r cpu_m sw_m < <(median_minute "$work/cost_m")
read -r cpu_k sw_k < <(median_minute "$work/cost_k")
stop "$pv"; stop "$pm"; stop "$pk"

source bench/command_cost.sh

echo "== a running alarm: cost over 10 s"
expired_settings
read -r pa _ < <(launch "$vostrel")
sleep 2
read -r cpu_a sw_a < <(cost "$pa" 10)
sound_after=$(sound_loaded "$pa")
stop "$pa"

# Prints "median p99 max skipped repeated" for a file of repaint times: the
# first repaint in each wall-clock second is the display's change and its
# lag is how far into the second it came; a second without one was skipped,
# a second with a second change repeated. The first two seconds belong to
# opening the window.
tick_figures() {
  if [ ! -s "$1" ]; then
    echo "no repaint seen in $1" >&2
    echo "- - - - -"
    return
  fi
  awk -v from="$(($(head -n1 "$1") / 1000 + 2))" 'int($1 / 1000) >= from' "$1" >"$work/ticks"
  awk '{ s = int($1 / 1000); if (!(s in first)) { first[s] = $1 % 1000; print first[s] > "/dev/stderr" }
         else if ($1 - last[s] > 100) extra++; last[s] = $1
         if (lo == "" || s < lo) lo = s; if (s > hi) hi = s }
       END { for (s = lo + 1; s < hi; s++) if (!(s in first)) missing++; print missing + 0, extra + 0 }' \
    "$work/ticks" 2>"$work/lags" >"$work/counts"
  sort -n "$work/lags" >"$work/lags.sorted"
  local lines
  lines=$(wc -l <"$work/lags.sorted")
  echo "$(median <"$work/lags.sorted") $(sed -n "$(((lines * 99 + 99) / 100))p" "$work/lags.sorted")" \
    "$(tail -n1 "$work/lags.sorted") $(cat "$work/counts")"
}

echo "== tick accuracy over $tick_seconds s, both programs at once"
counting_settings
read -r pt _ < <(launch "$vostrel")
open_menu
click_menu 0
wait_for "[ -n \"\$(dialog)\" ]" 5 || fail "no window"
read -r win _ _ _ h < <(dialog)
read -r pk _ < <(launch "$ktimer")
# ktimer's main window once it is on screen (its other top-level windows
# stay hidden).
ktimer_window() {
  local id
  for id in $(xwininfo -root -children | awk '/\("ktimer" "ktimer"\)/ { print $1 }'); do
    xwininfo -id "$id" | grep -q IsViewable && { echo "$id"; return; }
  done
}
wait_for "[ -n \"\$(ktimer_window)\" ]" 10 || fail "ktimer shows no window"
kwin=$(ktimer_window)
# Below Vostrel's window: a covered window is not repainted. ktimer may
# place its window again as it settles, so it is moved until it stays.
# ktimer repaints nothing but its counter once a second, so its whole
# window is watched.
below_vostrel() { xdotool windowmove "$kwin" 0 290 && xwininfo -id "$kwin" | grep -q 'upper-left Y: *290$'; }
wait_for below_vostrel 10 && sleep 1 && wait_for below_vostrel 10 || fail "ktimer's window stays over Vostrel's"
"$PWD/build-bench/tick_watch" "$win" $((tick_seconds + 2)) $((46 * h / 103)) $((66 * h / 103)) >"$work/ticks-v" &
watch_v=$!
"$PWD/build-bench/tick_watch" "$kwin" $((tick_seconds + 2)) 0 100000 >"$work/ticks-k"
wait "$watch_v"
stop "$pt"; stop "$pk"
read -r lag_med lag_p99 lag_max skipped repeated < <(tick_figures "$work/ticks-v")
read -r klag_med klag_p99 klag_max kskipped krepeated < <(tick_figures "$work/ticks-k")

cat <<REPORT

| figure | Vostrel | minimal Qt 6 tray | ktimer | Vostrel / minimal | Vostrel / ktimer |
|---|---|---|---|---|---|
| start-up, ms (median of 10) | $s_v | $s_m | $s_k | $(ratio "$s_v" "$s_m") | $(ratio "$s_v" "$s_k") |
| resident memory, MB | $rss_v | $rss_m | $rss_k | $(ratio "$rss_v" "$rss_m") | $(ratio "$rss_v" "$rss_k") |
| proportional memory, MB | $pss_v | $pss_m | $pss_k | $(ratio "$pss_v" "$pss_m") | $(ratio "$pss_v" "$pss_k") |
| CPU per minute counting (median of 3), ms | $cpu_v | $cpu_m | $cpu_k | $(ratio "$cpu_v" "$cpu_m") | $(ratio "$cpu_v" "$cpu_k") |
| context switches per minute counting | $sw_v | $sw_m | $sw_k | $(ratio "$sw_v" "$sw_m") | $(ratio "$sw_v" "$sw_k") |
| CPU over 10 s of alarm, ms | $cpu_a | | | | |
| context switches over 10 s of alarm | $sw_a | | | | |
| tick lag behind the second, ms: median / p99 / max | $lag_med / $lag_p99 / $lag_max | | $klag_med / $klag_p99 / $klag_max | | $(ratio "$lag_p99" "$klag_p99") (p99) |
| skipped / repeated seconds over $tick_seconds s | $skipped / $repeated | | $kskipped / $krepeated | | |
| sound libraries mapped while counting / after an alarm | $sound_before / $sound_after | | | | |
| \`--query\`, ms (median of 20): no copy running / beside the running copy | $q_alone / $q_beside | | | | |
| \`--follow\` counting seconds: CPU ms / context switches / lines a minute | $f_cpu_s / $f_sw_s / $f_lines_s | | | | |
| \`--follow\` counting days: CPU ms / context switches / lines a minute | $f_cpu_d / $f_sw_d / $f_lines_d | | | | |
| \`--follow\` resident memory, MB | $f_rss | | | | |
REPORT

# The same programs on the StatusNotifierItem path, with a watcher of the
# benchmark's own on a private bus.
echo
bash bench/sni_compare.sh
bash bench/alarm_cost.sh "$vostrel"
