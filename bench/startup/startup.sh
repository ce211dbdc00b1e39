#!/usr/bin/env bash
# Start-up cost of the calculator against a plain Qt window with the same widgets, both on the
# offscreen platform: instructions executed in a fixed time under callgrind (start-up plus the
# idle loop after it; unlike wall-clock times they do not wander with the machine's load), and
# resident memory once the window is up in a normal run.
#
# Usage: bench/startup/startup.sh BUILD_DIR [CALCULATOR]
#   BUILD_DIR   a Release build with the benchmarks (it holds bench/startup/bench_plain_window)
#   CALCULATOR  the program to measure; BUILD_DIR/src/app/velorin unless given
# Settings: STARTUP_SECONDS (callgrind run, default 15), RSS_SECONDS (default 3), RSS_RUNS (default 5).
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR [CALCULATOR]}
plain=$build/bench/startup/bench_plain_window
calculator=${2:-$build/src/app/velorin}
seconds=${STARTUP_SECONDS:-15}
rss_seconds=${RSS_SECONDS:-3}
rss_runs=${RSS_RUNS:-5}

for program in "$plain" "$calculator"; do
  [ -x "$program" ] || { echo "$program: not built" >&2; exit 1; }
done
command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Instructions executed by a program run for $seconds and then stopped; callgrind writes its
# totals when the program is ended by a signal.
instructions() {
  local out=$work/callgrind.$1
  timeout -s TERM "$seconds" valgrind --tool=callgrind --callgrind-out-file="$out" "$2" >/dev/null 2>&1 || true
  awk '/^(summary|totals):/ { print $2; exit }' "$out"
}

# Median resident set size in kB of $rss_runs normal runs, each read after $rss_seconds.
resident() {
  local sizes=() pid
  for _ in $(seq "$rss_runs"); do
    "$1" >/dev/null 2>&1 &
    pid=$!
    sleep "$rss_seconds"
    sizes+=("$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  done
  printf '%s\n' "${sizes[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

plain_ir=$(instructions plain "$plain")
calc_ir=$(instructions calculator "$calculator")
plain_rss=$(resident "$plain")
calc_rss=$(resident "$calculator")

printf 'instructions in %s s: calculator %s, plain window %s, ratio %s\n' \
  "$seconds" "$calc_ir" "$plain_ir" "$(ratio "$calc_ir" "$plain_ir")"
printf 'resident memory (kB): calculator %s, plain window %s, ratio %s\n' \
  "$calc_rss" "$plain_rss" "$(ratio "$calc_rss" "$plain_rss")"
