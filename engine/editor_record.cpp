#include "engine/editor_record.h"

#include <algorithm>
#include <memory>

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine/editing.h"
#include "engine/engine_context.h"
#include "engine/lang/colouring.h"
#include "engine/lang/print_stream.h"
#include "engine/lang/syntax_data.h"
#include "engine/mark.h"
#include "engine/reflow.h"

namespace osk {

namespace {

int32_t lineCountOf(const Buffer* b) { return b != nullptr ? b->lineCount() : 0; }

}  // namespace

void EditorRecord::syncView() {
  int32_t w = 0, h = 0;
  clientSize(w, h);
  view.setClientSize(w, h);
  view.setLineCount(lineCountOf(buffer));
  view.setShowLineNumbers(Engine::instance().option(ECD_OPT_SHOW_LINE_NUMBERS));
  view.setItalic((flags & kEdItalic) != 0);
}

int32_t EditorRecord::placeCaret(int32_t line, int32_t column) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  const int32_t lines = buffer->lineCount();
  int32_t result = 0;
  bool lineClamped = false, columnClamped = false;
  if (lines == 0) {
    lineClamped = line != 1;
    columnClamped = column < 1 || column > kMaxCells;
    if (lineClamped) result = ECD_ERR_RANGE_SNAP;
    caretLine = 0;
    caretColumn = 1;
    caretCell = 1;
  } else {
    if (line < 1 || line > lines) {
      lineClamped = true;
      result = ECD_ERR_RANGE_SNAP;
      line = std::clamp(line, 1, lines);
    }
    if (column < 1 || column > kMaxCells) {
      columnClamped = true;
      column = std::clamp(column, 1, kMaxCells);
    }
    caretLine = line;
    caretColumn = column;
    caretCell = std::min(cellFromCol(*buffer, line, column), kMaxCells);
  }
  if (columnClamped) notifyOwner(ECDN_COLUMN_CLAMPED, 0, 0);
  if (lineClamped) notifyOwner(ECDN_LINE_CLAMPED, 0, 0);
  showCaret();
  return result;
}

int32_t EditorRecord::placeCaretAtCell(int32_t line, int32_t cell) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  const int32_t l = std::clamp(line, 1, std::max(1, buffer->lineCount()));
  return placeCaret(line, colFromCell(*buffer, l, std::max(cell, 1)));
}

void EditorRecord::positionCaret() {
  syncView();
  int32_t x = kCaretHidden, y = kCaretHidden;
  if (caretLine > 0) {
    view.caretPoint(caretLine, caretCell, x, y);
  } else if (buffer != nullptr) {
    view.caretPoint(1, 1, x, y);
  }
  moveCaret(x, y);
}

void EditorRecord::showCaret() {
  positionCaret();
  flags &= ~kEdCaretPending;
  int32_t report[2] = {caretLine, caretCell};
  notifyOwner(ECDN_CARET, reinterpret_cast<uintptr_t>(window_), reinterpret_cast<intptr_t>(report));
}

void EditorRecord::setInsertMode(bool on) {
  if (on) {
    flags |= kEdInsert;
  } else {
    flags &= ~kEdInsert;
  }
  if (focused()) caretShapeChanged();
}

void EditorRecord::scrollTo(int32_t topLine, int32_t leftCell, bool quiet) {
  syncView();
  const int32_t oldTop = view.topLine(), oldLeft = view.leftCell();
  const int32_t top = std::clamp(topLine, 1, std::max(1, view.lineCount()));
  const int32_t left = std::clamp(leftCell, 1, kMaxCells);
  if (top == oldTop && left == oldLeft) return;
  bool moved = false;
  if (Engine::instance().option(ECD_OPT_DC_SCROLLING) && (flags & kEdRedraw) && view.canMoveContents(top, left)) {
    const int32_t oldOrigin = view.textOrigin();
    view.setPosition(top, left);
    // The gutter shows only at cell 1: the text moves by its width too when it comes or goes.
    const int32_t dx = (oldLeft - left) * view.cellWidth() + view.textOrigin() - oldOrigin;
    const int32_t dy = (oldTop - top) * view.lineHeight();
    moved = moveContents(dx, dy);
    if (!moved) view.setPosition(oldTop, oldLeft);
  }
  if (!moved) {
    view.setPosition(top, left);
    invalidate(nullptr);
  }
  flags |= kEdHScrollChanged;
  refreshScrollBars();
  notifyOwner(ECDN_SCROLLED, static_cast<uintptr_t>(view.leftCell()), view.topLine());
  showCaret();
  if (!quiet) announceScroll();
}

