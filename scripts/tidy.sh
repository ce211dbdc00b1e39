#!/usr/bin/env bash
# Runs clang-tidy (Debian 12's clang-tidy 14) with the checks in .clang-tidy over every C++ source
# file of a build folder the tests were built in (default build-tests), one file for each core at
# a time. Fails on any finding. Usage: scripts/tidy.sh [build folder] [source file...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dir=$(realpath "${1:-build-tests}")
shift || true
if [ ! -f "$dir/compile_commands.json" ]; then
  echo "no compile_commands.json in $dir: build the tests there first (scripts/test.sh)" >&2
  exit 2
fi
files=("$@")
if [ ${#files[@]} -eq 0 ]; then
  # Our own sources only: not the moc and resource files the build generates.
  mapfile -t files < <(python3 -c '
import json, os, sys
root, build = sys.argv[1], sys.argv[2]
for e in json.load(open(os.path.join(build, "compile_commands.json"))):
    f = os.path.normpath(os.path.join(e["directory"], e["file"]))
    if f.startswith(root + "/") and not f.startswith(build + "/"):
        print(f)' "$root" "$dir" | sort -u)
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
# The build's flags are GCC's: clang knows some of its warning options under no name, and counts
# double to long double as a promotion, which the extended number type does on purpose.
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy-14 -p "$dir" --quiet --extra-arg=-Wno-double-promotion \
    --extra-arg=-Wno-unknown-warning-option >"$log" 2>/dev/null || status=$?
# A header's finding comes once for every file that includes it.
grep -E '^([^ ].*: )?(warning|error): ' "$log" | sort -u || true
if [ "$status" -ne 0 ]; then
  echo "clang-tidy found problems in ${#files[@]} files checked" >&2
  exit 1
fi
echo "clang-tidy clean: ${#files[@]} files"
