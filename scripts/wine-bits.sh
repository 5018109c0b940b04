#!/usr/bin/env bash
# Which Windows build runs the Wine suites on this machine: prints 32 where
# the kernel runs 32-bit programs (so 32-bit Wine starts), else 64, and one
# line on standard error saying what it found.
#
#   ADDBAR_WINE_BITS=64    the 64-bit path, even where 32-bit programs run
#   ADDBAR_WINE_BITS=32    the 32-bit path; refused (exit 1) where they don't
#
# The check runs one 32-bit program, the 32-bit Wine server, with --version,
# once and for at most ADDBAR_WINE32_PROBE_SECONDS (default 20) seconds.
# ADDBAR_WINE32_PROBE names another program to run instead (for its tests).
set -u

probe=${ADDBAR_WINE32_PROBE:-/usr/lib/wine/wineserver32}
limit=${ADDBAR_WINE32_PROBE_SECONDS:-20}
wanted=${ADDBAR_WINE_BITS:-}

case "$wanted" in
  '' | 32 | 64) ;;
  *) echo "wine-bits: ADDBAR_WINE_BITS is 32 or 64, not '$wanted'" >&2; exit 2 ;;
esac

found=$(timeout --kill-after=5 "$limit" "$probe" --version 2>&1 </dev/null)
status=$?
if [ "$status" -eq 0 ]; then
  runs32=yes
  why="$probe --version ran"
elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  runs32=no
  why="$probe --version did not end within $limit s"
else
  runs32=no
  why="$probe --version failed with status $status${found:+: ${found//$'\n'/ }}"
fi

if [ "$wanted" = 32 ] && [ "$runs32" = no ]; then
  echo "wine: ADDBAR_WINE_BITS=32 asks for 32-bit Wine, but 32-bit programs do not run here ($why)" >&2
  exit 1
fi
if [ "$wanted" = 64 ]; then
  echo "wine: the 64-bit build runs every Wine suite, as ADDBAR_WINE_BITS=64 asks" \
    "(32-bit programs $([ "$runs32" = yes ] || echo "do not ")run here: $why)" >&2
  echo 64
elif [ "$runs32" = yes ]; then
  echo "wine: 32-bit programs run here ($why): the 32-bit build runs every Wine suite," \
    "the 64-bit build its unit suites too" >&2
  echo 32
else
  echo "wine: 32-bit programs do not run here ($why): the 64-bit build runs every Wine suite" >&2
  echo 64
fi
