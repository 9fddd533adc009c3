#!/usr/bin/env bash
# Load and save benchmark: a file of 80-character lines (100 MB; 1 GB too with BIG=1 when the disk allows) is loaded
# and saved by the engine, and the same work is timed for cat (the read limit), cp (the write limit) and vim -es (a
# peer editor, load and write). Goals: load within 4x of cat, at least 5x faster than vim, save within 2x of cp,
# peak memory at most 1.1x the file size.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/load-data}
mkdir -p "$work"
bench=$build/bin/load_save_bench
[ -x "$bench" ] || { echo "build the bench preset first" >&2; exit 1; }

ms() { date +%s%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) / 1000000 }'; }

make_file() {   # make_file PATH MEGABYTES
  [ -s "$1" ] && [ "$(stat -c %s "$1")" -ge $(($2 * 1000000)) ] && return
  awk -v n=$(($2 * 1000000 / 81)) 'BEGIN {
    s = "The quick brown fox jumps over the lazy dog while seventy-nine cells fill a line.";
    for (i = 0; i < n; i++) print substr(s substr(s, 1, i % 7), 1 + i % 3, 80);
  }' >"$1"
}

run() {   # run MEGABYTES
  local file=$work/lines_$1MB.txt copy=$work/copy.txt
  make_file "$file" "$1"
  cat "$file" >/dev/null   # warm the page cache for everyone alike
  local a b cat_ms cp_ms vim_ms
  a=$(ms); cat "$file" >/dev/null; b=$(ms); cat_ms=$(elapsed "$a" "$b")
  a=$(ms); cp "$file" "$copy"; sync "$copy"; b=$(ms); cp_ms=$(elapsed "$a" "$b"); rm -f "$copy"
  read -r load_ms save_ms peak_kb touch_ms < <("$bench" "$file" "$copy")
  cmp -s "$file" "$copy" || { echo "engine copy differs from the original" >&2; exit 1; }
  rm -f "$copy"
  vim_ms=n/a
  if command -v vim >/dev/null && [ "$1" -le 200 ]; then
    a=$(ms); vim -es -N -u NONE -i NONE -c "w! $copy" -c 'q!' "$file" </dev/null >/dev/null 2>&1 || true; b=$(ms)
    vim_ms=$(elapsed "$a" "$b"); rm -f "$copy"
  fi
  local size_kb=$(( $(stat -c %s "$file") / 1024 ))
  echo "== $1 MB, $(wc -l <"$file") lines"
  printf '  load  %8s ms   cat %8s ms   ratio %s (goal <= 4)\n' "$load_ms" "$cat_ms" "$(ratio "$load_ms" "$cat_ms")"
  printf '        (touching %s KB of fresh memory alone takes %s ms here: load is %s x that floor)\n' \
    "$(( $(stat -c %s "$file") / 1024 ))" "$touch_ms" "$(ratio "$load_ms" "$touch_ms")"
  if [ "$vim_ms" != n/a ]; then
    printf '  vim -es load+write %8s ms   engine load+save %s ms   vim/engine %s (goal >= 5)\n' "$vim_ms" \
      "$(awk -v a="$load_ms" -v b="$save_ms" 'BEGIN { print a + b }')" \
      "$(ratio "$vim_ms" "$(awk -v a="$load_ms" -v b="$save_ms" 'BEGIN { print a + b }')")"
  fi
  printf '  save  %8s ms   cp  %8s ms   ratio %s (goal <= 2)\n' "$save_ms" "$cp_ms" "$(ratio "$save_ms" "$cp_ms")"
  printf '  peak memory %s KB for a %s KB file: %s (goal <= 1.1)\n' "$peak_kb" "$size_kb" "$(ratio "$peak_kb" "$size_kb")"
}

run 100
if [ -n "${BIG:-}" ] && [ "$(df --output=avail -k "$work" | tail -1)" -gt 4000000 ]; then run 1000; fi
