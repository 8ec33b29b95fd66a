#!/usr/bin/env bash
# Builds Tarnel and starts it. On Linux it runs under Wine; without a display it runs in a
# virtual one and writes a screenshot so that you can see it.
#   scripts/run.sh                      build and run until the program is closed
#   scripts/run.sh --screenshot F.png   build, start, save a screenshot to F.png, then quit
set -euo pipefail
cd "$(dirname "$0")/.."
shot=""
if [ "${1:-}" = "--screenshot" ]; then shot="$(realpath -m "${2:?file name}")"; fi
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target tarnel >/dev/null
exe="$PWD/build/win32/src/app/tarnel.exe"
# The watch list lives beside the executable; start with an empty one rather than the
# program's "cannot open" notice on the very first run.
[ -e "$(dirname "$exe")/close.dat" ] || : >"$(dirname "$exe")/close.dat"

export TARNEL_WINE_DIR="$PWD/build/win32/wine-run"
. scripts/wine-session.sh
trap tarnel_wine_end EXIT
virtual=0
if [ -z "${DISPLAY:-}" ] || ! tarnel_display_alive "$DISPLAY"; then virtual=1; fi
tarnel_wine_begin

wine "$exe" &
pid=$!
if [ -n "$shot" ] || [ $virtual -eq 1 ]; then
  [ -n "$shot" ] || shot="$PWD/build/tarnel-screen.png"
  sleep 4
  import -display "$DISPLAY" -window root "$shot"
  echo "screenshot: $shot"
  if [ "${1:-}" = "--screenshot" ]; then
    kill $pid 2>/dev/null || true
    exit 0
  fi
  echo "Tarnel runs in the virtual display $DISPLAY; press Ctrl-C to stop it."
fi
wait $pid
