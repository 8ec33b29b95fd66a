#!/usr/bin/env bash
# Builds both trees (warnings are errors) and runs every test: host tests natively, the
# Windows tests and the end-to-end tests under Wine in a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
cmake --preset host -DTARNEL_WERROR=ON >/dev/null
cmake --build --preset host -j"$jobs"
cmake --preset win32 -DTARNEL_WERROR=ON >/dev/null
cmake --build --preset win32 -j"$jobs"

status=0
ctest --preset host -j"$jobs" || status=1

# Fuzz targets of the portable readers, each run for a bounded time (clang, AddressSanitizer).
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz || status=1

export TARNEL_WINE_DIR="$PWD/build/win32/wine"
. scripts/wine-session.sh
trap tarnel_wine_end EXIT
unset DISPLAY # tests get a private virtual display, never the user's desktop
tarnel_wine_begin
ctest --preset win32 || status=1
exit $status
