#!/usr/bin/env bash
# The icons in the tree are the generator's own output: drawn again into a
# scratch folder, every file comes out byte for byte the same, and the tree
# holds no icon the generator no longer draws.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../../resources/icons" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

python3 -B "$icons/draw_icons.py" --into "$out"
failed=0
while IFS= read -r file; do
  cmp -s "$out/$file" "$icons/$file" || { echo "differs from the generator's drawing: $file"; failed=1; }
done < <(cd "$out" && find . -type f | sort)
while IFS= read -r file; do
  [ -e "$out/$file" ] || { echo "not drawn by the generator: $file"; failed=1; }
done < <(cd "$icons" && find . -type f \( -name '*.ico' -o -name '*.png' -o -name '*.svg' \) | sort)
[ "$(cd "$out" && find . -type f | wc -l)" -gt 7 ] || { echo "the generator drew too little"; failed=1; }
[ "$failed" -eq 0 ] && echo "1 passed, 0 failed"
