#!/usr/bin/env bash
# Runs a Windows program under Wine, for CTest (the cross builds name this
# script as their emulator, and the checks in scripts/checks/ call it).
#
#   scripts/wine-run.sh [--prefix DIR] [--terminal] PROGRAM.exe [ARGUMENTS...]
#   scripts/wine-run.sh [--prefix DIR] --start    (sets the prefix up, starts its server)
#   scripts/wine-run.sh [--prefix DIR] --stop     (ends the prefix's wineserver)
#
# The Wine prefix is DIR (else $WINEPREFIX, else /tmp/zelto-wine-$UID); one
# 64-bit prefix runs both the x86_64 and the i686 programs. The first run
# sets it up (10 to 20 s) and leaves a persistent wineserver behind, so every
# later run starts in well under a second. The server ends by itself 10
# minutes after its last program, or at once with --stop.
#
# --terminal runs the program in a tmux window of its own, for a program
# that needs a console: under Wine a program has one only when its standard
# input is a terminal.
#
# Wine quirks handled here:
# - Setting a prefix up starts helper processes (wineserver, services) that
#   keep whatever output they inherited open for as long as they live. Were
#   that a pipe, the reader (CTest) would wait for its end forever, so the
#   set-up's output goes to /dev/null and the server is started apart.
# - For the same reason the program's own output goes to a file, which is
#   printed when the program has ended.
# - Exit status: the program's exit code; 125 when Wine, or for an i686
#   program its 32-bit loader, is not there.
set -uo pipefail

prefix="${WINEPREFIX:-/tmp/zelto-wine-$(id -u)}"
if [ "${1:-}" = "--prefix" ]; then
  prefix="$2"
  shift 2
fi
terminal=0
if [ "${1:-}" = "--terminal" ]; then
  terminal=1
  shift
fi
if [ $# -lt 1 ]; then
  echo "usage: $0 [--prefix DIR] [--terminal] PROGRAM.exe [ARGUMENTS...] | --start | --stop" >&2
  exit 2
fi

# Debian keeps the loader off PATH. wine64 hands an i686 program to the
# 32-bit loader beside it (package wine32:i386) by itself.
wine="" wineserver=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64)" "$(command -v wine)"; do
  [ -x "$candidate" ] && { wine="$candidate"; break; }
done
for candidate in /usr/lib/wine/wineserver "$(command -v wineserver)"; do
  [ -x "$candidate" ] && { wineserver="$candidate"; break; }
done
if [ -z "$wine" ] || [ -z "$wineserver" ]; then
  echo "wine-run: Wine is not installed (wine64)" >&2
  exit 125
fi

export WINEPREFIX="$(realpath -m "$prefix")"  # Wine takes absolute names only
if [ "$1" = "--stop" ]; then
  [ -d "$WINEPREFIX" ] && "$wineserver" -k </dev/null >/dev/null 2>&1
  exit 0
fi
# An i686 program (PE machine 0x14c, at the offset that byte 60 holds, plus
# 4) needs the 32-bit loader beside wine64.
pe_machine() {
  local offset
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] && od -An -tx2 -j"$((offset + 4))" -N2 "$1" 2>/dev/null | tr -d ' '
}
if [ "$1" != "--start" ] && [ "$(pe_machine "$1")" = "014c" ]; then
  if [ ! -x "$(dirname "$wine")/wine" ]; then
    echo "wine-run: Wine's 32-bit loader is not installed (wine32:i386), which $1 needs" >&2
    exit 125
  fi
  # A kernel without 32-bit x86 support cannot start the loader at all.
  if ! "$(dirname "$wine")/wine" --version >/dev/null 2>&1; then
    echo "wine-run: this kernel does not run 32-bit x86 programs, which $1 needs" >&2
    exit 125
  fi
fi
# No debug chatter on the program's output, and no Mono or Gecko (nothing
# here needs them, and asking for them would stall the set-up).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
mkdir -p "$WINEPREFIX"

# One set-up at a time: CTest may start several programs at once.
exec 9>"$WINEPREFIX/.zelto-lock"
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
[ "$1" = "--start" ] && exit 0

output="$(mktemp "${TMPDIR:-/tmp}/zelto-wine-output.XXXXXX")"
if [ "$terminal" -eq 0 ]; then
  "$wine" "$@" >"$output" 2>&1
  status=$?
else
  command -v tmux >/dev/null || { echo "wine-run: tmux is not installed" >&2; exit 125; }
  # A private tmux server, gone with the program; the window's shell notes
  # the exit status, which is waited for (bounded: 5 minutes).
  socket="zelto-wine-run-$$"
  status_file="$output.status"
  tmux -L "$socket" -f /dev/null new-session -d -x 120 -y 40 \
    "$(printf '%q ' "$wine" "$@") >$(printf '%q' "$output") 2>&1;
     echo \$? >$(printf '%q' "$status_file.new"); mv $(printf '%q ' "$status_file.new" "$status_file")"
  for _ in $(seq 1500); do
    [ -f "$status_file" ] && break
    sleep 0.2
  done
  if [ -f "$status_file" ]; then
    status=$(cat "$status_file")
  else
    echo "wine-run: $1 did not end within 5 minutes" >>"$output"
    status=124
  fi
  tmux -L "$socket" kill-server >/dev/null 2>&1
  rm -f "$status_file"
fi
cat "$output"
rm -f "$output"
exit "$status"
