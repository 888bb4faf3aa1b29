#!/usr/bin/env bash
# Korrim.exe under Wine with the null display driver: a test host of the
# conversation starts it over the pipe and a Win32 UI driver works the form
# (recipient_wine_test.exe, one scenario per run). Called by tests/wine/run.sh
# with TOLVANE_ROOT, BUILD32, WINE_LIB and WORK; exits 0 only when every
# scenario passed.
set -u
: "${TOLVANE_ROOT:?}" "${BUILD32:?}" "${WORK:?}"
# shellcheck source=../lib.sh
source "${WINE_LIB:-$TOLVANE_ROOT/tests/wine/lib.sh}"

# The shipped 32-bit Korrim.exe, or its 64-bit build where 32-bit programs do
# not run (see lib.sh).
bin=$(wine_korrim_build)/recipient/win32
wine_runs_32bit || echo "  SKIP the 32-bit Korrim.exe: this machine runs no 32-bit programs; its 64-bit build runs instead"
for file in Korrim.exe recipient_wine_test.exe; do
  [ -f "$bin/$file" ] || { echo "recipient: $bin/$file is missing (build the win32 and win64 presets)"; exit 1; }
done

# A 64-bit prefix: the 32-bit Korrim.exe runs under WoW64 as on the 64-bit
# systems the monitor serves.
wine_new_prefix "$WORK/recipient-prefix" win64 || exit 1
wine_use_null_display
trap wine_end EXIT

failed=()
run_scenario() {
  local name=$1
  echo "== recipient: $name"
  local log=$WORK/recipient-$name.log
  # Output to a file: a Korrim.exe left behind by a failed scenario must not
  # hold the suite's output pipe open.
  (cd "$bin" && timeout 120 wine recipient_wine_test.exe "$name" </dev/null >"$log" 2>&1)
  local rc=$?
  tr -d '\r' <"$log"
  if [ "$rc" != 0 ]; then
    failed+=("$name")
    [ "$rc" = 124 ] && echo "  FAIL $name timed out"
    # End whatever the scenario left running in this prefix.
    wine_end
    wine_keep_server
  fi
}

# The same order matters for save-name, pick-name and delete-entry: the second
# run must find what the first saved, the third deletes it.
for scenario in send cancel esc countdown countdown-name save-name; do
  run_scenario "$scenario"
done

book="$WINEPREFIX/drive_c/tolvane-recipient/book/numbers.csv"
echo "== recipient: numbers.csv on disk after save-name"
if printf '"Smith, John","5551234"\r\n' | cmp -s - "$book"; then
  echo '  ok   "Smith, John","5551234" CR LF'
else
  echo "  FAIL numbers.csv is: $(od -c "$book" 2>&1 | head -3)"
  failed+=(csv-on-disk)
fi

for scenario in pick-name delete-entry old-files countdown-box held-open typed host-gone no-host squatter impostor \
  never-connects limits no-inherit notice own-pipe in-process language; do
  run_scenario "$scenario"
done

echo "== recipient: Korrim.exe with no host, from the shell"
start=$(date +%s)
(cd "$bin" && timeout 30 wine Korrim.exe </dev/null >"$WORK/recipient-korrim.log" 2>&1)
rc=$?
if [ "$rc" = 0 ] && [ $(( $(date +%s) - start )) -lt 15 ]; then
  echo "  ok   exit code 0, ended at once"
else
  echo "  FAIL exit code $rc"
  failed+=(no-host-shell)
fi

if [ ${#failed[@]} -eq 0 ]; then
  echo "recipient suite: PASS"
  exit 0
fi
echo "recipient suite: FAIL (${failed[*]})"
exit 1
