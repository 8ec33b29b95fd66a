# Sourced by the scripts that run Windows programs. Gives them a private Wine prefix inside
# the build tree, code page 936, and a display (a virtual one when there is none).
#   TARNEL_WINE_DIR   folder that holds the prefix and the display note (required)
#   TARNEL_WINE_ARCH  win32 (default) or win64: the kind of programs the prefix runs

export WINEPREFIX="$TARNEL_WINE_DIR/prefix"
export WINEDEBUG=-all
# No menu entries on the host's desktop for shortcuts that programs make.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export WINEARCH="${TARNEL_WINE_ARCH:-win32}"

# The loader of the prefix's kind. The generic "wine" command picks the 32-bit loader whenever
# one is installed, even on a machine that cannot execute it, so a 64-bit prefix names the
# 64-bit loader itself (and hands it to the processes Wine starts in turn).
if [ "$WINEARCH" = win64 ]; then
  TARNEL_WINE_LOADER=/usr/lib/wine/wine64
  [ -x "$TARNEL_WINE_LOADER" ] || TARNEL_WINE_LOADER="$(command -v wine64 || echo wine64)"
  export WINELOADER="$TARNEL_WINE_LOADER"
else
  TARNEL_WINE_LOADER="$(command -v wine || echo wine)"
fi

# Wine takes its ANSI code page (936) from the locale variables; the glibc locale itself need
# not be installed, so the variable is given to Wine's processes only.
wine() { env LC_ALL=zh_CN.GBK "$TARNEL_WINE_LOADER" "$@"; }

# Whether this machine can execute 32-bit x86 programs at all (some virtual machines have no
# 32-bit user mode); prints the reason when it cannot.
tarnel_can_run_32bit() {
  if [ ! -x /lib/ld-linux.so.2 ]; then
    echo "no 32-bit runtime is installed (/lib/ld-linux.so.2 is missing)"
    return 1
  fi
  local err
  if ! err=$(/lib/ld-linux.so.2 --help 2>&1 >/dev/null); then
    echo "this machine cannot execute 32-bit programs (${err##*: })"
    return 1
  fi
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "the 32-bit Wine loader (/usr/lib/wine/wine) is not installed"
    return 1
  fi
}

tarnel_display_alive() { xdpyinfo -display "$1" >/dev/null 2>&1; }

# Uses $DISPLAY when it answers; otherwise starts (or reuses) an Xvfb for this build tree.
tarnel_ensure_display() {
  mkdir -p "$TARNEL_WINE_DIR"
  if [ -n "${DISPLAY:-}" ] && tarnel_display_alive "$DISPLAY"; then return 0; fi
  exec 8>"$TARNEL_WINE_DIR/display.lock"
  flock 8
  local note="$TARNEL_WINE_DIR/display"
  if [ -f "$note" ] && tarnel_display_alive "$(cat "$note")"; then
    export DISPLAY="$(cat "$note")"
  else
    local n
    for n in $(seq 91 140); do
      [ -e "/tmp/.X$n-lock" ] && continue
      nohup Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      echo $! >"$TARNEL_WINE_DIR/xvfb.pid"
      local t
      for t in $(seq 1 50); do tarnel_display_alive ":$n" && break; sleep 0.1; done
      if tarnel_display_alive ":$n"; then
        echo ":$n" >"$note"
        export DISPLAY=":$n"
        break
      fi
    done
  fi
  flock -u 8
  exec 8>&-
  [ -n "${DISPLAY:-}" ] || { echo "no X display could be started" >&2; return 1; }
}

# What the prefix set-up below does; a prefix made by another version is made anew.
TARNEL_PREFIX_VERSION="2: unmanaged, SimSun=AR PL UMing CN, dialogs=WenQuanYi Micro Hei"

tarnel_prefix_ready() {
  [ "$(cat "$WINEPREFIX/.tarnel-ready" 2>/dev/null)" = "$TARNEL_PREFIX_VERSION" ]
}

# Creates the prefix once: unmanaged X11 windows (no window manager under Xvfb), and the
# Chinese UI fonts mapped onto the installed CJK fonts (the Song face onto a Ming face).
tarnel_ensure_prefix() {
  mkdir -p "$TARNEL_WINE_DIR"
  tarnel_prefix_ready && return 0
  exec 9>"$TARNEL_WINE_DIR/prefix.lock"
  flock 9
  if ! tarnel_prefix_ready; then
    if [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
    rm -rf "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    local reg="$TARNEL_WINE_DIR/fonts.reg"
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
      '"宋体"="AR PL UMing CN"' '"SimSun"="AR PL UMing CN"' \
      '"MS Shell Dlg"="WenQuanYi Micro Hei"' '' | iconv -f UTF-8 -t UTF-16 >"$reg"
    wine regedit /S "$(wine winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    echo "$TARNEL_PREFIX_VERSION" >"$WINEPREFIX/.tarnel-ready"
  fi
  flock -u 9
  exec 9>&-
}

# Sets the Windows version the prefix reports to its programs: a name of Wine's setting (win7,
# win81, win10, ...), or nothing for Wine's own default.
tarnel_wine_version() {
  if [ -n "${1:-}" ]; then
    wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d "$1" /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
  fi
}

# The Windows version the prefix reports, as major.minor ("6.1", "10.0").
tarnel_wine_reported_version() {
  wine cmd /c ver </dev/null 2>/dev/null | tr -d '\r' |
    sed -n 's/.*Windows \([0-9]*\.[0-9]*\).*/\1/p'
}

# Keeps one wineserver alive for a whole run so that each program starts quickly.
tarnel_wine_begin() {
  tarnel_ensure_display
  tarnel_ensure_prefix
  wineserver -p
  # Start Wine's service processes now, detached from our output: a test runner would
  # otherwise wait for them to close the pipes they inherited from the first test.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

tarnel_wine_end() {
  wineserver -k 2>/dev/null || true
  if [ -f "$TARNEL_WINE_DIR/xvfb.pid" ]; then
    kill "$(cat "$TARNEL_WINE_DIR/xvfb.pid")" 2>/dev/null || true
    rm -f "$TARNEL_WINE_DIR/xvfb.pid" "$TARNEL_WINE_DIR/display"
  fi
}
