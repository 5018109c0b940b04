#!/usr/bin/env bash
# Builds the Linux addbar and runs its job on copies of the bundled sample
# settings (samples/), never on your own: first the registry store, then the
# INI file. A stand-in file manager plays the running vantrove: addbar asks it
# to quit, writes the drive bar, and the restarted stand-in shows it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux --target addbar fm-standin >/dev/null

programs=$PWD/build/linux
work=$(mktemp -d /tmp/addbar-demo.XXXXXX)
standin_pid=
cleanup() {
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null || true
  rm -rf -- "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/windows"
export ADDBAR_WINDOWS="$work/windows"          # the stand-in's windows: private to the demo
export ADDBAR_DRIVES="${ADDBAR_DRIVES:-ACD}"   # the machine's drives, as the demo pretends
export ADDBAR_WINDOWS_DIR="$work"

# Starts fm-standin with the given options and waits until its window exists
# (a minute at most, for the busiest machine); what it printed goes to the
# named file.
start_file_manager() {
  local output=$1
  shift
  "$programs/fm-standin" "$@" >"$output" 2>&1 &
  standin_pid=$!
  for _ in $(seq 1 600); do
    grep -q '^window:' "$output" && return 0
    sleep 0.1
  done
  echo "demo: fm-standin did not open its window" >&2
  cat "$output" >&2
  return 1
}

stop_file_manager() {
  kill "$standin_pid" 2>/dev/null || true
  wait "$standin_pid" 2>/dev/null || true
  standin_pid=
}

show() { sed 's/^/    /' "$1"; }

# A box's text lines, and anything else addbar says; not the lines that
# frame a box (begin, caption, style, answer, end).
boxes() { grep -v '^\[message box\] \(begin\|caption\|style\|answer\|end\)' || true; }

run_store() {
  local title=$1
  shift
  echo "== $title"
  echo "-- the file manager is running and shows:"
  start_file_manager "$work/before.txt" "$@"
  show "$work/before.txt"
  echo "-- addbar${*:+ $*} (its prompt answered OK):"
  set +e
  ADDBAR_ANSWERS=ok "$programs/addbar" "$@" 2>&1 | boxes | sed 's/^/    /'
  local code=${PIPESTATUS[0]}
  set -e
  wait "$standin_pid" 2>/dev/null || true
  standin_pid=
  echo "-- addbar's exit code: $code"
  echo "-- after the restart, the file manager shows:"
  start_file_manager "$work/after.txt" "$@"
  show "$work/after.txt"
  stop_file_manager
  echo
}

cp samples/registry.reg samples/settings.ini "$work"
cd "$work"
export ADDBAR_REGISTRY="$work/registry.reg"
run_store "registry store (a copy of samples/registry.reg)"
run_store "INI file (a copy of samples/settings.ini)" /I:settings.ini
