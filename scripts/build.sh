#!/usr/bin/env bash
# Configures and builds the presets named on the command line (default: all four:
# native, asan, win64, win32) into build/<preset>. The fuzz preset (clang, the
# libFuzzer targets of tests/fuzz) is built only when named. win64 is always
# built before win32: the i686 setup tool embeds the x86_64 Caskel.dll.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native asan win64 win32)
# With both Windows presets named, win64 goes first.
if [[ " ${presets[*]} " == *" win32 "* && " ${presets[*]} " == *" win64 "* ]]; then
  ordered=(win64)
  for preset in "${presets[@]}"; do [ "$preset" = win64 ] || ordered+=("$preset"); done
  presets=("${ordered[@]}")
fi
for preset in "${presets[@]}"; do
  echo "=== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
