"""The file manager's stored settings as the scenarios check them: the registry
(read with Wine's own reg tool) and INI files (read as bytes), both brought
into one form, and the INI files the scenarios start from."""

import dataclasses
import pathlib

import wine_programs

SETTINGS_KEY = "HKCU\\Software\\Harrowmede Plc"
_SETTINGS_ROOT = "HKEY_CURRENT_USER\\Software\\Harrowmede Plc"


class CheckFailed(Exception):
    """A check of a scenario failed; the message says what was found."""


@dataclasses.dataclass
class Value:
    key: str  # relative to the company key, or an INI section
    name: str  # "@" for a key's unnamed value
    type: str  # REG_DWORD, REG_SZ, REG_BINARY … or INI
    data: str  # as reg shows it ("0x3", hex digits) or as the INI file has it


@dataclasses.dataclass
class Snapshot:
    """Keys and values in stored order. Names compare without regard to case,
    as the file manager and both stores do."""
    keys: list = dataclasses.field(default_factory=list)
    values: list = dataclasses.field(default_factory=list)

    def value(self, key, name):
        return next((value for value in self.values if value.key.lower() == key.lower() and
                     value.name.lower() == name.lower()), None)

    def value_names(self, key):
        return [value.name for value in self.values if value.key.lower() == key.lower()]

    def sub_keys(self, key):
        prefix = key.lower() + "\\"
        return [found[len(prefix):] for found in self.keys
                if found.lower().startswith(prefix) and "\\" not in found[len(prefix):]]

    def is_empty(self):
        return not self.keys and not self.values


def registry_snapshot():
    """The settings in Wine's registry, as `reg query /s` lists them."""
    done = wine_programs.run(["reg", "query", SETTINGS_KEY, "/s"])
    snapshot = Snapshot()
    if done.returncode != 0:
        return snapshot
    key = None
    for line in done.stdout.replace("\r", "").split("\n"):
        if line.startswith("HKEY_"):
            key = "" if line == _SETTINGS_ROOT else line[len(_SETTINGS_ROOT) + 1:]
            snapshot.keys.append(key)
        elif line.startswith("    ") and key is not None:
            name, _, rest = line[4:].partition("    ")
            value_type, _, data = rest.partition("    ")
            snapshot.values.append(Value(key, "@" if name == "(Default)" else name, value_type,
                                         data))
    return snapshot


def ini_text(path):
    data = pathlib.Path(path).read_bytes()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    return data.decode("utf-8", "replace")


def ini_snapshot(path):
    """The sections and entries of an INI file; comments left out."""
    snapshot = Snapshot()
    section = None
    for line in ini_text(path).replace("\r", "").split("\n"):
        stripped = line.strip(" \t")
        if stripped.startswith(";"):
            continue
        if stripped.startswith("["):
            section = stripped[1:].split("]", 1)[0]
            snapshot.keys.append(section)
        elif "=" in line:
            name, _, data = line.partition("=")
            snapshot.values.append(Value(section, name.strip(" \t"), "INI", data.strip(" \t")))
    return snapshot


def checksum(hex_digits):
    """The byte an INI file appends to binary data: the sum of its bytes."""
    return "%02X" % (sum(bytes.fromhex(hex_digits)) % 256)


def expect_setting(snapshot, key, name, kind, expected):
    """The stored value, whichever store it came from: kind "dword" (a number),
    "sz" (text) or "bin" (hex digits). An INI file holds numbers in decimal and
    binary data as hex digits followed by a checksum byte."""
    found = snapshot.value(key, name)
    if found is None:
        raise CheckFailed(f"{key}: no value '{name}' (expected {expected})")
    wanted = {
        ("dword", "REG_DWORD"): lambda: "0x%x" % expected,
        ("dword", "INI"): lambda: str(expected),
        ("sz", "REG_SZ"): lambda: expected,
        ("sz", "INI"): lambda: expected,
        ("bin", "REG_BINARY"): lambda: expected,
        ("bin", "INI"): lambda: expected + checksum(expected),
    }.get((kind, found.type))
    if wanted is None:
        raise CheckFailed(f"{key}\\{name}: expected {kind}, found a value of type {found.type}")
    if found.data != wanted():
        raise CheckFailed(f"{key}\\{name}: expected '{wanted()}', found '{found.data}'")


