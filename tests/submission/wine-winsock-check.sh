#!/bin/bash
# The Winsock connection under Wine (both architectures; x86_64 alone where
# 32-bit programs do not run, see tests/wine/lib.sh) against the HylaFAX
# server of the ctest fixture: builds the probe with mingw-w64, submits a
# binary document to three recipients, and checks the queued jobs and the
# stored document. Exit 77 (skipped) when Wine or mingw-w64 is missing.
#   wine-winsock-check.sh HF_BASE WORK
set -euo pipefail
hf_base=$1
work=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
spool=$hf_base/spool
port=$(cat "$hf_base/port")

for tool in wine wineboot i686-w64-mingw32-g++-posix x86_64-w64-mingw32-g++-posix cmp; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not found"; exit 77; }
done
mkdir -p "$work"

sources=("$root"/tests/wine/submission/winsock_submission_probe.cpp "$root"/monitor/submission/win32/winsock_connection.cpp)
for f in compressed_upload compression_level deflate_stream fax_submission job_commands passive_reply protocol_text \
         recipient_list reply_reader server_connection spool_document submission_summary upload_compression \
         upload_stream; do
  sources+=("$root/monitor/submission/$f.cpp")
done
windeps=${WINDEPS_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/windows-deps}
for arch in i686 x86_64; do
  exe=$work/probe-$arch.exe
  [ -f "$windeps/$arch-w64-mingw32/lib/libz.a" ] || { echo "skipped: no zlib in $windeps (scripts/bootstrap.sh)"; exit 77; }
  stale=0
  [ -f "$exe" ] || stale=1
  for s in "${sources[@]}" "$root"/monitor/submission/*.h "$root"/monitor/submission/win32/winsock_connection.h; do
    [ "$s" -nt "$exe" ] && stale=1
  done
  if [ $stale = 1 ]; then
    "$arch-w64-mingw32-g++-posix" -std=c++20 -O1 -Wall -Wextra -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN \
      -DNOMINMAX -D_WIN32_WINNT=0x0601 -I"$root" -I"$windeps/$arch-w64-mingw32/include" "${sources[@]}" \
      -static -static-libgcc -static-libstdc++ -L"$windeps/$arch-w64-mingw32/lib" -lz -lws2_32 -o "$exe"
  fi
done

source "$root/tests/wine/lib.sh"
if [ -f "$work/prefix/system.reg" ]; then
  export WINEPREFIX=$work/prefix WINEARCH=win64
  wine_keep_server
else
  wine_new_prefix "$work/prefix" win64
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# A binary document: PostScript header, hex image lines, random bytes, a run
# of zero bytes.
document=$work/FAX3.tmp
{ printf '%%!PS-Adobe-3.0\n'; head -c 1000000 /dev/urandom | od -An -tx1 -v; head -c 3000000 /dev/urandom
  head -c 10000 /dev/zero; printf '\n%%%%EOF\n'; } > "$document"

field() { sed -n "s/^$2://p" "$1"; }
fail=0
check() {  # check JOBFILE KEY EXPECTED
  local got; got=$(field "$1" "$2")
  if [ "$got" != "$3" ]; then echo "FAIL $(basename "$1") $2: '$got', expected '$3'"; fail=1; fi
}

architectures=(x86_64 i686)
wine_skip_without_32bit "the i686 probe" && architectures=(x86_64)
for run in "${architectures[@]}" "${architectures[@]/%/ plain}"; do
  read -r arch mode <<<"$run"
  out=$(wine "$work/probe-$arch.exe" "$port" "Z:${document//\//\\}" "101;Sales@202;303" $mode 2>&1) || {
    echo "FAIL $run probe: $out"; fail=1; continue; }
  echo "$out" | sed "s/^/[$run] /"
  want="MODE Z"; [ "$mode" = plain ] && want="MODE S"
  if ! echo "$out" | grep -q "^upload: $want"; then echo "FAIL $run: the upload was not in $want"; fail=1; fi
  jobs=$(echo "$out" | sed -n 's/^JOB \([0-9]*\).*/\1/p')
  [ "$(echo "$jobs" | wc -w)" = 3 ] || { echo "FAIL $arch: expected 3 jobs"; fail=1; continue; }
  set -- 101 202 303
  names=(. Sales Sales)
  i=0
  for job in $jobs; do
    q=$spool/sendq/q$job
    check "$q" number "$1"; shift
    check "$q" receiver "${names[$i]}"; i=$((i + 1))
    check "$q" groupid "$job"
    check "$q" modem ttyS4
    check "$q" resolution 391
    check "$q" usexvres 1
    check "$q" priority 30
    check "$q" pagewidth 209
    check "$q" sender Winsock
    stored=$spool/$(field "$q" postscript | sed 's/.*://')
    cmp -s "$stored" "$document" || { echo "FAIL $arch job $job: $stored differs from the spool file"; fail=1; }
  done
done
[ $fail = 0 ] && echo "winsock under wine: jobs, parameters, document bytes (plain and compressed) and the silent-server time-out checked"
exit $fail
