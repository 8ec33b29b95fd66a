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

# Source entries mirroring the machine's own binary ones: the same addresses, suites,
# components and keys, with the source type. Both list formats are read (one-line
# "deb [options] address suite components" and the stanza form with "Types: deb").
source_entries() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n -E 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    [ "$f" = "$list_src" ] && continue
    awk -v RS= -v ORS='\n\n' '
      /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ && !/(^|\n)Enabled:[[:space:]]*[Nn]o/ {
        n = split($0, lines, "\n"); out = ""
        for (i = 1; i <= n; ++i) {
          if (lines[i] ~ /^#/) continue
          if (lines[i] ~ /^Types:/) lines[i] = "Types: deb-src"
          out = out lines[i] "\n"
        }
        printf "%s", out; printf "\n"
      }' "$f"
  done
}

echo "Fetching the Google Benchmark sources into $dest"
if ! have_source; then
  list_src=/etc/apt/sources.list.d/tarnel-src.sources
  list_line=/etc/apt/sources.list.d/tarnel-src.list
  entries="$(source_entries)"
  [ -n "$entries" ] || { echo "no package sources are configured on this machine" >&2; exit 1; }
  # One-line entries go to a one-line list, stanzas to a stanza list.
  printf '%s\n' "$entries" | grep '^deb-src ' | $SUDO tee "$list_line" >/dev/null || true
  printf '%s\n' "$entries" | grep -v '^deb-src ' | $SUDO tee "$list_src" >/dev/null || true
  [ -s "$list_line" ] || $SUDO rm -f "$list_line"
  [ -s "$list_src" ] || $SUDO rm -f "$list_src"
  $SUDO apt-get update -qq >/dev/null || true
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
