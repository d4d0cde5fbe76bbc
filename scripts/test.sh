#!/usr/bin/env bash
# Builds everything and runs every test: first a plain build, then the same
# tests built with AddressSanitizer and UndefinedBehaviorSanitizer, then the
# fuzzers for a bounded time and the Windows build under Wine, where those
# scripts are there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== tests (plain build)"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZELTO_SANITIZE=address,undefined >/dev/null
cmake --build build-sanitize -j"$jobs"
echo "== tests (AddressSanitizer and UndefinedBehaviorSanitizer)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# Each further stage is a script of its own; a stage fails the whole run.
for stage in scripts/fuzz.sh scripts/test-package.sh scripts/test-windows.sh; do
  if [ -x "$stage" ]; then
    echo "== $stage"
    "$stage"
  fi
done
