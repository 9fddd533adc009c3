#include "engine/current_target.h"

#include <algorithm>

#include "engine/buffer.h"
#include "engine/editing.h"
#include "engine/editor_record.h"
#include "engine/engine_context.h"
#include "engine/lang/buffer_search.h"

namespace osk {

Target currentTarget() {
  Engine& e = Engine::instance();
  Target t;
  if (e.windowTarget) {
    // The window may have been destroyed since it was made current: its record is then no longer found.
    EditorRecord* r = e.currentRecord;
    if (r != nullptr && (e.recordOf == nullptr || e.recordOf(e.currentWindow) != r)) r = nullptr;
    if (r != nullptr && r->buffer != nullptr && e.find(toHandle(r->buffer)) != nullptr) {
      t.buffer = r->buffer;
      t.record = r;
    }
    return t;
  }
  if (e.currentBuffer != nullptr && e.find(toHandle(e.currentBuffer)) != nullptr) t.buffer = e.currentBuffer;
  return t;
}

TextPos insertionPoint(const Target& t) {
  if (t.record != nullptr) return t.record->caret();
  Engine& e = Engine::instance();
  const int32_t lines = t.buffer != nullptr ? t.buffer->lineCount() : 0;
  if (lines == 0) return {0, std::max(1, e.bufferColumn)};
  return {std::clamp(e.bufferLine, 1, lines), std::max(1, e.bufferColumn)};
}

void writeBack(const Target& t, TextPos at) {
  if (t.record != nullptr) {
    t.record->placeCaret(at.line, at.column);
    return;
  }
  Engine& e = Engine::instance();
  e.bufferLine = at.line;
  e.bufferColumn = at.column;
}

EditorRecord* currentRecord() {
  Engine& e = Engine::instance();
  EditorRecord* r = e.currentRecord;
  if (r == nullptr || e.recordOf == nullptr || e.recordOf(e.currentWindow) != r) return nullptr;
  return r;
}

bool makeWindowCurrent(OskWindow window) {
  Engine& e = Engine::instance();
  EditorRecord* r = window != nullptr && e.recordOf != nullptr ? e.recordOf(window) : nullptr;
  if (r == nullptr) {
    e.currentWindow = nullptr;
    e.currentRecord = nullptr;
    e.currentBuffer = nullptr;
    e.windowTarget = false;
    return false;
  }
  e.currentWindow = window;
  e.currentRecord = r;
  e.windowTarget = true;
  return true;
}

bool makeBufferCurrent(HEDBUFFER handle) {
  Engine& e = Engine::instance();
  Buffer* b = e.find(handle);
  if (b == nullptr) {
    makeWindowCurrent(nullptr);
    return false;
  }
  if (e.recordOf != nullptr) {
    for (OskWindow w : b->windows()) {
      if (e.recordOf(w) != nullptr) return makeWindowCurrent(w);
    }
  }
  e.currentWindow = nullptr;
  e.currentRecord = nullptr;
  e.currentBuffer = b;
  e.windowTarget = false;
  // The position of the last window that showed the buffer.
  const Buffer::SavedView& s = b->savedView;
  const bool marked = s.markType != 0 && b->mark().present();
  const int32_t line = marked ? s.line2 : s.line1;
  const int32_t cell = marked ? s.cell2 : s.cell1;
  if (b->lineCount() == 0) {
    e.bufferLine = 0;
    e.bufferColumn = 1;
  } else {
    e.bufferLine = std::clamp(line, 1, b->lineCount());
    e.bufferColumn = colFromCell(*b, e.bufferLine, std::max(cell, 1));
  }
  return true;
}

namespace {

bool gaugeProgress(void*, int32_t line) {
  const GaugeCallbacks& g = Engine::instance().gauge;
  return g.step != nullptr && g.step(line) != 0;
}

bool provideSearchTarget(SearchTarget& target, bool withProgress) {
  Target t = currentTarget();
  if (!t) return false;
  // The search reads the store: a typing run still held in the line buffer is closed first.
  t.buffer->flushLine();
  target.store = &t.buffer->store();
  target.tabLength = t.buffer->tabLength();
  target.progress = withProgress ? gaugeProgress : nullptr;
  target.progressContext = nullptr;
  return true;
}

}  // namespace

void installSearchTarget() { SetSearchTargetProvider(provideSearchTarget); }

}  // namespace osk
