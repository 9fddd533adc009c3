// The editor window record: what one editor window knows of the buffer it shows (caret, scroll position, flags,
// sync groups) and the window behaviour that needs no platform: caret placement with its owner notifications,
// attaching and detaching buffers with the saved view, following inserted and deleted lines, scrolling with
// synchronisation, and the buffer notices. The window layer derives from it and supplies the platform primitives.
//
// The caret line is 0 exactly when the buffer is empty (or no buffer is shown). Requested caret positions are
// clamped into the text (owner notification 1136 for a line, 1135 for a column outside 1 to 1024); the caret cell
// never passes 1024. Scroll positions stay within 1 to the line count and 1 to 1024.
#pragma once

#include <cstdint>

#include "engine/ecd_types.h"
#include "engine/editor_view.h"
#include "engine/undo.h"

namespace osk {

class Buffer;

enum EditorFlags : uint32_t {
  kEdInsert = 1u << 0,
  kEdRedraw = 1u << 1,
  kEdDeferred = 1u << 2,
  kEdVScroll = 1u << 3,
  kEdHScroll = 1u << 4,
  kEdHScrollChanged = 1u << 5,
  kEdVScrollChanged = 1u << 6,
  kEdCaretPending = 1u << 8,
  kEdItalic = 1u << 9,
  kEdDestroyed = 1u << 10,
  kEdHSync = 1u << 11,
  kEdVSync = 1u << 12,
};

class EditorRecord {
 public:
  explicit EditorRecord(OskWindow window) : window_(window) {}
  virtual ~EditorRecord() = default;
  EditorRecord(const EditorRecord&) = delete;
  EditorRecord& operator=(const EditorRecord&) = delete;

  OskWindow window() const { return window_; }

  // Platform primitives.
  virtual intptr_t notifyOwner(uint32_t code, uintptr_t wParam, intptr_t lParam) = 0;
  // Moves the system caret (when the window has one) to a client position.
  virtual void moveCaret(int32_t x, int32_t y) = 0;
  // Invalidates a client rectangle, or the whole window for null.
  virtual void invalidate(const PixelRect* rect) = 0;
  virtual bool focused() const = 0;
  virtual void refreshScrollBars() = 0;
  virtual void paintNow() = 0;
  virtual void clientSize(int32_t& width, int32_t& height) const = 0;
  // Moves the window contents by pixels and paints what is uncovered; false when the platform cannot.
  virtual bool moveContents(int32_t dx, int32_t dy) { (void)dx; (void)dy; return false; }
  // The caret's shape follows the insert mode (when focused).
  virtual void caretShapeChanged() {}

  // State.
  Buffer* buffer = nullptr;
  EditorView view;
  int32_t tabLength = 8;
  int32_t caretLine = 0;
  int32_t caretColumn = 1;
  int32_t caretCell = 1;
  uint32_t flags = kEdInsert | kEdRedraw;
  int32_t hGroup = 0;
  int32_t vGroup = 0;
  int32_t lockCount = 0;

  bool insertMode() const { return (flags & kEdInsert) != 0; }
  TextPos caret() const { return {caretLine, caretColumn}; }

  // Brings the view's inputs (client size, line count, line-number option) up to date.
  void syncView();
  // Places the caret with clamping (Part of every caret move); 0, or -25 when the line lay outside the text.
  int32_t placeCaret(int32_t line, int32_t column);
  // Places the caret on the column covering `cell` of `line`.
  int32_t placeCaretAtCell(int32_t line, int32_t cell);
  // Shows the caret where it is now and reports it (owner notification 1124).
  void showCaret();
  // Moves the system caret to where the caret is now, without a report (after painting).
  void positionCaret();
  void setInsertMode(bool on);

  // Scrolls to a position; the other windows of the buffer in this window's sync groups follow unless `quiet`.
  void scrollTo(int32_t topLine, int32_t leftCell, bool quiet = false);
  void scrollCaretIntoView();
  // Tells the other windows of the buffer this window's position (message 1057).
  void announceScroll();

  // Shows `buffer` (null: none) after leaving the present one; the view flags turn the scroll bars on.
  void attach(Buffer* buffer, uint32_t viewFlags);
  void detach();
  // The window got the focus: a line or column mark whose moving end is not at the caret is dropped.
  void focusGained();

  // A buffer notice; returns true when it was one.
  bool serveNotice(uint32_t code, uintptr_t wParam, intptr_t lParam);

  // Undo and redo of one group with the caret (and mark) put back; reflow of the paragraph at the caret.
  int32_t undo(const char* caption);
  int32_t redo(const char* caption);
  int32_t reflow(const char* caption);
  // Messages 1033, 1035, 1036: the line chosen by `which` (0 the last, 1 the first, other the caret line).
  int32_t insertLineAt(uintptr_t which, const char* text);
  int32_t deleteLineAt(uintptr_t which);
  int32_t replaceLineAt(uintptr_t which, const char* text);
  // Message 1037: feeds each character through the event callback as if typed.
  int32_t typeString(const char* text);
  // The caret and mark as lines and cells, kept around a save or a reload and put back after it (clamped into
  // the text that is there then).
  struct SavedState {
    int32_t markType = 0;
    int32_t line1 = 0, cell1 = 1, line2 = 0, cell2 = 1;
    int32_t caretLine = 0, caretCell = 1;
  };
  SavedState saveState() const;
  void restoreState(const SavedState& state);
  // Message 1066: writes the buffer, or only its mark when asked and there is one, as a print stream. `request` is
  // the message's three words (caption, file name, selection only).
  int32_t printStream(const void* request);
  // Message 1064: copies caret and scroll position from another record.
  void copyViewOf(const EditorRecord& other);
  // Hands a typed character to the event callback with this window as the current target; the callback's
  // result (0: not handled).
  int32_t deliverChar(int32_t code, int32_t value, int32_t modifiers);

 private:
  void linesInserted(int32_t after, int32_t count);
  void linesDeleted(int32_t first, int32_t count);
  void invalidateRange(int32_t firstLine, int32_t firstCell, int32_t lastLine, int32_t lastCell);
  void invalidateLinesFrom(int32_t line);
  void placeAfterUndo(const UndoPlace& place);
  int32_t chooseLine(uintptr_t which) const;

  OskWindow window_;
};

// Makes `record`'s window the current target for the length of a scope (saving and restoring the engine's current
// window, record, buffer, buffer position and window target flag), as for every served message.
class TargetScope {
 public:
  explicit TargetScope(EditorRecord* record);
  ~TargetScope();
  TargetScope(const TargetScope&) = delete;
  TargetScope& operator=(const TargetScope&) = delete;

 private:
  OskWindow window_;
  EditorRecord* record_;
  Buffer* buffer_;
  int32_t line_, column_;
  bool windowTarget_;
};

}  // namespace osk
