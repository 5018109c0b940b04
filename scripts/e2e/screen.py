"""What the scenarios see and do on the virtual display: windows found by their
title (xdotool), message boxes read back (box-reader.exe), keys pressed,
buttons clicked, screenshots taken."""

import dataclasses
import re
import subprocess

import wine_programs
from wine_programs import wait_until


def _tool(arguments, limit):
    try:
        return subprocess.run(arguments, capture_output=True, text=True, timeout=limit,
                              stdin=subprocess.DEVNULL, check=False)
    except subprocess.TimeoutExpired:
        return None


def shown_window(title_pattern):
    """The X window of a shown top-level window whose title matches; None if there is none."""
    done = _tool(["xdotool", "search", "--onlyvisible", "--name", title_pattern], 30)
    ids = done.stdout.split() if done is not None else []
    return ids[0] if ids else None


def find_window(title_pattern, within):
    return wait_until(within, shown_window, title_pattern)


def window_shown(window):
    done = _tool(["xdotool", "search", "--onlyvisible", "--name", "."], 30)
    return done is not None and window in done.stdout.split()


def window_gone(window, within):
    return wait_until(within, lambda: not window_shown(window)) is not None


@dataclasses.dataclass
class Button:
    id: int
    x: int
    y: int
    label: str


@dataclasses.dataclass
class Box:
    """A message box as box-reader.exe read it."""
    window: str  # its X window
    caption: str
    buttons: list
    length: int  # of the text, in UTF-16 units
    text: str

    def labels(self):
        return ",".join(button.label for button in self.buttons)

    def button(self, button_id):
        return next((button for button in self.buttons if button.id == button_id), None)


def _parse_reading(window, reading):
    head, _, text = reading.partition("\ntext\n")
    caption, buttons, length = None, [], None
    for line in head.split("\n"):
        if line.startswith("caption "):
            caption = line[len("caption "):]
        elif line.startswith("length "):
            length = int(line[len("length "):])
        else:
            match = re.fullmatch(r"button (-?\d+) (-?\d+) (-?\d+) (.*)", line)
            if match:
                buttons.append(Button(int(match[1]), int(match[2]), int(match[3]), match[4]))
    return Box(window, caption, buttons, length, text)


class Screen:
    def __init__(self, reader_program, shots_folder):
        self._reader = str(reader_program)
        self._shots = shots_folder

    def look_at_box(self, caption, within=0):
        """The shown box with exactly that caption, once it and its text are there,
        read by a program of the same Wine session; None if there is none."""
        done = wine_programs.run([self._reader, caption, str(within)], limit=within + 60)
        if done.returncode != 0:
            return None
        return _parse_reading(None, done.stdout)

    def read_box(self, caption, within):
        """Waits for a box with that caption on the screen and reads it; None when
        none comes within `within` seconds."""
        window = find_window(f"^{caption}$", within)
        if window is None:
            return None
        box = self.look_at_box(caption, within)
        if box is None or box.caption != caption:
            return None
        box.window = window
        return box

    def press_return(self, window):
        focused = _tool(["xdotool", "windowfocus", "--sync", window], 30)
        return (focused is not None and focused.returncode == 0 and
                _tool(["xdotool", "key", "Return"], 30) is not None)

    def click(self, x, y):
        # --sync: the click comes once the pointer is there.
        done = _tool(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], 30)
        return done is not None and done.returncode == 0

    def shoot_window(self, window, name):
        done = _tool(["import", "-window", window, str(self._shots / f"{name}.png")], 60)
        return done is not None and done.returncode == 0

    def shoot_windows(self, name, windows):
        """The part of the screen that holds all the windows given."""
        left, top, right, bottom = 100000, 100000, 0, 0
        for window in windows:
            done = _tool(["xdotool", "getwindowgeometry", "--shell", window], 30)
            if done is None or done.returncode != 0:
                return False
            geometry = dict(line.split("=", 1) for line in done.stdout.split())
            x, y = int(geometry["X"]), int(geometry["Y"])
            width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
            left, top = min(left, x), min(top, y)
            right, bottom = max(right, x + width), max(bottom, y + height)
        left, top = max(left - 8, 0), max(top - 8, 0)
        crop = f"{right - left + 8}x{bottom - top + 8}+{left}+{top}"
        done = _tool(["import", "-window", "root", "-crop", crop, "+repage",
                      str(self._shots / f"{name}.png")], 60)
        return done is not None and done.returncode == 0
