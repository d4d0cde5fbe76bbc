#!/usr/bin/env bash
# Release archives of the Windows programs: one zip per target, each holding
# schedule-builder.exe, schedule-tool.exe and the README.
#
#   scripts/package-windows.sh [OUTPUT_DIR]     (default: build-dist)
#
# Builds the win64 and win32 presets' programs first (mingw-w64 must be
# installed: scripts/install-deps.sh g++-mingw-w64-x86-64-posix
# g++-mingw-w64-i686-posix zip), then zips each (scripts/zip-windows-build.sh).
# The programs are statically linked and stripped, so they run on a bare
# Windows machine from the unpacked folder. The zips are the same bytes for
# the same programs: fixed file times, no extra attributes.
set -euo pipefail
cd "$(dirname "$0")/.."
out_dir="${1:-build-dist}"
jobs=$(nproc 2>/dev/null || echo 2)
for target in win64 win32; do
  cmake --preset "$target" >/dev/null
  cmake --build --preset "$target" -j"$jobs" --target schedule-builder schedule-tool >/dev/null
  scripts/zip-windows-build.sh "$target" "build-$target" "$out_dir"
done
