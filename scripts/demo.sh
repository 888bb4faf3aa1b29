#!/usr/bin/env bash
# The main job on a fresh machine: sets up, builds every deliverable, starts a
# local HylaFAX server, and sends a fax through the suite in a throw-away Wine
# prefix: the port monitor "Tolvane" registered with the spooler, its fax port
# "P" added through the transceive command the setup tool uses, a fax printer
# on it (Wine's PostScript driver), a letter printed from a program with GDI,
# the send-fax form of Korrim.exe filled and sent by a UI driver as a person
# would, and finally the jobs the server queued.
#
# Environment: DEMO_WORK (scratch folder, default ${TMPDIR:-/tmp}/tolvane-demo),
# DEMO_RECIPIENTS (default "101;Sales@202;303").
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/build.sh" native win32 win64

export TOLVANE_ROOT=$ROOT BUILD32=$ROOT/build/win32 BUILD64=$ROOT/build/win64
export WORK=${DEMO_WORK:-${TMPDIR:-/tmp}/tolvane-demo}
recipients=${DEMO_RECIPIENTS:-"101;Sales@202;303"}
rm -rf "$WORK" && mkdir -p "$WORK"
# shellcheck source=../tests/wine/lib.sh
source "$ROOT/tests/wine/lib.sh"
# shellcheck source=../tests/wine/printpath/printpath_lib.sh
source "$ROOT/tests/wine/printpath/printpath_lib.sh"
pp_check_built

echo "=== a local HylaFAX server"
pp_start_server "$WORK/hylafax"
trap 'wine_end; pp_stop_server' EXIT

echo "=== Wine prefix $WORK/prefix: monitor, Korrim.exe and the fax printer \"$PP_PRINTER\" on port P"
pp_new_prefix "$WORK/prefix"
pp_configure_port P Server "127.0.0.1:$PP_SERVER_PORT" Username faxuser Password secret Sender "Tolvane Demo" \
  SysMode 1 Confirm 1 Modem 0 Resolution 1 Priority 1 PageSize 1 AddressBookType 5

echo "=== printing a letter with GDI; the UI driver answers the form with \"$recipients\""
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
