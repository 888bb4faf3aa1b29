#!/usr/bin/env bash
# Many users at once, under Wine: documents printed at the same time on ports
# of their own (the print path harness pp_many calls the monitor's port entry
# points from one thread per document, as the spooler does), each form closing
# by itself after one second (its countdown shortened). Prints how long one
# document takes and how long twenty take together.
#
#   bench/many_users_bench.sh [COUNT]      (after scripts/build.sh win64 win32)
#
# Target: COUNT documents in about the time of one (well under twice it), not
# COUNT times it.
set -euo pipefail
count=${1:-20}
TOLVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TOLVANE_ROOT BUILD32=${BUILD32:-$TOLVANE_ROOT/build/win32} BUILD64=${BUILD64:-$TOLVANE_ROOT/build/win64}
# shellcheck source=../tests/wine/lib.sh
source "$TOLVANE_ROOT/tests/wine/lib.sh"
# shellcheck source=../tests/wine/printpath/printpath_lib.sh
source "$TOLVANE_ROOT/tests/wine/printpath/printpath_lib.sh"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-many-bench.XXXXXX")
trap 'wine_end; rm -rf "$WORK"' EXIT

PP_COUNTDOWN=1 pp_new_prefix "$WORK/prefix" >/dev/null || { echo "many_users_bench: no prefix"; exit 1; }
# No server is needed: every form closes unanswered (Cancel) after its second.
pp_configure_port P Server 127.0.0.1:9 SysMode 1 >/dev/null
run() {
  local started=$SECONDS
  wine "$(pp_bin "$BUILD64")/pp_many.exe" "$(wine_monitor_dll)" "$1" </dev/null 2>/dev/null | tr -d '\r' |
    sed -n 's/^all .*: \([0-9]*\) ms$/\1/p'
}
run 1 >/dev/null  # the prefix's first start of Korrim.exe loads its libraries
one=$(run 1)
many=$(run "$count")
echo "many_users_bench: load $(cut -d' ' -f1-3 /proc/loadavg), Wine $(wine --version 2>/dev/null)"
echo "  1 document:    ${one} ms"
echo "  $count documents: ${many} ms  ($(awk -v a="$many" -v b="$one" 'BEGIN { printf "%.2f", a / b }') x one; in turn they would take about $((count * one)) ms)"
