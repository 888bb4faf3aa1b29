#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from the house style
# (.clang-format at the root). `scripts/check-format.sh --fix` rewrites them.
# Exit 77 (skipped) when clang-format is missing.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
format=$(command -v clang-format-14 || command -v clang-format) || { echo "skipped: clang-format not found"; exit 77; }
if [ -d .git ]; then
  mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = --fix ]; then
  exec "$format" -i "${files[@]}"
fi
if ! "$format" --dry-run --Werror "${files[@]}"; then
  echo "format: the files above differ from .clang-format; scripts/check-format.sh --fix rewrites them" >&2
  exit 1
fi
echo "format: ${#files[@]} files in the house style"
