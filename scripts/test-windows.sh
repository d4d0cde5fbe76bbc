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
# 3. runs each build's schedule-tool.exe and schedule-builder.exe against the
#    Linux build: schedule files byte for byte, messages, exit statuses,
#    redirected dumps, names the code page lacks, and schedule-builder.exe
#    typed at in tmux (e2e/dialogue_test.cc);
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
# terminal_tests types at schedule-builder.exe in tmux too, each dialogue
# scenario once for every program, when it is told which .exe to run.
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs" --target schedule-tool schedule-builder terminal_tests \
  >/dev/null
linux_tool="$root_dir/build/schedule-tool"
linux_builder="$root_dir/build/schedule-builder"

# A larger season: 600 dates, some over the 15-game limit, repeated dates,
# games before the first date, options, leading spaces, long names, commas,
# quotes, TABs, CR LF, LF and lone CR line ends, and a Ctrl+Z near the end.
make_large_season() {
  awk 'BEGIN {
    srand(1945);
    print "45xearly  45xgames";
    for (d = 0; d < 600; ++d) {
      end = (d % 3 == 0) ? "\r\n" : (d % 3 == 1) ? "\n" : "\r";
      printf "[%02d/%02d/45]%s", 4 + int(d / 100), 1 + d % 28, end;
      if (d % 50 == 7) printf "[%02d/%02d/45]%s", 4 + int(d / 100), 1 + d % 28, end;
      games = int(rand() * 18);
      for (g = 0; g < games; ++g) {
        line = sprintf("45n%05d 45a%05d", int(rand() * 99999), int(rand() * 99999));
        r = rand();
        if (r < 0.2) line = line " DH";
        else if (r < 0.25) line = "   " line;
        else if (r < 0.28) line = line "\t";
        else if (r < 0.31) line = "45longvisitor 45h" g;
        else if (r < 0.33) line = line ",45next    45comma";
        else if (r < 0.35) line = "\"45quote" g "  45q\"";
        else if (r < 0.37) line = "";
        printf "%s%s", line, end;
      }
    }
    printf "\032[12/31/45]\r\nafter    ctrlz\r\n";
  }'
}

# run_exe EXPECTED_STATUS EXPECTED_TEXT PROGRAM ARGUMENTS...: output in tool.out
run_exe() {
  local expected="$1" text="$2" status=0
  shift 2
  "$wine_run" "$@" >tool.out 2>&1 || status=$?
  [ "$status" -eq "$expected" ] && grep -qF -- "$text" tool.out
}
# The same with the names passed on as UTF-8, so that Wine reads them right.
run_exe_utf8() { LC_ALL=C.UTF-8 run_exe "$@"; }

