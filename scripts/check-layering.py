#!/usr/bin/env python3
"""Fails when the tree's layering does not hold.

Usage: check-layering.py [ROOT]

1. Windows stays in the shell: a Windows header or a Windows-only macro
   (_WIN32, _WIN64, __MINGW32__, _MSC_VER) appears only under a folder named
   win32/ or under tests/wine/.
2. Components meet only through shared code: a component (monitor, recipient,
   rasterback, setup) includes no other component's headers, and common/
   includes none at all. A test folder counts as the component it tests; a
   benchmark may measure one component, and so may a fuzz target (tests/fuzz/).
   No include climbs out with "../".
3. A component's CMakeLists.txt names no file of another component, nor a
   product one of common/, by path: what two of them share is linked by
   target name.

Exit status: 0 when the tree holds, 1 with a line per fault otherwise.
"""

import os
import re
import subprocess
import sys

COMPONENTS = ("monitor", "recipient", "rasterback", "setup")
# Test folders named otherwise, and the component they belong to.
TEST_FOLDERS = {"submission": "monitor", "setup_shell": "setup", "port_dialogs": "setup"}
SOURCE_SUFFIXES = (".c", ".cpp", ".h")

WINDOWS_HEADER = re.compile(
    r"#\s*include\s*<(windows|win[a-z0-9_]*|ws2[a-z0-9_]*|wtsapi32|userenv|commctrl|commdlg|shellapi|shlobj|shlwapi|"
    r"objbase|ole2|oleauto|sddl|aclapi|accctrl|lm[a-z]*|psapi|tlhelp32|iphlpapi|mswsock|dbghelp|gdiplus[a-z]*|"
    r"mmsystem|richedit|uxtheme|dwmapi|setupapi|tchar|io|direct|process|conio|intrin)\.h>",
    re.IGNORECASE,
)
WINDOWS_MACRO = re.compile(r"\b(_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER)\b")
QUOTED_INCLUDE = re.compile(r'#\s*include\s*"([^"]+)"')
SOURCE_PATH = re.compile(r"\$\{(?:CMAKE_SOURCE_DIR|PROJECT_SOURCE_DIR)\}/([A-Za-z0-9_]+)/")


def tree_files(root):
    try:
        listed = subprocess.run(["git", "-C", root, "ls-files"], check=True, capture_output=True, text=True).stdout
        return [path for path in listed.splitlines() if os.path.isfile(os.path.join(root, path))]
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, dirs, files in os.walk(root):
            dirs[:] = [d for d in dirs if d not in (".git", "build")]
            found += [os.path.relpath(os.path.join(folder, f), root) for f in files]
        return found


def owner(path):
    """The component a file belongs to, "common" for shared code, or None."""
    parts = path.split("/")
    if parts[0] in COMPONENTS or parts[0] == "common":
        return parts[0]
    if parts[0] == "tests" and len(parts) > 2:
        if parts[1] == "fuzz":
            return None
        folder = parts[2] if parts[1] == "wine" and len(parts) > 3 else parts[1]
        if folder in COMPONENTS:
            return folder
        return TEST_FOLDERS.get(folder, "tests")
    return None


def may_use_windows(path):
    parts = path.split("/")
    return "win32" in parts[:-1] or path.startswith("tests/wine/")


def source_faults(path, text):
    faults = []
    me = owner(path)
    used = set()
    for number, line in enumerate(text.splitlines(), 1):
        where = f"{path}:{number}"
        code = line.split("//", 1)[0]
        if not may_use_windows(path):
            if WINDOWS_HEADER.search(code):
                faults.append(f"{where}: a Windows header outside win32/: {line.strip()}")
            if WINDOWS_MACRO.search(code):
                faults.append(f"{where}: a Windows-only macro outside win32/: {line.strip()}")
        include = QUOTED_INCLUDE.search(code)
        if not include:
            continue
        target = include.group(1)
        if target.startswith("../") or "/../" in target:
            faults.append(f"{where}: an include that climbs out of its folder: {target}")
            continue
        top = target.split("/", 1)[0]
        if top not in COMPONENTS:
            continue
        used.add(top)
        if me == "common":
            faults.append(f"{where}: shared code includes the component {top}: {target}")
        elif me in COMPONENTS and top != me:
            faults.append(f"{where}: {me} includes {top}'s header {target}; share it through common/")
        elif me == "tests":
            faults.append(f"{where}: shared test code includes the component {top}: {target}")
    if me is None and len(used) > 1:
        faults.append(f"{path}: includes the headers of several components ({', '.join(sorted(used))})")
    return faults


def cmake_faults(path, text):
    me = owner(path)
    if me not in COMPONENTS and me != "common":
        return []
    faults = []
    for number, line in enumerate(text.splitlines(), 1):
        code = line.split("#", 1)[0]
        for top in SOURCE_PATH.findall(code):
            # A test may take a shared file itself (a resource script it
            # builds a module of); products link shared code by target.
            if top != me and not (top == "common" and path.startswith("tests/")):
                faults.append(f"{path}:{number}: names a file of {top} by path; link its library by target name")
        if "../" in code:
            faults.append(f"{path}:{number}: names a file outside its folder by a relative path")
    return faults


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    for path in sorted(tree_files(root)):
        if path.startswith("build/"):
            continue
        full = os.path.join(root, path)
        if path.endswith(SOURCE_SUFFIXES):
            with open(full, encoding="utf-8", errors="replace") as source:
                faults += source_faults(path, source.read())
        elif os.path.basename(path) == "CMakeLists.txt":
            with open(full, encoding="utf-8", errors="replace") as source:
                faults += cmake_faults(path, source.read())
    for fault in faults:
        print(fault, file=sys.stderr)
    if not faults:
        print("layering: Windows only under win32/ and tests/wine/, components meet only through common/")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
