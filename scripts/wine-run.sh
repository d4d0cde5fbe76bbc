#!/usr/bin/env bash
# Runs a Windows program under Wine, for CTest (the cross builds name this
# script as their emulator) and for scripts/test-windows.sh.
#
#   scripts/wine-run.sh [--prefix DIR] PROGRAM.exe [ARGUMENTS...]
#   scripts/wine-run.sh [--prefix DIR] --stop     (ends the prefix's wineserver)
#
# The Wine prefix is DIR (else $WINEPREFIX, else /tmp/zelto-wine-$UID). The
# first run sets the prefix up (about 11 s) and leaves a persistent
# wineserver behind, so every later run starts in well under a second. The
# server ends by itself 10 minutes after its last program, or at once with
# --stop (scripts/test-windows.sh does that when it is done).
#
# Wine quirks handled here:
# - Setting a prefix up starts helper processes (wineserver, services) that
#   keep whatever output they inherited open for as long as they live. Were
#   that a pipe, the reader (CTest) would wait for its end forever, so the
#   set-up's output goes to /dev/null and the server is started apart.
# - For the same reason the program's own output goes to a file, which is
#   printed when the program has ended.
# - Exit status: the program's exit code; 125 when Wine is not there.
set -uo pipefail

prefix="${WINEPREFIX:-/tmp/zelto-wine-$(id -u)}"
if [ "${1:-}" = "--prefix" ]; then
  prefix="$2"
  shift 2
fi
if [ $# -lt 1 ]; then
  echo "usage: $0 [--prefix DIR] PROGRAM.exe [ARGUMENTS...]" >&2
  exit 2
fi

# The loader on PATH as plain "wine" will do here too.
# shellcheck source=scripts/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
find_wine "$(command -v wine 2>/dev/null || true)"
if [ -z "$wine" ] || [ -z "$wineserver" ]; then
  echo "wine-run: Wine is not installed (wine64)" >&2
  exit 125
fi

export WINEPREFIX="$(realpath -m "$prefix")"  # Wine takes absolute names only
if [ "$1" = "--stop" ]; then
  [ -d "$WINEPREFIX" ] && "$wineserver" -k </dev/null >/dev/null 2>&1
  exit 0
fi
export_wine_quiet
export WINEARCH=win64
mkdir -p "$WINEPREFIX"

# One set-up at a time: CTest may start several programs at once.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.zelto-ready" ]; then
  "$wineserver" -p600 </dev/null >/dev/null 2>&1
  "$wine" wineboot --init </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.zelto-ready"
fi
# A persistent server (started apart, output to /dev/null) spares each run
# the server's start; starting one while one runs does nothing.
"$wineserver" -p600 </dev/null >/dev/null 2>&1
flock -u 9
exec 9>&-

output="$(mktemp "${TMPDIR:-/tmp}/zelto-wine-output.XXXXXX")"
"$wine" "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit "$status"