void EditorRecord::announceScroll() {
  if (buffer == nullptr) return;
  if (flags & kEdHSync) buffer->notify(ECDB_HSYNC, static_cast<uintptr_t>(hGroup), view.leftCell(), window_);
  if (flags & kEdVSync) buffer->notify(ECDB_VSYNC, static_cast<uintptr_t>(vGroup), view.topLine(), window_);
}

void EditorRecord::scrollCaretIntoView() {
  if (buffer == nullptr) return;
  syncView();
  int32_t top = 1, left = 1;
  view.caretIntoView(caretLine, caretCell, top, left);
  scrollTo(top, left);
}

void EditorRecord::detach() {
  if (buffer == nullptr) return;
  Buffer::SavedView& s = buffer->savedView;
  const Mark& m = buffer->mark();
  s.topLine = view.topLine();
  s.leftCell = view.leftCell();
  s.markType = m.type;
  if (m.present()) {
    s.line1 = m.anchor.line;
    s.cell1 = m.anchor.cell;
    s.line2 = m.update.line;
    s.cell2 = m.update.cell;
  } else {
    s.line1 = caretLine;
    s.cell1 = caretCell;
    s.line2 = 0;
    s.cell2 = 1;
  }
  buffer->removeWindow(window_);
  buffer = nullptr;
  caretLine = 0;
  caretColumn = caretCell = 1;
}

void EditorRecord::attach(Buffer* b, uint32_t viewFlags) {
  detach();
  buffer = b;
  flags |= kEdRedraw;
  flags &= ~(kEdVScroll | kEdHScroll);
  if (viewFlags & ECD_OPEN_VSCROLL) flags |= kEdVScroll;
  if (viewFlags & ECD_OPEN_HSCROLL) flags |= kEdHScroll;
  syncView();
  view.setPosition(1, 1);
  if (b != nullptr) {
    tabLength = b->tabLength();
    if (b->has(kStateInsert)) {
      flags |= kEdInsert;
    } else {
      flags &= ~kEdInsert;
    }
    const Buffer::SavedView& s = b->savedView;
    view.setPosition(s.topLine, s.leftCell);
    // With a mark the caret stands at its moving end.
    const int32_t line = s.markType != 0 && b->mark().present() ? s.line2 : s.line1;
    const int32_t cell = s.markType != 0 && b->mark().present() ? s.cell2 : s.cell1;
    if (b->lineCount() == 0) {
      caretLine = 0;
      caretColumn = caretCell = 1;
    } else {
      const int32_t l = std::clamp(line, 1, b->lineCount());
      caretLine = l;
      caretColumn = colFromCell(*b, l, std::max(cell, 1));
      caretCell = std::min(cellFromCol(*b, l, caretColumn), kMaxCells);
    }
  }
  int32_t report[2] = {caretLine, caretCell};
  notifyOwner(ECDN_CARET, 0, reinterpret_cast<intptr_t>(report));
  notifyOwner(ECDN_NAME, reinterpret_cast<uintptr_t>(window_), 0);
  refreshScrollBars();
  invalidate(nullptr);
  if (b != nullptr) {
    b->addWindow(window_);
    if (focused()) {
      caretShapeChanged();
      showCaret();
    }
  }
}

