# StatusNotifierItem helpers for the end-to-end tests: a private session
# bus, and what the watcher and the program's item say on it.
# Sourced after common.sh.

# Starts a session bus of the test's own, which starts by activation only
# the services listed in $bus_services; those get the variables named.
start_session_bus() {
  local address pid config
  config=$(private_bus_config "${bus_services[@]}")
  { read -r address; read -r pid; } < <(dbus-daemon --config-file="$config" --fork --print-address=1 --print-pid=1)
  pids+=("$pid")
  export DBUS_SESSION_BUS_ADDRESS=$address
  [ $# -eq 0 ] || dbus-update-activation-environment "$@"
}

# A call that gives up after 5 s: a host that hangs must not stall the test.
bus_call() { gdbus call --session --timeout 5 --dest "$1" --object-path "$2" --method "$3" "${@:4}"; }

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

# The item's Status: Active, or NeedsAttention during an alarm.
sni_status() {
  local item
  item=$(sni_items | head -n1)
  [ -n "$item" ] || return 1
  bus_call "${item%%/*}" "/${item#*/}" org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Status |
    grep -o "'[^']*'" | tr -d "'"
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

# Counts the pixels of kinds of colour in a picture: "yellow red white off
# grey", off being those far from every one of the 16 standard colours that
# the program's pictures are drawn in (noise, or a host's smoothing).
colour_counts() {
  convert "$1" txt:- | awk -F'[,:() ]+' '
    BEGIN { n = split("0 0 0,128 0 0,0 128 0,128 128 0,0 0 128,128 0 128,0 128 128,128 128 128," \
                      "192 192 192,255 0 0,0 255 0,255 255 0,0 0 255,255 0 255,0 255 255,255 255 255", p, ",") }
    NR > 1 {
      r = $3 + 0; g = $4 + 0; b = $5 + 0
      if (r > 200 && g > 200 && b < 100) yellow++
      if (r > 180 && g < 80 && b < 80) red++
      if (r > 235 && g > 235 && b > 235) white++
      near = 0
      for (i = 1; i <= n && !near; i++) {
        split(p[i], c, " ")
        near = (r - c[1]) ^ 2 < 600 && (g - c[2]) ^ 2 < 600 && (b - c[3]) ^ 2 < 600
      }
      if (!near) off++
      if (r > 90 && r < 200 && g > 90 && g < 200 && b > 90 && b < 200 && (r - g) ^ 2 < 400 && (g - b) ^ 2 < 400) grey++
    } END { print yellow + 0, red + 0, white + 0, off + 0, grey + 0 }'
}

# The alarm as a tray host draws it: twelve pictures of the icon, one every
# 0.7 s from the moment given (nanoseconds), each made by the command given
# (which writes the file it is given), then checked. From the first second
# on each shows a face, many yellow pixels where the clock and the
# stopwatch have none, with at most max_off pixels off the standard
# colours (the default allows a host that smooths what it scales); over the
# pictures both the smile (a red mouth) and the frown (no red) are seen.
# Before that the host may still draw the picture from before the alarm.
# The pictures go into a montage in $shots.
check_alarm_faces() {
  local crop=$1 start=$2 montage=$3 max_off=${4:-1000} i due now yellow red off smiles=0 frowns=0
  local -a taken
  for ((i = 0; i < 12; i++)); do
    due=$((start + i * 700000000))
    now=$(date +%s%N)
    [ "$now" -ge "$due" ] || sleep "$(awk -v ns=$((due - now)) 'BEGIN { printf "%.3f", ns / 1e9 }')"
    taken[i]=$((($(date +%s%N) - start) / 1000000))
    "$crop" "$work/alarm-$i.png"
  done
  montage "$work"/alarm-{0..11}.png -tile 12x1 -geometry +2+2 -background gray -filter point -resize 300% \
    "$shots/$montage" 2>/dev/null || true
  for ((i = 0; i < 12; i++)); do
    read -r yellow red _ off _ < <(colour_counts "$work/alarm-$i.png")
    [ "${taken[i]}" -ge 1000 ] || continue
    [ "$off" -le "$max_off" ] || fail "the picture at ${taken[i]} ms of the alarm is noise: $off pixels off the colours"
    [ "$yellow" -ge 100 ] || fail "no face at ${taken[i]} ms of the alarm (yellow $yellow, red $red)"
    if [ "$red" -ge 10 ]; then smiles=$((smiles + 1)); elif [ "$red" -eq 0 ]; then frowns=$((frowns + 1)); fi
  done
  [ "$smiles" -ge 1 ] && [ "$frowns" -ge 1 ] || fail "the faces do not alternate: $smiles smiles, $frowns frowns"
  [ "$((smiles + frowns))" -ge 8 ] || fail "only $((smiles + frowns)) pictures past the first second are a smile or a frown"
}
