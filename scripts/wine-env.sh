#!/usr/bin/env bash
# The one Wine environment of the project, for both bitnesses: CTest's
# emulator (wine-run.sh), the end-to-end scenarios (e2e-wine.sh), the
# differential test and bench/wine_runs.py all get Wine through it.
#
# Sourced:
#   addbar_wine_env <build folder> [state folder]
#       exports WINEARCH, WINEPREFIX (default <build>/wineprefix), WINESERVER,
#       ADDBAR_WINE_LOADER (scripts/wine/loader32 or loader64, which start
#       Wine's loader with a fixed address layout), TMPDIR (<prefix>.tmp),
#       WINEDEBUG, WINEDLLOVERRIDES and DISPLAY. The build
#       folder's file wine-arch (written by CMake) says win32 or win64. When
#       DISPLAY is unset, an Xvfb of this environment's own is started, or the
#       one it started before is reused; its number and pid are kept in the
#       state folder (default: the build folder).
#   addbar_wine_stop <build folder> [state folder]
#       ends the prefix's Wine server and the Xvfb recorded in the state
#       folder, by its pid: nothing this environment did not start.
#   addbar_wine_loader <program>
#       prints the loader that fits a Windows program's bitness.
#   addbar_wine_keep_server
#       keeps the prefix's server running between programs, for a minute.
# Run as a script: scripts/wine-env.sh stop <build folder> [state folder].
# Every wait is bounded.

# Debian puts both loaders and both servers here; /usr/bin/wine picks the
# 32-bit loader whenever it is installed, so they are called by their paths.
export ADDBAR_WINE_LIBEXEC=${ADDBAR_WINE_LIBEXEC:-/usr/lib/wine}
ADDBAR_WINE_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine

addbar_wine_arch_of_build() {
  local arch
  arch=$(head -n 1 "$1/wine-arch" 2>/dev/null)
  case "$arch" in
    win32 | win64) printf '%s\n' "$arch" ;;
    *) echo "wine-env: $1/wine-arch is missing; configure a Windows preset first" >&2; return 1 ;;
  esac
}

# The machine field of a PE file's header: 014c for x86, 8664 for x64.
addbar_pe_machine() {
  local offset
  offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 1
  [ -n "$offset" ] || return 1
  od -An -t x2 -j $((offset + 4)) -N 2 "$1" 2>/dev/null | tr -d ' '
}

addbar_wine_loader() {
  case "$(addbar_pe_machine "$1")" in
    8664) printf '%s\n' "$ADDBAR_WINE_SCRIPTS/loader64" ;;
    014c) printf '%s\n' "$ADDBAR_WINE_SCRIPTS/loader32" ;;
    *) printf '%s\n' "${ADDBAR_WINE_LOADER:?the Wine environment is not set up}" ;;
  esac
}

# Whether pid is the Xvfb this environment started for display number.
addbar_xvfb_ours() {
  local pid=$1 number=$2
  [ -n "$pid" ] && [ -n "$number" ] || return 1
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] || return 1
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- '-displayfd' || return 1
  [ -e "/tmp/.X11-unix/X$number" ]
}

# Sets DISPLAY to the Xvfb recorded in the state folder, starting one first
# when there is none alive. Xvfb picks a free display number itself and
# writes it to the descriptor -displayfd names, so no number is guessed.
addbar_wine_display() {
  local state=$1 number='' pid='' lock
  exec {lock}>"$state/xvfb.lock" || return 1
  if ! flock -w 60 "$lock"; then
    exec {lock}>&-
    echo "wine-env: another start of Xvfb in $state did not end within a minute" >&2
    return 1
  fi
  [ -f "$state/xvfb" ] && read -r number pid <"$state/xvfb"
  if ! addbar_xvfb_ours "$pid" "$number"; then
    command -v Xvfb >/dev/null || {
      exec {lock}>&-
      echo "wine-env: no DISPLAY and no Xvfb to start one" >&2
      return 1
    }
    rm -f "$state/xvfb" "$state/xvfb.number"
    # Its own session, so that the end of the test that started it does not
    # end it; no descriptor of ours (a caller's pipe, the lock) stays open in it.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
      3>"$state/xvfb.number" >"$state/xvfb.log" 2>&1 </dev/null {lock}>&- &
    pid=$!
    for _ in $(seq 1 300); do
      number=$(head -n 1 "$state/xvfb.number" 2>/dev/null)
      [ -n "$number" ] && addbar_xvfb_ours "$pid" "$number" && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if ! addbar_xvfb_ours "$pid" "$number"; then
      kill "$pid" 2>/dev/null
      exec {lock}>&-
      echo "wine-env: Xvfb did not start within 30 s (see $state/xvfb.log)" >&2
      return 1
    fi
    printf '%s %s\n' "$number" "$pid" >"$state/xvfb"
  fi
  exec {lock}>&-
  export DISPLAY=":$number"
}

# Settings every prefix gets, made once when the prefix is made.
addbar_wine_prefix_settings() {
  cat <<'EOF'
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
}

