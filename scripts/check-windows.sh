#!/usr/bin/env bash
# Builds the Qt-free part of the program for 32-bit and then 64-bit Windows
# with MinGW-w64 and runs its tests under Wine: the unit tests, the Windows
# tests (registry, library loading, firmware path), the export and runtime
# checks of the binaries, vq8231ctl.exe driving the simulated board from
# commands, a script and a client here on its socket, and the ZIP. Installs
# MinGW-w64, Wine (wine32 through the i386 architecture) and GoogleTest's
# sources when missing; run as root on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${VQ_JOBS:-2}

packages=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine wine32:i386 wine64)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Quiet Wine, and no offer to download the .NET and HTML engines into a new
# prefix. The tests' own runs get the same through the toolchain's emulator.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The Wine server of the prefix in use is started here, apart from ctest, and
# stopped after the tests: a server that a test started would keep the test's
# output open, and ctest would wait for it.
stop_wine_server() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
trap stop_wine_server EXIT

check_windows() {
  local bits=$1 toolchain=$2
  local build=build-win$bits
  echo "== $bits-bit Windows: build"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$toolchain.cmake"
  cmake --build "$build" -j"$jobs"

  echo "== $bits-bit Windows: tests under Wine, in a fresh prefix"
  stop_wine_server
  export WINEPREFIX=$PWD/$build/wine-prefix
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot --init </dev/null >/dev/null 2>&1
  # Among them vq8231ctl.exe end to end (ctl_wine) and the ZIP (windows.zip).
  ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 300
  stop_wine_server
}

check_windows 32 mingw-w64-i686
check_windows 64 mingw-w64-x86_64
