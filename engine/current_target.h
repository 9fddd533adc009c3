// The current target of the plain-named functions: an editor window (its buffer, with its caret as the insertion
// point) or a buffer without window (with the engine's buffer position as the insertion point).
//
// A buffer handle is checked against the buffer array and a window against its record, so a closed buffer or a
// destroyed window is never acted on: the target is then empty. A buffer target's insertion point is kept inside
// the text (line 0 only for an empty buffer).
#pragma once

#include <cstdint>

#include "engine/ecd_types.h"
#include "engine/undo.h"

namespace osk {

class Buffer;
class EditorRecord;

struct Target {
  Buffer* buffer = nullptr;
  EditorRecord* record = nullptr;   // null for a buffer target
  explicit operator bool() const { return buffer != nullptr; }
};

Target currentTarget();
// The insertion point: the window's caret or the buffer position.
TextPos insertionPoint(const Target& target);
// Moves the insertion point after an edit: the window's caret is placed (clamped, reported); the buffer position
// is stored.
void writeBack(const Target& target, TextPos at);

// The current window's record while its window lives, else null.
EditorRecord* currentRecord();

// SetCurEdWindow / SetCurBuffer.
bool makeWindowCurrent(OskWindow window);
bool makeBufferCurrent(HEDBUFFER handle);

// Lets the buffer search find the current target's text.
void installSearchTarget();

}  // namespace osk
