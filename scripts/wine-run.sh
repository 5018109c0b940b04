#!/usr/bin/env bash
# Runs a Windows program of the build under 32-bit Wine, for CTest and by hand.
# The Wine prefix lives in the build folder (created on first use); windows
# need a display, so an Xvfb server is started when none is set.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

addbar_wine_env "${ADDBAR_WINE_BUILD:-$here/../build/windows}" || exit 125
exec timeout --kill-after=10 "${ADDBAR_WINE_TIMEOUT:-600}" wine "$@"
