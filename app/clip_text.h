// Marked text taken into a line list block and blocks pasted back as stream, line or column text, on the engine's
// current editor window through the exported editing functions.
//
// A block is the engine's global text block (lines ended by CR LF, zero-terminated), the form the clipboard and the
// clip buffers hold. The caller owns every block it is given back and frees it (or hands it to the clipboard).
// Nothing here opens an undo step unless it says so: copy and cut run inside the caller's step, a paste is one step
// of its own.
#pragma once

#include <cstdint>
#include <string>

#include "engine/lang/regex_api.h"

namespace osk::app {

// What kind of mark the text came from, so that a paste rebuilds the same kind.
enum class ClipKind : uint8_t { kStream, kLine, kColumn };

// The engine's mark type (1 stream, 2 line, 3 column) as a clip kind.
ClipKind clipKindOfMark(int32_t markType);

struct TakenText {
  HGLOBALTEXT block = nullptr;   // null when there was no mark, on Esc, or when memory ran out
  ClipKind kind = ClipKind::kStream;
  bool aborted = false;          // Esc during the walk: nothing was taken and nothing removed
  bool outOfMemory = false;      // nothing was taken and nothing removed
};

// Walks the mark piece by piece (a stream mark as its partial first line, whole middle lines and partial last line;
// a line mark as whole lines; a column mark as the slice of its cells on each line, tabs expanded) into a new block,
// each piece followed by a line end except a stream mark's last one and a column mark's last slice. With `remove`
// the marked text is deleted once the whole of it is safely in the block, and the caret goes to where it began.
// Marks over 100 lines show the gauge "<verb> (Esc to abort)". The mark stays unless it was removed.
TakenText takeMarkedText(bool remove, const char* verb);

// The block's text followed by the marked text, as plain text; null (with `outOfMemory`) when memory ran out, in
// which case `base` is untouched. `base` is only read.
TakenText appendMarkedText(HGLOBALTEXT base);

struct PasteOptions {
  bool caretAfterPaste = true;   // else the caret goes back to where the paste started
  const char* caption = "Pasting (Esc to abort)";
};

enum class PasteResult {
  kPasted,
  kNothing,    // the block holds no text
  kRefused,    // no editor window, or the document is read-only: nothing changed
  kAborted,    // Esc: what was pasted stays, as one undo step
  kTooLong,    // some pieces did not fit in 1024 characters and were cut there
};

// Pastes the block at the caret (the caller shows the hourglass) in one undo step, in insert mode, after deleting the mark:
// - stream text: the first whole line is typed in and the line broken there when the caret is after column 1,
//   further whole lines are inserted before the caret line, and the last piece is typed in at the caret;
// - line text: every line is inserted before the caret line, which is never split;
// - column text: each line is typed in at the caret's display cell on successive lines (short lines are padded with
//   blanks, missing lines created, tabs of the lines written expanded).
// Blocks of more than 4096 bytes show the gauge with the caption, stepped every 25 lines; Esc stops there. With word
// wrap on, stream and column text is reflowed. The block stays the caller's.
PasteResult pasteText(HGLOBALTEXT block, ClipKind kind, const PasteOptions& options);

// The start of a block as one line for the clip buffer dialog: its lines joined by blanks, at most 516 characters,
// padded with blanks to 516.
std::string clipPreview(HGLOBALTEXT block);
inline constexpr size_t kClipPreviewLength = 516;

}  // namespace osk::app
