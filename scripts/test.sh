#!/usr/bin/env bash
# Sets up the machine, builds Velorin with its tests and runs every test through ctest.
# Extra arguments go to cmake (CI adds -DVELORIN_WERROR=ON).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
dir=${VELORIN_BUILD_DIR:-build-tests}
bash scripts/build.sh "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
