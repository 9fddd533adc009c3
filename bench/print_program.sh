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
cd "$root"
lines=${1:-10000}
build=$root/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target OSK32 osk32_print_bench >/dev/null
setsid scripts/wine-session.sh start "$build" >/dev/null 2>&1 </dev/null
eval "$(scripts/wine-session.sh env "$build")"
# The benchmark puts Wine's "Managed" setting back itself; this is for a run that was stopped before it could.
finish() {
  if [ "${bench_done:-0}" != 1 ]; then
    timeout 60 "$OSK_WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  fi
  scripts/wine-session.sh stop "$build" >/dev/null 2>&1 || true
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
awk -v n="$lines" 'BEGIN {
  for (i = 1; i <= n; i++) {
    if (i % 4 == 0) printf "/* comment %d: the value below is used by the caller */\n", i
    else printf "static int function%05d(int a, int b) { return a * %d + b; }\n", i, i
  }
}' >"$file"
peer=""
if command -v enscript >/dev/null; then
  peer="enscript -q -2 -C -o $work/print.ps $file"
elif command -v a2ps >/dev/null; then
  peer="a2ps -q -2 -C -o $work/print.ps $file"
fi
if [ -z "$peer" ]; then
  echo "no enscript or a2ps here: the program printed in ${ours} ms, no peer to compare with"
  exit 0
fi
best=""
for _ in 1 2 3; do
  start=$(date +%s%N)
  $peer >/dev/null 2>&1
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "peer (${peer%% *})  ${best} ms"
awk -v a="$ours" -v b="$best" 'BEGIN { r = (b > 0 ? a / b : 0); printf "ratio %.2f (goal: at most 3)\n", r }'
