// The caret, scroll and simple deletion commands, acting on the engine's current editor window through the
// exported editing functions. Without a current editor window each does nothing and answers false.
//
// A command that answers false asks the caller to beep. Commands that change text bracket their changes in one
// undo step, so one Undo reverts the whole command. With `extend` (Shift held) a caret move extends the mark
// instead of clearing it: a normal mark is anchored at the old caret when there is none, a line mark follows the
// new line, a normal or column mark the new line and column.
#pragma once

#include <cstdint>
#include <string_view>

namespace osk::app {

class WordPattern;

enum class CaretMove {
  kUp, kDown, kLeft, kRight, kPageUp, kPageDown, kHome, kEnd, kPageLeft, kPageRight,
  kFirstLine, kLastLine, kWordLeft, kWordRight, kWordEnd,
};

enum class ViewScroll { kCentre, kUp, kDown, kLeft, kRight, kCaretToTop, kCaretToMiddle, kCaretToBottom };

struct EditingOptions {
  int32_t vScrollBoost = 3;      // lines scrolled ahead when MoveUp/MoveDown leave the window; 0 to 10
  bool autoIndentOnNewline = true;
  bool autoScrollOnNewline = false;
};

bool moveCaret(CaretMove move, bool extend, const WordPattern& words, const EditingOptions& options);
bool scrollView(ViewScroll scroll);
bool selectAll();

bool newLine(const EditingOptions& options);
// Delete: the mark if there is one, else the character at the caret (false at the end of the file).
bool deleteForward();
// Backspace: moves left only in a read-only document; on an empty line past column 1 goes back to the previous
// tab stop without deleting; else deletes the mark or the character before the caret.
bool backspace();
bool deleteCaretLine();
bool deleteToEndOfLine();
bool deleteWord(bool left, const WordPattern& words);

// Deletes the marked text of the current target and clears the mark; the caret goes to where the text began.
// The caller owns the undo step. False without a mark.
bool deleteMarkedText();

// Reflows the paragraph at the caret when word wrap is on, with the usual caption; nothing otherwise.
void reflowIfWrapping();

}  // namespace osk::app
