# The command line's figures, sourced by bench/compare.sh after its helpers:
# how long --query takes (median of 20 runs, with no copy running and
# beside a running copy, which it asks for its countdown), and what
# --follow costs a minute counting seconds and counting days (CPU time,
# context switches, lines printed) and its resident memory. Sets q_alone,
# q_beside, f_cpu_s, f_sw_s, f_lines_s, f_cpu_d, f_sw_d, f_lines_d, f_rss.

# Milliseconds of 20 runs of --query, one a line.
query_times() {
  local i t0 t1
  for i in $(seq 20); do
    t0=$(date +%s%N)
    "$vostrel" --query >/dev/null
    t1=$(date +%s%N)
    awk -v ns=$((t1 - t0)) 'BEGIN { printf "%.1f\n", ns / 1e6 }'
  done
}

# A minute of --follow: "cpu_ms switches lines resident_MB".
follow_minute() {
  local pid
  "$vostrel" --follow >"$work/follow.out" &
  pid=$!
  wait_for "[ -s '$work/follow.out' ]" 10 || fail "--follow printed nothing"
  sleep 1
  local before cpu sw
  before=$(wc -l <"$work/follow.out")
  read -r cpu sw < <(cost "$pid" 60)
  echo "$cpu $sw $(($(wc -l <"$work/follow.out") - before)) $(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

echo "== the command line: --query (20 runs each) and a minute of --follow"
counting_settings
q_alone=$(query_times | median)
read -r pq _ < <(launch "$vostrel")
q_beside=$(query_times | median)
stop "$pq"
read -r f_cpu_s f_sw_s f_lines_s f_rss < <(follow_minute)
printf '[Settings]\nEndDate=+2400:00\nDisplayPeriod=0\n' >"$config_file"
read -r f_cpu_d f_sw_d f_lines_d _ < <(follow_minute)
counting_settings