addbar_wine_prefix() {
  [ -f "$WINEPREFIX/.addbar-ready" ] && return 0
  mkdir -p "$WINEPREFIX" || return 1
  (
    flock -w 180 9 || exit 1
    [ -f "$WINEPREFIX/.addbar-ready" ] && exit 0
    # No Mono or Gecko downloads, and Wine's helpers keep no pipe of ours.
    timeout --kill-after=10 120 "$ADDBAR_WINE_LOADER" wineboot -i </dev/null >/dev/null 2>&1 ||
      exit 1
    addbar_wine_prefix_settings >"$WINEPREFIX/drive_c/addbar-prefix.reg" || exit 1
    timeout --kill-after=10 60 "$ADDBAR_WINE_LOADER" regedit /s 'C:\addbar-prefix.reg' \
      </dev/null >/dev/null 2>&1 || exit 1
    rm -f "$WINEPREFIX/drive_c/addbar-prefix.reg"
    # Wine's own symbol font, for the close button in the captions.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    fi
    timeout 60 "$WINESERVER" -w
    touch "$WINEPREFIX/.addbar-ready"
  ) 9>"$WINEPREFIX.lock"
  if [ ! -f "$WINEPREFIX/.addbar-ready" ]; then
    echo "wine-env: creating the $WINEARCH Wine prefix $WINEPREFIX failed or took over 2 minutes" >&2
    return 1
  fi
}

addbar_wine_env() {
  local build state arch
  build=$(cd "$1" 2>/dev/null && pwd) || { echo "wine-env: no build folder $1" >&2; return 1; }
  state=$(cd "${2:-$build}" 2>/dev/null && pwd) || { echo "wine-env: no folder $2" >&2; return 1; }
  arch=$(addbar_wine_arch_of_build "$build") || return 1
  export WINEARCH=$arch
  export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
  # Wine's server makes its socket folder in $TMPDIR and leaves it there when
  # it ends: a folder beside the prefix holds it rather than /tmp, and
  # addbar_wine_stop removes it. Every process of a prefix must see the same
  # folder, or it would not find the prefix's server.
  export TMPDIR="$WINEPREFIX.tmp"
  mkdir -p -m 700 "$TMPDIR" || { echo "wine-env: cannot make $TMPDIR" >&2; return 1; }
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  local loader
  if [ "$arch" = win64 ]; then
    loader="$ADDBAR_WINE_LIBEXEC/wine64" WINESERVER="$ADDBAR_WINE_LIBEXEC/wineserver64"
    ADDBAR_WINE_LOADER="$ADDBAR_WINE_SCRIPTS/loader64"
  else
    loader="$ADDBAR_WINE_LIBEXEC/wine" WINESERVER="$ADDBAR_WINE_LIBEXEC/wineserver32"
    ADDBAR_WINE_LOADER="$ADDBAR_WINE_SCRIPTS/loader32"
  fi
  export ADDBAR_WINE_LOADER WINESERVER
  if [ ! -x "$loader" ] || [ ! -x "$WINESERVER" ]; then
    echo "wine-env: $arch Wine is not installed ($loader, $WINESERVER;" \
      "scripts/install-deps.sh installs it)" >&2
    return 1
  fi
  if [ -z "${DISPLAY:-}" ]; then
    addbar_wine_display "$state" || return 1
  fi
  addbar_wine_prefix || return 1
  return 0
}

# Keeps the prefix's server between many short programs, for a minute after
# the last. Not for callers that change the prefix's drives: the server reads
# them when it starts.
addbar_wine_keep_server() {
  "$WINESERVER" -p 60 </dev/null >/dev/null 2>&1 || true
}

addbar_wine_stop() {
  local build state number='' pid=''
  # Without a build folder, cd "" would take the current one for it.
  if [ -z "${1:-}" ]; then
    echo "wine-env: addbar_wine_stop <build folder> [state folder]" >&2
    return 2
  fi
  build=$(cd "$1" 2>/dev/null && pwd) || return 0
  state=$(cd "${2:-$build}" 2>/dev/null && pwd) || return 0
  local arch server
  arch=$(addbar_wine_arch_of_build "$build" 2>/dev/null)
  server="$ADDBAR_WINE_LIBEXEC/wineserver32"
  [ "$arch" = win64 ] && server="$ADDBAR_WINE_LIBEXEC/wineserver64"
  local prefix="${WINEPREFIX:-$build/wineprefix}"
  if [ -d "$prefix" ] && [ -x "$server" ]; then
    WINEPREFIX="$prefix" TMPDIR="$prefix.tmp" timeout 30 "$server" -k >/dev/null 2>&1
    WINEPREFIX="$prefix" TMPDIR="$prefix.tmp" timeout 30 "$server" -w >/dev/null 2>&1
  fi
  rm -rf -- "$prefix.tmp"
  [ -f "$state/xvfb" ] && read -r number pid <"$state/xvfb"
  if addbar_xvfb_ours "$pid" "$number"; then
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$state/xvfb" "$state/xvfb.number" "$state/xvfb.lock"
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    stop) shift; addbar_wine_stop "$@" ;;
    *) echo "usage: scripts/wine-env.sh stop <build folder> [state folder]" >&2; exit 2 ;;
  esac
fi