void EditorRecord::focusGained() {
  if (buffer == nullptr) return;
  if (caretLine > buffer->lineCount()) caretLine = buffer->lineCount();
  if (caretLine > 0) caretCell = std::min(cellFromCol(*buffer, caretLine, caretColumn), kMaxCells);
  const Mark& m = buffer->mark();
  const bool drop = (m.type == kMarkLine && m.update.line != caretLine) ||
                    (m.type == kMarkColumn && (m.update.line != caretLine || m.update.cell != caretCell));
  if (drop) unMark(*buffer);
}

void EditorRecord::invalidateRange(int32_t firstLine, int32_t firstCell, int32_t lastLine, int32_t lastCell) {
  syncView();
  const int64_t top = std::clamp<int64_t>(static_cast<int64_t>(firstLine - view.topLine()) * view.lineHeight(), 0, 30000);
  const int64_t bottom =
      std::clamp<int64_t>(static_cast<int64_t>(lastLine - view.topLine() + 1) * view.lineHeight(), 0, 30000);
  if (bottom <= top) return;
  PixelRect r;
  r.top = static_cast<int32_t>(top);
  r.bottom = static_cast<int32_t>(bottom);
  int32_t w = 0, h = 0;
  clientSize(w, h);
  if (firstCell <= 0 || lastCell <= 0) {
    r.left = 0;
    r.right = w;
  } else {
    r.left = std::max(0, view.cellRect(firstLine, std::min(firstCell, lastCell)).left - 4);
    r.right = std::min<int32_t>(w, view.cellRect(firstLine, std::max(firstCell, lastCell)).right + 4);
    if (r.right <= r.left) return;
  }
  invalidate(&r);
}

void EditorRecord::invalidateLinesFrom(int32_t line) {
  syncView();
  int32_t w = 0, h = 0;
  clientSize(w, h);
  PixelRect r;
  r.top = std::clamp<int32_t>(static_cast<int32_t>(std::clamp<int64_t>(
                                  static_cast<int64_t>(line - view.topLine()) * view.lineHeight(), 0, 30000)),
                              0, std::max(0, h));
  r.right = w;
  r.bottom = h;
  if (r.bottom > r.top) invalidate(&r);
}

void EditorRecord::linesInserted(int32_t after, int32_t count) {
  if (caretLine > after) {
    caretLine += count;
  } else if (caretLine == 0 && buffer->lineCount() > 0) {
    caretLine = 1;
    caretColumn = caretCell = 1;
  }
  syncView();
  view.setPosition(view.topLine(), view.leftCell());
  flags |= kEdVScrollChanged;
  refreshScrollBars();
  invalidateLinesFrom(after + 1);
  showCaret();
}

void EditorRecord::linesDeleted(int32_t first, int32_t count) {
  if (caretLine >= first + count) {
    caretLine -= count;
  } else if (caretLine >= first) {
    caretLine = std::max(1, first - 1);
    if (buffer->lineCount() == 0) caretLine = 0;
    // The caret keeps its cell on the line it lands on.
    if (caretLine > 0) caretColumn = colFromCell(*buffer, caretLine, caretCell);
  }
  if (caretLine > buffer->lineCount()) caretLine = buffer->lineCount();
  if (caretLine == 0) caretColumn = caretCell = 1;
  syncView();
  view.setPosition(view.topLine(), view.leftCell());
  flags |= kEdVScrollChanged;
  refreshScrollBars();
  invalidateLinesFrom(first);
  showCaret();
}

