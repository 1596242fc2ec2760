#!/usr/bin/env bash
# Builds VarnekJPG from nothing and runs every test: once in a normal build, then again with
# AddressSanitizer and UndefinedBehaviorSanitizer. Installs the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
source ./scripts/pdf-printer.sh
ensure_packages
ensure_pdf_printer

jobs=$(nproc 2>/dev/null || echo 2)
werror=OFF
[ -n "${CI:-}" ] && werror=ON

export QT_QPA_PLATFORM=offscreen no_proxy='*' NO_PROXY='*'

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEK_WERROR=$werror >/dev/null
cmake --build build -j"$jobs"
echo "== tests"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNEK_SANITIZE=ON -DVARNEK_WERROR=$werror >/dev/null
cmake --build build-asan -j"$jobs"
echo "== tests under the sanitizers"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
(cd build-asan && ctest --output-on-failure -j"$jobs")
