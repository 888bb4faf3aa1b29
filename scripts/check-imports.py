#!/usr/bin/env python3
"""Fails when a Windows binary imports what Windows XP / Server 2003 do not export.

Usage: check-imports.py [--objdump PROGRAM] [--windows-2000 | --dlls-only] FILE...

Every imported DLL must be a system DLL with an export list in
scripts/windows-api/ (made from the NT 5.2 API; see its README), and every
function imported by name must be exported there by that DLL for the binary's
architecture. A 32-bit binary must also run on 32-bit XP (NT 5.1), so the names
only Server 2003 / XP x64 export fail it too. A function newer systems add is
looked up at run time by the code instead, and never imported.

--windows-2000 also lists, as notes, the imports that Windows 2000 lacks; they
do not fail the check (the toolchain's runtime needs some of them).
--dlls-only checks only that every imported DLL is a system DLL: for the test
programs, which run under Wine only and may use newer functions.

Exit status: 0 when every file passes, 1 when one fails, 2 on a usage error.
"""

import argparse
import os
import re
import subprocess
import sys

LISTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "windows-api")
VERSION_NAMES = {"0x600": "Vista", "0x601": "7", "0x602": "8", "0x603": "8.1", "0xa00": "10"}


class ExportLists:
    """The export lists of scripts/windows-api, read once."""

    def __init__(self, folder):
        self.folder = folder
        self.exports = {}  # dll -> {name: set of tags}
        self.ordinals = {}  # dll -> {ordinal: set of tags}
        self.later = self._read_notes("vista-and-later.txt", keep_version=True)
        self.not_xp32 = self._read_notes("nt52-not-xp32.txt")
        self.not_2000 = self._read_notes("winxp-not-2000.txt")

    def _read_notes(self, file_name, keep_version=False):
        notes = {}
        with open(os.path.join(self.folder, file_name), encoding="utf-8") as lines:
            for line in lines:
                fields = line.split()
                if len(fields) < 2 or fields[0].startswith("#"):
                    continue
                notes[(fields[0].lower(), fields[1])] = fields[2] if keep_version and len(fields) > 2 else ""
        return notes

    def has_list(self, dll):
        return self._load(dll) is not None

    def _load(self, dll):
        if dll not in self.exports:
            path = os.path.join(self.folder, dll + ".txt")
            if not os.path.isfile(path):
                self.exports[dll] = None
                return None
            names, ordinals = {}, {}
            with open(path, encoding="utf-8") as lines:
                for line in lines:
                    fields = line.split()
                    if not fields or fields[0].startswith("#"):
                        continue
                    tags = {f.strip("[]") for f in fields[1:]}
                    names[fields[0]] = tags
                    for tag in tags:
                        if tag.startswith("ord="):
                            ordinals[int(tag[4:])] = tags
            self.exports[dll] = names
            self.ordinals[dll] = ordinals
        return self.exports[dll]

    @staticmethod
    def _fits(tags, arch):
        other = "win64" if arch == "i386" else "i386"
        return other not in tags

    def exported_by_name(self, dll, name, arch):
        tags = self._load(dll).get(name)
        return tags is not None and self._fits(tags, arch) and "noname" not in tags

    def exported_by_ordinal(self, dll, ordinal, arch):
        self._load(dll)
        tags = self.ordinals[dll].get(ordinal)
        return tags is not None and self._fits(tags, arch)

    def who_exports(self, name, arch):
        """The listed DLLs that do export `name`, for a helpful message."""
        found = []
        for file_name in sorted(os.listdir(self.folder)):
            dll = file_name[:-4]
            if file_name.endswith(".txt") and self.has_list(dll) and self.exported_by_name(dll, name, arch):
                found.append(dll)
        return found


def read_imports(objdump, path):
    """(arch, [(dll, name or None, ordinal or None)]) from `objdump -p`."""
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    if re.search(r"file format pei-i386", text):
        arch = "i386"
    elif re.search(r"file format pei-x86-64", text):
        arch = "win64"
    else:
        raise ValueError(f"{path}: not a PE file objdump understands")
    imports, dll = [], None
    for line in text.splitlines():
        match = re.match(r"\s*DLL Name: (\S+)", line)
        if match:
            dll = match.group(1).lower()
            dll = dll[:-4] if dll.endswith((".dll", ".drv")) else dll
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        match = re.match(r"\s+[0-9a-f]+\s+(\d+)\s+<none>", line)
        if match:
            imports.append((dll, None, int(match.group(1))))
            continue
        match = re.match(r"\s+[0-9a-f]+\s+\d+\s+(\S+)", line)
        if match:
            imports.append((dll, match.group(1), None))
    return arch, imports


def check(lists, objdump, path, list_2000, dlls_only):
    arch, imports = read_imports(objdump, path)
    faults, notes = [], []
    for dll, name, ordinal in imports:
        if not lists.has_list(dll):
            faults.append(f"imports {dll}, which is not a system DLL with an export list in {LISTS}")
            continue
        if dlls_only:
            continue
        if name is None:
            if not lists.exported_by_ordinal(dll, ordinal, arch):
                faults.append(f"imports {dll} ordinal {ordinal}, which XP / Server 2003 do not export")
            continue
        if not lists.exported_by_name(dll, name, arch):
            version = lists.later.get((dll, name))
            if version is not None:
                since = VERSION_NAMES.get(version.lower(), version)
                faults.append(f"imports {dll}!{name}, which Windows exports only from {since} on: look it up at run time")
            else:
                elsewhere = [d for d in lists.who_exports(name, arch) if d != dll]
                hint = f" (XP exports it from {', '.join(elsewhere)}: check the link order)" if elsewhere else ""
                faults.append(f"imports {dll}!{name}, which {dll} does not export on XP / Server 2003{hint}")
            continue
        if arch == "i386" and (dll, name) in lists.not_xp32:
            faults.append(f"imports {dll}!{name}, which 32-bit Windows XP does not export")
            continue
        # There was no 64-bit Windows 2000 for x64.
        if list_2000 and arch == "i386" and (dll, name) in lists.not_2000:
            notes.append(f"needs Windows XP: {dll}!{name}")
    return faults, notes


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--objdump", default="objdump")
    choice = parser.add_mutually_exclusive_group()
    choice.add_argument("--windows-2000", action="store_true", help="also list what Windows 2000 lacks")
    choice.add_argument("--dlls-only", action="store_true", help="check only that the DLLs are system DLLs")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    lists = ExportLists(LISTS)
    failed = False
    for path in args.files:
        try:
            faults, notes = check(lists, args.objdump, path, args.windows_2000, args.dlls_only)
        except (OSError, ValueError, subprocess.CalledProcessError) as error:
            print(f"{path}: cannot read its imports: {error}", file=sys.stderr)
            return 1
        for fault in faults:
            print(f"{path}: {fault}", file=sys.stderr)
        for note in notes:
            print(f"{path}: {note}")
        failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
