#include "engine/buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/ecd_api.h"
#include "engine/engine_context.h"
#include "engine/file_io.h"
#include "engine/gauge.h"
#include "engine/lang/syntax_data.h"
#include "engine/tabs.h"
#include "engine/store/text_loader.h"
#include "engine/store/text_writer.h"

namespace osk {


namespace {

bool provideSyntaxBuffer(HEDBUFFER handle, syntax::SyntaxBufferView& view) {
  Buffer* b = Engine::instance().find(handle);
  if (b == nullptr) return false;
  b->flushLine();
  view.store = &b->store();
  // With tabs kept as spaces the window shows the stored text as it stands, and so is it coloured.
  view.tabLength = b->has(kStateTabsAsSpaces) ? 0 : b->tabLength();
  view.definition = b->syntaxDefinition();
  return true;
}

}  // namespace

void installSyntaxBuffers() { syntax::SetSyntaxBufferProvider(provideSyntaxBuffer); }

int32_t limitUndoCapacity(int32_t capacity) {
  if (capacity < 0) return 0;
  if (static_cast<int64_t>(capacity) * kUndoRecordBytes > kMaxUndoBytes) return kCappedUndoCapacity;
  return capacity;
}

Buffer::Buffer(Engine& engine)
    : engine_(engine), store_(std::make_unique<LineStore>()), history_(*store_, *this) {}

Buffer::~Buffer() = default;

Status Buffer::loadFile(const std::string& path, const char* caption, std::unique_ptr<LineStore>& out) const {
  fileio::InputFile file;
  if (!file.open(path)) return Status::kReadFailed;
  auto store = std::make_unique<LineStore>();
  int64_t time = 0;
  fileio::modificationTime(path, time);
  store->setFileTime(time);
  const int64_t size = file.size();
  Gauge gauge(engine_.gauge, caption, static_cast<int32_t>(std::min<int64_t>(size, INT32_MAX)));
  TextLoader loader(engine_.option(ECD_OPT_REMOVE_CTRLZ), [&](int64_t position) { return gauge.step(position); });
  std::vector<char> chunk;
  try {
    chunk.resize(1 << 16);
  } catch (const std::bad_alloc&) {
    return Status::kNoMemory;
  }
  for (;;) {
    int64_t n = file.read(chunk.data(), chunk.size());
    if (n < 0) return Status::kReadFailed;
    if (n == 0) break;
    StoreStatus s = loader.feed(chunk.data(), static_cast<std::size_t>(n));
    if (s != StoreStatus::kOk) return fromStore(s);
  }
  StoreStatus s = loader.finish(*store);
  if (s != StoreStatus::kOk) return fromStore(s);
  out = std::move(store);
  return Status::kOk;
}

int32_t Buffer::create(Engine& engine, const EcdOpenRecord& record, std::unique_ptr<Buffer>& out) {
  const int32_t flags = record.flags;
  const bool allowDuplicate = (flags & ECD_OPEN_ALLOW_DUPLICATE) != 0;
  const char* name = record.fileName != nullptr ? record.fileName : "";

  std::unique_ptr<Buffer> b(new (std::nothrow) Buffer(engine));
  if (!b) return ECD_ERR_MEMORY;

  // The name is made a full path before any check, so that "a.txt" and "C:\dir\A.TXT" are seen as one file.
  std::string full;
  if (*name != '\0') {
    if (std::strlen(name) > fileio::kMaxPath || fileio::hasWildcards(name)) return ECD_ERR_INVALID_NAME;
    if (!fileio::fullPath(name, full) || full.size() > fileio::kMaxPath || !fileio::hasFilePart(full)) {
      return ECD_ERR_INVALID_NAME;
    }
    if (!allowDuplicate && engine.holderOf(full, nullptr) != nullptr) return ECD_ERR_ALREADY_LOADED;
  }

  b->undoCapacity_ = limitUndoCapacity(record.undoCapacity);
  b->tabLength_ = (record.tabLength >= 1 && record.tabLength <= 32) ? record.tabLength : 1;
  b->state_ = kStateInsert;
  if (flags & ECD_OPEN_TABS_AS_SPACES) b->state_ |= kStateTabsAsSpaces;
  if (flags & ECD_OPEN_READ_ONLY) b->state_ |= kStateReadOnly;
  if (flags & ECD_OPEN_FLAG6) b->state_ |= kStateFlag6;

  if (full.empty()) {
    b->untitledNumber_ = ++engine.untitledCounter;
  } else {
    if (!fileio::isDirectory(fileio::directoryOf(full))) return ECD_ERR_INVALID_DIRECTORY;
    b->fileName_ = full;
  }

  if (!full.empty() && engine.option(ECD_OPT_READ_ONLY_AS_READ_ONLY) && !b->readOnly()) {
    if (!fileio::isFile(full) || fileio::isReadOnlyFile(full)) b->state_ |= kStateReadOnly | kStateFileReadOnly;
  }

  if ((flags & ECD_OPEN_READ) && !full.empty()) {
    if (!fileio::isFile(full)) return ECD_ERR_NO_FILE;
    std::unique_ptr<LineStore> store;
    Status s = b->loadFile(full, record.caption, store);
    if (s != Status::kOk) return toEngineCode(s);
    b->store_ = std::move(store);
  } else {
    b->state_ |= kStateNew;
    if (flags & ECD_OPEN_UNIX) b->store_->setUnixLineEnds(true);
  }
  b->history_.attach(*b->store_);
  if (!b->readOnly() && b->undoCapacity_ > 0 && !b->history_.reset(b->undoCapacity_)) return ECD_ERR_MEMORY;
  b->chooseSyntaxDefinition();
  out = std::move(b);
  return 0;
}

std::string Buffer::displayName() const {
  if (named()) return fileName_;
  return "Untitled: " + std::to_string(untitledNumber_);
}

void Buffer::addWindow(OskWindow window) {
  if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) windows_.push_back(window);
}

