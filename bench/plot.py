#!/usr/bin/env python3
"""Draws time against store size from the figures of whole_runs.py (the
stand-in and its floor) and wine_runs.py (Wine, its process start taken off):
one panel per kind of store, first runs, log-log. Needs gnuplot (Debian's
gnuplot-nox).

    bench/plot.py --standin after.json [--wine wine.json] --out docs/performance.png
"""
import argparse
import json
import os
import subprocess
import tempfile

KINDS = [("ini16", "INI file, UTF-16"), ("ini8", "INI file, 8-bit"), ("reg", "Registry store")]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--standin", required=True)
    parser.add_argument("--wine")
    parser.add_argument("--out", required=True)
    parser.add_argument("--run", default="first", choices=["first", "second"])
    args = parser.parse_args()
    with open(args.standin) as source:
        standin = json.load(source)
    wine = None
    if args.wine:
        with open(args.wine) as source:
            wine = json.load(source)

    folder = tempfile.mkdtemp(prefix="addbar-plot-")
    script = ['set terminal pngcairo size 1500,520 font "sans,11"',
              'set output "%s"' % os.path.abspath(args.out),
              'set multiplot layout 1,3 title "addbar, %s run with 26 drives: time against store size"'
              % args.run,
              "set logscale xy", "set xrange [0.05:20]", 'set xlabel "store size (MB)"', 'set ylabel "seconds"',
              "set key top left", "set grid"]
    for kind, title in KINDS:
        rows = sorted((row for row in standin["results"] if row["kind"] == kind),
                      key=lambda row: row["size_bytes"])
        if not rows:
            continue
        data = os.path.join(folder, kind + ".dat")
        with open(data, "w") as out:
            for row in rows:
                wine_time = "NaN"
                if wine is not None:
                    for other in wine["results"]:
                        if other["kind"] == kind and other["size"] == row["size"]:
                            wine_time = "%g" % max(other["wine_runs"][args.run] - wine["wine_start"],
                                                   1e-3)
                out.write("%g %g %g %s\n" % (row["size_bytes"] / 1e6, row[args.run]["time"],
                                             row[args.run]["floor"], wine_time))
        script.append('set title "%s"' % title)
        series = ['"%s" using 1:2 with linespoints lw 2 title "stand-in"' % data,
                  '"%s" using 1:3 with linespoints lw 2 dt 2 title "floor"' % data]
        if wine is not None:
            series.append('"%s" using 1:4 with linespoints lw 2 title "Wine (less process start)"'
                          % data)
        script.append("plot " + ", ".join(series))
    script.append("unset multiplot")
    subprocess.run(["gnuplot"], input="\n".join(script), text=True, check=True)
    print(args.out)


if __name__ == "__main__":
    main()
