#!/usr/bin/env bash
# Configures and builds the presets named on the command line (default: all four:
# native, asan, win32, win64) into build/<preset>. The fuzz preset (clang, the
# libFuzzer targets of tests/fuzz) is built only when named.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native asan win32 win64)
for preset in "${presets[@]}"; do
  echo "=== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
