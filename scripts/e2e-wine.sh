#!/usr/bin/env bash
# End to end under Wine, the way a user meets the Windows build: addbar.exe
# and the stand-in file manager run under 32-bit Wine in a virtual X display
# of their own; the message boxes are read back and answered from outside
# (xdotool), and the results are checked with Wine's own reg tool and in the
# INI files. Screenshots of the boxes and of the file manager's drive bar go
# to <build>/e2e-screenshots.
#
#   scripts/e2e-wine.sh [build folder]         default: build/windows
#
# Every scenario reads the boxes it meets back (text, caption, buttons) and
# checks the exit code against the length of the final box's text.
# The Wine prefix is <build>/e2e-prefix, kept between runs (delete it to start
# afresh); scratch files and logs are in <build>/e2e-work. One line per
# scenario; the exit status is 1 when any scenario fails, 2 when the checks
# could not start. Every wait is bounded.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build/windows}" 2>/dev/null && pwd) || {
  echo "e2e-wine: no build folder ${1:-build/windows}" \
    "(cmake --preset windows && cmake --build --preset windows)" >&2
  exit 2
}
prefix=$build/e2e-prefix
work=$build/e2e-work
shots=$build/e2e-screenshots
tools=$build/e2e-tools
reader=$tools/box-reader.exe
drive_list=$tools/drive-list.exe
drives_dir=$work/drives
settings_key='HKCU\Software\Harrowmede Plc'
closing='without arguments, it adds the lumenrail in default registry layout'

# ---- set-up and clean-up ---------------------------------------------------------------

die() {
  echo "e2e-wine: $*" >&2
  exit 2
}

for program in wine wineserver Xvfb xdotool import i686-w64-mingw32-g++ iconv timeout flock; do
  command -v "$program" >/dev/null || die "$program is missing (scripts/install-deps.sh installs it)"
done
for program in addbar.exe fm-standin.exe; do
  [ -f "$build/$program" ] || die "$build/$program is missing: build the windows preset first"
done

xvfb_pid=
cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    declare -F remove_added_drives >/dev/null && remove_added_drives
    timeout 20 wineserver -k >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# One run at a time per build folder.
exec 9>"$build/e2e.lock"
flock -w 300 9 || die "another run of e2e-wine.sh on $build did not end within 5 minutes"

# Only the script's own folders in the build folder are wiped ($build is the
# absolute path found above, never empty).
rm -rf -- "$build/e2e-work" "$build/e2e-screenshots"
mkdir -p "$work/logs" "$drives_dir" "$shots" "$tools" || die "cannot make $work"

# A display of our own: Xvfb picks a free number and writes it to fd 3.
exec 3>"$work/display"
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
  >"$work/logs/xvfb.log" 2>&1 </dev/null 9>&- &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start within 10 s (see $work/logs/xvfb.log)"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all
# No downloads of Mono or Gecko on a fresh prefix.
export WINEDLLOVERRIDES='mscoree,mshtml='

# The lock stays with this script: Wine's server must not keep it.
wine_run() { timeout --kill-after=5 "${WINE_LIMIT:-60}" wine "$@" 9>&-; }

# Windows spelling of a path of this machine.
win_path() {
  local path
  path=$(wine_run winepath -w "$1") || return 1
  printf '%s' "${path%$'\r'}"
}

if [ ! -f "$prefix/.e2e-ready" ]; then
  mkdir -p "$prefix"
  timeout --kill-after=10 120 wineboot -i >"$work/logs/wineboot.log" 2>&1 9>&- ||
    die "creating the Wine prefix $prefix failed or took over 2 minutes"
  cat >"$work/prefix-settings.reg" <<'EOF'
REGEDIT4

; A crashing program just ends: no debugger dialog waiting for a click.
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"
"Debugger"="false"

; Without a window manager, Wine draws the captions itself, and a window that
; is told to go goes at once instead of waiting for a manager to answer.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
  wine_run regedit /s "$(win_path "$work/prefix-settings.reg")" ||
    die "could not set up the Wine prefix $prefix"
  # Wine's own symbol font, for the close button in the captions.
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
  fi
  touch "$prefix/.e2e-ready"
fi

