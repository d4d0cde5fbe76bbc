#!/usr/bin/env bash
# The Debian package as a user meets it, made of the native build's programs
# (the package preset's Release build is for releases), by CTest (ctest
# --preset package; see cmake/package_tests.cmake): CPack makes the package,
# apt-get installs it, the installed programs run and their manual pages are
# found, and apt-get removes it again. Installing needs root; without it
# those tests are skipped, saying so.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/install-deps.sh package || echo "test-package: going on without dpkg-dev and man-db"
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc 2>/dev/null || echo 2)"
ctest --preset package
