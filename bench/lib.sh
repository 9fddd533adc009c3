# shellcheck shell=bash
# What the benchmark scripts share, read with `source "$root/bench/lib.sh"` (bench/run.sh does not run it): timing
# a peer program the same way everywhere, the ratios, and the Wine session the program's benchmarks run in.
# Times are wall-clock milliseconds with one decimal.

# The smaller of two times; an empty first one means none yet.
min_ms() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b + 0 < a + 0) ? b : a }'; }

# best_of_three_ms CMD [ARG...]: runs the command (a program or a shell function) three times and prints the best
# time, so that a busy machine disturbs the comparison less. Its output goes to a scratch file, not to /dev/null:
# grep stops at the first match when it writes there. A command that fails is timed all the same (grep -c finding
# nothing, a peer that warns).
best_of_three_ms() {
  local best="" start end out
  out=$(mktemp)
  for _ in 1 2 3; do
    start=$(date +%s%N)
    "$@" >"$out" 2>&1 || true
    end=$(date +%s%N)
    best=$(min_ms "$best" "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", (b - a) / 1000000 }')")
  done
  rm -f "$out"
  echo "$best"
}

# bench_program NAME: the path of a program of the bench preset in $build, built first when it is not there.
bench_program() {
  if [ ! -x "$build/bin/$1" ]; then
    (cd "${root:?}" && cmake --preset bench -B "$build" >/dev/null && cmake --build "$build" --target "$1" >/dev/null)
  fi
  echo "$build/bin/$1"
}

# ratio A B: A divided by B to two places; "n/a" when B is not above 0.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "n/a" }'; }

# The C file the printing benchmarks lay out: write_print_source FILE LINES (kept when it is there already).
write_print_source() {
  [ -s "$1" ] && [ "$(wc -l <"$1")" -eq "$2" ] && return
  awk -v n="$2" 'BEGIN {
    for (i = 1; i <= n; i++) {
      if (i % 4 == 0) printf "/* comment %d: the value below is used by the caller */\n", i
      else printf "static int function%05d(int a, int b) { return a * %d + b; }\n", i, i
    }
  }' >"$1"
}

# The printing peer: the command that makes FILE into two-column PostScript at OUTPUT (enscript, else a2ps), or
# nothing when neither is installed. print_peer FILE OUTPUT
print_peer() {
  if command -v enscript >/dev/null; then
    echo "enscript -q -2 -C -o $2 $1"
  elif command -v a2ps >/dev/null; then
    echo "a2ps -q -2 -C -o $2 $1"
  fi
}

# Prints the printing benchmark's last lines: the peer's best time and our time's ratio to it (goal: at most 3).
# compare_with_print_peer OUR_MS FILE OUTPUT
compare_with_print_peer() {
  local peer best
  peer=$(print_peer "$2" "$3")
  if [ -z "$peer" ]; then
    echo "no enscript or a2ps here: ${1} ms, no peer to compare with"
    return
  fi
  # The command's words are split on purpose: the peer and its options.
  # shellcheck disable=SC2086
  best=$(best_of_three_ms $peer)
  echo "peer (${peer%% *})  ${best} ms"
  echo "ratio $(ratio "$1" "$best") (goal: at most 3)"
}

# wine_bench_session TARGET...: builds the targets of the windows preset and starts the test session's Wine
# (stopped again when the script ends), its variables exported; the build folder is in $build.
wine_bench_session() {
  build=${root:?}/build/windows
  (cd "$root" && cmake --preset windows >/dev/null && cmake --build --preset windows --target "$@" >/dev/null)
  setsid "$root/scripts/wine-session.sh" start "$build" >/dev/null 2>&1 </dev/null
  trap '"$root/scripts/wine-session.sh" stop "$build" >/dev/null 2>&1 || true' EXIT
  eval "$("$root/scripts/wine-session.sh" env "$build")"
}
