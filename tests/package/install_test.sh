#!/usr/bin/env bash
# `cmake --install` of the Linux build into a fresh prefix: the files a user
# gets, and the installed programs run on the sample settings.
#   install_test.sh <cmake> <build folder> <version> <samples folder>
set -euo pipefail
cmake=$1 build=$2 version=$3 samples=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

root=$(mktemp -d "${TMPDIR:-/tmp}/addbar-install.XXXXXX")
trap 'rm -rf -- "$root"' EXIT
prefix="$root/prefix"
"$cmake" --install "$build" --prefix "$prefix"

for file in bin/addbar bin/fm-standin share/man/man1/addbar.1.gz share/man/man1/fm-standin.1.gz \
            share/doc/addbar/copyright share/doc/addbar/changelog.gz \
            share/doc/addbar/examples/registry.reg share/doc/addbar/examples/settings.ini; do
  [ -f "$prefix/$file" ] || { echo "FAIL: $file is not installed" >&2; exit 1; }
done
zcat "$prefix/share/man/man1/addbar.1.gz" | grep -q "^\.TH ADDBAR 1 .*\"addbar $version\"" ||
  { echo "FAIL: the manual page does not carry the version $version" >&2; exit 1; }

"$here/run_installed.sh" "$prefix" "$samples" "$version"
