#!/usr/bin/env bash
# Builds everything and runs every test, stage by stage:
#   install   every stage's tools         scripts/install-deps.sh
#   native    the plain build's tests     ctest --preset native
#   sanitize  the same with ASan, UBSan   ctest --preset sanitize
#   fuzz      the fuzzers, bounded        scripts/fuzz.sh
#   package   the Debian package of the native build, installed, run and
#             removed                     scripts/test-package.sh (ctest --preset package)
#   win64     the 64-bit Windows build under Wine, against the native build
#                                         scripts/test-windows.sh win64 (ctest --preset win64)
#   win32     the same for 32 bits        scripts/test-windows.sh win32 (ctest --preset win32)
# Each stage installs what it lacks, configures and builds its preset and
# calls CTest on it. A failing stage does not stop the others. The end is a
# table of the stages: passed, skipped (and why) or failed, each with its
# time, the processor time it took (far below twice the time when the
# machine was busy with other work) and CTest's counts; the exit status is 1
# when any stage failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS
note=$(mktemp)
times_file=$(mktemp)
trap 'rm -f "$note" "$times_file"' EXIT

preset_stage() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs" && ctest --preset "$1"
}

# cpu_now: the processor seconds of every command run so far (bash's times,
# which must run in this shell, not in a subshell), in cpu_seconds.
cpu_now() {
  times >"$times_file"
  cpu_seconds=$(tail -n 1 "$times_file" |
    awk '{ for (i = 1; i <= 2; i++) { split($i, t, /[ms]/); s += t[1] * 60 + t[2] } } END { printf "%d", s }')
}

rows=()
totals=(0 0 0)  # passed, failed, skipped: tests, and a stage without CTest as one
failed_stages=0
# stage NAME BUILD_DIR COMMAND...: runs one stage and notes its row.
stage() {
  local name="$1" build="$2" begun=$SECONDS cpu_begun status result counts="" details=""
  shift 2
  echo "== stage $name: $*"
  [ -z "$build" ] || rm -f "$build/ctest-results.xml"
  : >"$note"
  cpu_now
  cpu_begun=$cpu_seconds
  "$@"
  status=$?
  case "$status" in
    0) result=passed ;;
    77) result="skipped: $(paste -sd ';' "$note")" ;;
    *) result=failed; failed_stages=$((failed_stages + 1)) ;;
  esac
  if [ -n "$build" ] && [ -f "$build/ctest-results.xml" ]; then
    details=$(scripts/ctest-counts.py "$build/ctest-results.xml")
    counts=$(head -n 1 <<<"$details")
    read -r p _ f _ s _ <<<"$counts"
    totals=($((totals[0] + p)) $((totals[1] + f)) $((totals[2] + s)))
  else
    case "$result" in
      passed) totals[0]=$((totals[0] + 1)) ;;
      failed) totals[1]=$((totals[1] + 1)) ;;
      *) totals[2]=$((totals[2] + 1)) ;;
    esac
  fi
  cpu_now
  rows+=("$(printf '%-9s %-8s %5s s %5s s  %s' "$name" "${result%%:*}" "$((SECONDS - begun))" \
    "$((cpu_seconds - cpu_begun))" "${counts:--}")")
  [ "$result" = "${result#skipped: }" ] || rows+=("          why: ${result#skipped: }")
  while IFS= read -r line; do
    [ -z "$line" ] || rows+=("        $line")
  done < <(tail -n +2 <<<"$details")
}

table() {
  echo
  echo "== stages ($((SECONDS - started)) s in all)"
  printf '%-9s %-8s %7s %7s  %s\n' stage result time cpu "CTest's counts"
  printf '%s\n' "${rows[@]}"
  echo "tests: ${totals[0]} passed, ${totals[1]} failed, ${totals[2]} skipped"
}

export ZELTO_STAGE_NOTE="$note"
# Every stage's tools in one apt-get call where they can all be had; each
# stage asks again for what it lacks (Wine's 32-bit loader among them).
install_all() { scripts/install-deps.sh build fuzz package windows windows32 || scripts/install-deps.sh build; }
stage install "" install_all
if [ "$failed_stages" -ne 0 ]; then
  table
  exit 1
fi
stage native build preset_stage native
stage sanitize build-sanitize preset_stage sanitize
stage fuzz "" scripts/fuzz.sh
stage package build scripts/test-package.sh
stage win64 build-win64 scripts/test-windows.sh win64
stage win32 build-win32 scripts/test-windows.sh win32
table
[ "$failed_stages" -eq 0 ]
