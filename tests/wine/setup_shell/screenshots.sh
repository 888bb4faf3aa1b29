#!/usr/bin/env bash
# Screenshots of the setup tool for a person to look at:
# docs/screenshots/setup-ruddock-main.png, setup-ruddset-main.png and
# setup-about.png (the About box over Ruddock's main dialog).
#
#   tests/wine/setup_shell/screenshots.sh [OUTPUT_DIR]
#
# Runs Ruddock.exe and Ruddset.exe with the shipped Language.ini in a Wine
# virtual desktop under Xvfb (a fresh prefix with Wine's Tahoma fonts);
# setup_shell_test.exe poses each window and the screen is captured with
# ImageMagick. BUILD32 is the i686 build folder (default build/win32);
# SETUP_LANGUAGE_INI another Language.ini (default setup/resources/Language.ini).
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export TOLVANE_ROOT=$root
export BUILD32=${BUILD32:-$root/build/win32}
language=${SETUP_LANGUAGE_INI:-$root/setup/resources/Language.ini}
out=$(realpath -m "${1:-$root/docs/screenshots}")
[ -f "$language" ] || { echo "screenshots: no Language.ini at $language" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${SETUP_SHOTS_INSIDE_X:-}" ]; then
  export SETUP_LANGUAGE_INI=$language
  SETUP_SHOTS_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

work=$(mktemp -d /tmp/setup-shots.XXXXXX)
# shellcheck source=../lib.sh
source "$root/tests/wine/lib.sh"
wine_new_prefix "$work/prefix" win64
trap 'wine_end; rm -rf "$work"' EXIT
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
  [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$fonts/"
done

bin=$work/bin
mkdir -p "$bin"
cp "$BUILD32/tests/wine/setup_shell/setup_shell_test.exe" "$BUILD32/setup/win32/Ruddock.exe" \
   "$BUILD32/setup/win32/Ruddset.exe" "$language" "$bin/"
shots="$WINEPREFIX/drive_c/tolvane-setup-shots"
(cd "$bin" &&
 wine explorer /desktop=shots,1024x768 setup_shell_test.exe --gtest_also_run_disabled_tests \
   --gtest_filter='Screenshots.*' </dev/null >"$work/run.log" 2>&1) &
runner=$!

capture() { wine_capture_posed "$shots" "$work" "$out" "$@"; }  # capture STEP FILE

capture ruddock-main setup-ruddock-main.png
capture about setup-about.png
capture ruddset-main setup-ruddset-main.png
wait "$runner" || true
