#!/usr/bin/env bash
# Printing through the program under Wine: a 10,000-line C file printed with the Print command to a PostScript
# printer on "FILE:" in two numbered columns with header and footer, against the same file made into PostScript
# by enscript (or a2ps) in the same run. Goal: within 3x of the peer. The program's time runs from the answered
# output file dialog to the complete PostScript file (the engine's print stream, the layout and the drawing on
# the printer); its windows are unmanaged meanwhile, so that Wine's two-second wait for a window manager after the
# dialog closes is not counted.
#   bench/print_program.sh [lines]   builds the windows preset's OSK32 and osk32_print_bench, runs them in the
#                                    test session
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
lines=${1:-10000}
wine_bench_session OSK32 osk32_print_bench
# The benchmark puts Wine's "Managed" setting back itself; this is for a run that was stopped before it could.
finish() {
  if [ "${bench_done:-0}" != 1 ]; then
    timeout 60 "$OSK_WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  fi
  "$root/scripts/wine-session.sh" stop "$build" >/dev/null 2>&1 || true
}
trap finish EXIT
result=$(cd "$build/bin" && timeout 900 "$OSK_WINE" osk32_print_bench.exe "$lines" 2>/dev/null | tr -d '\r')
bench_done=1
echo "$result"
ours=$(echo "$result" | awk '/^total/ { print $2 }')
[ -n "$ours" ] || exit 1

work=$build/print-bench
mkdir -p "$work"
file=$work/print.c
write_print_source "$file" "$lines"
compare_with_print_peer "$ours" "$file" "$work/print.ps"
