#!/usr/bin/env bash
# Replace All benchmark: on the generated file of 1,300,000 lines (the one bench/search.sh uses), replaces a common
# word and an expression with groups through the editor's search session, and does the same replacement with
# `sed` and `vim -es` in the same run. Prints each time, the ratio to sed, whether one Undo gave the whole file
# back, and the peak memory against the file size. Goal: within 2x of sed, faster than vim, peak below 1.5x the file.
#   bench/replace.sh           uses build/bench (cmake --preset bench), building replace_bench when needed
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/search-data}
lines=1300000
file=$work/search_$lines.txt
if [ ! -s "$file" ]; then
  WORK_DIR=$work BUILD_DIR=$build "$root/bench/search.sh" >/dev/null
fi
bench=$build/bin/replace_bench
if [ ! -x "$bench" ]; then
  (cd "$root" && cmake --preset bench >/dev/null && cmake --build "$build" --target replace_bench >/dev/null)
fi

now_ms() { date +%s%N | awk '{ printf "%.1f", $1 / 1000000 }'; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

printf '%-22s %10s %10s %10s %10s %8s %8s %10s\n' case replaced osk_ms sed_ms vim_ms vs_sed undo peak/file
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
# Each side runs three times and keeps its best time, so that a busy machine disturbs the ratios less.
run_case() {
  local name=$1 pattern=$2 replacement=$3 regex=$4 sedexpr=$5 vimexpr=$6
  local out=$work/replace_osk.txt
  local count oms="" undo peak size ms s e sms="" vms=""
  for _ in 1 2 3; do
    read -r _ count ms undo peak size < <("$bench" "$file" "$pattern" "$replacement" "$regex" "$out")
    oms=$(min "$oms" "$ms")
    s=$(now_ms); LC_ALL=C sed -e "$sedexpr" "$file" >"$work/replace_sed.txt"; e=$(now_ms)
    sms=$(min "$sms" "$(elapsed "$s" "$e")")
    cp "$file" "$work/replace_vim.txt"
    s=$(now_ms); vim -u NONE -i NONE -es -c "$vimexpr" -c 'wq' "$work/replace_vim.txt" </dev/null >/dev/null 2>&1 || true
    e=$(now_ms); vms=$(min "$vms" "$(elapsed "$s" "$e")")
  done
  if ! cmp -s <(tr -d '\r' <"$out") "$work/replace_sed.txt"; then echo "$name: the editor's result differs from sed's" >&2; fi
  printf '%-22s %10s %10s %10s %10s %8s %8s %10s\n' "$name" "$count" "$oms" "$sms" "$vms" \
    "$(awk -v o="$oms" -v g="$sms" 'BEGIN { printf "%.2f", (g > 0) ? o / g : 0 }')" "$undo" \
    "$(awk -v p="$peak" -v f="$size" 'BEGIN { printf "%.3f", (f > 0) ? p / f : 0 }')"
}
run_case "word gamma->GAMMA" gamma GAMMA 0 's/gamma/GAMMA/g' '%s/gamma/GAMMA/g'
run_case "expr (ga)(mma)->\\2\\1" '(ga)(mma)' '\2\1' 1 's/\(ga\)\(mma\)/\2\1/g' '%s/\(ga\)\(mma\)/\2\1/g'
