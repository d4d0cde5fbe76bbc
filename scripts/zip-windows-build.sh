#!/usr/bin/env bash
# The release zip of one Windows build that is built already: a folder
# holding schedule-builder.exe and schedule-tool.exe (stripped), the README
# and the pages of docs/ it links to. The zip is the same bytes for the same programs: fixed file times,
# no extra attributes. Prints the zip's name.
#
#   scripts/zip-windows-build.sh TARGET BUILD_DIR OUTPUT_DIR    (TARGET: win64 or win32)
set -euo pipefail
target="$1"
build="$(realpath "$2")"
out_dir="$(realpath -m "$3")"
case "$target" in
  win64) triple=x86_64-w64-mingw32 ;;
  win32) triple=i686-w64-mingw32 ;;
  *) echo "zip-windows-build: the target is win64 or win32, not $target" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="zelto-schedule-builder-$version-$target"
stage="$build/package/$name"
rm -rf "$build/package"
mkdir -p "$stage" "$out_dir"
# strip writes the time it runs into a program's header unless told a time.
for program in schedule-builder.exe schedule-tool.exe; do
  SOURCE_DATE_EPOCH=946684800 "$triple-strip" -o "$stage/$program" "$build/$program"
done
cp README.md "$stage/README.md"
# The README links into docs/: its pages and pictures go beside it.
mkdir -p "$stage/docs"
cp docs/*.md docs/*.png "$stage/docs/"
# One time for every entry, so the archive depends on its contents alone.
find "$stage" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
rm -f "$out_dir/$name.zip"
(cd "$build/package" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$out_dir/$name.zip")
echo "$out_dir/$name.zip"
