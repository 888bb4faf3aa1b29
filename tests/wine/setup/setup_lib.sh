# Shell functions of the setup tool's Wine suite and the demo: the release
# folder in a prefix, Ruddock.exe and Ruddset.exe run unattended or worked by
# the UI driver, the spooler's objects, and the tool's logs. Needs BUILD32,
# BUILD64, TOLVANE_ROOT, WORK, lib.sh and printpath_lib.sh sourced.

ST_RESOURCES=$TOLVANE_ROOT/setup/resources
ST_PPD=$ST_RESOURCES/APLWMGS1.PPD
ST_YARROWBY=$ST_RESOURCES/Yarrowby.GPD
ST_PELLMARK=$ST_RESOURCES/Pellmark.GPD
ST_TIMEOUT=${ST_TIMEOUT:-180}

# The suite's helper programs for the prefix's architecture.
st_tool() { echo "$(pp_tools)/tests/wine/setup/$1.exe"; }

st_check_built() {
  local f
  pp_check_built || return 1
  for f in "$BUILD32/setup/win32/Ruddock.exe" "$BUILD32/setup/win32/Ruddset.exe" "$BUILD32/release/quillon-driver.txt" \
           "$BUILD32/rasterback/win32/PellmarkSys.dll" \
           "$BUILD32/tests/wine/setup/setup_probe.exe" "$BUILD32/tests/wine/setup/setup_ui.exe" \
           "$BUILD64/tests/wine/setup/setup_probe.exe" "$BUILD64/tests/wine/setup/setup_ui.exe"; do
    [ -f "$f" ] || { echo "setup: $f is missing (build the win32 and win64 presets)"; return 1; }
  done
}

# The files of the release folder, one relative path a line, sorted.
st_release_files() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

