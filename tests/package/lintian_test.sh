#!/usr/bin/env bash
# lintian on the .deb that deb_test.sh left: no errors. Exit 77 (skipped)
# where lintian is not installed.
#   lintian_test.sh <folder holding the .deb>
set -euo pipefail
if ! command -v lintian >/dev/null; then
  echo "lintian is not installed (scripts/install-deps.sh installs it): skipped"
  exit 77
fi
debs=("$1"/*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no .deb in $1" >&2; exit 1; }
# lintian leaves files of its own in the temporary folder: it gets one of
# ours beside the .deb, removed when it ends.
lintian_tmp=$(mktemp -d "$1/lintian-tmp.XXXXXX")
trap 'rm -rf "$lintian_tmp"' EXIT
TMPDIR=$lintian_tmp lintian --fail-on error --display-info "${debs[@]}"
echo "lintian: no errors"
