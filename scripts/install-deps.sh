#!/usr/bin/env bash
# Installs, from Debian's packages, what building and testing need, when it
# is missing; with package names as arguments, those instead (a stage's own
# tools; a name such as wine32:i386 adds that architecture first). Needs
# root for apt-get; without it, it only says what is missing.
#
#   scripts/install-deps.sh [PACKAGE ...]
set -euo pipefail
packages=(cmake g++ make libgtest-dev libbenchmark-dev libcli11-dev tmux strace)
packages+=(chromium python3-icalendar)  # the calendar read by a browser and a parser
[ $# -gt 0 ] && packages=("$@")
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
for package in "${missing[@]}"; do
  case "$package" in *:*) dpkg --add-architecture "${package#*:}" ;; esac
done
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
