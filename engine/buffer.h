// A buffer: one text being edited, with its file name, state flags, settings, window list, line store, line buffer
// and undo history.
//
// A buffer lives from its creation to its close, whatever windows show it. Every change it makes is announced to
// the windows in its list by buffer notices. The modified flag is read from the undo history's save stamps, so
// undoing back to the saved text reads as not modified; a change no undo record covers keeps it set until the next
// save. A read-only buffer keeps no history. Names are full paths of at most 260 characters; two buffers never hold
// the same file (compared without regard to case) unless the second was opened with the duplicate flag.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/ecd_types.h"
#include "engine/engine_codes.h"
#include "engine/engine_context.h"
#include "engine/lang/colouring.h"
#include "engine/line_buffer.h"
#include "engine/mark.h"
#include "engine/store/line_store.h"
#include "engine/undo.h"

namespace osk {

class Engine;

// Buffer state flags.
enum BufferState : uint32_t {
  kStateNew = 1u << 0,
  kStateInsert = 1u << 1,
  kStateHistoryLost = 1u << 2,
  kStateTabsAsSpaces = 1u << 3,
  kStateModified = 1u << 4,
  kStateReadOnly = 1u << 5,
  kStateFlag6 = 1u << 6,
  kStateUndoPossible = 1u << 7,
  kStateRedoPossible = 1u << 8,
  kStateMark = 1u << 9,
  kStateFileReadOnly = 1u << 10,
};

// Buffer property numbers.
enum BufferProperty : int32_t {
  kPropInsertMode = 1,
  kPropCompositeMode = 2,
  kPropModified = 3,
  kPropNew = 4,
  kPropLineCount = 6,
  kPropMaxLineLength = 7,
  kPropFileName = 8,
  kPropTabLength = 9,
  kPropUndoPossible = 10,
  kPropRedoPossible = 11,
  kPropUntitledNumber = 12,
  kPropReadOnly = 13,
  kPropLeftMargin = 14,
  kPropRightMargin = 15,
  kPropWordWrap = 16,
  kPropFirstOffset = 17,
  kPropTabsAsSpaces = 18,
  kPropUndoCapacity = 19,
  kPropAutoMargin = 20,
  kPropUnixLineEnds = 21,
  kPropFileReadOnly = 22,
};

constexpr int32_t kMaxUndoBytes = 65535;
constexpr int32_t kUndoRecordBytes = 20;
constexpr int32_t kCappedUndoCapacity = 3276;

class Buffer final : private UndoListener {
 public:
  // Creates a buffer from an open record (reading the file when asked). On failure returns an engine code and no
  // buffer; the caller adds the buffer to the buffer array.
  static int32_t create(Engine& engine, const EcdOpenRecord& record, std::unique_ptr<Buffer>& out);

  ~Buffer();
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;

  // Properties: the value (>= 0) or an engine code.
  int32_t property(int32_t id) const;
  int32_t setProperty(int32_t id, intptr_t value);

  // The displayed name: the file name, or "Untitled: " and the untitled number.
  std::string displayName() const;
  const std::string& fileName() const { return fileName_; }
  bool named() const { return !fileName_.empty(); }
  int32_t untitledNumber() const { return untitledNumber_; }
  int32_t rename(const char* name);

  // Saves to the buffer's own file (name null) or as `name`, which the buffer then takes.
  int32_t save(const char* name, const char* caption, bool mayFinalise);
  // Reload: mode 0 always, 1 when the file changed, 2 only asks. 100 reloaded, 0 not needed; mode 2: 1 changed.
  int32_t reload(int32_t mode, const char* caption);
  bool fileChanged() const;
  // Discards every undo record, redo records included (-22 on a read-only buffer).
  int32_t finalise();

  bool has(uint32_t flag) const { return (state_ & flag) != 0; }
  uint32_t state() const { return state_; }
  bool readOnly() const { return has(kStateReadOnly); }
  bool modified() const { return has(kStateModified); }
  // true: the text no longer matches the saved state until the next save; false: the present state becomes the
  // saved state (a new save stamp).
  void setModified(bool modified);

  // Groups and undo. Each returns a status; undo and redo place `caret` where the group began (ended), and give
  // the mark of that moment through `place` when asked. A caption shows a gauge for a group of more than 5
  // changes.
  Status startOp(const UndoPlace& at);
  Status endOp(const UndoPlace& at);
  Status undo(TextPos& caret, const char* caption = nullptr, UndoPlace* place = nullptr);
  Status redo(TextPos& caret, const char* caption = nullptr, UndoPlace* place = nullptr);
  const UndoHistory& history() const { return history_; }
  UndoHistory& history() { return history_; }

