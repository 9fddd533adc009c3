#!/usr/bin/env bash
# Starts or stops the throw-away Wine session that the Windows tests run in: a WINEPREFIX inside the build folder,
# a persistent wineserver, and an Xvfb display when no display is given.
#   wine-session.sh start BUILD_DIR    (idempotent; safe to call from several processes at once)
#   wine-session.sh stop  BUILD_DIR
#   wine-session.sh env   BUILD_DIR    (prints the variables to export)
set -euo pipefail
cmd=${1:?start, stop or env}
build=$(cd "${2:?build folder}" && pwd)
state="$build/wine"
mkdir -p "$state"

WINE=${OSK_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
WINESERVER=${OSK_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver64)}
export WINEPREFIX="$state/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

display_alive() { [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }

print_env() {
  echo "export WINEPREFIX='$WINEPREFIX' WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES' WINEARCH=win64"
  if [ -f "$state/display" ] && display_alive; then
    echo "export DISPLAY=':$(cat "$state/display")'"
  fi
  echo "export OSK_WINE='$WINE'"
}

start() {
  exec 9>"$state/lock"
  flock 9
  if [ -z "${DISPLAY:-}" ] || [ -n "${OSK_FORCE_XVFB:-}" ]; then
    if ! display_alive; then
      rm -f "$state/display"
      # 9>&-: the daemons must not inherit the lock, or every later start would wait for them forever.
      Xvfb -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$state/display" >"$state/xvfb.log" 2>&1 9>&- </dev/null &
      echo $! >"$state/xvfb.pid"
      for _ in $(seq 1 100); do [ -s "$state/display" ] && break; sleep 0.05; done
      [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    fi
    export DISPLAY=":$(cat "$state/display")"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$WINE" wineboot -i >"$state/wineboot.log" 2>&1 9>&- </dev/null || true
    "$WINESERVER" -w
  fi
  "$WINESERVER" -p >/dev/null 2>&1 9>&- </dev/null || true
  manage_windows
}

# There is no window manager on the session's own display: Wine is told not to wait for one, which otherwise costs
# about two seconds after every window that closes (each dialog and message box). On a display of the user's, its
# window manager takes Wine's windows as usual. Checked at every start, so that a prefix made for one kind of
# display serves the other too.
manage_windows() {
  local key='HKCU\Software\Wine\X11 Driver' want=Y now=Y
  [ -s "$state/display" ] && [ "${DISPLAY:-}" = ":$(cat "$state/display")" ] && want=N
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null && now=N
  [ "$want" = "$now" ] && return
  if [ "$want" = N ]; then
    "$WINE" reg add "$key" /v Managed /d N /f >/dev/null 2>&1 9>&- </dev/null || true
  else
    "$WINE" reg delete "$key" /v Managed /f >/dev/null 2>&1 9>&- </dev/null || true
  fi
}

stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if display_alive; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; fi
  rm -f "$state/xvfb.pid" "$state/display"
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  env) print_env ;;
  *) echo "unknown command $cmd" >&2; exit 2 ;;
esac
