#!/usr/bin/env bash
# One step of the Debian package's check, run by CTest (cmake/package_tests.cmake):
#
#   debian-package.sh make DEB_DIR CPACK CPACK_CONFIG   makes the package in DEB_DIR
#   debian-package.sh install DEB_DIR                   installs it with apt-get
#   debian-package.sh run DEB_DIR                       runs the installed programs
#   debian-package.sh manuals DEB_DIR                   finds their manual pages
#   debian-package.sh remove DEB_DIR                    removes it, and checks it is gone
#
# Exit status 0 when the step holds, 1 when it does not (saying why), 77 when
# it cannot run here: installing needs root, and is done only when
# ZELTO_INSTALL_PACKAGE=1 asks for it (the package test preset sets it), so
# that a plain ctest never changes the system.
set -uo pipefail
package=zelto-schedule-builder
step="$1"
deb_dir="$2"

fail() { echo "debian-package $step: $*" >&2; exit 1; }
skip() { echo "debian-package $step: skipped: $*"; exit 77; }
the_deb() {
  local debs=("$deb_dir/${package}"_*.deb)
  [ -f "${debs[0]}" ] || fail "no package in $deb_dir"
  echo "${debs[0]}"
}
installed() { [ "$(dpkg-query -W -f '${Status}' "$package" 2>/dev/null)" = "install ok installed" ]; }
need_root() {
  [ "${ZELTO_INSTALL_PACKAGE:-}" = 1 ] || skip "installing is left to ctest --preset package"
  [ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
}
apt() { DEBIAN_FRONTEND=noninteractive apt-get "$@" -y -q; }

case "$step" in
  make)
    # A fresh folder: only this build's package is in it.
    rm -rf "$deb_dir"
    "$3" -G DEB --config "$4" -B "$deb_dir" || fail "cpack failed"
    deb=$(the_deb) || exit 1
    echo "made $deb"
    dpkg-deb --info "$deb" | sed -n 's/^ \(Package\|Version\|Depends\|Section\):/ &/p'
    ;;
  install)
    need_root
    deb=$(the_deb) || exit 1
    # Installing takes nothing away from the system.
    apt install --no-remove "$(realpath "$deb")" || fail "apt-get install $deb failed"
    installed || fail "$package is not installed after apt-get install"
    ;;
  run)
    need_root
    installed || fail "$package is not installed"
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    # The installed programs, not those of a build folder.
    [[ "$(/usr/bin/schedule-tool --version)" == "schedule-tool "* ]] || fail "schedule-tool --version"
    [ -x /usr/bin/schedule-builder ] || fail "schedule-builder is not installed"
    example=/usr/share/doc/$package/examples/usage-example.txt
    [ -f "$example" ] || fail "the usage example is not installed"
    /usr/bin/schedule-tool build "$example" "$work/USAGE.SCH" >/dev/null || fail "build of $example"
    # The header and 2 dates: 3 records of 430 bytes.
    [ "$(stat -c %s "$work/USAGE.SCH")" -eq 1290 ] || fail "the usage example did not build 3 records"
    /usr/bin/schedule-tool check "$example" || fail "check found something in the usage example"
    /usr/bin/schedule-tool dump --format text "$work/USAGE.SCH" >"$work/again.txt" || fail "dump"
    /usr/bin/schedule-tool build "$work/again.txt" "$work/AGAIN.SCH" >/dev/null || fail "build of the dump"
    cmp -s "$work/USAGE.SCH" "$work/AGAIN.SCH" || fail "the dumped text built another file"
    echo "the installed programs built, checked and dumped the usage example"
    ;;
  manuals)
    need_root
    installed || fail "$package is not installed"
    deb=$(the_deb) || exit 1
    for page in schedule-tool schedule-builder; do
      file=/usr/share/man/man1/$page.1.gz
      # Some minimal systems tell dpkg to leave manual pages out; the package
      # must hold them all the same.
      if grep -qs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/*; then
        dpkg-deb -c "$deb" | grep -q "\./usr/share/man/man1/$page\.1\.gz$" ||
          fail "the package holds no manual page for $page"
        echo "dpkg leaves manual pages out here; the package holds $page.1.gz"
        continue
      fi
      [ -f "$file" ] || fail "no manual page $file"
      [ "$(man -w "$page")" = "$file" ] || fail "man -w $page does not find $file"
      man "$page" 2>/dev/null | grep -q "^NAME" || fail "man $page shows no page"
      echo "man $page shows $file"
    done
    ;;
  remove)
    need_root
    apt remove "$package" || fail "apt-get remove $package failed"
    ! installed || fail "$package is still installed after removal"
    [ ! -e /usr/bin/schedule-tool ] || fail "/usr/bin/schedule-tool is left after removal"
    [ ! -e /usr/bin/schedule-builder ] || fail "/usr/bin/schedule-builder is left after removal"
    echo "removed $package"
    ;;
  *)
    fail "unknown step (make, install, run, manuals or remove)"
    ;;
esac
