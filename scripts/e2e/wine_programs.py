"""Windows programs under Wine, for the end-to-end scenarios: one run to its
end, one started beside the scenario, and the drives of the Wine prefix.

Every wait is for an event and has a bound; the bounds are long, so that only
a wait that went wrong reaches them, however busy the machine is.
"""

import os
import pathlib
import subprocess
import tempfile
import time

# How long a program run to its end may take.
RUN_LIMIT = 120
# How long a program started beside a scenario may run.
BACKGROUND_LIMIT = 300


def wait_until(seconds, check, *args):
    """Calls check(*args) until it gives a true value, for about `seconds` at
    most; returns that value, or None when the time ran out."""
    deadline = time.monotonic() + seconds
    while True:
        result = check(*args)
        if result:
            return result
        if time.monotonic() > deadline:
            return None
        time.sleep(0.1)


def _wine_command(arguments, limit):
    # The loader that fits the build, as scripts/wine-env.sh chose it.
    return ["timeout", "--kill-after=5", str(limit), os.environ["ADDBAR_WINE_LOADER"], *arguments]


class Finished:
    """A program run to its end: its exit code and its output, as UTF-8 text
    byte for byte (line breaks as the program wrote them)."""

    def __init__(self, returncode, stdout, stderr):
        self.returncode = returncode
        self.stdout = stdout.decode("utf-8", "replace")
        self.stderr = stderr.decode("utf-8", "replace")


def run(arguments, limit=RUN_LIMIT, folder=None):
    """Runs `wine <arguments>` to its end. The output goes to files, not pipes:
    Wine's server and services, started along with the program, inherit its
    output and keep a pipe open for seconds after the program has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        done = subprocess.run(_wine_command(arguments, limit), cwd=folder, stdout=out,
                              stderr=err, stdin=subprocess.DEVNULL, check=False)
        out.seek(0)
        err.seek(0)
        return Finished(done.returncode, out.read(), err.read())


def win_path(path):
    """The Windows spelling of a path of this machine."""
    done = run(["winepath", "-w", str(path)])
    if done.returncode != 0:
        raise RuntimeError(f"winepath failed on {path}")
    return done.stdout.rstrip("\r\n")


class Started:
    """A Windows program started in the background: `wine <arguments>` in
    `folder`, its output in <runs>/<name>.out and .err."""

    def __init__(self, runs, name, folder, arguments):
        self.name = name
        self.output_file = pathlib.Path(runs) / f"{name}.out"
        with open(self.output_file, "wb") as out, open(pathlib.Path(runs) / f"{name}.err",
                                                        "wb") as err:
            self._process = subprocess.Popen(_wine_command(arguments, BACKGROUND_LIMIT),
                                             cwd=folder, stdout=out, stderr=err,
                                             stdin=subprocess.DEVNULL)

    def running(self):
        return self._process.poll() is None

    def exit_code(self, within):
        """The exit code once the program has ended, within `within` seconds;
        None when it runs on."""
        try:
            return self._process.wait(timeout=within)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        """Standard output so far, without carriage returns."""
        return self.output_file.read_text(errors="replace").replace("\r", "")


class PrefixDrives:
    """The drives of the Wine prefix: the links in its dosdevices folder. Drives
    a scenario adds lead into a folder of the script's own."""

    def __init__(self, prefix, drives_folder, drive_list_program):
        self._devices = pathlib.Path(prefix) / "dosdevices"
        self._folder = pathlib.Path(drives_folder)
        self._drive_list = drive_list_program

    def letters(self):
        """The prefix's drive letters in order ("CDZ"): its links that lead somewhere."""
        return "".join(sorted(link.name[0].upper() for link in self._devices.glob("?:")
                              if link.exists()))

    def add(self, letter):
        target = self._folder / letter.lower()
        target.mkdir(parents=True, exist_ok=True)
        link = self._devices / f"{letter.lower()}:"
        if link.is_symlink():
            link.unlink()
        link.symlink_to(target)

    def remove_added(self):
        for link in self._devices.glob("?:"):
            if link.is_symlink() and os.readlink(link).startswith(str(self._folder) + "/"):
                link.unlink()

    def seen_by_programs(self):
        done = run([str(self._drive_list)])
        return done.stdout.replace("\r", "").strip() if done.returncode == 0 else ""

    def wait_until_seen(self):
        """Wine takes the drive list from its object directory, which follows the
        dosdevices links only some seconds later: waits until programs see the
        prefix's drives. None when they do, else what went wrong."""
        want = self.letters()
        if wait_until(60, lambda: self.seen_by_programs() == want):
            return None
        return (f"after 60 s Wine still shows the drives '{self.seen_by_programs()}', "
                f"the prefix has '{want}'")