void Buffer::removeWindow(OskWindow window) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

void Buffer::notify(uint32_t code, uintptr_t wParam, intptr_t lParam, OskWindow skip) {
  // The mark keeps to its text, whoever moved the lines.
  if (code == ECDB_LINES_INSERTED) markLinesInserted(mark_, static_cast<int32_t>(lParam), static_cast<int32_t>(wParam));
  if (code == ECDB_LINES_DELETED) {
    markLinesDeleted(mark_, static_cast<int32_t>(lParam), static_cast<int32_t>(wParam));
    // No text, no mark.
    if (lineCount() == 0 && mark_.present()) {
      mark_ = Mark();
      setMarkState(false);
    }
  }
  if (engine_.noticeSender == nullptr) return;
  // A window may leave the list while it handles a notice: walk a copy, and skip windows that have gone.
  const std::vector<OskWindow> targets = windows_;
  for (OskWindow w : targets) {
    if (w == skip) continue;
    if (std::find(windows_.begin(), windows_.end(), w) == windows_.end()) continue;
    engine_.noticeSender(w, code, wParam, lParam);
  }
  if (code != ECDB_REPAINT_LINES) sendPendingRepaint();
}

void Buffer::chooseSyntaxDefinition() {
  const uint32_t d = named() ? syntax::DefinitionForFile(fileName_) : 0;
  if (d == syntaxDefinition_) return;
  syntaxDefinition_ = d;
  syntax::RecomputeBlockBits(*store_, syntax::DefinitionAt(d));
  // Whatever was pending is covered by the whole repaint.
  pendingRepaint_ = syntax::Repaint{};
  notify(ECDB_REPAINT_ALL);
}

void Buffer::addRepaint(const syntax::Repaint& r) {
  if (!r.needed) return;
  if (!pendingRepaint_.needed) {
    pendingRepaint_ = r;
    return;
  }
  if (pendingRepaint_.everything || r.everything) {
    pendingRepaint_.everything = true;
    return;
  }
  const int32_t first = std::min(pendingRepaint_.first, r.first);
  const int32_t last = std::max(pendingRepaint_.first + pendingRepaint_.count, r.first + r.count) - 1;
  pendingRepaint_.first = first;
  pendingRepaint_.count = last - first + 1;
  pendingRepaint_.everything = pendingRepaint_.count >= 31;
}

void Buffer::sendPendingRepaint() {
  if (!pendingRepaint_.needed) return;
  const syntax::Repaint r = pendingRepaint_;
  pendingRepaint_ = syntax::Repaint{};
  notify(ECDB_REPAINT_LINES, static_cast<uintptr_t>(r.noticeCount()), r.noticeFirst());
}

