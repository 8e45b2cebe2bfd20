#!/usr/bin/env bash
# Installs every Debian 12 package needed to build, run and test Vostrel.
# Runs as root, or through sudo when started by another user.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-multimedia-dev libgl-dev libfontconfig-dev libxcb1-dev fonts-dejavu-core
  xvfb xauth xdotool trayer imagemagick x11-utils polybar
  dpkg-dev desktop-file-utils appstream appstream-compose lintian pulseaudio pulseaudio-utils
  pipewire pipewire-pulse wireplumber dbus python3 openbox faketime tesseract-ocr tesseract-ocr-eng
  xfce4-panel waybar sway grim qt6-wayland libglib2.0-bin libwayland-dev
  lxqt-panel gnome-shell mutter gnome-shell-extension-appindicator gjs locales
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

export DEBIAN_FRONTEND=noninteractive
as_root apt-get update -qq
as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null

# Two locales whose rules differ from English's, for the tests that read
# text as a German or Turkish user's program would (decimal comma; dotted
# and dotless i).
for locale in de_DE.UTF-8 tr_TR.UTF-8; do
  if ! locale -a | grep -qix "${locale/UTF-8/utf8}"; then
    as_root sed -i "s/^# *\($locale UTF-8\)/\1/" /etc/locale.gen
    as_root locale-gen >/dev/null
  fi
done
