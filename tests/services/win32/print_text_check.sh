#!/usr/bin/env bash
# Reads back the text of the two-column job that test_print_win32 printed to PostScript, with Ghostscript: each
# page has the file name and its number in the header and the footer's text, and the body holds the 240 lines of
# the sample file in order (left column, then right), numbered from 10 in steps of 5.
#   print_text_check.sh FOLDER   (the folder with print_two_columns.ps and print_two_columns.pages)
set -euo pipefail
dir=${1:?folder}
ps="$dir/print_two_columns.ps"
[ -s "$ps" ] || { echo "no PostScript output: $ps" >&2; exit 1; }
pages=$(cat "$dir/print_two_columns.pages")
# The printer's fonts name the space and semicolon glyphs so that the text comes back as U+00A0 and U+037E.
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- "$ps" |
  sed -e $'s/\xc2\xa0/ /g' -e $'s/\xcd\xbe/;/g' -e $'s/\r//' |
  awk -v pages="$pages" '
    function expected(k) {
      if (k == 1) return "/* sample.c: a file to print */"
      if (k == 2) return "#include <stdio.h>"
      if (k % 3 == 0) return sprintf("int value%03d = %d; /* note%03d */", k, k, k)
      return sprintf("static int other%03d(void) { return %d; }", k, k)
    }
    function flush() { for (i = 1; i <= nl; i++) seq[++n] = left[i]; for (i = 1; i <= nr; i++) seq[++n] = right[i]; nl = nr = 0 }
    /^ *sample\.c +[0-9]+ *$/ {
      flush(); page++
      if ($2 != page) { print "page " page " has the number " $2 " in its header"; bad = 1 }
      next
    }
    /Footer of sample\.c/ { footers++; next }
    NF == 0 { next }
    {
      line = $0; sub(/^ +/, "", line)
      count = split(line, parts, /   +/)
      if (count >= 1) left[++nl] = parts[1]
      if (count >= 2) right[++nr] = parts[2]
      if (count > 2) { print "more than two columns: " $0; bad = 1 }
    }
    END {
      flush()
      if (page != pages) { print "pages read: " page ", printed: " pages; bad = 1 }
      if (footers != pages) { print "footers: " footers " on " pages " pages"; bad = 1 }
      if (n != 240) { print "lines read: " n ", expected 240"; bad = 1 }
      for (k = 1; k <= n && k <= 240; k++) {
        want = (10 + 5 * (k - 1)) ": " expected(k)
        if (seq[k] != want) { print "line " k ": \"" seq[k] "\", expected \"" want "\""; bad = 1; if (++shown > 5) break }
      }
      if (bad) exit 1
      print "read " n " numbered lines on " page " pages in order"
    }'
