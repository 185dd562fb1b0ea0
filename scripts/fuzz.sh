#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UBSan in build-fuzz/, then runs
# each for SECONDS (default 60) on a copy of its committed seed corpus.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/install-deps.sh

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DTOLVAN_FUZZ=ON -DTOLVAN_TESTS=OFF \
  -DTOLVAN_LAYERS="modes/dataset/model;modes/psent/model;modes/log/model;modes/test/model" \
  $(command -v ccache >/dev/null 2>&1 && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --build build-fuzz --parallel "$(nproc)" --target units_fuzzer logfile1_fuzzer logfile2_fuzzer logfile3_fuzzer logfile4_fuzzer \
  settings_fuzzer

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
status=0
for target in units logfile1 logfile2 logfile3 logfile4 settings; do
  work="build-fuzz/corpus-$target"
  log="build-fuzz/fuzz-$target.log"
  rm -rf "$work"
  mkdir -p "$work"
  cp fuzz/corpus/$target/* "$work"/
  echo "fuzz: $target for $seconds s"
  if "build-fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/crash-$target-" "$work" >"$log" 2>&1; then
    grep -E "^stat::number_of_executed_units" "$log" || true
  else
    tail -n 40 "$log"
    echo "fuzz: $target found a problem (see $log and build-fuzz/crash-$target-*)" >&2
    status=1
  fi
done
exit "$status"
