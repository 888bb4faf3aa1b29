#!/usr/bin/env python3
"""Checks the setup tool's data before it ships.

- Language.ini: what make_language_ini.py makes of its source; UTF-16LE with
  the byte-order mark and CR LF; an "EN" section and at least one more, each
  with every key the tool and its port dialogs read and no other; printf
  formats with exactly the arguments the tool passes; every label short enough
  for its control.
- APLWMGS1.PPD: the keywords a PostScript driver needs, the two fax
  resolutions, A4 and Letter, monochrome, PostScript level 2.
- Yarrowby.GPD and Pellmark.GPD: balanced, with the features Unidrv needs,
  the two fax resolutions and printable areas that both divide.
- driver_files.cmake: a real file is staged under its canonical name, a
  missing one as a marked stand-in.

    check_resources.py [--cmake CMAKE --work DIR]   (the staging check needs both)
"""
import argparse
import pathlib
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import make_language_ini  # noqa: E402

failures = []


def fail(what):
    failures.append(what)
    print(f"FAIL {what}")


# --- Language.ini ------------------------------------------------------------

PREFIXED = [
    "MSG_INSTALL_START", "MSG_INSTALL_SUCCESS", "MSG_INSTALL_FAIL", "MSG_UNINSTALL_START",
    "MSG_UNINSTALL_SUCCESS", "MSG_UNINSTALL_FAIL", "MSG_UNINSTALL_CONFIRM", "MSG_TEST",
]
MAIN_KEYS = (["LANGUAGE", "ID_MSG_ADMIN", "ID_MSG_COMPLETE", "ID_MSG_NOTICE"]
             + [f"{p}_{k}" for p in ("TVN", "QLN") for k in PREFIXED]
             + ["IDC_STATIC_OS", "IDC_STATIC_PWL", "IDC_STATIC_OP", "IDC_STATIC_COMPLETE",
                "IDC_STATIC_PRINTERTYPE", "IDC_RADIO_TVN", "IDC_RADIO_QLN", "IDC_BTN_INSTALL",
                "IDC_BTN_UNINSTALL", "IDC_BTN_TEST", "IDC_BTN_CONFIG"])
CONFIG_LABELS = ["PORT", "IP", "USER", "PWD", "SENDER", "ADVER", "STYLE", "DIR", "SYSTEM", "LINE",
                 "PAGESIZE", "RESOLUTION", "MAXDIALS", "MAXTRIES", "PRIORITY", "VALIDITY", "EMAIL"]
PORT_DIALOG_KEYS = (["CONFIG_TITLE", "CONFIG_IDC_BTN_ADD", "CONFIG_IDC_BTN_DELETE", "CONFIG_IDC_ADDPRINTER",
                     "CONFIG_IDC_DELETEPRINTER", "CONFIG_IDC_CHECK_IGNORE", "CONFIG_IDC_CHECK_PROMPT",
                     "CONFIG_IDC_STATIC_SYSACCOUNT", "CONFIG_IDOK", "CONFIG_IDCANCEL", "CONFIG_IDC_WARNING",
                     "CONFIG_IDC_COMFIRM", "CONFIG_IDC_DELETE_SUCCESS", "CONFIG_IDC_DELETE_FAIL",
                     "CONFIG_IDC_DIR_NEXIST", "CONFIG_IDC_ADDPRINTERSUCCESS", "CONFIG_IDC_ADDPRINTERFAIL",
                     "CONFIG_IDC_DELETEPRINTERSUCCESS", "CONFIG_IDC_DELETEPRINTERFAIL"]
                    + [f"CONFIG_IDC_STATIC_{label}" for label in CONFIG_LABELS]
                    + ["ADDPORT_TITLE", "ADDPORT_PORT", "ADDPORT_SUCCESS", "ADDPORT_FAIL", "ADDPORT_EXIST",
                       "ADDPORT_EMPTY"])
ALL_KEYS = MAIN_KEYS + PORT_DIALOG_KEYS

# Texts used as printf formats, with the number of text arguments passed.
FORMATS = {"ID_MSG_NOTICE": 3, "CONFIG_IDC_STATIC_SYSACCOUNT": 2}

