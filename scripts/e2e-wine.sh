#!/usr/bin/env bash
# End to end under Wine, the way a user meets the Windows build: addbar.exe
# and the stand-in file manager run under 32-bit Wine in a virtual X display
# of their own; the message boxes are read back and answered from outside
# (xdotool), and the results are checked with Wine's own reg tool and in the
# INI files. Screenshots of the boxes and of the file manager's drive bar go
# to <build>/e2e-screenshots.
#
#   scripts/e2e-wine.sh [build folder [scenario...]]     default: build/windows, all
#
# Scenarios are named by their numbers (1, 3a, 7f …) as the output lists them.
# This script prepares the display, the Wine prefix and the script's own
# Windows helpers (scripts/e2e/*.cpp); the scenarios themselves are in
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

for program in wine wineserver Xvfb xdotool import i686-w64-mingw32-g++ python3 timeout flock; do
  command -v "$program" >/dev/null || die "$program is missing (scripts/install-deps.sh installs it)"
done
for program in addbar.exe fm-standin.exe; do
  [ -f "$build/$program" ] || die "$build/$program is missing: build the windows preset first"
done

xvfb_pid=
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 20 wineserver -k >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$xvfb_pid" 2>/dev/null
  fi
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

# A display of our own: Xvfb picks a free number and writes it to fd 3.
exec 3>"$work/display"
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
  >"$work/logs/xvfb.log" 2>&1 </dev/null 9>&- &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start within 30 s (see $work/logs/xvfb.log)"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
# No downloads of Mono or Gecko on a fresh prefix.
export WINEDLLOVERRIDES='mscoree,mshtml='

# The lock stays with this script: Wine's server must not keep it.
wine_run() { timeout --kill-after=5 "${WINE_LIMIT:-60}" wine "$@" 9>&-; }

# Windows spelling of a path of this machine.
win_path() {
  local path
  path=$(wine_run winepath -w "$1") || return 1
  printf '%s' "${path%$'\r'}"
}

if [ ! -f "$prefix/.e2e-ready" ]; then
  mkdir -p "$prefix"
  timeout --kill-after=10 120 wineboot -i >"$work/logs/wineboot.log" 2>&1 9>&- ||
    die "creating the Wine prefix $prefix failed or took over 2 minutes"
  cat >"$work/prefix-settings.reg" <<'EOF'
REGEDIT4

; A crashing program just ends: no debugger dialog waiting for a click.
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"
"Debugger"="false"

; Without a window manager, Wine draws the captions itself, and a window that
; is told to go goes at once instead of waiting for a manager to answer.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
  wine_run regedit /s "$(win_path "$work/prefix-settings.reg")" ||
    die "could not set up the Wine prefix $prefix"
  # Wine's own symbol font, for the close button in the captions.
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
  fi
  touch "$prefix/.e2e-ready"
fi

# Small Windows helpers of the script's own: one reads message boxes, one lists drives.
for helper in box_reader drive_list; do
  exe=$tools/${helper//_/-}.exe
  if [ ! -f "$exe" ] || [ "$here/e2e/$helper.cpp" -nt "$exe" ]; then
    timeout 120 i686-w64-mingw32-g++ -O2 -Wall -Wextra -municode -static \
      -o "$exe" "$here/e2e/$helper.cpp" >"$work/logs/$helper-build.log" 2>&1 ||
      die "could not build $exe (see $work/logs/$helper-build.log)"
  fi
done

# The scenarios: -B leaves no compiled files in the source tree.
export E2E_BUILD=$build E2E_WORK=$work E2E_SHOTS=$shots E2E_TOOLS=$tools
python3 -B "$here/e2e/scenarios.py" "${@:2}" 9>&-
