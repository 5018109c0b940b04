#!/usr/bin/env bash
# End to end under Wine, the way a user meets the Windows build: addbar.exe
# and the stand-in file manager run under Wine (32- or 64-bit, as the build
# is) in a virtual X display of their own; the message boxes are read back and answered from outside
# (xdotool), and the results are checked with Wine's own reg tool and in the
# INI files. Screenshots of the boxes and of the file manager's drive bar go
# to <build>/e2e-screenshots.
#
#   scripts/e2e-wine.sh [build folder [scenario...]]     default: build/windows, all
#   scripts/e2e-wine.sh build/windows64                   the 64-bit build
#
# Scenarios are named by their numbers (1, 3a, 7f …) as the output lists them.
# This script gets the display and the Wine prefix from scripts/wine-env.sh
# and builds the script's own Windows helpers (scripts/e2e/*.cpp); the scenarios themselves are in
# scripts/e2e/scenarios.py (Python 3, standard library only). Every scenario
# reads the boxes it meets back (text, caption, buttons) and checks the exit
# code against the length of the final box's text.
# The Wine prefix is <build>/e2e-prefix, kept between runs (delete it to start
# afresh); scratch files and logs are in <build>/e2e-work. One line per
# scenario; the exit status is 1 when any scenario fails, 2 when the checks
# could not start. Every wait is for an event, and bounded.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build/windows}" 2>/dev/null && pwd) || {
  echo "e2e-wine: no build folder ${1:-build/windows}" \
    "(cmake --preset windows && cmake --build --preset windows)" >&2
  exit 2
}
prefix=$build/e2e-prefix
work=$build/e2e-work
shots=$build/e2e-screenshots
tools=$build/e2e-tools

# ---- set-up and clean-up ---------------------------------------------------------------

die() {
  echo "e2e-wine: $*" >&2
  exit 2
}

# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
arch=$(addbar_wine_arch_of_build "$build") || die "$build is not a Windows build folder"
# The helpers are built for the build's own processor, so one loader runs all.
if [ "$arch" = win64 ]; then compiler=x86_64-w64-mingw32-g++; else compiler=i686-w64-mingw32-g++; fi
for program in Xvfb xdotool import "$compiler" python3 timeout flock; do
  command -v "$program" >/dev/null || die "$program is missing (scripts/install-deps.sh installs it)"
done
for program in addbar.exe fm-standin.exe; do
  [ -f "$build/$program" ] || die "$build/$program is missing: build the Windows preset first"
done

started=
cleanup() {
  [ -n "$started" ] && addbar_wine_stop "$build" "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# One run at a time per build folder.
exec 9>"$build/e2e.lock"
flock -w 300 9 || die "another run of e2e-wine.sh on $build did not end within 5 minutes"

# Only the script's own folders in the build folder are wiped ($build is the
# absolute path found above, never empty).
rm -rf -- "$build/e2e-work" "$build/e2e-screenshots"
mkdir -p "$work/logs" "$work/drives" "$shots" "$tools" || die "cannot make $work"

# A display of our own (the screenshots show nothing else) and the prefix of
# the scenarios, apart from the one the unit suites use. The lock stays with
# this script: neither Xvfb nor Wine's server may keep it.
unset DISPLAY
export WINEPREFIX=$prefix
started=yes
addbar_wine_env "$build" "$work" 9>&- ||
  die "could not set up Wine in $prefix (see $work/xvfb.log)"

# Small Windows helpers of the script's own: one reads message boxes, one lists drives.
for helper in box_reader drive_list; do
  exe=$tools/${helper//_/-}.exe
  if [ ! -f "$exe" ] || [ "$here/e2e/$helper.cpp" -nt "$exe" ]; then
    timeout 120 "$compiler" -O2 -Wall -Wextra -municode -static \
      -o "$exe" "$here/e2e/$helper.cpp" >"$work/logs/$helper-build.log" 2>&1 ||
      die "could not build $exe (see $work/logs/$helper-build.log)"
  fi
done

# The scenarios: -B leaves no compiled files in the source tree.
export E2E_BUILD=$build E2E_WORK=$work E2E_SHOTS=$shots E2E_TOOLS=$tools
python3 -B "$here/e2e/scenarios.py" "${@:2}" 9>&-