  // The line buffer, for the editing primitives. loadLine holds line `line` (no effect when held already);
  // 1612 outside the text, 1652 for a line that cannot be edited within 1024 characters and cells.
  Status loadLine(int32_t line);
  // Closes the typing run: its change becomes one undo group.
  Status flushLine();
  // Closes the typing run and lets go of the held line (before changes that move lines).
  Status releaseLine();
  LineBuffer& lineBuffer() { return lineBuf_; }
  TypingRun& typingRun() { return run_; }
  // Writes the line buffer's text to the store after an edit, starting the typing record.
  void lineBufferEdited();
  // Re-reads the undo and modified state after a change, sending notices where it changed.
  void refreshHistoryState();
  bool option(int word) const;
  const GaugeCallbacks& gaugeCallbacks() const;

  int32_t lineCount() const { return store_->lineCount(); }
  LineStore& store() { return *store_; }

  // The window list.
  const std::vector<OskWindow>& windows() const { return windows_; }
  void addWindow(OskWindow window);
  void removeWindow(OskWindow window);
  // Sends a buffer notice to every window showing the buffer (except `skip`).
  void notify(uint32_t code, uintptr_t wParam = 0, intptr_t lParam = 0, OskWindow skip = nullptr);

  // The mark; see mark.h for the operations. setMarkState keeps state bit 9 and notice 2044 in step.
  Mark& mark() { return mark_; }
  const Mark& mark() const { return mark_; }
  void setMarkState(bool nonEmpty) { setStateBit(kStateMark, nonEmpty, ECDB_MARK); }

  // The view of the last window that stopped showing the buffer: top line, left cell, mark type and the caret
  // (or the mark's anchor and update ends) as lines and cells. Cells, not columns, survive a change of tab length.
  struct SavedView {
    int32_t topLine = 1;
    int32_t leftCell = 1;
    int32_t markType = 0;
    int32_t line1 = 0;
    int32_t cell1 = 1;
    int32_t line2 = 0;
    int32_t cell2 = 1;
  };
  SavedView savedView;

  HEDBUFFER next = nullptr;             // chain kept by ECD_fhLinkBuffer; never followed by the engine
  OskWindow primaryWindow = nullptr;

  // The offset of the syntax definition chosen by the file name; 0: the buffer is not coloured. A new name picks
  // the definition again; a change of definition recomputes every line's block bits and repaints the windows.
  uint32_t syntaxDefinition() const { return syntaxDefinition_; }
  void chooseSyntaxDefinition();

  int32_t tabLength() const { return tabLength_; }
  int32_t undoCapacity() const { return undoCapacity_; }
  int32_t leftMargin() const { return leftMargin_; }
  int32_t rightMargin() const { return rightMargin_; }
  int32_t firstOffset() const { return firstOffset_; }
  bool wordWrap() const { return wordWrap_; }
  bool autoMargin() const { return autoMargin_; }

 private:
  explicit Buffer(Engine& engine);
  // Reads `path` into a fresh store; the caption shows a gauge.
  Status loadFile(const std::string& path, const char* caption, std::unique_ptr<LineStore>& out) const;
  // Checks a name for save-as or rename: made a full path, valid, not held by another buffer.
  Status checkNewName(const char* name, std::string& full) const;
  void setReadOnly(bool on);
  void setStateBit(uint32_t bit, bool on, uint32_t notice);
  // Undo listener: the views follow what undo and redo change.
  void linesInserted(int32_t after, int32_t count) override;
  void linesDeleted(int32_t first, int32_t count) override;
  void linesChanged(int32_t first, int32_t count) override;
  // Keeps the block bits in step with the text; the repaint they call for waits for the change's own notice, so
  // the windows hear of moved lines before they are asked to repaint by the new numbering.
  void textWritten(int32_t first, int32_t count, bool inserted) override;
  void textRemoving(int32_t first, int32_t count) override;
  void addRepaint(const syntax::Repaint& r);
  void sendPendingRepaint();

  Engine& engine_;
  std::string fileName_;
  int32_t untitledNumber_ = 0;
  uint32_t state_ = 0;
  int32_t tabLength_ = 8;
  int32_t undoCapacity_ = 0;
  int32_t leftMargin_ = 1;
  int32_t rightMargin_ = 79;
  int32_t firstOffset_ = 0;
  bool wordWrap_ = false;
  bool autoMargin_ = false;
  uint32_t syntaxDefinition_ = 0;
  syntax::Repaint pendingRepaint_;
  std::vector<OskWindow> windows_;
  std::unique_ptr<LineStore> store_;
  UndoHistory history_;
  LineBuffer lineBuf_;
  TypingRun run_;
  Mark mark_;
};

// Lets the colour functions read a buffer by its handle: its store (after closing a typing run), its tab length
// (0 when tabs are kept as spaces) and its definition. Installed once at initialisation.
void installSyntaxBuffers();

// Limits an undo capacity as the open record and property 19 do.
int32_t limitUndoCapacity(int32_t capacity);

}  // namespace osk