# Small Windows helpers of the script's own: one reads message boxes, one lists drives.
for helper in box_reader drive_list; do
  exe=$tools/${helper//_/-}.exe
  if [ ! -f "$exe" ] || [ "$here/e2e/$helper.cpp" -nt "$exe" ]; then
    timeout 120 i686-w64-mingw32-g++ -O2 -Wall -Wextra -municode -static \
      -o "$exe" "$here/e2e/$helper.cpp" >"$work/logs/$helper-build.log" 2>&1 ||
      die "could not build $exe (see $work/logs/$helper-build.log)"
  fi
done

build_win=$(win_path "$build/") || die "winepath failed"

# ---- helpers for the scenarios -----------------------------------------------------------
# A scenario runs in a subshell; `fail` ends it with the reason.

fail() {
  printf '%s\n' "$*" >"$work/why"
  exit 1
}

# Starts a Windows program in the background: start <name> <folder> <program> [args...].
# Its exit code lands in runs/<name>.rc, its output in runs/<name>.out and .err.
start() {
  local name=$1 folder=$2
  shift 2
  rm -f "$runs/$name".*
  (
    cd "$folder" || exit 99
    WINE_LIMIT=90 wine_run "$@" >"$runs/$name.out" 2>"$runs/$name.err"
    echo $? >"$runs/$name.rc.tmp"
    mv "$runs/$name.rc.tmp" "$runs/$name.rc"
  ) &
}

# poll <seconds> <command> [args...]: runs the command until it succeeds, for at
# most about that many seconds.
poll() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -le "$deadline" ] || return 1
    sleep 0.1
  done
}

ended() { [ -f "$runs/$1.rc" ]; }
running() { ! ended "$1"; }

# Exit code of a program started with `start`, once it has ended within the limit.
exit_code() {
  poll "$2" ended "$1" || return 1
  cat "$runs/$1.rc"
}

shown_window() {
  local id
  id=$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
  [ -n "$id" ] && echo "$id"
}

# X window of a shown top-level window whose title matches, within the limit.
find_window() { poll "$2" shown_window "$1"; }

window_shown() { timeout 5 xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$1"; }
window_hidden() { ! window_shown "$1"; }
window_gone() { poll "$2" window_hidden "$1"; }

# Waits for a message box with that caption and reads it into runs/box.txt;
# prints its X window.
read_box() {
  local caption=$1 limit=$2 id
  id=$(find_window "^$caption\$" "$limit") || return 1
  wine_run "$reader" "$caption" >"$runs/box.txt" 2>>"$runs/box.err" || return 1
  # Window searches ignore case; the caption must be exactly the one asked for.
  [ "$(sed -n '1s/^caption //p' "$runs/box.txt")" = "$caption" ] || return 1
  echo "$id"
}

box_text() { sed -n '/^text$/,$p' "$runs/box.txt" | tail -n +2; }
box_length() { sed -n 's/^length //p' "$runs/box.txt"; }
box_buttons() { sed -n 's/^button [0-9-]* [0-9-]* [0-9-]* //p' "$runs/box.txt" | paste -sd,; }
box_button_point() { awk -v id="$1" '$1 == "button" && $2 == id { print $3, $4 }' "$runs/box.txt"; }

# Checks the text of the box just read, and its length in UTF-16 units, which
# addbar's exit code must equal.
expect_box_text() {
  local what=$1 expected=$2 actual
  actual=$(box_text)
  [ "$actual" = "$expected" ] ||
    fail "$what: expected the text '${expected//$'\n'/\\n}', the box shows '${actual//$'\n'/\\n}'"
  [ "$(box_length)" = "${#expected}" ] ||
    fail "$what: the box text has $(box_length) units, expected ${#expected}"
}

press_return() {
  timeout 10 xdotool windowfocus --sync "$1" && timeout 10 xdotool key Return
}

click_button() {
  local point
  point=$(box_button_point "$1")
  [ -n "$point" ] || return 1
  # shellcheck disable=SC2086 # x and y
  timeout 10 xdotool mousemove $point sleep 0.2 click 1
}

shoot_window() { timeout 20 import -window "$1" "$shots/$2.png"; }

# Part of the screen holding all the windows given.
shoot_windows() {
  # shellcheck disable=SC2034 # set by the geometry, not all used
  local name=$1 left=100000 top=100000 right=0 bottom=0 id X Y WIDTH HEIGHT WINDOW SCREEN
  shift
  for id in "$@"; do
    eval "$(timeout 5 xdotool getwindowgeometry --shell "$id")" || return 1
    [ "$X" -lt "$left" ] && left=$X
    [ "$Y" -lt "$top" ] && top=$Y
    [ $((X + WIDTH)) -gt "$right" ] && right=$((X + WIDTH))
    [ $((Y + HEIGHT)) -gt "$bottom" ] && bottom=$((Y + HEIGHT))
  done
  left=$((left > 8 ? left - 8 : 0))
  top=$((top > 8 ? top - 8 : 0))
  timeout 20 import -window root -crop "$((right - left + 8))x$((bottom - top + 8))+$left+$top" \
    +repage "$shots/$name.png"
}

# Answers the box with OK (the Enter key) or Cancel (a click on its button).
answer_box() {
  local id=$1 answer=$2
  case $answer in
    ok) press_return "$id" || fail "could not press Enter in the box" ;;
    cancel) click_button 2 || fail "could not click the box's Cancel button" ;;
  esac
  window_gone "$id" 10 || fail "the box stayed on the screen after $answer"
}

