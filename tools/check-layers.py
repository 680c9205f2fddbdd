#!/usr/bin/env python3
"""Checks the include lines of src/ against the layer table in the README.

Each row of the table ("| <layer> | `src/folder/`, ... | ... |", in the section
"How the pieces fit") puts folders on a layer; a file belongs to the row of
the longest folder its path starts with. A file may include headers of its
own folder and of lower layers only: an include of a higher layer, or of
another folder of the same layer, fails the check.

    tools/check-layers.py [repository folder, default: the one this script is in]
"""

import pathlib
import re
import sys

ROW = re.compile(r"^\|\s*(\d+)\s*\|([^|]*)\|")
FOLDER = re.compile(r"`(src/[^`]*)`")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_table(readme):
    """[(folder, layer)] of the README's table, longest folder first."""
    text = readme.read_text(encoding="utf-8")
    section = text.split("## How the pieces fit", 1)[-1].split("\n## ", 1)[0]
    folders = []
    for line in section.splitlines():
        row = ROW.match(line)
        if row:
            folders += [(folder, int(row.group(1))) for folder in FOLDER.findall(row.group(2))]
    return sorted(folders, key=lambda entry: len(entry[0]), reverse=True)


def place(path, table):
    """(folder, layer) of a path under the repository, or None when no row names it."""
    for folder, layer in table:
        if path == folder or (folder.endswith("/") and path.startswith(folder)):
            return folder, layer
    return None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    table = layer_table(root / "README.md")
    if not table:
        print("check-layers: no layer table found in README.md under 'How the pieces fit'")
        return 1
    faults = []
    unplaced = []
    for source in sorted((root / "src").rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        name = source.relative_to(root).as_posix()
        own = place(name, table)
        if own is None:
            unplaced.append(name)
            continue
        for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
            include = INCLUDE.match(line)
            if not include or not (root / "src" / include.group(1)).is_file():
                continue
            target = place("src/" + include.group(1), table)
            if target is None or target[0] == own[0] or target[1] < own[1]:
                continue
            where = "a higher layer" if target[1] > own[1] else "another folder of its layer"
            faults.append(f"{name}:{number}: includes {include.group(1)} of {where} "
                          f"(layer {own[1]} includes layer {target[1]})")
    for name in unplaced:
        faults.append(f"{name}: its folder is in no row of the README's layer table")
    for fault in faults:
        print(fault)
    print(f"check-layers: {len(faults)} fault(s) in the include lines of src/")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
