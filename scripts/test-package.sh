#!/usr/bin/env bash
# Builds the Debian package with CPack in build-package, installs it with
# apt-get as a user would, runs the installed programs, and removes the
# package again. Installing needs root; without it the stage is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "$(id -u)" -ne 0 ]; then
  echo "test-package: skipped: installing a package needs root"
  exit 0
fi
package=zelto-schedule-builder
jobs=$(nproc 2>/dev/null || echo 2)

# dpkg-shlibdeps computes the package's dependencies; man-db answers man -w.
scripts/install-deps.sh dpkg-dev man-db

# A fresh configuration each time, so that dpkg-shlibdeps is looked for again.
rm -rf build-package/CMakeCache.txt build-package/_CPack_Packages build-package/*.deb
cmake --preset package >/dev/null
cmake --build --preset package -j"$jobs" >/dev/null
(cd build-package && cpack -G DEB >/dev/null)
debs=(build-package/"$package"_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "test-package: no package was made" >&2; exit 1; }
echo "test-package: made $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Depends\|Section\|Maintainer\):/  &/p'

work=$(mktemp -d)
cleanup() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq "$package" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
status=$(dpkg-query -W -f '${Status}' "$package")
[ "$status" = "install ok installed" ] || { echo "test-package: $package is $status" >&2; exit 1; }

fail() { echo "test-package: $*" >&2; exit 1; }
# The installed programs, not those of a build folder.
/usr/bin/schedule-tool --version | grep -q '^schedule-tool ' || fail "schedule-tool --version"
[ -x /usr/bin/schedule-builder ] || fail "schedule-builder is not installed"
example=/usr/share/doc/$package/examples/usage-example.txt
[ -f "$example" ] || fail "the usage example is not installed"
/usr/bin/schedule-tool build "$example" "$work/USAGE.SCH" >/dev/null
[ "$(stat -c %s "$work/USAGE.SCH")" -eq 1290 ] || fail "the usage example did not build 3 records"
/usr/bin/schedule-tool check "$example" || fail "check found something in the usage example"
/usr/bin/schedule-tool dump --format text "$work/USAGE.SCH" >"$work/again.txt"
/usr/bin/schedule-tool build "$work/again.txt" "$work/AGAIN.SCH" >/dev/null
cmp -s "$work/USAGE.SCH" "$work/AGAIN.SCH" || fail "the dumped text built another file"
# Some minimal systems tell dpkg to leave manual pages out; the package must
# hold them all the same.
for page in schedule-tool schedule-builder; do
  file=/usr/share/man/man1/$page.1.gz
  if grep -qs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
    dpkg-deb -c "$deb" | grep -q "\./usr/share/man/man1/$page\.1\.gz$" ||
      fail "the package holds no manual page for $page"
    echo "test-package: dpkg leaves manual pages out here; the package holds $page.1.gz"
    continue
  fi
  [ -f "$file" ] || fail "no manual page $file"
  [ "$(man -w "$page")" = "$file" ] || fail "man -w $page does not find $file"
  man "$page" 2>/dev/null | grep -q "^NAME" || fail "man $page shows no page"
done
echo "test-package: installed $package, ran the installed programs, found the manual pages"

cleanup
trap - EXIT
! dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q '^install ok installed' ||
  fail "$package is still installed after removal"
[ ! -e /usr/bin/schedule-tool ] || fail "/usr/bin/schedule-tool is left after removal"
echo "test-package: removed $package again"
