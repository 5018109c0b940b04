#!/usr/bin/env bash
# The Windows zip as CPack makes it: its name and checksum, exactly the files
# a user should get, their own checksums; unpacked into <out folder>/unpacked
# for the run under Wine (zip_run_test.cpp).
#   zip_test.sh <cpack> <build folder> <zip name> <x86|amd64> <out folder>
set -euo pipefail
cpack=$1 build=$2 name=$3 arch=$4 out=$5
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf -- "$out"
mkdir -p "$out/unpacked"
"$cpack" --config "$build/CPackConfig.cmake" -B "$out"

[ -f "$out/$name.zip" ] || fail "no $name.zip in $out"
(cd "$out" && sha256sum -c "$name.zip.sha256") || fail "$name.zip.sha256 does not match"

(cd "$out/unpacked" && "$(dirname "$cpack")/cmake" -E tar xf "../$name.zip")
listing=$(cd "$out/unpacked" && find . -mindepth 1 | LC_ALL=C sort)
expected=$(printf './%s\n' "$name" "$name/LICENSE.txt" "$name/README.txt" "$name/SHA256SUMS.txt" \
  "$name/addbar.exe" | LC_ALL=C sort)
[ "$listing" = "$expected" ] || fail "the zip holds"$'\n'"$listing"$'\n'"instead of"$'\n'"$expected"

folder="$out/unpacked/$name"
(cd "$folder" && sha256sum -c SHA256SUMS.txt) || fail "SHA256SUMS.txt does not match the files"
[ "$(wc -l <"$folder/SHA256SUMS.txt")" = 3 ] || fail "SHA256SUMS.txt should list the three other files"
# The program is built for the processor the zip's name promises (the machine
# field of its PE header).
offset=$(od -An -t u4 -j 60 -N 4 "$folder/addbar.exe" | tr -d ' ')
machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$folder/addbar.exe" | tr -d ' ')
case "$arch:$machine" in
  x86:014c | amd64:8664) ;;
  *) fail "addbar.exe is built for machine 0x$machine, not for $arch" ;;
esac
grep -q 'the addbar authors' "$folder/LICENSE.txt" || fail "LICENSE.txt names no authors"
# Text files with Windows line ends, one per line.
[ "$(grep -c $'\r$' "$folder/README.txt")" = "$(wc -l <"$folder/README.txt")" ] ||
  fail "README.txt has lines without CR LF"
# Written for whoever unpacks it: no links to files the zip does not hold.
if grep -nE '\]\(|\.md\b' "$folder/README.txt"; then fail "README.txt links to files not in the zip"; fi
echo "$name.zip: passed"
