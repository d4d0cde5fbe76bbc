#!/usr/bin/env bash
# The release zip of a Windows build, made as scripts/package-windows.sh makes
# it, holds both programs, the README and its docs, and made again it is the same
# bytes; for CTest (cmake/windows_tests.cmake).
#
#   release-zip.sh TARGET BUILD_DIR     (TARGET: win64 or win32)
#
# Exit status 0 when it does, 1 when not (saying what is wrong), 77 when zip
# is not installed.
set -uo pipefail
target="$1"
build="$2"
command -v zip >/dev/null || { echo "release-zip: skipped: zip is not installed"; exit 77; }
make_zip() { "$(dirname "$0")/../zip-windows-build.sh" "$target" "$build" "$build/$1"; }
zip=$(make_zip release-zip) || exit 1
echo "made $zip"
again=$(make_zip release-zip-again) || exit 1
cmp "$zip" "$again" || { echo "release-zip: made twice, the zip differs" >&2; exit 1; }
listing="$(unzip -Z1 "$zip" 2>/dev/null || zip -sf "$zip")"
name="$(basename "$zip" .zip)"
status=0
for member in schedule-builder.exe schedule-tool.exe README.md docs/design.md; do
  if grep -q "$name/$member\$" <<<"$listing"; then
    echo "holds $name/$member"
  else
    echo "release-zip: $zip holds no $name/$member" >&2
    status=1
  fi
done
exit "$status"
