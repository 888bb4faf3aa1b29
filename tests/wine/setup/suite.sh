#!/usr/bin/env bash
# The setup tool under Wine, from the release folder an administrator copies
# (scripts/make-release.sh, assembled here from the builds), in a 64-bit and a
# 32-bit prefix, against a HylaFAX server of its own on loopback:
#
# - unattended: Ruddock.exe /install tolvane /quiet /log FILE /set ... leaves the
#   monitor, the driver, the port and the printer "Tolvane", the monitor's and
#   the dialog program's files and the log entries in order; a document
#   printed from a 64-bit and from a 32-bit program reaches the server through
#   the send-fax form; /uninstall removes it all; the raster printer likewise;
#   the exit codes 0, 1 and 2;
# - the older build Ruddset.exe: its Install and Uninstall buttons, and its
#   Setup.log in UTF-16LE with one byte-order mark;
# - Ruddock's language list: a change is written to Setting.ini and the next
#   start selects it.
#
# Called by tests/wine/run.sh with TOLVANE_ROOT, BUILD32, BUILD64, WINE_LIB and
# WORK. Exits 0 only when every check passed.
set -u
: "${TOLVANE_ROOT:?}" "${BUILD32:?}" "${BUILD64:?}" "${WORK:?}"
# shellcheck source=../lib.sh
source "${WINE_LIB:-$TOLVANE_ROOT/tests/wine/lib.sh}"
# shellcheck source=../printpath/printpath_lib.sh
source "$TOLVANE_ROOT/tests/wine/printpath/printpath_lib.sh"
# shellcheck source=setup_lib.sh
source "$TOLVANE_ROOT/tests/wine/setup/setup_lib.sh"

# Ruddock.exe and Ruddset.exe are 32-bit programs only (exit 77: skipped).
wine_skip_without_32bit "the setup tool (32-bit programs)" && exit 77

not() { ! "$@"; }

st_check_built || exit 1
"$TOLVANE_ROOT/scripts/make-release.sh" --no-build --out "$WORK/release" >"$WORK/make-release.log" 2>&1 ||
  { echo "setup: make-release.sh failed:"; cat "$WORK/make-release.log"; exit 1; }
RELEASE=$WORK/release/Tolvane
check "release: the folder holds what an administrator copies" st_release_complete
check "release: the zip holds the folder" st_zip_matches_release

pp_start_server "$WORK/hylafax" || exit 1
trap 'pp_stop_server; wine_end' EXIT
server="127.0.0.1:$PP_SERVER_PORT"
port_settings=(/set "Server=$server" /set Username=faxuser /set Password=secret /set "Sender=Setup Test"
               /set SysMode=1 /set Confirm=1 /set PageSize=A4)
sample=$WORK/sample.ps
pp_make_binary_postscript "$sample"

# === 64-bit Windows ==========================================================
echo "== 64-bit prefix: Ruddock.exe /install tolvane /quiet, started from another folder"
st_new_prefix "$WORK/prefix64" win64 || exit 1
sys=$(wine_system_dir native) wow=$(wine_system_dir wow64)

st_ruddock /install tolvane /quiet /log 'C:\install.log' "${port_settings[@]}"
check "64: install exits 0" [ "$ST_RC" = 0 ]
check "64: quiet, no window left open" st_no_window_left
st_probe
check "64: monitor Tolvane on Caskel.dll" st_has monitor Tolvane Caskel.dll
check "64: driver Tolvane for Windows x64 with APLWMGS1.PPD" \
  st_has driver "Windows x64" Tolvane PSCRIPT5.DLL APLWMGS1.PPD PS5UI.DLL
check "64: driver Tolvane for Windows NT x86 (32-bit programs)" \
  st_has driver "Windows NT x86" Tolvane PSCRIPT5.DLL APLWMGS1.PPD PS5UI.DLL
