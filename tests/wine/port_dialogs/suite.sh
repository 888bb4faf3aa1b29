#!/usr/bin/env bash
# The port settings dialog against Wine's spooler and the 64-bit monitor, in a
# 64-bit prefix with the fax printer on port "P" (the print path suite's
# set-up), worked by port_dialogs_wine_test.exe; then in a prefix without any
# port. Called by tests/wine/run.sh with TOLVANE_ROOT, BUILD32, BUILD64,
# WINE_LIB and WORK; exits 0 only when every check passed.
set -u
: "${TOLVANE_ROOT:?}" "${BUILD64:?}" "${WORK:?}"
# shellcheck source=../lib.sh
source "${WINE_LIB:-$TOLVANE_ROOT/tests/wine/lib.sh}"
# shellcheck source=../printpath/printpath_lib.sh
source "$TOLVANE_ROOT/tests/wine/printpath/printpath_lib.sh"

test_exe=$BUILD64/tests/wine/port_dialogs/port_dialogs_wine_test.exe
[ -f "$test_exe" ] || { echo "port_dialogs: $test_exe is missing (build the win64 preset)"; exit 1; }
pp_check_built || exit 1
trap wine_end EXIT

status=0
run() {  # run LABEL ARGS...
  local label=$1; shift
  echo "== port dialogs: $label"
  local log=$WORK/$label.log
  # Output to a file: a dialog left behind must not hold the suite's pipe open.
  timeout 120 wine "$test_exe" "$@" </dev/null >"$log" 2>&1
  local rc=$?
  tr -d '\r' <"$log"
  [ "$rc" = 124 ] && echo "  FAIL $label timed out"
  [ "$rc" = 0 ] || status=1
}

pp_new_prefix "$WORK/prefix" || exit 1
pp_configure_port P Server "fax.example.org:4559" >/dev/null || exit 1
run driver driver 'C:\tolvane-fax.ppd'
run ports ports
wine_end

wine_new_prefix "$WORK/prefix-empty" win64 || exit 1
wine_use_null_display
run no-ports no-ports
exit $status
