#!/usr/bin/env bash
# Builds the optimised bench preset and runs every benchmark, each against its peer in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" >/dev/null
for script in bench/*.sh; do
  case $script in bench/run.sh | bench/lib.sh) continue ;; esac
  echo "### $script"
  "$script"
done
# Benchmarks that measure the engine and the installation archive against themselves (cost at the top of a text
# against its middle, a keystroke against the load, expanding against compressing) need no peer program and no
# script.
for program in editing_bench paint_bench archive_bench; do
  echo "### $program"
  "build/bench/bin/$program"
done
