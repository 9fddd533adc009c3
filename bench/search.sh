#!/usr/bin/env bash
# Search benchmark: on a generated file of 1,300,000 lines, counts the lines that match a plain word and the pattern
# `gamma.*delta` with the engine's buffer search and with `grep -c`, and prints each time and the ratio to grep.
# Goal: within 2x of grep. The engine's time is the search alone, over the text already in the line store (as in the
# editor, where the file is open); loading is reported apart.
#   bench/search.sh            uses build/bench (cmake --preset bench), building search_bench when needed
#   BUILD_DIR=... WORK_DIR=... override the build folder and the folder of the generated file
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/search-data}
lines=1300000
mkdir -p "$work"

bench=$(bench_program search_bench)

file=$work/search_$lines.txt
if [ ! -s "$file" ] || [ "$(wc -l <"$file")" -ne "$lines" ]; then
  # Prose-like lines of 3 to 14 words from a small vocabulary; "omega" is rare, gamma and delta are common.
  awk -v n="$lines" 'BEGIN {
    split("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho sigma tau upsilon phi chi psi", w, " ");
    srand(20240605);
    for (i = 1; i <= n; i++) {
      k = 3 + int(rand() * 12); line = "";
      for (j = 0; j < k; j++) {
        r = rand();
        word = (r < 0.004) ? "omega" : w[1 + int(rand() * 23)];
        line = (j == 0) ? word : line " " word;
      }
      if (i % 97 == 0) line = "\t" line;
      print line;
    }
  }' >"$file"
fi

count_lines() { LC_ALL=C grep -c -- "$1" "$file" || true; }

printf '%-16s %10s %10s %12s %10s %8s\n' pattern grep_count osk_count grep_ms osk_ms ratio
for pattern in omega 'gamma.*delta'; do
  gcount=$(count_lines "$pattern")
  gms=$(best_of_three_ms count_lines "$pattern")
  read -r _ _ _ ocount _ oms _ lms < <("$bench" "$file" "$pattern" 1 3)
  printf '%-16s %10s %10s %12s %10s %8s\n' "$pattern" "$gcount" "$ocount" "$gms" "$oms" "$(ratio "$oms" "$gms")"
  if [ "$gcount" != "$ocount" ]; then echo "count mismatch for $pattern" >&2; exit 1; fi
done
echo "(file load into the line store: ${lms} ms, not included)"