void Buffer::textWritten(int32_t first, int32_t count, bool inserted) {
  const syntax::DecodedDefinition* d = syntax::DefinitionAt(syntaxDefinition_);
  if (d == nullptr) return;
  // A range waiting from before the lines moved no longer names the same lines.
  if (inserted && pendingRepaint_.needed) pendingRepaint_.everything = true;
  addRepaint(syntax::UpdateLinesBits(*store_, d, first, count));
}

void Buffer::textRemoving(int32_t first, int32_t count) {
  if (syntax::DefinitionAt(syntaxDefinition_) == nullptr) return;
  if (pendingRepaint_.needed) pendingRepaint_.everything = true;
  // Removing a line that opens or closes the block changes the colours of the lines below it.
  const int32_t carrier = store_->properties().next(first - 1, syntax::kBlockBits);
  if (carrier != 0 && carrier < first + count) {
    syntax::Repaint all;
    all.needed = true;
    all.everything = true;
    addRepaint(all);
  }
}

bool Buffer::option(int word) const { return engine_.option(word); }

const GaugeCallbacks& Buffer::gaugeCallbacks() const { return engine_.gauge; }

void Buffer::setStateBit(uint32_t bit, bool on, uint32_t notice) {
  if (has(bit) == on) return;
  state_ ^= bit;
  if (notice != 0) notify(notice, on ? 1 : 0);
}

void Buffer::refreshHistoryState() {
  const bool pending = lineBuf_.pending;
  const bool writable = !readOnly();
  const bool closed = !history_.groupOpen();
  setStateBit(kStateHistoryLost, history_.historyLost(), 0);
  setStateBit(kStateModified, pending || !history_.atSavedState(), ECDB_MODIFIED);
  setStateBit(kStateUndoPossible,
              closed && writable && history_.capacity() >= 3 && (history_.undoIndex() > 0 || pending), ECDB_UNDO);
  setStateBit(kStateRedoPossible, closed && writable && history_.canRedo(), ECDB_REDO);
  sendPendingRepaint();
}

void Buffer::setModified(bool modified) {
  if (modified) {
    history_.markUnsaved();
  } else {
    flushLine();
    history_.takeSaveStamp();
  }
  refreshHistoryState();
}

Status Buffer::loadLine(int32_t line) {
  if (lineBuf_.line == line && line != 0) return Status::kOk;
  Status s = flushLine();
  if (s != Status::kOk) return s;
  lineBuf_ = LineBuffer{};
  if (line < 1 || line > lineCount()) return Status::kBadLine;
  std::string_view stored = store_->peekLine(line);
  const bool spaces = has(kStateTabsAsSpaces);
  std::string text = spaces ? expandTabs(stored, tabLength_) : std::string(stored);
  const int32_t cells = spaces ? static_cast<int32_t>(text.size()) : expandedWidth(text, tabLength_);
  // Such a line is left as it is rather than cut to fit.
  if (text.size() > static_cast<std::size_t>(kMaxLineLength) || cells > kMaxLineCells) return Status::kLineTooLong;
  lineBuf_.line = line;
  lineBuf_.original.assign(stored);
  lineBuf_.text = std::move(text);
  lineBuf_.bits = lineBuf_.originalBits = store_->properties().get(line);
  lineBuf_.cells = cells;
  return Status::kOk;
}

void Buffer::lineBufferEdited() {
  lineBuf_.cells = has(kStateTabsAsSpaces) ? static_cast<int32_t>(lineBuf_.text.size())
                                           : expandedWidth(lineBuf_.text, tabLength_);
  store_->replaceLine(lineBuf_.line, lineBuf_.text);
  const uint32_t derived = store_->properties().get(lineBuf_.line, kTextDerivedBits);
  store_->properties().assign(lineBuf_.line, (lineBuf_.bits & ~kTextDerivedBits) | derived);
  textWritten(lineBuf_.line, 1, false);
  if (!lineBuf_.pending) {
    // The typing record is made only when the run closes, but redoing past it is over now.
    history_.dropRedo();
    lineBuf_.pending = true;
    refreshHistoryState();
  }
}

