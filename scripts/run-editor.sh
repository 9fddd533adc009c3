#!/usr/bin/env bash
# Starts the editor under wine64 on a file, in the build folder's Wine session.
#   run-editor.sh BUILD_DIR FILE
# With a display the editor simply runs until it is closed. Without one it runs on the session's Xvfb display: once
# the frame is up and the file shown, a screenshot is saved to BUILD_DIR/shot.png, then the editor and the session
# are ended.
set -euo pipefail
build=${1:?build folder}
file=${2:?file to open}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$build" && pwd)
program="$build/bin/OSK32.exe"
[ -f "$program" ] || { echo "run-editor: $program is not built" >&2; exit 1; }
[ -e "$file" ] || { echo "run-editor: $file does not exist" >&2; exit 1; }

headless=
if [ -z "${DISPLAY:-}" ]; then headless=1; fi

"$here/wine-session.sh" start "$build"
eval "$("$here/wine-session.sh" env "$build")"
trap '"$here/wine-session.sh" stop "$build"' EXIT

# The program takes Windows file names: a Unix path starting with "/" would read as an option.
winfile=$("$OSK_WINE" winepath -w "$file" 2>/dev/null | tr -d '\r')
[ -n "$winfile" ] || { echo "run-editor: wine cannot name $file" >&2; exit 1; }

if [ -z "$headless" ]; then
  "$OSK_WINE" "$program" "$winfile"
  exit 0
fi

"$OSK_WINE" "$program" "$winfile" >"$build/wine/run-editor.log" 2>&1 &
editor=$!

frame=
for _ in $(seq 1 300); do
  frame=$(xdotool search --onlyvisible --name '^OSK$' 2>/dev/null | head -n 1 || true)
  [ -n "$frame" ] && break
  kill -0 "$editor" 2>/dev/null || { echo "run-editor: the editor ended before its frame showed" >&2; exit 1; }
  sleep 0.1
done
[ -n "$frame" ] || { echo "run-editor: no frame titled OSK appeared" >&2; kill "$editor" 2>/dev/null; exit 1; }

# The files are opened after the frame shows; give them time to load and paint.
sleep 3
import -window root "$build/shot.png"
echo "run-editor: screenshot saved to $build/shot.png"

# Close it the way a user would (WM_CLOSE); the session's end stops whatever remains.
"$OSK_WINE" taskkill /IM OSK32.exe >/dev/null 2>&1 || true
for _ in $(seq 1 50); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
wait "$editor" 2>/dev/null || true
