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

# The dumps stay in the Windows build folder (not in /tmp, which the tests
# leave as they found it), one run at a time.
work="$windows_build/differential"
exec 8>"$windows_build/differential.lock"
flock -w 300 8 || { echo "differential-test: another run on $windows_build did not end" >&2; exit 2; }
rm -rf -- "$work"
mkdir -p "$work/linux-files" "$work/wine-files"

# The stand-in keeps its registry in a file of this run's own.
ADDBAR_REGISTRY="$work/linux-registry.reg" \
  "$linux_build/platform-replay" "$work/linux-files" "$work/linux.dump" "${scenarios[@]}"

# Wine reaches the host's root as drive Z:. The lock fd stays with this
# script, not with Wine's server.
wine_path() { printf 'Z:%s' "${1//\//\\}"; }
export ADDBAR_WINE_BUILD="$windows_build"
"$root/scripts/wine-run.sh" "$windows_build/platform-replay.exe" \
  "$(wine_path "$work/wine-files")" "$(wine_path "$work/wine.dump")" "${scenarios[@]}" 8>&-

status=0
"$linux_build/platform-replay-compare" "${detailed[@]}" "$work/linux.dump" "$work/wine.dump" \
  "$root/tests/differential/known-differences.txt" || status=$?
echo "differential-test: dumps and files in $work"
exit "$status"