Status Buffer::flushLine() {
  if (!lineBuf_.pending) {
    run_ = TypingRun{};
    return Status::kOk;
  }
  const TextPos start{lineBuf_.line, run_.startColumn > 0 ? run_.startColumn : 1};
  const TextPos end{lineBuf_.line, run_.column > 0 ? run_.column : 1};
  const bool mine = history_.beginImplicit(start);
  Status s = history_.lineChanged(lineBuf_.line, lineBuf_.original, lineBuf_.originalBits);
  if (mine) history_.endImplicit(end);
  // The next edit of this line starts from what it holds now.
  lineBuf_ = LineBuffer{};
  run_ = TypingRun{};
  refreshHistoryState();
  return s;
}

Status Buffer::releaseLine() {
  Status s = flushLine();
  lineBuf_ = LineBuffer{};
  return s;
}

Status Buffer::startOp(const UndoPlace& at) {
  if (readOnly()) return Status::kReadOnly;
  flushLine();
  Status s = history_.startOp(at);
  refreshHistoryState();
  return s;
}

Status Buffer::endOp(const UndoPlace& at) {
  if (readOnly()) return Status::kReadOnly;
  flushLine();
  Status s = history_.endOp(at);
  refreshHistoryState();
  return s;
}

Status Buffer::undo(TextPos& caret, const char* caption, UndoPlace* place) {
  if (readOnly()) return Status::kReadOnly;
  releaseLine();
  const int32_t changes = history_.changesToUndo();
  UndoPlace where;
  Status s;
  if (changes > 5) {
    Gauge gauge(engine_.gauge, caption, changes);
    s = history_.undo(where, &gauge);
  } else {
    s = history_.undo(where, nullptr);
  }
  if (s == Status::kOk) {
    caret = where.caret;
    if (place) *place = where;
  }
  refreshHistoryState();
  return s;
}

Status Buffer::redo(TextPos& caret, const char* caption, UndoPlace* place) {
  if (readOnly()) return Status::kReadOnly;
  releaseLine();
  const int32_t changes = history_.changesToRedo();
  UndoPlace where;
  Status s;
  if (changes > 5) {
    Gauge gauge(engine_.gauge, caption, changes);
    s = history_.redo(where, &gauge);
  } else {
    s = history_.redo(where, nullptr);
  }
  if (s == Status::kOk) {
    caret = where.caret;
    if (place) *place = where;
  }
  refreshHistoryState();
  return s;
}

void Buffer::linesInserted(int32_t after, int32_t count) {
  notify(ECDB_LINES_INSERTED, static_cast<uintptr_t>(count), after);
}

void Buffer::linesDeleted(int32_t first, int32_t count) {
  notify(ECDB_LINES_DELETED, static_cast<uintptr_t>(count), first);
}

void Buffer::linesChanged(int32_t first, int32_t count) {
  notify(ECDB_REPAINT_LINES, static_cast<uintptr_t>(count), first);
}

int32_t Buffer::finalise() {
  if (readOnly()) return ECD_ERR_READ_ONLY;
  flushLine();
  history_.finalise();
  refreshHistoryState();
  return 0;
}

void Buffer::setReadOnly(bool on) {
  const bool was = readOnly();
  releaseLine();
  // A read-only buffer records nothing: its records go, and come back empty when it is writable again. Asking
  // for the state the buffer is already in keeps its history.
  if (on) {
    if (!was) history_.reset(0);
    state_ |= kStateReadOnly;
    state_ &= ~kStateFileReadOnly;
  } else {
    state_ &= ~(kStateReadOnly | kStateFileReadOnly);
    if (was) history_.reset(undoCapacity_);
  }
  refreshHistoryState();
  notify(2046);
}

Status Buffer::checkNewName(const char* name, std::string& full) const {
  if (name == nullptr || *name == '\0') return Status::kBadName;
  if (std::strlen(name) > fileio::kMaxPath || fileio::hasWildcards(name)) return Status::kBadName;
  if (!fileio::fullPath(name, full) || full.size() > fileio::kMaxPath || !fileio::hasFilePart(full)) {
    return Status::kBadName;
  }
  if (fileio::isDirectory(full)) return Status::kBadName;
  if (!fileio::isDirectory(fileio::directoryOf(full))) return Status::kNoSuchDirectory;
  if (engine_.holderOf(full, this) != nullptr) return Status::kAlreadyLoaded;
  return Status::kOk;
}