bool EditorRecord::serveNotice(uint32_t code, uintptr_t wParam, intptr_t lParam) {
  const auto self = reinterpret_cast<uintptr_t>(window_);
  switch (code) {
    case ECDB_CLOSING:
      // The buffer is going: nothing of it may be kept, not even its saved view.
      if (buffer != nullptr) buffer->removeWindow(window_);
      buffer = nullptr;
      caretLine = 0;
      caretColumn = caretCell = 1;
      syncView();
      view.setPosition(1, 1);
      notifyOwner(ECDN_NAME, self, 0);
      refreshScrollBars();
      invalidate(nullptr);
      return true;
    case ECDB_MODIFIED: notifyOwner(ECDN_MODIFIED, self, wParam); return true;
    case ECDB_NAME: notifyOwner(ECDN_NAME, self, 0); return true;
    case ECDB_UNDO: notifyOwner(ECDN_UNDO, self, wParam); return true;
    case ECDB_REDO: notifyOwner(ECDN_REDO, self, wParam); return true;
    case ECDB_MARK: notifyOwner(ECDN_MARK, self, wParam); return true;
    case ECDB_READ_ONLY:
      notifyOwner(ECDN_MODIFIED, self, buffer != nullptr && buffer->modified() ? 1 : 0);
      return true;
    case ECDB_PAINT_NOW: paintNow(); return true;
    case ECDB_REPAINT_ALL: invalidate(nullptr); return true;
    default: break;
  }
  if (code < ECDB_CLOSING || code > ECDB_READ_ONLY) return false;
  if (buffer == nullptr) return true;
  switch (code) {
    case ECDB_LINES_DELETED:
      linesDeleted(static_cast<int32_t>(lParam), static_cast<int32_t>(wParam));
      return true;
    case ECDB_LINES_INSERTED:
      linesInserted(static_cast<int32_t>(lParam), static_cast<int32_t>(wParam));
      return true;
    case ECDB_REPAINT_LINES: {
      const int32_t first = static_cast<int32_t>(lParam);
      invalidateRange(first, 0, first + static_cast<int32_t>(wParam) - 1, 0);
      return true;
    }
    case ECDB_REPAINT_LINE_FROM: {
      syncView();
      const int32_t line = static_cast<int32_t>(lParam), column = static_cast<int32_t>(wParam);
      if (line < view.topLine() || line > view.topLine() + view.visibleLines()) return true;
      const int32_t cell = column <= 0 ? 0 : std::max(view.leftCell(), cellFromCol(*buffer, line, column));
      PixelRect r = view.lineFromCell(line, cell);
      invalidate(&r);
      return true;
    }
    case ECDB_INVALIDATE_RANGE: {
      const auto* range = reinterpret_cast<const CellRange*>(lParam);
      if (range != nullptr) invalidateRange(range->firstLine, range->firstCell, range->lastLine, range->lastCell);
      return true;
    }
    case ECDB_TAB_LENGTH:
    case ECDB_TABS_AS_SPACES:
      tabLength = buffer->tabLength();
      if (caretLine > 0) caretCell = std::min(cellFromCol(*buffer, caretLine, caretColumn), kMaxCells);
      showCaret();
      return true;
    case ECDB_HSYNC:
      if (static_cast<int32_t>(wParam) == hGroup) scrollTo(view.topLine(), static_cast<int32_t>(lParam), true);
      return true;
    case ECDB_VSYNC:
      if (static_cast<int32_t>(wParam) == vGroup) scrollTo(static_cast<int32_t>(lParam), view.leftCell(), true);
      return true;
    case ECDB_RELOADED: {
      caretLine = buffer->lineCount() > 0 ? 1 : 0;
      caretColumn = caretCell = 1;
      syncView();
      view.setPosition(1, 1);
      showCaret();
      notifyOwner(ECDN_NAME, self, 0);
      refreshScrollBars();
      invalidate(nullptr);
      return true;
    }
    default: return true;
  }
}

void EditorRecord::placeAfterUndo(const UndoPlace& place) {
  if (place.markType != 0 && buffer->lineCount() > 0) {
    anchorMark(*buffer, static_cast<int32_t>(place.markType), place.caret.line, place.caret.column);
    const TextPos at = updateMark(*buffer, place.update.line, place.update.column);
    placeCaret(at.line, at.column);
  } else {
    placeCaret(place.caret.line, place.caret.column);
  }
}

int32_t EditorRecord::undo(const char* caption) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  TextPos at = caret();
  UndoPlace place;
  const Status s = buffer->undo(at, caption, &place);
  if (s != Status::kOk) return toEngineCode(s);
  place.caret = at;
  placeAfterUndo(place);
  return 0;
}

