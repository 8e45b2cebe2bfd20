# Shared by the status-bar scenarios: the text a bar's module shows at the
# bar's left end, read by OCR, against what "Vostrel --query" prints. The
# scenario defines grab_bar FILE, which saves the bar's left 400x30 pixels,
# and sets $binary.

# The module's text (at the scale given, in per cent: the OCR engine
# misreads some figures at one scale that it reads right at another). The
# bar's grey and the expired class's red turn white around the text.
bar_text() {
  grab_bar "$work/bar.png"
  convert "$work/bar.png" -fuzz 20% -fill white -opaque '#808080' -opaque '#ff0000' -trim +repage \
    -resize "${1:-300}%" -bordercolor white -border 20 "$work/bar-text.png"
  tesseract "$work/bar-text.png" - --psm 7 -c tessedit_char_whitelist='0123456789:- HMS' 2>/dev/null |
    sed 's/^ *//; s/ *$//; s/ *: */:/g' | head -n 1
}

# Whether the bar shows what --query prints, read just before or after.
bar_agrees() {
  local before after scale shown
  for scale in 300 400 200; do
    before=$("$binary" --query)
    shown=$(bar_text $scale)
    after=$("$binary" --query)
    [ -n "$shown" ] && { [ "$shown" = "$before" ] || [ "$shown" = "$after" ]; } && return 0
  done
  return 1
}

# Waits for the bar's text to change n times, each within 5 seconds.
bar_ticks() {
  local seen tick
  seen=$(bar_text)
  for ((tick = 0; tick < $1; tick++)); do
    wait_for "[ \"\$(bar_text)\" != '$seen' ]" 5 || fail "the bar stayed at '$seen'"
    seen=$(bar_text)
  done
}
