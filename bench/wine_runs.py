#!/usr/bin/env python3
"""The Windows build under Wine on the same stores as the stand-in.

In one run: the call benchmarks (calls_bench) of the Linux build and of the
Windows build under Wine, store by store, with the ratio Wine / stand-in per
call; then whole runs of addbar.exe (first and second, 26 drives) under Wine,
timed from the start of wine until addbar's final message box appears (its
work is done then; the box is closed with xdotool), and Wine's process start
timed apart with a program that ends at once. Registry stores are imported
into a private Wine prefix with Wine's regedit before their runs.

    bench/wine_runs.py --size 100K --size 1M --size 10M
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
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import make_stores  # noqa: E402

KIND_NAMES = {"ini16": "INI UTF-16", "ini8": "INI 8-bit", "reg": "registry"}
VENDOR_KEY = "HKCU\\Software\\Harrowmede Plc"


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_environment(build, prefix):
    """WINEPREFIX, DISPLAY, the loader and the rest, as scripts/wine-env.sh sets
    them for the build's bitness; a display of its own is kept beside the prefix."""
    script = ('. "$1/scripts/wine-env.sh" && addbar_wine_env "$2" "$3" >&2 && env -0')
    env = dict(os.environ, WINEPREFIX=prefix)
    env.pop("DISPLAY", None)
    state = os.path.dirname(prefix)
    output = subprocess.run(["bash", "-c", script, "wine-env", ROOT, build, state], env=env,
                            check=True, capture_output=True).stdout
    env = dict(item.split("=", 1) for item in output.decode().split("\0") if "=" in item)
    # 26 drives, as the stand-in's runs have.
    devices = os.path.join(prefix, "dosdevices")
    for letter in "abcdefghijklmnopqrstuvwxyz":
        link = os.path.join(devices, letter + ":")
        if not os.path.lexists(link):
            os.symlink("/tmp", link)
    # One server for the whole benchmark, started apart with no pipe of ours:
    # a server that a timed wine started would hold our pipes open after the
    # program ended, and it would start Wine afresh in some runs and not others.
    subprocess.run([env["WINESERVER"], "-k"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    subprocess.run([env["WINESERVER"], "-p"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    run_quietly([env["ADDBAR_WINE_LOADER"], "cmd", "/c", "exit"], env)
    return env


def run_quietly(command, env, check=True):
    """Runs `command` to its end. Its output goes to a file, not a pipe: Wine's
    helper processes may keep a pipe open long after the program ended."""
    with tempfile.TemporaryFile() as output:
        result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=output,
                                stderr=subprocess.STDOUT)
        output.seek(0)
        text = output.read().decode(errors="replace")
    if check and result.returncode != 0:
        raise RuntimeError("%s ended with %d:\n%s" % (command[:2], result.returncode, text))
    return text


def call_figures(command, env):
    output = run_quietly(command + ["--benchmark_format=json"], env)
    text = output[output.index("{"):output.rindex("}") + 1]
    figures = {}
    for entry in json.loads(text)["benchmarks"]:
        call = entry["name"].split("/")[1]
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[entry["time_unit"]]
        figures[call] = entry["real_time"] * scale
    return figures


def import_registry(store, env):
    run_quietly([env["ADDBAR_WINE_LOADER"], "reg", "delete", VENDOR_KEY, "/f"], env, check=False)
    run_quietly([env["ADDBAR_WINE_LOADER"], "regedit", "/S", windows_path(store)], env)


class BoxMissed(Exception):
    """The run ended well, but its final box was never seen open: now and then
    under Wine the box is gone before a search finds it. The repeat is made
    again, and the misses are counted."""


def timed_until_box(command, env):
    """Seconds from the start of `command` until a window titled 'done'
    shows; the box is then closed and the program waited for."""
    start = time.perf_counter()
    program = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    # xdotool's own --sync looks only every half second; asking again at once
    # times the box to a few milliseconds.
    deadline = start + 300
    while subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^done$"],
                         env=env, capture_output=True).returncode != 0:
        if time.perf_counter() > deadline or program.poll() is not None:
            program.kill()
            code = program.wait()
            if code in (60, 61):
                raise BoxMissed()
            raise RuntimeError("no final box from %s (it ended with %s)" % (command, code))
    elapsed = time.perf_counter() - start
    for _ in range(50):
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^done$",
                        "windowfocus", "--sync", "key", "Return"], env=env,
                       capture_output=True)
        try:
            program.wait(timeout=0.2)
            break
        except subprocess.TimeoutExpired:
            pass
    program.wait(timeout=60)
    return elapsed