int32_t EditorRecord::redo(const char* caption) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  TextPos at = caret();
  UndoPlace place;
  const Status s = buffer->redo(at, caption, &place);
  if (s != Status::kOk) return toEngineCode(s);
  place.caret = at;
  placeAfterUndo(place);
  return 0;
}

int32_t EditorRecord::reflow(const char* caption) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  if (buffer->readOnly()) return ECD_ERR_READ_ONLY;
  TextPos at = caret();
  const Status s = reflowParagraph(*buffer, at, caption);
  placeCaret(at.line, at.column);
  return toEngineCode(s);
}

int32_t EditorRecord::chooseLine(uintptr_t which) const {
  if (which == 0) return buffer->lineCount();
  if (which == 1) return 1;
  return caretLine;
}

int32_t EditorRecord::insertLineAt(uintptr_t which, const char* text) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  // 0: after the last line; 1: before the first; other: after the caret line.
  const int32_t after = which == 1 ? 0 : chooseLine(which);
  TextPos at = caret();
  const Status s = insertLine(*buffer, after, text, at);
  if (s == Status::kOk) placeCaret(std::max(at.line, 1), at.column);
  return toEngineCode(s);
}

int32_t EditorRecord::deleteLineAt(uintptr_t which) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  if (buffer->lineCount() == 0) return ECD_ERR_EMPTY_BUFFER;
  TextPos at = caret();
  const Status s = deleteLines(*buffer, chooseLine(which), 1, at);
  return toEngineCode(s);
}

int32_t EditorRecord::replaceLineAt(uintptr_t which, const char* text) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  if (buffer->lineCount() == 0) return ECD_ERR_EMPTY_BUFFER;
  const Status s = replaceLine(*buffer, chooseLine(which), text);
  if (s == Status::kOk && caretLine > 0) caretCell = std::min(cellFromCol(*buffer, caretLine, caretColumn), kMaxCells);
  return toEngineCode(s);
}

int32_t EditorRecord::deliverChar(int32_t code, int32_t value, int32_t modifiers) {
  Engine& e = Engine::instance();
  if (e.eventCallback == nullptr) return 0;
  EcdEventRecord event{};
  event.kind = ECD_EVENT_CHAR;
  event.code = code & 0xFF;
  event.value = value;
  event.modifiers = modifiers;
  TargetScope scope(this);
  return e.eventCallback(&event);
}

int32_t EditorRecord::typeString(const char* text) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  if (buffer->readOnly()) return ECD_ERR_READ_ONLY;
  if (text == nullptr) return 0;
  for (const char* p = text; *p != '\0'; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    if (c == '\r') continue;
    if (c == '\n') {
      deliverChar(13, 10, 0);
    } else {
      deliverChar(c, static_cast<signed char>(c), 0);
    }
    if (buffer == nullptr) break;   // the callback closed the buffer
  }
  return 0;
}

EditorRecord::SavedState EditorRecord::saveState() const {
  SavedState s;
  s.caretLine = caretLine;
  s.caretCell = caretCell;
  if (buffer != nullptr && buffer->mark().present()) {
    const Mark& m = buffer->mark();
    s.markType = m.type;
    s.line1 = m.anchor.line;
    s.cell1 = m.anchor.cell;
    s.line2 = m.update.line;
    s.cell2 = m.update.cell;
  }
  return s;
}

void EditorRecord::restoreState(const SavedState& s) {
  if (buffer == nullptr || buffer->lineCount() == 0) return;
  const int32_t lines = buffer->lineCount();
  const auto column = [&](int32_t line, int32_t cell) {
    return colFromCell(*buffer, std::clamp(line, 1, lines), std::max(cell, 1));
  };
  if (s.markType != 0) {
    anchorMark(*buffer, s.markType, s.line1, column(s.line1, s.cell1));
    updateMark(*buffer, s.line2, column(s.line2, s.cell2));
  }
  const int32_t line = std::clamp(s.caretLine, 1, lines);
  placeCaret(line, column(line, s.caretCell));
}