# Room for each text, in dialog units: (room, font kind). A dialog unit is a
# quarter of the font's average character width. The main dialog's font,
# 宋体, gives every Latin character the same width; the port dialogs' fonts
# ("System", "MS Sans Serif") are proportional. Room is the control's width
# less what the control draws beside its text (a radio or check mark about
# 12 units, a button's or list's edges about 4, a group box's corners 16).
MONO, PROPORTIONAL = "mono", "proportional"
ROOM = {
    "LANGUAGE": (57 - 14, MONO),  # an item of the language list, beside its arrow
    "IDC_STATIC_OS": (68, MONO),
    "IDC_STATIC_PWL": (210 - 16, MONO),
    "IDC_STATIC_OP": (174, MONO),
    "IDC_STATIC_PRINTERTYPE": (147 - 16, MONO),
    "IDC_RADIO_TVN": (70 - 12, MONO),
    "IDC_RADIO_QLN": (68 - 12, MONO),
    "IDC_BTN_INSTALL": (57 - 4, MONO),
    "IDC_BTN_UNINSTALL": (57 - 4, MONO),
    "IDC_BTN_TEST": (57 - 4, MONO),
    "IDC_BTN_CONFIG": (57 - 4, MONO),
    "IDC_STATIC_COMPLETE": (55, MONO),
    # The completion label also shows "text:100%" while an operation runs.
    "ID_MSG_COMPLETE": (55 - 4 * len(":100%"), MONO),
    "CONFIG_TITLE": (309 - 40, PROPORTIONAL),
    "CONFIG_IDC_BTN_ADD": (21 - 4, PROPORTIONAL),
    "CONFIG_IDC_BTN_DELETE": (21 - 4, PROPORTIONAL),
    "CONFIG_IDC_ADDPRINTER": (63 - 4, PROPORTIONAL),
    "CONFIG_IDC_DELETEPRINTER": (63 - 4, PROPORTIONAL),
    "CONFIG_IDC_CHECK_IGNORE": (73 - 12, PROPORTIONAL),
    "CONFIG_IDC_CHECK_PROMPT": (73 - 12, PROPORTIONAL),
    # Two account names of up to 20 characters each go into the line.
    "CONFIG_IDC_STATIC_SYSACCOUNT": (294 - 2 * 20 * 4, PROPORTIONAL),
    # OK and Cancel of the add-port dialog are the narrower pair (34 units).
    "CONFIG_IDOK": (34 - 4, PROPORTIONAL),
    "CONFIG_IDCANCEL": (34 - 4, PROPORTIONAL),
    "ADDPORT_TITLE": (123 - 30, PROPORTIONAL),
    "ADDPORT_PORT": (20, PROPORTIONAL),
}
ROOM.update({f"CONFIG_IDC_STATIC_{label}": (62, PROPORTIONAL) for label in CONFIG_LABELS})
# The operation texts are shown in the status line (1015) as well as in boxes.
ROOM.update({f"{p}_{k}": (174, MONO) for p in ("TVN", "QLN") for k in PREFIXED[:6]})

NARROW = set("iljtfrI.,:;'!|()[] -")
WIDE = set("mwMW%")


def width_in_units(text, kind):
    """The text's width in dialog units, measured against the average character."""
    if kind == MONO:
        return 4 * sum(2 if ord(c) >= 0x1100 else 1 for c in text)
    total = 0.0
    for c in text:
        base = c.translate(str.maketrans("äöüÄÖÜß", "aouAOUs"))
        if base in NARROW:
            total += 0.6
        elif base in WIDE:
            total += 1.5
        elif base.isupper():
            total += 1.2
        else:
            total += 1.0
    return 4 * total


