#!/usr/bin/env bash
# Printing benchmark: a generated C file of 10,000 lines written as a print stream, read back and laid out in two
# numbered columns with header and footer, against the same file made into PostScript by enscript (or a2ps) in the
# same run. Goal: within 3x of the peer. Without either peer the layout's time is shown alone.
#   bench/print.sh         uses build/bench (cmake --preset bench), building print_bench when needed
#   BUILD_DIR=... WORK_DIR=... override the build folder and the folder of the generated file
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=bench/lib.sh
source "$root/bench/lib.sh"
build=${BUILD_DIR:-$root/build/bench}
work=${WORK_DIR:-$build/print-data}
lines=10000
mkdir -p "$work"

bench=$(bench_program print_bench)

file=$work/print.c
write_print_source "$file" "$lines"

"$bench" "$file"
ours=$("$bench" "$file" 3 | awk '/^total/ { print $2 }')
compare_with_print_peer "$ours" "$file" "$work/print.ps"
