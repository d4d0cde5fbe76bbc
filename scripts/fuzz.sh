#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan, every
# file instrumented for coverage) and runs each for a bounded time, starting
# from the seed corpus in fuzz/corpus. Fails on any finding; a finding is
# copied into fuzz/corpus/<target>/ so that, once fixed and committed, the
# replay test runs it in every build. Prints the figures at the end.
#
#   scripts/fuzz.sh               about 30 s per target
#   FUZZ_SECONDS=300 scripts/fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}

scripts/install-deps.sh clang libclang-rt-14-dev

build=build-fuzz  # the fuzz preset's
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc 2>/dev/null || echo 2)"

# Each target gets its own working corpus in the build folder: the seeds stay
# as committed, and what a run adds is kept for the next run on this machine.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
summary=()
failed=0
for target in schedule console; do
  work="$build/corpus-$target"
  findings="$build/findings-$target"
  # Findings are of this run alone: an older one was copied out already.
  rm -rf "$findings"
  mkdir -p "$work" "$findings"
  log="$build/$target-fuzzer.log"
  echo "== fuzzing $target for ${seconds} s"
  # Long enough for a line past the read buffer of the batch command.
  max_len=$([ "$target" = schedule ] && echo 70000 || echo 8192)
  set +e
  "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "fuzz/corpus/$target" >"$log" 2>&1
  status=$?
  set -e
  for finding in "$findings"/*; do
    [ -e "$finding" ] || continue
    cp "$finding" "fuzz/corpus/$target/"
    echo "finding: fuzz/corpus/$target/$(basename "$finding") (replayed by fuzz_replay_tests)"
    failed=1
  done
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    failed=1
  fi
  # The last status line holds coverage (edges), features and corpus size;
  # the first INFO line the number of edges instrumented.
  # A run that stopped early may lack any of them: no grep may end the script.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  edges=$(grep -oE '\(([0-9]+) inline 8-bit counters\)' "$log" | grep -oE '[0-9]+' | head -n 1 || true)
  runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
  corp=$(sed -nE 's/.* corp: ([0-9]+)\/([0-9a-zA-Z]+).*/\1 inputs, \2/p' <<<"$last")
  exec_s=$(sed -nE 's/.* exec\/s: ([0-9]+).*/\1/p' <<<"$last")
  summary+=("$(printf '%-9s %10s executions  %6s exec/s  coverage %s of %s edges  corpus %s' \
    "$target" "${runs:-?}" "${exec_s:-?}" "${cov:-?}" "${edges:-?}" "${corp:-?}")")
done

echo "== fuzzing figures"
printf '%s\n' "${summary[@]}"
if [ "$failed" -ne 0 ]; then
  echo "fuzzing found a fault: see the logs in $build/" >&2
  exit 1
fi
