#!/usr/bin/env bash
# Builds what an administrator copies to install the fax printers, as a folder
# and as a zip of it:
#
#   build/release/Tolvane/                 Ruddock.exe, Ruddset.exe, Language.ini
#     system32/Korrim.exe                  the dialog program for the system directory
#     SysWOW64/Tolvane/Caskelui.dll        the 32-bit monitor as the monitor's user interface
#     SysWOW64/Tolvane/Korrim.exe          and the dialog program, for 64-bit Windows
#     QuillonDriver/i386/, amd64/          the raster printer's driver folders
#   build/release/Tolvane-VERSION.zip
#
# Ruddock.exe and Ruddset.exe carry both monitor builds and the PostScript
# driver files. The files of others (the PostScript and Unidrv driver
# binaries, the raster plug-in package) come from the folders named by
# TOLVANE_PSCRIPT_X86_DIR, TOLVANE_PSCRIPT_X64_DIR and TOLVANE_RASTER_DRIVER_DIR
# (environment or an earlier configure); without them the release holds marked
# stand-ins, which the setup tool never copies over an existing file, and is
# fit for tests only. The script lists the stand-ins it shipped.
#
#   scripts/make-release.sh              configure and build the win64 and win32 presets, then assemble
#   scripts/make-release.sh --no-build   assemble from the existing builds (BUILD32, BUILD64)
#   --out DIR                            assemble into DIR instead of build/release
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

build=1
out=$ROOT/build/release
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0 ;;
    --out) out=${2:?--out needs a folder}; shift ;;
    *) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2 ;;
  esac
  shift
done
BUILD32=${BUILD32:-$ROOT/build/win32}
BUILD64=${BUILD64:-$ROOT/build/win64}

# The release carries the current build's version (Ruddock's).
version=$(sed -n 's/.*kRuddock{.*u"\([0-9][0-9.]*\)".*/\1/p' setup/setup_variant.h)
[ -n "$version" ] || { echo "make-release: no version of Ruddock in setup/setup_variant.h" >&2; exit 1; }

if [ $build = 1 ]; then
  settings=()
  for name in TOLVANE_PSCRIPT_X86_DIR TOLVANE_PSCRIPT_X64_DIR TOLVANE_RASTER_DRIVER_DIR; do
    [ -z "${!name:-}" ] || settings+=("-D$name=${!name}")
  done
  # The 64-bit monitor first: Ruddock.exe embeds it from the win64 build.
  settings+=("-DTOLVANE_CASKEL_DLL=$BUILD64/monitor/Caskel.dll")
  echo "=== make-release: win64 (Caskel.dll)"
  cmake --preset win64 -B "$BUILD64" >/dev/null
  cmake --build "$BUILD64" --target monitor_dll -j "$(nproc)"
  echo "=== make-release: win32 (Ruddock.exe, Ruddset.exe, OstrelCaskel.dll, Korrim.exe, PellmarkSys.dll)"
  mkdir -p "$BUILD32"
  cmake --preset win32 -B "$BUILD32" "${settings[@]}" >"$BUILD32/make-release-configure.log" ||
    { cat "$BUILD32/make-release-configure.log" >&2; exit 1; }
  grep -E 'real files|stand-ins' "$BUILD32/make-release-configure.log" || true
  cmake --build "$BUILD32" --target Ruddock Ruddset monitor_dll Korrim PellmarkSys -j "$(nproc)"
fi

need() {
  [ -f "$1" ] || { echo "make-release: $1 is missing (build the win64 and win32 presets, or run without --no-build)" >&2
                   exit 1; }
}
ruddock=$BUILD32/setup/win32/Ruddock.exe
ruddset=$BUILD32/setup/win32/Ruddset.exe
monitor32=$BUILD32/monitor/OstrelCaskel.dll
korrim=$BUILD32/recipient/win32/Korrim.exe
manifest=$BUILD32/release/quillon-driver.txt
for f in "$ruddock" "$ruddset" "$monitor32" "$korrim" "$manifest" setup/resources/Language.ini; do need "$f"; done

release=$out/Tolvane
zip=$out/Tolvane-$version.zip
rm -rf "$release" "$zip"
mkdir -p "$release/system32" "$release/SysWOW64/Tolvane" "$release/QuillonDriver/i386" "$release/QuillonDriver/amd64"
cp "$ruddock" "$ruddset" setup/resources/Language.ini "$release/"
cp "$korrim" "$release/system32/Korrim.exe"
cp "$korrim" "$release/SysWOW64/Tolvane/Korrim.exe"
cp "$monitor32" "$release/SysWOW64/Tolvane/Caskelui.dll"
while IFS=$'\t' read -r arch path; do
  [ -n "$arch" ] || continue
  need "$path"
  cp "$path" "$release/QuillonDriver/$arch/"
done <"$manifest"

(cd "$out" && zip -qrX "$(basename "$zip")" Tolvane)

# The stand-ins shipped: in the driver folders, and embedded in Ruddock.exe
# and Ruddset.exe (the PostScript driver files staged by the win32 build).
standIns=()
isStandIn() { [ "$(head -c 16 "$1" | tr -d '\0')" = "TOLVANE STAND-IN" ]; }
while IFS= read -r -d '' f; do
  if isStandIn "$f"; then standIns+=("${f#"$release"/}"); fi
done < <(find "$release" -type f -print0 | sort -z)
for f in "$BUILD32"/setup/resources/pscript/x86/* "$BUILD32"/setup/resources/pscript/x64/*; do
  if [ -f "$f" ] && isStandIn "$f"; then
    standIns+=("inside Ruddock.exe and Ruddset.exe: ${f#"$BUILD32"/setup/resources/pscript/}")
  fi
done
echo "=== make-release: $release ($(find "$release" -type f | wc -l) files) and $zip"
(cd "$release" && find . -type f | sort | sed 's|^\./|  |')
if [ ${#standIns[@]} -gt 0 ]; then
  echo "make-release: ${#standIns[@]} stand-in(s) for files of others, a release for tests only:"
  printf '  %s\n' "${standIns[@]}"
fi