check "64: port P of the monitor" st_has port P Tolvane
check "64: printer Tolvane on P" st_has printer Tolvane P Tolvane
check "64: the 64-bit monitor in system32" cmp -s "$sys/Caskel.dll" "$BUILD64/monitor/Caskel.dll"
check "64: the 32-bit monitor under its name in syswow64 (the in-process spooler of 32-bit programs)" \
  cmp -s "$wow/Caskel.dll" "$BUILD32/monitor/OstrelCaskel.dll"
check "64: Caskelui.dll in syswow64\\Tolvane" cmp -s "$wow/Tolvane/Caskelui.dll" "$BUILD32/monitor/OstrelCaskel.dll"
check "64: Korrim.exe in syswow64\\Tolvane" cmp -s "$wow/Tolvane/Korrim.exe" "$BUILD32/recipient/win32/Korrim.exe"
check "64: Korrim.exe in syswow64 for the 32-bit monitor" cmp -s "$wow/Korrim.exe" "$BUILD32/recipient/win32/Korrim.exe"
check "64: Korrim.exe in system32 (the shipped system32 folder)" \
  cmp -s "$sys/Korrim.exe" "$BUILD32/recipient/win32/Korrim.exe"
check "64: our APLWMGS1.PPD in the x64 driver folder" st_driver_file_is x64 APLWMGS1.PPD "$ST_PPD"
check "64: our APLWMGS1.PPD in the x86 driver folder" st_driver_file_is w32x86 APLWMGS1.PPD "$ST_PPD"
check "64: no extracted file left in the release folder" st_release_folder_untouched
check "64: c:\\tiff" [ -d "$WINEPREFIX/drive_c/tiff" ]
check "64: the tool copied into Program Files\\Ruddset" [ -f "$WINEPREFIX/drive_c/Program Files/Ruddset/Ruddock.exe" ]
check "64: the Start-menu shortcut" [ -f "$(st_start_menu)/Ruddset/Ruddock.lnk" ]
check "64: the port's settings written through the store" \
  eval 'st_port_value P Server | grep -qx "$server" && st_port_value P Username | grep -qx faxuser &&
        st_port_value P PageSize | grep -qx 1'
check "64: the log in the Setup.log format" st_log_well_formed "$WINEPREFIX/drive_c/install.log" 6
check "64: the log's entries in order" st_log_in_order "$WINEPREFIX/drive_c/install.log" \
  "1 Tolvane Install Starting..." "1 Add Tolvane Monitor Success!" "1 Add Tolvane Port Success!" \
  "1 Add Tolvane Printer Success!" "1 Tolvane Install Success!" "1 Set Tolvane Port Server Success!"
check "64: no password in the log" eval '! st_log_text "$WINEPREFIX/drive_c/install.log" | grep -q secret'

echo "== 64-bit prefix: a letter printed from a 64-bit program (GDI)"
pp_print_and_answer "$BUILD64" gdi "Setup letter 64" -- send "6464"
check "64: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "64: one job queued on the server" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
check "64: the job to 6464" pp_job_has 1 number:6464
check "64: the document is the driver's PostScript" pp_document_of_job_is_postscript 1
# Wine's PostScript driver writes the page-size code of the printer
# description (A4 or Letter, as the locale wants).
check "64: the driver used our printer description's page size" \
  st_document_has 1 '<</PageSize\[\(595 842\|612 792\)\]/ImagingBBox null>>setpagedevice'

echo "== 64-bit prefix: a document printed from a 32-bit program (WritePrinter)"
pp_print_and_answer "$BUILD32" raw "$sample" "Setup letter 32" -- send "3232"
check "64: 32-bit printing returned" [ "$PP_PRINT_RC" = 0 ]
check "64: 32-bit program's job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
check "64: the 32-bit document byte-identical" pp_document_of_job_is 1 "$sample"

