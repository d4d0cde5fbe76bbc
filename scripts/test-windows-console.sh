#!/usr/bin/env bash
# End-to-end test of schedule-builder.exe on a Windows console: Wine runs it
# inside tmux, keys are typed, and the screen and the schedule file are
# compared with what the Linux build gives (frame/wine_terminal_test.cc).
#
#   scripts/test-windows-console.sh [WINDOWS_BUILD_DIR]
#
# WINDOWS_BUILD_DIR holds a 64-bit cross build (default build-win64-console,
# configured and built here when it has no schedule-builder.exe). The Linux
# side is built in $ZELTO_NATIVE_BUILD (default build-wine-e2e). Wine's
# prefix is $WINEPREFIX, else /tmp/zelto-wine-console-$UID.
#
# Exit status: 0 when every test passed, 1 when one failed, 77 when the
# test could not run (no Wine, tmux or mingw-w64): skipped, never passed.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
jobs=2

skip() {
  echo "test-windows-console: SKIPPED: $1" >&2
  exit 77
}

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
find_wine
[ -n "$wine" ] && [ -n "$wineserver" ] || skip "Wine (wine64) is not installed"
command -v tmux >/dev/null || skip "tmux is not installed"
command -v setsid >/dev/null || skip "setsid is not installed"

windows_build="${1:-build-win64-console}"
case "$windows_build" in /*) ;; *) windows_build="$root/$windows_build" ;; esac
exe="$windows_build/schedule-builder.exe"
if [ ! -f "$exe" ]; then
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || skip "mingw-w64 (x86_64, posix) is not installed"
  cmake -S . -B "$windows_build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/x86_64-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build "$windows_build" -j"$jobs" --target schedule-builder
fi

# The Linux side: the in-memory console, the Linux program and the test.
native_build="${ZELTO_NATIVE_BUILD:-build-wine-e2e}"
cmake -S . -B "$native_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELTO_WINDOWS_SCHEDULE_BUILDER="$exe" >/dev/null
cmake --build "$native_build" -j"$jobs" --target wine_terminal_tests schedule-builder

# A prefix of our own with a persistent server, so each start is quick.
# Wine's helper processes keep whatever output they inherit open for as
# long as they live: theirs goes to /dev/null, never to a pipe.
export WINEPREFIX="${WINEPREFIX:-/tmp/zelto-wine-console-$(id -u)}"
export_wine_quiet
export ZELTO_WINE="$wine"
mkdir -p "$WINEPREFIX"
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot --init </dev/null >/dev/null 2>&1

# Output to a file, printed afterwards: a pipe could be held open by Wine.
log="$(mktemp "${TMPDIR:-/tmp}/zelto-wine-console.XXXXXX")"
status=0
"$native_build/wine_terminal_tests" >"$log" 2>&1 </dev/null || status=$?
cat "$log"
rm -f "$log"
"$wineserver" -k </dev/null >/dev/null 2>&1 || true
if [ "$status" -ne 0 ]; then
  echo "test-windows-console: FAILED" >&2
  exit 1
fi
echo "test-windows-console: passed"
