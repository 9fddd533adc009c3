#!/usr/bin/env bash
# Colouring benchmark: on a generated C file of 1,000,000 lines, the time to colour every line once and to repaint
# a screen after an edit that opens a block comment at the top, each against `grep -c` for the comment marker over
# the same file. Colouring the whole file is the block state of every line (what opening a file or changing its
# definition computes, and all that painting needs beyond the lines on screen); the runs of every line, as printing
# a whole file asks for them, are measured too. Goal: within 2x of grep.
#   bench/colouring.sh         uses build/bench (cmake --preset bench), building colouring_bench when needed
#   BUILD_DIR=... WORK_DIR=... override the build folder and the folder of the generated file
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/colouring-data}
lines=1000000
mkdir -p "$work"

bench=$(bench_program colouring_bench)

file=$work/colouring_$lines.c
if [ ! -s "$file" ] || [ "$(wc -l <"$file")" -ne "$lines" ]; then
  awk -v n="$lines" 'BEGIN {
    srand(20261207);
    for (i = 1; i <= n; i++) {
      r = rand();
      if (r < 0.05) print "/* block comment " i;
      else if (r < 0.10) print "   end of the block */";
      else if (r < 0.20) print "    // note on line " i;
      else if (r < 0.25) print "#include <header" i % 50 ".h>";
      else if (r < 0.45) print "    if (count > " i ") return \"value " i "\";";
      else if (r < 0.65) print "    int total" i % 97 " = compute(a, b, '\''x'\'') + " i ";";
      else if (r < 0.80) print "\tfor (unsigned int k = 0; k < limit; ++k) { sum += k; }";
      else print "static const char* name" i % 31 " = \"text /* not a comment */\";";
    }
  }' >"$file"
fi

count_comment_lines() { LC_ALL=C grep -c -F -- '/*' "$file"; }
best=$(best_of_three_ms count_comment_lines)

read -r _ count _ runs _ bits _ colour _ repaint < <("$bench" "$file" "$root/engine/OSKECD32.stx" 10)
total=$(awk -v a="$bits" -v b="$colour" 'BEGIN { printf "%.1f", a + b }')
printf '%-34s %10s %10s %8s\n' task osk_ms grep_ms ratio
printf '%-34s %10s %10s %8s\n' "block state of every line" "$bits" "$best" "$(ratio "$bits" "$best")"
printf '%-34s %10s %10s %8s\n' "runs of every line, in order" "$colour" "$best" "$(ratio "$colour" "$best")"
printf '%-34s %10s %10s %8s\n' "both" "$total" "$best" "$(ratio "$total" "$best")"
printf '%-34s %10s %10s %8s\n' "repaint after /* edit" "$repaint" "$best" "$(ratio "$repaint" "$best")"
echo "($count lines, $runs runs; best of 10 passes against the best of 3 grep runs)"
