#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test: natively
# on Linux (also with sanitizers) and, for the Windows builds, under Wine.
#
# Which Windows build runs the Wine suites depends on the machine: where the
# kernel runs 32-bit programs, the 32-bit build (the product) runs them all
# and the 64-bit build its CTest suites too; elsewhere the 64-bit build runs
# them all (scripts/wine-bits.sh decides; ADDBAR_WINE_BITS=64 forces that).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# Each step says when it began, in minutes and seconds since the start.
step() { printf '\n==== [%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"; }

# Wine's servers and the virtual displays outlive the programs that started
# them: each is stopped here, by what scripts/wine-env.sh recorded of it.
cleanup() {
  set +e
  local build
  for build in build/windows build/windows64; do
    [ -f "$build/wine-arch" ] && scripts/wine-env.sh stop "$build"
  done
}
trap cleanup EXIT

# What ran under Wine, and what did not, for the last lines of the run.
summary=()

# Runs a test preset, keeps its output, and adds its counts to the summary,
# with the program starts Wine failed and scripts/wine-run.sh made again.
ctest_counted() {
  local preset=$1 what=$2 log="build/ctest-$1.log" counts skipped retried
  rm -f "build/$preset/wine-run-retries.log"
  ctest --preset "$preset" 2>&1 | tee "$log"
  counts=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)
  skipped=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Skipped' "$log" || true)
  # No log means no retries (and a failing cat would end the run under pipefail).
  retried=0
  if [ -f "build/$preset/wine-run-retries.log" ]; then
    retried=$(wc -l <"build/$preset/wine-run-retries.log")
  fi
  summary+=("$what: CTest: ${counts:-no counts found}, of them $skipped skipped; $retried program starts that Wine failed were made again")
}

# Entries in /tmp before the tests: none of ours may be left after them, nor
# what the tools we run leave there when let (Wine's server folders, lintian's
# files).
tmp_ours() {
  find /tmp -maxdepth 1 \( -name '*addbar*' -o -name 'wine-*' -o -name 'mldbm-*' \) |
    LC_ALL=C sort
}
tmp_before=$(tmp_ours)

step "installing what is missing"
scripts/install-deps.sh

step "Wine: which Windows build runs the Wine suites"
wine_bits=$(scripts/wine-bits.sh)
if [ "$wine_bits" = 32 ]; then wine_build=windows; else wine_build=windows64; fi

for preset in linux linux-sanitize; do
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

# Both Windows builds are always built: the 32-bit zip is the product.
for preset in windows windows64; do
  step "$preset: configure"
  cmake --preset "$preset" >/dev/null
  step "$preset: build"
  cmake --build --preset "$preset"
done
if [ "$wine_bits" = 32 ]; then
  step "windows: test under 32-bit Wine (every suite, the zip's included)"
  ctest_counted windows "32-bit build (windows)"
  step "windows64: test under 64-bit Wine (its suites too, so both builds stay honest)"
  ctest_counted windows64 "64-bit build (windows64)"
else
  step "windows64: test under 64-bit Wine (every suite, the zip's included)"
  ctest_counted windows64 "64-bit build (windows64)"
  if [ "${ADDBAR_WINE_BITS:-}" = 64 ]; then
    summary+=("32-bit build (windows): built and packed, not run: ADDBAR_WINE_BITS=64 asked for the 64-bit path")
  else
    summary+=("32-bit build (windows): built and packed, not run: 32-bit Wine does not run here")
  fi
fi

# One round is enough here: scripts/stress-timing.sh alone runs many.
step "linux: the timing-sensitive tests again, beside two busy processes"
scripts/stress-timing.sh 1 0

step "fuzz: each libFuzzer target for 60 s, two at a time, from a fixed seed"
FUZZ_SEED=1 scripts/fuzz.sh 60

step "packages: both Windows zips and the Linux .deb, kept in build/packages"
rm -rf build/packages
cpack --preset windows
cpack --preset windows64
cpack --preset linux
rm -rf build/packages/_CPack_Packages  # CPack's staging, not an output
ls -l build/packages

step "differential test: the stand-in against Wine ($wine_build)"
scripts/differential-test.sh build/linux "build/$wine_build" | tee build/differential.log
summary+=("$wine_build: differential test: $(grep -E '^[0-9]+ records, ' build/differential.log | tail -n 1 || true)")

step "$wine_build: end to end under Wine in a virtual display"
scripts/e2e-wine.sh "build/$wine_build" | tee build/e2e.log
summary+=("$wine_build: end to end: $(grep -c '^PASS ' build/e2e.log || true) scenarios passed")

# Stop Wine and the displays before looking for leftovers in /tmp.
cleanup
step "nothing left behind in /tmp"
tmp_after=$(tmp_ours)
left=$(comm -13 <(printf '%s\n' "$tmp_before") <(printf '%s\n' "$tmp_after") | sed '/^$/d')
if [ -n "$left" ]; then
  echo "the tests left these in /tmp:"
  printf '  %s\n' "$left"
  exit 1
fi
echo "no new /tmp entries of ours (addbar, Wine's server folders, lintian's files)"

step "all tests passed; under Wine:"
printf '  %s\n' "${summary[@]}"
