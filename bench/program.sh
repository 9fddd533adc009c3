#!/usr/bin/env bash
# The program under Wine: a key's cost in a 10-line and in a 1,000,000-line document, and the start-up to the first
# painted document against Wine's notepad on the same file, in the same run.
#   bench/program.sh [lines]    builds the windows preset's OSK32 and osk32_bench, runs them in the test session
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$root/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target OSK32 osk32_bench >/dev/null
setsid scripts/wine-session.sh start "$build" >/dev/null 2>&1 </dev/null
trap 'scripts/wine-session.sh stop "$build" >/dev/null 2>&1 || true' EXIT
eval "$(scripts/wine-session.sh env "$build")"
cd "$build/bin"
timeout 900 "$OSK_WINE" osk32_bench.exe "$@" 2>/dev/null