# Runs addbar to its final box, which must have the caption given (done or
# Error): run_addbar <caption> <screenshot name or -> <folder> <program> [args...].
# Reads the box, saves its picture, answers it and checks that the exit code is
# the length of its text.
run_addbar() {
  local caption=$1 screenshot=$2 folder=$3 id code
  shift 3
  start addbar "$folder" "$@"
  id=$(read_box "$caption" 20) || fail "no box captioned '$caption' within 20 s ($(what_is_shown))"
  if [ "$screenshot" != - ]; then shoot_window "$id" "$screenshot" || fail "no screenshot"; fi
  answer_box "$id" ok
  code=$(exit_code addbar 10) || fail "addbar went on running after its final box"
  [ "$code" = "$(($(box_length) % 256))" ] ||
    fail "exit code $code, expected the box text's length $(box_length) (low 8 bits)"
}

# For a failure message: the box addbar shows instead, or how it ended.
what_is_shown() {
  local other
  for other in "done" Error; do
    if wine_run "$reader" "$other" >"$runs/other-box.txt" 2>/dev/null; then
      echo "a box '$(sed -n '1s/^caption //p' "$runs/other-box.txt")' says:" \
        "$(sed -n '/^text$/,$p' "$runs/other-box.txt" | sed -n 2p)"
      return
    fi
  done
  if running addbar; then
    echo "addbar runs on without a box"
  else
    echo "addbar ended with $(cat "$runs/addbar.rc")"
  fi
}

# Closes the running fm-standin as a user closes a window (taskkill sends it
# WM_CLOSE), whatever its /D: option, and checks that it ended as closed.
close_file_manager() {
  local code
  wine_run taskkill /im fm-standin.exe >/dev/null 2>&1
  code=$(exit_code fm 10) || fail "fm-standin did not close on taskkill"
  [ "$code" = 0 ] || fail "fm-standin ended with $code after taskkill, expected 0"
}

usage_text() {
  printf '\n\nUSAGE:\n%s [/S:layout /I:ini_file]\n%s' "$1" "$closing"
}

done_text() {
  printf "added 'drivebar' with %d buttons\nPlease restart your vantrove" "$1"
}

# ---- drives -------------------------------------------------------------------------------

# Drive letters of the prefix, in letter order: its dosdevices links that lead somewhere.
prefix_drives() {
  local link letters=
  for link in "$prefix"/dosdevices/?:; do
    [ -e "$link" ] || continue
    letters+=$(basename "$link" :)
  done
  printf '%s' "${letters^^}"
}

add_drive() {
  local letter=${1,,}
  mkdir -p "$drives_dir/$letter" && ln -sfn "$drives_dir/$letter" "$prefix/dosdevices/$letter:"
}

