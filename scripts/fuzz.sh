#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz for SECONDS each (default 600), all
# of them or the ones named (e.g. `scripts/fuzz.sh 60 csv_line server_replies`),
# building the fuzz preset first. Exits non-zero when a target crashed, broke
# one of its checks or did not stop in time.
#
# Each target starts from its seeds in tests/fuzz/corpus/<target>/, which it
# only reads. What it finds goes outside the tree, to $TOLVANE_FUZZ_WORK
# (default ${TMPDIR:-/tmp}/tolvane-fuzz): <target>/corpus/ the new inputs,
# <target>/crash-* (or leak-*, timeout-*, oom-*) an input that failed,
# <target>/log the run's output. Those worth keeping as seeds (small, and
# reaching code the seeds do not) are added by hand, e.g. after
#   build/fuzz/tests/fuzz/<target>_fuzzer -merge=1 tests/fuzz/corpus/<target> \
#       $TOLVANE_FUZZ_WORK/<target>/corpus
#
# TOLVANE_FUZZ_JOBS=N runs N targets at a time (default 1: the machine is
# shared); TOLVANE_FUZZ_NO_BUILD=1 uses the build as it is;
# TOLVANE_FUZZ_FLAGS adds libFuzzer options, e.g. "-max_len=70000" to reach
# the 64 KiB reply-line and 16 KiB pipe-read limits (inputs are otherwise as
# long as the longest seed, at least 4096 bytes).
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

seconds=600
if [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
[ "$seconds" -gt 0 ] || { echo "fuzz: SECONDS must be at least 1" >&2; exit 2; }
jobs=${TOLVANE_FUZZ_JOBS:-1}
work=${TOLVANE_FUZZ_WORK:-${TMPDIR:-/tmp}/tolvane-fuzz}
bin="$ROOT/build/fuzz/tests/fuzz"

mapfile -t all < <(cd tests/fuzz && ls -- *_fuzzer.cpp | sed 's/_fuzzer\.cpp$//')
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for target in "${targets[@]}"; do
  [ -f "tests/fuzz/${target}_fuzzer.cpp" ] || { echo "fuzz: no target $target (have: ${all[*]})" >&2; exit 2; }
done

if [ "${TOLVANE_FUZZ_NO_BUILD:-0}" != 1 ]; then
  "$ROOT/scripts/build.sh" fuzz || { echo "fuzz: build failed" >&2; exit 1; }
fi

# One target: libFuzzer stops itself after -max_total_time; the hard limit
# around it catches a run that hangs anyway (a stuck input, a runaway merge).
run_one() {
  local target=$1 dir="$work/$1"
  mkdir -p "$dir/corpus"
  local status=0
  timeout --kill-after=10 $((seconds + 60)) \
    "$bin/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      ${TOLVANE_FUZZ_FLAGS:-} -artifact_prefix="$dir/" "$dir/corpus" "$ROOT/tests/fuzz/corpus/$target" \
      >"$dir/log" 2>&1 || status=$?
  local runs crashes
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)
  crashes=$(find "$dir" -maxdepth 1 -newer "$dir/started" \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  local verdict=ok
  if [ $status = 124 ] || [ $status = 137 ]; then
    verdict="did not stop in time"
  elif [ $status != 0 ] || [ "$crashes" != 0 ]; then
    verdict="FAILED (exit $status): see $dir/log"
  fi
  printf 'fuzz: %-20s %4s s  %10s runs  %s failing inputs  %s\n' "$target" "$seconds" "${runs:-?}" "$crashes" "$verdict"
  [ "$verdict" = ok ]
}

echo "=== fuzz: ${#targets[@]} targets, $seconds s each, $jobs at a time; found inputs in $work"
failed=0
running=0
for target in "${targets[@]}"; do
  # Marks the start of this run, so only inputs that failed in it are counted.
  mkdir -p "$work/$target" && touch "$work/$target/started"
  run_one "$target" &
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

if [ $failed != 0 ]; then
  echo "fuzz: FAILED; the failing inputs are kept in $work" >&2
  exit 1
fi
echo "fuzz: every target ran clean"
