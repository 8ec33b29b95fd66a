#!/usr/bin/env bash
# Builds every tree (warnings are errors) and runs every test: host tests natively, the fuzz
# targets for a bounded time, the release command, and the Windows tests and end-to-end tests
# of both Windows trees under Wine in a virtual display (the end-to-end tests also with Wine
# reporting Windows 7 and Windows 10). The 64-bit tree's tests always run; the 32-bit
# tree's run wherever this machine can execute 32-bit programs (a line says when it cannot).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

# Every C++ source follows .clang-format; a deviation fails the run (after the tests).
format_status=0
mkdir -p build
if ! find src tools tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror >/dev/null 2>build/format.log; then
  format_status=1
fi

for preset in host win64 win32; do
  cmake --preset $preset -DTARNEL_WERROR=ON >/dev/null
  cmake --build --preset $preset -j"$jobs"
done

status=0
ctest --preset host -j"$jobs" || status=1

# Fuzz targets of the portable readers, each run for a bounded time (clang, AddressSanitizer).
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz || status=1

# The release (both zips, the installer, their checksums), which each Windows tree's tests
# unpack, check and install.
scripts/release.sh || status=1
export TARNEL_DIST="$PWD/dist"

# Runs one Windows tree's tests in its own Wine prefix and a private virtual display: all of
# them with Wine's default Windows version, then the end-to-end tests again for each further
# version named in $2 (Wine's names: win7, win10, ...) that is not the default.
windows_tests() (
  export TARNEL_WINE_DIR="$PWD/build/$1/wine" TARNEL_WINE_ARCH="$1"
  . scripts/wine-session.sh
  trap tarnel_wine_end EXIT
  unset DISPLAY # tests get a private virtual display, never the user's desktop
  tarnel_wine_begin
  tarnel_wine_version
  local default result=0 version reported
  default=$(tarnel_wine_reported_version)
  echo "$1 tests, Wine reporting Windows $default (its default)"
  ctest --preset "$1" || result=1
  for version in $2; do
    tarnel_wine_version "$version"
    reported=$(tarnel_wine_reported_version)
    if [ "$reported" = "$default" ]; then
      echo "$1: Windows $reported ($version) is Wine's default, tested above"
      continue
    fi
    echo "$1 end-to-end tests, Wine reporting Windows $reported ($version)"
    TARNEL_WINDOWS_VERSION="$reported" ctest --preset "$1" -R '^e2e\.' || result=1
  done
  tarnel_wine_version
  return $result
)

windows_tests win64 "win7 win10" || status=1
if why=$(TARNEL_WINE_DIR=/nonexistent . scripts/wine-session.sh && tarnel_can_run_32bit); then
  windows_tests win32 "win7 win10" || status=1
else
  echo "32-bit Windows tests skipped (built, not run): $why."
fi
if [ $format_status -ne 0 ]; then
  echo "Formatting deviates from .clang-format (clang-format -i on these files fixes it):"
  grep -o '^[^:]*\.\(cpp\|h\):' build/format.log | sort -u | sed 's/:$//; s/^/  /'
  status=1
fi
exit $status
