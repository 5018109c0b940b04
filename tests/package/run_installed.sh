#!/usr/bin/env bash
# Runs installed programs as a user would, on a copy of the sample INI file:
# fm-standin plays the running file manager, addbar asks it to quit and adds
# the drive bar, and a restarted fm-standin shows it.
#   run_installed.sh <folder of addbar and fm-standin> <samples folder> <version>
set -euo pipefail
bin=$1 samples=$2 version=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/addbar-installed.XXXXXX")
standin=
cleanup() {
  if [ -n "$standin" ]; then
    kill "$standin" 2>/dev/null || true
    wait "$standin" 2>/dev/null || true
  fi
  rm -rf -- "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

[ "$("$bin/addbar" --version)" = "addbar $version" ] || fail "addbar --version"
[ "$("$bin/fm-standin" --version)" = "fm-standin $version" ] || fail "fm-standin --version"
"$bin/addbar" --help | head -n 1 | grep -q '^Usage: addbar ' || fail "addbar --help"

# Everything the programs share lives in the work folder.
mkdir -m 700 "$work/windows"
export ADDBAR_WINDOWS="$work/windows" ADDBAR_DRIVES=ACD ADDBAR_REGISTRY="$work/registry.reg"
export ADDBAR_WINDOWS_DIR="$work"
unset ADDBAR_ANSWERS ADDBAR_COMMAND_LINE
cp "$samples/settings.ini" "$work/settings.ini"
ini="/I:$work/settings.ini"

# Starts fm-standin and reads what it prints until it says its window exists;
# the lines go to the named file.
start_standin() {
  local lines=$1 line
  rm -f "$work/standin.pipe"
  mkfifo "$work/standin.pipe"
  "$bin/fm-standin" "$ini" >"$work/standin.pipe" 2>&1 </dev/null &
  standin=$!
  exec 3<"$work/standin.pipe"
  : >"$lines"
  while IFS= read -r -t 60 line <&3; do
    printf '%s\n' "$line" >>"$lines"
    [[ $line == window:* ]] && return 0
  done
  cat "$lines" >&2
  fail "fm-standin did not report its window"
}

start_standin "$work/before.txt"
grep -qx 'drive bar: none' "$work/before.txt" || fail "the sample already has a drive bar"

set +e
ADDBAR_ANSWERS=ok,ok "$bin/addbar" "$ini" 2>"$work/addbar.txt" </dev/null
code=$?
set -e
cat "$work/addbar.txt"
[ "$code" = 60 ] || fail "addbar's exit code $code, not 60"
grep -qx '\[message box\] text: click OK to quit vantrove' "$work/addbar.txt" ||
  fail "addbar did not ask the running stand-in to quit"
grep -qx "\[message box\] text: added 'drivebar' with 3 buttons" "$work/addbar.txt" ||
  fail "no success box"
wait "$standin" || fail "fm-standin ended with $?"
standin=
exec 3<&-

start_standin "$work/after.txt"
cat "$work/after.txt"
expected=$'drive bar: 3_60162\nbutton 1: A:\\\nbutton 2: C:\\\nbutton 3: D:\\\nwindow: vantrove_CommPort'
[ "$(cat "$work/after.txt")" = "$expected" ] || fail "the restarted stand-in shows another drive bar"
echo "installed programs in $bin: passed"
