#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test twice: a normal build (g++, warnings
# as errors) and a build with AddressSanitizer and UndefinedBehaviorSanitizer (clang), each under
# ctest and then each test binary whole and shuffled (scripts/shuffled-tests.sh); the sanitizer
# build's fuzz targets then run briefly (scripts/fuzz.sh). Last, the threading tests (runtime
# lock, thread table, ACCEPT loops on two threads, kernel waits) run once more under
# ThreadSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
jobs="$(nproc)"

echo "== normal build (g++, -Werror)"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc \
  -DVEL_WERROR=ON
(cd "$root/build" && ctest --output-on-failure -j "$jobs" --timeout 300)
"$root/scripts/shuffled-tests.sh" "$root/build"

echo "== sanitizer build (clang, ASan + UBSan)"
"$root/scripts/build.sh" build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DVEL_SANITIZE=ON -DVEL_BENCH=OFF -DVEL_FUZZ=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" --timeout 600)
"$root/scripts/shuffled-tests.sh" "$root/build-asan"
echo "== fuzzing: every target about 20 seconds on its seed corpus"
"$root/scripts/fuzz.sh" "$root/build-asan" 20

echo "== thread sanitizer (clang, TSan): threading tests only"
# Only the two test binaries that hold threading tests are built. ThreadSanitizer needs the
# address-space layout it was made for; where the kernel randomises mmap more widely than that,
# running without address randomisation (setarch -R) lets it start. Test discovery runs the
# binaries while building, so the build runs the same way.
tsan_run=()
if setarch "$(uname -m)" -R true 2>/dev/null; then tsan_run=(setarch "$(uname -m)" -R); fi
cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_COMPILER=clang -DVEL_TSAN=ON -DVEL_BENCH=OFF >/dev/null
"${tsan_run[@]}" cmake --build "$root/build-tsan" -j "$jobs" --target runtime_windows_tests platform_kernel_tests
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
tsan_tests='^(ThreadTable|AcceptThreads|AcceptLoop|Semaphores|Events|Waits|Threads|CriticalSections)\.'
(cd "$root/build-tsan" && "${tsan_run[@]}" ctest --output-on-failure -j "$jobs" --timeout 600 -R "$tsan_tests")