# What an administrator copies, and nothing else.
st_release_complete() {
  local expected actual name
  expected=$({
    printf '%s\n' Ruddock.exe Ruddset.exe Language.ini system32/Korrim.exe SysWOW64/Tolvane/Caskelui.dll \
      SysWOW64/Tolvane/Korrim.exe
    for name in UNIDRV.dll UNIDRVUI.dll UNIRES.DLL STDNAMES.GPD UNIDRV.HLP Yarrowby.GPD TessaryUi.dll TessaryUi.INI \
                TessaryUni.dll TessarySys.dll; do
      printf '%s\n' "QuillonDriver/i386/$name" "QuillonDriver/amd64/$name"
    done
    for name in Pellmark.GPD PellmarkUi.dll PellmarkUi.INI PellmarkUni.dll PellmarkSys.dll; do
      echo "QuillonDriver/i386/$name"
    done
  } | LC_ALL=C sort)
  actual=$(st_release_files "$RELEASE")
  [ "$actual" = "$expected" ] || { diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /'; return 1; }
  cmp -s "$RELEASE/Language.ini" "$ST_RESOURCES/Language.ini" &&
    cmp -s "$RELEASE/SysWOW64/Tolvane/Caskelui.dll" "$BUILD32/monitor/OstrelCaskel.dll" &&
    cmp -s "$RELEASE/QuillonDriver/i386/PellmarkSys.dll" "$BUILD32/rasterback/win32/PellmarkSys.dll" &&
    cmp -s "$RELEASE/QuillonDriver/amd64/Yarrowby.GPD" "$ST_YARROWBY" &&
    cmp -s "$RELEASE/QuillonDriver/i386/UNIDRV.dll" "$BUILD32/setup/resources/QuillonDriver/i386/UNIDRV.dll" ||
    { echo "    a release file is not the one it should be"; return 1; }
}

st_zip_matches_release() {
  local zip unpacked=$WORK/unzipped
  zip=$(ls "$WORK"/release/Tolvane-*.zip 2>/dev/null | head -1)
  [ -n "$zip" ] || { echo "    no zip"; return 1; }
  rm -rf "$unpacked" && mkdir -p "$unpacked" && unzip -q "$zip" -d "$unpacked" && diff -r "$RELEASE" "$unpacked/Tolvane" >/dev/null
}

# st_new_prefix DIR win64|win32: a fresh prefix with the null display and the
# release folder copied to C:\Tolvane, as an administrator does.
st_new_prefix() {
  wine_new_prefix "$1" "$2" || return 1
  [ -n "${PP_DISPLAY:-}" ] || wine_use_null_display
  cp -r "$RELEASE" "$WINEPREFIX/drive_c/Tolvane"
}

# st_ruddock ARGS...: Ruddock.exe from C:\Tolvane, started from another folder
# (the tool works from its own); ST_RC is its exit code, 124 when it hung.
st_ruddock() {
  ST_RC=0
  (cd "$WORK" && timeout "$ST_TIMEOUT" wine 'C:\Tolvane\Ruddock.exe' "$@" </dev/null >"$WORK/ruddock.out" 2>&1) ||
    ST_RC=$?
  echo "    Ruddock.exe $* -> $ST_RC"
}

# Ended by itself: a quiet run that waited for a window would have been cut off.
st_no_window_left() { [ "$ST_RC" != 124 ]; }

# st_with_ui UI-ARGS... -- PROGRAM ARGS...: the UI driver and the program side
# by side; ST_RC is the program's exit code, ST_UI_RC the driver's, ST_UI_LOG
# what the driver saw. The program runs in C:\Tolvane.
st_with_ui() {
  local ui_args=() ui_pid program_pid
  while [ $# -gt 0 ] && [ "$1" != -- ]; do ui_args+=("$1"); shift; done
  shift
  ST_UI_LOG=$WORK/ui.$RANDOM.log
  (timeout "$ST_TIMEOUT" wine "$(st_tool setup_ui)" "${ui_args[@]}" </dev/null >"$ST_UI_LOG" 2>/dev/null) &
  ui_pid=$!
  (cd "$WINEPREFIX/drive_c/Tolvane" && exec timeout "$ST_TIMEOUT" wine "$@" </dev/null >"$WORK/program.out" 2>&1) &
  program_pid=$!
  ST_UI_RC=0
  wait "$ui_pid" || ST_UI_RC=$?
  # A driver that gave up leaves the program at a window nobody answers: it
  # gets a little time to end by itself, then it is ended.
  if [ "$ST_UI_RC" != 0 ]; then
    local waited=0
    while kill -0 "$program_pid" 2>/dev/null && [ $waited -lt 20 ]; do sleep 1; waited=$((waited + 1)); done
    kill "$program_pid" 2>/dev/null
  fi
  ST_RC=0
  wait "$program_pid" || ST_RC=$?
  sed -i 's/\r$//' "$ST_UI_LOG"
  echo "    $* -> $ST_RC, UI driver ${ui_args[*]} -> $ST_UI_RC"
  sed 's/^/      /' "$ST_UI_LOG"
}

st_ruddock_answered() { local caption=$1; shift; st_with_ui box "$caption" -- Ruddock.exe "$@"; }
st_ruddset_dialog() { st_with_ui "$1" Ruddset "$2" -- Ruddset.exe; }
st_ruddock_dialog() { st_with_ui "$@" -- Ruddock.exe; }

# The spooler's objects, one tab-separated line each (setup_probe.cpp).
st_probe() {
  ST_OBJECTS=$WORK/objects.txt
  wine_run "$(st_tool setup_probe)" objects >"$ST_OBJECTS"
}
# st_has KIND FIELD...: an object line with exactly these fields.
st_has() {
  local IFS=$'\t'
  grep -qxF -- "$*" "$ST_OBJECTS" || { echo "    no \"$*\" among:"; sed 's/^/      /' "$ST_OBJECTS"; return 1; }
}
# st_has_prefix KIND FIELD...: an object line that starts with these fields.
st_has_prefix() {
  local IFS=$'\t'
  grep -q -- "^$*" "$ST_OBJECTS" || { echo "    no \"$*...\" among:"; sed 's/^/      /' "$ST_OBJECTS"; return 1; }
}
# st_has_name KIND [ENVIRONMENT] NAME: an object of that name, whatever else.
st_has_name() {
  local IFS=$'\t'
  grep -q -- "^$*"$'\t' "$ST_OBJECTS" || grep -qx -- "$*" "$ST_OBJECTS"
}

# st_driver_file_is DIR NAME FILE: the spooler's driver folder DIR (x64,
# w32x86) or its version folder holds NAME with the contents of FILE.
st_driver_file_is() {
  local f
  for f in $(find "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$1" -maxdepth 2 -iname "$2" 2>/dev/null); do
    cmp -s "$f" "$3" && return 0
  done
  echo "    no $2 like $(basename "$3") in spool/drivers/$1"
  return 1
}

# The release folder holds what it held when copied: the tool extracts
# elsewhere.
st_release_folder_untouched() {
  local extra
  extra=$(diff <(st_release_files "$RELEASE") <(st_release_files "$WINEPREFIX/drive_c/Tolvane" | grep -vx Setup.log))
  [ -z "$extra" ] || { echo "$extra" | sed 's/^/    /'; return 1; }
}

st_start_menu() { echo "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"; }

# st_port_value PORT NAME: a port setting as the registry holds it.
st_port_value() {
  wine reg query "HKLM\\System\\CurrentControlSet\\Control\\Print\\Monitors\\Tolvane\\Ports\\$1" /v "$2" </dev/null 2>/dev/null |
    tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}

st_document_has() {
  local file doc
  file=$(pp_job_file "$1")
  doc=$HF_BASE/spool/$(grep -a '^postscript:' "$file" | head -1 | sed 's/.*:://')
  grep -aq -- "$2" "$doc" || { echo "    $doc lacks $2"; return 1; }
}

st_starts_with_bom() { [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = fffe ]; }

# st_log_text FILE: the log as UTF-8 with its CR LF line ends, without the mark.
st_log_text() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8; }

# st_log_well_formed FILE MIN: the byte-order mark, at least MIN entries, each
# "yyyy/mm/dd<TAB>hh:mm:ss<TAB>status<TAB>text" padded with blanks, CR LF ends.
st_log_well_formed() {
  local text=$WORK/log.txt entry
  entry=$'^[0-9]{4}/[ 1][0-9]/[ 123][0-9]\t[ 12][0-9]:[ 0-5][0-9]:[ 0-5][0-9]\t( 1| 0|-1)\t.+$'
  st_starts_with_bom "$1" || { echo "    $1 does not start with FF FE"; return 1; }
  st_log_text "$1" >"$text" || return 1
  [ "$(grep -c $'\r$' "$text")" = "$(wc -l <"$text")" ] || { echo "    a line of $1 does not end in CR LF"; return 1; }
  if tr -d '\r' <"$text" | grep -Evq "$entry"; then
    echo "    entries of $1 not in the format:"; tr -d '\r' <"$text" | grep -Ev "$entry" | sed 's/^/      /'
    return 1
  fi
  [ "$(wc -l <"$text")" -ge "$2" ] || { echo "    fewer than $2 entries in $1"; return 1; }
}

# st_log_in_order FILE "STATUS TEXT"...: these entries appear in this order
# (others may come between).
st_log_in_order() {
  local file=$1 entries want from=0 at
  shift
  entries=$(st_log_text "$file" | tr -d '\r' | awk -F'\t' 'NF >= 4 { s = $3; gsub(/ /, "", s); print s " " $4 }')
  for want in "$@"; do
    at=$(printf '%s\n' "$entries" | awk -v w="$want" -v from="$from" 'NR > from && $0 == w { print NR; exit }')
    if [ -z "$at" ]; then
      echo "    \"$want\" not found after entry $from of $file:"; printf '%s\n' "$entries" | sed 's/^/      /'
      return 1
    fi
    from=$at
  done
}

# One byte-order mark, at the start.
st_one_bom() { [ "$(st_log_text "$1" | LC_ALL=C grep -c $'\xEF\xBB\xBF')" = 0 ] && st_starts_with_bom "$1"; }

# st_setting_is LANGUAGE: Setting.ini in the install folder names it.
st_setting_is() {
  local file="$WINEPREFIX/drive_c/Program Files/Ruddset/Setting.ini"
  [ -f "$file" ] && tr -d '\0\r' <"$file" | grep -qx "DefLanguage=$1" ||
    { echo "    $file does not hold DefLanguage=$1"; return 1; }
}

# The "Spooler" service stopped and disabled, so that nothing can start it.
st_disable_spooler() {
  wine sc stop spooler </dev/null >/dev/null 2>&1
  wine sc config spooler start= disabled </dev/null >/dev/null 2>&1
}
