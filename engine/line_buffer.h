// The line buffer: the one line of a buffer held for editing, with the text it had when it was taken, and the
// typing run that extends it.
//
// Edits write through to the line store at once, so every reader sees the present text; what the line buffer adds
// is the line's original text and bits, from which one undo record is made when the run closes (the typing
// record). A line whose text does not fit 1024 characters and 1024 cells once loaded (tabs expanded in
// tabs-as-spaces mode) is never held: it cannot be edited and keeps its text.
#pragma once

#include <cstdint>
#include <string>

namespace osk {

struct LineBuffer {
  int32_t line = 0;          // 0: none held
  std::string text;          // present text as edited
  uint32_t bits = 0;
  int32_t cells = 0;         // display width of `text`
  bool pending = false;      // changed since it was taken, not yet recorded
  std::string original;      // the stored text when the line was taken
  uint32_t originalBits = 0;
};

// A run of typing or deleting on one line, recorded as one undo group when it closes.
struct TypingRun {
  enum Kind : int32_t { kNone = 0, kTyping = 1, kDeleting = 2, kBackspacing = 3 };
  int32_t kind = kNone;
  int32_t line = 0;
  int32_t startColumn = 0;
  int32_t column = 0;
};

}  // namespace osk
