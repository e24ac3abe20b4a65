#!/usr/bin/env bash
# Runs every libFuzzer target found in a build's bin/ (every *_fuzz program) for a short time on
# top of its committed seed corpus, with its dictionary when it has one, under a memory limit:
# a header that claims gigabytes is a failure, not a slow pass. Any crash, leak, timeout or
# memory overrun fails the run after every target has had its turn; what failed is kept in
# BUILD/fuzz-artifacts/ for reproducing (`BUILD/bin/TARGET FILE`).
#
#   scripts/fuzz.sh [BUILD [SECONDS]]     defaults: build-asan, 20 seconds per target
#
# The mutation stream starts from FUZZ_SEED (default 1), so a run repeats the one before it
# as far as its time allows: a fault it finds is found again, and a clean run stays clean on
# the same code. Campaigns looking for new faults set FUZZ_SEED=0 (a fresh seed each run).
#
# Targets added later need no edit here: fuzz/NAME_fuzz.cpp, its seeds in fuzz/corpus/NAME_fuzz/
# and its dictionary (optional) in fuzz/NAME_fuzz.dict are found by name.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-asan}"
seconds="${2:-20}"
seed="${FUZZ_SEED:-1}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

shopt -s nullglob
targets=("$build"/bin/*_fuzz)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no *_fuzz programs in $build/bin (configure with -DVEL_FUZZ=ON and clang)" >&2
  exit 1
fi

artifacts="$build/fuzz-artifacts"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$artifacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export VELMORA_DISPLAY=headless VELMORA_WINDIR="$work/windir"

failed=()
for program in "${targets[@]}"; do
  [ -x "$program" ] || continue
  name="$(basename "$program")"
  seeds="$root/fuzz/corpus/$name"
  # New inputs go to a scratch folder; the committed seeds are only read.
  mkdir -p "$work/$name"
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10
           -seed="$seed" -print_final_stats=1 -artifact_prefix="$artifacts/$name-")
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  corpora=("$work/$name")
  [ -d "$seeds" ] && corpora+=("$seeds")
  echo "== $name (${seconds}s)"
  if ! (cd "$work" && "$program" "${options[@]}" "${corpora[@]}" >"$work/$name.log" 2>&1); then
    failed+=("$name")
    tail -n 60 "$work/$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$work/$name.log" | tail -n 2
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]} (inputs in $artifacts)" >&2
  exit 1
fi
echo "fuzz.sh: ${#targets[@]} targets ran ${seconds}s each without a fault"
