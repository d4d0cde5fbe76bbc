#!/usr/bin/env bash
# Runs an end-to-end test program of the Linux build on a Windows build under
# Wine, for CTest (cmake/windows_tests.cmake); the environment names the
# Windows build and the Wine prefix. The Linux build is the native preset's
# folder, built beforehand and not again here.
#
#   against-linux.sh PROGRAM [ARGUMENTS...]
#
# Exit status: the program's; 77 when it cannot run here (the Linux program
# is not built, or Wine is missing).
set -uo pipefail
program="$1"
shift
skip() { echo "against-linux: skipped: $*"; exit 77; }
[ -x "$program" ] ||
  skip "$program is not built: build the Linux build first (cmake --build --preset native)"
"$(dirname "$0")/../wine-run.sh" --start
[ $? -eq 125 ] && skip "Wine is not installed"
exec "$program" "$@" </dev/null
