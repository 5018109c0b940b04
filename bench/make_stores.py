#!/usr/bin/env python3
"""Makes the file manager's settings stores that the benchmarks run on.

Each store has the shape of a well-used installation: a few toolbars,
bookmarks, and many sections the drive bar never touches (folder views,
commands, history), in the order a registry export writes them. The same
content is written three ways: an INI file in UTF-16LE with its byte-order
mark, an INI file in 8-bit text (UTF-8), and a registry store file in the
stand-in's format, which Wine's regedit also imports.

    make_stores.py OUT_DIR --size 1M [--size 10M ...]

Sizes take K and M suffixes (powers of 1000); each store comes out within a
few percent of the size asked for, counted in its own bytes.
"""
import argparse
import os
import random

TOOLBAR_NAMES = ["Standard", "Address", "Folders", "Tabs", "Status"]
BOOKMARKS = 20


def parse_size(text):
    text = text.strip().upper()
    scale = 1
    if text.endswith("K"):
        scale, text = 1000, text[:-1]
    elif text.endswith("M"):
        scale, text = 1000 * 1000, text[:-1]
    return int(float(text) * scale)


def size_label(size):
    if size >= 1000 * 1000 and size % (1000 * 1000) == 0:
        return "%dM" % (size // (1000 * 1000))
    if size >= 1000 and size % 1000 == 0:
        return "%dK" % (size // 1000)
    return str(size)


class Tree:
    """Keys by path (tuple of names); each holds (name, kind, data) values."""

    def __init__(self):
        self.keys = {}

    def key(self, *path):
        for depth in range(1, len(path) + 1):
            self.keys.setdefault(path[:depth], [])
        return self.keys[path]

    def sorted_paths(self):
        # Parents first, children by upper-cased name: the registry's order.
        return sorted(self.keys, key=lambda path: [name.upper() for name in path])


def fixed_part(tree):
    layout = ("vantrove_UC",)
    glob = ("vantrove_UC.global",)
    tree.key(*layout).append(("Version", "dword", 0x00050002))
    main = layout + ("MainFrame Settings",)
    tree.key(*main).append(("binPlacement", "binary", bytes(range(44))))
    tree.key(*main).append(("nTheme", "dword", 2))
    toolbars = main + ("Toolbars",)
    tree.key(*toolbars).append(("nToolbars", "dword", len(TOOLBAR_NAMES)))
    for index, title in enumerate(TOOLBAR_NAMES):
        key = tree.key(*toolbars + ("%X_%05d" % (index, index + 60159),))
        key.append(("", "string", title))
        key.append(("binState", "dword", 129))
        key.append(("binTBFlags", "dword", 5))
        key.append(("nButtons", "dword", 6))
        ids = b"".join((40000 + index * 10 + b).to_bytes(4, "little") for b in range(6))
        key.append(("nCmdIds", "binary", ids))
    tree.key(*glob).append(("nCustMenuIcons", "dword", BOOKMARKS))
    favorites = tree.key(*glob + ("Favorites",))
    icons = tree.key(*glob + ("Favorites_icons",))
    places = ["Documents", "Downloads", "Pictures", "Music", "Videos", "Projects", "Bücher",
              "Reports 2023", "Reports 2024", "Backups", "Photos\u00a0raw", "Source", "Mail",
              "Notes", "Invoices", "Archive", "Temp", "Shared", "Scans", "Games"]
    for number, place in enumerate(places[:BOOKMARKS]):
        path = "C:\\Users\\Public\\%s\\" % place
        favorites.append(("%02X_%s" % (number, place), "string", path))
        icons.append(("%02X_%s" % (number, place), "string", "%SystemRoot%\\system32\\shell32.dll,3"))


def bulk_unit(tree, index, rng):
    """One folder view under the layout root and one command under the global
    root: about 1 KB of registry store, half of it in each root."""
    view = tree.key("vantrove_UC", "Folder Views", "%05d" % index)
    view.append(("Path", "string", "D:\\Work\\Client %03d\\Project %05d\\Drafts\\" % (index % 500, index)))
    view.append(("nViewMode", "dword", rng.randrange(1, 8)))
    view.append(("nSortColumn", "dword", rng.randrange(0, 6)))
    view.append(("nIconSize", "dword", rng.choice([16, 32, 48, 96])))
    view.append(("binColumns", "binary", bytes(rng.randrange(256) for _ in range(24))))
    command = tree.key("vantrove_UC.global", "Commands", "Command %05d" % index)
    command.append(("", "string", "Tool %d" % index))
    command.append(("Program", "string", "C:\\Program Files\\Tools\\tool%05d.exe" % index))
    command.append(("Arguments", "string", "--open \"%%1\" --profile %d" % (index % 7)))
    command.append(("nFlags", "dword", rng.randrange(0, 1 << 16)))


def build_tree(units):
    rng = random.Random(20240611)
    tree = Tree()
    fixed_part(tree)
    for index in range(units):
        bulk_unit(tree, index, rng)
    return tree


# ---- INI files ---------------------------------------------------------------

def ini_value(kind, data):
    if kind == "dword":
        return str(data)
    if kind == "string":
        return data
    # Binary values as WritePrivateProfileStruct writes them: hex, then a sum.
    return "".join("%02X" % byte for byte in data) + "%02X" % (sum(data) & 0xFF)


def ini_text(tree):
    lines = ["; vantrove settings"]
    for path in tree.sorted_paths():
        lines.append("[%s]" % "\\".join(path))
        for name, kind, data in tree.keys[path]:
            lines.append("%s=%s" % (name or "@", ini_value(kind, data)))
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


# ---- Registry store ---------------------------------------------------------

BASE = "HKEY_CURRENT_USER\\Software\\Harrowmede Plc"


def quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def hex_lines(head, data):
    # Continued once a line reaches 77 units, as the store writer does.
    out, line = [], head
    for i, byte in enumerate(data):
        line += "%02x" % byte
        if i + 1 == len(data):
            break
        line += ","
        if len(line) >= 77:
            out.append(line + "\\")
            line = "  "
    out.append(line)
    return out


def reg_value(name, kind, data):
    head = ("@" if name == "" else quoted(name)) + "="
    if kind == "string":
        return [head + quoted(data)]
    if kind == "dword":
        return [head + "dword:%08x" % data]
    return hex_lines(head + "hex:", data)


def reg_text(tree, stamp):
    lines = ["Windows Registry Editor Version 5.00", ""]
    serial = 0x5F3A9C21D7E04B11
    # The keys above the file manager's own, as a registry holds them.
    prefix = [("HKEY_CURRENT_USER",), ("HKEY_CURRENT_USER", "Software"),
              ("HKEY_CURRENT_USER", "Software", "Harrowmede Plc")]
    paths = prefix + [tuple(BASE.split("\\")) + path for path in tree.sorted_paths()]
    for number, path in enumerate(paths):
        lines.append("[%s]" % "\\".join(path))
        lines.append(";addbar-key written=%016x id=%016x" % (stamp, (serial + number * 7919) & (2**64 - 1)))
        values = tree.keys.get(path[3:], []) if len(path) > 3 else []
        for name, kind, data in values:
            lines.extend(reg_value(name, kind, data))
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


# ---- Sizing -----------------------------------------------------------------

KINDS = {
    "ini16": lambda tree: b"\xff\xfe" + ini_text(tree).encode("utf-16-le"),
    "ini8": lambda tree: ini_text(tree).encode("utf-8"),
    "reg": lambda tree: b"\xff\xfe" + reg_text(tree, 0x01DA_BB00_1234_5678).encode("utf-16-le"),
}
SUFFIX = {"ini16": ".ini", "ini8": ".ini", "reg": ".reg"}


def store_bytes(kind, size):
    # Bytes per bulk unit from a small sample, then one correction.
    sample = 50
    base = len(KINDS[kind](build_tree(0)))
    per_unit = (len(KINDS[kind](build_tree(sample))) - base) / sample
    units = max(1, int((size - base) / per_unit))
    return KINDS[kind](build_tree(units))


def ensure_store(out, kind, size):
    """The path of the store of that kind and size in `out`, made if missing."""
    os.makedirs(out, exist_ok=True)
    path = os.path.join(out, "%s-%s%s" % (kind, size_label(size), SUFFIX[kind]))
    if not os.path.exists(path):
        data = store_bytes(kind, size)
        with open(path + ".tmp", "wb") as target:
            target.write(data)
        os.replace(path + ".tmp", path)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out")
    parser.add_argument("--size", action="append", required=True)
    parser.add_argument("--kind", action="append", choices=sorted(KINDS))
    args = parser.parse_args()
    for text in args.size:
        for kind in args.kind or sorted(KINDS):
            path = ensure_store(args.out, kind, parse_size(text))
            print("%s: %d bytes" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()
