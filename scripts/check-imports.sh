#!/usr/bin/env bash
# check-imports.sh OBJDUMP FILE: fails when a Windows binary imports anything but
# system DLLs (the deliverables are linked statically and copied alone).
set -euo pipefail
objdump=$1 file=$2
bad=$("$objdump" -p "$file" | awk '/DLL Name/{print $3}' |
      grep -viE '^((kernel32|msvcrt|user32|gdi32|advapi32|ws2_32|wsock32|comdlg32|comctl32|shell32|shlwapi|ole32|oleaut32|userenv|wtsapi32|gdiplus|version|netapi32|shfolder|ntdll|api-ms-win-.*)\.dll|winspool\.drv)$' || true)
if [ -n "$bad" ]; then
  echo "$file imports non-system DLLs: $bad" >&2
  exit 1
fi
