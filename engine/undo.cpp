#include "engine/undo.h"

#include <algorithm>
#include <new>
#include <string>

#include "engine/gauge.h"

namespace osk {

namespace {

bool storable(std::string_view text, bool unix) {
  if (text.size() > static_cast<std::size_t>(kMaxLineLength)) return false;
  if (text.find('\n') != std::string_view::npos) return false;
  return unix || text.find('\r') == std::string_view::npos;
}

}  // namespace

bool UndoHistory::reset(int32_t capacity) {
  const bool saved = atSavedState();
  records_.clear();
  runTables_.clear();
  freeTables_.clear();
  store_->clearUndoArea();
  index_ = 0;
  redoLimit_ = 0;
  depth_ = 0;
  groupState_ = 0;
  historyLost_ = false;
  baseStamp_ = saved ? saveCounter_ : unsavedStamp();
  bool ok = true;
  if (capacity > 0) {
    try {
      records_.resize(static_cast<std::size_t>(capacity));
    } catch (const std::bad_alloc&) {
      records_.clear();
      ok = false;
    }
  }
  return ok;
}

int32_t UndoHistory::held(int32_t i) const {
  const UndoRecord& r = records_[static_cast<std::size_t>(i)];
  const bool done = i < index_;
  switch (r.type()) {
    case kUndoLinesDeleted: return done ? r.word2 : 0;
    case kUndoLinesInserted: return done ? 0 : r.word2;
    case kUndoLinesChanged: return r.word2;
    case kUndoRunsChanged: return r.word4;
    default: return 0;
  }
}

int32_t UndoHistory::areaBefore(int32_t i) const {
  int32_t total = 0;
  for (int32_t j = 0; j < i; ++j) total += held(j);
  return total;
}

uint32_t UndoHistory::currentStamp() const { return index_ > 0 ? record(index_ - 1).stamp() : baseStamp_; }

bool UndoHistory::atSavedState() const { return !uncovered_ && currentStamp() == saveCounter_; }

void UndoHistory::takeSaveStamp() {
  saveCounter_ = (saveCounter_ + 1) & 0x1FF;
  // A record still carrying the new value dates from 512 saves ago: it must not read as the saved state.
  const int32_t used = std::max(index_, redoLimit_);
  for (int32_t i = 0; i < used; ++i) {
    if (at(i).stamp() == saveCounter_) at(i).setStamp(unsavedStamp());
  }
  if (baseStamp_ == saveCounter_) baseStamp_ = unsavedStamp();
  if (index_ > 0) {
    at(index_ - 1).setStamp(saveCounter_);
  } else {
    baseStamp_ = saveCounter_;
  }
  uncovered_ = false;
}

void UndoHistory::releaseRecords(int32_t from, int32_t to) {
  for (int32_t i = from; i < to; ++i) {
    if (at(i).type() == kUndoRunsChanged) {
      runTables_[static_cast<std::size_t>(at(i).word1)].clear();
      runTables_[static_cast<std::size_t>(at(i).word1)].shrink_to_fit();
      freeTables_.push_back(at(i).word1);
    }
    at(i) = UndoRecord{};
  }
}

void UndoHistory::dropRedo() {
  if (redoLimit_ > index_) {
    // The redo records are the last ones, so their lines are the tail of the undo area.
    const int32_t first = areaBefore(index_) + 1;
    const int32_t total = store_->undoAreaLines();
    if (first <= total) store_->undoArea().deleteLines(first, total - first + 1);
    releaseRecords(index_, redoLimit_);
  }
  redoLimit_ = 0;
}

Status UndoHistory::discardOldest() {
  if (index_ == 0) return kNothingLeft;
  dropRedo();
  int32_t end = -1;
  for (int32_t i = 0; i < index_; ++i) {
    if (at(i).type() == kUndoGroupEnd) {
      end = i;
      break;
    }
  }
  if (end < 0) {
    // Only the open group's records are left: dropping them loses the group's beginning.
    if (store_->undoAreaLines() > 0) store_->undoArea().deleteLines(1, store_->undoAreaLines());
    releaseRecords(0, index_);
    index_ = 0;
    historyLost_ = true;
    uncovered_ = true;
    return Status::kOk;
  }
  const int32_t lines = areaBefore(end + 1);
  if (lines > 0) store_->undoArea().deleteLines(1, lines);
  baseStamp_ = at(end).stamp();
  releaseRecords(0, end + 1);
  std::copy(records_.begin() + end + 1, records_.begin() + index_, records_.begin());
  for (int32_t i = index_ - end - 1; i < index_; ++i) at(i) = UndoRecord{};
  index_ -= end + 1;
  return Status::kOk;
}

void UndoHistory::finalise() {
  dropRedo();
  // The present state's stamp moves to the base, so the modified reading survives the history.
  baseStamp_ = currentStamp();
  releaseRecords(0, index_);
  index_ = 0;
  store_->clearUndoArea();
  if (groupState_ == 2) groupState_ = 1;
  historyLost_ = false;
}

bool UndoHistory::makeRoom() {
  if (historyLost_) return false;
  dropRedo();
  const int32_t need = groupState_ == 1 ? 2 : 1;
  if (capacity() < need) {
    historyLost_ = true;
    uncovered_ = true;
    return false;
  }
  while (capacity() - need < index_) {
    discardOldest();
    if (historyLost_) return false;
  }
  if (groupState_ == 1) {
    pushPlace(kUndoGroupStart, groupStart_, currentStamp());
    groupState_ = 2;
  }
  return true;
}

void UndoHistory::push(uint32_t type, int32_t w1, int32_t w2, int32_t w3, int32_t w4, uint32_t stamp) {
  UndoRecord r;
  r.head = type;
  r.setStamp(stamp);
  r.word1 = w1;
  r.word2 = w2;
  r.word3 = w3;
  r.word4 = w4;
  at(index_++) = r;
}

void UndoHistory::pushPlace(uint32_t type, const UndoPlace& at, uint32_t stamp) {
  if (at.markType != 0) {
    push(type | ((at.markType & 7u) << 4), at.caret.line, at.caret.column, at.update.line, at.update.column, stamp);
  } else {
    push(type, at.caret.line, at.caret.column, 0, 0, stamp);
  }
}

UndoPlace UndoHistory::placeOf(const UndoRecord& r) {
  UndoPlace p(TextPos{r.word1, r.word2});
  p.markType = (r.head >> 4) & 7u;
  if (p.markType != 0) p.update = TextPos{r.word3, r.word4};
  return p;
}

Status UndoHistory::beginGroup(const UndoPlace& at) {
  if (depth_ > 0) {
    if (depth_ >= kMaxDepth) return kTooDeep;
    ++depth_;
    return Status::kOk;
  }
  depth_ = 1;
  groupState_ = 1;
  groupStart_ = at;
  implicit_ = false;
  return Status::kOk;
}

Status UndoHistory::endGroup(const UndoPlace& at) {
  if (depth_ >= 2) {
    --depth_;
    return Status::kOk;
  }
  depth_ = 0;
  implicit_ = false;
  const int32_t state = groupState_;
  groupState_ = 0;
  if (historyLost_) {
    historyLost_ = false;
    return kHistoryLost;
  }
  if (state != 2) return Status::kOk;
  dropRedo();
  while (capacity() - 1 < index_) {
    discardOldest();
    if (historyLost_) {
      historyLost_ = false;
      return kHistoryLost;
    }
  }
  pushPlace(kUndoGroupEnd, at, currentStamp());
  return Status::kOk;
}

Status UndoHistory::startOp(const UndoPlace& at) { return beginGroup(at); }

Status UndoHistory::endOp(const UndoPlace& at) {
  if (depth_ == 0) return kNoGroup;
  return endGroup(at);
}

bool UndoHistory::beginImplicit(const UndoPlace& at) {
  if (depth_ > 0) return false;
  beginGroup(at);
  implicit_ = true;
  return true;
}

void UndoHistory::endImplicit(const UndoPlace& at) { endGroup(at); }

Status UndoHistory::changeLine(int32_t line, std::string_view text, uint32_t bits) {
  if (line < 1 || line > store_->lineCount()) return Status::kBadLine;
  if (!storable(text, store_->unixLineEnds())) return Status::kLineTooLong;
  const std::string old(store_->peekLine(line));
  Status s = lineChanged(line, old, store_->properties().get(line));
  if (s != Status::kOk) return s;
  const uint32_t derived = store_->properties().get(line, kTextDerivedBits);
  if (store_->replaceLine(line, text) != StoreStatus::kOk) return Status::kNoMemory;
  store_->properties().assign(line, (bits & ~kTextDerivedBits) | derived);
  listener_.textWritten(line, 1, false);
  return Status::kOk;
}

Status UndoHistory::lineChanged(int32_t line, std::string_view old, uint32_t oldBits) {
  if (line < 1 || line > store_->lineCount()) return Status::kBadLine;

  // Keeps the old text and bits at the end of the undo area.
  auto keepOld = [&]() {
    LineStore& area = store_->undoArea();
    if (area.insertLine(area.lineCount(), old) != StoreStatus::kOk) return false;
    area.properties().assign(area.lineCount(), oldBits);
    return true;
  };

  bool recorded = false;
  if (!historyLost_ && !records_.empty()) {
    dropRedo();
    if (groupState_ == 2 && index_ > 0) {
      UndoRecord& last = at(index_ - 1);
      if (last.type() == kUndoLinesChanged) {
        const int32_t first = last.word1, count = last.word2;
        if (line >= first && line < first + count) {
          recorded = true;
        } else if (line == first + count) {
          if (!keepOld()) return Status::kNoMemory;
          ++last.word2;
          last.word3 = std::max(last.word3, line);
          recorded = true;
        } else {
          int32_t id;
          if (!freeTables_.empty()) {
            id = freeTables_.back();
            freeTables_.pop_back();
          } else {
            id = static_cast<int32_t>(runTables_.size());
            runTables_.emplace_back();
          }
          if (!keepOld()) return Status::kNoMemory;
          runTables_[static_cast<std::size_t>(id)] = {Run{first, count}, Run{line, 1}};
          last.head = (last.head & ~0xFu) | kUndoRunsChanged;
          last.word1 = id;
          last.word2 = 2;
          last.word3 = std::max(last.word3, line);
          last.word4 = count + 1;
          recorded = true;
        }
      } else if (last.type() == kUndoRunsChanged) {
        auto& runs = runTables_[static_cast<std::size_t>(last.word1)];
        // Word 3 is the highest line the runs cover: a change further down (the usual order of a long
        // operation) needs no look through the runs.
        // The run added last is looked at first: a line changed again (a second replacement in it) is there.
        const auto holds = [&](const Run& r) { return line >= r.first && line < r.first + r.count; };
        const bool inside = line <= last.word3 && (holds(runs.back()) || std::any_of(runs.begin(), runs.end(), holds));
        if (inside) {
          recorded = true;
        } else if (line == runs.back().first + runs.back().count) {
          if (!keepOld()) return Status::kNoMemory;
          ++runs.back().count;
          ++last.word4;
          last.word3 = std::max(last.word3, line);
          recorded = true;
        } else if (runs.size() < kMaxRuns) {
          if (!keepOld()) return Status::kNoMemory;
          runs.push_back(Run{line, 1});
          ++last.word2;
          ++last.word4;
          last.word3 = std::max(last.word3, line);
          recorded = true;
        }
      }
    }
    if (!recorded && makeRoom()) {
      if (!keepOld()) return Status::kNoMemory;
      push(kUndoLinesChanged, line, 1, line, 0, unsavedStamp());
      recorded = true;
    }
  }
  settleRecord(recorded);
  return Status::kOk;
}

void UndoHistory::settleRecord(bool recorded) {
  if (recorded) {
    at(index_ - 1).setStamp(unsavedStamp());
  } else {
    uncovered_ = true;
  }
}

Status UndoHistory::insertLines(int32_t after, const std::vector<std::string_view>& texts) {
  if (after < 0 || after > store_->lineCount()) return Status::kBadLine;
  if (texts.empty()) return Status::kOk;
  for (std::string_view t : texts) {
    if (!storable(t, store_->unixLineEnds())) return Status::kLineTooLong;
  }
  if (store_->insertLines(after, texts) != StoreStatus::kOk) return Status::kNoMemory;
  const auto n = static_cast<int32_t>(texts.size());
  inserted(after + 1, n);
  bool recorded = false;
  if (!historyLost_ && !records_.empty()) {
    dropRedo();
    if (groupState_ == 2 && index_ > 0) {
      UndoRecord& last = at(index_ - 1);
      // Lines inserted right before or right after the last inserted run make one run with it.
      if (last.type() == kUndoLinesInserted && (after == last.word1 - 1 || after == last.word1 + last.word2 - 1)) {
        last.word2 += n;
        last.word3 = last.word1 + last.word2 - 1;
        recorded = true;
      }
    }
    if (!recorded && makeRoom()) {
      push(kUndoLinesInserted, after + 1, n, after + n, 0, unsavedStamp());
      recorded = true;
    }
  }
  settleRecord(recorded);
  return Status::kOk;
}

Status UndoHistory::deleteLines(int32_t first, int32_t count) {
  if (first < 1 || first > store_->lineCount()) return Status::kBadLine;
  count = std::min(count, store_->lineCount() - first + 1);
  if (count <= 0) return Status::kOk;
  listener_.textRemoving(first, count);
  bool recorded = false;
  if (!historyLost_ && !records_.empty()) {
    dropRedo();
    if (groupState_ == 2 && index_ > 0) {
      UndoRecord& last = at(index_ - 1);
      if (last.type() == kUndoLinesDeleted) {
        const int32_t areaEnd = store_->undoAreaLines();
        if (first + count == last.word1) {
          // Directly before the lines already deleted: they go in front of them in the area.
          if (LineStore::moveLines(*store_, first, count, store_->undoArea(), areaEnd - last.word2) !=
              StoreStatus::kOk) {
            return Status::kNoMemory;
          }
          last.word1 = first;
          last.word2 += count;
          recorded = true;
        } else if (first == last.word1) {
          if (LineStore::moveLines(*store_, first, count, store_->undoArea(), areaEnd) != StoreStatus::kOk) {
            return Status::kNoMemory;
          }
          last.word2 += count;
          recorded = true;
        }
        if (recorded) last.word3 = last.word1 + last.word2 - 1;
      }
    }
    if (!recorded && makeRoom()) {
      if (LineStore::moveLines(*store_, first, count, store_->undoArea(), store_->undoAreaLines()) !=
          StoreStatus::kOk) {
        return Status::kNoMemory;
      }
      push(kUndoLinesDeleted, first, count, first + count - 1, 0, unsavedStamp());
      recorded = true;
    }
  }
  if (recorded) {
    at(index_ - 1).setStamp(unsavedStamp());
  } else {
    store_->deleteLines(first, count);
    uncovered_ = true;
  }
  return Status::kOk;
}

Status UndoHistory::swapRun(int32_t first, int32_t count, int32_t areaFirst) {
  LineStore& area = store_->undoArea();
  for (int32_t k = 0; k < count; ++k) {
    const std::string text(store_->peekLine(first + k));
    const std::string kept(area.peekLine(areaFirst + k));
    const uint32_t bits = store_->properties().get(first + k);
    const uint32_t keptBits = area.properties().get(areaFirst + k);
    if (store_->replaceLine(first + k, kept) != StoreStatus::kOk) return Status::kNoMemory;
    if (area.replaceLine(areaFirst + k, text) != StoreStatus::kOk) return Status::kNoMemory;
    store_->properties().assign(first + k, (keptBits & ~kTextDerivedBits) | (bits & kTextDerivedBits));
    area.properties().assign(areaFirst + k, bits);
  }
  listener_.textWritten(first, count, false);
  return Status::kOk;
}

void UndoHistory::inserted(int32_t first, int32_t count) {
  // Lines back from the undo area carry the bits of the text they were removed from, which may be stale.
  store_->properties().clearBits(first, first + count - 1, kTextDerivedBits);
  listener_.textWritten(first, count, true);
}

void UndoHistory::movedIn(int32_t first, int32_t count) {
  inserted(first, count);
  listener_.linesInserted(first - 1, count);
}

void UndoHistory::movingOut(int32_t first, int32_t count) { listener_.textRemoving(first, count); }

Status UndoHistory::apply(int32_t i, bool forward) {
  const UndoRecord r = record(i);
  const int32_t pos = areaBefore(i);
  StoreStatus moved = StoreStatus::kOk;
  switch (r.type()) {
    case kUndoLinesChanged: {
      Status s = swapRun(r.word1, r.word2, pos + 1);
      listener_.linesChanged(r.word1, r.word2);
      return s;
    }
    case kUndoRunsChanged: {
      int32_t at = pos + 1;
      for (const Run& run : runTables_[static_cast<std::size_t>(r.word1)]) {
        Status s = swapRun(run.first, run.count, at);
        if (s != Status::kOk) return s;
        listener_.linesChanged(run.first, run.count);
        at += run.count;
      }
      return Status::kOk;
    }
    case kUndoLinesInserted:
      if (forward) {
        moved = LineStore::moveLines(store_->undoArea(), pos + 1, r.word2, *store_, r.word1 - 1);
        if (moved == StoreStatus::kOk) movedIn(r.word1, r.word2);
      } else {
        movingOut(r.word1, r.word2);
        moved = LineStore::moveLines(*store_, r.word1, r.word2, store_->undoArea(), pos);
        if (moved == StoreStatus::kOk) listener_.linesDeleted(r.word1, r.word2);
      }
      break;
    case kUndoLinesDeleted:
      if (forward) {
        movingOut(r.word1, r.word2);
        moved = LineStore::moveLines(*store_, r.word1, r.word2, store_->undoArea(), pos);
        if (moved == StoreStatus::kOk) listener_.linesDeleted(r.word1, r.word2);
      } else {
        moved = LineStore::moveLines(store_->undoArea(), pos + 1, r.word2, *store_, r.word1 - 1);
        if (moved == StoreStatus::kOk) movedIn(r.word1, r.word2);
      }
      break;
    default: break;
  }
  return moved == StoreStatus::kOk ? Status::kOk : fromStore(moved);
}

int32_t UndoHistory::changesToUndo() const {
  int32_t n = 0;
  for (int32_t i = index_ - 1; i >= 0 && record(i).type() != kUndoGroupStart; --i) {
    const uint32_t t = record(i).type();
    if (t == kUndoRunsChanged) {
      n += record(i).word2;
    } else if (t != kUndoGroupEnd) {
      ++n;
    }
  }
  return n;
}

int32_t UndoHistory::changesToRedo() const {
  int32_t n = 0;
  for (int32_t i = index_ + 1; i < redoLimit_ && record(i).type() != kUndoGroupEnd; ++i) {
    const uint32_t t = record(i).type();
    n += t == kUndoRunsChanged ? record(i).word2 : 1;
  }
  return n;
}

Status UndoHistory::undo(UndoPlace& place, Gauge* gauge) {
  if (depth_ > 0 || index_ == 0 || record(index_ - 1).type() != kUndoGroupEnd) return kNothingToDo;
  int32_t start = index_ - 2;
  while (start >= 0 && record(start).type() != kUndoGroupStart) --start;
  if (start < 0) return kNothingToDo;
  const int32_t top = index_;
  int32_t done = 0;
  for (int32_t i = top - 1; i >= start; --i) {
    const uint32_t t = record(i).type();
    if (t >= kUndoLinesDeleted) {
      Status s = apply(i, false);
      if (s != Status::kOk) return s;
      done += t == kUndoRunsChanged ? record(i).word2 : 1;
      if (gauge) gauge->step(done);
    }
    index_ = i;
  }
  place = placeOf(record(start));
  redoLimit_ = std::max(redoLimit_, top);
  return Status::kOk;
}

Status UndoHistory::redo(UndoPlace& place, Gauge* gauge) {
  if (depth_ > 0 || index_ >= redoLimit_) return kNothingToDo;
  if (record(index_).type() != kUndoGroupStart) return Status::kFailure;
  ++index_;
  int32_t done = 0;
  while (index_ < redoLimit_) {
    const uint32_t t = record(index_).type();
    if (t == kUndoGroupEnd) {
      place = placeOf(record(index_));
      ++index_;
      break;
    }
    if (t >= kUndoLinesDeleted) {
      Status s = apply(index_, true);
      if (s != Status::kOk) return s;
      done += t == kUndoRunsChanged ? record(index_).word2 : 1;
      if (gauge) gauge->step(done);
    }
    ++index_;
  }
  if (index_ >= redoLimit_) redoLimit_ = 0;
  return Status::kOk;
}

}  // namespace osk
