#!/usr/bin/env bash
# The main job on a fresh machine: sets up, builds every deliverable and the
# release folder, starts a local HylaFAX server, and in a throw-away Wine
# prefix does what an administrator and a user do: copies the release folder,
# installs the fax printer unattended with
#   Ruddock.exe /install tolvane /quiet /set Server=127.0.0.1:PORT ...
# (monitor, PostScript driver with our printer description, port "P", printer
# "Tolvane"), prints a letter to "Tolvane" from a program with GDI, answers
# the send-fax form of Korrim.exe with a UI driver as a person would, and
# finally lists the jobs the server queued.
#
# Environment: DEMO_WORK (scratch folder, default ${TMPDIR:-/tmp}/tolvane-demo),
# DEMO_RECIPIENTS (default "101;Sales@202;303").
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/build.sh" native win64 win32

export TOLVANE_ROOT=$ROOT BUILD32=$ROOT/build/win32 BUILD64=$ROOT/build/win64
export WORK=${DEMO_WORK:-${TMPDIR:-/tmp}/tolvane-demo}
recipients=${DEMO_RECIPIENTS:-"101;Sales@202;303"}
rm -rf "$WORK" && mkdir -p "$WORK"
# shellcheck source=../tests/wine/lib.sh
source "$ROOT/tests/wine/lib.sh"
# shellcheck source=../tests/wine/printpath/printpath_lib.sh
source "$ROOT/tests/wine/printpath/printpath_lib.sh"
# shellcheck source=../tests/wine/setup/setup_lib.sh
source "$ROOT/tests/wine/setup/setup_lib.sh"
st_check_built

echo "=== the release folder (scripts/make-release.sh)"
"$ROOT/scripts/make-release.sh" --no-build --out "$WORK/release"
RELEASE=$WORK/release/Tolvane

echo "=== a local HylaFAX server"
pp_start_server "$WORK/hylafax"
trap 'wine_end; pp_stop_server' EXIT

if wine_runs_32bit; then
  echo "=== Wine prefix $WORK/prefix with the release folder in C:\\Tolvane"
  st_new_prefix "$WORK/prefix" win64

  echo "=== Ruddock.exe /install tolvane /quiet /set Server=127.0.0.1:$PP_SERVER_PORT ..."
  st_ruddock /install tolvane /quiet /log 'C:\Tolvane-install.log' /set "Server=127.0.0.1:$PP_SERVER_PORT" \
    /set Username=faxuser /set Password=secret /set "Sender=Tolvane Demo" /set Confirm=1
  st_log_text "$WINEPREFIX/drive_c/Tolvane-install.log" | tr -d '\r' | sed 's/^/  /'
  [ "$ST_RC" = 0 ] || { echo "demo: the install failed (exit code $ST_RC)"; exit 1; }
  st_probe
  grep -E $'^(monitor|driver|port|printer)\t.*Tolvane' "$ST_OBJECTS" | sed 's/^/  /'
else
  # Ruddock.exe is a 32-bit program: where none runs (tests/wine/lib.sh), the
  # test set-up installs the same monitor, port and printer, and Korrim.exe's
  # 64-bit build stands in for the form.
  echo "=== this machine runs no 32-bit programs: Ruddock.exe cannot run here; the test set-up installs"
  echo "=== the monitor, port P and the printer \"Tolvane\" in Wine prefix $WORK/prefix instead"
  pp_new_prefix "$WORK/prefix"
  pp_configure_port P Server "127.0.0.1:$PP_SERVER_PORT" Username faxuser Password secret Sender "Tolvane Demo" \
    Confirm 1 | sed 's/^/  /'
fi

echo "=== printing a letter to \"Tolvane\" with GDI; the UI driver answers the form with \"$recipients\""
pp_print_and_answer "$BUILD64" gdi "Tolvane demo letter" -- send "$recipients"
[ "$PP_PRINT_RC" = 0 ] && [ "$PP_UI_RC" = 0 ] || { echo "demo: printing or the form failed"; exit 1; }

echo "=== the jobs the HylaFAX server queued (sendq)"
jobs=0
for q in $(ls "$HF_BASE/spool/sendq" | grep '^q[0-9]' | sort -t q -k 2 -n); do
  jobs=$((jobs + 1))
  fields=$(grep -aE '^(number|receiver|sender|resolution|pagewidth|pagelength|priority|modem|postscript):' \
             "$HF_BASE/spool/sendq/$q" | tr '\n' ' ')
  echo "  $q: $fields"
done
echo "=== the document they send (docq)"
for doc in "$HF_BASE"/spool/docq/doc*; do
  [ -f "$doc" ] && echo "  $(basename "$doc"): $(wc -c <"$doc") bytes, $(head -c 40 "$doc" | head -1)"
done
[ "$jobs" -gt 0 ] || { echo "demo: the server queued no job"; exit 1; }
echo "demo: $jobs fax job(s) queued on the HylaFAX server"
