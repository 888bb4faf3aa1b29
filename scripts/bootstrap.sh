#!/usr/bin/env bash
# Gets a fresh Debian 12 machine ready to build and test: the Debian packages,
# then the static Windows dependencies (libtiff, libjpeg-turbo, GoogleTest for
# both mingw targets), cross-built once into a cache outside the clone.
# Idempotent: a second run finds everything in place within seconds.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "$(id -u)" = 0 ]; then
  "$ROOT/scripts/install-packages.sh"
else
  sudo "$ROOT/scripts/install-packages.sh"
fi
"$ROOT/scripts/build-windows-deps.sh" --jobs "$(nproc)"