remove_added_drives() {
  local link
  for link in "$prefix"/dosdevices/?:; do
    [ -L "$link" ] || continue
    case $(readlink "$link") in "$drives_dir"/*) rm -f -- "$link" ;; esac
  done
}

# Wine takes the drive list from its object directory, which follows the
# dosdevices links only a few seconds later: wait until programs see the
# prefix's drives.
wine_sees_drives() {
  seen=$(wine_run "$drive_list" 2>/dev/null | tr -d '\r')
  [ "$seen" = "$1" ]
}

wait_for_drives() {
  local want seen=
  want=$(prefix_drives)
  poll 15 wine_sees_drives "$want" && return 0
  echo "after 15 s Wine still shows the drives '$seen', the prefix has '$want'"
  return 1
}

# ---- stored settings --------------------------------------------------------------------
# Both stores are read into one form, a line per key ("K", key) and per value ("V", key,
# name, type, data), keys relative to the file manager's company key or INI sections.

registry_snapshot() {
  local listing
  listing=$(wine_run reg query "$settings_key" /s 2>/dev/null) || return 0
  ROOT='HKEY_CURRENT_USER\Software\Harrowmede Plc' awk '
    { sub(/\r$/, "") }
    /^HKEY_/ {
      root = ENVIRON["ROOT"]
      key = $0 == root ? "" : substr($0, length(root) + 2)
      print "K\t" key
      next
    }
    /^    / {
      line = substr($0, 5)
      i = index(line, "    ")
      name = substr(line, 1, i - 1)
      rest = substr(line, i + 4)
      j = index(rest, "    ")
      type = j ? substr(rest, 1, j - 1) : rest
      data = j ? substr(rest, j + 4) : ""
      if (name == "(Default)") name = "@"
      print "V\t" key "\t" name "\t" type "\t" data
    }' <<<"$listing"
}

ini_text() {
  if [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8
  else
    cat "$1"
  fi
}

ini_snapshot() {
  ini_text "$1" | awk '
    function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
    { sub(/\r$/, "") }
    /^[ \t]*;/ { next }
    /^[ \t]*\[/ { section = $0; sub(/^[ \t]*\[/, "", section); sub(/\].*$/, "", section)
                  print "K\t" section; next }
    index($0, "=") { i = index($0, "=")
                     name = trim(substr($0, 1, i - 1))
                     print "V\t" section "\t" name "\tINI\t" trim(substr($0, i + 1)) }'
}

# Names of the values of a key, one a line, in stored order.
value_names() {
  K=$2 awk -F'\t' '$1 == "V" && tolower($2) == tolower(ENVIRON["K"]) { print $3 }' "$1"
}

sub_keys() {
  K=$2 awk -F'\t' '$1 == "K" && index(tolower($2), tolower(ENVIRON["K"]) "\\") == 1 {
    rest = substr($2, length(ENVIRON["K"]) + 2); if (index(rest, "\\") == 0) print rest }' "$1"
}

# expect_setting <snapshot> <key> <name> <dword:N | sz:TEXT | bin:HEX>: the stored value,
# whichever store it came from (an INI file holds numbers in decimal and binary data as
# hex digits followed by a checksum byte).
expect_setting() {
  local snap=$1 key=$2 name=$3 expected=$4 found type data want
  found=$(K=$key N=$name awk -F'\t' '$1 == "V" && tolower($2) == tolower(ENVIRON["K"]) &&
          tolower($3) == tolower(ENVIRON["N"]) { print $4 "\t" $5; exit }' "$snap")
  [ -n "$found" ] || fail "$key: no value '$name' (expected ${expected#*:})"
  type=${found%%$'\t'*}
  data=${found#*$'\t'}
  case ${expected%%:*}:$type in
    dword:REG_DWORD) want=$(printf '0x%x' "${expected#dword:}") ;;
    dword:INI) want=${expected#dword:} ;;
    sz:REG_SZ | sz:INI) want=${expected#sz:} ;;
    bin:REG_BINARY) want=${expected#bin:} ;;
    bin:INI) want=${expected#bin:}$(checksum "${expected#bin:}") ;;
    *) fail "$key\\$name: expected ${expected%%:*}, found a value of type $type" ;;
  esac
  [ "$data" = "$want" ] || fail "$key\\$name: expected '$want', found '$data'"
}

checksum() {
  local hex=$1 sum=0
  while [ -n "$hex" ]; do
    sum=$((sum + 16#${hex:0:2}))
    hex=${hex:2}
  done
  printf '%02X' $((sum % 256))
}

# Command ids as stored: 32-bit little-endian numbers in hex.
command_ids_hex() {
  local id
  for id in "$@"; do
    printf '%02X%02X%02X%02X' $((id & 255)) $((id >> 8 & 255)) $((id >> 16 & 255)) \
      $((id >> 24 & 255))
  done
}

# A drive bar just added where "Favorites" held <first> values: the toolbar key with its
# marker and buttons, a bookmark and an icon entry per drive, numbered on from <first>.
# check_new_drive_bar <snapshot> <layout root> <global root> <toolbar> <toolbars after>
#                     <first bookmark> <icon count after> <drive letters>
check_new_drive_bar() {
  local snap=$1 layout=$2 global=$3 toolbar=$4 count=$5 first=$6 icons=$7 letters=$8
  local toolbars="$layout\\MainFrame Settings\\Toolbars" ids=() i letter
  expect_setting "$snap" "$toolbars" nToolbars "dword:$count"
  expect_setting "$snap" "$toolbars\\$toolbar" @ sz:DRIVEBAR_F2
  expect_setting "$snap" "$toolbars\\$toolbar" binState dword:129
  expect_setting "$snap" "$toolbars\\$toolbar" binTBFlags dword:7
  expect_setting "$snap" "$toolbars\\$toolbar" nButtons "dword:${#letters}"
  for ((i = 0; i < ${#letters}; i++)); do
    letter=${letters:i:1}
    ids+=($((40100 + first + i)))
    expect_setting "$snap" "$global\\Favorites" "$(printf '%02X_%s' $((first + i)) "$letter")" \
      "sz:$letter:\\"
    expect_setting "$snap" "$global\\Favorites_icons" "$letter" "sz:$letter:\\"
  done
  expect_setting "$snap" "$toolbars\\$toolbar" nCmdIds "bin:$(command_ids_hex "${ids[@]}")"
  [ "$(value_names "$snap" "$global\\Favorites" | wc -l)" -eq $((first + ${#letters})) ] ||
    fail "$global\\Favorites: expected $((first + ${#letters})) bookmarks, found" \
      "$(value_names "$snap" "$global\\Favorites" | paste -sd' ')"
  expect_setting "$snap" "$global" nCustMenuIcons "dword:$icons"
}

# "nCustMenuIcons" after a run on an INI file of write_ini (5, and two bookmarks
# before the drives'): raised to the bookmark count only.
ini_icon_count() { echo $((2 + $1 > 5 ? 2 + $1 : 5)); }

seed_registry() {
  wine_run reg add "$settings_key\\$1\\MainFrame Settings\\Toolbars" /v nToolbars /t REG_DWORD \
    /d "$2" /f >/dev/null || fail "could not seed the registry with reg add"
}

# The settings as Wine's own reg tool exports them; empty when there are none.
export_settings() {
  rm -f "$1"
  wine_run reg export "$settings_key" "$(win_path "$1")" /y >/dev/null 2>&1 || : >"$1"
}

# An INI file as the file manager keeps its settings, in UTF-16LE with its mark or
# in 8-bit text: write_ini <file> <utf16|ansi> <layout root> <global root>.
write_ini() {
  local lines=("; the file manager's settings" "[$3]" "@=" ""
    "[$3\\MainFrame Settings\\Toolbars]" "nToolbars=1" ""
    "[$3\\MainFrame Settings\\Toolbars\\0_60159]" "@=Standard" "binState=129" ""
    "[$4]" "nCustMenuIcons=5" ""
    "[$4\\Favorites]" "00_Documents=C:\\users\\Public\\Documents"
    "01_Music=C:\\users\\Public\\Music")
  if [ "$2" = utf16 ]; then
    { printf '\xff\xfe'; printf '%s\r\n' "${lines[@]}" | iconv -f UTF-8 -t UTF-16LE; } >"$1"
  else
    printf '%s\r\n' "${lines[@]}" >"$1"
  fi
}

# ---- scenarios ---------------------------------------------------------------------------

scenario_registry_default() {
  local drives snap
  drives=$(prefix_drives)
  seed_registry vantrove_UC 3
  run_addbar "done" registry-done "$work" "$build/addbar.exe"
  expect_box_text "final box" "$(done_text ${#drives})"
  snap=$runs/registry.snap
  registry_snapshot >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 3_60162 4 0 ${#drives} "$drives"
  # A second run finds its drive bar: nothing is added twice.
  cp "$snap" "$runs/first.snap"
  run_addbar "done" - "$work" "$build/addbar.exe"
  expect_box_text "final box of the second run" "$(done_text ${#drives})"
  registry_snapshot >"$snap"
  cmp -s "$snap" "$runs/first.snap" ||
    fail "the second run changed the settings: $(diff "$runs/first.snap" "$snap" | head -n 6)"
  echo "${#drives} buttons ($drives), exit 60 twice"
}

scenario_registry_layout() {
  local drives snap
  drives=$(prefix_drives)
  seed_registry vantrove_UC 3
  seed_registry vantrove_UC.work 1
  run_addbar "done" - "$work" "$build/addbar.exe" /S:work
  expect_box_text "final box" "$(done_text ${#drives})"
  snap=$runs/registry.snap
  registry_snapshot >"$snap"
  check_new_drive_bar "$snap" vantrove_UC.work vantrove_UC.global 1_60160 2 0 ${#drives} "$drives"
  expect_setting "$snap" 'vantrove_UC\MainFrame Settings\Toolbars' nToolbars dword:3
  [ -z "$(sub_keys "$snap" 'vantrove_UC\MainFrame Settings\Toolbars')" ] ||
    fail "the default layout got a toolbar"
  grep -q $'^K\tvantrove_UC.work.global' "$snap" && fail "bookmarks went to a layout's own key"
  echo "toolbar 1_60160 in vantrove_UC.work, bookmarks global"
}

scenario_ini_beside_program() {
  local drives folder snap
  drives=$(prefix_drives)
  folder=$work/program
  mkdir -p "$folder" "$work/elsewhere"
  cp "$build/addbar.exe" "$folder/" || fail "cannot copy addbar.exe"
  write_ini "$folder/settings.ini" utf16 vantrove_UC vantrove_UC.global
  # Started from another folder: the bare name is found beside the program.
  run_addbar "done" - "$work/elsewhere" "$folder/addbar.exe" /I:settings.ini
  expect_box_text "final box" "$(done_text ${#drives})"
  [ ! -e "$work/elsewhere/settings.ini" ] || fail "a settings.ini appeared in the current folder"
  [ "$(head -c 2 "$folder/settings.ini" | od -An -tx1 | tr -d ' ')" = fffe ] ||
    fail "the INI file lost its UTF-16LE mark"
  snap=$runs/ini.snap
  ini_snapshot "$folder/settings.ini" >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 1_60160 2 2 \
    "$(ini_icon_count ${#drives})" "$drives"
  expect_setting "$snap" 'vantrove_UC\MainFrame Settings\Toolbars\0_60159' @ sz:Standard
  expect_setting "$snap" 'vantrove_UC.global\Favorites' 01_Music 'sz:C:\users\Public\Music'
  [ -z "$(registry_snapshot)" ] || fail "an INI run wrote to the registry"
  echo "toolbar 1_60160 and bookmarks 02.. in the UTF-16 INI file beside the program"
}

scenario_ini_absolute() {
  local drives file snap
  drives=$(prefix_drives)
  mkdir -p "$work/inis"
  file=$work/inis/work-layout.ini
  write_ini "$file" ansi vantrove_UC.work vantrove_UC.work.global
  run_addbar "done" - "$work" "$build/addbar.exe" "/I:$(win_path "$file")" /S:work
  expect_box_text "final box" "$(done_text ${#drives})"
  snap=$runs/ini.snap
  ini_snapshot "$file" >"$snap"
  check_new_drive_bar "$snap" vantrove_UC.work vantrove_UC.work.global 1_60160 2 2 \
    "$(ini_icon_count ${#drives})" "$drives"
  [ "$(head -c 1 "$file")" = ";" ] || fail "the 8-bit INI file does not start as it did"
  echo "absolute path with /S:work: sections vantrove_UC.work and vantrove_UC.work.global"
}

scenario_ini_current_folder() {
  local drives snap
  drives=$(prefix_drives)
  mkdir -p "$work/current"
  write_ini "$work/current/settings.ini" ansi vantrove_UC vantrove_UC.global
  run_addbar "done" - "$work/current" "$build/addbar.exe" /I:settings.ini
  expect_box_text "final box" "$(done_text ${#drives})"
  snap=$runs/ini.snap
  ini_snapshot "$work/current/settings.ini" >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 1_60160 2 2 \
    "$(ini_icon_count ${#drives})" "$drives"
  echo "a bare name found in the current folder is the file written"
}

scenario_drives() {
  local before after snap toolbar i why
  before=$(prefix_drives)
  { add_drive a && add_drive d; } || fail "cannot add drive links"
  after=$(prefix_drives)
  [[ $after == A*D* ]] || fail "the prefix shows the drives $after after adding A: and D:"
  why=$(wait_for_drives) || fail "$why"
  seed_registry vantrove_UC 3
  run_addbar "done" drives-done "$work" "$build/addbar.exe"
  expect_box_text "final box" "$(done_text ${#after})"
  snap=$runs/registry.snap
  registry_snapshot >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 3_60162 4 0 ${#after} "$after"
  # Another drive later: only it gets a bookmark, numbered on; the other
  # buttons keep their commands.
  local new letter all ids=() earlier
  for letter in {E..Y}; do [[ $after == *$letter* ]] || { new=$letter; break; }; done
  add_drive "$new" || fail "cannot add a drive link"
  all=$(prefix_drives)
  why=$(wait_for_drives) || fail "$why"
  run_addbar "done" - "$work" "$build/addbar.exe"
  expect_box_text "final box after adding $new:" "$(done_text ${#all})"
  registry_snapshot >"$snap"
  toolbar='vantrove_UC\MainFrame Settings\Toolbars\3_60162'
  expect_setting "$snap" 'vantrove_UC.global\Favorites' "$(printf '%02X_%s' ${#after} "$new")" \
    "sz:$new:\\"
  expect_setting "$snap" 'vantrove_UC.global\Favorites_icons' "$new" "sz:$new:\\"
  [ "$(value_names "$snap" 'vantrove_UC.global\Favorites' | wc -l)" -eq ${#all} ] ||
    fail "Favorites holds $(value_names "$snap" 'vantrove_UC.global\Favorites' | paste -sd' ')"
  expect_setting "$snap" "$toolbar" nButtons "dword:${#all}"
  for ((i = 0; i < ${#all}; i++)); do
    letter=${all:i:1}
    earlier=${after%%"$letter"*}
    if [ "$letter" = "$new" ]; then
      ids+=($((40100 + ${#after})))
    else
      ids+=($((40100 + ${#earlier})))
    fi
  done
  expect_setting "$snap" "$toolbar" nCmdIds "bin:$(command_ids_hex "${ids[@]}")"
  expect_setting "$snap" 'vantrove_UC\MainFrame Settings\Toolbars' nToolbars dword:4
  echo "$before -> $after: ${#after} buttons; $new: added later gets bookmark ${#after} only"
}

scenario_prompt_ok() {
  local drives fm prompt id snap code why
  { add_drive a && add_drive d; } || fail "cannot add drive links"
  drives=$(prefix_drives)
  why=$(wait_for_drives) || fail "$why"
  seed_registry vantrove_UC 3
  start fm "$work" "$build/fm-standin.exe"
  fm=$(find_window '^vantrove_CommPort$' 20) || fail "fm-standin showed no window within 20 s"
  start addbar "$work" "$build/addbar.exe"
  prompt=$(read_box Error 20) || fail "no prompt captioned 'Error' within 20 s"
  [ "$(box_text)" = "click OK to quit vantrove" ] || fail "the prompt says '$(box_text)'"
  [ "$(box_buttons)" = "OK,Cancel" ] || fail "the prompt's buttons are '$(box_buttons)'"
  shoot_window "$prompt" prompt || fail "no screenshot of the prompt"
  shoot_windows prompt-over-file-manager "$fm" "$prompt" || fail "no screenshot of the prompt"
  answer_box "$prompt" ok
  code=$(exit_code fm 10) || fail "fm-standin still runs 10 s after OK"
  [ "$code" = 0 ] || fail "fm-standin ended with $code, expected 0 (closed by the command)"
  id=$(read_box "done" 20) || fail "no final box 'done' after the file manager quit"
  expect_box_text "final box" "$(done_text ${#drives})"
  shoot_window "$id" final-done || fail "no screenshot of the final box"
  answer_box "$id" ok
  code=$(exit_code addbar 10) || fail "addbar went on running after its final box"
  [ "$code" = 60 ] || fail "exit code $code, expected 60"
  snap=$runs/registry.snap
  registry_snapshot >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 3_60162 4 0 ${#drives} "$drives"
  # Restarted, the file manager shows the drive bar.
  start fm "$work" "$build/fm-standin.exe"
  fm=$(find_window '^vantrove_CommPort$' 20) || fail "the restarted fm-standin showed no window"
  poll 5 grep -q '^window:' "$runs/fm.out"
  local expected i
  expected="drive bar: 3_60162"
  for ((i = 0; i < ${#drives}; i++)); do expected+=$'\n'"button $((i + 1)): ${drives:i:1}:\\"; done
  expected+=$'\n'"window: vantrove_CommPort"
  [ "$(tr -d '\r' <"$runs/fm.out")" = "$expected" ] ||
    fail "the restarted fm-standin shows '$(tr -d '\r' <"$runs/fm.out" | paste -sd'|')'"
  shoot_window "$fm" file-manager-drive-bar || fail "no screenshot of the file manager"
  close_file_manager
  echo "prompt answered OK, fm-standin quit (0), done (60); restarted it shows ${#drives} buttons"
}

scenario_prompt_cancel() {
  local fm prompt code
  seed_registry vantrove_UC 3
  export_settings "$runs/before.reg"
  start fm "$work" "$build/fm-standin.exe"
  fm=$(find_window '^vantrove_CommPort$' 20) || fail "fm-standin showed no window within 20 s"
  start addbar "$work" "$build/addbar.exe"
  prompt=$(read_box Error 20) || fail "no prompt captioned 'Error' within 20 s"
  [ "$(box_text)" = "click OK to quit vantrove" ] || fail "the prompt says '$(box_text)'"
  answer_box "$prompt" cancel
  code=$(exit_code addbar 10) || fail "addbar still runs 10 s after Cancel"
  [ "$code" = 100 ] || fail "exit code $code after Cancel, expected 100"
  find_window '^(done|Error)$' 1 >/dev/null && fail "a box came up after Cancel"
  running fm || fail "fm-standin ended although the user cancelled"
  export_settings "$runs/after.reg"
  cmp -s "$runs/before.reg" "$runs/after.reg" || fail "the settings changed after Cancel"
  close_file_manager
  echo "Cancel (a click): exit 100, no box, fm-standin runs on, settings unchanged"
}

scenario_missing_ini() {
  mkdir -p "$work/elsewhere"
  run_addbar Error missing-ini "$work/elsewhere" "$build/addbar.exe" \
    /I:missing.ini
  expect_box_text "final box" \
    "$(printf 'cannot find INI file:\n%smissing.ini' "$build_win")$(usage_text addbar.exe)"
  [ -z "$(registry_snapshot)" ] || fail "the registry changed"
  echo "'cannot find INI file:' with the path beside the program, exit $(box_length)"
}

scenario_folder_as_ini() {
  local folder
  mkdir -p "$work/a-folder.ini"
  folder=$(win_path "$work/a-folder.ini")
  run_addbar Error - "$work" "$build/addbar.exe" "/I:$folder"
  expect_box_text "final box" \
    "$(printf 'cannot find INI file:\n%s%s' "$build_win" "$folder")$(usage_text addbar.exe)"
  echo "a folder is no INI file: the retried path is the program's folder and the folder named"
}

scenario_read_only_ini() {
  local file before
  mkdir -p "$work/inis"
  file=$work/inis/read-only.ini
  write_ini "$file" utf16 vantrove_UC vantrove_UC.global
  chmod a-w "$file" || fail "cannot make the INI file read-only"
  before=$(od -An -tx1 "$file")
  run_addbar Error - "$work" "$build/addbar.exe" "/I:$(win_path "$file")"
  expect_box_text "final box" "cannot write toolbar settings$(usage_text addbar.exe)"
  [ "$(od -An -tx1 "$file")" = "$before" ] || fail "the read-only INI file changed"
  echo "'cannot write toolbar settings', exit $(box_length), the file unchanged"
}

scenario_no_settings() {
  run_addbar Error no-settings "$work" "$build/addbar.exe"
  expect_box_text "final box" "cannot locate toolbar settings$(usage_text addbar.exe)"
  [ -z "$(registry_snapshot)" ] || fail "the registry changed"
  echo "'cannot locate toolbar settings', exit $(box_length), nothing written"
}

scenario_all_drives() {
  local letter drives snap why
  for letter in {a..z}; do
    [ -e "$prefix/dosdevices/$letter:" ] || add_drive "$letter" || fail "cannot add $letter:"
  done
  drives=$(prefix_drives)
  [ "$drives" = ABCDEFGHIJKLMNOPQRSTUVWXYZ ] || fail "the prefix shows the drives $drives"
  why=$(wait_for_drives) || fail "$why"
  seed_registry vantrove_UC 3
  run_addbar "done" all-drives-done "$work" "$build/addbar.exe"
  expect_box_text "final box" "$(done_text 26)"
  snap=$runs/registry.snap
  registry_snapshot >"$snap"
  check_new_drive_bar "$snap" vantrove_UC vantrove_UC.global 3_60162 4 0 26 "$drives"
  echo "26 buttons, bookmarks 00_A to 19_Z, exit $(box_length)"
}

scenario_window_never_closes() {
  local fm prompt start_time waited code
  seed_registry vantrove_UC 3
  export_settings "$runs/before.reg"
  start fm "$work" "$build/fm-standin.exe" /D:never
  fm=$(find_window '^vantrove_CommPort$' 20) || fail "fm-standin showed no window within 20 s"
  start addbar "$work" "$build/addbar.exe"
  prompt=$(read_box Error 20) || fail "no prompt captioned 'Error' within 20 s"
  answer_box "$prompt" ok
  start_time=$(date +%s%N)
  prompt=$(read_box Error 15) || fail "no second prompt within 15 s of OK"
  waited=$((($(date +%s%N) - start_time) / 1000000))
  [ "$(box_text)" = "click OK to quit vantrove" ] || fail "the second prompt says '$(box_text)'"
  # Six polls half a second apart; reading the box takes a moment more.
  ((waited >= 2500 && waited <= 6000)) ||
    fail "the prompt came back after $waited ms, expected about 3 s"
  running fm || fail "fm-standin /D:never ended"
  answer_box "$prompt" cancel
  code=$(exit_code addbar 10) || fail "addbar still runs 10 s after Cancel"
  [ "$code" = 100 ] || fail "exit code $code after Cancel, expected 100"
  export_settings "$runs/after.reg"
  cmp -s "$runs/before.reg" "$runs/after.reg" || fail "the settings changed"
  close_file_manager
  echo "the prompt came back after $waited ms; Cancel then gave 100, settings unchanged"
}

# ---- running them ---------------------------------------------------------------------------

# Every scenario starts from no settings and the prefix's own drives, with a
# folder of its own for what its programs leave.
reset_state() {
  remove_added_drives
  wait_for_drives
  wine_run reg delete "$settings_key" /f >/dev/null 2>&1
}

# Ends what a failed scenario left running (the prefix's Wine server takes its
# programs along) and waits for their exit codes, so that nothing runs on.
end_leftovers() {
  local out name
  for out in "$runs"/*.out; do
    [ -e "$out" ] || continue
    name=$(basename "$out" .out)
    if running "$name"; then
      timeout 20 wineserver -k >/dev/null 2>&1
      poll 10 ended "$name"
    fi
  done
}

failures=0
run_scenario() {
  local id=$1 title=$2 function=$3 started=$SECONDS status detail
  runs=$work/runs/$id
  mkdir -p "$runs"
  reset_state >"$work/logs/$id.reset" 2>&1
  rm -f "$work/why"
  ("$function" >"$work/logs/$id.out" 2>"$work/logs/$id.log")
  status=$?
  end_leftovers
  if [ $status -eq 0 ]; then
    detail=$(tail -n 1 "$work/logs/$id.out")
    printf 'PASS %-3s %s: %s (%ds)\n' "$id" "$title" "$detail" $((SECONDS - started))
  else
    detail=$(cat "$work/why" 2>/dev/null ||
      echo "ended with status $status, see $work/logs/$id.log")
    printf 'FAIL %-3s %s: %s\n' "$id" "$title" "$detail"
    failures=$((failures + 1))
  fi
}

echo "e2e-wine: $build on display $DISPLAY, Wine prefix $prefix (drives $(prefix_drives))"
run_scenario 1 "registry, default layout" scenario_registry_default
run_scenario 2 "registry, /S:work" scenario_registry_layout
run_scenario 3a "/I: beside the program" scenario_ini_beside_program
run_scenario 3b "/I: absolute path elsewhere" scenario_ini_absolute
run_scenario 3c "/I: in the current folder" scenario_ini_current_folder
run_scenario 4 "drives from dosdevices" scenario_drives
run_scenario 6a "running file manager, OK" scenario_prompt_ok
run_scenario 6b "running file manager, Cancel" scenario_prompt_cancel
run_scenario 7a "missing INI file" scenario_missing_ini
run_scenario 7b "read-only INI file" scenario_read_only_ini
run_scenario 7c "a folder as /I:" scenario_folder_as_ini
run_scenario 7d "no toolbar settings" scenario_no_settings
run_scenario 7e "26 drives" scenario_all_drives
run_scenario 7f "a window that never closes" scenario_window_never_closes
reset_state

echo "e2e-wine: screenshots in $shots"
if [ $failures -ne 0 ]; then
  echo "e2e-wine: $failures scenario(s) failed; logs in $work/logs"
  exit 1
fi
echo "e2e-wine: all scenarios passed"
