#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) in build-fuzz and fuzzes each for a bounded
# time. Usage: scripts/fuzz.sh [seconds per target, default 60] [target name...]
# Fails on any finding; the input that caused it is copied to tests/fuzz/regressions/<target>/,
# where ctest replays it from then on. New inputs that widen coverage stay in the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
dir=$(realpath -m "${VELORIN_FUZZ_DIR:-build-fuzz}")

if [ ! -f "$dir/CMakeCache.txt" ]; then
  options=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELORIN_FUZZ=ON -DVELORIN_BENCH=OFF)
  command -v ninja >/dev/null && options+=(-G Ninja)
  command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$root" -B "$dir" "${options[@]}"
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ls tests/fuzz/corpus)
fi
export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
cmake --build "$dir" -j2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/.ci/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for t in "${targets[@]}"; do
  work="$dir/fuzz-work/$t"
  mkdir -p "$work/corpus" "$work/findings" "$work/state" "$work/runtime"
  # Runtime and state folders of the target's own, so fuzzing never touches the user's home.
  chmod 0700 "$work/runtime"
  rm -f "$work/fuzz-0.log"
  regressions="$root/tests/fuzz/regressions/$t"
  echo "== fuzzing $t for ${seconds}s"
  # The first folder collects what the run learns; the committed seeds and regressions are only
  # read. A job writes its log as fuzz-0.log into the folder it runs in.
  if ! (cd "$work" && export XDG_RUNTIME_DIR="$work/runtime" XDG_STATE_HOME="$work/state" &&
      "$dir/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -jobs=1 -workers=1 \
      -print_final_stats=1 -artifact_prefix="$work/findings/" \
      "$work/corpus" "$root/tests/fuzz/corpus/$t" "$regressions" >"$work/driver.log" 2>&1); then
    failed+=("$t")
  fi
  tail -n 12 "$work/fuzz-0.log" 2>/dev/null || tail -n 40 "$work/driver.log"
  for f in "$work"/findings/*; do
    [ -e "$f" ] || continue
    cp -n "$f" "$regressions/"
    echo "finding kept: $regressions/$(basename "$f")"
    failed+=("$t")
  done
  rm -f "$work"/findings/*
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found problems in: $(printf '%s\n' "${failed[@]}" | sort -u | tr '\n' ' ')"
  exit 1
fi
echo "fuzzing clean: ${targets[*]}"
