#!/usr/bin/env bash
# Installs what building and testing the programs needs on Debian 12. Needs
# root only when a package is missing; packages already present are left alone.
set -euo pipefail

# nlohmann-json reads and writes setup files; libusb for the real-board
# libraries; umockdev plays the board in their tests; Google Benchmark for the benchmark programs; clang and its runtime libraries
# build the libFuzzer targets (scripts/fuzz.sh); dpkg-dev (dpkg-shlibdeps),
# file and desktop-file-utils build and check the Debian package; the window
# tests set their font from fonts-dejavu-core, the same on every machine.
packages=(build-essential cmake pkgconf qt6-base-dev libgtest-dev libgmock-dev libusb-1.0-0-dev umockdev libumockdev-dev
  nlohmann-json3-dev
  libbenchmark-dev clang libclang-rt-14-dev dpkg-dev file desktop-file-utils fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps.sh: ${missing[*]} not installed; installing needs root: sudo $0" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
