#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing need, when it
# is missing. Arguments name sets of packages, or packages (a name such as
# wine32:i386 adds that architecture first); all of them go in one apt-get
# call. Needs root for apt-get; without it, it only says what is missing.
#
#   scripts/install-deps.sh [--dry-run] [SET | PACKAGE ...]
#
#   build      (the default) cmake, g++, GoogleTest, Google Benchmark, CLI11,
#              tmux, strace, and Chromium and python3-icalendar, which read
#              the calendar as people do
#   fuzz       clang and its fuzzer runtime
#   package    dpkg-dev (dpkg-shlibdeps computes the package's dependencies)
#              and man-db (man -w finds the installed pages)
#   windows    mingw-w64 for both targets, GoogleTest's sources, zip, wine64
#   windows32  Wine's 32-bit loader (wine32:i386)
#
# --dry-run plans the install with apt-get -s, the fallback below included,
# and installs nothing (it does add an architecture a name asks for).
#
# A mirror part-way through a sync fails an index now and then ("Some index
# files failed to download"): apt-get update is tried 3 times, 15 s apart,
# and then the install goes on with the indexes apt has. When the install
# then fails and a name asks for another architecture (wine32:i386), the
# cause is most often a security update: apt wants a library's i386 twin at
# the version of the amd64 one (Multi-Arch: same), and the amd64 one came
# from the security suite whose i386 index is missing or behind. The
# fallback holds the security suite below the installed versions for that
# one install (a temporary preferences file), and where apt would then
# remove packages, takes for each such package that has a twin the twin's
# version for both (a downgrade, said in the log); a few rounds of that, and
# only then it gives up. It never removes a package.
set -euo pipefail
dry_run=0
if [ "${1:-}" = "--dry-run" ]; then
  dry_run=1
  shift
fi
[ $# -gt 0 ] || set -- build
packages=()
for name in "$@"; do
  case "$name" in
    build) packages+=(cmake g++ make libgtest-dev libbenchmark-dev libcli11-dev tmux strace
      chromium python3-icalendar) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    package) packages+=(dpkg-dev man-db) ;;
    windows) packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest zip wine64) ;;
    windows32) packages+=(wine32:i386) ;;
    *) packages+=("$name") ;;
  esac
done
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ] && [ "$dry_run" -eq 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
say() { echo "install-deps: $*"; }
say "installing ${missing[*]}"

native=$(dpkg --print-architecture)
foreign=()  # the other architectures the names ask for
for package in "${missing[@]}"; do
  case "$package" in
    *:*)
      arch=${package#*:}
      [ "$arch" = "$native" ] || foreign+=("$arch")
      ;;
  esac
done
for arch in "${foreign[@]}"; do
  dpkg --print-foreign-architectures | grep -qx "$arch" || dpkg --add-architecture "$arch"
done

update_indexes() {
  local try output
  for try in 1 2 3; do
    if output=$(apt-get update 2>&1) && ! grep -q 'Some index files failed to download' <<<"$output"; then
      return 0
    fi
    say "apt-get update, try $try of 3, failed:"
    { grep -E '^(E|W): Failed to fetch' <<<"$output" || tail -n 3 <<<"$output"; } | cut -c1-240 | sed 's/^/  /'
    [ "$try" -lt 3 ] && sleep 15
  done
  say "going on with the indexes apt has"
}

# apt_install [OPTION...] PACKAGE...: installs (with --dry-run, plans), never
# removing a package; shows apt's words when it fails.
apt_install() {
  local log status=0
  log=$(mktemp)
  if [ "$dry_run" -eq 1 ]; then
    apt-get install -s --no-install-recommends --no-remove "$@" >"$log" 2>&1 || status=$?
    [ "$status" -eq 0 ] && grep -E '^(Inst|Remv) ' "$log" | sed 's/^/  would: /'
  else
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends --no-remove "$@" \
      >"$log" 2>&1 || status=$?
  fi
  [ "$status" -eq 0 ] || tail -n 15 "$log" | sed 's/^/  /'
  rm -f "$log"
  return "$status"
}

# The fallback for another architecture's packages; see the top. The
# packages to look at are those apt would remove and those it names as a
# twin's unmet dependency; each whose installed version its twin lacks is
# asked for at the twin's version, with the twin.
install_held_back() {
  [ ${#foreign[@]} -gt 0 ] || return 1
  local pin plan suspects name base arch twin installed version added status=1
  local extra=()
  pin=$(mktemp)
  printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' >"$pin"
  local options=(-o "Dir::Etc::Preferences=$pin" --allow-downgrades)
  say "installing again with the security suite held below the installed versions"
  for _ in 1 2 3 4 5; do
    plan=$(apt-get install -s --no-install-recommends "${options[@]}" "${missing[@]}" "${extra[@]}" 2>&1)
    suspects=$( (sed -nE 's/^Remv ([^ ]+).*/\1/p' <<<"$plan"
      grep -E 'to be installed' <<<"$plan" | grep -oE 'Depends: [^ ]+:[a-z0-9]+' | cut -d' ' -f2) |
      sort -u)
    if [ -z "$suspects" ]; then
      if grep -qE '^(Inst|Conf) ' <<<"$plan"; then
        [ ${#extra[@]} -eq 0 ] || say "asking also for ${extra[*]}"
        apt_install "${options[@]}" "${missing[@]}" "${extra[@]}" && status=0
      else
        tail -n 15 <<<"$plan" | sed 's/^/  /'
      fi
      break
    fi
    added=0
    for name in $suspects; do
      base=${name%%:*}
      arch=$native
      [[ "$name" == *:* ]] && arch=${name#*:}
      installed=$(dpkg-query -W -f '${Version}' "$base:$native" 2>/dev/null || true)
      [ -n "$installed" ] || continue
      for twin in "${foreign[@]}"; do
        [ "$arch" = "$native" ] || [ "$arch" = "$twin" ] || continue
        version=$(apt-cache policy -o "Dir::Etc::Preferences=$pin" "$base:$twin" 2>/dev/null |
          sed -n 's/^  Candidate: //p')
        [ -n "$version" ] && [ "$version" != "(none)" ] && [ "$version" != "$installed" ] || continue
        [[ " ${extra[*]} " == *" $base:$twin "* ]] && continue
        say "$base:$native is at $installed, which $base:$twin lacks here: taking $version for both (a downgrade)"
        extra+=("$base:$native=$version" "$base:$twin")
        added=1
      done
    done
    if [ "$added" -eq 0 ]; then
      say "not done: apt would remove, or cannot install, $(tr '\n' ' ' <<<"$suspects")"
      break
    fi
  done
  rm -f "$pin"
  return "$status"
}

update_indexes
if ! apt_install "${missing[@]}" && ! install_held_back; then
  say "cannot install ${missing[*]}"
  exit 1
fi
