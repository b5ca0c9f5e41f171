#!/usr/bin/env python3
"""Checks that the translated string tables match the English one.

Reads resources/strings/strings_*.rc and compares every table with
strings_en.rc: the same ids, the same FormatMessage inserts in the same
order, the same number of line breaks, of '&' accelerators and of '|'
separators (file dialog filters). Prints one line per problem and exits 1,
or prints a summary and exits 0.

Usage: tools/check-strings.py [folder with the strings_*.rc files]
"""

import re
import sys
from pathlib import Path

REFERENCE = "strings_en.rc"
TABLES = ["strings_en.rc", "strings_de.rc", "strings_el.rc",
          "strings_fr.rc", "strings_it.rc", "strings_ru.rc"]

_ENTRY_START = re.compile(r'\s*(\d+)\s*,?\s*"')
_SIMPLE_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "a": "\a",
                   "\\": "\\", '"': '"'}


class TableError(Exception):
    pass


def parse_string(line, pos):
    """Decodes the quoted text that starts after the opening quote at pos.

    Returns (text, position after the closing quote). Understands the
    resource compiler's escapes and the doubled quote.
    """
    out = []
    i = pos
    while i < len(line):
        c = line[i]
        if c == '"':
            if i + 1 < len(line) and line[i + 1] == '"':
                out.append('"')
                i += 2
                continue
            return "".join(out), i + 1
        if c == "\\" and i + 1 < len(line):
            n = line[i + 1]
            if n in _SIMPLE_ESCAPES:
                out.append(_SIMPLE_ESCAPES[n])
                i += 2
            elif n in "xX":
                m = re.match(r"[0-9A-Fa-f]{1,4}", line[i + 2:])
                if not m:
                    raise TableError("bad \\x escape")
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
            elif n in "01234567":
                m = re.match(r"[0-7]{1,3}", line[i + 1:])
                out.append(chr(int(m.group(0), 8)))
                i += 1 + len(m.group(0))
            else:
                out.append(c + n)
                i += 2
            continue
        out.append(c)
        i += 1
    raise TableError("unterminated string")


def read_table(path, problems):
    """Returns {id: text} of every STRINGTABLE in the file."""
    name = path.name
    try:
        source = path.read_bytes().decode("utf-8")
    except OSError as e:
        problems.append(f"{name}: cannot read: {e.strerror}")
        return None
    except UnicodeDecodeError as e:
        problems.append(f"{name}: not UTF-8 (byte {e.start})")
        return None
    lines = source.splitlines()
    if not lines or lines[0].strip() != "#pragma code_page(65001)":
        problems.append(f"{name}: first line is not #pragma code_page(65001)")
    if not any(re.match(r"\s*LANGUAGE\s+\S", l) for l in lines):
        problems.append(f"{name}: no LANGUAGE statement")

    entries = {}
    state = "outside"  # outside -> header (after STRINGTABLE) -> inside
    for number, raw in enumerate(lines, 1):
        line = raw.strip()
        if not line or line.startswith("//") or line.startswith("#"):
            continue
        word = line.split()[0]
        if state == "outside":
            if word == "STRINGTABLE":
                state = "header"
            continue
        if state == "header":
            if word in ("BEGIN", "{"):
                state = "inside"
            continue
        if word in ("END", "}"):
            state = "outside"
            continue
        m = _ENTRY_START.match(raw)
        if not m:
            problems.append(f"{name}: line {number}: not a string entry")
            continue
        try:
            text, end = parse_string(raw, m.end())
        except TableError as e:
            problems.append(f"{name}: line {number}: {e}")
            continue
        rest = raw[end:].strip()
        if rest and not rest.startswith("//"):
            problems.append(f"{name}: line {number}: text after the string")
        ident = int(m.group(1))
        if ident in entries:
            problems.append(f"{name}: id {ident}: defined twice")
        entries[ident] = text
    if state != "outside":
        problems.append(f"{name}: STRINGTABLE not closed")
    return entries


def inserts(text):
    """The FormatMessage inserts (%1, %2!u!, ...) in their order."""
    found = []
    i = 0
    while i < len(text):
        if text[i] != "%":
            i += 1
            continue
        m = re.match(r"%[1-9][0-9]?(![^!]*!)?", text[i:])
        if m:
            found.append(m.group(0))
            i += len(m.group(0))
        else:
            i += 2  # %%, %n, %. and the other escapes
    return found


def accelerators(text):
    count = 0
    i = 0
    while i < len(text):
        if text[i] == "&":
            if i + 1 < len(text) and text[i + 1] == "&":
                i += 2
                continue
            count += 1
        i += 1
    return count


def compare(name, reference, table, problems):
    for ident in sorted(set(reference) - set(table)):
        problems.append(f"{name}: id {ident}: missing")
    for ident in sorted(set(table) - set(reference)):
        problems.append(f"{name}: id {ident}: not in {REFERENCE}")
    for ident in sorted(set(reference) & set(table)):
        want, have = reference[ident], table[ident]
        if inserts(have) != inserts(want):
            problems.append(
                f"{name}: id {ident}: inserts {' '.join(inserts(have)) or '(none)'}"
                f", expected {' '.join(inserts(want)) or '(none)'}")
        checks = (("line breaks", lambda t: t.count("\n")),
                  ("'&' accelerators", accelerators),
                  ("'|' separators", lambda t: t.count("|")))
        for label, count in checks:
            if count(have) != count(want):
                problems.append(f"{name}: id {ident}: {count(have)} {label}"
                                f", expected {count(want)}")


def main(argv):
    if len(argv) > 2:
        print("usage: check-strings.py [strings folder]", file=sys.stderr)
        return 2
    folder = (Path(argv[1]) if len(argv) == 2 else
              Path(__file__).resolve().parent.parent / "resources" / "strings")
    problems = []
    present = sorted(p.name for p in folder.glob("strings_*.rc"))
    for name in TABLES:
        if name not in present:
            problems.append(f"{name}: missing in {folder}")
    tables = {name: read_table(folder / name, problems) for name in present}
    reference = tables.get(REFERENCE)
    if reference is not None:
        if not reference:
            problems.append(f"{REFERENCE}: no entries")
        for name, table in tables.items():
            if name != REFERENCE and table is not None:
                compare(name, reference, table, problems)
    if problems:
        for line in problems:
            print(line)
        return 1
    print(f"strings: {len(tables)} tables, {len(reference)} entries each, consistent")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
