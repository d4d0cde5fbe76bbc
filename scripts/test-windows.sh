#!/usr/bin/env bash
# The Windows builds, checked on this Linux machine, 64-bit (win64) and
# 32-bit (win32) alike:
# 1. installs mingw-w64, Wine (wine64, and wine32:i386 for the 32-bit
#    programs) and zip from Debian's packages when missing; without them, and
#    without root to install them, what cannot run is reported as skipped
#    (never as passed);
# 2. cross-builds each preset and runs its unit tests under Wine (CTest; the
#    console device's in a tmux window); as root, the read-only file checks
#    run again as an ordinary user, since Wine run by root writes read-only
#    files all the same;
# 3. runs the end-to-end tests on each build's schedule-tool.exe and
#    schedule-builder.exe against the Linux build (e2e/programs_compared_test.cc:
#    schedule files, dumps, reports, imports and calendars byte for byte,
#    messages, exit statuses, names the code page lacks; and
#    e2e/dialogue_test.cc: schedule-builder.exe typed at in tmux);
# 4. makes the release zips and checks what they hold.
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir="$PWD"
started=$SECONDS
jobs=$(nproc 2>/dev/null || echo 2)
stage() { echo "== $* ($((SECONDS - started)) s)"; }
skip() { echo "SKIPPED (not passed): $*"; }

# --- 1. Tools -------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 zip googletest)
if ! scripts/install-deps.sh "${packages[@]}"; then
  skip "the Windows builds and all their tests: mingw-w64 or Wine cannot be installed here"
  exit 0
fi
scripts/install-deps.sh  # cmake, g++ and tmux for the Linux build compared against
targets=(win64)
# Wine's 32-bit loader, for the i686 programs.
if scripts/install-deps.sh wine32:i386; then
  targets+=(win32)
else
  skip "the 32-bit build's tests: Wine's 32-bit loader (wine32:i386) cannot be installed here"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j"$jobs" --target schedule-tool schedule-builder
fi

wine_run="$root_dir/scripts/wine-run.sh"
prefix="$root_dir/build-wine-prefix"  # the presets' prefix, shared by both builds
export WINEPREFIX="$prefix"
user_dir=""
as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$user_dir" "$@"; }
cleanup() {
  "$wine_run" --stop || true
  if [ -n "$user_dir" ]; then
    as_nobody "$wine_run" --prefix "$user_dir/prefix" --stop >/dev/null 2>&1 || true
    rm -rf "$user_dir"
  fi
}
trap cleanup EXIT

# passed_log LOG: the test program ran its tests, none skipped; else shows LOG.
passed_log() { { ! grep -q SKIPPED "$1" && grep -q PASSED "$1"; } || { cat "$1"; false; }; }
failures=0
check() {  # check DESCRIPTION COMMAND...: counts a failed check
  local what="$1"
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}

# --- 2. Builds and their unit tests -----------------------------------------
for target in "${targets[@]}"; do
  stage "Windows $target: build"
  cmake --preset "$target" >/dev/null
  cmake --build --preset "$target" -j"$jobs"
  stage "Windows $target: unit tests under Wine"
  ctest --preset "$target"
done

if [ "$(id -u)" -eq 0 ]; then
  stage "Windows: read-only file checks as the user nobody"
  user_dir="$(mktemp -d /tmp/zelto-wine-user.XXXXXX)"
  for target in "${targets[@]}"; do
    for program in files/files_tests schedule/schedule_tests; do
      cp "build-$target/$program.exe" "$user_dir/$(basename "$program")-$target.exe"
    done
  done
  chown -R 65534:65534 "$user_dir"
  for program in "$user_dir"/*.exe; do
    name="$(basename "$program" .exe)"
    as_nobody "$wine_run" --prefix "$user_dir/prefix" "$program" --gtest_filter='*ReadOnly*' \
      --gtest_brief=1 >"$user_dir/$name.log" 2>&1 || true
    check "$name: the read-only checks as an ordinary user" passed_log "$user_dir/$name.log"
  done
fi

# --- 3. The programs against the Linux build --------------------------------
stage "Linux build to compare against"
# The end-to-end tests run each check once for every build they are told of:
# compared_tests (e2e/programs_compared_test.cc) runs both programs as a
# script does and compares files, messages and statuses with this build's;
# terminal_tests types at schedule-builder.exe in tmux, each dialogue
# scenario once for every program.
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs" \
  --target schedule-tool schedule-builder terminal_tests compared_tests >/dev/null

# end_to_end TARGET NAME PROGRAM FILTER VARIABLE=VALUE: runs an e2e test
# program on the Windows build of TARGET, counted as one check.
end_to_end() {
  local target="$1" name="$2" program="$3" filter="$4" setting="$5" status=0
  local log="$root_dir/build-$target/$program.log"
  env "$setting" "$root_dir/build/e2e/$program" --gtest_brief=1 --gtest_filter="$filter" \
    >"$log" 2>&1 </dev/null || status=$?
  cat "$log"
  check "$target: $name" test "$status" -eq 0
}

"$wine_run" --start
for target in "${targets[@]}"; do
  stage "Windows $target: the programs against the Linux build"
  end_to_end "$target" "both programs give the Linux build's files, words and statuses" \
    compared_tests '*/windows' "ZELTO_WINDOWS_BUILD=$root_dir/build-$target"
  end_to_end "$target" "schedule-builder.exe on a console under Wine in tmux" \
    terminal_tests '*/wine' "ZELTO_WINDOWS_SCHEDULE_BUILDER=$root_dir/build-$target/schedule-builder.exe"
done

# --- 4. Release zips --------------------------------------------------------
stage "Release zips"
for zip in $(scripts/package-windows.sh build-dist); do
  listing="$(unzip -Z1 "$zip" 2>/dev/null || zip -sf "$zip")"
  for member in schedule-builder.exe schedule-tool.exe README.md; do
    check "$(basename "$zip") holds $member" grep -q "/$member\$" <<<"$listing"
  done
done

if [ "$failures" -gt 0 ]; then
  echo "== Windows: $failures check(s) failed" >&2
  exit 1
fi
echo "== Windows: every check passed in $((SECONDS - started)) s (${targets[*]})"