int32_t EditorRecord::printStream(const void* request) {
  if (buffer == nullptr) return ECD_ERR_NO_BUFFER;
  const auto* r = static_cast<const print::PrintRequest*>(request);
  if (r == nullptr || r->fileName == nullptr) return ECD_ERR_PARAMETER;
  // The stream reads the store: a typing run still in the line buffer is closed first.
  buffer->flushLine();
  print::PrintRange range;
  if (r->selectionOnly != 0 && checkMark(*buffer)) {
    const Mark& m = buffer->mark();
    range.kind = static_cast<print::RangeKind>(m.type);
    if (m.type == kMarkColumn) {
      range.startLine = std::min(m.anchor.line, m.update.line);
      range.endLine = std::max(m.anchor.line, m.update.line);
      range.startCell = std::min(m.anchor.cell, m.update.cell);
      range.endCell = std::max(m.anchor.cell, m.update.cell);
    } else {
      range.startLine = m.first().line;
      range.startCell = m.first().cell;
      range.endLine = m.last().line;
      range.endCell = m.last().cell;
    }
  }
  print::PrintOptions options;
  options.tabLength = buffer->tabLength();
  options.tabsAsSpaces = buffer->has(kStateTabsAsSpaces);
  const syntax::DecodedDefinition* definition =
      buffer->option(ECD_OPT_SYNTAX_HIGHLIGHT) ? syntax::DefinitionAt(buffer->syntaxDefinition()) : nullptr;
  if (definition != nullptr) {
    options.colourSyntax = true;
    Buffer* b = buffer;
    const int32_t tab = options.tabsAsSpaces ? 0 : options.tabLength;
    // Lines are printed in order: the colourer carries the block state from one to the next.
    auto colourer = std::make_shared<syntax::LineColourer>(b->store(), definition, tab);
    options.colours = [b, colourer](int32_t line, std::string_view cells, std::vector<print::ColourSpan>& out) {
      if (line < 1 || line > b->store().lineCount()) return;
      const int32_t last = std::clamp<int32_t>(static_cast<int32_t>(cells.size()), 1, kMaxLineLength);
      colourer->colour(line, b->store().peekLine(line), 1, last);
      for (const syntax::ColourRun& run : colourer->runs()) {
        if (run.kind == syntax::RunKind::kSyntax) out.push_back({run.firstCell, run.length, run.colour});
      }
    };
  }
  options.gauge = Engine::instance().gauge;
  options.caption = r->caption;
  return print::writePrintStreamFile(buffer->store(), range, options, r->fileName);
}

void EditorRecord::copyViewOf(const EditorRecord& other) {
  if (buffer == nullptr) return;
  placeCaret(other.caretLine, other.caretColumn);
  scrollTo(other.view.topLine(), other.view.leftCell());
}

TargetScope::TargetScope(EditorRecord* record) {
  Engine& e = Engine::instance();
  window_ = e.currentWindow;
  record_ = e.currentRecord;
  buffer_ = e.currentBuffer;
  line_ = e.bufferLine;
  column_ = e.bufferColumn;
  windowTarget_ = e.windowTarget;
  e.currentWindow = record != nullptr ? record->window() : nullptr;
  e.currentRecord = record;
  e.windowTarget = record != nullptr && record->buffer != nullptr;
}

TargetScope::~TargetScope() {
  Engine& e = Engine::instance();
  // A window destroyed meanwhile no longer has its record: its target is gone.
  const bool live = record_ == nullptr || (e.recordOf != nullptr && e.recordOf(window_) == record_);
  e.currentWindow = live ? window_ : nullptr;
  e.currentRecord = live ? record_ : nullptr;
  // A buffer closed meanwhile must not come back as the target.
  bool alive = false;
  for (Buffer* b : e.buffers()) alive = alive || b == buffer_;
  e.currentBuffer = alive ? buffer_ : nullptr;
  e.bufferLine = line_;
  e.bufferColumn = column_;
  e.windowTarget = live && windowTarget_ && record_ != nullptr && record_->buffer != nullptr;
}

}  // namespace osk
