#!/usr/bin/env bash
# The setup tool's Windows shell under Wine (setup_shell_test.exe, GoogleTest):
# its machine (log file, files and resources, registry, spooler, service), its
# texts and paths, and the main dialog of both builds worked through its
# controls under the null display driver; in a 64-bit prefix (the tool under
# WoW64) and in a 32-bit one. The program runs from a folder of its own with
# Ruddock.exe and Ruddset.exe beside it: the dialog reads Language.ini from
# there, and the tests read both programs' resources.
#
# Called by tests/wine/run.sh with TOLVANE_ROOT, BUILD32, WINE_LIB and WORK.
set -u
: "${TOLVANE_ROOT:?}" "${BUILD32:?}" "${WORK:?}"
# shellcheck source=../lib.sh
source "${WINE_LIB:-$TOLVANE_ROOT/tests/wine/lib.sh}"

# Ruddock.exe and Ruddset.exe are 32-bit programs only (exit 77: skipped).
wine_skip_without_32bit "the setup tool (32-bit programs)" && exit 77

test_exe=$BUILD32/tests/wine/setup_shell/setup_shell_test.exe
programs=$BUILD32/setup/win32
for file in "$test_exe" "$programs/Ruddock.exe" "$programs/Ruddset.exe"; do
  [ -f "$file" ] || { echo "setup_shell: $file is missing (build the win64 and then the win32 preset)"; exit 1; }
done

status=0
run_in_prefix() {  # run_in_prefix ARCH BITNESS
  local arch=$1 bitness=$2 bin=$WORK/bin-$1
  echo "--- $arch prefix"
  rm -rf "$bin" && mkdir -p "$bin"
  cp "$test_exe" "$programs/Ruddock.exe" "$programs/Ruddset.exe" "$bin/"
  wine_new_prefix "$WORK/prefix-$arch" "$arch" || return 1
  wine_use_null_display
  # Output to a file: a window left behind must not hold the suite's pipe open.
  (cd "$bin" && TOLVANE_EXPECT_BITNESS=$bitness timeout 1200 wine setup_shell_test.exe --gtest_brief=1 \
     </dev/null >"$WORK/$arch.log" 2>&1)
  local rc=$?
  tr -d '\r' <"$WORK/$arch.log"
  [ "$rc" = 124 ] && echo "setup_shell: timed out in the $arch prefix"
  wine_end
  return $rc
}

run_in_prefix win64 64 || status=1
run_in_prefix win32 32 || status=1
exit $status
