// The marked text of the current editor window as pieces to write, as CopyToFile writes it.
#pragma once

#include <string>
#include <vector>

namespace osk::app {

// One piece of marked text: its characters and whether a line end follows it.
struct TextPiece {
  std::string text;
  bool lineEnd = false;
  bool operator==(const TextPiece&) const = default;
};

// The mark of the engine's current editor window as pieces: a stream mark from its first end to its last (the last
// end's character not included), a line mark as whole lines, a column mark as the marked cells of each line.
// Empty without a mark or without a current editor window.
std::vector<TextPiece> markedPieces();

// The name the Open dialog starts with: the marked text when the mark (normal or column) lies on one line, trimmed of
// blanks and tabs, shorter than 99 characters and not empty; else empty. Whether the file exists is the caller's.
std::string markedOpenName();

}  // namespace osk::app
