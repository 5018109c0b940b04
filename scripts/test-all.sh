#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test: natively
# on Linux (also with sanitizers) and, for the Windows build, under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each step says when it began, in minutes and seconds since the start.
step() { printf '\n==== [%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"; }

# Wine's server and the virtual display outlive the programs that started
# them; nothing of ours is left running when the tests end.
cleanup() {
  set +e
  local prefix
  for prefix in build/windows/wineprefix build/windows/e2e-prefix; do
    if [ -d "$prefix" ]; then
      WINEPREFIX="$PWD/$prefix" timeout 30 wineserver -k >/dev/null 2>&1
    fi
  done
  pkill -f "^Xvfb :${ADDBAR_XVFB_DISPLAY:-97}( |$)" >/dev/null 2>&1
}
trap cleanup EXIT

step "installing what is missing"
scripts/install-deps.sh

for preset in linux linux-sanitize windows; do
  step "$preset: configure"
  cmake --preset "$preset" >/dev/null
  step "$preset: build"
  cmake --build --preset "$preset"
  step "$preset: test"
  ctest --preset "$preset"
  if [ "$preset" = linux ]; then
    # The kill and concurrency tests print what they did; ctest keeps it in its log.
    step "linux: robustness figures (docs/robustness.md)"
    grep -h -E "^(kill|concurrency) test " build/linux/Testing/Temporary/LastTest.log || true
  fi
done

# One round is enough here: scripts/stress-timing.sh alone runs many.
step "linux: the timing-sensitive tests again, beside two busy processes"
scripts/stress-timing.sh 1 0

step "fuzz: each libFuzzer target for 60 s, two at a time, from a fixed seed"
FUZZ_SEED=1 scripts/fuzz.sh 60

step "packages: the Windows zip and the Linux .deb, kept in build/packages"
rm -rf build/packages
cpack --preset windows
cpack --preset linux
rm -rf build/packages/_CPack_Packages  # CPack's staging, not an output
ls -l build/packages

step "differential test: the stand-in against Wine"
scripts/differential-test.sh

if [ -x scripts/e2e-wine.sh ]; then
  step "windows: end to end under Wine in a virtual display"
  scripts/e2e-wine.sh
fi

step "all tests passed"
