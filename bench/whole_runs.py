#!/usr/bin/env python3
"""Whole runs of addbar on large stores, each against its floor.

For every store (INI file in UTF-16 and in 8-bit text, registry store; each
size asked for) and every repeat: a fresh copy of the store, a first run of
addbar with 26 drives, the floor of that run, a second run, its floor. The
floor is what no implementation can avoid: reading the file once, plus one
durable atomic rewrite (temporary file, write, fsync, rename, fsync of the
folder) per write call the run makes. It is measured right after each run, on
the same file, so both see the same machine load; the ratio run / floor is
what the targets speak of. Medians over the repeats are printed.

The write calls are counted once per store in a separate run under gdb
(nothing is timed there): RegSetValueExW and WritePrivateProfileString/
StructW are the write calls; renames of the store are the rewrites made.
Bytes read and written come from /proc/<pid>/io of the timed run.

With --wine, the Windows build runs the same stores under Wine (see
wine_runs.py); --plot draws time against store size.

    bench/whole_runs.py --size 100K --size 1M --size 10M --repeats 5
"""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_stores  # noqa: E402

DRIVES = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
WRITE_CALLS = ["RegSetValueExW", "WritePrivateProfileStringW", "WritePrivateProfileStructW"]
KIND_NAMES = {"ini16": "INI UTF-16", "ini8": "INI 8-bit", "reg": "registry"}


# ---- The floor ----------------------------------------------------------------

def read_once(path):
    start = time.perf_counter()
    fd = os.open(path, os.O_RDONLY)
    try:
        while os.read(fd, 1 << 20):
            pass
    finally:
        os.close(fd)
    return time.perf_counter() - start


def durable_rewrite(target, data):
    start = time.perf_counter()
    temporary = target + ".new"
    fd = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        view = memoryview(data)
        while view:
            view = view[os.write(fd, view):]
        os.fsync(fd)
    finally:
        os.close(fd)
    os.rename(temporary, target)
    folder = os.open(os.path.dirname(target), os.O_RDONLY | os.O_DIRECTORY)
    try:
        os.fsync(folder)
    finally:
        os.close(folder)
    return time.perf_counter() - start


def floor_of(store, rewrites):
    """Reading `store` once plus `rewrites` durable rewrites of its bytes."""
    total = read_once(store)
    with open(store, "rb") as source:
        data = source.read()
    target = os.path.join(os.path.dirname(store), "floor-target")
    for _ in range(rewrites):
        total += durable_rewrite(target, data)
    if os.path.exists(target):
        os.unlink(target)
    return total


# ---- Running addbar -------------------------------------------------------------

def command_for(addbar, kind, store):
    return [addbar, "/I:" + store] if kind.startswith("ini") else [addbar]


def environment_for(kind, store, work):
    env = dict(os.environ)
    env["ADDBAR_DRIVES"] = DRIVES
    env["ADDBAR_WINDOWS"] = os.path.join(work, "windows")  # no file manager runs there
    env["ADDBAR_REGISTRY"] = store if kind == "reg" else os.path.join(work, "unused.reg")
    env.pop("ADDBAR_ANSWERS", None)
    return env


def proc_io(pid):
    counts = {}
    with open("/proc/%d/io" % pid) as io:
        for line in io:
            name, value = line.split(":")
            counts[name.strip()] = int(value)
    return counts


def timed_run(command, env, work):
    """Wall time of one run, its processor time, and the bytes it read and wrote."""
    with open(os.path.join(work, "stderr.txt"), "wb") as errors:
        start = time.perf_counter()
        process = subprocess.Popen(command, env=env, cwd=work, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=errors)
        # Waited for without reaping, so that its I/O counts can still be read.
        os.waitid(os.P_PID, process.pid, os.WEXITED | os.WNOWAIT)
        elapsed = time.perf_counter() - start
        io = proc_io(process.pid)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = code = os.waitstatus_to_exitcode(status)
    if code not in (60, 61):
        with open(os.path.join(work, "stderr.txt")) as errors:
            raise RuntimeError("addbar ended with %d: %s" % (code, errors.read()))
    return elapsed, usage.ru_utime + usage.ru_stime, io["rchar"], io["wchar"]


def process_start(addbar, repeats):
    """Median wall time of `addbar --version`: starting and ending the program
    with no store at all, a cost the floor leaves out."""
    times = []
    for _ in range(max(repeats, 5)):
        start = time.perf_counter()
        subprocess.run([addbar, "--version"], stdout=subprocess.DEVNULL, check=True)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def counted_run(command, env, work):
    """The write calls and renames of one run, counted under gdb."""
    script = ["-batch", "-nx", "-ex", "set pagination off", "-ex", "set breakpoint pending on"]
    for name in WRITE_CALLS:
        script += ["-ex", 'dprintf %s,"addbar-count write\\n"' % name]
    script += ["-ex", 'dprintf rename,"addbar-count rename\\n"', "-ex", "run"]
    result = subprocess.run(["gdb"] + script + ["--args"] + command, env=env, cwd=work,
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, check=True)
    lines = result.stdout.splitlines()
    return lines.count("addbar-count write"), lines.count("addbar-count rename")


