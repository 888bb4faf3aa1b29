#!/usr/bin/env bash
# Wine suite of the raster back end (PellmarkSys.dll), 64-bit and 32-bit builds
# in one 64-bit prefix with the null display driver.
#
# Pages rendered by Ghostscript from multi-page PostScript documents (portrait
# and landscape, 204x196 and 204x98 dpi, plus a colour page) go through
# rb_harness, which calls the exports as the render plug-in does. Each fax file
# is decoded by tiffinfo -D, judged by HylaFAX's tiffcheck and faxinfo,
# compared pixel by pixel with its pages (turned pages with the page turned
# clockwise) and its fields are checked with tiffdump. The hand-off runs with
# rb_followup standing in for the follow-up and send programs and rb_uidriver
# answering the save dialog and the message boxes.
#
# Environment (from tests/wine/run.sh): TOLVANE_ROOT, BUILD32, BUILD64, WINE_LIB, WORK.
set -uo pipefail
source "$WINE_LIB"

HERE=$TOLVANE_ROOT/tests/wine/rasterback
TIFFCHECK=/usr/lib/hylafax/bin/tiffcheck
FAXINFO=/usr/lib/hylafax/bin/faxinfo
CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare

passed=0
failed=0
ok() { echo "  ok   $*"; passed=$((passed + 1)); }
bad() { echo "  FAIL $*"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@" >/dev/null 2>&1; then ok "$what"; else bad "$what"; fi; }

for tool in gs tiffinfo tiffdump "$TIFFCHECK" "$FAXINFO" "$CONVERT" "$COMPARE" identify python3 wine; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool"; exit 1; }
done

winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

# --- pages -------------------------------------------------------------------
PAGES=$WORK/pages
mkdir -p "$PAGES"
cat > "$PAGES/portrait.ps" <<'PS'
%!PS-Adobe-3.0
%%Pages: 3
%%EndComments
/pagebody { /n exch def
  newpath 30 30 moveto 580 30 lineto 580 810 lineto 30 810 lineto closepath 2 setlinewidth stroke
  /Helvetica findfont 18 scalefont setfont
  50 770 moveto (Raster back end test page ) show n 3 string cvs show
  /Times-Roman findfont 11 scalefont setfont
  0 1 40 { /i exch def 50 740 i 16 mul sub moveto
    (Line ) show i 3 string cvs show ( of page ) show n 3 string cvs show
    (: The quick brown fox jumps over the lazy dog 0123456789.) show } for
  gsave 0.3 0.6 0.9 setrgbcolor 300 80 200 100 rectfill grestore
  0 20 360 { /a exch def gsave 150 150 translate a n mul rotate 0 0 moveto 100 0 lineto stroke grestore } for
} def
%%Page: 1 1
1 pagebody showpage
%%Page: 2 2
2 pagebody showpage
%%Page: 3 3
3 pagebody showpage
%%EOF
PS
cat > "$PAGES/landscape.ps" <<'PS'
%!PS-Adobe-3.0
%%Pages: 2
%%EndComments
/pagebody { /n exch def
  newpath 20 20 moveto 820 20 lineto 820 590 lineto 20 590 lineto closepath 3 setlinewidth stroke
  /Helvetica-Bold findfont 28 scalefont setfont
  40 540 moveto (Landscape page ) show n 3 string cvs show (: arrow points right ->) show
  newpath 600 300 moveto 780 300 lineto 740 340 moveto 780 300 lineto 740 260 lineto 6 setlinewidth stroke
  /Courier findfont 12 scalefont setfont
  0 1 25 { /i exch def 40 500 i 17 mul sub moveto (Column text ) show i n add 3 string cvs show } for
  0 0 1 setrgbcolor 300 60 150 150 rectfill 1 0 0 setrgbcolor 460 60 100 100 rectfill 0 setgray
} def
%%Page: 1 1
1 pagebody showpage
%%Page: 2 2
2 pagebody showpage
%%EOF
PS
render() { # DEVICE RES GEOMETRY PREFIX DOC
  gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE="$1" -r"$2" -g"$3" -sOutputFile="$PAGES/$4%d.${1%raw}" "$PAGES/$5"
}
# Fine: portrait 1728x2292 written direct, landscape 2292x1728 turned.
render pbmraw 204x196 1728x2292 pf portrait.ps
render pbmraw 204x196 2292x1728 lf landscape.ps
# Standard: portrait 1728x1146 direct, landscape at 98x204 (1146x1728) turned.
render pbmraw 204x98 1728x1146 ps portrait.ps
render pbmraw 98x204 1146x1728 ls landscape.ps
# Colour: a standard portrait page and a fine landscape page.
render ppmraw 204x98 1728x1146 cs portrait.ps
render ppmraw 204x196 2292x1728 cl landscape.ps
for c in cs1 cl1; do python3 "$HERE/expected_bilevel.py" "$PAGES/$c.ppm" "$PAGES/$c.pbm"; done
ls "$PAGES"/pf3.pbm "$PAGES"/lf2.pbm "$PAGES"/ps2.pbm "$PAGES"/ls1.pbm "$PAGES"/cl1.pbm >/dev/null || { echo "Ghostscript rendering failed"; exit 1; }
echo "pages rendered: $(ls "$PAGES" | grep -c 'pbm$') bi-level pages"

page() { # KIND NAME XDPI YDPI [KEEPOPEN [ROWBYTES]]
  local ext=pbm; [ "$1" = ppm ] && ext=ppm
  local args="$1,$(winpath "$PAGES/$2.$ext"),$3,$4"
  [ $# -ge 5 ] && args="$args,$5"
  [ $# -ge 6 ] && args="$args,$6"
  printf "%s" "$args"
}

# --- checks on a written fax file --------------------------------------------
# same_pixels TIF INDEX PBM [turned]: the stored page equals the PBM page (turned
# clockwise first when asked).
same_pixels() {
  local tif=$1 index=$2 want=$3 how=${4:-direct} got=$WORK/got.pbm ref=$WORK/ref.pbm
  "$CONVERT" "$tif[$index]" "$got" || return 1
  if [ "$how" = turned ]; then "$CONVERT" "$want" -rotate 90 "$ref"; else "$CONVERT" "$want" "$ref"; fi
  [ "$(identify -format '%wx%h' "$got")" = "$(identify -format '%wx%h' "$ref")" ] || return 1
  local diff
  diff=$("$COMPARE" -metric AE "$got" "$ref" null: 2>&1)
  [ "$diff" = 0 ]
}

page_count() { tiffinfo "$1" 2>/dev/null | grep -c '^TIFF Directory'; }

# fields TIF INDEX: the tags of one directory as "tag=values" lines.
fields() {
  tiffdump "$1" | awk -v want="$2" '
    /^Directory /{ dir++ } 
    dir == want + 1 && /^[A-Za-z0-9]+ \([0-9]+\)/ {
      tag = $2; gsub(/[()]/, "", tag); v = $0; sub(/^[^<]*</, "", v); sub(/>[^>]*$/, "", v); print tag "=" v }'
}

# check_fax_fields TIF INDEX SCHEME WIDTH LENGTH XRES YRES PAGENO
check_fax_fields() {
  local tif=$1 i=$2 scheme=$3 w=$4 l=$5 x=$6 y=$7 n=$8 f
  f=$(fields "$tif" "$i")
  local want=("254=2" "256=$w" "257=$l" "282=$x" "283=$y" "270=Ostrel\\0" "305=http://www.merrowind.com ...")
  if [ "$scheme" != 0 ]; then
    want+=("258=1" "277=1" "278=$l" "262=0" "266=2" "284=1" "297=$n 0" "296=2" "326=0" "327=0" "274=1" "328=0")
    if [ "$scheme" = 1 ]; then want+=("259=3" "292=1"); else want+=("259=4" "293=0"); fi
  fi
  local miss=()
  for w8 in "${want[@]}"; do grep -qxF -- "$w8" <<<"$f" || miss+=("$w8"); done
  if [ "$scheme" = 0 ]; then
    # Only the common fields; libtiff adds the strip layout and its default
    # (no) compression itself.
    local extra
    extra=$(grep -vE '^(254|256|257|282|283|270|305|273|278|279|258|277|284)=|^259=1$' <<<"$f" | tr '\n' ' ')
    [ -z "$extra" ] || miss+=("unexpected tags: $extra")
  fi
  if [ ${#miss[@]} -eq 0 ]; then ok "$(basename "$tif") page $((i + 1)) fields (scheme $scheme, ${w}x$l, $x by $y dpi)"
  else bad "$(basename "$tif") page $((i + 1)) fields: missing ${miss[*]}"; echo "$f" | sed 's/^/        /'; fi
}

# check_fax_file TIF TIFFCHECK-ARGS...: decodes, judged OK, readable by faxinfo.
check_fax_file() {
  local tif=$1; shift
  check "$(basename "$tif") decodes with tiffinfo -D" tiffinfo -D "$tif"
  local verdict
  verdict=$("$TIFFCHECK" "$@" "$tif" 2>&1 | head -1)
  [ "$verdict" = OK ] && ok "$(basename "$tif") tiffcheck $* says OK" || bad "$(basename "$tif") tiffcheck $*: $verdict"
  check "$(basename "$tif") readable by faxinfo" "$FAXINFO" "$tif"
}

# expect FILE LINE WHAT: FILE holds exactly LINE.
expect() { check "$3" grep -qxF -- "$2" "$1"; }
# started_with PATH SHOW: the log line of rb_followup started with PATH, quoted, as its one argument.
started_with() { printf 'args=["%s"] show=%s argc=2 arg1=[%s]' "$1" "$2" "$1"; }

# wait_lines FILE N: waits up to 10 s for programs started through the shell.
wait_lines() { for _ in $(seq 100); do [ "$(cat "$1" 2>/dev/null | wc -l)" -ge "$2" ] && return 0; sleep 0.1; done; return 1; }

# --- one run per build --------------------------------------------------------
wine_new_prefix "$WORK/prefix" win64 || exit 1
wine_use_null_display
C=$WINEPREFIX/drive_c

run_arch() {
  local bits=$1 build=$2
  local BIN=$WORK/bin$bits SEND=$WORK/send$bits WIN=$WORK/win$bits OUT=$WORK/out$bits
  mkdir -p "$BIN" "$SEND" "$WIN" "$OUT"
  cp "$build/rasterback/win32/PellmarkSys.dll" "$build"/tests/wine/rasterback/rb_*.exe "$BIN/" || { bad "$bits-bit build missing"; return; }
  for p in Dunmore after viewer; do cp "$BIN/rb_followup.exe" "$SEND/$p.exe"; done
  echo "== $bits-bit PellmarkSys.dll"

  calderine() { # OUTBASE COMPRESS [CMDSHOW [PROGRAM]]: follow-up program (after.exe) on when CMDSHOW is given
    {
      printf '[save]\r\noutputfile=%s\r\n[SYSTEM]\r\nCompress=%s\r\n' "$(winpath "$1")" "$2"
      if [ $# -ge 3 ]; then printf '[run]\r\nenablerun=1\r\nexefilename=%s\r\nCmdShow=%s\r\n' "$(winpath "${4:-$SEND/after.exe}")" "$3"
      else printf '[run]\r\nenablerun=0\r\n'; fi
    } > "$WIN/Calderine.ini"
  }
  harness() { # LOG ARGS...
    local log=$1; shift
    wine "$BIN/rb_harness.exe" --dll "$(winpath "$BIN/PellmarkSys.dll")" --windir "$(winpath "$WIN")" "$@" </dev/null 2>/dev/null | tr -d '\r' > "$log"
  }
  driver_start() { wine "$BIN/rb_uidriver.exe" "$@" </dev/null 2>/dev/null | tr -d '\r' > "$WORK/driver$bits.out" & DRIVER=$!; sleep 0.3; }
  driver_wait() { wait "$DRIVER"; }
  # Programs started through the shell run on their own: wait for the ones
  # still running before their logs are judged or cleared.
  settle() { for _ in $(seq 100); do pgrep -f "send$bits.(Dunmore|after|viewer|marker)\.(exe|bat)" >/dev/null || return 0; sleep 0.1; done; }
  reset_logs() { settle; rm -f "$SEND"/*.log; }

  # 1. Fine pages, Group 3, "Ostrel Printer": follow-up program minimized, then the send program.
  local fine="$OUT/fine g3"
  calderine "$fine" 1 1; reset_logs
  harness "$OUT/h1.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" \
    "$(page pbm pf1 204 196)" "$(page pbm lf1 204 196)" "$(page pbm pf2 204 196)" "$(page ppm cl1 204 196)" \
    "$(page pbm pf3 204 196 1)"
  expect "$OUT/h1.log" "EndPageEntry[1]=0 rows=inverted" "fine: upright page handled, plug-in rows inverted in place"
  expect "$OUT/h1.log" "EndPageEntry[2]=0 rows=unchanged" "fine: landscape page turned, plug-in rows untouched"
  expect "$OUT/h1.log" "EndPageEntry[4]=0 rows=unchanged" "fine: colour page handled, its rows untouched"
  expect "$OUT/h1.log" "EndPageEntry[5]=0 rows=inverted" "fine: last page with keepOpen handled"
  expect "$OUT/h1.log" "EndDocEntry=0" "fine: EndDocEntry 0"
  check_fax_file "$fine.tif" -2 -r 196 -w 1728 -l 300
  check "fine: 5 pages (the keepOpen page's directory written by the close)" test "$(page_count "$fine.tif")" = 5
  check "fine: page 1 pixel-identical" same_pixels "$fine.tif" 0 "$PAGES/pf1.pbm"
  check "fine: page 2 is the landscape page turned clockwise" same_pixels "$fine.tif" 1 "$PAGES/lf1.pbm" turned
  check "fine: page 3 pixel-identical" same_pixels "$fine.tif" 2 "$PAGES/pf2.pbm"
  check "fine: colour landscape page 4 rendered bi-level by the luminance threshold and turned" same_pixels "$fine.tif" 3 "$PAGES/cl1.pbm" turned
  check "fine: page 5 pixel-identical" same_pixels "$fine.tif" 4 "$PAGES/pf3.pbm"
  check_fax_fields "$fine.tif" 0 1 1728 2292 204 196 1
  check_fax_fields "$fine.tif" 1 1 1728 2292 204 196 2
  check_fax_fields "$fine.tif" 3 1 1728 2292 204 196 4
  check_fax_fields "$fine.tif" 4 1 1728 2292 204 196 5
  wait_lines "$SEND/after.log" 1; wait_lines "$SEND/Dunmore.log" 1
  expect "$SEND/after.log" "$(started_with "$(winpath "$fine.tif")" 6)" "fine: follow-up program got the path with its blank as one argument, minimized"
  expect "$SEND/Dunmore.log" "$(started_with "$(winpath "$fine.tif")" 1)" "fine: Dunmore.exe found through SoftPath got the path as one argument, shown normally"

  # 2. Standard pages, Group 4: sideways page turned, colour page rendered bi-level, follow-up hidden.
  local std="$OUT/standard g4"
  calderine "$std" 2 2; reset_logs
  harness "$OUT/h2.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" \
    "$(page pbm ps1 204 98)" "$(page pbm ls1 98 204)" "$(page ppm cs1 204 98)" "$(page pbm ps2 204 98)"
  check "standard: every page handled" test "$(grep -c '^EndPageEntry\[.\]=0' "$OUT/h2.log")" = 4
  expect "$OUT/h2.log" "EndPageEntry[3]=0 rows=unchanged" "standard: colour rows left as they came"
  check_fax_file "$std.tif" -3 -r 98 -w 1728 -l 300
  check "standard: page 1 pixel-identical" same_pixels "$std.tif" 0 "$PAGES/ps1.pbm"
  check "standard: page 2 (98x204) turned clockwise" same_pixels "$std.tif" 1 "$PAGES/ls1.pbm" turned
  check "standard: colour page 3 rendered bi-level by the luminance threshold" same_pixels "$std.tif" 2 "$PAGES/cs1.pbm"
  check "standard: page 4 pixel-identical" same_pixels "$std.tif" 3 "$PAGES/ps2.pbm"
  check_fax_fields "$std.tif" 0 2 1728 1146 204 98 1
  check_fax_fields "$std.tif" 1 2 1728 1146 204 98 2
  check_fax_fields "$std.tif" 2 2 1728 1146 204 98 3
  check_fax_fields "$std.tif" 3 2 1728 1146 204 98 4
  wait_lines "$SEND/after.log" 1
  expect "$SEND/after.log" "$(started_with "$(winpath "$std.tif")" 0)" "standard: CmdShow 2 starts the follow-up program hidden"

  # 3. Group 3 labels a standard page standard (a fax server sends it at its full length); other
  # "Compress" values set only the common fields.
  calderine "$OUT/std g3" 1; harness "$OUT/h3.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm ps1 204 98)" "$(page pbm ls1 98 204)"
  check_fax_fields "$OUT/std g3.tif" 0 1 1728 1146 204 98 1
  check_fax_fields "$OUT/std g3.tif" 1 1 1728 1146 204 98 2
  check_fax_file "$OUT/std g3.tif" -2 -r 98 -w 1728 -l 300
  calderine "$OUT/plain" 0; harness "$OUT/h3b.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm ps1 204 98)"
  check_fax_fields "$OUT/plain.tif" 0 0 1728 1146 204 98 1

  # 4. Two documents in one load (the second one gets its file), refused rows, a page of height 0.
  local two="$OUT/two docs"
  calderine "$two" 1; reset_logs
  harness "$OUT/h4.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm pf1 204 196)" \
    --doc "Ostrel Printer" "$(page pbm lf2 204 196)" "$(page pbm lf1 204 196 0 292)" "$(page pbm pf1 204 196 0 200)" \
    "empty,1728,204,196" "$(page ppm cs1 204 98 0 5180)"
  expect "$OUT/h4.log" "EndPageEntry[1]=0 rows=unchanged" "two documents: the second document's first page is written"
  expect "$OUT/h4.log" "EndPageEntry[2]=-2 rows=unchanged" "rows longer than the working row of a turned page refused"
  expect "$OUT/h4.log" "EndPageEntry[3]=-2 rows=unchanged" "rows shorter than the width refused"
  expect "$OUT/h4.log" "EndPageEntry[4]=0 rows=unchanged" "page of height 0 handled"
  expect "$OUT/h4.log" "EndPageEntry[5]=-2 rows=unchanged" "colour rows longer than the working row refused"
  check "two documents: second file decodes" tiffinfo -D "$two.tif"
  check "two documents: second file holds just its one good page" test "$(page_count "$two.tif")" = 1
  check "two documents: that page is the second document's, turned" same_pixels "$two.tif" 0 "$PAGES/lf2.pbm" turned
  wait_lines "$SEND/Dunmore.log" 2; settle
  check "two documents: both handed to Dunmore.exe" test "$(grep -c . "$SEND/Dunmore.log")" = 2

  # 5. The file cannot be opened for the first page; the next page opens it.
  local later="$OUT/later$RANDOM"
  calderine "$later/retry" 1
  driver_start "ok+mkdir:$(winpath "$later")"
  harness "$OUT/h5.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm pf1 204 196)" "$(page pbm pf2 204 196)"
  driver_wait
  expect "$WORK/driver$bits.out" "message: caption=[] text=[Cannot open TIFF file. Check to make sure you have enough disk space.  You should have at least 50mb free.]" "retry: the cannot-open message, empty caption"
  expect "$OUT/h5.log" "EndPageEntry[1]=-1 rows=unchanged" "retry: first page -1"
  expect "$OUT/h5.log" "EndPageEntry[2]=0 rows=inverted" "retry: second page written"
  check "retry: the file starts with the second page" same_pixels "$later/retry.tif" 0 "$PAGES/pf2.pbm"
  check "retry: and holds only it" test "$(page_count "$later/retry.tif")" = 1

  # 6. SoftPath missing: the registry message, result 1, nothing started, the file stays.
  calderine "$OUT/noreg" 1 0; reset_logs
  driver_start ok
  harness "$OUT/h6.log" --no-softpath --doc "Ostrel Printer" "$(page pbm pf1 204 196)"
  driver_wait
  expect "$OUT/h6.log" "EndDocEntry=1" "no SoftPath: EndDocEntry 1"
  check "no SoftPath: the Chinese registry message" grep -qF "text=[访问注册表Ostrel键值错误！]" "$WORK/driver$bits.out"
  check "no SoftPath: the system's default caption, not an empty one" grep -q '^message: caption=\[[^]]' "$WORK/driver$bits.out"
  check "no SoftPath: the file stays" test -s "$OUT/noreg.tif"
  settle; check "no SoftPath: no program started" test ! -e "$SEND/after.log"

  # 7. Another printer: the save dialog, owned by the plug-in's window; the file moves to the chosen path.
  local save="$OUT/to save"
  rm -rf "$C/tiff"
  calderine "$save" 1 0; reset_logs
  driver_start 'save:C:\tiff\chosen fax.tif'
  harness "$OUT/h7.log" --owner-window --tif-viewer "$(winpath "$SEND/viewer.exe")" --doc "Quillon Printer" "$(page pbm pf1 204 196)"
  driver_wait
  expect "$OUT/h7.log" "EndDocEntry=0" "save: EndDocEntry 0"
  check "save: the dialog opened (structure size of this build's layout)" grep -q "^save dialog:" "$WORK/driver$bits.out"
  check "save: the dialog's owner is the plug-in's visible window" grep -qF "owner=[rb harness owner]" "$WORK/driver$bits.out"
  check "save: C:\\tiff\\ created" test -d "$C/tiff"
  check "save: the fax is at the chosen path" same_pixels "$C/tiff/chosen fax.tif" 0 "$PAGES/pf1.pbm"
  check "save: the written file is gone" test ! -e "$save.tif"
  wait_lines "$SEND/after.log" 1; wait_lines "$SEND/viewer.log" 1
  expect "$SEND/after.log" "$(started_with "$(winpath "$save.tif")" 1)" "save: follow-up program got the written path before the dialog"
  expect "$SEND/viewer.log" "$(started_with 'C:\tiff\chosen fax.tif' 1)" "save: the saved fax opened through the shell"

  # 8. Cancel (the printer name differs from "Ostrel Printer" only in case): the file stays.
  local cancel="$OUT/cancelled"
  calderine "$cancel" 1; reset_logs
  driver_start cancel
  harness "$OUT/h8.log" --softpath "$(winpath "$SEND")" --doc "ostrel printer" "$(page pbm pf2 204 196)"
  driver_wait
  expect "$OUT/h8.log" "EndDocEntry=0" "cancel: EndDocEntry 0"
  check "cancel: the save dialog was shown for 'ostrel printer'" grep -q "^save dialog:" "$WORK/driver$bits.out"
  check "cancel: the file stays where it was written" same_pixels "$cancel.tif" 0 "$PAGES/pf2.pbm"
  settle; check "cancel: Dunmore.exe not started" test ! -e "$SEND/Dunmore.log"

  # 9. The copy fails (the chosen file is held open elsewhere): the written file is kept and the user told.
  local keep="$OUT/kept"
  calderine "$keep" 1; reset_logs
  driver_start 'lock:C:\tiff\locked.tif' 'save:C:\tiff\locked.tif' yes ok
  harness "$OUT/h9.log" --tif-viewer "$(winpath "$SEND/viewer.exe")" --doc "Quillon Printer" "$(page pbm pf3 204 196)"
  driver_wait
  expect "$OUT/h9.log" "EndDocEntry=0" "failed copy: EndDocEntry 0"
  check "failed copy: the user is told where the fax was kept" grep -qF "text=[The fax could not be saved as C:\\tiff\\locked.tif." "$WORK/driver$bits.out"
  check "failed copy: the written file is kept" same_pixels "$keep.tif" 0 "$PAGES/pf3.pbm"
  settle; check "failed copy: no viewer started" test ! -e "$SEND/viewer.log"

  # 10. A path with blanks, "&" and "^" reaches a follow-up batch file and Dunmore.exe as one argument,
  # and the command interpreter runs nothing else ("marker" is a program of the working folder).
  local odd="$OUT/fax &marker& ^& end"
  cp "$BIN/rb_followup.exe" "$SEND/marker.exe"
  printf '@echo off\r\necho one=[%%1] two=[%%2]>>"%%~dp0bat.log"\r\n' > "$SEND/after.bat"
  calderine "$odd" 1 0 "$SEND/after.bat"; reset_logs
  (cd "$SEND" && harness "$OUT/h10.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm pf1 204 196)")
  expect "$OUT/h10.log" "EndDocEntry=0" "odd path: EndDocEntry 0"
  check "odd path: the fax is written under that name" same_pixels "$odd.tif" 0 "$PAGES/pf1.pbm"
  wait_lines "$SEND/bat.log" 1; wait_lines "$SEND/Dunmore.log" 1; settle
  check "odd path: the batch file got it as its one argument" \
    grep -qxF -- "one=[\"$(winpath "$odd.tif")\"] two=[]" <(tr -d '\r' < "$SEND/bat.log")
  expect "$SEND/Dunmore.log" "$(started_with "$(winpath "$odd.tif")" 1)" "odd path: Dunmore.exe got it as its one argument"
  check "odd path: nothing else ran" test ! -e "$SEND/marker.log"

  # 11. A "%" would be expanded by the interpreter: the batch file is not started and the user is told;
  # Dunmore.exe still gets the path as it is.
  local percent="$OUT/fax 100%OS% &marker&"
  calderine "$percent" 1 0 "$SEND/after.bat"; reset_logs
  driver_start ok
  (cd "$SEND" && harness "$OUT/h11.log" --softpath "$(winpath "$SEND")" --doc "Ostrel Printer" "$(page pbm pf1 204 196)")
  driver_wait
  expect "$OUT/h11.log" "EndDocEntry=0" "percent: EndDocEntry 0"
  check "percent: the user is told the batch file was not started" \
    grep -qF "text=[The fax file $(winpath "$percent.tif") was not handed to $(winpath "$SEND/after.bat")" "$WORK/driver$bits.out"
  wait_lines "$SEND/Dunmore.log" 1; settle
  expect "$SEND/Dunmore.log" "$(started_with "$(winpath "$percent.tif")" 1)" "percent: Dunmore.exe got the path unexpanded as one argument"
  check "percent: the batch file did not run" test ! -e "$SEND/bat.log"
  check "percent: nothing else ran" test ! -e "$SEND/marker.log"
}

run_arch 64 "$BUILD64"
wine_skip_without_32bit "32-bit PellmarkSys.dll" || run_arch 32 "$BUILD32"
wine_end

echo "rasterback: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
