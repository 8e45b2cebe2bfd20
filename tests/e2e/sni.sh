# StatusNotifierItem helpers for the end-to-end tests: a private session
# bus, and what the watcher and the program's item say on it.
# Sourced after common.sh.

# Starts a session bus of the test's own; the services it starts by name
# (the Xfce settings daemon) get the variables named.
start_session_bus() {
  local address pid
  { read -r address; read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  pids+=("$pid")
  export DBUS_SESSION_BUS_ADDRESS=$address
  [ $# -eq 0 ] || dbus-update-activation-environment "$@"
}

bus_call() { gdbus call --session --dest "$1" --object-path "$2" --method "$3" "${@:4}"; }

watcher_running() {
  bus_call org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher | grep -q true
}

# The items the watcher knows, one "bus-name/path" a line.
sni_items() {
  bus_call org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
    org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems | grep -o "'[^']*'" | tr -d "'"
}

# Calls a method of the first item: sni_call METHOD ARGUMENTS...
sni_call() {
  local item
  item=$(sni_items | head -n1)
  [ -n "$item" ] || return 1
  bus_call "${item%%/*}" "/${item#*/}" "org.kde.StatusNotifierItem.$1" "${@:2}"
}

# The tooltip's title, which is where the program puts the time left.
sni_tip() {
  local item
  item=$(sni_items | head -n1)
  [ -n "$item" ] || return 1
  bus_call "${item%%/*}" "/${item#*/}" org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem ToolTip |
    grep -o "'[^']*'" | sed -n 2p | tr -d "'"
}

# Reads the lines of text in a picture, as "text|x|y" with x and y the
# line's centre in the picture's own pixels. The picture is made grey, light
# on dark turned dark on light (with "negate"), enlarged and cut to black
# and white, as the OCR engine reads best.
picture_lines() {
  local picture=$1 negate=${2:-}
  convert "$picture" -colorspace gray ${negate:+-negate} -resize 400% -threshold 60% "$work/ocr.png"
  tesseract "$work/ocr.png" - --psm 6 tsv 2>/dev/null | awk -F'\t' '
    NR > 1 && $12 ~ /[^ ]/ {
      key = $3 "." $4 "." $5
      if (!(key in text)) { order[++n] = key; left[key] = $7; top[key] = $8 }
      text[key] = text[key] (text[key] == "" ? "" : " ") $12
      if ($7 + $9 > right[key]) right[key] = $7 + $9
      if ($8 + $10 > bottom[key]) bottom[key] = $8 + $10
      if ($8 < top[key]) top[key] = $8
    }
    END { for (i = 1; i <= n; i++) { k = order[i]
      printf "%s|%d|%d\n", text[k], (left[k] + right[k]) / 8, (top[k] + bottom[k]) / 8 } }'
}

# Only the text of each line.
read_picture() { picture_lines "$@" | cut -d'|' -f1; }
