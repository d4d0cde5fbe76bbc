#!/usr/bin/env bash
# Builds the benchmarks and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DZELTO_BENCHMARKS=ON -DZELTO_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc 2>/dev/null || echo 2)"
build-bench/bench/build_benchmark "$@"
build-bench/bench/console_benchmark
