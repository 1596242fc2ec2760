#!/usr/bin/env bash
# Builds and runs the benchmarks. They print ratios measured in one run on this machine.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
ensure_packages libjpeg-turbo-progs
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVARNEK_TESTS=OFF -DVARNEK_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_snapshot bench_print bench_sdcard
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_snapshot "$@"
QT_QPA_PLATFORM=offscreen ./build-bench/bench/bench_print
QT_QPA_PLATFORM=offscreen no_proxy='*' ./build-bench/bench/bench_sdcard