def timed(command, env):
    start = time.perf_counter()
    run_quietly(command, env)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--size", action="append")
    parser.add_argument("--kind", action="append", choices=sorted(KIND_NAMES))
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--stores", default=os.path.join(ROOT, "build", "bench", "stores"))
    parser.add_argument("--linux-bench", default=os.path.join(ROOT, "build", "linux", "bench",
                                                              "calls_bench"))
    parser.add_argument("--windows", default=os.path.join(ROOT, "build", "windows"),
                        help="a Windows build folder, 32-bit (default) or 64-bit")
    parser.add_argument("--json", help="also write the figures here")
    args = parser.parse_args()
    sizes = [make_stores.parse_size(text) for text in args.size or ["100K", "1M", "10M"]]
    kinds = args.kind or ["ini16", "ini8", "reg"]
    prefix = os.path.join(ROOT, "build", "bench", "wineprefix")
    env = wine_environment(args.windows, prefix)
    wine = env["ADDBAR_WINE_LOADER"]
    windows_bench = os.path.join(args.windows, "bench", "calls_bench.exe")
    addbar = os.path.join(args.windows, "addbar.exe")
    noop = os.path.join(args.windows, "bench", "noop.exe")

    starts = [timed([wine, noop], env) for _ in range(args.repeats)]
    start_time = statistics.median(starts)
    print("Wine process start (a program that ends at once): %.0f ms" % (start_time * 1000))
    rows = []
    work = tempfile.mkdtemp(prefix="addbar-wine-", dir=os.path.dirname(prefix))
    try:
        for size in sizes:
            for kind in kinds:
                pristine = make_stores.ensure_store(args.stores, kind, size)
                label = make_stores.size_label(size)
                if kind == "reg":
                    import_registry(pristine, env)
                bench_env = dict(env, ADDBAR_BENCH_STORE=windows_path(pristine),
                                 ADDBAR_BENCH_WORK=windows_path(work))
                wine_calls = call_figures([wine, windows_bench], bench_env)
                linux_env = dict(os.environ, ADDBAR_BENCH_STORE=pristine, ADDBAR_BENCH_WORK=work)
                linux_calls = call_figures([args.linux_bench], linux_env)
                runs = {"first": [], "second": []}
                misses = 0
                while len(runs["second"]) < args.repeats:
                    store = os.path.join(work, os.path.basename(pristine))
                    shutil.copyfile(pristine, store)
                    if kind == "reg":
                        import_registry(pristine, env)
                        command = [wine, addbar]
                    else:
                        command = [wine, addbar, "/I:" + windows_path(store)]
                    try:
                        times = [timed_until_box(command, env) for _ in ("first", "second")]
                    except BoxMissed:
                        misses += 1
                        if misses > 3 * args.repeats:
                            raise RuntimeError("the final box was missed %d times" % misses)
                        continue
                    runs["first"].append(times[0])
                    runs["second"].append(times[1])
                if misses:
                    print("%s %s: %d repeats made again, their box unseen" %
                          (KIND_NAMES[kind], label, misses), file=sys.stderr)
                rows.append({"kind": kind, "size": label, "wine_calls": wine_calls,
                             "standin_calls": linux_calls,
                             "wine_runs": {run: statistics.median(times)
                                           for run, times in runs.items()}})
                print("done: %s %s" % (KIND_NAMES[kind], label), file=sys.stderr)
    finally:
        shutil.rmtree(work, ignore_errors=True)
        subprocess.run(["bash", os.path.join(ROOT, "scripts", "wine-env.sh"), "stop",
                        args.windows, os.path.dirname(prefix)], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    print("\nCalls (stand-in / Wine, median time per call):")
    print("%-11s %5s %-14s %12s %12s %8s" % ("store", "size", "call", "stand-in", "Wine",
                                              "ratio"))
    for row in rows:
        for call, linux_time in row["standin_calls"].items():
            wine_time = row["wine_calls"].get(call)
            if wine_time is None:
                continue
            print("%-11s %5s %-14s %10.1f us %10.1f us %8.2f" % (
                KIND_NAMES[row["kind"]], row["size"], call, linux_time * 1e6, wine_time * 1e6,
                linux_time / wine_time))
    print("\nWhole runs under Wine (until the final box; process start %.0f ms):" %
          (start_time * 1000))
    for row in rows:
        for run in ("first", "second"):
            total = row["wine_runs"][run]
            print("%-11s %5s %-6s %9.0f ms, less the start %9.0f ms" % (
                KIND_NAMES[row["kind"]], row["size"], run, total * 1000,
                (total - start_time) * 1000))
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"wine_start": start_time, "results": rows}, out, indent=1)


if __name__ == "__main__":
    main()
