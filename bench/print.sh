#!/usr/bin/env bash
# Printing benchmark: a generated C file of 10,000 lines written as a print stream, read back and laid out in two
# numbered columns with header and footer, against the same file made into PostScript by enscript (or a2ps) in the
# same run. Goal: within 3x of the peer. Without either peer the layout's time is shown alone.
#   bench/print.sh         uses build/bench (cmake --preset bench), building print_bench when needed
#   BUILD_DIR=... WORK_DIR=... override the build folder and the folder of the generated file
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/print-data}
lines=10000
mkdir -p "$work"

bench=$build/bin/print_bench
if [ ! -x "$bench" ]; then
  (cd "$root" && cmake --preset bench -B "$build" >/dev/null && cmake --build "$build" --target print_bench >/dev/null)
fi

file=$work/print.c
if [ ! -s "$file" ]; then
  awk -v n=$lines 'BEGIN {
    for (i = 1; i <= n; i++) {
      if (i % 4 == 0) printf "/* comment %d: the value below is used by the caller */\n", i
      else printf "static int function%05d(int a, int b) { return a * %d + b; }\n", i, i
    }
  }' >"$file"
fi

"$bench" "$file"
ours=$("$bench" "$file" 3 | awk '/^total/ { print $2 }')

peer=""
if command -v enscript >/dev/null; then
  peer="enscript -q -2 -C -o $work/print.ps $file"
elif command -v a2ps >/dev/null; then
  peer="a2ps -q -2 -C -o $work/print.ps $file"
fi
if [ -z "$peer" ]; then
  echo "no enscript or a2ps here: layout ${ours} ms, no peer to compare with"
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
