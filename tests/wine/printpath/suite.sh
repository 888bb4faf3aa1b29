#!/usr/bin/env bash
# The print path end to end under Wine, against a HylaFAX server of its own on
# loopback: a fax printer on the monitor's port "P", documents printed with
# WritePrinter and with GDI, the send-fax form answered by a UI driver, and the
# jobs and documents the server queued checked in its spool.
#
# Called by tests/wine/run.sh with TOLVANE_ROOT, BUILD32, BUILD64, WINE_LIB and
# WORK. Exits 0 only when every check passed.
set -u
: "${TOLVANE_ROOT:?}" "${BUILD32:?}" "${BUILD64:?}" "${WORK:?}"
# shellcheck source=../lib.sh
source "${WINE_LIB:-$TOLVANE_ROOT/tests/wine/lib.sh}"
# shellcheck source=printpath_lib.sh
source "$TOLVANE_ROOT/tests/wine/printpath/printpath_lib.sh"

pp_check_built || exit 1
pp_start_server "$WORK/hylafax" || exit 1
trap 'pp_stop_server; wine_end' EXIT

pp_new_prefix "$WORK/prefix64" || exit 1
pp_configure_port P "Server" "127.0.0.1:$PP_SERVER_PORT" "Username" faxuser "Password" secret \
  "Sender" "Tolvane Test" "SysMode" 1 "Confirm" 1 "Modem" 1 "Resolution" 2 "Priority" 3 "PageSize" 1 \
  "DefaultEmail" "fax@example.org" "AddressBookType" 5 || exit 1

# A PostScript document with binary data: every byte value, zero included.
sample=$WORK/sample.ps
pp_make_binary_postscript "$sample"

# --- 1. WritePrinter from a 64-bit program, Korrim.exe over the pipe --------
echo "== WritePrinter, 64-bit, Korrim.exe: 101;Sales@202;303"

pp_print_and_answer "$BUILD64" raw "$sample" "Quarterly report" -- send "101;Sales@202;303"
check "raw: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "raw: the form showed the document name" grep -q 'document "Document: Quarterly report"' "$PP_UI_LOG"
check "raw: three jobs queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 3)) ]
check "raw: confirmation lists the jobs" grep -q 'confirmation: .*Totally   3 jobs\.' "$PP_UI_LOG"
check "raw: job 1 to 101 as \".\"" pp_job_has 1 number:101 receiver:. sender:"Tolvane Test" resolution:391 usexvres:1 \
  pagewidth:209 pagelength:296 priority:30 modem:ttyS4 mailaddr:fax@example.org "notify:when done"
check "raw: job 2 to 202 as Sales" pp_job_has 2 number:202 receiver:Sales
check "raw: job 3 to 303 as Sales" pp_job_has 3 number:303 receiver:Sales
check "raw: document byte-identical in docq" pp_document_of_job_is 1 "$sample"
check "raw: spool file deleted" pp_no_spool_files
check "raw: spool file deleted after every job was submitted" pp_trace_has 'submitted; spool file .* deleted'
check "raw: 64-bit monitor started Korrim.exe from SysWOW64\\Tolvane" \
  pp_trace_has 'starting C:\\windows\\syswow64\\Tolvane\\Korrim.exe'
check "raw: spooler job marked sent" pp_trace_has 'job [1-9][0-9]* of "Tolvane" marked sent'

# --- 2. GDI from a 64-bit program -------------------------------------------
echo "== GDI, 64-bit, Korrim.exe: one recipient"
pp_print_and_answer "$BUILD64" gdi "GDI letter" -- send "5551234"
check "gdi: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "gdi: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
check "gdi: job to 5551234" pp_job_has 1 number:5551234 receiver:.
check "gdi: the document is the driver's PostScript" pp_document_of_job_is_postscript 1
check "gdi: spool file deleted" pp_no_spool_files

# --- 3. Cancel ----------------------------------------------------------------
echo "== Cancel"
pp_print_and_answer "$BUILD64" raw "$sample" "Cancelled letter" -- cancel
check "cancel: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "cancel: the UI driver pressed Cancel" [ "$PP_UI_RC" = 0 ]
check "cancel: nothing queued" [ "$(pp_job_count)" = "$PP_JOBS_BEFORE" ]
check "cancel: the monitor saw the Cancel" pp_trace_has 'cancelled; spool file .* deleted'
check "cancel: spool file deleted" pp_no_spool_files

# --- 4. The countdown --------------------------------------------------------
echo "== countdown (shortened to 3 s)"
wine reg add 'HKCU\Environment' /v KORRIM_TEST_COUNTDOWN_SECONDS /d 3 /f >/dev/null 2>&1
pp_print_and_answer "$BUILD64" raw "$sample" "Unanswered letter" -- ignore
wine reg delete 'HKCU\Environment' /v KORRIM_TEST_COUNTDOWN_SECONDS /f >/dev/null 2>&1
check "countdown: the form closed by itself" grep -q 'closed by itself' "$PP_UI_LOG"
check "countdown: nothing queued" [ "$(pp_job_count)" = "$PP_JOBS_BEFORE" ]
check "countdown: the monitor took it as a Cancel" pp_trace_has 'cancelled'

