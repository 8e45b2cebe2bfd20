# Shared by every end-to-end test: a work folder, the processes to end at
# exit, and bounded waits.
# The caller sets $shots before sourcing this file.
mkdir -p "$shots"
# The tools whose output the tests read (pactl, convert, printf's numbers)
# speak English with a decimal point, whatever the machine's language; the
# program's own texts are English too.
export LC_ALL=C.UTF-8 LANGUAGE=
# The class of every window the program makes (X11's WM_CLASS, Wayland's
# app_id): the desktop entry's StartupWMClass.
window_class=io.pelmark.Vostrel
work=$(mktemp -d)
pids=()
bus_services=()
# The tests' support files: beside the scripts in the source tree, or in a
# folder of their own beside copies of the scripts.
support=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../support")
[ ! -d "$(dirname "${BASH_SOURCE[0]}")/support" ] || support=$(realpath "$(dirname "${BASH_SOURCE[0]}")/support")

# Writes a session bus's configuration: the machine's own, less every
# service it could start by activation except those named (the hosts'
# helpers, such as the Xfce settings daemon). A notification server or tray
# watcher the machine has installed must not answer in the test's place.
private_bus_config() {
  local services=$work/bus-services name
  mkdir -p "$services"
  for name in "$@"; do
    [ ! -f "/usr/share/dbus-1/services/$name.service" ] || cp "/usr/share/dbus-1/services/$name.service" "$services/"
  done
  sed "s|</busconfig>|  <servicedir>$services</servicedir>\n</busconfig>|" "$support/session-bus.conf" \
    >"$work/session-bus.conf"
  echo "$work/session-bus.conf"
}

# Ends what the test started, clients before the servers they talk to (the
# program and the hosts before the bus and the X server). A host that hangs
# in its own teardown must not hold the test until its time runs out: what
# still runs 10 s after being asked to end is killed, and named.
cleanup() {
  local i reaper
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  (
    trap - EXIT
    sleep 10 </dev/null >/dev/null 2>&1
    for pid in "${pids[@]}"; do
      if [ -d "/proc/$pid" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$pid/status" 2>/dev/null; then
        echo "cleanup: $(cat "/proc/$pid/comm" 2>/dev/null) ($pid) outlived SIGTERM by 10 s and was killed" >&2
        kill -KILL "$pid" 2>/dev/null || true
      fi
    done
  ) &
  reaper=$!
  wait "${pids[@]}" 2>/dev/null || true
  kill "$reaper" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A test may define fail_details to say more of what it saw.
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/vostrel.log" ] && tail -n 60 "$work/vostrel.log" >&2
  if declare -F fail_details >/dev/null; then fail_details >&2 || true; fi
  exit 1
}

# Polls a condition (a shell command) for up to $2 seconds, by the clock:
# a condition that is slow to check does not stretch the wait.
wait_for() {
  local what=$1 deadline=$((SECONDS + ${2:-10}))
  until eval "$what" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
