#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Tarnel. Idempotent; silent
# when everything is already present.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Both Windows compilers and both Wine loaders (wine32 installs even where this machine cannot
# execute 32-bit programs; the test command then only builds the 32-bit tree); the installer
# compiler and zip for releases.
pkgs=(cmake make g++ g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
      wine wine64 wine32:i386 xvfb xdotool x11-utils fonts-wqy-microhei fonts-arphic-uming imagemagick
      googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
      nsis zip)
for p in "${pkgs[@]}"; do have_pkg "$p" || need+=("$p"); done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq >/dev/null
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Google Benchmark for the Windows tree, built from the distribution's source package.
"$(dirname "${BASH_SOURCE[0]}")/fetch-benchmark-src.sh"
