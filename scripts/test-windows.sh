#!/usr/bin/env bash
# The Windows build, checked on this Linux machine:
# 1. installs mingw-w64, Wine and zip from Debian's packages when missing
#    (without them, and without root to install them, every check here is
#    reported as skipped and the script ends with status 0);
# 2. cross-builds the 64-bit build and runs its unit tests under Wine;
#    the read-only file checks, which Wine run by root cannot make, run
#    again as an ordinary user;
# 3. cross-builds the 32-bit programs (compile and link only, warnings as
#    errors: this machine does not run 32-bit Windows programs);
# 4. runs schedule-tool.exe under Wine and compares its schedule files with
#    the Linux build's, byte for byte, and its exit statuses and messages;
# 5. makes the release zips and checks what they hold.
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir="$PWD"
started=$SECONDS
jobs=$(nproc 2>/dev/null || echo 2)

stage() { echo "== $* ($((SECONDS - started)) s)"; }

skip_all() {
  echo "SKIPPED: the Windows build and its tests: $*"
  echo "== Windows: nothing built, every Windows test skipped (not passed)"
  exit 0
}

# --- 1. Tools -------------------------------------------------------------
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 zip googletest)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    skip_all "missing ${missing[*]} (installing them needs root)"
  fi
  echo "Installing: ${missing[*]}"
  if ! apt-get update -qq ||
     ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
         "${missing[@]}" >/dev/null; then
    skip_all "could not install ${missing[*]} from Debian's packages"
  fi
fi
scripts/install-deps.sh  # cmake and g++ for the Linux build compared against

wine_run="$root_dir/scripts/wine-run.sh"
prefix="$root_dir/build-win64/wine-prefix"
user_dir=""
cleanup() {
  "$wine_run" --prefix "$prefix" --stop || true
  if [ -n "$user_dir" ]; then
    # The same surroundings as the runs, so that it finds their wineserver.
    setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$user_dir" \
      "$wine_run" --prefix "$user_dir/prefix" --stop >/dev/null 2>&1 || true
    rm -rf "$user_dir"
  fi
}
trap cleanup EXIT

# --- 2. 64-bit build and its unit tests under Wine ------------------------
stage "Windows 64-bit: build"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$jobs"
stage "Windows 64-bit: unit tests under Wine"
ctest --preset win64 -j1

if [ "$(id -u)" -eq 0 ]; then
  # Wine run by root writes read-only files all the same, so the tests skip
  # their read-only checks above; here they run as the user nobody, with a
  # Wine prefix of that user's own and copies of the test programs.
  stage "Windows 64-bit: read-only file checks as an ordinary user"
  user_dir="$(mktemp -d /tmp/zelto-wine-user.XXXXXX)"
  cp build-win64/files/files_tests.exe build-win64/schedule/schedule_tests.exe "$user_dir/"
  chown -R 65534:65534 "$user_dir"
  for program in files_tests schedule_tests; do
    log="$user_dir/$program.log"
    if ! setpriv --reuid=65534 --regid=65534 --clear-groups \
           env HOME="$user_dir" \
           "$wine_run" --prefix "$user_dir/prefix" "$user_dir/$program.exe" \
           --gtest_filter='*ReadOnly*' --gtest_brief=1 >"$log" 2>&1 ||
       grep -q "SKIPPED" "$log" || ! grep -q "PASSED" "$log"; then
      cat "$log"
      echo "FAILED: the read-only checks of $program as an ordinary user" >&2
      exit 1
    fi
    grep "PASSED" "$log" | sed "s/^/$program: /"
  done
fi

# --- 3. 32-bit build: compile and link --------------------------------------
# The programs only: the test programs could not run here, and leaving them
# out halves the time this stage takes.
stage "Windows 32-bit: build the programs (warnings as errors; not run here)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$jobs" --target schedule-tool
if [ -f build-win64/schedule-builder.exe ]; then
  cmake --build --preset win32 -j"$jobs" --target schedule-builder
fi

# --- 4. schedule-tool.exe against the Linux build ---------------------------
stage "schedule-tool.exe under Wine against the Linux build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target schedule-tool schedule-builder >/dev/null
linux_tool="$root_dir/build/schedule-tool"
windows_tool="$root_dir/build-win64/schedule-tool.exe"
work="$root_dir/build-win64/compare"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

cp "$root_dir/examples/usage-example.txt" usage.txt
# A larger season: 600 dates, some over the 15-game limit, repeated dates,
# games before the first date, options, leading spaces, long names, commas,
# quotes, TABs, CR LF, LF and lone CR line ends, and a Ctrl+Z near the end.
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
}' > large.txt

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

