#!/usr/bin/env bash
# Runs a Windows program of a build under Wine, for CTest and by hand, with
# the loader that fits the program's bitness:
#   scripts/wine-run.sh build/windows64/addbar.exe /I:x.ini
# The build folder (and so the Wine prefix, in it, made on first use) is
# ADDBAR_WINE_BUILD when set, else the nearest folder above the program that
# holds wine-arch, else build/windows. Windows need a display: an Xvfb is
# started when none is set (scripts/wine-env.sh stop <build> ends it).
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

build=${ADDBAR_WINE_BUILD:-}
if [ -z "$build" ] && [ -f "${1:-}" ]; then
  folder=$(cd "$(dirname "$1")" && pwd)
  while [ "$folder" != / ] && [ ! -f "$folder/wine-arch" ]; do folder=$(dirname "$folder"); done
  [ -f "$folder/wine-arch" ] && build=$folder
fi
build=$(cd "${build:-$here/../build/windows}" 2>/dev/null && pwd) || {
  echo "wine-run: no build folder ${build:-build/windows}" >&2
  exit 125
}
# Wine's error messages on (they are silent in a run that goes well), so that
# a program Wine fails to start says why.
export WINEDEBUG=${WINEDEBUG:-err+all}
addbar_wine_env "$build" || exit 125
addbar_wine_keep_server

loader=$(addbar_wine_loader "${1:-}") || exit 125

# Wine's background processes (its server and services) outlive the program
# and keep whatever output they inherited open: a caller reading our output
# through a pipe (CTest does) would wait for them. So the program writes to
# files of our own, copied out once it has ended.
output=$(mktemp "${TMPDIR:-/tmp}/addbar-wine-out.XXXXXX") || exit 125
errors=$(mktemp "${TMPDIR:-/tmp}/addbar-wine-err.XXXXXX") || exit 125
trap 'rm -f -- "$output" "$errors"' EXIT

run_once() {
  timeout --kill-after=10 "${ADDBAR_WINE_TIMEOUT:-600}" "$loader" "$@" </dev/null >"$output" 2>"$errors"
}
run_once "$@"
status=$?
# Every program CTest runs here prints before it can fail. One that ended
# with a failure before printing anything was not started by Wine (the fixed
# address layout of scripts/wine/loader* removed the one cause seen): what
# Wine said is shown, the start is counted in the build folder's
# wine-run-retries.log (the test command reports the count), and the program
# runs once more.
if [ "$status" -ne 0 ] && [ ! -s "$output" ] && [ "${ADDBAR_WINE_RETRY:-1}" = 1 ]; then
  note="wine-run: $1 ended with status $status before it printed anything (loader $loader,"
  note+=" prefix $WINEPREFIX, display $DISPLAY)"
  echo "$note; Wine said: $(tr '\n' ' ' <"$errors")" >&2
  echo "$note" >>"$build/wine-run-retries.log"
  echo "wine-run: running it once more" >&2
  run_once "$@"
  status=$?
fi
cat -- "$output"
cat -- "$errors" >&2
exit "$status"
