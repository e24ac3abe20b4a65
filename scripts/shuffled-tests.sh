#!/usr/bin/env bash
# Runs every test binary of a build tree once as a whole process with its tests in a random
# order. ctest starts each test in a fresh process, which hides state one test leaves behind for
# the next; this run catches such leaks. Usage: shuffled-tests.sh BUILD_DIR
# A failure names its binary and the seed, so `BINARY --gtest_shuffle --gtest_random_seed=SEED`
# repeats the order.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "$1" && pwd)"
export VELMORA_DISPLAY=headless VELMORA_TEST_DATA="$root/tests/data"
failed=()
for binary in "$build"/bin/*_tests; do
  [[ -x "$binary" ]] || continue
  seed=$((RANDOM % 99999 + 1))
  echo "== $(basename "$binary") --gtest_shuffle --gtest_random_seed=$seed"
  # Tests that write into the working directory expect the build tree, as under ctest.
  if ! (cd "$build" && "$binary" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1); then
    failed+=("$(basename "$binary") (seed $seed)")
  fi
done
if ((${#failed[@]})); then
  printf 'shuffled run failed: %s\n' "${failed[@]}" >&2
  exit 1
fi
