#!/usr/bin/env bash
# Runs the tests that wait on other programs and on clocks many times over
# while two CPU-bound processes run beside them, to show that none of them
# depends on how busy the machine is: the shutdown handshake, the stand-in
# file manager's close delays, the window waits, the program runner and the
# message-box readers (the runner's own under Wine, and scripts/e2e's in the
# end-to-end scenarios that meet a prompt).
#
#   scripts/stress-timing.sh [linux rounds [wine rounds]]     default: 20 and 5
#
# Builds the linux preset and the Windows preset this machine runs under
# Wine (scripts/wine-bits.sh: windows, else windows64) first (nothing when
# they are up to date). A round is one pass of the chosen tests with ctest -j2; a Wine round
# also runs the end-to-end scenarios 6a, 6b and 7f. Prints a line per round
# and the totals; the exit status is 1 when any test failed. The logs of
# failed rounds stay in build/stress-logs.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

linux_rounds=${1:-20}
wine_rounds=${2:-5}
logs=$PWD/build/stress-logs

# The tests by name, wherever their files live; under Wine the Linux-only ones
# are simply not there.
tests='^(Stores/(Handshake|FileManagerView)\.|Delays/CloseDelayTiming\.|Values/CloseDelayOption\.'
tests+='|WindowFolder\.|WindowFolderTest\.|Folders/UnusableWindowFolder\.|OwnedStandinWindow\.'
tests+='|FindWindowTest\.|Titles/FindWindowByTitle\.|SendMessageTest\.'
tests+='|Messages/SendMessageToWindow\.|ProgramRunner\.'
tests+='|RegistryTest\.(DeletingAKeyStampsItsParent|KeyTimesFollowChangesAndMatchInListings'
tests+='|WritingTheSameDataLeavesTheKeyTimeAlone)'
tests+='|ProfileRobustness\.HundredThousandSectionsListQuickly'
tests+='|StoreTest\.AHundredThousandKeysAreHandled)'
box_scenarios=(6a 6b 7f)

busy=()
cleanup() {
  local pid
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$logs"
presets=()
wine_preset=windows
if [ "$wine_rounds" -gt 0 ]; then
  [ "$(scripts/wine-bits.sh)" = 64 ] && wine_preset=windows64
fi
[ "$linux_rounds" -gt 0 ] && presets+=(linux)
[ "$wine_rounds" -gt 0 ] && presets+=("$wine_preset")
for preset in "${presets[@]}"; do
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } \
    >"$logs/build-$preset.log" 2>&1; then
    echo "stress-timing: building $preset failed (see $logs/build-$preset.log)" >&2
    exit 2
  fi
done

# Two processes that only burn CPU, beside everything below.
for _ in 1 2; do
  (while :; do :; done) &
  busy+=($!)
done

failures=0
total_tests=0
started=$SECONDS

# round <platform> <number> <of>: one pass; adds to the totals.
round() {
  local platform=$1 number=$2 of=$3 log preset=$1 begun=$SECONDS summary passed count failed
  [ "$platform" = wine ] && preset=$wine_preset
  log=$logs/$platform-round-$number.log
  ctest --preset "$preset" -R "$tests" -j2 >"$log" 2>&1
  summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    count=0
    failed=1
  else
    count=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    failed=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$summary")
  fi
  if [ "$platform" = wine ]; then
    local status scenario_failures
    scripts/e2e-wine.sh "build/$wine_preset" "${box_scenarios[@]}" >>"$log" 2>&1
    status=$?
    scenario_failures=$(grep -c '^FAIL ' "$log")
    case $status in
      0) ;;
      1) [ "$scenario_failures" -gt 0 ] || scenario_failures=1 ;;
      *) scenario_failures=${#box_scenarios[@]} ;;  # could not start
    esac
    count=$((count + ${#box_scenarios[@]}))
    failed=$((failed + scenario_failures))
  fi
  total_tests=$((total_tests + count))
  failures=$((failures + failed))
  printf 'stress-timing: %s round %d/%d: %d tests, %d failed (%d s)\n' \
    "$platform" "$number" "$of" "$count" "$failed" $((SECONDS - begun))
  if [ "$failed" -eq 0 ]; then
    rm -f -- "$log"
  else
    grep -E '^FAIL |\((Failed|Timeout)\)|^e2e-wine: ' "$log" | head -n 20 | sed 's/^/    /'
  fi
}

for ((i = 1; i <= linux_rounds; i++)); do round linux "$i" "$linux_rounds"; done
for ((i = 1; i <= wine_rounds; i++)); do round wine "$i" "$wine_rounds"; done

minutes=$(((SECONDS - started + 30) / 60))
echo "stress-timing: $linux_rounds Linux and $wine_rounds Wine rounds beside two busy" \
  "processes: $total_tests tests run, $failures failed, $minutes min"
[ "$failures" -eq 0 ]
