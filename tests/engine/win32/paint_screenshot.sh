#!/usr/bin/env bash
# Photographs a painted editor window on the test display and checks the colours of chosen cells in the picture.
#   paint_screenshot.sh BUILD_DIR TEST_EXE OUTPUT_PNG
# The test program paints marks, a bookmark and line numbers, writes the expected colours with their screen
# positions to a file and waits; this script takes the screenshot, lets the program go on, and compares.
set -euo pipefail
build=$(cd "$1" && pwd)
exe=$2
png=$3
here=$(cd "$(dirname "$0")" && pwd)
eval "$("$here/../../../scripts/wine-session.sh" env "$build")"
[ -n "${DISPLAY:-}" ] || { echo "no display"; exit 1; }
command -v import >/dev/null || { echo "ImageMagick's import is missing"; exit 1; }
work=$(dirname "$png")
points="$work/paint_points.txt"
rm -f "$points" "$points.done" "$png"
cd "$(dirname "$exe")"
OSK_PAINT_HOLD="$points" "$OSK_WINE" "$exe" --gtest_filter='PaintTest.*' --gtest_brief=1 >"$work/paint_screenshot.log" 2>&1 &
pid=$!
for _ in $(seq 1 200); do [ -f "$points" ] && break; sleep 0.05; done
[ -f "$points" ] || { kill $pid 2>/dev/null; cat "$work/paint_screenshot.log"; echo "the window never showed"; exit 1; }
import -window root "$png"
touch "$points.done"
wait $pid || { cat "$work/paint_screenshot.log"; exit 1; }
failed=0
while read -r x y want; do
  want=${want%$'\r'}
  got=$(convert "$png" -format "%[hex:p{$x,$y}]" info: | cut -c1-6)
  if [ "$got" != "$want" ]; then
    echo "pixel $x,$y is $got, expected $want"
    failed=1
  fi
done <"$points"
[ $failed -eq 0 ] && echo "screenshot $png matches $(wc -l <"$points") cells"
exit $failed
