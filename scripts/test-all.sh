#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: natively
# on Linux (also with sanitizers) and, for the Windows build, under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

step() { printf '\n==== %s\n' "$*"; }

step "installing what is missing"
scripts/install-deps.sh

for preset in linux linux-sanitize windows; do
  step "$preset: configure"
  cmake --preset "$preset" >/dev/null
  step "$preset: build"
  cmake --build --preset "$preset"
  step "$preset: test"
  ctest --preset "$preset"
done
step "differential test: the stand-in against Wine"; scripts/differential-test.sh

if [ -x scripts/e2e-wine.sh ]; then
  step "windows: end to end under Wine in a virtual display"
  scripts/e2e-wine.sh
fi

step "all tests passed"