int32_t Buffer::rename(const char* name) {
  std::string full;
  Status s = checkNewName(name, full);
  if (s == Status::kNoSuchDirectory) s = Status::kBadName;
  if (s != Status::kOk) return toEngineCode(s);
  fileName_ = full;
  untitledNumber_ = 0;
  notify(2035, 0, reinterpret_cast<intptr_t>(fileName_.c_str()));
  chooseSyntaxDefinition();
  return 0;
}

int32_t Buffer::save(const char* name, const char* caption, bool mayFinalise) {
  // Every check on a new name comes before anything is written.
  std::string target;
  const bool saveAs = name != nullptr && *name != '\0';
  if (saveAs) {
    Status s = checkNewName(name, target);
    if (s != Status::kOk) return toEngineCode(s);
  } else {
    if (!named()) return ECD_ERR_UNNAMED;
    target = fileName_;
  }
  releaseLine();
  if (mayFinalise && engine_.option(ECD_OPT_FINALISE_ON_SAVE)) {
    history_.finalise();
    refreshHistoryState();
  }

  fileio::SaveTarget file;
  if (!file.open(target)) return toEngineCode(Status::kOpenWriteFailed);
  WriteOptions options;
  options.stripTrailingBlanks = engine_.option(ECD_OPT_STRIP_EOL_SPACE);
  options.appendCtrlZ = engine_.option(ECD_OPT_ADD_CTRLZ);
  StoreStatus written;
  {
    Gauge gauge(engine_.gauge, caption, lineCount());
    written = writeText(
        *store_, options, [&](const char* data, std::size_t size) { return file.write(data, size); },
        [&](int32_t lines) { return gauge.step(lines); });
    if (written == StoreStatus::kOk) gauge.step(lineCount());
  }
  if (written != StoreStatus::kOk) {
    file.discard();
    return toEngineCode(fromStore(written));
  }
  if (!file.commit()) return toEngineCode(Status::kWriteFailed);

  int64_t time = 0;
  if (fileio::modificationTime(target, time)) store_->setFileTime(time);
  state_ &= ~kStateNew;
  history_.takeSaveStamp();
  refreshHistoryState();
  if (saveAs) {
    fileName_ = target;
    untitledNumber_ = 0;
    notify(2035, 0, reinterpret_cast<intptr_t>(fileName_.c_str()));
    chooseSyntaxDefinition();
  }
  return 0;
}

bool Buffer::fileChanged() const {
  if (!named()) return false;
  int64_t time = 0;
  if (!fileio::modificationTime(fileName_, time)) return false;
  return time != store_->fileTime();
}

int32_t Buffer::reload(int32_t mode, const char* caption) {
  if (!named()) return 0;
  if (mode == 2) return fileChanged() ? 1 : 0;
  if (mode == 1 && !fileChanged()) return 0;
  if (!fileio::isFile(fileName_)) return ECD_ERR_NO_FILE;
  // The new text is read first: a failed or aborted read keeps the old text, its history and its state.
  std::unique_ptr<LineStore> fresh;
  Status s = loadFile(fileName_, caption, fresh);
  if (s != Status::kOk) return toEngineCode(s);

  lineBuf_ = LineBuffer{};
  run_ = TypingRun{};
  fresh->properties() = std::move(store_->properties());
  fresh->properties().truncate(fresh->lineCount());
  store_ = std::move(fresh);
  history_.attach(*store_);
  // The kept bits came with the old text; the block bits are the new text's.
  pendingRepaint_ = syntax::Repaint{};
  syntax::RecomputeBlockBits(*store_, syntax::DefinitionAt(syntaxDefinition_));
  // The new text is the file's: no history reaches back past it, and it is the saved state.
  history_.reset(readOnly() ? 0 : undoCapacity_);
  history_.takeSaveStamp();
  state_ &= ~kStateNew;
  // The old text's mark means nothing in the new one.
  mark_ = Mark();
  setMarkState(false);

  if (engine_.option(ECD_OPT_READ_ONLY_AS_READ_ONLY) && (!readOnly() || has(kStateFileReadOnly))) {
    if (fileio::isReadOnlyFile(fileName_)) {
      state_ |= kStateReadOnly | kStateFileReadOnly;
    } else {
      state_ &= ~(kStateReadOnly | kStateFileReadOnly);
    }
  }
  if (readOnly()) history_.reset(0);
  refreshHistoryState();
  notify(2045);
  return 100;
}

