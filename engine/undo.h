// The undo history of one buffer: a fixed-capacity array of 20-byte undo records in nested groups, the lines they
// keep in the line store's undo area, and the save stamps from which the modified flag is read.
//
// A group is one user operation; groups nest to a depth of 16. When the array is full the oldest complete group is
// discarded; a change that no record can cover (capacity too small, history lost in the middle of a group) is
// still made, and leaves the history "uncovered", so the buffer reads as modified until the next save. Deleted
// lines are moved into the undo area, not copied. Save stamps are 9 bits; taking a new stamp first clears the same
// value from every older record, so a state saved 512 saves ago never reads as saved.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/engine_codes.h"
#include "engine/store/line_store.h"

namespace osk {

class Gauge;

struct TextPos {
  int32_t line = 0;
  int32_t column = 0;
  bool operator==(const TextPos&) const = default;
};

// Where a group began or ended: the caret, or, when a non-empty mark existed, the mark's type (1 stream, 2 line,
// 3 column) with its anchor in `caret` and its moving end in `update`. Undo and redo give it back so that the
// caret, and the mark, can be put where they were.
struct UndoPlace {
  UndoPlace() = default;
  UndoPlace(TextPos at) : caret(at) {}  // NOLINT: a caret alone is the common place
  TextPos caret;
  uint32_t markType = 0;
  TextPos update;
};

// Undo record types.
enum UndoType : uint32_t {
  kUndoGroupStart = 0,
  kUndoGroupEnd = 1,
  kUndoLinesDeleted = 2,
  kUndoLinesInserted = 3,
  kUndoLinesChanged = 4,
  kUndoRunsChanged = 5,
};

// One record, five 32-bit words. Word 0: bits 0-3 type, bits 4-6 mark type, bits 7-15 save stamp.
struct UndoRecord {
  uint32_t head = 0;
  int32_t word1 = 0;
  int32_t word2 = 0;
  int32_t word3 = 0;
  int32_t word4 = 0;

  uint32_t type() const { return head & 0xF; }
  uint32_t stamp() const { return (head >> 7) & 0x1FF; }
  void setStamp(uint32_t s) { head = (head & ~(0x1FFu << 7)) | ((s & 0x1FF) << 7); }
};
static_assert(sizeof(UndoRecord) == 20, "an undo record is five 32-bit words");

// Line property bits the colouring computes from a line's own text (the multi-line block's contains-end and
// leaves-open). They are never recorded or restored: a change keeps the bits the line had before it, and the
// listener computes them again from the new text, so it can tell how far down the colours changed.
constexpr uint32_t kTextDerivedBits = 0xC000;

// Told of every change that undo and redo make to the text, so that the views follow.
class UndoListener {
 public:
  virtual void linesInserted(int32_t after, int32_t count) = 0;
  virtual void linesDeleted(int32_t first, int32_t count) = 0;
  virtual void linesChanged(int32_t first, int32_t count) = 0;
  // Every change to the store, recorded or undone or redone: lines first..first+count-1 were written (`inserted`:
  // they are new, with no text-derived bits yet), or are about to be removed.
  virtual void textWritten(int32_t first, int32_t count, bool inserted) = 0;
  virtual void textRemoving(int32_t first, int32_t count) = 0;

 protected:
  ~UndoListener() = default;
};

class UndoHistory {
 public:
  static constexpr int32_t kMaxDepth = 16;
  static constexpr std::size_t kMaxRuns = 10920;

  UndoHistory(LineStore& store, UndoListener& listener) : store_(&store), listener_(listener) {}
  // The buffer's store was replaced (reload); follow it. Call reset() afterwards.
  void attach(LineStore& store) { store_ = &store; }

  // Drops every record and the undo area, and allocates `capacity` records (0: record nothing). The present
  // state keeps its saved or modified reading. False when the records cannot be had (then nothing is recorded).
  bool reset(int32_t capacity);
  int32_t capacity() const { return static_cast<int32_t>(records_.size()); }
  int32_t undoIndex() const { return index_; }
  int32_t redoLimit() const { return redoLimit_; }
  const UndoRecord& record(int32_t i) const { return records_[static_cast<std::size_t>(i)]; }

