#!/usr/bin/env bash
# Starts OSK32 on a C++ file on the test display and checks, in a photograph of the screen, that its editor window
# paints comments, keywords and strings in their syntax colours: the program must hand the engine its options.
#   osk32_colours.sh BUILD_DIR OUTPUT_PNG
set -euo pipefail
build=$(cd "$1" && pwd)
png=$2
here=$(cd "$(dirname "$0")" && pwd)
eval "$("$here/../../scripts/wine-session.sh" env "$build")"
[ -n "${DISPLAY:-}" ] || { echo "no display"; exit 1; }
for tool in import convert xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing"; exit 1; }
done

work=$(dirname "$png")
mkdir -p "$work"
sample="$work/colours_sample.cpp"
{
  printf '/* A comment that the test looks for,\r\n   painted green. */\r\n'
  printf 'static const char* kText = "a string, painted red";\r\n'
  printf 'int main() {\r\n  return 0;  // another comment\r\n}\r\n'
} >"$sample"
winfile=$("$OSK_WINE" winepath -w "$sample" 2>/dev/null | tr -d '\r')

"$OSK_WINE" "$build/bin/OSK32.exe" "$winfile" >"$work/osk32_colours.log" 2>&1 &
editor=$!
finish() {
  "$OSK_WINE" taskkill /IM OSK32.exe >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do kill -0 "$editor" 2>/dev/null || break; sleep 0.1; done
  kill "$editor" 2>/dev/null || true
  wait "$editor" 2>/dev/null || true
}
trap finish EXIT

# Photographs until the colours show, for up to 20 seconds: the file opens after the frame appears.
count() { convert "$png" -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:round(mean*w*h)]' info:; }
comment=0 keyword=0 string=0
for _ in $(seq 1 40); do
  sleep 0.5
  kill -0 "$editor" 2>/dev/null || { cat "$work/osk32_colours.log"; echo "the editor ended early"; exit 1; }
  import -window root "$png" 2>/dev/null || continue
  comment=$(count '#008000') keyword=$(count '#0000FF') string=$(count '#A31515')
  if [ "$comment" -gt 50 ] && [ "$keyword" -gt 10 ] && [ "$string" -gt 50 ]; then
    echo "colours shown: $comment comment, $keyword keyword and $string string pixels in $png"
    exit 0
  fi
done
echo "no syntax colours in $png: $comment comment, $keyword keyword, $string string pixels"
exit 1
