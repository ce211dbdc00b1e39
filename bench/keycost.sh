#!/usr/bin/env bash
# Instructions per keystroke (and per full repaint) of our controls against their Qt peers,
# counted by callgrind over the measured steps alone: each widget benchmark's --callgrind mode
# opens a case's window, lets it settle, switches collection on for STEPS steps and dumps the
# count under the case's name. Both sides of a pair run in the same process, so their ratio does
# not depend on the machine's load. Every step must paint; a case that painted nothing fails.
#
# Usage: bench/keycost.sh [-n STEPS] BUILD_DIR...
#   BUILD_DIR  a Release build with the benchmarks; several builds (say, before and after a
#              change) are measured one after the other in the same run
#   STEPS      steps counted per case (default 400)
set -euo pipefail

steps=400
if [ "${1:-}" = -n ]; then
  steps=${2:?usage: $0 [-n STEPS] BUILD_DIR...}
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: $0 [-n STEPS] BUILD_DIR..." >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# The instruction count callgrind dumped for one case.
count() {
  local file
  file=$(grep -l -x -F "desc: Trigger: Client Request: $2" "$1".* | head -n 1)
  awk '/^(summary|totals):/ { print $2; exit }' "$file"
}

for build in "$@"; do
  echo "$build"
  for bench in SpinStepBench EditTypingBench ScreenReaderBench; do
    program=$build/bench/bench_$bench
    [ -x "$program" ] || { echo "$program: not built" >&2; status=1; continue; }
    out=$work/$(basename "$build").$bench
    if ! valgrind --tool=callgrind --collect-atstart=no --callgrind-out-file="$out" "$program" \
      --callgrind="$steps" >"$out.pairs" 2>"$out.log"; then
      grep -v '^==' "$out.log" >&2 || true
      echo "$bench failed" >&2
      status=1
      continue
    fi
    while IFS=$'\t' read -r tag title ours peer n goal; do
      [ "$tag" = pair ] || continue
      a=$(count "$out" "$ours")
      b=$(count "$out" "$peer")
      awk -v t="$title" -v a="$a" -v b="$b" -v n="$n" -v g="$goal" 'BEGIN {
        r = a / b
        verdict = g > 0 ? sprintf("goal <= %s: %s", g, r <= g ? "met" : "missed") : "no goal"
        printf "  %-40s ours %9.0f  peer %9.0f  instructions per step, ratio %.3f (%s)\n", t, a / n, b / n, r, verdict
      }'
    done <"$out.pairs"
  done
done
exit $status
