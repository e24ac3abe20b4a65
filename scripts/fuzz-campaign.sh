#!/usr/bin/env bash
# A long fuzzing campaign: runs each named target until it has executed RUNS inputs (or for at
# most HOURS), one after the other, at idle priority so that it only takes what the machine
# would leave unused. Each target keeps the inputs it finds in CAMPAIGN/corpus/<target>/ from
# one campaign to the next, on top of its committed seeds; a failing input goes to
# CAMPAIGN/artifacts/, and CAMPAIGN/tally.txt gets a line per finished run with its executions.
#
#   scripts/fuzz-campaign.sh BUILD RUNS TARGET...     e.g. build-asan 10000000 ico_fuzz bmp_image_fuzz
#
# Environment: CAMPAIGN (default BUILD/fuzz-campaign), HOURS (default 24), FUZZ_SEED (default 0:
# a fresh stream each run). Start two campaigns on two cores for twice the executions.
#
# What keeps the executions per second up: scratch files on a memory file system (the profile
# and settings targets write one on every run), short allocation stacks, and libFuzzer's plain
# scheduler, whose per-feature bookkeeping took a quarter of the time of the larger targets. The
# timeout is generous because a run at idle priority waits whenever the machine is busy.
# Stop a campaign with `kill -KILL`: an interrupt can catch libFuzzer's handler inside the
# sanitizer's allocator, where it waits until its own watchdog reports a false timeout. A run
# stopped that way is not in the tally; its log's last progress line says how far it got.
set -uo pipefail
if [ $# -lt 3 ]; then
  sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"
runs="$2"
shift 2
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
for number in "$runs" "${HOURS:-24}"; do
  if ! [[ "$number" =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz-campaign.sh: RUNS and HOURS are whole numbers above 0, not \"$number\"" >&2
    exit 2
  fi
done
campaign="${CAMPAIGN:-$build/fuzz-campaign}"
seconds=$(( ${HOURS:-24} * 3600 ))
scratch="$(mktemp -d "${XDG_RUNTIME_DIR:-/dev/shm}/fuzz-campaign.XXXXXX" 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$campaign/artifacts" "$campaign/logs"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:malloc_context_size=2}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export VELMORA_DISPLAY=headless VELMORA_WINDIR="$scratch/windir" TMPDIR="$scratch"

status=0
for name in "$@"; do
  program="$build/bin/$name"
  if [ ! -x "$program" ]; then
    echo "fuzz-campaign.sh: no program $program" >&2
    status=1
    continue
  fi
  mkdir -p "$campaign/corpus/$name" "$scratch/windir"
  log="$campaign/logs/$name.$(date +%Y%m%d-%H%M%S).log"
  options=(-runs="$runs" -max_total_time="$seconds" -entropic=0 -rss_limit_mb=2048 -malloc_limit_mb=512
           -timeout=30 -seed="${FUZZ_SEED:-0}" -print_final_stats=1 -artifact_prefix="$campaign/artifacts/$name-")
  [ -f "$root/fuzz/$name.dict" ] && options+=(-dict="$root/fuzz/$name.dict")
  corpora=("$campaign/corpus/$name")
  [ -d "$root/fuzz/corpus/$name" ] && corpora+=("$root/fuzz/corpus/$name")
  # Idle scheduling where the system allows it, else the lowest nice level.
  runner=(chrt --idle 0)
  chrt --idle 0 true 2>/dev/null || runner=(nice -n 19)
  (cd "$scratch" && "${runner[@]}" "$program" "${options[@]}" "${corpora[@]}" >"$log" 2>&1)
  rc=$?
  executions=$(grep -a '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  echo "$(date '+%F %T') $name exit=$rc executions=${executions:-?} log=$log" >>"$campaign/tally.txt"
  if [ $rc -ne 0 ]; then
    status=1
    tail -n 40 "$log" >&2
  fi
done
exit $status