def command_ids_hex(ids):
    """Command ids as stored: 32-bit little-endian numbers in hex."""
    return "".join(number.to_bytes(4, "little").hex().upper() for number in ids)


def bookmark_name(number, letter):
    return "%02X_%s" % (number, letter)


@dataclasses.dataclass
class NewDriveBar:
    """A drive bar just added where "Favorites" held `first` values."""
    layout: str  # the layout's root key or section
    global_root: str  # the bookmarks' root
    toolbar: str  # "3_60162"
    toolbars_after: int
    first: int
    icons_after: int
    letters: str


def check_new_drive_bar(snapshot, bar):
    """The toolbar key with its marker and buttons, a bookmark and an icon entry
    per drive, numbered on from `first`."""
    toolbars = bar.layout + "\\MainFrame Settings\\Toolbars"
    toolbar = toolbars + "\\" + bar.toolbar
    expect_setting(snapshot, toolbars, "nToolbars", "dword", bar.toolbars_after)
    expect_setting(snapshot, toolbar, "@", "sz", "DRIVEBAR_F2")
    expect_setting(snapshot, toolbar, "binState", "dword", 129)
    expect_setting(snapshot, toolbar, "binTBFlags", "dword", 7)
    expect_setting(snapshot, toolbar, "nButtons", "dword", len(bar.letters))
    bookmarks = bar.global_root + "\\Favorites"
    for index, letter in enumerate(bar.letters):
        expect_setting(snapshot, bookmarks, bookmark_name(bar.first + index, letter), "sz",
                       f"{letter}:\\")
        expect_setting(snapshot, bar.global_root + "\\Favorites_icons", letter, "sz",
                       f"{letter}:\\")
    ids = [40100 + bar.first + index for index in range(len(bar.letters))]
    expect_setting(snapshot, toolbar, "nCmdIds", "bin", command_ids_hex(ids))
    names = snapshot.value_names(bookmarks)
    if len(names) != bar.first + len(bar.letters):
        raise CheckFailed(f"{bookmarks}: expected {bar.first + len(bar.letters)} bookmarks, "
                          f"found {' '.join(names)}")
    expect_setting(snapshot, bar.global_root, "nCustMenuIcons", "dword", bar.icons_after)


def ini_icon_count(drives):
    """"nCustMenuIcons" after a run on an INI file of write_ini (5, and two
    bookmarks before the drives'): raised to the bookmark count only."""
    return max(2 + drives, 5)


def write_ini(path, encoding, layout, global_root):
    """An INI file as the file manager keeps its settings, in UTF-16LE with its
    mark ("utf16") or in 8-bit text ("ansi")."""
    lines = ["; the file manager's settings", f"[{layout}]", "@=", "",
             f"[{layout}\\MainFrame Settings\\Toolbars]", "nToolbars=1", "",
             f"[{layout}\\MainFrame Settings\\Toolbars\\0_60159]", "@=Standard", "binState=129",
             "", f"[{global_root}]", "nCustMenuIcons=5", "",
             f"[{global_root}\\Favorites]", "00_Documents=C:\\users\\Public\\Documents",
             "01_Music=C:\\users\\Public\\Music"]
    text = "".join(line + "\r\n" for line in lines)
    data = b"\xff\xfe" + text.encode("utf-16-le") if encoding == "utf16" else text.encode()
    pathlib.Path(path).write_bytes(data)


def seed_registry(layout, toolbars):
    """The toolbar settings the file manager leaves after it ran with `layout`."""
    key = f"{SETTINGS_KEY}\\{layout}\\MainFrame Settings\\Toolbars"
    done = wine_programs.run(["reg", "add", key, "/v", "nToolbars", "/t", "REG_DWORD", "/d",
                              str(toolbars), "/f"])
    if done.returncode != 0:
        raise CheckFailed("could not seed the registry with reg add")


def export_settings(path):
    """The settings as Wine's own reg tool exports them; empty when there are none."""
    path = pathlib.Path(path)
    path.unlink(missing_ok=True)
    done = wine_programs.run(["reg", "export", SETTINGS_KEY, wine_programs.win_path(path), "/y"])
    if done.returncode != 0 or not path.exists():
        path.write_bytes(b"")
    return path.read_bytes()


def delete_settings():
    wine_programs.run(["reg", "delete", SETTINGS_KEY, "/f"])
