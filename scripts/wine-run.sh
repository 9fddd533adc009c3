#!/usr/bin/env bash
# Runs a Windows program under wine64 in the build folder's Wine session (the CTest emulator).
#   wine-run.sh BUILD_DIR program.exe [arguments...]
set -euo pipefail
build=${1:?build folder}; shift
here=$(dirname "$0")
"$here/wine-session.sh" start "$build"
eval "$("$here/wine-session.sh" env "$build")"
exec "$OSK_WINE" "$@"
