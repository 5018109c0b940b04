#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine, for CTest and by hand.
# The Wine prefix lives in the build folder (created on first use); windows
# need a display, so an Xvfb server is started when none is set.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

addbar_wine_env "${ADDBAR_WINE_BUILD:-$here/../build/windows}" || exit 125

# Wine's background processes (its server and services) outlive the program
# and keep whatever output they inherited open: a caller reading our output
# through a pipe (CTest does) would wait for them. So the program writes to
# files of our own, copied out once it has ended.
output=$(mktemp "${TMPDIR:-/tmp}/addbar-wine-out.XXXXXX") || exit 125
errors=$(mktemp "${TMPDIR:-/tmp}/addbar-wine-err.XXXXXX") || exit 125
trap 'rm -f -- "$output" "$errors"' EXIT

timeout --kill-after=10 "${ADDBAR_WINE_TIMEOUT:-600}" wine "$@" </dev/null >"$output" 2>"$errors"
status=$?
cat -- "$output"
cat -- "$errors" >&2
exit "$status"