# ---- One store -------------------------------------------------------------------

def measure_store(addbar, kind, pristine, repeats, work):
    """Per run ("first", "second"): lists of the figures over the repeats."""
    store = os.path.join(work, os.path.basename(pristine))
    env = environment_for(kind, store, work)
    command = command_for(addbar, kind, store)
    counts = {}
    shutil.copyfile(pristine, store)
    for run in ("first", "second"):
        counts[run] = counted_run(command, env, work)
    figures = {run: {"time": [], "cpu": [], "floor": [], "read": [], "written": []} for run in counts}
    for _ in range(repeats):
        shutil.copyfile(pristine, store)
        for run in ("first", "second"):
            elapsed, cpu, read, written = timed_run(command, env, work)
            floor = floor_of(store, counts[run][0])
            figures[run]["time"].append(elapsed)
            figures[run]["cpu"].append(cpu)
            figures[run]["floor"].append(floor)
            figures[run]["read"].append(read)
            figures[run]["written"].append(written)
    result = {}
    for run, lists in figures.items():
        ratios = [t / f for t, f in zip(lists["time"], lists["floor"])]
        result[run] = {
            "time": statistics.median(lists["time"]),
            "cpu": statistics.median(lists["cpu"]),
            "floor": statistics.median(lists["floor"]),
            "ratio": statistics.median(ratios),
            "bytes_read": statistics.median(lists["read"]),
            "bytes_written": statistics.median(lists["written"]),
            "write_calls": counts[run][0],
            "rewrites": counts[run][1],
            "store_bytes": os.path.getsize(store),
        }
    return result


def print_table(results):
    print("%-11s %5s %-6s %9s %8s %9s %6s %6s %8s %10s %10s %11s" % (
        "store", "size", "run", "time ms", "cpu ms", "floor ms", "ratio", "writes", "renames",
        "read KB", "written KB", "ms/write"))
    for row in results:
        for run in ("first", "second"):
            figure = row[run]
            per_write = figure["time"] * 1000 / figure["write_calls"] if figure["write_calls"] else 0
            print("%-11s %5s %-6s %9.1f %8.1f %9.1f %6.2f %6d %8d %10.0f %10.0f %11.2f" % (
                KIND_NAMES[row["kind"]], row["size"], run, figure["time"] * 1000,
                figure["cpu"] * 1000,
                figure["floor"] * 1000, figure["ratio"], figure["write_calls"],
                figure["rewrites"], figure["bytes_read"] / 1000,
                figure["bytes_written"] / 1000, per_write))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--addbar", default=os.path.join(HERE, "..", "build", "linux", "addbar"))
    parser.add_argument("--size", action="append")
    parser.add_argument("--kind", action="append", choices=sorted(KIND_NAMES))
    parser.add_argument("--repeats", type=int, default=5)
    parser.add_argument("--stores", default=os.path.join(HERE, "..", "build", "bench", "stores"))
    parser.add_argument("--json", help="also write the figures here")
    args = parser.parse_args()
    sizes = [make_stores.parse_size(text) for text in args.size or ["100K", "1M", "10M"]]
    kinds = args.kind or ["ini16", "ini8", "reg"]
    addbar = os.path.abspath(args.addbar)

    results = []
    os.makedirs(args.stores, exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="addbar-bench-", dir=os.path.dirname(
            os.path.abspath(args.stores))) as work:
        os.makedirs(os.path.join(work, "windows"))
        for size in sizes:
            for kind in kinds:
                pristine = make_stores.ensure_store(args.stores, kind, size)
                row = {"kind": kind, "size": make_stores.size_label(size),
                       "size_bytes": os.path.getsize(pristine)}
                row.update(measure_store(addbar, kind, pristine, args.repeats, work))
                results.append(row)
                print("done: %s %s" % (KIND_NAMES[kind], row["size"]), file=sys.stderr)
    start = process_start(addbar, args.repeats)
    print_table(results)
    print("process start (addbar --version, no store): %.1f ms" % (start * 1000))
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"machine": machine(), "addbar": addbar, "repeats": args.repeats,
                       "process_start": start, "results": results}, out, indent=1)


def machine():
    model = ""
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return {"cpu": model, "cores": os.cpu_count(), "kernel": os.uname().release,
            "load": os.getloadavg()}


if __name__ == "__main__":
    main()
