#!/usr/bin/env bash
# The monitor under Wine's spooler: from a 64-bit and a 32-bit test process in a
# 64-bit prefix, and from the 32-bit build alone in a 32-bit prefix.
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

if ! wine_skip_without_32bit "32-bit process, 32-bit prefix"; then
  wine_new_prefix "$WORK/prefix32" win32
  wine_install_monitor
  run_tests "$BUILD32" "32-bit process, 32-bit prefix" || status=1
  wine_end
fi
exit $status
