#!/usr/bin/env bash
# Release archives of the Windows programs: one zip per target, each holding
# schedule-builder.exe, schedule-tool.exe and the README.
#
#   scripts/package-windows.sh [OUTPUT_DIR]     (default: build-dist)
#
# Builds the win64 and win32 presets first (mingw-w64 must be installed; see
# scripts/test-windows.sh). The programs are statically linked and stripped,
# so they run on a bare Windows machine from the unpacked folder. The zips
# are the same bytes for the same programs: fixed file times, no extra
# attributes.
set -euo pipefail
cd "$(dirname "$0")/.."
out_dir="$(realpath -m "${1:-build-dist}")"
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p "$out_dir"

for target in win64 win32; do
  case "$target" in
    win64) triple=x86_64-w64-mingw32 ;;
    win32) triple=i686-w64-mingw32 ;;
  esac
  build="build-$target"
  cmake --preset "$target" >/dev/null
  cmake --build --preset "$target" -j"$jobs" --target schedule-builder schedule-tool >/dev/null
  programs=(schedule-builder.exe schedule-tool.exe)

  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  name="zelto-schedule-builder-$version-$target"
  stage="$build/package/$name"
  rm -rf "$build/package"
  mkdir -p "$stage"
  for program in "${programs[@]}"; do
    "$triple-strip" -o "$stage/$program" "$build/$program"
  done
  cp README.md "$stage/README.md"
  # One time for every entry, so the archive depends on its contents alone.
  find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
  rm -f "$out_dir/$name.zip"
  (cd "$build/package" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$out_dir/$name.zip")
  echo "$out_dir/$name.zip"
done
