#include "engine/buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/ecd_api.h"
#include "engine/engine_context.h"
#include "engine/file_io.h"
#include "engine/store/text_loader.h"
#include "engine/store/text_writer.h"

namespace osk {

namespace {

// The gauge of one long operation: shown only when a caption is given and the owner supplied callbacks.
class Gauge {
 public:
  Gauge(const GaugeCallbacks& callbacks, const char* caption, int32_t count)
      : callbacks_(callbacks), shown_(caption != nullptr && callbacks.start != nullptr) {
    if (shown_) callbacks_.start(0, count, caption);
  }
  ~Gauge() {
    if (shown_ && callbacks_.end) callbacks_.end();
  }
  // True when the user asked to stop.
  bool step(int64_t value) {
    if (!shown_ || callbacks_.step == nullptr) return false;
    return callbacks_.step(static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX))) != 0;
  }

 private:
  GaugeCallbacks callbacks_;
  bool shown_;
};

}  // namespace

int32_t limitUndoCapacity(int32_t capacity) {
  if (capacity < 0) return 0;
  if (static_cast<int64_t>(capacity) * kUndoRecordBytes > kMaxUndoBytes) return kCappedUndoCapacity;
  return capacity;
}

Buffer::Buffer(Engine& engine) : engine_(engine), store_(std::make_unique<LineStore>()) {}

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
  if (engine_.noticeSender == nullptr) return;
  // A window may leave the list while it handles a notice: walk a copy, and skip windows that have gone.
  const std::vector<OskWindow> targets = windows_;
  for (OskWindow w : targets) {
    if (w == skip) continue;
    if (std::find(windows_.begin(), windows_.end(), w) == windows_.end()) continue;
    engine_.noticeSender(w, code, wParam, lParam);
  }
}

void Buffer::setModified(bool modified) {
  const bool was = this->modified();
  if (modified) {
    state_ |= kStateModified;
  } else {
    state_ &= ~kStateModified;
  }
  if (was != modified) notify(2030, modified ? 1 : 0);
}

void Buffer::finaliseHistory() {
  // The undo history itself arrives with the undo records; what stays true without them is that nothing is
  // possible to undo or redo afterwards.
  const bool hadUndo = has(kStateUndoPossible), hadRedo = has(kStateRedoPossible);
  state_ &= ~(kStateUndoPossible | kStateRedoPossible);
  opState_ = 0;
  if (hadUndo) notify(2042, 0);
  if (hadRedo) notify(2043, 0);
}

int32_t Buffer::finalise() {
  if (readOnly()) return ECD_ERR_READ_ONLY;
  finaliseHistory();
  return 0;
}

void Buffer::setReadOnly(bool on) {
  if (on) {
    finaliseHistory();
    state_ |= kStateReadOnly;
    state_ &= ~kStateFileReadOnly;
  } else {
    state_ &= ~(kStateReadOnly | kStateFileReadOnly);
  }
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
  if (mayFinalise && engine_.option(ECD_OPT_FINALISE_ON_SAVE)) finaliseHistory();

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
  setModified(false);
  if (saveAs) {
    fileName_ = target;
    untitledNumber_ = 0;
    notify(2035, 0, reinterpret_cast<intptr_t>(fileName_.c_str()));
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

  finaliseHistory();
  fresh->properties() = std::move(store_->properties());
  fresh->properties().truncate(fresh->lineCount());
  store_ = std::move(fresh);
  state_ &= ~(kStateMark | kStateModified | kStateNew);
  opState_ = 0;

  if (engine_.option(ECD_OPT_READ_ONLY_AS_READ_ONLY) && (!readOnly() || has(kStateFileReadOnly))) {
    if (fileio::isReadOnlyFile(fileName_)) {
      state_ |= kStateReadOnly | kStateFileReadOnly;
    } else {
      state_ &= ~(kStateReadOnly | kStateFileReadOnly);
    }
  }
  notify(2045);
  return 100;
}

int32_t Buffer::property(int32_t id) const {
  switch (id) {
    case kPropInsertMode: return has(kStateInsert) ? 1 : 0;
    case kPropCompositeMode: return (opState_ & 0x300) ? 1 : 0;
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
        state_ ^= kStateTabsAsSpaces;
        notify(2038);
      }
      return 0;
    }
    case kPropUndoCapacity: {
      const int32_t capacity = limitUndoCapacity(v);
      if (capacity != undoCapacity_) {
        if (!readOnly()) finaliseHistory();
        undoCapacity_ = capacity;
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
