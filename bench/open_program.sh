#!/usr/bin/env bash
# Opening a large file in the program under Wine: from the command line to the first painted document, against the
# engine's own load of the same file in the same run (goal: at most 1.5 times), the gauge seen moving, and the
# program's peak memory against the file's size (goal: at most 1.2 times).
#   bench/open_program.sh [megabytes]   (100 unless given) builds the windows preset's OSK32, osk_engine_load and
#                                        osk32_open_bench, runs stripped copies of them in the test session; the
#                                        file is written in the session's scratch folder under build/ and removed
#                                        afterwards
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
wine_bench_session OSK32 osk_engine_load osk32_open_bench
# The programs run as they are shipped, stripped: Wine reads a PE image whose sections do not line up with pages
# into memory whole, debug information included, and that would count as the program's memory.
stage=$build/open-bench
rm -rf "$stage" && mkdir -p "$stage"
strip=$(sed -n 's/^CMAKE_STRIP:[A-Z]*=//p' "$build/CMakeCache.txt")
for binary in OSK32.exe OSKECD32.dll OSKOCS32.dll osk_engine_load.exe osk32_open_bench.exe; do
  "$strip" -o "$stage/$binary" "$build/bin/$binary"
done
cp "$build/bin/OSKECD32.stx" "$stage/"
cd "$stage"
# Wine's own processes keep a pipe open after the bench ends: the output goes through a file.
status=0
timeout 900 "$OSK_WINE" osk32_open_bench.exe "$@" >"$build/open-bench.txt" 2>/dev/null || status=$?
tr -d '\r' <"$build/open-bench.txt"
exit $status