echo "== 64-bit prefix: bad command lines"
st_ruddock /install fax /quiet
check "64: an unknown printer exits 2" [ "$ST_RC" = 2 ]
check "64: quiet shows no usage" st_no_window_left
st_ruddock_answered "Ruddock" /frobnicate
check "64: an unknown option exits 2" [ "$ST_RC" = 2 ]
check "64: without /quiet the usage is shown" grep -q '^box: .*/install' "$ST_UI_LOG"

echo "== 64-bit prefix: Ruddock.exe /uninstall tolvane /quiet"
st_ruddock /uninstall tolvane /quiet /log 'C:\uninstall.log'
check "64: uninstall exits 0" [ "$ST_RC" = 0 ]
st_probe
check "64: no monitor Tolvane" not st_has_name monitor Tolvane
check "64: no driver Tolvane" not st_has_name driver "Windows x64" Tolvane
check "64: no x86 driver Tolvane" not st_has_name driver "Windows NT x86" Tolvane
check "64: no port P" not st_has_name port P
check "64: no printer Tolvane" not st_has_name printer Tolvane
check "64: the log's entries in order" st_log_in_order "$WINEPREFIX/drive_c/uninstall.log" \
  "1 Tolvane UnInstall Starting..." "1 Delete Tolvane Printer Success!" "1 Delete Tolvane Port Success!" \
  "1 Delete Tolvane Driver Success!" "1 Delete Tolvane Monitor Success!" "1 Tolvane UnInstall Success!"
check "64: the last printer gone, the install folder is removed" not [ -e "$WINEPREFIX/drive_c/Program Files/Ruddset" ]
check "64: and the shortcut" not [ -e "$(st_start_menu)/Ruddset/Ruddock.lnk" ]

echo "== 64-bit prefix: Ruddock.exe /install quillon, /uninstall quillon"
st_ruddock /install quillon /quiet /log 'C:\quillon.log'
check "64: raster install exits 0" [ "$ST_RC" = 0 ]
st_probe
check "64: driver Quillon on Unidrv with Yarrowby.GPD" st_has_prefix driver "Windows NT x86" Quillon UNIDRV.dll Yarrowby.GPD
check "64: port Quillon Port" st_has_name port "Quillon Port"
check "64: printer Quillon Printer" st_has printer "Quillon Printer" "Quillon Port" Quillon
check "64: TessarySys.dll of the amd64 folder in the Windows folder" \
  cmp -s "$WINEPREFIX/drive_c/windows/TessarySys.dll" "$RELEASE/QuillonDriver/amd64/TessarySys.dll"
check "64: our Yarrowby.GPD in the driver folder" st_driver_file_is w32x86 Yarrowby.GPD "$ST_YARROWBY"
check "64: the raster log in order" st_log_in_order "$WINEPREFIX/drive_c/quillon.log" \
  "1 Quillon Install Starting..." "1 Add Quillon Driver Success!" "1 Add Quillon Port Success!" \
  "1 Add Quillon Printer Success!" "1 Quillon Install Success!"
st_ruddock /uninstall quillon /quiet /log 'C:\quillon.log'
check "64: raster uninstall exits 0" [ "$ST_RC" = 0 ]
st_probe
check "64: no driver Quillon" not st_has_name driver "Windows NT x86" Quillon
check "64: no port Quillon Port" not st_has_name port "Quillon Port"
check "64: no printer Quillon Printer" not st_has_name printer "Quillon Printer"
check "64: the raster removal logged in order" st_log_in_order "$WINEPREFIX/drive_c/quillon.log" \
  "1 Quillon UnInstall Starting..." "1 Delete Quillon Printer Success!" "1 Delete Quillon Port Success!" \
  "1 Delete Quillon Driver Success!" "1 Quillon UnInstall Success!"

echo "== 64-bit prefix: Ruddset.exe, Install and Uninstall with the PostScript kind"
st_ruddset_dialog install tolvane
check "64: Ruddset's install reports success" grep -q '^outcome: The Tolvane fax printer is installed\.' "$ST_UI_LOG"
check "64: the monitor's port settings dialog follows, on port P (ConfigurePortW)" \
  grep -q '^after install: Fax port settings: port P, server ' "$ST_UI_LOG"
