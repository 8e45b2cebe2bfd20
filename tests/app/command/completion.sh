#!/usr/bin/env bash
# The bash completion offers every option --help lists, and the values of
# --unit and --format.
# Usage: completion.sh VOSTREL_BINARY COMPLETION_FILE
set -euo pipefail
binary=$1
source "$2"
fail() { echo "FAIL: $*" >&2; exit 1; }
# Letter ranges and sorting in the C locale: under Turkish rules [a-z] has no i.
c_grep() { LC_ALL=C grep "$@"; }
c_sort() { LC_ALL=C sort "$@"; }
# The completions for a command line whose last word is being typed.
complete_line() {
  read -ra COMP_WORDS <<<"$1"
  [[ "$1" == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _vostrel
  printf '%s\n' "${COMPREPLY[@]}" | c_sort | paste -sd ' '
}
listed=$("$binary" --help | c_grep -oE -- '--[a-z]+' | c_sort -u | paste -sd ' ')
[ "$(complete_line 'Vostrel --')" = "$listed" ] || fail "completes '$(complete_line 'Vostrel --')', --help lists '$listed'"
[ "$(complete_line 'Vostrel --q')" = "--query --quit" ] || fail "--q completes to '$(complete_line 'Vostrel --q')'"
[ "$(complete_line 'Vostrel --unit ')" = "D H HMS M S" ] || fail "--unit completes to '$(complete_line 'Vostrel --unit ')'"
[ "$(complete_line 'Vostrel --unit H')" = "H HMS" ] || fail "--unit H completes to '$(complete_line 'Vostrel --unit H')'"
[ "$(complete_line 'Vostrel --query --format ')" = "json text" ] || fail "--format completes to '$(complete_line 'Vostrel --query --format ')'"
[ -z "$(complete_line 'Vostrel --set ')" ] || fail "--set completes to '$(complete_line 'Vostrel --set ')'"
echo "1 passed, 0 failed"
