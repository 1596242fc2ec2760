#!/usr/bin/env bash
# Builds and runs the benchmarks. They print ratios measured in one run on this machine.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
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
cmake --build build-bench -j"$(nproc)" --target bench_snapshot bench_print bench_sdcard
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_snapshot "$@"
QT_QPA_PLATFORM=offscreen ./build-bench/bench/bench_print
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_sdcard
