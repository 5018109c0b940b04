#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz") and runs each from its seed
# corpus in fuzz/corpus/<name>, plus what earlier runs here found
# (build/fuzz/corpus/<name>).
#   scripts/fuzz.sh                      every target for 60 s, two at a time
#   scripts/fuzz.sh 3600                 every target for an hour
#   scripts/fuzz.sh 3600 profile_edit    one target for an hour
# A finding (crash, sanitizer report, leak, time-out) is kept in
# build/fuzz/findings/ and fails the run; rerun one with
#   build/fuzz/fuzz/<name>_fuzzer build/fuzz/findings/<file>
# FUZZ_SEED=<n> fixes libFuzzer's random seed, so that the test command
# mostly retraces inputs tried before (libFuzzer also steers by what it
# measures, so runs still differ a little). Without it each run draws new
# inputs; long runs hunt that way.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(store_round_trip profile_edit command_line cstring whole_run)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/findings build/fuzz/logs
run_one() {
  local name=$1
  mkdir -p "build/fuzz/corpus/$name"
  # A target's tokens, when it has some, steer the mutations (fuzz/<name>.dict).
  local dict=()
  [ -f "fuzz/$name.dict" ] && dict=(-dict="fuzz/$name.dict")
  # Found inputs go to the first folder; the seeds in the tree stay as they are.
  "build/fuzz/fuzz/${name}_fuzzer" ${FUZZ_SEED:+-seed="$FUZZ_SEED"} -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$name-" ${dict[@]+"${dict[@]}"} \
    "build/fuzz/corpus/$name" "fuzz/corpus/$name" >"build/fuzz/logs/$name.log" 2>&1
}

# Two at a time: the machine has two cores.
failed=0
declare -A pids
for name in "${targets[@]}"; do
  run_one "$name" &
  pids[$name]=$!
  if [ ${#pids[@]} -ge 2 ]; then
    for done_name in "${!pids[@]}"; do
      wait "${pids[$done_name]}" || failed=1
      unset "pids[$done_name]"
    done
  fi
done
for done_name in "${!pids[@]}"; do wait "${pids[$done_name]}" || failed=1; done

for name in "${targets[@]}"; do
  log=build/fuzz/logs/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if grep -q "^==[0-9]*==ERROR\|^SUMMARY:\|Test unit written to" "$log"; then
    echo "fuzz $name: FINDING after ${runs:-?} runs (see $log)"
    grep -E -m5 "ERROR|SUMMARY|Test unit written to|^(store round trip|profile edit|command line|CString|whole run):" \
      "$log" | sed 's/^/    /'
    failed=1
  else
    echo "fuzz $name: ${runs:-?} runs in ${seconds} s, no finding"
  fi
done
exit $failed
