#!/usr/bin/env bash
# Builds the optimised bench preset and runs every benchmark, each against its peer in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" >/dev/null
for script in bench/*.sh; do
  [ "$script" = bench/run.sh ] && continue
  echo "### $script"
  "$script"
done
