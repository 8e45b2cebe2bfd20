# Measuring helpers shared by the benchmark scripts: medians, memory, CPU
# time and context switches of a running process, and ratios.

# Whether a process has ended (gone, or a zombie its parent has not reaped).
ended() { ! kill -0 "$1" 2>/dev/null || [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null)" = Z ]; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
# The median of one column of a file of figures.
column_median() { awk -v c="$2" '{ print $c }' "$1" | median; }

# Resident and proportional set size in MB.
memory_mb() {
  awk '/^VmRSS/ { printf "%.1f ", $2 / 1024 }' "/proc/$1/status"
  awk '/^Pss:/ { printf "%.1f\n", $2 / 1024 }' "/proc/$1/smaps_rollup"
}

# CPU milliseconds (all threads, from the scheduler's nanosecond counts)
# and context switches of a process over some seconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%d\n", n }'; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }
cost() {
  local pid=$1 seconds=$2 cpu0 sw0
  cpu0=$(cpu_ns "$pid")
  sw0=$(switches "$pid")
  sleep "$seconds"
  # A tenth of a millisecond: whole milliseconds would round a few
  # milliseconds of counting into ratios that mean little.
  echo "$(awk -v ns=$(($(cpu_ns "$pid") - cpu0)) 'BEGIN { printf "%.1f", ns / 1e6 }') $(($(switches "$pid") - sw0))"
}
counting_minutes() { for _ in 1 2 3; do cost "$1" 60; done; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf (b > 0 ? "%.2f" : "-"), a / b }'; }
