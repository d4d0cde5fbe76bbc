#!/usr/bin/env bash
# The Windows builds, checked on this Linux machine: for each target named
# (win64, win32; both when none is) it installs what the target needs,
# cross-builds its preset and runs its CTest tests (ctest --preset TARGET):
# the unit tests under Wine, the read-only checks again as the user nobody,
# both programs against the Linux build, and the release zip (see
# cmake/windows_tests.cmake).
#
#   scripts/test-windows.sh [win64] [win32]
#
# The Linux build compared against is the native preset's, whose programs
# and end-to-end test programs are built here when they are not already.
# What it needs (scripts/install-deps.sh windows, and windows32 for win32):
# mingw-w64 and zip; Wine (wine64) to run the programs, and for win32 Wine's
# 32-bit loader (wine32:i386). Without Wine a target's programs are built but
# its tests are skipped, never passed; without mingw-w64 nothing is built. Exit status: 0 when every test passed, 1 when one failed, 77
# when a target was skipped; the reason is said, and written to the file
# $ZELTO_STAGE_NOTE when that is set (scripts/test.sh reads it).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
targets=("$@")
[ $# -gt 0 ] || targets=(win64 win32)

result=0
skip() {
  echo "test-windows $target: skipped: $*"
  [ -z "${ZELTO_STAGE_NOTE:-}" ] || echo "$*" >>"$ZELTO_STAGE_NOTE"
  [ "$result" -ne 0 ] || result=77
}

scripts/install-deps.sh  # cmake, g++ and tmux, for the Linux build
wine=1
if ! scripts/install-deps.sh windows; then
  # Without Wine the programs are built all the same.
  wine=0
  if ! scripts/install-deps.sh g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest zip; then
    target="${targets[*]}"
    skip "mingw-w64 cannot be installed here"
    exit "$result"
  fi
fi
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs" \
  --target schedule-tool schedule-builder terminal_tests compared_tests >/dev/null

for target in "${targets[@]}"; do
  echo "== test-windows $target"
  # Why the target's tests cannot run here, if they cannot: it is then built
  # and not tested.
  lacking=""
  [ "$wine" -eq 1 ] || lacking="Wine (wine64) cannot be installed here"
  case "$target" in
    win64) ;;
    win32)
      if [ -z "$lacking" ] && ! scripts/install-deps.sh windows32; then
        lacking="Wine's 32-bit loader (wine32:i386) cannot be installed here"
      fi
      # A kernel built without 32-bit x86 support refuses the loader itself
      # ("Exec format error"), and every i686 program with it.
      if [ -z "$lacking" ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        lacking="this kernel does not run 32-bit x86 programs (Wine's 32-bit loader cannot start)"
      fi
      ;;
    *) echo "test-windows: the targets are win64 and win32, not $target" >&2; exit 2 ;;
  esac
  cmake --preset "$target" >/dev/null
  if [ -n "$lacking" ]; then
    # The programs are still built, so that the target's compiler has seen
    # every line users get; the tests, which could not run, are not.
    cmake --build --preset "$target" -j"$jobs" --target schedule-tool schedule-builder
    skip "$lacking: the programs built, not tested"
    continue
  fi
  cmake --build --preset "$target" -j"$jobs"
  ctest --preset "$target" || result=1
done
exit "$result"
