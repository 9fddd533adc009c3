#!/usr/bin/env bash
# The program under Wine: a key's cost in a 10-line and in a 1,000,000-line document, and the start-up to the first
# painted document against Wine's notepad on the same file, in the same run.
#   bench/program.sh [lines]    builds the windows preset's OSK32 and osk32_bench, runs them in the test session
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
wine_bench_session OSK32 osk32_bench
cd "$build/bin"
timeout 900 "$OSK_WINE" osk32_bench.exe "$@" 2>/dev/null
