#!/usr/bin/env bash
# Builds the Debian package, checks its desktop entry and metainfo, installs
# it and starts the installed program under Xvfb with a tray host.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
desktop-file-validate resources/io.pelmark.Vostrel.desktop
appstreamcli validate --no-net resources/io.pelmark.Vostrel.metainfo.xml

# -O2: GCC 12 at -O3 raises a false -Wrestrict warning inside std::string.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
  -DVOSTREL_BENCH=OFF -DVOSTREL_WERROR=ON
cmake --build build-release --target Vostrel vostrel_tone
(cd build-release && cpack)
deb=$(ls build-release/vostrel_*.deb)
dpkg-deb --info "$deb" | sed -n '/Depends/p'

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
as_root apt-get install -y -qq "./$deb" >/dev/null
for file in /usr/bin/Vostrel /usr/lib/*/vostrel/libvostrel_tone.so /usr/share/applications/io.pelmark.Vostrel.desktop \
  /usr/share/metainfo/io.pelmark.Vostrel.metainfo.xml /usr/share/icons/hicolor/32x32/apps/io.pelmark.Vostrel.png; do
  [ -e "$file" ] || { echo "missing after install: $file" >&2; exit 1; }
done
bash tests/e2e/smoke_e2e.sh /usr/bin/Vostrel build-release/screenshots
