#!/usr/bin/env bash
# Builds Velorin for another architecture on this amd64 Debian, runs its tests under qemu, starts
# the program once and builds and checks its Debian package.
# Usage: scripts/cross.sh arm64 [cmake options...]; the README's `bash scripts/test.sh --arch arm64`
# comes here. The build lives in build-arm64.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
arch=${1:?"usage: scripts/cross.sh arm64 [cmake options...]"}
shift
case "$arch" in
  arm64) triplet=aarch64-linux-gnu emulator=qemu-aarch64-static ;;
  *) echo "cross.sh: no cross build for $arch (arm64 is known)" >&2; exit 2 ;;
esac

bash scripts/setup.sh --arch "$arch"
dir=${VELORIN_BUILD_DIR:-build-$arch}
bash scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$triplet.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DVELORIN_BENCH=OFF "$@"
cd "$dir"

# Under qemu-user no process can start another one: Qt forks with clone flags qemu does not emulate.
# The tests that start the program, a compositor, a print service, a screen reader, the desktop's
# validators or a copy of themselves therefore run on amd64 only; they test the desktop, not the
# numbers.
suites=(DoubleScale DesktopEntry Install Package WindowCaptions Wayland PrintRun PrintQueueLookup
  Cases/PrintServiceFaults ScreenReader)
# A renamed suite would quietly run here again and fail only where CI insists on its tools.
listed=$(ctest -N)
for suite in "${suites[@]}"; do
  if ! grep -q "Test *#[0-9]*: $suite\\." <<<"$listed"; then
    echo "cross.sh: no test suite $suite is left to keep from qemu" >&2
    exit 1
  fi
done
spawning="^(InstanceRecord\\.(ASecondCopy|EveryRunningCopy|NoStaleMark)|($(IFS='|'; echo "${suites[*]}"))\\.)"
# A third of the soak's operations keeps it well inside ctest's time limit at qemu's speed.
VELORIN_SOAK_OPS=${VELORIN_SOAK_OPS:-100000} QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 -E "$spawning"

# The program itself, started once: still running when it is stopped means it came up.
status=0
QT_QPA_PLATFORM=offscreen timeout 20 "$emulator" src/app/velorin || status=$?
if [ "$status" -ne 124 ]; then
  echo "cross.sh: the $arch program ended by itself with status $status" >&2
  exit 1
fi

rm -f velorin_*.deb
# dpkg-shlibdeps reads the dependencies off the program in the target's library folders.
DEB_HOST_ARCH=$arch cpack -G DEB
lintian --fail-on error --display-info velorin_*_"$arch".deb
