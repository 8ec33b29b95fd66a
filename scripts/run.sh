#!/usr/bin/env bash
# Builds Tarnel (or the gallery) and starts it. On Linux it runs under Wine; without a display it
# runs in a virtual one and writes a screenshot so that you can see it.
#   scripts/run.sh                      build and run until the program is closed
#   scripts/run.sh --screenshot F.png   build, start, save a screenshot to F.png, then quit
#   --tray-menu                         open the tray icon's menu before the screenshot
#   --gallery                           start gallery.exe (every kind of window and control)
#                                       instead of Tarnel
#   --win32 | --win64                   run that build (default: the 32-bit one where this
#                                       machine can execute 32-bit programs, else the 64-bit one)
set -euo pipefail
cd "$(dirname "$0")/.."
shot=""
tree=""
target=tarnel
traymenu=0
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot) shot="$(realpath -m "${2:?file name}")"; shift ;;
    --win32 | --win64) tree="${1#--}" ;;
    --gallery) target=gallery ;;
    --tray-menu) traymenu=1 ;;
    *)
      echo "usage: scripts/run.sh [--win32 | --win64] [--gallery] [--tray-menu] [--screenshot F.png]" >&2
      exit 2
      ;;
  esac
  shift
done
scripts/install-deps.sh

if [ -z "$tree" ]; then
  if why=$(TARNEL_WINE_DIR=/nonexistent . scripts/wine-session.sh && tarnel_can_run_32bit); then
    tree=win32
    echo "Starting the 32-bit build (--win64 starts the 64-bit one)."
  else
    tree=win64
    echo "Starting the 64-bit build: $why (--win32 picks the 32-bit one)."
  fi
else
  echo "Starting the ${tree#win}-bit build."
fi
cmake --preset "$tree" >/dev/null
cmake --build --preset "$tree" -j"$(nproc)" --target "$target" >/dev/null
if [ $traymenu -eq 1 ]; then
  cmake --build --preset "$tree" -j"$(nproc)" --target open_tray_menu >/dev/null
fi
if [ "$target" = gallery ]; then
  exe="$PWD/build/$tree/src/gallery/gallery.exe"
else
  exe="$PWD/build/$tree/src/app/tarnel.exe"
  # The watch list lives beside the executable; start with an empty one rather than the
  # program's "cannot open" notice on the very first run.
  [ -e "$(dirname "$exe")/close.dat" ] || : >"$(dirname "$exe")/close.dat"
fi

export TARNEL_WINE_DIR="$PWD/build/$tree/wine-run" TARNEL_WINE_ARCH="$tree"
. scripts/wine-session.sh
trap tarnel_wine_end EXIT
virtual=0
if [ -z "${DISPLAY:-}" ] || ! tarnel_display_alive "$DISPLAY"; then virtual=1; fi
tarnel_wine_begin

wine "$exe" &
pid=$!
if [ -n "$shot" ] || [ $virtual -eq 1 ]; then
  quit=0
  if [ -n "$shot" ]; then quit=1; else shot="$PWD/build/$target-screen.png"; fi
  sleep 4
  if [ $traymenu -eq 1 ]; then
    wine "$PWD/build/$tree/tests/e2e/open_tray_menu.exe" || echo "the tray menu did not open" >&2
    sleep 1
  fi
  import -display "$DISPLAY" -window root "$shot"
  echo "screenshot: $shot"
  if [ $quit -eq 1 ]; then
    kill $pid 2>/dev/null || true
    exit 0
  fi
  echo "$(basename "$exe") runs in the virtual display $DISPLAY; press Ctrl-C to stop it."
fi
wait $pid
