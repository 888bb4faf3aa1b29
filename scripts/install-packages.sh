#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Adds i386 multiarch (32-bit Wine) and a deb-src entry for the main archive
# (the Windows dependencies are cross-built from Debian's source packages).
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config dpkg-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 wine32:i386 fonts-wine xvfb xauth imagemagick
  libtiff-dev libjpeg-dev libtiff-tools googletest libgtest-dev libgmock-dev libbenchmark-dev
  hylafax-server hylafax-client openssl ghostscript
  python3 clang-format git zip unzip zlib1g-dev iproute2
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

SRC_LIST=/etc/apt/sources.list.d/tolvane-deb-src.sources
need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386; need_update=1
fi
if [ ! -f "$SRC_LIST" ]; then
  # Same archive as the binary packages, source side. The security suite's
  # source files answer 404, so only the main suites are listed.
  uris=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
  printf 'Types: deb-src\nURIs: %s\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
    "${uris:-http://deb.debian.org/debian}" > "$SRC_LIST"
  need_update=1
fi
if ! apt-cache showsrc tiff >/dev/null 2>&1 || ! apt-cache showsrc tiff 2>/dev/null | grep -q '^Version:'; then
  need_update=1
fi

[ ${#missing[@]} -eq 0 ] && [ $need_update = 0 ] && { echo "packages: all present"; exit 0; }

export DEBIAN_FRONTEND=noninteractive
# Unreachable third-party lists only warn; the Debian archive is what matters.
apt-get update -q || true
if [ ${#missing[@]} -gt 0 ]; then
  echo "packages: installing ${missing[*]}"
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
