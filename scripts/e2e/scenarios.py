"""The end-to-end scenarios under Wine, and the loop that runs them: one line
per scenario, PASS with what it saw or FAIL with the reason.

Started by scripts/e2e-wine.sh, which prepares the display, the Wine prefix
and the helper programs, and hands over their places in the environment
(E2E_BUILD, E2E_WORK, E2E_SHOTS, E2E_TOOLS and WINEPREFIX). Arguments name
the scenarios to run (all without). Exit status 1 when any scenario failed.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import time
import traceback

import wine_programs
from screen import Screen, find_window, shown_window, window_gone
from stored_settings import (CheckFailed, NewDriveBar, bookmark_name, check_new_drive_bar,
                             command_ids_hex, delete_settings, expect_setting, export_settings,
                             ini_icon_count, ini_snapshot, registry_snapshot, seed_registry,
                             write_ini)
from wine_programs import PrefixDrives, Started, wait_until

BUILD = pathlib.Path(os.environ["E2E_BUILD"])
WORK = pathlib.Path(os.environ["E2E_WORK"])
SHOTS = pathlib.Path(os.environ["E2E_SHOTS"])
TOOLS = pathlib.Path(os.environ["E2E_TOOLS"])
PREFIX = pathlib.Path(os.environ["WINEPREFIX"])
ADDBAR = str(BUILD / "addbar.exe")
FM_STANDIN = str(BUILD / "fm-standin.exe")

CLOSING = "without arguments, it adds the lumenrail in default registry layout"
PROMPT = "click OK to quit vantrove"
FILE_MANAGER_TITLE = "^vantrove_CommPort$"
# Bounds on waits for events: only a wait that went wrong reaches them.
BOX_WITHIN = 60
END_WITHIN = 30

screen = Screen(TOOLS / "box-reader.exe", SHOTS)
drives = PrefixDrives(PREFIX, WORK / "drives", TOOLS / "drive-list.exe")


def fail(reason):
    raise CheckFailed(reason)


def ended(program, still_running):
    """The program's exit code once it has ended; fails with `still_running`
    when it runs on for END_WITHIN seconds."""
    code = program.exit_code(END_WITHIN)
    if code is None:
        fail(still_running)
    return code


def usage_text(program):
    return f"\n\nUSAGE:\n{program} [/S:layout /I:ini_file]\n{CLOSING}"


def done_text(buttons):
    return f"added 'drivebar' with {buttons} buttons\nPlease restart your vantrove"


class ScenarioRun:
    """What one scenario has at hand: a folder for its runs, and the programs it
    started, which are ended if they outlive it."""

    def __init__(self, runs):
        self.runs = runs
        self.started = {}

    def start(self, name, folder, *arguments):
        self.started[name] = Started(self.runs, name, folder, arguments)
        return self.started[name]

    def end_leftovers(self):
        """Ends what a failed scenario left running (the prefix's Wine server takes
        its programs along) and waits for them."""
        for program in self.started.values():
            if program.running():
                subprocess.run(["timeout", "20", os.environ["WINESERVER"], "-k"], check=False)
                program.exit_code(END_WITHIN)

    def expect_box_text(self, what, box, expected):
        """The text of a box, and its length in UTF-16 units, which addbar's exit
        code must equal."""
        if box.text != expected:
            shown = box.text.replace("\n", "\\n")
            fail(f"{what}: expected the text '{expected.replace(chr(10), chr(92) + 'n')}', "
                 f"the box shows '{shown}'")
        units = len(expected.encode("utf-16-le")) // 2
        if box.length != units:
            fail(f"{what}: the box text has {box.length} units, expected {units}")

    def answer_box(self, box, answer):
        """OK with the Enter key, Cancel with a click on its button."""
        if answer == "ok":
            if not screen.press_return(box.window):
                fail("could not press Enter in the box")
        else:
            cancel = box.button(2)
            if cancel is None or not screen.click(cancel.x, cancel.y):
                fail("could not click the box's Cancel button")
        if not window_gone(box.window, END_WITHIN):
            fail(f"the box stayed on the screen after {answer}")

    def what_is_shown(self, addbar):
        """For a failure message: the box addbar shows instead, or how it ended."""
        for caption in ("done", "Error"):
            box = screen.look_at_box(caption)
            if box is not None:
                return f"a box '{box.caption}' says: {box.text.split(chr(10))[0]}"
        if addbar.running():
            return "addbar runs on without a box"
        return f"addbar ended with {addbar.exit_code(0)}"

    def run_addbar(self, caption, screenshot, folder, *arguments):
        """Runs addbar to its final box, which must have the caption given; reads
        it, saves its picture, answers it and checks that the exit code is the
        length of its text. Returns the box."""
        addbar = self.start("addbar", folder, *arguments)
        box = screen.read_box(caption, BOX_WITHIN)
        if box is None:
            fail(f"no box captioned '{caption}' within {BOX_WITHIN} s "
                 f"({self.what_is_shown(addbar)})")
        if screenshot and not screen.shoot_window(box.window, screenshot):
            fail("no screenshot")
        self.answer_box(box, "ok")
        code = ended(addbar, "addbar went on running after its final box")
        if code != box.length % 256:
            fail(f"exit code {code}, expected the box text's length {box.length} (low 8 bits)")
        return box

    def start_file_manager(self, *options):
        manager = self.start("fm", WORK, FM_STANDIN, *options)
        window = find_window(FILE_MANAGER_TITLE, BOX_WITHIN)
        if window is None:
            fail(f"fm-standin showed no window within {BOX_WITHIN} s")
        return manager, window

    def close_file_manager(self):
        """Closes the running fm-standin as a user closes a window (taskkill sends
        it WM_CLOSE), whatever its /D: option, and checks that it ended as closed."""
        wine_programs.run(["taskkill", "/im", "fm-standin.exe"])
        code = ended(self.started["fm"], "fm-standin did not close on taskkill")
        if code != 0:
            fail(f"fm-standin ended with {code} after taskkill, expected 0")

    def wait_for_drives(self):
        why = drives.wait_until_seen()
        if why is not None:
            fail(why)


# ---- the scenarios: each returns the line that says what it saw ----------------------------

def registry_default(run):
    letters = drives.letters()
    seed_registry("vantrove_UC", 3)
    box = run.run_addbar("done", "registry-done", WORK, ADDBAR)
    run.expect_box_text("final box", box, done_text(len(letters)))
    first = registry_snapshot()
    check_new_drive_bar(first, NewDriveBar("vantrove_UC", "vantrove_UC.global", "3_60162", 4, 0,
                                           len(letters), letters))
    # A second run finds its drive bar: nothing is added twice.
    box = run.run_addbar("done", None, WORK, ADDBAR)
    run.expect_box_text("final box of the second run", box, done_text(len(letters)))
    second = registry_snapshot()
    if second != first:
        changed = [value for value in second.values if value not in first.values]
        fail(f"the second run changed the settings: {changed[:3]}")
    return f"{len(letters)} buttons ({letters}), exit 60 twice"


def registry_layout(run):
    letters = drives.letters()
    seed_registry("vantrove_UC", 3)
    seed_registry("vantrove_UC.work", 1)
    box = run.run_addbar("done", None, WORK, ADDBAR, "/S:work")
    run.expect_box_text("final box", box, done_text(len(letters)))
    snap = registry_snapshot()
    check_new_drive_bar(snap, NewDriveBar("vantrove_UC.work", "vantrove_UC.global", "1_60160", 2,
                                          0, len(letters), letters))
    expect_setting(snap, "vantrove_UC\\MainFrame Settings\\Toolbars", "nToolbars", "dword", 3)
    if snap.sub_keys("vantrove_UC\\MainFrame Settings\\Toolbars"):
        fail("the default layout got a toolbar")
    if any(key.startswith("vantrove_UC.work.global") for key in snap.keys):
        fail("bookmarks went to a layout's own key")
    return "toolbar 1_60160 in vantrove_UC.work, bookmarks global"


def ini_beside_program(run):
    letters = drives.letters()
    folder, elsewhere = WORK / "program", WORK / "elsewhere"
    folder.mkdir(parents=True, exist_ok=True)
    elsewhere.mkdir(parents=True, exist_ok=True)
    shutil.copy(ADDBAR, folder)
    ini = folder / "settings.ini"
    write_ini(ini, "utf16", "vantrove_UC", "vantrove_UC.global")
    # Started from another folder: the bare name is found beside the program.
    box = run.run_addbar("done", None, elsewhere, str(folder / "addbar.exe"), "/I:settings.ini")
    run.expect_box_text("final box", box, done_text(len(letters)))
    if (elsewhere / "settings.ini").exists():
        fail("a settings.ini appeared in the current folder")
    if not ini.read_bytes().startswith(b"\xff\xfe"):
        fail("the INI file lost its UTF-16LE mark")
    snap = ini_snapshot(ini)
    check_new_drive_bar(snap, NewDriveBar("vantrove_UC", "vantrove_UC.global", "1_60160", 2, 2,
                                          ini_icon_count(len(letters)), letters))
    expect_setting(snap, "vantrove_UC\\MainFrame Settings\\Toolbars\\0_60159", "@", "sz",
                   "Standard")
    expect_setting(snap, "vantrove_UC.global\\Favorites", "01_Music", "sz",
                   "C:\\users\\Public\\Music")
    if not registry_snapshot().is_empty():
        fail("an INI run wrote to the registry")
    return "toolbar 1_60160 and bookmarks 02.. in the UTF-16 INI file beside the program"


def ini_absolute(run):
    letters = drives.letters()
    (WORK / "inis").mkdir(parents=True, exist_ok=True)
    ini = WORK / "inis" / "work-layout.ini"
    write_ini(ini, "ansi", "vantrove_UC.work", "vantrove_UC.work.global")
    box = run.run_addbar("done", None, WORK, ADDBAR, "/I:" + wine_programs.win_path(ini), "/S:work")
    run.expect_box_text("final box", box, done_text(len(letters)))
    check_new_drive_bar(ini_snapshot(ini),
                        NewDriveBar("vantrove_UC.work", "vantrove_UC.work.global", "1_60160", 2, 2,
                                    ini_icon_count(len(letters)), letters))
    if not ini.read_bytes().startswith(b";"):
        fail("the 8-bit INI file does not start as it did")
    return "absolute path with /S:work: sections vantrove_UC.work and vantrove_UC.work.global"


def ini_current_folder(run):
    letters = drives.letters()
    current = WORK / "current"
    current.mkdir(parents=True, exist_ok=True)
    write_ini(current / "settings.ini", "ansi", "vantrove_UC", "vantrove_UC.global")
    box = run.run_addbar("done", None, current, ADDBAR, "/I:settings.ini")
    run.expect_box_text("final box", box, done_text(len(letters)))
    check_new_drive_bar(ini_snapshot(current / "settings.ini"),
                        NewDriveBar("vantrove_UC", "vantrove_UC.global", "1_60160", 2, 2,
                                    ini_icon_count(len(letters)), letters))
    return "a bare name found in the current folder is the file written"


def added_drives(run):
    before = drives.letters()
    drives.add("a")
    drives.add("d")
    after = drives.letters()
    if not (after.startswith("A") and "D" in after):
        fail(f"the prefix shows the drives {after} after adding A: and D:")
    run.wait_for_drives()
    seed_registry("vantrove_UC", 3)
    box = run.run_addbar("done", "drives-done", WORK, ADDBAR)
    run.expect_box_text("final box", box, done_text(len(after)))
    check_new_drive_bar(registry_snapshot(),
                        NewDriveBar("vantrove_UC", "vantrove_UC.global", "3_60162", 4, 0,
                                    len(after), after))
    # Another drive later: only it gets a bookmark, numbered on; the other
    # buttons keep their commands.
    new = next(letter for letter in "EFGHIJKLMNOPQRSTUVWXY" if letter not in after)
    drives.add(new)
    every = drives.letters()
    run.wait_for_drives()
    box = run.run_addbar("done", None, WORK, ADDBAR)
    run.expect_box_text(f"final box after adding {new}:", box, done_text(len(every)))
    snap = registry_snapshot()
    toolbar = "vantrove_UC\\MainFrame Settings\\Toolbars\\3_60162"
    expect_setting(snap, "vantrove_UC.global\\Favorites", bookmark_name(len(after), new), "sz",
                   f"{new}:\\")
    expect_setting(snap, "vantrove_UC.global\\Favorites_icons", new, "sz", f"{new}:\\")
    names = snap.value_names("vantrove_UC.global\\Favorites")
    if len(names) != len(every):
        fail(f"Favorites holds {' '.join(names)}")
    expect_setting(snap, toolbar, "nButtons", "dword", len(every))
    ids = [40100 + (len(after) if letter == new else after.index(letter)) for letter in every]
    expect_setting(snap, toolbar, "nCmdIds", "bin", command_ids_hex(ids))
    expect_setting(snap, "vantrove_UC\\MainFrame Settings\\Toolbars", "nToolbars", "dword", 4)
    return (f"{before} -> {after}: {len(after)} buttons; {new}: added later gets bookmark "
            f"{len(after)} only")


def read_prompt():
    """The prompt to quit the file manager, once it shows with its text."""
    prompt = screen.read_box("Error", BOX_WITHIN)
    if prompt is None:
        fail(f"no prompt captioned 'Error' within {BOX_WITHIN} s")
    if prompt.text != PROMPT:
        fail(f"the prompt says '{prompt.text}'")
    return prompt


def prompt_ok(run):
    drives.add("a")
    drives.add("d")
    letters = drives.letters()
    run.wait_for_drives()
    seed_registry("vantrove_UC", 3)
    manager, manager_window = run.start_file_manager()
    addbar = run.start("addbar", WORK, ADDBAR)
    prompt = read_prompt()
    if prompt.labels() != "OK,Cancel":
        fail(f"the prompt's buttons are '{prompt.labels()}'")
    if not screen.shoot_window(prompt.window, "prompt"):
        fail("no screenshot of the prompt")
    if not screen.shoot_windows("prompt-over-file-manager", [manager_window, prompt.window]):
        fail("no screenshot of the prompt")
    run.answer_box(prompt, "ok")
    code = ended(manager, f"fm-standin still runs {END_WITHIN} s after OK")
    if code != 0:
        fail(f"fm-standin ended with {code}, expected 0 (closed by the command)")
    final = screen.read_box("done", BOX_WITHIN)
    if final is None:
        fail("no final box 'done' after the file manager quit")
    run.expect_box_text("final box", final, done_text(len(letters)))
    if not screen.shoot_window(final.window, "final-done"):
        fail("no screenshot of the final box")
    run.answer_box(final, "ok")
    code = ended(addbar, "addbar went on running after its final box")
    if code != 60:
        fail(f"exit code {code}, expected 60")
    check_new_drive_bar(registry_snapshot(),
                        NewDriveBar("vantrove_UC", "vantrove_UC.global", "3_60162", 4, 0,
                                    len(letters), letters))
    # Restarted, the file manager shows the drive bar.
    manager, manager_window = run.start_file_manager()
    wait_until(END_WITHIN, lambda: "window:" in manager.output())
    expected = "drive bar: 3_60162\n" + "".join(
        f"button {index + 1}: {letter}:\\\n" for index, letter in enumerate(letters)
    ) + "window: vantrove_CommPort"
    if manager.output().rstrip("\n") != expected:
        fail(f"the restarted fm-standin shows '{manager.output().rstrip().replace(chr(10), '|')}'")
    if not screen.shoot_window(manager_window, "file-manager-drive-bar"):
        fail("no screenshot of the file manager")
    run.close_file_manager()
    return (f"prompt answered OK, fm-standin quit (0), done (60); restarted it shows "
            f"{len(letters)} buttons")


def prompt_cancel(run):
    seed_registry("vantrove_UC", 3)
    before = export_settings(run.runs / "before.reg")
    manager, _ = run.start_file_manager()
    addbar = run.start("addbar", WORK, ADDBAR)
    prompt = read_prompt()
    run.answer_box(prompt, "cancel")
    code = ended(addbar, f"addbar still runs {END_WITHIN} s after Cancel")
    if code != 100:
        fail(f"exit code {code} after Cancel, expected 100")
    # addbar has ended: one look shows whether it left a box behind.
    if shown_window("^(done|Error)$") is not None:
        fail("a box came up after Cancel")
    if not manager.running():
        fail("fm-standin ended although the user cancelled")
    if export_settings(run.runs / "after.reg") != before:
        fail("the settings changed after Cancel")
    run.close_file_manager()
    return "Cancel (a click): exit 100, no box, fm-standin runs on, settings unchanged"


def missing_ini(run):
    elsewhere = WORK / "elsewhere"
    elsewhere.mkdir(parents=True, exist_ok=True)
    box = run.run_addbar("Error", "missing-ini", elsewhere, ADDBAR, "/I:missing.ini")
    beside = wine_programs.win_path(str(BUILD) + "/")
    run.expect_box_text("final box", box,
                      f"cannot find INI file:\n{beside}missing.ini" + usage_text("addbar.exe"))
    if not registry_snapshot().is_empty():
        fail("the registry changed")
    return f"'cannot find INI file:' with the path beside the program, exit {box.length}"


def folder_as_ini(run):
    (WORK / "a-folder.ini").mkdir(parents=True, exist_ok=True)
    folder = wine_programs.win_path(WORK / "a-folder.ini")
    box = run.run_addbar("Error", None, WORK, ADDBAR, "/I:" + folder)
    beside = wine_programs.win_path(str(BUILD) + "/")
    run.expect_box_text("final box", box,
                      f"cannot find INI file:\n{beside}{folder}" + usage_text("addbar.exe"))
    return "a folder is no INI file: the retried path is the program's folder and the folder named"


def read_only_ini(run):
    (WORK / "inis").mkdir(parents=True, exist_ok=True)
    ini = WORK / "inis" / "read-only.ini"
    write_ini(ini, "utf16", "vantrove_UC", "vantrove_UC.global")
    ini.chmod(0o444)
    before = ini.read_bytes()
    box = run.run_addbar("Error", None, WORK, ADDBAR, "/I:" + wine_programs.win_path(ini))
    run.expect_box_text("final box", box,
                        "cannot write toolbar settings" + usage_text("addbar.exe"))
    if ini.read_bytes() != before:
        fail("the read-only INI file changed")
    return f"'cannot write toolbar settings', exit {box.length}, the file unchanged"


def no_settings(run):
    box = run.run_addbar("Error", "no-settings", WORK, ADDBAR)
    run.expect_box_text("final box", box,
                        "cannot locate toolbar settings" + usage_text("addbar.exe"))
    if not registry_snapshot().is_empty():
        fail("the registry changed")
    return f"'cannot locate toolbar settings', exit {box.length}, nothing written"


def all_drives(run):
    every = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    for letter in every.lower():
        if not (PREFIX / "dosdevices" / f"{letter}:").exists():
            drives.add(letter)
    if drives.letters() != every:
        fail(f"the prefix shows the drives {drives.letters()}")
    run.wait_for_drives()
    seed_registry("vantrove_UC", 3)
    box = run.run_addbar("done", "all-drives-done", WORK, ADDBAR)
    run.expect_box_text("final box", box, done_text(26))
    check_new_drive_bar(registry_snapshot(),
                        NewDriveBar("vantrove_UC", "vantrove_UC.global", "3_60162", 4, 0, 26,
                                    every))
    return f"26 buttons, bookmarks 00_A to 19_Z, exit {box.length}"


# addbar polls six times, half a second apart, before it asks again. Windows
# may end each Sleep up to a clock tick (16 ms) early; Wine does not.
ASKED_AGAIN_AFTER_MS = 6 * 500 - 6 * 16


def window_never_closes(run):
    seed_registry("vantrove_UC", 3)
    before = export_settings(run.runs / "before.reg")
    manager, _ = run.start_file_manager("/D:never")
    addbar = run.start("addbar", WORK, ADDBAR)
    prompt = screen.read_box("Error", BOX_WITHIN)
    if prompt is None:
        fail(f"no prompt captioned 'Error' within {BOX_WITHIN} s")
    # Timed from before the OK: addbar's polls start after it, by the same
    # monotonic clock Wine's Sleep runs on.
    started = time.monotonic()
    run.answer_box(prompt, "ok")
    again = screen.read_box("Error", BOX_WITHIN)
    if again is None:
        fail(f"no second prompt within {BOX_WITHIN} s of OK")
    waited = int((time.monotonic() - started) * 1000)
    if again.text != PROMPT:
        fail(f"the second prompt says '{again.text}'")
    # Generous above: asked again later, not never; reading the box on a busy
    # machine takes its time.
    if not ASKED_AGAIN_AFTER_MS <= waited <= BOX_WITHIN * 1000:
        fail(f"the prompt came back after {waited} ms, expected about 3 s")
    if not manager.running():
        fail("fm-standin /D:never ended")
    run.answer_box(again, "cancel")
    code = ended(addbar, f"addbar still runs {END_WITHIN} s after Cancel")
    if code != 100:
        fail(f"exit code {code} after Cancel, expected 100")
    if export_settings(run.runs / "after.reg") != before:
        fail("the settings changed")
    run.close_file_manager()
    return f"the prompt came back after {waited} ms; Cancel then gave 100, settings unchanged"


SCENARIOS = [
    ("1", "registry, default layout", registry_default),
    ("2", "registry, /S:work", registry_layout),
    ("3a", "/I: beside the program", ini_beside_program),
    ("3b", "/I: absolute path elsewhere", ini_absolute),
    ("3c", "/I: in the current folder", ini_current_folder),
    ("4", "drives from dosdevices", added_drives),
    ("6a", "running file manager, OK", prompt_ok),
    ("6b", "running file manager, Cancel", prompt_cancel),
    ("7a", "missing INI file", missing_ini),
    ("7b", "read-only INI file", read_only_ini),
    ("7c", "a folder as /I:", folder_as_ini),
    ("7d", "no toolbar settings", no_settings),
    ("7e", "26 drives", all_drives),
    ("7f", "a window that never closes", window_never_closes),
]


def reset_state():
    """Every scenario starts from no settings and the prefix's own drives."""
    drives.remove_added()
    drives.wait_until_seen()
    delete_settings()


