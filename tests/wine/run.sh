#!/usr/bin/env bash
# Runs the Wine integration suites: every tests/wine/<component>/suite.sh, or the
# ones named on the command line. Expects the win32 and win64 presets built
# (BUILD32/BUILD64 override their folders). Exits non-zero when any suite fails.
set -uo pipefail

TOLVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export TOLVANE_ROOT
export BUILD32=${BUILD32:-$TOLVANE_ROOT/build/win32}
export BUILD64=${BUILD64:-$TOLVANE_ROOT/build/win64}
export WINE_LIB=$TOLVANE_ROOT/tests/wine/lib.sh
# shellcheck source=lib.sh
source "$WINE_LIB"  # decides once whether 32-bit programs run here
wine_runs_32bit ||
  echo "=== wine: this machine runs no 32-bit programs at full speed; the suites run their 64-bit parts (Korrim.exe's 64-bit build standing in) and list each 32-bit part they leave out"
WORK_ROOT=${WINE_WORK_ROOT:-${TMPDIR:-/tmp}/tolvane-wine-tests}

suites=("$@")
if [ ${#suites[@]} -eq 0 ]; then
  for f in "$TOLVANE_ROOT"/tests/wine/*/suite.sh; do suites+=("$(basename "$(dirname "$f")")"); done
fi

# A suite that hangs must not hold up the rest: each has a time limit
# (TOLVANE_WINE_SUITE_LIMIT seconds, 900 unless set), and ends with its
# wineserver when it is over it.
limit=${TOLVANE_WINE_SUITE_LIMIT:-900}
failed=()
skipped=()
for suite in "${suites[@]}"; do
  script=$TOLVANE_ROOT/tests/wine/$suite/suite.sh
  [ -f "$script" ] || { echo "wine suite $suite: no $script" >&2; failed+=("$suite"); continue; }
  export WORK=$WORK_ROOT/$suite
  rm -rf "$WORK"; mkdir -p "$WORK"
  echo "=== wine suite: $suite"
  start=$SECONDS
  (unset WINEPREFIX WINEARCH; timeout --kill-after=30 "$limit" bash "$script")
  rc=$?
  case $rc in
    0) echo "=== wine suite: $suite passed ($((SECONDS - start)) s)" ;;
    77) echo "=== wine suite: $suite skipped"; skipped+=("$suite") ;;
    *)
      [ $rc = 124 ] || [ $rc = 137 ] && echo "=== wine suite: $suite timed out after $limit s"
      echo "=== wine suite: $suite FAILED ($((SECONDS - start)) s)"
      failed+=("$suite")
      ;;
  esac
done
# Whatever a timed-out suite left running.
while IFS= read -r registry; do
  WINEPREFIX=$(dirname "$registry") wineserver -k >/dev/null 2>&1 || true
done < <(find "$WORK_ROOT" -maxdepth 3 -name system.reg 2>/dev/null)

[ ${#skipped[@]} -gt 0 ] && echo "wine suites skipped: ${skipped[*]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "wine suites failed: ${failed[*]}"
  exit 1
fi
echo "wine suites passed"
