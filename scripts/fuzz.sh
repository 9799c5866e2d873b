#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (coverage, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each one for a fixed time.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 seconds each; project gamefile png
# The seeds in tests/fuzz/corpus/<target>/ are read; new inputs go to build-fuzz/corpus/<target>/
# and a crashing input to build-fuzz/artifacts/. Exits non-zero when a target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(project gamefile png)
case "$seconds" in ''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2; exit 2 ;; esac

bash scripts/install-deps.sh

cmake -S . -B build-fuzz -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DQB_SANITIZE=ON -DQB_BUILD_FUZZ=ON -DQB_BUILD_GUI=OFF -DQB_BUILD_BENCH=OFF
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p build-fuzz/artifacts
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "== fuzz_$target for $seconds s"
  build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
    "$corpus" "tests/fuzz/corpus/$target"
done
