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
WORK_ROOT=${WINE_WORK_ROOT:-${TMPDIR:-/tmp}/tolvane-wine-tests}

suites=("$@")
if [ ${#suites[@]} -eq 0 ]; then
  for f in "$TOLVANE_ROOT"/tests/wine/*/suite.sh; do suites+=("$(basename "$(dirname "$f")")"); done
fi

failed=()
for suite in "${suites[@]}"; do
  script=$TOLVANE_ROOT/tests/wine/$suite/suite.sh
  [ -f "$script" ] || { echo "wine suite $suite: no $script" >&2; failed+=("$suite"); continue; }
  export WORK=$WORK_ROOT/$suite
  rm -rf "$WORK"; mkdir -p "$WORK"
  echo "=== wine suite: $suite"
  start=$SECONDS
  if (unset WINEPREFIX WINEARCH; bash "$script"); then
    echo "=== wine suite: $suite passed ($((SECONDS - start)) s)"
  else
    echo "=== wine suite: $suite FAILED ($((SECONDS - start)) s)"
    failed+=("$suite")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "wine suites failed: ${failed[*]}"
  exit 1
fi
echo "wine suites passed: ${suites[*]}"
