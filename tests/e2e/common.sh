# Shared by every end-to-end test: a work folder, the processes to end at
# exit, and bounded waits.
# The caller sets $shots before sourcing this file.
mkdir -p "$shots"
# The class of every window the program makes (X11's WM_CLASS, Wayland's
# app_id): the desktop entry's StartupWMClass.
window_class=io.pelmark.Vostrel
work=$(mktemp -d)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
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
