#!/usr/bin/env bash
# Builds the program and starts it in this terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc 2>/dev/null || echo 2)" --target schedule-builder schedule-tool >/dev/null
exec build/schedule-builder
