#!/usr/bin/env bash
# Fetches Debian's sources of Google Benchmark (the version libbenchmark-dev
# has) into <folder>/benchmark-<version>, for the Windows build of the call
# benchmarks. Uses a private list of Debian's source packages, so the
# machine's apt configuration stays as it is.
set -euo pipefail
folder=$(mkdir -p "${1:?usage: fetch-benchmark-source.sh <folder>}" && cd "$1" && pwd)
if ls -d "$folder"/benchmark-*/CMakeLists.txt >/dev/null 2>&1; then
  ls -d "$folder"/benchmark-*/ | head -n 1
  exit 0
fi
apt_dir="$folder/apt"
mkdir -p "$apt_dir/lists/partial"
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
echo "deb-src http://deb.debian.org/debian $suite main" > "$apt_dir/sources.list"
options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
         -o "Dir::State::Lists=$apt_dir/lists")
apt-get "${options[@]}" update >/dev/null
(cd "$folder" && apt-get "${options[@]}" source benchmark >/dev/null 2>&1)
ls -d "$folder"/benchmark-*/ | head -n 1