# Each build runs in a folder of its own with the same names, so that their
# messages can be compared as they stand.
mkdir linux windows
for input in usage large; do
  cp "$input.txt" linux/
  cp "$input.txt" windows/
  (cd linux && "$linux_tool" build "$input.txt" "$input.SCH" >"$input.out" 2>&1)
  # An older, longer schedule of the same name is cut to the new records.
  head -c 1000000 /dev/zero | tr '\0' 'o' > "windows/$input.SCH"
  status=0
  (cd windows && "$wine_run" --prefix "$prefix" "$windows_tool" build "$input.txt" "$input.SCH" \
     >"$input.out" 2>&1) || status=$?
  check "$input: exit status 0" test "$status" -eq 0
  check "$input: schedule file byte-identical to Linux ($(stat -c %s "linux/$input.SCH") bytes)" \
    cmp "linux/$input.SCH" "windows/$input.SCH"
  # The same warnings and summary (Windows ends its lines with CR LF).
  check "$input: same messages as on Linux" \
    diff <(tr -d '\r' <"windows/$input.out") "linux/$input.out"
done
# The interactive program's road (128-byte reads) gives the same bytes as
# the tool's. With no terminal (setsid) both programs read the names as lines
# of standard input and print their text as lines.
printf 'large.txt\nlarge.SCH\n\n' | (cd linux && setsid -w "$root_dir/build/schedule-builder" \
  >dialogue.out 2>&1) || true
check "large: schedule-builder's file (Linux) byte-identical to schedule-tool.exe's" \
  cmp linux/large.SCH windows/large.SCH
windows_builder="$root_dir/build-win64/schedule-builder.exe"
if [ -f "$windows_builder" ]; then
  mkdir dialogue
  cp large.txt dialogue/
  status=0
  printf 'large.txt\nlarge.SCH\n\n' | (cd dialogue && timeout 120 setsid -w \
    "$wine_run" --prefix "$prefix" "$windows_builder" >dialogue.out 2>&1) || status=$?
  check "large: schedule-builder.exe with no console: exit status 0" test "$status" -eq 0
  check "large: schedule-builder.exe's file byte-identical to Linux" \
    cmp dialogue/large.SCH linux/large.SCH
  check "large: schedule-builder.exe's text as on Linux" \
    diff <(tr -d '\r' <dialogue/dialogue.out) linux/dialogue.out
  # On a console: Wine inside tmux, keys typed, the screen and the schedule
  # file compared with the Linux build's (77: could not run, so skipped).
  console_status=0
  "$root_dir/scripts/test-windows-console.sh" "$root_dir/build-win64" || console_status=$?
  if [ "$console_status" -eq 77 ]; then
    echo "SKIPPED: schedule-builder.exe on a console (see above)"
  else
    check "schedule-builder.exe on a console under Wine in tmux" test "$console_status" -eq 0
  fi
else
  echo "SKIPPED: schedule-builder.exe (not built: no Windows console device yet)"
fi

cp usage.txt usage.keep
run_windows() {  # run_windows EXPECTED_STATUS EXPECTED_TEXT ARGUMENTS...
  local expected="$1" text="$2" status=0
  shift 2
  "$wine_run" --prefix "$prefix" "$windows_tool" "$@" >tool.out 2>&1 || status=$?
  [ "$status" -eq "$expected" ] && grep -qF -- "$text" tool.out
}
check "missing input: status 1, named and explained" \
  run_windows 1 'Cannot open input file "missing.txt": File not found' build missing.txt x.SCH
check "missing input: no schedule file made" test ! -e x.SCH
check "same name for both files: status 1, refused as in use" \
  run_windows 1 'Access denied, or the file is in use' build usage.txt usage.txt
check "same name for both files: the input keeps its bytes" cmp usage.txt usage.keep
check "wildcard in a name: status 1, bad file name" \
  run_windows 1 'Bad file name' build usage.txt 'out*.SCH'
check "usage error: status 2" run_windows 2 'Usage: schedule-tool build INPUT OUTPUT' build only-one
cd "$root_dir"

# --- 5. Release zips --------------------------------------------------------
stage "Release zips"
zips="$(scripts/package-windows.sh build-dist)"
for zip in $zips; do
  listing="$(unzip -Z1 "$zip" 2>/dev/null || zip -sf "$zip")"
  for member in schedule-tool.exe README.md; do
    check "$(basename "$zip") holds $member" grep -q "/$member\$" <<<"$listing"
  done
  if [ -f build-win64/schedule-builder.exe ]; then
    check "$(basename "$zip") holds schedule-builder.exe" \
      grep -q "/schedule-builder.exe\$" <<<"$listing"
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "== Windows: $failures check(s) failed" >&2
  exit 1
fi
echo "== Windows: every check passed in $((SECONDS - started)) s"