def parse_ini(text):
    """Sections as the profile API reads them: names and keys without case, the
    first of repeated keys, values trimmed of blanks and of one pair of quotes."""
    sections, order, current = {}, [], None
    for number, line in enumerate(text.split("\r\n"), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(";"):
            continue
        if stripped.startswith("[") and stripped.endswith("]"):
            current = stripped[1:-1].strip()
            if current.upper() in (s.upper() for s in order):
                fail(f"Language.ini line {number}: section [{current}] twice")
            order.append(current)
            sections[current] = {}
            continue
        if "=" not in stripped or current is None:
            fail(f"Language.ini line {number}: neither a section nor a key: {line!r}")
            continue
        key, value = stripped.split("=", 1)
        key, value = key.strip().upper(), value.strip()
        if len(value) >= 2 and value[0] == value[-1] == '"':
            value = value[1:-1]
        if key in sections[current]:
            fail(f"Language.ini [{current}]: {key} twice")
            continue
        sections[current][key] = value
    return order, sections


def printf_conversions(text):
    """The conversions of a printf format, "%%" not counted."""
    return [m.group(0) for m in re.finditer(r"%(%|[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|I64|w)?[a-zA-Z])", text)
            if m.group(0) != "%%"]


def check_language():
    path = HERE / "Language.ini"
    data = path.read_bytes()
    wanted = make_language_ini.encode(make_language_ini.SOURCE.read_text(encoding="utf-8"))
    if data != wanted:
        fail("Language.ini is not what language/Language.txt gives (run make_language_ini.py)")
    if not data.startswith(b"\xff\xfe"):
        fail("Language.ini does not start with the UTF-16LE byte-order mark FF FE")
        return
    text = data[2:].decode("utf-16-le")
    if re.search(r"\r(?!\n)|(?<!\r)\n", text):
        fail("Language.ini has a line end other than CR LF")
    order, sections = parse_ini(text)
    if not order or order[0] != "EN":
        fail(f"Language.ini: the first section is not EN but {order[:1]}")
    if len(order) < 2:
        fail("Language.ini: no language besides EN")
    names = [sections[s].get("LANGUAGE") for s in order]
    if len(set(names)) != len(names):
        fail(f"Language.ini: two sections share a LANGUAGE name: {names}")
    for section in order:
        keys = sections[section]
        for key in ALL_KEYS:
            if key not in keys:
                fail(f"Language.ini [{section}]: {key} is missing")
        for key, value in keys.items():
            if key not in ALL_KEYS:
                fail(f"Language.ini [{section}]: {key} is no key the tool reads")
            if not value.strip():
                fail(f"Language.ini [{section}]: {key} is empty")
            if len(value) > 511:
                fail(f"Language.ini [{section}]: {key} is longer than the 511 characters the tool reads")
            conversions = printf_conversions(value)
            if key in FORMATS:
                if conversions != ["%s"] * FORMATS[key]:
                    fail(f"Language.ini [{section}]: {key} must hold exactly {FORMATS[key]} %s and no other "
                         f"conversion, has {conversions}")
            elif "%" in value:
                fail(f"Language.ini [{section}]: {key} holds a % but is no format")
            if "\r\n" in value.replace("\\r\\n", "") or "\\n" in value.replace("\\r\\n", ""):
                fail(f"Language.ini [{section}]: {key}: a line break is written as \\r\\n")
            if "\\r\\n" in value and key != "ID_MSG_NOTICE":
                fail(f"Language.ini [{section}]: {key}: only the notice turns \\r\\n into a line break")
            if key in ROOM:
                room, kind = ROOM[key]
                shown = re.sub(r"%s", "", value) if key in FORMATS else value
                needed = width_in_units(shown, kind)
                if needed > room:
                    fail(f"Language.ini [{section}]: {key} \"{value}\" needs about {needed:.0f} dialog units, "
                         f"its control has {room}")
    if not sections.get("EN", {}).get("CONFIG_IDC_COMFIRM", "").endswith(" "):
        fail("Language.ini [EN]: CONFIG_IDC_COMFIRM must end in a blank (the port name follows), kept by quotes")


# --- APLWMGS1.PPD ------------------------------------------------------------

def check_ppd():
    data = (HERE / "APLWMGS1.PPD").read_bytes()
    try:
        text = data.decode("ascii")
    except UnicodeDecodeError:
        fail("APLWMGS1.PPD is not plain ASCII")
        return
    lines = text.split("\r\n")
    if lines[-1] == "":
        lines.pop()
    if any("\n" in line or "\r" in line for line in lines):
        fail("APLWMGS1.PPD mixes line ends")
    if lines[0] != '*PPD-Adobe: "4.3"':
        fail("APLWMGS1.PPD does not start with *PPD-Adobe: \"4.3\"")
    entries = {}
    open_ui = []
    for number, line in enumerate(lines, 1):
        if len(line) > 255:
            fail(f"APLWMGS1.PPD line {number} is longer than 255 characters")
        if not line or line.startswith("*%"):
            continue
        if not line.startswith("*"):
            fail(f"APLWMGS1.PPD line {number} is no main keyword: {line!r}")
            continue
        m = re.match(r"\*([\w-]+)(?: ([^:/]+)(?:/([^:]*))?)?:\s*(.*)$", line)
        if not m:
            fail(f"APLWMGS1.PPD line {number} is not \"*Keyword [option[/text]]: value\": {line!r}")
            continue
        keyword, option, _, value = m.groups()
        if value.count('"') % 2:
            fail(f"APLWMGS1.PPD line {number}: an unclosed quoted value")
        entries.setdefault(keyword, []).append((option, value))
        if keyword == "OpenUI":
            open_ui.append(option.split("/")[0] if option else "")
        elif keyword == "CloseUI":
            if not open_ui or value.strip() != open_ui.pop():
                fail(f"APLWMGS1.PPD line {number}: *CloseUI without its *OpenUI")
    if open_ui:
        fail(f"APLWMGS1.PPD: *OpenUI {open_ui} never closed")

    def value(keyword):
        return entries.get(keyword, [(None, None)])[0][1]

    def options(keyword):
        return [o for o, _ in entries.get(keyword, [])]

    for required in ("FormatVersion", "FileVersion", "LanguageVersion", "LanguageEncoding", "PCFileName",
                     "Manufacturer", "Product", "ModelName", "ShortNickName", "NickName", "PSVersion",
                     "DefaultPageSize", "DefaultPageRegion", "DefaultImageableArea", "DefaultPaperDimension",
                     "DefaultResolution", "DefaultFont"):
        if value(required) is None:
            fail(f"APLWMGS1.PPD lacks *{required}")
    if value("PCFileName") != '"APLWMGS1.PPD"':
        fail("APLWMGS1.PPD: *PCFileName is not the file's name")
    if value("LanguageLevel") != '"2"':
        fail("APLWMGS1.PPD: *LanguageLevel is not \"2\"")
    if value("ColorDevice") != "False":
        fail("APLWMGS1.PPD: not a monochrome device (*ColorDevice)")
    if sorted(options("Resolution")) != ["204x196dpi", "204x98dpi"]:
        fail(f"APLWMGS1.PPD: resolutions {options('Resolution')}, not 204x196dpi and 204x98dpi")
    if value("DefaultResolution") not in ("204x196dpi", "204x98dpi"):
        fail("APLWMGS1.PPD: *DefaultResolution is none of the two")
    sizes = {"A4": (595, 842), "Letter": (612, 792)}
    for keyword in ("PageSize", "PageRegion", "ImageableArea", "PaperDimension"):
        if sorted(options(keyword)) != sorted(sizes):
            fail(f"APLWMGS1.PPD: *{keyword} options {options(keyword)}, not A4 and Letter")
        if value(f"Default{keyword}") != "A4":
            fail(f"APLWMGS1.PPD: *Default{keyword} is not A4")
    for option, code in entries.get("PageSize", []) + entries.get("PageRegion", []):
        w, h = sizes.get(option, (0, 0))
        if f"/PageSize[{w} {h}]" not in code:
            fail(f"APLWMGS1.PPD: {option} does not set /PageSize[{w} {h}]")
    for option, code in entries.get("PaperDimension", []):
        if code != '"%d %d"' % sizes.get(option, (0, 0)):
            fail(f"APLWMGS1.PPD: *PaperDimension {option} is {code}")
    for option, code in entries.get("Resolution", []):
        x, y = option.replace("dpi", "").split("x")
        if f"/HWResolution[{x} {y}]" not in code:
            fail(f"APLWMGS1.PPD: *Resolution {option} does not set /HWResolution[{x} {y}]")
    if "Courier" not in options("Font"):
        fail("APLWMGS1.PPD: the default font Courier is not listed")


# --- the GPD files -----------------------------------------------------------

def check_gpd(name, include):
    text = (HERE / name).read_bytes().decode("ascii")
    body = "\n".join(line for line in text.split("\r\n") if not line.lstrip().startswith("*%"))
    depth = 0
    for c in body:
        depth += {"{": 1, "}": -1}.get(c, 0)
        if depth < 0:
            break
    if depth != 0:
        fail(f"{name}: unbalanced braces")
    if body.count('"') % 2:
        fail(f"{name}: an unclosed quoted value")
    for required in ('*GPDSpecVersion: "1.0"', f'*Include: "{include}"', "*PrinterType: PAGE",
                     '*ResourceDLL: "UNIRES.DLL"'):
        if required not in body:
            fail(f"{name} lacks {required}")
    features = re.findall(r"\*Feature: (\w+)", body)
    for feature in ("Orientation", "InputBin", "PaperSize", "Resolution", "ColorMode"):
        if feature not in features:
            fail(f"{name} lacks the feature {feature}")
    master = re.search(r"\*MasterUnits: PAIR\((\d+), (\d+)\)", body)
    dpis = [tuple(map(int, p)) for p in re.findall(r"\*DPI: PAIR\((\d+), (\d+)\)", body)]
    if sorted(dpis) != [(204, 98), (204, 196)]:
        fail(f"{name}: resolutions {dpis}, not 204x196 and 204x98")
    if not master:
        fail(f"{name} lacks *MasterUnits")
        return
    mx, my = int(master.group(1)), int(master.group(2))
    for x, y in dpis:
        if mx % x or my % y:
            fail(f"{name}: master units {mx}x{my} not divisible by {x}x{y}")
    papers = dict(re.findall(r"\*Option: (A4|LETTER)\s*\{[^}]*?\*PrintableArea: PAIR\((\d+, \d+)\)", body))
    expected = {"A4": (210 / 25.4, 297 / 25.4), "LETTER": (8.5, 11.0)}
    if sorted(papers) != sorted(expected):
        fail(f"{name}: paper sizes {sorted(papers)}, not A4 and LETTER")
    for paper, pair in papers.items():
        w, h = map(int, pair.split(", "))
        ew, eh = expected[paper]
        if not (0 <= ew * mx - w < 2 * mx / 204 + 1 and 0 <= eh * my - h < 4 * my / 98 + 1):
            fail(f"{name}: {paper} printable area {w}x{h} is not the page ({ew * mx:.0f}x{eh * my:.0f})")
        for x, y in dpis:
            if w % (mx // x) or h % (my // y):
                fail(f"{name}: {paper} printable area {w}x{h} is no whole number of {x}x{y} pixels")


# --- driver_files.cmake ------------------------------------------------------

STAGING_SCRIPT = r"""
include("@HERE@/driver_files.cmake")
tolvane_stage_driver_files(files STAGE "@WORK@/stage" FROM "@WORK@/real" SETTING TEST_DIR LABEL "test set"
  FILES APLWMGS1.BPD APLWMGS1.PPD PS5UI.DLL PSCRIPT5.DLL PSCRIPT.HLP OWN APLWMGS1.PPD "@HERE@/APLWMGS1.PPD")
file(WRITE "@WORK@/list.txt" "${files}")
"""


def check_staging(cmake, work):
    work.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory(dir=work) as tmp:
        tmp = pathlib.Path(tmp)
        (tmp / "real").mkdir()
        # A real file in another letter case, and one of ours in the real
        # folder, which must not replace ours.
        (tmp / "real" / "pscript5.dll").write_bytes(b"MZ real driver")
        (tmp / "real" / "APLWMGS1.PPD").write_bytes(b"not ours")
        script = tmp / "stage.cmake"
        script.write_text(STAGING_SCRIPT.replace("@HERE@", HERE.as_posix()).replace("@WORK@", tmp.as_posix()))
        run = subprocess.run([cmake, "-P", str(script)], capture_output=True, text=True)
        if run.returncode != 0:
            fail(f"staging: cmake -P failed: {run.stderr}")
            return
        listed = (tmp / "list.txt").read_text().split(";")
        names = [pathlib.Path(p).name for p in listed]
        if names != ["APLWMGS1.BPD", "APLWMGS1.PPD", "PS5UI.DLL", "PSCRIPT5.DLL", "PSCRIPT.HLP"]:
            fail(f"staging: the list is {names}")
        if not all(pathlib.Path(p).is_absolute() and pathlib.Path(p).is_file() for p in listed):
            fail(f"staging: not every listed file was staged: {listed}")
            return
        staged = {pathlib.Path(p).name: pathlib.Path(p).read_bytes() for p in listed}
        if staged["PSCRIPT5.DLL"] != b"MZ real driver":
            fail("staging: the real PSCRIPT5.DLL (found as pscript5.dll) was not used")
        if staged["APLWMGS1.PPD"] != (HERE / "APLWMGS1.PPD").read_bytes():
            fail("staging: our APLWMGS1.PPD was not used")
        for name in ("APLWMGS1.BPD", "PS5UI.DLL", "PSCRIPT.HLP"):
            lines = staged[name].split(b"\r\n")
            if lines[0] != b"TOLVANE STAND-IN" or lines[1] != name.encode():
                fail(f"staging: the stand-in of {name} does not start with the marker and its name: {lines[:2]}")
            if len(staged[name]) > 1024:
                fail(f"staging: the stand-in of {name} is not small")
        out = run.stdout + run.stderr
        if "real files from" not in out or "PSCRIPT5.DLL" not in out or "stand-ins" not in out:
            fail(f"staging: the configure step does not say which files are real: {out}")
        # The real file taken away again: its stand-in comes back.
        (tmp / "real" / "pscript5.dll").unlink()
        subprocess.run([cmake, "-P", str(script)], capture_output=True, text=True)
        if not (tmp / "stage" / "PSCRIPT5.DLL").read_bytes().startswith(b"TOLVANE STAND-IN\r\nPSCRIPT5.DLL\r\n"):
            fail("staging: a real file taken away leaves it staged instead of its stand-in")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake")
    parser.add_argument("--work", type=pathlib.Path)
    args = parser.parse_args()
    check_language()
    check_ppd()
    check_gpd("Yarrowby.GPD", "STDNAMES.GPD")
    check_gpd("Pellmark.GPD", "STDNAMES.GPD")
    if args.cmake and args.work:
        check_staging(args.cmake, args.work)
    print(f"setup resources: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
