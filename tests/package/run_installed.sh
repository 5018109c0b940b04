#!/usr/bin/env bash
# Runs installed programs as a user would, on a copy of the sample INI file
# installed among the examples: fm-standin plays the running file manager,
# addbar asks it to quit and adds the drive bar, and a restarted fm-standin
# shows it. Then the EXAMPLES of addbar(1), as written there.
#   run_installed.sh <prefix (bin/, share/)> <samples folder> <version>
set -euo pipefail
prefix=$1 samples=$2 version=$3
bin=$prefix/bin examples=$prefix/share/doc/addbar/examples

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
for name in registry.reg settings.ini; do
  cmp -s "$samples/$name" "$examples/$name" || fail "examples/$name is not samples/$name"
done
cp "$examples/settings.ini" "$work/settings.ini"
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
kill "$standin" && wait "$standin" 2>/dev/null || true
standin=
exec 3<&-

# The manual page's EXAMPLES, run as written in a fresh folder, with the
# examples folder and the programs where this prefix has them. Each
# "echo $?    # N" line becomes a check that the status is N.
zcat "$prefix/share/man/man1/addbar.1.gz" |
  sed -n '/^\.SH EXAMPLES/,/^\.SH "SEE/{/^\.EX/,/^\.EE/p}' |
  sed -e '/^\.E[XE]$/d' -e 's/\\-/-/g' -e 's/\\e/\\/g' \
      -e "s#/usr/share/doc/addbar/examples#$examples#g" \
      -e 's/^echo \$? *# *\([0-9]*\)$/s=$?; [ $s = \1 ] || { echo "FAIL: status $s, not \1" >\&2; exit 1; }/' \
      >"$work/examples.sh"
grep -q 'FAIL: status' "$work/examples.sh" || fail "addbar(1) has no EXAMPLES with a status"
mkdir "$work/manual"
mkdir -m 700 "$work/manual-windows"
(cd "$work/manual" && unset ADDBAR_REGISTRY ADDBAR_DRIVES ADDBAR_ANSWERS &&
  HOME="$work/manual" ADDBAR_WINDOWS="$work/manual-windows" PATH="$bin:$PATH" \
    bash "$work/examples.sh") >"$work/examples.txt" 2>&1 ||
  { cat "$work/examples.sh" "$work/examples.txt" >&2; fail "addbar(1)'s EXAMPLES"; }
echo "installed programs in $bin: passed"
