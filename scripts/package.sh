#!/usr/bin/env bash
# Builds the Debian package with Debian's build flags and checks it as a
# distribution and a software centre would: lintian, the desktop entry,
# appstreamcli validate and compose. Then installs it, starts the installed
# program under Xvfb with a tray host (its window's class must be the
# launcher's StartupWMClass), and removes it, checking that no file of it
# is left behind.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== desktop entry and metainfo"
desktop-file-validate resources/io.pelmark.Vostrel.desktop
# The component's id is in lower case, as AppStream asks; the desktop entry
# it launches keeps the name the window and the launchers share.
notes=$(appstreamcli validate --pedantic --no-net --no-color resources/io.pelmark.vostrel.metainfo.xml |
  grep -E '^[EWIP]: ' || true)
[ -z "$notes" ] || fail "appstreamcli validate --pedantic: $notes"

echo "== the package"
# -O2: GCC 12 at -O3 raises a false -Wrestrict warning inside std::string.
# Debian's hardening flags, all of them: binding at load time (-z now) too.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_STRIP="$PWD/packaging/strip.sh" -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
  -DVOSTREL_BENCH=OFF -DVOSTREL_WERROR=ON
cmake --build build-release --target Vostrel vostrel_tone vostrel_docs
rm -f build-release/vostrel_*.deb
(cd build-release && cpack)
deb=$(ls build-release/vostrel_*.deb)
dpkg-deb --info "$deb" | sed -n '/Depends/p'

echo "== lintian"
# Every tag counts, the informational and pedantic ones included.
notes=$(lintian --pedantic -I --fail-on none "$deb")
[ -z "$notes" ] || fail "lintian --pedantic -I: $notes"

echo "== appstreamcli compose"
compose=$(mktemp -d)
trap 'rm -rf "$compose"' EXIT
dpkg-deb -x "$deb" "$compose/tree"
appstreamcli compose --no-net --no-color --prefix=/usr --origin=vostrel --result-root="$compose/out" \
  "$compose/tree" | tee "$compose/report" || fail "appstreamcli compose failed"
! grep -E '^ *[EWI]: ' "$compose/report" || fail "appstreamcli compose reported issues"
zcat "$compose/out/usr/share/swcatalog/xml/vostrel.xml.gz" | grep -q '<id>io.pelmark.vostrel</id>' ||
  fail "the composed catalog lacks the component"
for size in 64x64 128x128; do
  [ -s "$compose/out/usr/share/swcatalog/icons/vostrel/$size/io.pelmark.vostrel.png" ] ||
    fail "no $size icon in the composed catalog"
done

echo "== install, start, remove"
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
as_root apt-get install -y -qq "./$deb" >/dev/null
for file in /usr/bin/Vostrel /usr/lib/*/vostrel/libvostrel_tone.so /usr/lib/*/vostrel/libvostrel_window.so \
  /usr/share/bash-completion/completions/Vostrel /usr/share/applications/io.pelmark.Vostrel.desktop \
  /usr/share/metainfo/io.pelmark.vostrel.metainfo.xml /usr/share/icons/hicolor/256x256/apps/io.pelmark.Vostrel.png \
  /usr/share/icons/hicolor/scalable/apps/io.pelmark.Vostrel.svg /usr/share/man/man1/Vostrel.1.gz \
  /usr/share/doc/vostrel/copyright /usr/share/doc/vostrel/changelog.gz; do
  [ -e "$file" ] || fail "missing after install: $file"
done
dpkg -L vostrel >"$compose/installed"
# The installed command line answers without a display.
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/Vostrel --version)" = "Vostrel Version 5.0" ] ||
  fail "the installed Vostrel --version printed something else"
env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$compose/config" /usr/bin/Vostrel --query | grep -Eq '^-[0-9]+ Days$' ||
  fail "the installed Vostrel --query printed no figure"
bash tests/e2e/smoke_e2e.sh /usr/bin/Vostrel build-release/screenshots /usr/share/applications/io.pelmark.Vostrel.desktop
as_root apt-get purge -y -qq vostrel >/dev/null
! dpkg -s vostrel >/dev/null 2>&1 || fail "vostrel is still known to dpkg after removal"
# Every file of the package is gone; a folder may stay only where another
# package still owns it or something else still lives in it.
while IFS= read -r path; do
  [ -e "$path" ] || continue
  [ -d "$path" ] || fail "left behind after removal: $path"
  [ -n "$(ls -A "$path")" ] || dpkg -S "$path" >/dev/null 2>&1 || fail "empty folder left behind: $path"
done <"$compose/installed"
echo "package: built, lintian and AppStream clean, installed, started and removed without leftovers"