st_probe
check "64: Ruddset left the monitor" st_has monitor Tolvane Caskel.dll
check "64: Ruddset left the driver" st_has_name driver "Windows x64" Tolvane
check "64: Ruddset left the port" st_has port P Tolvane
check "64: Ruddset left the printer" st_has printer Tolvane P Tolvane
setup_log=$WINEPREFIX/drive_c/Tolvane/Setup.log
check "64: Setup.log starts with FF FE" st_starts_with_bom "$setup_log"
check "64: Setup.log in the entry format" st_log_well_formed "$setup_log" 8
check "64: Setup.log's entries in order" st_log_in_order "$setup_log" \
  "1 Program Start Running..." "1 Tolvane Install Starting..." "1 Add Tolvane Monitor Success!" \
  "1 Add Tolvane Port Success!" "1 Add Tolvane Printer Success!" "1 Tolvane Install Success!" "1 End Program!"
echo "== 64-bit prefix: Port configuration, in Ruddset the monitor's dialog, in Ruddock its own"
st_with_ui ports Ruddset 10.20.30.40:4559 -- Ruddset.exe
check "64: Ruddset's Port configuration opens the monitor's dialog on P" grep -q '^port dialog: port P, server ' "$ST_UI_LOG"
check "64: OK there saves, through the monitor" eval 'st_port_value P Server | grep -qx 10.20.30.40:4559'
st_with_ui ports Ruddock 10.20.30.41:4559 -- Ruddock.exe
check "64: Ruddock's Port configuration opens its dialog on P with the saved server" \
  grep -q '^port dialog: port P, server 10.20.30.40:4559' "$ST_UI_LOG"
check "64: OK there saves" eval 'st_port_value P Server | grep -qx 10.20.30.41:4559'

st_ruddset_dialog uninstall tolvane
check "64: Ruddset's uninstall asked first" grep -q '^question: Remove the Tolvane fax printer' "$ST_UI_LOG"
check "64: Ruddset's uninstall reports success" grep -q '^outcome: The Tolvane fax printer is removed\.' "$ST_UI_LOG"
st_probe
check "64: Ruddset removed the printer" not st_has_name printer Tolvane
check "64: Ruddset removed the port" not st_has_name port P
check "64: Ruddset removed the driver" not st_has_name driver "Windows x64" Tolvane
check "64: Ruddset removed the monitor" not st_has_name monitor Tolvane
check "64: the second run appended to Setup.log without a second mark" st_one_bom "$setup_log"
check "64: Setup.log holds both runs" st_log_in_order "$setup_log" "1 Tolvane Install Success!" "1 End Program!" \
  "1 Program Start Running..." "1 Tolvane UnInstall Starting..." "1 Tolvane UnInstall Success!" "1 End Program!"

echo "== 64-bit prefix: Ruddock's language list"
st_ruddock_dialog language Ruddock 1
check "64: the list shows both languages in file order" grep -qx 'languages: English|Deutsch' "$ST_UI_LOG"
check "64: English at the first start" grep -qx 'config button: Port settings' "$ST_UI_LOG"
check "64: the choice relabels the buttons" grep -qx 'config button now: Anschlüsse' "$ST_UI_LOG"
check "64: the choice is written to Setting.ini" st_setting_is DE
st_ruddock_dialog language Ruddock
check "64: the next start selects it" grep -qx 'selected: 1' "$ST_UI_LOG"
check "64: and shows its texts" grep -qx 'config button: Anschlüsse' "$ST_UI_LOG"
wine_end