# --- 5. The fax server is down ---------------------------------------------
echo "== the fax server is down"
down_port=$(pp_free_port)
pp_configure_port P Server "127.0.0.1:$down_port" >/dev/null
pp_print_and_answer "$BUILD64" raw "$sample" "Letter to nowhere" -- send "777"
pp_configure_port P Server "127.0.0.1:$PP_SERVER_PORT" >/dev/null
check "down: nothing queued" [ "$(pp_job_count)" = "$PP_JOBS_BEFORE" ]
check "down: the confirmation says the server cannot be reached" \
  grep -q "confirmation: Cannot connect to the fax server 127.0.0.1 port $down_port" "$PP_UI_LOG"
check "down: the confirmation names the kept document" \
  grep -q 'It was kept as C:.*\\Unsent faxes\\Letter to nowhere (job [0-9]*)\.ps\.' "$PP_UI_LOG"
kept=$(pp_kept_files | grep 'Letter to nowhere' | head -1)
check "down: the kept document is byte-identical" cmp -s "$kept" "$sample"
check "down: no spool file left in the spooler's temporary folder" pp_no_spool_files
check "down: the job is not marked sent" eval '! pp_trace_has "marked sent"'
# Wine's spooler keeps only a job's document name (its SetJob ignores the
# status text), so the error status itself shows on Windows only: here the
# monitor's attempt is what can be checked.
check "down: the job is given the error status" \
  pp_trace_has 'job [0-9]* of "Tolvane": the error status was refused\|job [0-9]* of "Tolvane" shows the error "Fax not sent to every'
rm -f "$kept"

echo "== the fax server is down, Confirm 0: the user is still told"
pp_configure_port P Server "127.0.0.1:$down_port" Confirm 0 >/dev/null
pp_print_and_answer "$BUILD64" raw "$sample" "Quiet letter" -- send-notice "778"
pp_configure_port P Server "127.0.0.1:$PP_SERVER_PORT" Confirm 1 >/dev/null
check "down, Confirm 0: nothing queued" [ "$(pp_job_count)" = "$PP_JOBS_BEFORE" ]
check "down, Confirm 0: a notice says what failed" grep -q "notice: Cannot connect to the fax server 127.0.0.1 port $down_port" "$PP_UI_LOG"
check "down, Confirm 0: and names the kept document" \
  grep -q 'notice: .*It was kept as C:.*\\Unsent faxes\\Quiet letter (job [0-9]*)\.ps\.' "$PP_UI_LOG"
kept=$(pp_kept_files | grep 'Quiet letter' | head -1)
check "down, Confirm 0: the kept document is byte-identical" cmp -s "$kept" "$sample"
rm -f "$kept"

echo "== Korrim.exe killed while the form is open"
pp_print_and_answer "$BUILD64" raw "$sample" "Killed letter" -- kill
check "kill: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "kill: the form's process was ended" grep -q 'form: Korrim.exe killed' "$PP_UI_LOG"
check "kill: no box captioned host or MainProcess" grep -q 'boxes: none from the spooler' "$PP_UI_LOG"
check "kill: the pipe failure went to the trace" pp_trace_has 'host: Main Process reads pipe failed'
check "kill: the user was told where the document is" \
  grep -q 'notice: The fax "Killed letter" was not sent.*kept as C:.*\\Unsent faxes\\Killed letter (job [0-9]*)\.ps\.' "$PP_UI_LOG"
kept=$(pp_kept_files | grep 'Killed letter' | head -1)
check "kill: the kept document is byte-identical" cmp -s "$kept" "$sample"
rm -f "$kept"
pp_print_and_answer "$BUILD64" raw "$sample" "After the kill" -- send "5550001"
check "kill: the next print shows the form again and is sent" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]

# --- 5. Three documents at the same time, on three ports ---------------------
echo "== three documents at the same time on ports M1 to M3, answered in reverse order"
many_log=$WORK/many.log many_ui=$WORK/many-ui.log
PP_JOBS_BEFORE=$(pp_job_count)
(rc=0; wine "$(pp_bin "$BUILD64")/pp_ui.exe" many 3 </dev/null >"$many_ui.raw" 2>/dev/null || rc=$?
 tr -d '\r' <"$many_ui.raw" >"$many_ui"; exit $rc) &
many_ui_pid=$!
many_rc=0
timeout 300 wine "$(pp_bin "$BUILD64")/pp_many.exe" "$(wine_monitor_dll)" 3 </dev/null >"$many_log.raw" 2>/dev/null ||
  many_rc=$?