compare_with_linux() {  # compare_with_linux TARGET
  local target="$1" status input
  local tool="$root_dir/build-$target/schedule-tool.exe"
  local builder="$root_dir/build-$target/schedule-builder.exe"
  local work="$root_dir/build-$target/compare"
  rm -rf "$work"
  mkdir -p "$work/linux" "$work/windows" "$work/dialogue"
  cd "$work"
  cp "$root_dir/examples/usage-example.txt" usage.txt
  make_large_season >large.txt

  # Each build in a folder of its own with the same names, so that their
  # messages can be compared as they stand.
  for input in usage large; do
    cp "$input.txt" linux/
    cp "$input.txt" windows/
    (cd linux && "$linux_tool" build "$input.txt" "$input.SCH" >"$input.out" 2>&1)
    # An older, longer schedule of the same name is cut to the new records.
    head -c 1000000 /dev/zero | tr '\0' 'o' >"windows/$input.SCH"
    status=0
    (cd windows && "$wine_run" "$tool" build "$input.txt" "$input.SCH" >"$input.out" 2>&1) ||
      status=$?
    check "$target $input: exit status 0" test "$status" -eq 0
    check "$target $input: schedule file byte-identical to Linux ($(stat -c %s "linux/$input.SCH") bytes)" \
      cmp "linux/$input.SCH" "windows/$input.SCH"
    check "$target $input: same messages as on Linux" \
      diff <(tr -d '\r' <"windows/$input.out") "linux/$input.out"
  done

  # Redirected dumps are the bytes --output writes, and the text builds the
  # same schedule again.
  cd windows
  for format in text csv; do
    "$wine_run" "$tool" dump --format "$format" large.SCH >"redirected.$format" 2>/dev/null || true
    "$wine_run" "$tool" dump --format "$format" --output "written.$format" large.SCH || true
    check "$target: dump --format $format > file gives the bytes of --output" \
      cmp "redirected.$format" "written.$format"
  done
  "$wine_run" "$tool" build redirected.text again.SCH >/dev/null 2>&1 || true
  check "$target: the redirected text dump builds the same schedule file" cmp large.SCH again.SCH
  cd ..

  # report counts the 600-date season as the Linux build does, from its
  # schedule file and from its text.
  for counted in large.SCH large.txt; do
    "$linux_tool" report --by pair --format csv "linux/$counted" >"linux/$counted.csv" 2>/dev/null || true
    "$wine_run" "$tool" report --by pair --format csv --output "windows/$counted.csv" \
      "windows/$counted" >/dev/null 2>&1 || true
    check "$target report --format csv of $counted: the Linux build's rows" \
      cmp "linux/$counted.csv" "windows/$counted.csv"
  done

  # A public season imported gives the Linux build's text, and through a
  # pipe into build - the Linux build's schedule.
  local season="$root_dir/tool/seasons/1884SKED.TXT"
  if [ -f "$season" ]; then
    cp "$season" season.csv
    (cd linux && "$linux_tool" import ../season.csv --output 1884.txt 2>/dev/null &&
      "$linux_tool" build 1884.txt 1884.SCH >/dev/null 2>&1) || true
    "$wine_run" "$tool" import season.csv --output windows/1884.txt >/dev/null 2>&1 || true
    check "$target import: the season's text byte-identical to Linux" \
      cmp linux/1884.txt windows/1884.txt
    # The NL alone has no date of more than 15 games, so no warning joins
    # the text on the way (wine-run.sh hands both streams on as one).
    "$linux_tool" import --league NL season.csv >linux/nl.txt 2>/dev/null || true
    (cd linux && "$linux_tool" build nl.txt nl.SCH >/dev/null 2>&1) || true
    "$wine_run" "$tool" import --league NL season.csv >windows/nl.piped || true
    check "$target import > file: the Linux build's bytes" cmp linux/nl.txt windows/nl.piped
    "$wine_run" "$tool" build - windows/nl.SCH <windows/nl.piped >/dev/null 2>&1 || true
    check "$target import, then build -: the Linux build's schedule" cmp linux/nl.SCH windows/nl.SCH
    # The season's calendar, as a page and as an iCalendar file with a fixed
    # stamp, to a file and (its CR LF kept) to standard output: the Linux
    # build's bytes.
    for format in html ics; do
      SOURCE_DATE_EPOCH=1700000000 "$linux_tool" calendar --year 1884 --format "$format" \
        --output "linux/1884.$format" linux/1884.txt 2>/dev/null || true
      SOURCE_DATE_EPOCH=1700000000 "$wine_run" "$tool" calendar --year 1884 --format "$format" \
        --output "windows/1884.$format" windows/1884.txt >/dev/null 2>&1 || true
      check "$target calendar --format $format: the Linux build's bytes" \
        cmp "linux/1884.$format" "windows/1884.$format"
    done
    SOURCE_DATE_EPOCH=1700000000 "$wine_run" "$tool" calendar --year 1884 --format ics \
      windows/1884.txt >windows/1884.piped.ics || true
    check "$target calendar --format ics > file: the Linux build's bytes" \
      cmp linux/1884.ics windows/1884.piped.ics
  fi

  # The interactive program's road (128-byte reads) gives the same bytes. With
  # no terminal (setsid) both read the names as lines of standard input.
  cp large.txt dialogue/
  printf 'large.txt\nlarge.SCH\n\n' | (cd linux && setsid -w "$linux_builder" >dialogue.out 2>&1) ||
    true
  status=0
  printf 'large.txt\nlarge.SCH\n\n' |
    (cd dialogue && timeout 120 setsid -w "$wine_run" "$builder" >dialogue.out 2>&1) ||
    status=$?
  check "$target large: schedule-builder.exe with no console: exit status 0" test "$status" -eq 0
  check "$target large: schedule-builder.exe's file byte-identical to Linux" \
    cmp dialogue/large.SCH linux/large.SCH
  check "$target large: schedule-builder.exe's text as on Linux" \
    diff <(tr -d '\r' <dialogue/dialogue.out) linux/dialogue.out

  # Failures: named, explained, and nothing clobbered.
  cp usage.txt usage.keep
  check "$target missing input: status 1, named and explained" \
    run_exe 1 'Cannot open input file "missing.txt": File not found' "$tool" build missing.txt x.SCH
  check "$target missing input: no schedule file made" test ! -e x.SCH
  check "$target same name for both files: status 1, refused as in use" \
    run_exe 1 'Access denied, or the file is in use' "$tool" build usage.txt usage.txt
  check "$target same name for both files: the input keeps its bytes" cmp usage.txt usage.keep
  check "$target wildcard in a name: status 1, bad file name" \
    run_exe 1 'Bad file name' "$tool" build usage.txt 'out*.SCH'
  check "$target usage error: status 2" \
    run_exe 2 'Usage: schedule-tool build INPUT OUTPUT' "$tool" build only-one
  # A name with a letter the ANSI code page lacks (L-stroke) is refused, never
  # taken as its look-alike (Lodz); one with a letter it has (e-acute) is used.
  cp usage.txt Lodz.txt
  printf 'keep' >Lodz.SCH
  check "$target L-stroke input name: status 1, bad file name, Lodz.txt not read" \
    run_exe_utf8 1 'Bad file name' "$tool" build Łodz.txt x.SCH
  check "$target L-stroke input name: no schedule file made" test ! -e x.SCH
  check "$target L-stroke output name: status 1, bad file name" \
    run_exe_utf8 1 'Bad file name' "$tool" build usage.txt Łodz.SCH
  check "$target L-stroke output name: Lodz.SCH untouched" test "$(cat Lodz.SCH)" = keep
  cp usage.txt café.txt
  check "$target e-acute names: built" run_exe_utf8 0 '' "$tool" build café.txt café.SCH
  check "$target e-acute names: the usage example's records" \
    test "$(stat -c %s café.SCH 2>/dev/null)" = 1290

  # On a console: Wine inside tmux, keys typed, the screen and the schedule
  # file compared with the Linux build's.
  local log="$work/wine-terminal.log"
  status=0
  ZELTO_WINDOWS_SCHEDULE_BUILDER="$builder" "$root_dir/build/e2e/terminal_tests" --gtest_brief=1 \
    --gtest_filter='*/wine' >"$log" 2>&1 </dev/null || status=$?
  cat "$log"
  check "$target: schedule-builder.exe on a console under Wine in tmux" test "$status" -eq 0
  cd "$root_dir"
}

"$wine_run" --start
for target in "${targets[@]}"; do
  stage "Windows $target: the programs against the Linux build"
  compare_with_linux "$target"
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
