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

# Polls a condition (a shell command) for up to $2 seconds.
wait_for() {
  local what=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 10; i++)); do
    if eval "$what" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}
