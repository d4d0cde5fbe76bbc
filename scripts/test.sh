#!/usr/bin/env bash
# Builds everything and runs every test: first a plain build, then the same
# tests built with AddressSanitizer and UndefinedBehaviorSanitizer (the
# sanitize preset), then each further stage: the fuzzers for a bounded time,
# the Debian package, and the Windows builds under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in native sanitize; do
  echo "== tests ($preset build)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  ctest --preset "$preset"
done

# A stage fails the whole run.
for stage in scripts/fuzz.sh scripts/test-package.sh scripts/test-windows.sh; do
  echo "== $stage"
  "$stage"
done
