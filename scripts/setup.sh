#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Velorin needs.
# Safe to run again: apt only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6 libqt6svg6 qt6-wayland
  qt6-translations-l10n
  libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation
  xvfb xauth x11-utils xdotool imagemagick
  dbus at-spi2-core orca speech-dispatcher
  python3 poppler-utils
  cups cups-client printer-driver-cups-pdf libcups2-dev
  desktop-file-utils appstream weston
  dpkg-dev file lintian
  clang libfuzzer-14-dev clang-format-14 clang-tidy-14
  valgrind
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
