# Shell functions for the Wine suites; source it. Every suite gets throw-away
# prefixes under its WORK folder and ends its wineserver before it returns.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# wine_new_prefix DIR [win64|win32]: a fresh prefix, exported as WINEPREFIX.
# TOLVANE_WINE_WINDOWS=winxp (or win2k, win2003, vista, win7) makes the prefix
# report that Windows version, so the suites run as on an older system; a
# 64-bit prefix takes the 64-bit edition of XP.
wine_new_prefix() {
  local dir=$1 arch=${2:-win64}
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  export WINEPREFIX=$dir WINEARCH=$arch
  if [ -n "${TOLVANE_WINE_TEMPLATES:-}" ] && [ -f "$TOLVANE_WINE_TEMPLATES/$arch/system.reg" ]; then
    # A prefix booted once and copied: where Wine boots slowly (a 32-bit side
    # that runs emulated) this saves minutes per prefix.
    cp -a "$TOLVANE_WINE_TEMPLATES/$arch" "$dir" || { echo "copying the $arch template failed" >&2; return 1; }
  else
    wineboot -i </dev/null >/dev/null 2>&1 || { echo "wineboot failed for $dir" >&2; return 1; }
  fi
  if [ -n "${TOLVANE_WINE_WINDOWS:-}" ]; then
    local version=$TOLVANE_WINE_WINDOWS
    [ "$version" = winxp ] && [ "$arch" = win64 ] && version=winxp64
    wine winecfg /v "$version" </dev/null >/dev/null 2>&1 || { echo "winecfg /v $version failed" >&2; return 1; }
  fi
  wine_keep_server
}

# Keeps one wineserver alive for the rest of the suite: without it each Wine
# process waits for the server of the previous one to exit.
wine_keep_server() {
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
}

# wine_use_null_display: Wine's null display driver, for UI tests without X.
# Call right after wine_new_prefix, before any other Wine program runs.
wine_use_null_display() {
  wineserver -k >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wine_keep_server
}

# wine_system_dir [native|wow64]: the Unix path of system32 or syswow64.
wine_system_dir() {
  case ${1:-native} in
    native) echo "$WINEPREFIX/drive_c/windows/system32" ;;
    wow64) echo "$WINEPREFIX/drive_c/windows/syswow64" ;;
  esac
}

# wine_install_monitor: the monitor DLLs where the spooler looks for them. In a
# 64-bit prefix the 64-bit build goes into system32 and the 32-bit build, under
# the same file name, into syswow64 (32-bit processes run the spooler
# in-process); in a 32-bit prefix the 32-bit build alone, as on 32-bit Windows.
wine_install_monitor() {
  if [ "$WINEARCH" = win32 ]; then
    cp "$BUILD32/monitor/OstrelCaskel.dll" "$(wine_system_dir native)/OstrelCaskel.dll"
  else
    cp "$BUILD64/monitor/Caskel.dll" "$(wine_system_dir native)/Caskel.dll"
    cp "$BUILD32/monitor/OstrelCaskel.dll" "$(wine_system_dir wow64)/Caskel.dll"
  fi
}

# wine_monitor_dll: the file name the monitor is registered under in this prefix.
wine_monitor_dll() { [ "$WINEARCH" = win32 ] && echo OstrelCaskel.dll || echo Caskel.dll; }

# wine_run PROGRAM ARGS...: runs a Windows program, its output with LF line ends.
wine_run() { wine "$@" </dev/null 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

wine_end() { wineserver -k >/dev/null 2>&1 || true; }
