#!/usr/bin/env bash
# Sets up the machine, builds Velorin with its tests and runs every test through ctest.
# Extra arguments go to cmake (CI adds -DVELORIN_WERROR=ON).
#
# With --arch arm64 first, the same for arm64 on this amd64 machine, in build-arm64: a cross
# build whose tests run under qemu, then the arm64 Debian package, checked by lintian.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ "${1:-}" = --arch ]; then
  arch=${2:?"--arch needs an architecture (arm64)"}
  shift 2
  exec bash scripts/cross.sh "$arch" "$@"
fi
bash scripts/setup.sh
dir=${VELORIN_BUILD_DIR:-build-tests}
bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
