#!/usr/bin/env python3
"""Writes Language.ini from its editable source language/Language.txt.

The shipped file is UTF-16LE with the byte-order mark FF FE and CR LF line
ends: the profile API reads such a file as Unicode on every code page, where an
ANSI file would show the German texts wrongly on a Greek or Russian system.

    make_language_ini.py            rewrite Language.ini beside this script
    make_language_ini.py --check    exit 1 when Language.ini differs from its source
"""
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE / "language" / "Language.txt"
TARGET = HERE / "Language.ini"


def encode(text: str) -> bytes:
    """The bytes of Language.ini for the UTF-8 source text."""
    if "\r" in text:
        raise ValueError("the source must use LF line ends")
    if not text.endswith("\n"):
        text += "\n"
    return b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le")


def main(argv):
    wanted = encode(SOURCE.read_text(encoding="utf-8"))
    if argv[1:] == ["--check"]:
        if not TARGET.exists() or TARGET.read_bytes() != wanted:
            print(f"{TARGET} is not what {SOURCE} gives: run {pathlib.Path(__file__).name}", file=sys.stderr)
            return 1
        return 0
    if argv[1:]:
        print(__doc__, file=sys.stderr)
        return 2
    TARGET.write_bytes(wanted)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
