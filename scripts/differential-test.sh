#!/usr/bin/env bash
# Runs the same registry and profile-file calls on the Linux stand-in and on
# Wine (tools/platform-replay), compares what they left behind as data and
# fails on any difference that tests/differential/known-differences.txt does
# not list with its reason.
#
#   scripts/differential-test.sh [--detailed] [linux build] [windows build] [scenario...]
#
# The build folders default to build/linux and build/windows (the presets'),
# each with platform-replay built. --detailed shows both sides of known
# differences too. The dumps stay in the work folder named at the end.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
detailed=()
if [ "${1:-}" = --detailed ]; then
  detailed=(--detailed)
  shift
fi
linux_build=$(cd "${1:-$root/build/linux}" && pwd)
windows_build=$(cd "${2:-$root/build/windows}" && pwd)
shift $(($# < 2 ? $# : 2))
scenarios=("$@")

for program in "$linux_build/platform-replay" "$linux_build/platform-replay-compare" \
               "$windows_build/platform-replay.exe"; do
  if [ ! -x "$program" ] && [ ! -f "$program" ]; then
    echo "differential-test: $program is missing; build the target platform-replay" >&2
    exit 2
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/addbar-differential.XXXXXX")
mkdir -p "$work/linux-files" "$work/wine-files"

# The stand-in keeps its registry in a file of this run's own.
ADDBAR_REGISTRY="$work/linux-registry.reg" \
  "$linux_build/platform-replay" "$work/linux-files" "$work/linux.dump" "${scenarios[@]}"

# Wine reaches the host's root as drive Z:. Runs of this script share the
# prefix's registry key, so they take turns.
wine_path() { printf 'Z:%s' "${1//\//\\}"; }
export ADDBAR_WINE_BUILD="$windows_build"
export WINEPREFIX="${WINEPREFIX:-$windows_build/wineprefix}"
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock -w 120 9 || { echo "differential-test: another run holds the Wine prefix" >&2; exit 2; }
  "$root/scripts/wine-run.sh" "$windows_build/platform-replay.exe" \
    "$(wine_path "$work/wine-files")" "$(wine_path "$work/wine.dump")" "${scenarios[@]}"
) 9>"$WINEPREFIX.differential.lock"

status=0
"$linux_build/platform-replay-compare" "${detailed[@]}" "$work/linux.dump" "$work/wine.dump" \
  "$root/tests/differential/known-differences.txt" || status=$?
echo "differential-test: dumps and files in $work"
exit "$status"
