// Reading a print stream back into lines of coloured runs, ready for layout.
//
// The stream is the engine's marked-up text: control words start with a backslash ("\line", "\seg4" ...), "{" and
// "}" delimit groups that keep the current class, any other backslashed character is text. Carriage returns and
// line feeds are ignored. Lines end at "\line" and "\para"; with paragraph joining, "\line" is a single space that
// joins the lines of a paragraph (their leading blanks dropped) and "\pare" or "\para" ends it. Unknown control
// words are skipped, an unmatched "}" is ignored, numbers saturate instead of overflowing, and the end of the
// stream ends the last line: any byte sequence reads to completion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace osk::print {

struct TextRun {
  int32_t cls = 0;   // print class index
  std::string text;
  bool operator==(const TextRun&) const = default;
};

struct StreamLine {
  std::vector<TextRun> runs;
  int32_t source = 0;              // 0-based index of the stream line it starts with, for its line number
  bool paragraphStart = false;     // first line of a paragraph ("\parl" came before it)
  int32_t firstLineIndent = 0;     // the paragraph's "\fli", in average character widths
  int32_t leftMargin = 0;          // the paragraph's "\lma"
  bool blank() const;
};

struct StreamDocument {
  int64_t count = -1;   // the "\num" value; -1 when the stream gave none
  std::vector<StreamLine> lines;
};

StreamDocument readPrintStream(std::string_view stream, bool joinParagraphs);

}  // namespace osk::print
