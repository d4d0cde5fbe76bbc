#!/usr/bin/env bash
# Builds the benchmarks and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc 2>/dev/null || echo 2)"
build-bench/bench/build_benchmark "$@"
build-bench/bench/console_benchmark
build-bench/bench/import_benchmark
build-bench/bench/generate_benchmark
# generate's travel search against the best totals known (some minutes;
# TRAVEL_BENCH_ARGS="--efforts 1", say, for effort 1 alone).
build-bench/bench/travel_benchmark ${TRAVEL_BENCH_ARGS:-}
# Every command as a program beside its floor, with its peak memory
# (COMMAND_BENCH_ARGS="--runs 7", say).
build-bench/bench/command_benchmark ${COMMAND_BENCH_ARGS:-}
