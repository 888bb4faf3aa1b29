#!/usr/bin/env bash
# The main job on a fresh machine: sets up, builds every deliverable, and shows
# the port monitor at work in a throw-away Wine prefix: registered with the
# spooler as "Tolvane", with its fax port "P" added through the same transceive
# command the setup tool uses, listed by the spooler, and its settings in the
# registry.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/build.sh" native win32 win64

export BUILD32=$ROOT/build/win32 BUILD64=$ROOT/build/win64
source "$ROOT/tests/wine/lib.sh"
prefix=${DEMO_PREFIX:-${TMPDIR:-/tmp}/tolvane-demo/prefix}
echo "=== Wine prefix $prefix"
wine_new_prefix "$prefix" win64
trap wine_end EXIT
wine_install_monitor
wine_run "$BUILD64/tests/wine/demo/tolvane_demo.exe" register-port P
echo "=== the monitor's registry key"
wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Monitors\Tolvane' /s </dev/null 2>/dev/null | tr -d '\r'