tr -d '\r' <"$many_log.raw" >"$many_log"
many_ui_rc=0
wait "$many_ui_pid" || many_ui_rc=$?
sed 's/^/    /' "$many_ui" "$many_log"
# many_job_for N: the job to 70NN holds document "Many users N" and nothing else went there.
many_job_for() {
  local file doc
  file=$(grep -l -x "number:70$(printf %02d "$1")" "$HF_BASE"/spool/sendq/q* 2>/dev/null)
  [ "$(echo "$file" | grep -c .)" = 1 ] || { echo "    jobs to 70$(printf %02d "$1"): ${file:-none}"; return 1; }
  doc=$HF_BASE/spool/$(grep -a '^postscript:' "$file" | head -1 | sed 's/.*:://')
  grep -aq "(Many users $1) show" "$doc" || { echo "    $(basename "$file") sends another document"; return 1; }
}
check "many: the three forms were up at the same time" grep -q 'forms: 3 up at the same time' "$many_ui"
check "many: each form answered, the last to appear first" [ "$many_ui_rc" = 0 ]
check "many: every EndDocPort returned TRUE" [ "$many_rc" = 0 ]
check "many: three jobs queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 3)) ]
for n in 1 2 3; do check "many: the number typed into the form of \"Many $n\" reached its document" many_job_for "$n"; done

# --- 6. 32-bit monitor, SysMode "0": the form in the printing process -------
# (The 32-bit printing process loads the 32-bit monitor, so 6 and 7 need
# 32-bit programs.)
if ! wine_skip_without_32bit "the 32-bit monitor in a printing process (SysMode 0, 1 and 2)"; then
  echo "== WritePrinter, 32-bit, SysMode 0 (the form inside the monitor's process)"
  pp_configure_port P SysMode 0 >/dev/null
  pp_print_and_answer "$BUILD32" raw "$sample" "In-process letter" -- send "4242;Office@4343"
  check "mode 0: printing returned" [ "$PP_PRINT_RC" = 0 ]
  check "mode 0: the monitor showed the form itself" pp_trace_has 'form answered "1"'
  check "mode 0: two jobs queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 2)) ]
  check "mode 0: jobs to 4242 and to Office at 4343" \
    eval 'pp_job_has 1 number:4242 receiver:. && pp_job_has 2 number:4343 receiver:Office'
  check "mode 0: document byte-identical in docq" pp_document_of_job_is 2 "$sample"
  check "mode 0: the monitor's own confirmation box" grep -q 'confirmation: .*Totally   2 jobs\.' "$PP_UI_LOG"

  # --- 7. 32-bit monitor, SysMode "1" and "2": Korrim.exe from the system folder
  echo "== WritePrinter, 32-bit, SysMode 1 (Korrim.exe from the system directory)"
  pp_configure_port P SysMode 1 >/dev/null
  pp_print_and_answer "$BUILD32" raw "$sample" "Console letter" -- send "808"
  check "mode 1: 32-bit monitor started Korrim.exe from its system directory" \
    pp_trace_has 'starting C:\\windows\\system32\\Korrim.exe'
  check "mode 1: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
  check "mode 1: Korrim.exe showed the confirmation" grep -q 'confirmation: 200 Job' "$PP_UI_LOG"

  echo "== WritePrinter, 32-bit, SysMode 2 (Korrim.exe asks, the monitor confirms)"
  pp_configure_port P SysMode 2 >/dev/null
  pp_print_and_answer "$BUILD32" raw "$sample" "Reserved-mode letter" -- send "909"
  check "mode 2: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
  check "mode 2: Korrim.exe asked" pp_trace_has 'dialog answered "1"'
  check "mode 2: the confirmation box came from the printing process" grep -q 'confirmation: 200 Job' "$PP_UI_LOG"
  pp_configure_port P SysMode 1 >/dev/null
fi

# --- 8. A large binary document ---------------------------------------------
echo "== WritePrinter, 64-bit: a 6 MB document of random bytes"
large=$WORK/large.ps
{ printf '%%!PS-Adobe-3.0\n%%%%BeginData: 6291456 Binary Bytes\n'; head -c 6291456 /dev/urandom; printf '\n%%%%EOF\n'; } >"$large"
pp_print_and_answer "$BUILD64" raw "$large" "Large letter" -- send "6060"
check "large: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
check "large: document byte-identical in docq" pp_document_of_job_is 1 "$large"
check "large: spool file deleted" pp_no_spool_files
wine_end

# --- 9. 32-bit Windows: the 32-bit monitor finds Korrim.exe in system32 ------
if ! wine_skip_without_32bit "a 32-bit prefix"; then
  echo "== 32-bit prefix: WritePrinter, SysMode 1"
  pp_new_prefix "$WORK/prefix32" win32 || exit 1
  pp_configure_port P Server "127.0.0.1:$PP_SERVER_PORT" Username faxuser Password secret SysMode 1 Confirm 1 >/dev/null
  pp_print_and_answer "$BUILD32" raw "$sample" "Letter from 32-bit Windows" -- send "3232"
  check "win32: Korrim.exe started from the system directory" pp_trace_has 'starting C:\\windows\\system32\\Korrim.exe'
  check "win32: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
  check "win32: job to 3232" pp_job_has 1 number:3232
  check "win32: document byte-identical in docq" pp_document_of_job_is 1 "$sample"
fi

pp_finish
