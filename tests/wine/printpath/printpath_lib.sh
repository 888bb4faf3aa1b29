# Shell functions of the print path suite and the demo: a HylaFAX server of
# their own, a Wine prefix with the monitor, Korrim.exe and a fax printer on a
# port, printing with the UI driver answering the form, and reading back what
# the server queued. Needs BUILD32, BUILD64, TOLVANE_ROOT and lib.sh sourced.

PP_PRINTER=${PP_PRINTER:-Tolvane}

pp_bin() { echo "$1/tests/wine/printpath"; }

pp_check_built() {
  local f
  for f in "$BUILD64/monitor/Caskel.dll" "$BUILD32/monitor/OstrelCaskel.dll" "$(wine_korrim_build)/recipient/win32/Korrim.exe" \
           "$(pp_bin "$BUILD64")/pp_setup.exe" "$(pp_bin "$BUILD64")/pp_print.exe" "$(pp_bin "$BUILD64")/pp_ui.exe" \
           "$(pp_bin "$BUILD32")/pp_print.exe" "$(pp_bin "$BUILD32")/pp_setup.exe" "$(pp_bin "$BUILD32")/pp_ui.exe"; do
    [ -f "$f" ] || { echo "printpath: $f is missing (build the win32 and win64 presets)"; return 1; }
  done
}

pp_free_port() { "$TOLVANE_ROOT/scripts/free-tcp-port.sh"; }

# pp_start_server DIR: hfaxd + faxq under DIR on a free loopback port
# (PP_SERVER_PORT); every line of the form's list is a modem that stays down,
# so jobs wait in sendq.
pp_start_server() {
  export HF_BASE=$1 HF_MODEMS="ttyS4 ttyS5 ttyS6 ttyS7 ttyX0 ttyX1 ttyX2 ttyX3"
  PP_SERVER_PORT=$(pp_free_port) || { echo "printpath: no free port"; return 1; }
  export HF_PORTS=$PP_SERVER_PORT
  mkdir -p "$HF_BASE"
  "$TOLVANE_ROOT/scripts/hylafax-test-server" start >"$HF_BASE.log" 2>&1 ||
    { echo "printpath: the HylaFAX server did not start:"; cat "$HF_BASE.log"; return 1; }
  echo "== HylaFAX server on 127.0.0.1:$PP_SERVER_PORT, spool $HF_BASE/spool"
}

pp_stop_server() { [ -n "${HF_BASE:-}" ] && "$TOLVANE_ROOT/scripts/hylafax-test-server" stop >/dev/null 2>&1; true; }

# The build whose helper programs fit the prefix (a 32-bit prefix runs no 64-bit program).
pp_tools() { [ "${WINEARCH:-win64}" = win32 ] && echo "$BUILD32" || echo "$BUILD64"; }

# pp_new_prefix DIR [win64|win32]: a prefix with the null display driver, the
# monitor builds, Korrim.exe where the setup tool puts it, and the fax
# printer "$PP_PRINTER" on port P.
pp_new_prefix() {
  wine_new_prefix "$1" "${2:-win64}" || return 1
  [ -n "${PP_DISPLAY:-}" ] || wine_use_null_display
  wine_install_monitor
  local korrim
  korrim=$(wine_korrim_build)/recipient/win32/Korrim.exe
  if [ "$WINEARCH" = win32 ]; then
    # 32-bit Windows: the shipped "system32" folder goes into the system directory.
    cp "$korrim" "$(wine_system_dir native)/Korrim.exe"
  else
    # 64-bit Windows: the shipped "SysWOW64\Tolvane" folder, where the 64-bit
    # monitor looks; a 32-bit printing program loads the 32-bit monitor, which
    # looks in its system directory (SysWOW64 under WoW64).
    mkdir -p "$(wine_system_dir wow64)/Tolvane"
    cp "$korrim" "$(wine_system_dir wow64)/Tolvane/Korrim.exe"
    cp "$korrim" "$(wine_system_dir wow64)/Korrim.exe"
  fi
  cp "$TOLVANE_ROOT/tests/wine/printpath/fax.ppd" "$WINEPREFIX/drive_c/tolvane-fax.ppd"
  # The form's countdown, shortened for the countdown test (Korrim.exe gets
  # the user's environment from the registry, not the printing process's).
  wine reg add 'HKCU\Environment' /v KORRIM_TEST_COUNTDOWN_SECONDS /d "${PP_COUNTDOWN:-180}" /f >/dev/null 2>&1
  wine_run "$(pp_bin "$(pp_tools)")/pp_setup.exe" install P "$PP_PRINTER" "$(wine_monitor_dll)" 'C:\tolvane-fax.ppd' ||
    return 1
  # Wine copies only the driver itself into the driver folders; its PostScript
  # driver reads the printer description from there.
  local dir
  for dir in x64 w32x86; do
    [ -d "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$dir/3" ] || continue
    cp "$TOLVANE_ROOT/tests/wine/printpath/fax.ppd" "$WINEPREFIX/drive_c/windows/system32/spool/drivers/$dir/3/tolvane-fax.ppd"
  done
}

