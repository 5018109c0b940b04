#!/usr/bin/env bash
# The .deb as CPack makes it: its name, checksum, fields and files, and its
# programs run, unpacked, on the sample settings. Leaves the package in
# <out folder> for the lintian test.
#   deb_test.sh <cpack> <build folder> <version> <samples folder> <out folder>
set -euo pipefail
cpack=$1 build=$2 version=$3 samples=$4 out=$5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf -- "$out"
mkdir -p "$out"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out"

name="addbar_${version}_$(dpkg --print-architecture).deb"
deb="$out/$name"
[ -f "$deb" ] || fail "no $name in $out"
(cd "$out" && sha256sum -c "$name.sha256") || fail "$name.sha256 does not match"

[ "$(dpkg-deb -f "$deb" Package)" = addbar ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "no dependency on the C library"

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in ./usr/bin/addbar ./usr/bin/fm-standin ./usr/share/man/man1/addbar.1.gz \
            ./usr/share/man/man1/fm-standin.1.gz ./usr/share/doc/addbar/copyright \
            ./usr/share/doc/addbar/changelog.gz ./usr/share/doc/addbar/examples/registry.reg \
            ./usr/share/doc/addbar/examples/settings.ini; do
  grep -qxF "$file" <<<"$files" || fail "$file is not in the package"
done

root="$out/root"
dpkg-deb -x "$deb" "$root"
"$here/run_installed.sh" "$root/usr" "$samples" "$version"
