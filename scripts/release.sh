#!/usr/bin/env bash
# Builds both Windows programs in release mode and writes what is handed to Windows users into
# dist/ (files of an earlier release there are removed first):
#   tarnel-<version>-win32.zip    the 32-bit tarnel.exe, an empty close.dat and readme.txt
#   tarnel-<version>-win64.zip    the same with the 64-bit tarnel.exe
#   tarnel-<version>-setup.exe    the per-user installer (64-bit program on 64-bit Windows)
#   tarnel-<version>-sha256.txt   SHA-256 checksums of the three (sha256sum -c checks them)
# The version is the project's (top CMakeLists.txt). Installs what it needs, like the other
# scripts.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

declare -A toolchain=([win32]=mingw-i686 [win64]=mingw-x86_64)
declare -A host=([win32]=i686-w64-mingw32 [win64]=x86_64-w64-mingw32)
for tree in win32 win64; do
  cmake -S . -B "build/release-$tree" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/${toolchain[$tree]}.cmake" -DTARNEL_WERROR=ON >/dev/null
  cmake --build "build/release-$tree" -j"$jobs" --target tarnel
done
version=$(cat build/release-win64/version/version.txt)
[ "$version" = "$(cat build/release-win32/version/version.txt)" ] || {
  echo "the two release trees disagree on the version" >&2
  exit 1
}

# Every file of the release carries the time of the commit it is built from, so that the same
# commit gives the same zips.
stamp=$(TZ=UTC git log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null ||
  date +%Y%m%d%H%M.%S)
stage=build/release-stage
rm -rf "$stage"
mkdir -p dist
rm -f dist/tarnel-*
for tree in win32 win64; do
  mkdir -p "$stage/$tree"
  "${host[$tree]}-strip" -o "$stage/$tree/tarnel.exe" "build/release-$tree/src/app/tarnel.exe"
  : >"$stage/$tree/close.dat"
  # UTF-8 with a byte-order mark and CRLF line ends: Notepad of every supported Windows reads it.
  { printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/; s/\$/\r/" package/readme.txt; } \
    >"$stage/$tree/readme.txt"
  TZ=UTC touch -t "$stamp" "$stage/$tree"/*
  (cd "$stage/$tree" && TZ=UTC zip -q -X "../../../dist/tarnel-$version-$tree.zip" \
    tarnel.exe close.dat readme.txt)
done

makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" \
  -DEXE32="$PWD/$stage/win32/tarnel.exe" -DEXE64="$PWD/$stage/win64/tarnel.exe" \
  -DREADME="$PWD/$stage/win64/readme.txt" -DICON="$PWD/src/app/tarnel.ico" \
  -DOUTFILE="$PWD/dist/tarnel-$version-setup.exe" package/tarnel.nsi

(cd dist && sha256sum "tarnel-$version-win32.zip" "tarnel-$version-win64.zip" \
  "tarnel-$version-setup.exe" >"tarnel-$version-sha256.txt")
echo "Release $version in dist/:"
ls -l dist/tarnel-"$version"-*
