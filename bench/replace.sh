#!/usr/bin/env bash
# Replace All benchmark: on the generated file of 1,300,000 lines (the one bench/search.sh uses), replaces a common
# word and an expression with groups through the editor's search session, and does the same replacement with
# `sed` and `vim -es` in the same run. Prints each time, the ratio to sed, whether one Undo gave the whole file
# back, and the peak memory against the file size. Goal: within 2x of sed, faster than vim, peak below 1.5x the file.
#   bench/replace.sh           uses build/bench (cmake --preset bench), building replace_bench when needed
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/search-data}
lines=1300000
file=$work/search_$lines.txt
if [ ! -s "$file" ]; then
  WORK_DIR=$work BUILD_DIR=$build "$root/bench/search.sh" >/dev/null
fi
bench=$(bench_program replace_bench)

printf '%-22s %10s %10s %10s %10s %8s %8s %10s\n' case replaced osk_ms sed_ms vim_ms vs_sed undo peak/file
run_sed() { LC_ALL=C sed -e "$1" "$file" >"$work/replace_sed.txt"; }
# vim loads the file, replaces and writes the result beside it.
run_vim() { vim -u NONE -i NONE -es -c "$1" -c "w! $work/replace_vim.txt" -c 'q!' "$file" </dev/null; }
# Each side keeps its best of three runs, so that a busy machine disturbs the ratios less.
run_case() {
  local name=$1 pattern=$2 replacement=$3 regex=$4 sedexpr=$5 vimexpr=$6
  local out=$work/replace_osk.txt
  local count oms="" undo peak size ms sms vms
  for _ in 1 2 3; do
    read -r _ count ms undo peak size < <("$bench" "$file" "$pattern" "$replacement" "$regex" "$out")
    oms=$(min_ms "$oms" "$ms")
  done
  sms=$(best_of_three_ms run_sed "$sedexpr")
  vms=$(best_of_three_ms run_vim "$vimexpr")
  if ! cmp -s <(tr -d '\r' <"$out") "$work/replace_sed.txt"; then echo "$name: the editor's result differs from sed's" >&2; fi
  printf '%-22s %10s %10s %10s %10s %8s %8s %10s\n' "$name" "$count" "$oms" "$sms" "$vms" \
    "$(ratio "$oms" "$sms")" "$undo" \
    "$(awk -v p="$peak" -v f="$size" 'BEGIN { printf "%.3f", (f > 0) ? p / f : 0 }')"
}
run_case "word gamma->GAMMA" gamma GAMMA 0 's/gamma/GAMMA/g' '%s/gamma/GAMMA/g'
run_case "expr (ga)(mma)->\\2\\1" '(ga)(mma)' '\2\1' 1 's/\(ga\)\(mma\)/\2\1/g' '%s/\(ga\)\(mma\)/\2\1/g'
