#!/usr/bin/env bash
# Runs a Windows program under wine64 in the build folder's Wine session (the CTest emulator).
#   wine-run.sh BUILD_DIR program.exe [arguments...]
# The program's output goes through a file: Wine's long-lived helpers (the desktop, services) inherit whatever the
# first program had as output, and a pipe they hold open would keep CTest waiting after the test has ended.
set -uo pipefail
build=${1:?build folder}; shift
here=$(dirname "$0")
"$here/wine-session.sh" start "$build" || exit 1
eval "$("$here/wine-session.sh" env "$build")"
out=$(mktemp "${TMPDIR:-/tmp}/osk-wine-XXXXXX")
"$OSK_WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