def run_scenario(number, title, scenario):
    """Runs one scenario in a folder of its own; True when it passed."""
    runs = WORK / "runs" / number
    runs.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    reset_state()
    context = ScenarioRun(runs)
    try:
        detail = scenario(context)
        passed = True
    except CheckFailed as failure:
        detail, passed = str(failure), False
    except Exception:  # a fault of the script itself: its trace goes to the log
        log = WORK / "logs" / f"{number}.log"
        log.write_text(traceback.format_exc())
        detail, passed = f"the scenario broke, see {log}", False
    context.end_leftovers()
    if passed:
        print(f"PASS {number:<3} {title}: {detail} ({int(time.monotonic() - started)}s)",
              flush=True)
    else:
        print(f"FAIL {number:<3} {title}: {detail}", flush=True)
    return passed


def main(chosen):
    """Runs the scenarios numbered in `chosen`, or all of them."""
    unknown = set(chosen) - {number for number, _, _ in SCENARIOS}
    if unknown:
        print(f"e2e-wine: no scenario {' '.join(sorted(unknown))}", file=sys.stderr)
        return 2
    print(f"e2e-wine: {BUILD} on display {os.environ.get('DISPLAY')}, Wine prefix {PREFIX} "
          f"(drives {drives.letters()})", flush=True)
    try:
        failures = sum(not run_scenario(*entry) for entry in SCENARIOS
                       if not chosen or entry[0] in chosen)
        reset_state()
    finally:
        drives.remove_added()
    print(f"e2e-wine: screenshots in {SHOTS}")
    if failures:
        print(f"e2e-wine: {failures} scenario(s) failed; logs in {WORK / 'logs'}")
        return 1
    print("e2e-wine: all scenarios passed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
