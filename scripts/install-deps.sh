#!/usr/bin/env bash
# Installs what building and testing addbar needs, from Debian's packages.
# Idempotent: packages already present are not fetched again.
#   scripts/install-deps.sh          both builds and all tests
#   scripts/install-deps.sh linux    the Linux build only
set -euo pipefail

want=${1:-all}
linux_packages=(cmake make g++ googletest libbenchmark-dev clang libclang-rt-dev)
# Making the .deb: CPack's dependency lookup (dpkg-shlibdeps, file).
linux_packages+=(dpkg-dev file)
# Both Windows builds, and Wine for each: the 32-bit loader runs only where the
# kernel runs 32-bit programs, the 64-bit one everywhere.
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64 wine wine32:i386 wine64
                  xvfb xdotool x11-apps imagemagick python3)

packages=("${linux_packages[@]}")
# lintian checks the .deb; without it that one test is skipped.
[ "$want" = linux ] || packages+=("${windows_packages[@]}" lintian)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
echo "install-deps: installing ${missing[*]}" >&2
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
for attempt in 1 2 3; do
  if $sudo apt-get update -qq && $sudo apt-get install -y -qq "${missing[@]}"; then
    exit 0
  fi
  echo "install-deps: apt-get failed (attempt $attempt), retrying" >&2
  sleep 10
done
echo "install-deps: could not install ${missing[*]}" >&2
exit 1
