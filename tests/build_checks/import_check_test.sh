#!/usr/bin/env bash
# The post-link import check refuses what Windows XP / Server 2003 do not
# export: small programs built with mingw-w64 for both architectures, one that
# imports GetTickCount64 (Vista), one bound to kernel32's CreateProcessAsUserW
# (Windows 8) by the link order, and one that imports only XP's functions.
# Exit 77 (skipped) without the cross compilers.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
check=$here/../../scripts/check-imports.py
work=${1:-$(mktemp -d)}
mkdir -p "$work"
fail=0

expect() {  # expect pass|fail OBJDUMP EXE [TEXT]
  local want=$1 objdump=$2 exe=$3 text=${4:-} out status
  out=$(python3 "$check" --objdump "$objdump" "$exe" 2>&1); status=$?
  if [ "$want" = pass ] && [ $status -ne 0 ]; then
    echo "FAIL $(basename "$exe"): refused: $out"; fail=1
  elif [ "$want" = fail ] && [ $status -ne 1 ]; then
    echo "FAIL $(basename "$exe"): passed (status $status), expected a refusal"; fail=1
  elif [ -n "$text" ] && ! grep -qF "$text" <<<"$out"; then
    echo "FAIL $(basename "$exe"): the refusal does not say \"$text\": $out"; fail=1
  fi
}

for arch in i686 x86_64; do
  cc=$arch-w64-mingw32-gcc-posix objdump=$arch-w64-mingw32-objdump
  command -v "$cc" >/dev/null && command -v "$objdump" >/dev/null || { echo "skipped: $cc not found"; exit 77; }
  "$cc" -O1 -o "$work/vista-$arch.exe" "$here/win32/vista_import.c" || exit 1
  "$cc" -O1 -o "$work/xp-$arch.exe" "$here/win32/xp_imports.c" -ladvapi32 || exit 1
  "$cc" -O1 -o "$work/kernel32-first-$arch.exe" "$here/win32/xp_imports.c" -lkernel32 -ladvapi32 || exit 1
  expect fail "$objdump" "$work/vista-$arch.exe" "kernel32!GetTickCount64, which Windows exports only from Vista on"
  expect pass "$objdump" "$work/xp-$arch.exe"
  expect fail "$objdump" "$work/kernel32-first-$arch.exe" "kernel32!CreateProcessAsUserW"
done
[ $fail = 0 ] && echo "import check: Vista and kernel32-bound imports refused, XP imports passed, both architectures"
exit $fail
