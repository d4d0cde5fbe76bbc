#!/usr/bin/env bash
# Runs a Windows test program under Wine as the user nobody, for CTest
# (cmake/windows_tests.cmake): Wine run by root writes read-only files all the
# same, so the read-only checks hold only for an ordinary user.
#
#   wine-as-nobody.sh --start                  sets nobody's Wine prefix up, starts its server
#   wine-as-nobody.sh --stop                   ends that server
#   wine-as-nobody.sh PROGRAM.exe [ARGUMENTS]  runs a copy of PROGRAM.exe as nobody
#
# nobody's prefix is /tmp/zelto-wine-65534, set up once (10 to 20 s) and kept
# for the next run, as wine-run.sh keeps every user's. The program and
# wine-run.sh are copied into a folder of nobody's own, since the build folder
# may lie where nobody cannot read. Exit status: the program's; 77 when it
# cannot run here (not root, or no Wine).
set -uo pipefail
nobody=65534
prefix=/tmp/zelto-wine-$nobody
skip() { echo "wine-as-nobody: skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "only root can run a program as the user nobody"
[ $# -ge 1 ] || { echo "usage: $0 --start | --stop | PROGRAM.exe [ARGUMENTS...]" >&2; exit 2; }

work=$(mktemp -d /tmp/zelto-wine-nobody-run.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "$0")/../wine-run.sh" "$work/"
command=("$work/wine-run.sh" --prefix "$prefix")
case "$1" in
  --start | --stop) command+=("$1") ;;
  *)
    cp "$1" "$work/"
    command+=("$work/$(basename "$1")" "${@:2}")
    ;;
esac
chown -R "$nobody:$nobody" "$work"
setpriv --reuid="$nobody" --regid="$nobody" --clear-groups \
  env -u WINEPREFIX HOME="$work" "${command[@]}"
status=$?
[ "$status" -eq 125 ] && skip "Wine is not installed"
exit "$status"
