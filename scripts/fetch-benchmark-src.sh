#!/usr/bin/env bash
# Puts the Google Benchmark sources where the Windows tree builds them from
# (build/_deps/benchmark-src): the distribution packages the library for the native
# compiler only, so the Windows tree compiles it from the distribution's source package.
# Idempotent; prints nothing when the sources are already there.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deps="$root/build/_deps"
dest="$deps/benchmark-src"
[ -f "$dest/CMakeLists.txt" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

have_source() { apt-cache showsrc benchmark 2>/dev/null | grep -q '^Package: benchmark$'; }

echo "Fetching the Google Benchmark sources into $dest"
if ! have_source; then
  list=/etc/apt/sources.list.d/tarnel-src.sources
  if [ ! -f "$list" ]; then
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
      $SUDO tee "$list" >/dev/null
  fi
  $SUDO apt-get update -qq >/dev/null
  have_source || { echo "no source package 'benchmark' in the package lists" >&2; exit 1; }
fi

mkdir -p "$deps"
work="$(mktemp -d "$deps/benchmark-fetch.XXXXXX")"
trap 'rm -rf "$work"' EXIT
log="$work/apt.log"
# The download runs as the calling user (root only when that is who we are).
if ! (cd "$work" && apt-get source -qq --download-only benchmark >"$log" 2>&1); then
  cat "$log" >&2
  exit 1
fi
orig=("$work"/benchmark_*.orig.tar.*)
[ -f "${orig[0]}" ] || { echo "the source package held no upstream tarball" >&2; exit 1; }
mkdir "$work/unpacked"
tar -xf "${orig[0]}" -C "$work/unpacked"
top=("$work"/unpacked/*/)
[ ${#top[@]} -eq 1 ] && [ -f "${top[0]}CMakeLists.txt" ] || {
  echo "unexpected layout in ${orig[0]##*/}" >&2
  exit 1
}
rm -rf "$dest"
mv "${top[0]%/}" "$dest"