# === 32-bit Windows ==========================================================
echo "== 32-bit prefix: Ruddock.exe /install tolvane /quiet"
st_new_prefix "$WORK/prefix32" win32 || exit 1
sys=$(wine_system_dir native)
st_ruddock /install tolvane /quiet /log 'C:\install.log' "${port_settings[@]}"
check "32: install exits 0" [ "$ST_RC" = 0 ]
st_probe
check "32: monitor Tolvane on OstrelCaskel.dll" st_has monitor Tolvane OstrelCaskel.dll
check "32: driver Tolvane for Windows NT x86" st_has driver "Windows NT x86" Tolvane PSCRIPT5.DLL APLWMGS1.PPD PS5UI.DLL
check "32: port F" st_has port F Tolvane
check "32: printer Tolvane on F" st_has printer Tolvane F Tolvane
check "32: OstrelCaskel.dll in system32" cmp -s "$sys/OstrelCaskel.dll" "$BUILD32/monitor/OstrelCaskel.dll"
check "32: Korrim.exe in system32, where the 32-bit monitor finds it" \
  cmp -s "$sys/Korrim.exe" "$BUILD32/recipient/win32/Korrim.exe"
check "32: the log's entries in order" st_log_in_order "$WINEPREFIX/drive_c/install.log" \
  "1 Tolvane Install Starting..." "1 Add Tolvane Monitor Success!" "1 Add Tolvane Port Success!" \
  "1 Add Tolvane Printer Success!" "1 Tolvane Install Success!"

echo "== 32-bit prefix: a document printed from a 32-bit program"
pp_print_and_answer "$BUILD32" raw "$sample" "Setup letter on 32-bit Windows" -- send "3200"
check "32: printing returned" [ "$PP_PRINT_RC" = 0 ]
check "32: one job queued" [ "$(pp_job_count)" = $((PP_JOBS_BEFORE + 1)) ]
check "32: the document byte-identical" pp_document_of_job_is 1 "$sample"

echo "== 32-bit prefix: Ruddock.exe /uninstall tolvane"
st_ruddock /uninstall tolvane /quiet
check "32: uninstall exits 0" [ "$ST_RC" = 0 ]
st_probe
check "32: nothing of Tolvane left" not grep -q $'\tTolvane\t\|\tF\tTolvane$' "$ST_OBJECTS"
check "32: OstrelCaskel.dll deleted" not [ -e "$sys/OstrelCaskel.dll" ]

echo "== 32-bit prefix: Ruddset.exe with the raster kind: the older driver set"
st_ruddset_dialog install quillon
check "32: Ruddset's raster install reports success" grep -q '^outcome: The Quillon fax printer is installed\.' "$ST_UI_LOG"
st_probe
check "32: driver Quillon with Pellmark.GPD" st_has_prefix driver "Windows NT x86" Quillon UNIDRV.dll Pellmark.GPD
check "32: printer Quillon Printer" st_has printer "Quillon Printer" "Quillon Port" Quillon
check "32: our PellmarkSys.dll in the Windows folder" \
  cmp -s "$WINEPREFIX/drive_c/windows/PellmarkSys.dll" "$BUILD32/rasterback/win32/PellmarkSys.dll"
check "32: our Pellmark.GPD in the driver folder" st_driver_file_is w32x86 Pellmark.GPD "$ST_PELLMARK"
st_ruddset_dialog uninstall quillon
check "32: Ruddset's raster uninstall reports success" grep -q '^outcome: The Quillon fax printer is removed\.' "$ST_UI_LOG"
st_probe
check "32: no printer Quillon Printer" not st_has_name printer "Quillon Printer"
check "32: no driver Quillon" not st_has_name driver "Windows NT x86" Quillon

echo "== 32-bit prefix: the spooler cannot be started: exit code 1"
st_disable_spooler
st_ruddock /install tolvane /quiet /log 'C:\failed.log'
check "32: a failed install exits 1" [ "$ST_RC" = 1 ]
check "32: the log says why" st_log_in_order "$WINEPREFIX/drive_c/failed.log" \
  "1 Tolvane Install Starting..." "0 Start Print Service failed!" "0 Tolvane Install Failed!"
wine_end

wine_checks_finish setup || exit 1