int32_t Buffer::property(int32_t id) const {
  switch (id) {
    case kPropInsertMode: return has(kStateInsert) ? 1 : 0;
    case kPropCompositeMode: return history_.groupOpen() ? 1 : 0;
    case kPropModified: return modified() ? 1 : 0;
    case kPropNew: return has(kStateNew) ? 1 : 0;
    case kPropLineCount: return lineCount();
    case kPropMaxLineLength: return kMaxLineLength;
    case kPropFileName: return named() ? 0 : ECD_ERR_UNNAMED;
    case kPropTabLength: return tabLength_;
    case kPropUndoPossible: return has(kStateUndoPossible) ? 1 : 0;
    case kPropRedoPossible: return has(kStateRedoPossible) ? 1 : 0;
    case kPropUntitledNumber: return named() ? ECD_ERR_FATAL : untitledNumber_;
    case kPropReadOnly: return readOnly() ? 1 : 0;
    case kPropLeftMargin: return leftMargin_;
    case kPropRightMargin: return rightMargin_;
    case kPropWordWrap: return wordWrap_ ? 1 : 0;
    case kPropFirstOffset: return firstOffset_;
    case kPropTabsAsSpaces: return has(kStateTabsAsSpaces) ? 1 : 0;
    case kPropUndoCapacity: return undoCapacity_;
    case kPropAutoMargin: return autoMargin_ ? 1 : 0;
    case kPropUnixLineEnds: return store_->unixLineEnds() ? 1 : 0;
    case kPropFileReadOnly: return has(kStateFileReadOnly) ? 1 : 0;
    default: return ECD_ERR_COMMAND_FAILED;
  }
}

int32_t Buffer::setProperty(int32_t id, intptr_t value) {
  const int32_t v = static_cast<int32_t>(value);
  switch (id) {
    case kPropInsertMode:
      flushLine();
      if (v) {
        state_ |= kStateInsert;
      } else {
        state_ &= ~kStateInsert;
      }
      return 0;
    case kPropModified:
      setModified(v == 0);
      return 0;
    case kPropNew:
      if (v) {
        state_ |= kStateNew;
      } else {
        state_ &= ~kStateNew;
      }
      return 0;
    case kPropFileName: return rename(reinterpret_cast<const char*>(value));
    case kPropTabLength: {
      // Outside 1 to 32 a tab length means nothing sensible for cells; it becomes 1, as at creation.
      const int32_t tab = (v >= 1 && v <= 32) ? v : 1;
      if (tab != tabLength_) {
        releaseLine();
        tabLength_ = tab;
        notify(2037);
        notify(2036);
      }
      return 0;
    }
    case kPropReadOnly:
      setReadOnly(v != 0);
      return 0;
    case kPropLeftMargin: leftMargin_ = v <= 0 ? 1 : std::min(v, kMaxLineLength); return 0;
    case kPropRightMargin: rightMargin_ = std::clamp(v, 1, kMaxLineLength); return 0;
    case kPropWordWrap: wordWrap_ = v != 0; return 0;
    case kPropFirstOffset: firstOffset_ = v; return 0;
    case kPropTabsAsSpaces: {
      const bool on = v != 0;
      if (on != has(kStateTabsAsSpaces)) {
        releaseLine();
        state_ ^= kStateTabsAsSpaces;
        notify(2038);
      }
      return 0;
    }
    case kPropUndoCapacity: {
      const int32_t capacity = limitUndoCapacity(v);
      if (capacity != undoCapacity_) {
        undoCapacity_ = capacity;
        if (!readOnly()) {
          releaseLine();
          const bool allocated = history_.reset(capacity);
          refreshHistoryState();
          if (!allocated) return ECD_ERR_MEMORY;
        }
      }
      return 0;
    }
    case kPropAutoMargin: autoMargin_ = v != 0; return 0;
    case kPropUnixLineEnds:
      return store_->setUnixLineEnds(v != 0) == StoreStatus::kOk ? 0 : ECD_ERR_COMMAND_FAILED;
    default: return ECD_ERR_COMMAND_FAILED;
  }
}

}  // namespace osk
