#!/usr/bin/env python3
"""Checks that no library includes a header of a library it does not link:
every #include "..." line of the sources under src/ against the layer table
in README.md ("How the pieces fit"). Exits 1 and names each include that
breaks the table.
    tools/check-layers.py"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "src")


def read_table():
    """{library: (folders, linked libraries)} from the README's marked table."""
    text = open(os.path.join(ROOT, "README.md"), encoding="utf-8").read()
    table = text[text.index("<!-- layers:"):text.index("<!-- end of layers -->")]
    layers = {}
    for line in table.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) != 3 or not cells[0].startswith("`"):
            continue
        names = lambda cell: re.findall(r"`([^`]+)`", cell)
        layers[names(cells[0])[0]] = (names(cells[1]), names(cells[2]))
    return layers


def reachable(layers, library):
    """The library and every library it links, directly or through another."""
    seen, waiting = set(), [library]
    while waiting:
        name = waiting.pop()
        if name not in seen:
            seen.add(name)
            waiting.extend(layers[name][1])
    return seen


def main():
    layers = read_table()
    owner = {folder: library for library, (folders, _) in layers.items() for folder in folders}
    broken = []
    for folder, _, files in os.walk(SOURCE):
        here = os.path.relpath(folder, SOURCE)
        library = owner.get(here)
        if library is None:
            continue  # the program's main and other files outside the layers
        allowed = {f for name in reachable(layers, library) for f in layers[name][0]}
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            for number, line in enumerate(open(path, encoding="utf-8"), 1):
                match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                if not match:
                    continue
                included = os.path.dirname(match.group(1))
                if included in owner and included not in allowed:
                    broken.append("%s:%d: %s (%s) includes %s of %s" % (
                        os.path.relpath(path, ROOT), number, library, here, match.group(1), owner[included]))
    for line in broken:
        print(line)
    print("layers: %s" % ("%d includes break the table" % len(broken) if broken else "every include keeps the table"))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
