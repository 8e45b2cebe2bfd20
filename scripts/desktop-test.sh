#!/usr/bin/env bash
# The tests again as on a full Debian desktop rather than CI's minimal one
# (after scripts/test.sh): the common desktop fonts, a notification server
# and a tray watcher that D-Bus could start by activation, and two locales
# whose rules differ from English's (German's decimal comma, Turkish's
# dotted and dotless i). The tests see the same fonts and the same services
# everywhere, so each must pass as it did. (scripts/install-deps.sh, run by
# scripts/test.sh, has made the two locales.)
# Usage: scripts/desktop-test.sh [CTEST_REGEX]   (default: every unit test)
set -euo pipefail
cd "$(dirname "$0")/.."
tests=${1:-}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends fonts-noto-mono fonts-noto-core fonts-liberation2 \
  fonts-urw-base35 fonts-cantarell dunst kded5 >/dev/null
filter=(-E '^e2e\.')
[ -z "$tests" ] || filter=(-R "$tests")
for locale in de_DE.UTF-8 tr_TR.UTF-8; do
  echo "== the tests under LANG=$locale"
  LANG=$locale LC_ALL=$locale ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)" "${filter[@]}"
done
