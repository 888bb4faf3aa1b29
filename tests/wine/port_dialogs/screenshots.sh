#!/usr/bin/env bash
# Screenshots of the port dialogs for a person to look at:
# docs/screenshots/port-settings.png (the setup tool's dialog on port "P"),
# port-add.png (the add-port dialog over it) and port-settings-monitor.png
# (the monitor's Configure Port: the same dialog, its port buttons off).
#
#   tests/wine/port_dialogs/screenshots.sh [OUTPUT_DIR]
#
# Runs port_dialogs_wine_test.exe (BUILD64, default build/win64) in a Wine
# virtual desktop under Xvfb, in a prefix with the monitor and port "P";
# the program poses each dialog and ImageMagick captures the screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
export TOLVANE_ROOT=$root
export BUILD32=${BUILD32:-$root/build/win32} BUILD64=${BUILD64:-$root/build/win64}
out=$(realpath -m "${1:-$root/docs/screenshots}")
mkdir -p "$out"

if [ -z "${PORT_SHOTS_INSIDE_X:-}" ]; then
  PORT_SHOTS_INSIDE_X=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$out"
fi

export WORK
WORK=$(mktemp -d /tmp/port-shots.XXXXXX)
# shellcheck source=../lib.sh
source "$root/tests/wine/lib.sh"
# shellcheck source=../printpath/printpath_lib.sh
source "$root/tests/wine/printpath/printpath_lib.sh"
PP_DISPLAY=x11 pp_new_prefix "$WORK/prefix"
trap 'wine_end; rm -rf "$WORK"' EXIT
pp_configure_port P Server "fax.example.org:4559" Username faxuser Sender "Tolvane Test" >/dev/null
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for font in tahoma.ttf tahomabd.ttf marlett.ttf; do
  [ -f "/usr/share/wine/fonts/$font" ] && cp "/usr/share/wine/fonts/$font" "$fonts/"
done

shots="$WINEPREFIX/drive_c/tolvane-port-shots"
wine explorer /desktop=shots,1024x768 "$BUILD64/tests/wine/port_dialogs/port_dialogs_wine_test.exe" pose \
  'C:\tolvane-port-shots' </dev/null >"$WORK/run.log" 2>&1 &
runner=$!

capture() { wine_capture_posed "$shots" "$WORK" "$out" "$@"; }  # capture STEP FILE

capture portconfig port-settings.png
capture addport port-add.png
capture monitor port-settings-monitor.png
wait "$runner" || true