# pp_configure_port PORT NAME VALUE...: the port's settings where the setup tool writes them.
pp_configure_port() { wine_run "$(pp_bin "$(pp_tools)")/pp_setup.exe" set "$@"; }

# pp_print_and_answer BUILD raw FILE DOCNAME -- UI-ARGS... | BUILD gdi DOCNAME -- UI-ARGS...
# Starts the UI driver, prints, waits for both. Sets PP_PRINT_RC, PP_UI_RC,
# PP_UI_LOG, PP_TRACE (the monitor's debug output of this print).
pp_print_and_answer() {
  local build=$1; shift
  local print_args=() ui_args=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do print_args+=("$1"); shift; done
  shift
  ui_args=("$@")
  PP_UI_LOG=$WORK/ui.$RANDOM.log
  PP_TRACE=$WORK/trace.$RANDOM.log
  local ui_pid
  PP_JOBS_BEFORE=$(pp_job_count)
  (rc=0; wine "$(pp_bin "$(pp_tools)")/pp_ui.exe" "${ui_args[@]}" </dev/null >"$PP_UI_LOG.raw" 2>/dev/null || rc=$?
   tr -d '\r' <"$PP_UI_LOG.raw" >"$PP_UI_LOG"; exit $rc) &
  ui_pid=$!
  if [ "${print_args[0]}" = raw ]; then
    print_args=(raw "$PP_PRINTER" "$(winepath -w "${print_args[1]}" 2>/dev/null)" "${print_args[@]:2}")
  else
    print_args=(gdi "$PP_PRINTER" "${print_args[@]:1}")
  fi
  PP_PRINT_RC=0
  WINEDEBUG=-all,+debugstr timeout 300 wine "$(pp_bin "$build")/pp_print.exe" "${print_args[@]}" </dev/null \
    >"$PP_TRACE.out" 2>"$PP_TRACE.raw" || PP_PRINT_RC=$?
  tr -d '\r' <"$PP_TRACE.out"
  grep -a 'Tolvane: ' "$PP_TRACE.raw" | sed 's/.*Tolvane: /monitor: /; s/\\n"$//; s/\\"/"/g; s/\\\\/\\/g' >"$PP_TRACE" || true
  PP_UI_RC=0
  wait "$ui_pid" || PP_UI_RC=$?
  sed 's/^/    /' "$PP_UI_LOG" "$PP_TRACE"
}

pp_trace_has() { grep -q -- "$1" "$PP_TRACE"; }

pp_job_count() { find "$HF_BASE/spool/sendq" "$HF_BASE/spool/doneq" -name 'q[0-9]*' 2>/dev/null | wc -l; }

# The job file of the Nth job of the last print (1-based): the server numbers
# jobs one after the other.
pp_job_file() {
  local id=$((PP_JOBS_BEFORE + $1))
  ls "$HF_BASE/spool/sendq/q$id" "$HF_BASE/spool/doneq/q$id" 2>/dev/null | head -1
}

# pp_job_has N LINE...: the Nth job of the last print holds each "key:value" line.
pp_job_has() {
  local file line
  file=$(pp_job_file "$1"); shift
  [ -n "$file" ] || { echo "    no job file"; return 1; }
  for line in "$@"; do
    grep -qxF -- "$line" "$file" || { echo "    $(basename "$file") lacks \"$line\""; return 1; }
  done
}

# pp_document_of_job_is N FILE: the document the Nth job sends is byte-identical to FILE.
pp_document_of_job_is() {
  local file doc
  file=$(pp_job_file "$1")
  doc=$(grep -a '^postscript:' "$file" | head -1 | sed 's/.*:://')
  [ -n "$doc" ] && cmp -s "$HF_BASE/spool/$doc" "$2" || { echo "    docq file \"$doc\" differs from $2"; return 1; }
}

# pp_document_of_job_is_postscript N: the Nth job's document is a whole PostScript file.
pp_document_of_job_is_postscript() {
  local file doc
  file=$(pp_job_file "$1")
  doc=$HF_BASE/spool/$(grep -a '^postscript:' "$file" | head -1 | sed 's/.*:://')
  head -c 4 "$doc" | grep -q '%!PS' && tail -c 200 "$doc" | grep -aq '%%EOF' ||
    { echo "    $doc is no whole PostScript file"; return 1; }
}

pp_spool_files() { find "$WINEPREFIX/drive_c" -maxdepth 6 -name 'FAX*.tmp' 2>/dev/null; }
pp_no_spool_files() { [ -z "$(pp_spool_files)" ]; }
# Documents kept for their user: "Unsent faxes" in the Wine user's profile.
pp_kept_files() { find "$WINEPREFIX/drive_c/users" -path '*/Unsent faxes/*' -type f 2>/dev/null; }

pp_make_binary_postscript() {
  { printf '%%!PS-Adobe-3.0\n%%%%Title: binary sample\n/Helvetica findfont 24 scalefont setfont\n'
    printf '72 720 moveto (Tolvane fax sample) show\n%%%%BeginData: 256 Binary Bytes\n'
    for i in $(seq 0 255); do printf "\\$(printf %03o "$i")"; done
    printf '\n%%%%EndData\nshowpage\n%%%%EOF\n'; } >"$1"
}

pp_finish() { wine_checks_finish printpath; }