  // Groups. An explicit group counts against the depth of 16; `beginImplicit` opens a group only when none is
  // open and returns whether it did, so a primitive inside an explicit group adds to that group.
  Status startOp(const UndoPlace& at);
  Status endOp(const UndoPlace& at);
  bool beginImplicit(const UndoPlace& at);
  void endImplicit(const UndoPlace& at);
  int32_t depth() const { return depth_; }
  bool groupOpen() const { return depth_ > 0; }

  // Recorded changes: each makes its change to the store and records it. Must run inside a group. The text-derived
  // bits in `bits` are ignored.
  Status changeLine(int32_t line, std::string_view text, uint32_t bits);
  // Records that `line` held `oldText` and `oldBits` before its present text (the typing record); the caller has
  // told the listener of the write.
  Status lineChanged(int32_t line, std::string_view oldText, uint32_t oldBits);
  Status insertLines(int32_t after, const std::vector<std::string_view>& texts);
  Status deleteLines(int32_t first, int32_t count);

  // Undoes (redoes) one group; `caret` receives the position stored with the group. kNothingToDo when there is
  // none. The gauge steps once per change applied.
  Status undo(UndoPlace& place, Gauge* gauge);
  Status redo(UndoPlace& place, Gauge* gauge);
  // Number of changes the next undo (redo) applies: one per change record, one per run of a type 5 record.
  int32_t changesToUndo() const;
  int32_t changesToRedo() const;
  bool canUndo() const { return index_ > 0; }
  bool canRedo() const { return index_ < redoLimit_; }

  // Discards the oldest group (kNothingLeft when no record is left); `finalise` discards them all, redo records
  // first.
  Status discardOldest();
  void finalise();
  void dropRedo();

  // Save stamps and the modified reading.
  void takeSaveStamp();
  void markUnsaved() { uncovered_ = true; }
  bool atSavedState() const;
  bool historyLost() const { return historyLost_; }

  static constexpr Status kNothingToDo = static_cast<Status>(1613);
  static constexpr Status kNothingLeft = static_cast<Status>(1613);
  static constexpr Status kTooDeep = static_cast<Status>(1615);
  static constexpr Status kNoGroup = static_cast<Status>(1617);
  static constexpr Status kHistoryLost = static_cast<Status>(1651);

 private:
  struct Run {
    int32_t first;
    int32_t count;
  };

  UndoRecord& at(int32_t i) { return records_[static_cast<std::size_t>(i)]; }
  // Lines record `i` keeps in the undo area in its present (done or undone) state.
  int32_t held(int32_t i) const;
  // Undo-area lines held by records below `i`.
  int32_t areaBefore(int32_t i) const;
  uint32_t currentStamp() const;
  uint32_t unsavedStamp() const { return (saveCounter_ + 1) & 0x1FF; }
  // Makes room for one more record (two while the group-start record is pending) and writes the pending
  // group-start record. False when the change cannot be recorded.
  bool makeRoom();
  // After a change: the record that covers it reads unsaved; a change no record covers keeps the buffer modified.
  void settleRecord(bool recorded);
  void push(uint32_t type, int32_t w1, int32_t w2, int32_t w3, int32_t w4, uint32_t stamp);
  void releaseRecords(int32_t from, int32_t to);
  Status apply(int32_t i, bool forward);
  Status swapRun(int32_t first, int32_t count, int32_t areaFirst);
  // Tell the listener of lines that came into the store (clearing their text-derived bits) or are about to leave.
  void inserted(int32_t first, int32_t count);
  void movedIn(int32_t first, int32_t count);
  void movingOut(int32_t first, int32_t count);
  Status beginGroup(const UndoPlace& at);
  Status endGroup(const UndoPlace& at);
  void pushPlace(uint32_t type, const UndoPlace& at, uint32_t stamp);
  static UndoPlace placeOf(const UndoRecord& r);

  LineStore* store_;
  UndoListener& listener_;
  std::vector<UndoRecord> records_;
  std::vector<std::vector<Run>> runTables_;   // by the run table number in word 1 of a type 5 record
  std::vector<int32_t> freeTables_;
  int32_t index_ = 0;
  int32_t redoLimit_ = 0;
  uint32_t saveCounter_ = 0;
  uint32_t baseStamp_ = 0;
  bool historyLost_ = false;
  bool uncovered_ = false;
  int32_t depth_ = 0;
  int32_t groupState_ = 0;   // 0 none, 1 begun with nothing recorded, 2 group-start record written
  bool implicit_ = false;
  UndoPlace groupStart_;
};

}  // namespace osk
