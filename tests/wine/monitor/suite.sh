#!/usr/bin/env bash
# The monitor under Wine's spooler: from a 64-bit and a 32-bit test process in a
# 64-bit prefix, and from the 32-bit build alone in a 32-bit prefix; and its
# user interface's Configure Port, worked like a person.
set -euo pipefail
source "$WINE_LIB"

run_tests() {  # run_tests BUILD-DIR LABEL
  local exe=$1/tests/wine/monitor/monitor_spooler_test.exe label=$2
  echo "--- $label"
  TOLVANE_MONITOR_DLL=$(wine_monitor_dll) wine_run "$exe" --gtest_brief=1 || return 1
  TOLVANE_MONITOR_DLL=$(wine_monitor_dll) wine_run "$1/tests/wine/monitor/monitor_direct_test.exe" --gtest_brief=1
}

status=0
wine_new_prefix "$WORK/prefix64" win64
wine_install_monitor
run_tests "$BUILD64" "64-bit process, 64-bit prefix" || status=1
wine_skip_without_32bit "32-bit process, 64-bit prefix" || run_tests "$BUILD32" "32-bit process, 64-bit prefix" ||
  status=1
wine_end

# Configure Port of the monitor's user interface, worked by the UI driver.
echo "--- Configure Port (the monitor's user interface), 64-bit prefix"
wine_new_prefix "$WORK/prefix-ui" win64
wine_use_null_display
wine_install_monitor
# Output to a file: a dialog left behind must not hold the suite's pipe open.
ui_rc=0
timeout 120 wine "$BUILD64/tests/wine/monitor/monitor_ui_wine_test.exe" Caskel.dll </dev/null \
  >"$WORK/monitor-ui.log" 2>&1 || ui_rc=$?
tr -d '\r' <"$WORK/monitor-ui.log"
[ "$ui_rc" = 0 ] || { echo "  FAIL Configure Port (exit $ui_rc)"; status=1; }
wine_end

if ! wine_skip_without_32bit "32-bit process, 32-bit prefix"; then
  wine_new_prefix "$WORK/prefix32" win32
  wine_install_monitor
  run_tests "$BUILD32" "32-bit process, 32-bit prefix" || status=1
  wine_end
fi
exit $status
