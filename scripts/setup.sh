#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Velorin needs.
# With --arch arm64 it also installs the cross build: the arm64 compiler, the arm64 libraries
# beside the machine's own (multiarch) and qemu to run the arm64 tests.
# Safe to run again: apt only installs what is missing.
set -euo pipefail

arch=
if [ "${1:-}" = --arch ]; then
  arch=${2:?"--arch needs an architecture (arm64)"}
fi

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6 libqt6svg6 qt6-wayland
  qt6-translations-l10n
  libgl-dev libxkbcommon-dev libmpfr-dev
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

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

case "$arch" in
  "") ;;
  arm64)
    packages+=(g++-aarch64-linux-gnu qemu-user-static)
    for p in qt6-base-dev libqt6svg6 qt6-qpa-plugins libgl-dev libxkbcommon-dev libmpfr-dev libcups2-dev \
             libgtest-dev libgmock-dev; do
      packages+=("$p:arm64")
    done
    if ! dpkg --print-foreign-architectures | grep -qx arm64; then
      $SUDO dpkg --add-architecture arm64
    fi
    ;;
  *) echo "setup.sh: no cross build for $arch (arm64 is known)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
