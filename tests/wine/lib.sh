# Shell functions for the Wine suites; source it. Every suite gets throw-away
# prefixes under its WORK folder and ends its wineserver before it returns.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

# Whether this machine runs 32-bit programs natively. Some kernels have their
# 32-bit emulation off ("32-bit emulation disabled" at boot): Wine's 32-bit
# loader then fails with "Exec format error", and where binfmt_misc hands it to
# qemu instead, every 32-bit start takes minutes. On such a machine the suites
# run Wine through its 64-bit loader, their 64-bit parts only, and say which
# 32-bit parts they leave out (wine_skip_without_32bit). Decided once per run
# and exported as TOLVANE_WINE_32BIT (yes or no; set it to force either).
wine_detect_32bit() {
  local entry
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo no
    return
  fi
  for entry in /proc/sys/fs/binfmt_misc/*; do
    if grep -qs '^enabled' "$entry" && grep -qs '^interpreter .*qemu-i386' "$entry"; then
      echo no
      return
    fi
  done
  echo yes
}

if [ -z "${TOLVANE_WINE_32BIT:-}" ]; then
  TOLVANE_WINE_32BIT=$(wine_detect_32bit)
  export TOLVANE_WINE_32BIT
fi

# Without 32-bit programs, Debian's "wine" still picks the 32-bit loader: a
# folder of commands of the same names that start the 64-bit one goes first
# in PATH (wineboot, winecfg and winepath start "wine-stable" by name).
if [ "$TOLVANE_WINE_32BIT" = no ]; then
  wine_64bit_bin=${TMPDIR:-/tmp}/tolvane-wine64-bin
  if [ ! -x "$wine_64bit_bin/wine-stable" ]; then
    mkdir -p "$wine_64bit_bin"
    printf '#!/bin/sh\n[ -z "$WINEDEBUG" ] && export WINEDEBUG=fixme-all\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
      >"$wine_64bit_bin/wine-stable.new"
    chmod +x "$wine_64bit_bin/wine-stable.new"
    mv "$wine_64bit_bin/wine-stable.new" "$wine_64bit_bin/wine-stable"
    for command in wine wineboot winecfg winepath wineconsole; do
      target=/usr/lib/wine/wineapploader
      [ "$command" = wine ] && target=wine-stable
      ln -sfn "$target" "$wine_64bit_bin/$command"
    done
  fi
  case ":$PATH:" in
    *":$wine_64bit_bin:"*) ;;
    *) export PATH=$wine_64bit_bin:$PATH ;;
  esac
fi

# wine_runs_32bit: true when 32-bit programs run here at full speed.
wine_runs_32bit() { [ "$TOLVANE_WINE_32BIT" = yes ]; }

# wine_skip_without_32bit WHAT: true (and says that WHAT is left out) on a
# machine without 32-bit programs; `wine_skip_without_32bit "..." || run_it`.
wine_skip_without_32bit() {
  wine_runs_32bit && return 1
  echo "  SKIP $1: this machine runs no 32-bit programs"
  return 0
}

# wine_korrim_build: the build whose Korrim.exe the suites use. Korrim.exe
# ships 32-bit only; its 64-bit build, from the same source, stands in for it
# where 32-bit programs do not run.
wine_korrim_build() { wine_runs_32bit && echo "$BUILD32" || echo "$BUILD64"; }

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

# A suite's checks: `check NAME COMMAND...` runs COMMAND and prints "  ok   NAME"
# or "  FAIL NAME"; `wine_checks_finish LABEL` prints the counts and fails when
# any check did.
passed=0
failed=()
ok() { echo "  ok   $*"; passed=$((passed + 1)); }
bad() { echo "  FAIL $*"; failed+=("$1"); }
check() {  # check NAME CONDITION-COMMAND...
  local name=$1; shift
  if "$@"; then ok "$name"; else bad "$name"; fi
}
wine_checks_finish() {
  echo "$1: ${passed} passed, ${#failed[@]} failed"
  [ ${#failed[@]} -eq 0 ] || { echo "$1: failed: ${failed[*]}"; return 1; }
}

# wine_capture_posed POSES WORK OUT STEP FILE: for the screenshot scripts. Waits
# (up to ten minutes) until the test program has posed STEP (it writes
# POSES/STEP.ready), captures the Xvfb screen trimmed of the plain virtual
# desktop around the windows as OUT/FILE, and lets the program go on
# (POSES/STEP.done). When STEP never comes, the program's WORK/run.log shows why.
wine_capture_posed() {
  local poses=$1 work=$2 out=$3 step=$4 file=$5
  for _ in $(seq 1 3000); do
    [ -f "$poses/$step.ready" ] && break
    sleep 0.2
  done
  [ -f "$poses/$step.ready" ] || { echo "screenshots: $step was never posed" >&2; cat "$work/run.log" >&2; return 1; }
  sleep 1
  import -window root "$work/$step.png"
  convert "$work/$step.png" -trim +repage "$out/$file"
  touch "$poses/$step.done"
  echo "screenshots: $out/$file"
}
