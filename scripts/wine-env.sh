#!/usr/bin/env bash
# Sourced: addbar_wine_env <build folder> prepares WINEPREFIX, WINEDEBUG and
# DISPLAY for running the Windows build under Wine. Every wait is bounded.

# Whether X server :$1 is up: its socket is there and the process named in
# its lock file is alive. A killed server leaves both files behind, and Wine
# would wait on such a display for ever.
addbar_display_live() {
  local pid
  [ -e "/tmp/.X11-unix/X$1" ] || return 1
  pid=$(tr -dc 0-9 < "/tmp/.X$1-lock" 2>/dev/null) || return 1
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

addbar_wine_env() {
  local build
  build=$(cd "$1" 2>/dev/null && pwd) || { echo "wine-env: no build folder $1" >&2; return 1; }
  export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
  export WINEDEBUG="${WINEDEBUG:--all}"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
  # Wine's own crash dialog would wait for a click that never comes.
  export WINEARCH=win32

  if ! command -v wine >/dev/null; then
    echo "wine-env: wine is not installed (scripts/install-deps.sh installs it)" >&2
    return 1
  fi

  if [ -z "${DISPLAY:-}" ]; then
    local number=${ADDBAR_XVFB_DISPLAY:-97}
    if ! addbar_display_live "$number"; then
      if ! command -v Xvfb >/dev/null; then
        echo "wine-env: no DISPLAY and no Xvfb to start one" >&2
        return 1
      fi
      (exec 200>"/tmp/.addbar-xvfb-$number.lock"; flock -w 30 200 || exit 1
       if ! addbar_display_live "$number"; then
         rm -f "/tmp/.X11-unix/X$number"
         setsid Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
         for _ in $(seq 1 100); do addbar_display_live "$number" && break; sleep 0.1; done
       fi)
    fi
    if ! addbar_display_live "$number"; then
      echo "wine-env: Xvfb :$number did not start" >&2
      return 1
    fi
    export DISPLAY=":$number"
  fi

  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    (exec 201>"$WINEPREFIX.lock"; flock -w 120 201 || exit 1
     if [ ! -f "$WINEPREFIX/system.reg" ]; then
       timeout --kill-after=10 120 wineboot -i >/dev/null 2>&1
       # No debugger dialog for a program that crashes: it just ends.
       timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
         /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
       timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
         /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1
       timeout 60 wineserver -w
     fi)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-env: creating the Wine prefix $WINEPREFIX failed or took over 2 minutes" >&2
      return 1
    fi
  fi
  # Keep the server between the many short test programs.
  wineserver -p 60 >/dev/null 2>&1 || true
  return 0
}
