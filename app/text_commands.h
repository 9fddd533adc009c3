// The commands that rework text already written: bracket matching, case changes, filling, indenting, reflow, tab
// expansion, swapping two characters and going to a line. Each acts on the engine's current editor window through
// the exported editing functions; without one it does nothing and answers false.
//
// Every command that changes text brackets its changes in one undo step. Long ones (more than 100 lines of a mark,
// tab expansion of a long file) show the progress gauge with their verb and " (Esc to abort)"; Esc stops them
// where they are, and what was done stays undoable as one step. A command that answers false asks the caller to
// beep. A read-only document is never changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace osk::app {

class WordPattern;

// The number of characters Outdent removes just before the first non-blank character of `line` at or after
// `from` (0-based): one tab, or the blanks back to the previous tab stop (cells counted from the line's start),
// never past a tab or before `from`. 0 when the line is empty, blank from `from` on, or its text starts at `from`.
int32_t outdentWidth(std::string_view line, size_t from, int32_t tabLength);

// The fill character of FillMark's parameter: its first character, taken out of one pair of double quotes (so
// `" "` fills with blanks). None for an empty parameter: the user is asked.
std::optional<char> fillCharacter(std::string_view parameter);

// The line number typed into the Goto dialog: 1 to 10 digits and above 0.
std::optional<int32_t> gotoLine(std::string_view text);

enum class BracketResult { kMoved, kNotABracket, kNotFound };
// Moves the caret to the bracket that pairs with the one under it (by display cell), counting only brackets of
// the same syntax colour class as the starting one, so brackets in strings or comments pair among themselves.
BracketResult matchBracket();

enum class CaseChange { kCapitalise, kUpper, kLower };
// Changes the case of the mark, or of the word at the caret when there is no mark (false when there is none).
bool changeCase(CaseChange change, const WordPattern& words);

// Fills the mark with `fill`: a column mark cell by cell (its lines padded with blanks to its right edge, tabs
// expanded), other marks character by character. False without a mark.
bool fillMark(char fill);

// Indent puts one tab before the first non-blank character of each line of the mark (or of the caret line);
// Outdent takes away what outdentWidth says. A column mark works from its left edge on each line.
bool indentLines(bool outdent);

// Reflows the marked lines paragraph by paragraph, or the paragraph at the caret.
bool reflowText();

// Expands the tabs of every line of the file. No tab, no undo step.
bool expandTabs();

// The character at the caret and the one after it change places; the caret stays. False at the line's end.
bool swapCharacters();

// Clears the mark and puts the caret on column 1 of `line` (clamped into the file), in view.
bool goToLine(int32_t line);

}  // namespace osk::app
