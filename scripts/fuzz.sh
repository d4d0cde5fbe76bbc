#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan, every
# file instrumented for coverage) and runs each for a bounded time, starting
# from the seed corpus in fuzz/corpus. Fails on any finding; a finding is
# copied into fuzz/corpus/<corpus>/ so that, once fixed and committed, the
# replay test runs it in every build. Prints the figures at the end.
#
# The targets: schedule (schedule texts built through real files),
# schedule_memory (the same reader, grouper and record writer fed from
# memory: tens of times as many inputs), report_counts (report's counts of a
# season against a plain recount, from memory), console (key records and
# screens). Each keeps the corpus it grows in build-fuzz/corpus-<target>,
# so a later run goes on from there.
#
#   scripts/fuzz.sh                                   about 15 s per target, one per processor at once
#   FUZZ_SECONDS=300 scripts/fuzz.sh                  longer, per target
#   FUZZ_TARGETS=schedule_memory FUZZ_RUNS=10000000 FUZZ_SECONDS=36000 scripts/fuzz.sh
#                                                     a campaign of ten million inputs
#   FUZZ_PRESET=fuzz-fast FUZZ_TARGETS=schedule_memory ...
#                                                     the same with UBSan alone: twice as fast
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-15}
targets=${FUZZ_TARGETS:-schedule schedule_memory report_counts console}
runs=${FUZZ_RUNS:--1}
preset=${FUZZ_PRESET:-fuzz}

scripts/install-deps.sh fuzz

build=build-$preset  # the preset's build folder
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc 2>/dev/null || echo 2)"

# Each target gets its own working corpus in the build folder: the seeds stay
# as committed, and what a run adds is kept for the next run on this machine.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The targets run side by side, one per processor (FUZZ_JOBS), each for its
# own time; the results are read once all have ended.
fuzz_jobs=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}
seeds_of() {
  # The in-memory targets read the same schedule texts as the file-backed one.
  case $1 in
    schedule_memory | report_counts) echo schedule ;;
    *) echo "$1" ;;
  esac
}
fuzz_target() {  # fuzz_target TARGET: runs it, its exit status into a file
  local target="$1" seeds max_len asan_options status=0
  seeds=$(seeds_of "$target")
  # The file-backed target: long enough for a line past the read buffer of
  # the batch command. The in-memory one refills a buffer of 7 bytes and of
  # 128 in every input, and stays short to go fast, with a quarantine of
  # freed memory to match (each input's memory lives a few microseconds).
  case $target in
    schedule) max_len=70000 ;;
    schedule_memory | report_counts) max_len=512 ;;
    *) max_len=8192 ;;
  esac
  asan_options=$ASAN_OPTIONS
  [ "$seeds" = schedule ] && [ "$target" != schedule ] &&
    asan_options=$ASAN_OPTIONS:quarantine_size_mb=16:malloc_context_size=4
  ASAN_OPTIONS=$asan_options "$build/${target}_fuzzer" -max_total_time="$seconds" -runs="$runs" -timeout=10 \
    -rss_limit_mb=2048 -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$build/findings-$target/" \
    "$build/corpus-$target" "fuzz/corpus/$seeds" >"$build/$target-fuzzer.log" 2>&1 || status=$?
  echo "$status" >"$build/$target-fuzzer.status"
}
for target in $targets; do
  # Findings are of this run alone: an older one was copied out already.
  rm -rf "$build/findings-$target" "$build/$target-fuzzer.status"
  mkdir -p "$build/corpus-$target" "$build/findings-$target"
  echo "== fuzzing $target for ${seconds} s"
  fuzz_target "$target" &
  while [ "$(jobs -rp | wc -l)" -ge "$fuzz_jobs" ]; do wait -n || true; done
done
wait

summary=()
failed=0
for target in $targets; do
  seeds=$(seeds_of "$target")
  findings="$build/findings-$target"
  log="$build/$target-fuzzer.log"
  status=$(cat "$build/$target-fuzzer.status" 2>/dev/null || echo 1)
  for finding in "$findings"/*; do
    [ -e "$finding" ] || continue
    cp "$finding" "fuzz/corpus/$seeds/"
    echo "finding: fuzz/corpus/$seeds/$(basename "$finding") (replayed by fuzz_replay_tests)"
    failed=1
  done
  if [ "$status" -ne 0 ]; then
    echo "== $target: the fuzzer ended with status $status"
    tail -n 60 "$log"
    failed=1
  fi
  # The last status line holds coverage (edges), features and corpus size;
  # the first INFO line the number of edges instrumented.
  # A run that stopped early may lack any of them: no grep may end the script.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  edges=$(grep -oE '\(([0-9]+) inline 8-bit counters\)' "$log" | grep -oE '[0-9]+' | head -n 1 || true)
  executed=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  corp=$(sed -nE 's/.* corp: ([0-9]+)\/([0-9a-zA-Z]+).*/\1 inputs, \2/p' <<<"$last")
  exec_s=$(sed -nE 's/.* exec\/s: ([0-9]+).*/\1/p' <<<"$last")
  summary+=("$(printf '%-15s %10s executions  %6s exec/s  coverage %s of %s edges  corpus %s' \
    "$target" "${executed:-?}" "${exec_s:-?}" "${cov:-?}" "${edges:-?}" "${corp:-?}")")
done

echo "== fuzzing figures"
printf '%s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "fuzzing found a fault: see the logs in $build/" >&2
  exit 1
fi
