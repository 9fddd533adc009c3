#!/usr/bin/env bash
# Runs a Windows program under wine64 in the build folder's Wine session (the CTest emulator).
#   wine-run.sh BUILD_DIR program.exe [arguments...]
# The program's output goes through a file: Wine's long-lived helpers (the desktop, services) inherit whatever the
# first program had as output, and a pipe they hold open would keep CTest waiting after the test has ended.
set -uo pipefail
build=${1:?build folder}; shift
here=$(dirname "$0")
"$here/wine-session.sh" start "$build" || { echo "wine-run: the Wine session did not start" >&2; exit 1; }
eval "$("$here/wine-session.sh" env "$build")"
out=$(mktemp "${TMPDIR:-/tmp}/osk-wine-XXXXXX")
run() {
  local began=$SECONDS
  "$OSK_WINE" "$@" >"$out" 2>&1 </dev/null
  rc=$?
  elapsed=$((SECONDS - began))
}
run "$@"
# A failure within a second that printed nothing is Wine failing to start the program, not the program failing:
# no test of ours gets that far that fast. Say so, and try once more on a fresh start of the session.
if [ "$rc" -ne 0 ] && [ "$elapsed" -le 1 ] && [ ! -s "$out" ]; then
  echo "wine-run: $1 ended at once with code $rc and no output; starting it once more" >&2
  "$here/wine-session.sh" start "$build" >&2 || true
  run "$@"
fi
cat "$out"
rm -f "$out"
[ "$rc" -eq 0 ] || echo "wine-run: $1 ended with code $rc after ${elapsed}s" >&2
exit $rc
