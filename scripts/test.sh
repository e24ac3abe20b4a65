#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build (g++, warnings
# as errors) and a build with AddressSanitizer and UndefinedBehaviorSanitizer (clang).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

echo "== normal build (g++, -Werror)"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc \
  -DVEL_WERROR=ON
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)

echo "== sanitizer build (clang, ASan + UBSan)"
"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DVEL_SANITIZE=ON -DVEL_BENCH=OFF -DVEL_FUZZ=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)
