#!/usr/bin/env bash
# Builds everything and runs every test, stage by stage:
#   install   what the stages need                  scripts/install-deps.sh
#   native    the plain build's tests               ctest --preset native
#   sanitize  the same with AddressSanitizer and UBSan  ctest --preset sanitize
#   fuzz      the fuzzers for a bounded time        scripts/fuzz.sh
#   package   the Debian package, installed and removed  scripts/test-package.sh
#   win64     the 64-bit Windows build under Wine   scripts/test-windows.sh win64
#   win32     the 32-bit Windows build under Wine   scripts/test-windows.sh win32
# Each stage installs what it needs, configures and builds its preset and
# calls CTest on it. A failing stage does not stop the others; the end is a
# table of the stages (passed, skipped and why, or failed), each with its
# time and CTest's counts, and the exit status is 1 when any stage failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS
note=$(mktemp)
trap 'rm -f "$note"' EXIT

preset_stage() {
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs" && ctest --preset "$1"
}

rows=()
totals=(0 0 0)  # passed, failed, skipped: tests, and a stage without CTest as one
failed_stages=0
# stage NAME BUILD_DIR COMMAND...: runs one stage and notes its row.
stage() {
  local name="$1" build="$2" begun=$SECONDS status result counts="" details=""
  shift 2
  echo "== stage $name: $*"
  [ -z "$build" ] || rm -f "$build/ctest-results.xml"
  : >"$note"
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
  rows+=("$(printf '%-9s %-8s %5s s  %s' "$name" "${result%%:*}" "$((SECONDS - begun))" "${counts:--}")")
  [ "$result" = "${result#skipped: }" ] || rows+=("          why: ${result#skipped: }")
  while IFS= read -r line; do
    [ -z "$line" ] || rows+=("        $line")
  done < <(tail -n +2 <<<"$details")
}

table() {
  echo
  echo "== stages ($((SECONDS - started)) s in all)"
  printf '%-9s %-8s %7s  %s\n' stage result time "CTest's counts"
  printf '%s\n' "${rows[@]}"
  echo "tests: ${totals[0]} passed, ${totals[1]} failed, ${totals[2]} skipped"
}

export ZELTO_STAGE_NOTE="$note"
# Every stage's tools in one apt-get call where they can all be had; each
# stage asks again for what it lacks (Wine's 32-bit loader among them).
install_all() { scripts/install-deps.sh build fuzz package windows || scripts/install-deps.sh build; }
stage install "" install_all
if [ "$failed_stages" -ne 0 ]; then
  table
  exit 1
fi
stage native build preset_stage native
stage sanitize build-sanitize preset_stage sanitize
stage fuzz "" scripts/fuzz.sh
stage package build-package scripts/test-package.sh
stage win64 build-win64 scripts/test-windows.sh win64
stage win32 build-win32 scripts/test-windows.sh win32
table
[ "$failed_stages" -eq 0 ]
