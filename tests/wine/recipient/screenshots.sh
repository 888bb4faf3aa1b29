#!/usr/bin/env bash
# Screenshots of the filled send-fax form and of the name dialog over it, for a
# person to look at: docs/screenshots/recipient-send-fax-form.png and
# docs/screenshots/recipient-name-dialog.png.
#
#   tests/wine/recipient/screenshots.sh [OUTPUT_DIR]
#
# Runs recipient_wine_test.exe's "screenshots" scenario in a Wine virtual
# desktop under Xvfb (a fresh prefix with Wine's Tahoma fonts) and captures the
# screen with ImageMagick whenever the scenario has posed a dialog. BUILD32 is
# the i686 build folder (default build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export TOLVANE_ROOT=$root
export BUILD32=${BUILD32:-$root/build/win32}
out=$(realpath -m "${1:-$root/docs/screenshots}")
mkdir -p "$out"
work=$(mktemp -d /tmp/recipient-shots.XXXXXX)
export out work

if [ -z "${RECIPIENT_SHOTS_INSIDE_X:-}" ]; then
  RECIPIENT_SHOTS_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

# shellcheck source=../lib.sh
source "$root/tests/wine/lib.sh"
wine_new_prefix "$work/prefix" win64
trap 'wine_end; rm -rf "$work"' EXIT
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
  [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$fonts/"
done

shots="$WINEPREFIX/drive_c/tolvane-recipient"
(cd "$BUILD32/recipient/win32" &&
 wine explorer /desktop=shots,1024x768 recipient_wine_test.exe screenshots </dev/null >"$work/run.log" 2>&1) &
runner=$!

capture() { wine_capture_posed "$shots" "$work" "$out" "$@"; }  # capture STEP FILE

capture shot1 recipient-send-fax-form.png
capture shot2 recipient-name-dialog.png
wait "$runner" || true
