#!/usr/bin/env bash
# Fails when a C++ file differs from the layout .clang-format gives it, as Debian 12's
# clang-format 14 lays it out; --fix rewrites the files instead. Usage: scripts/format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
if [ "${1:-}" = --fix ]; then
  mode=(-i)
fi
find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
  xargs -0 clang-format-14 "${mode[@]}"
