#!/usr/bin/env bash
# Builds and runs the benchmarks. They print ratios measured in one run on this machine.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh

# ./bench.sh fuzz: each libFuzzer target for FUZZ_SECONDS (60) under ASan and UBSan, built with
# clang in build-fuzz. New inputs go to build-fuzz/corpus; the seeds in tests/fuzz/corpus stay as
# they are. A finding stops its target, leaves build-fuzz/crash-* (or leak-*, timeout-*) and makes
# the run fail.
if [ "${1:-}" = fuzz ]; then
  ensure_packages clang
  clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n1)
  ensure_packages "libclang-rt-${clang_major}-dev"
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVARNEK_TESTS=OFF -DVARNEK_FUZZ=ON >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzz_listing fuzz_settings fuzz_response fuzz_recording
  failed=0
  for target in listing settings response recording; do
    mkdir -p "build-fuzz/corpus/$target"
    echo "== fuzz_$target, ${FUZZ_SECONDS:-60} s"
    no_proxy='*' ./build-fuzz/tests/fuzz/fuzz_$target -max_total_time="${FUZZ_SECONDS:-60}" -timeout=20 \
      -artifact_prefix=build-fuzz/ -print_final_stats=1 "build-fuzz/corpus/$target" "tests/fuzz/corpus/$target" 2>&1 \
      | grep -E '^(#|==|stat::|Done)|ERROR|SUMMARY|Test unit written' | tail -n 12 || failed=1
  done
  exit "$failed"
fi
ensure_packages
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVARNEK_TESTS=OFF -DVARNEK_BENCH=ON >/dev/null

# ./bench.sh soak [--valgrind]: the long run of snapshot cycles, or a short one under memcheck.
if [ "${1:-}" = soak ]; then
  cmake --build build-bench -j"$(nproc)" --target bench_soak
  if [ "${2:-}" = --valgrind ]; then
    ensure_packages valgrind
    log=$(mktemp)
    # No suppressions: every leak valgrind finds is reported.
    VARNEK_SOAK_UNDER_VALGRIND=1 QT_QPA_PLATFORM=offscreen no_proxy='*' valgrind --tool=memcheck \
      --leak-check=full --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
      --child-silent-after-fork=yes --error-exitcode=3 --log-file="$log" ./build-bench/bench/bench_soak 200 || status=$?
    grep -E 'definitely lost|indirectly lost|possibly lost|ERROR SUMMARY' "$log" | sed 's/^==[0-9]*== */  valgrind: /'
    echo "  goal: nothing lost (definitely, indirectly, possibly) and no memory error; full log in $log"
    exit "${status:-0}"
  fi
  QT_QPA_PLATFORM=offscreen no_proxy='*' exec ./build-bench/bench/bench_soak
fi
cmake --build build-bench -j"$(nproc)" --target bench_snapshot bench_print bench_sdcard bench_recording
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_snapshot "$@"
QT_QPA_PLATFORM=offscreen ./build-bench/bench/bench_print
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_sdcard
(cd build-bench && QT_QPA_PLATFORM=offscreen ./bench/bench_recording)
