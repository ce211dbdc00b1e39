#!/usr/bin/env bash
# Configures and builds one build folder. Usage: scripts/build.sh DIR [cmake options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# The compiler cache keys on paths inside the clone, so another clone or build folder of the same
# sources (a CI run, a worktree) compiles only what differs.
cache=()
if command -v ccache >/dev/null; then
  cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$dir" "${generator[@]}" "${cache[@]}" "$@"
else
  cmake -S "$root" -B "$dir" "${cache[@]}" "$@" >/dev/null
fi
cmake --build "$dir" -j2
