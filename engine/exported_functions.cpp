// The plain-named functions: each reads the current target, acts through the buffer's primitives, and writes the
// moved insertion point back.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/buffer.h"
#include "engine/current_target.h"
#include "engine/edit_api.h"
#include "engine/editing.h"
#include "engine/editor_record.h"
#include "engine/engine_context.h"
#include "engine/file_io.h"
#include "engine/mark.h"
#include "engine/reflow.h"
#include "engine/tabs.h"

using osk::Buffer;
using osk::Engine;
using osk::Status;
using osk::Target;
using osk::TextPos;

namespace {

int32_t ok(bool yes) { return yes ? 1 : 0; }
int32_t ok(Status s) { return s == Status::kOk ? 1 : 0; }

// Reads the insertion point, runs `edit` on it, and writes it back when the edit succeeded.
template <typename Edit>
int32_t editAt(Edit edit) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  TextPos at = osk::insertionPoint(t);
  const Status s = edit(*t.buffer, at);
  if (s != Status::kOk) return 0;
  osk::writeBack(t, at);
  return 1;
}

// Runs a whole-line change; the insertion point follows the text.
template <typename Edit>
int32_t lineEdit(Edit edit) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  TextPos at = osk::insertionPoint(t);
  const Status s = edit(*t.buffer, at);
  if (s != Status::kOk) return 0;
  if (t.record == nullptr) osk::writeBack(t, at);
  return 1;
}

int32_t getProperty(int32_t id) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  return std::max(0, t.buffer->property(id));
}

int32_t setProperty(int32_t id, intptr_t value) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  return ok(t.buffer->setProperty(id, value) == 0);
}

void copyOut(char* destination, const std::string& text, std::size_t room) {
  const std::size_t n = std::min(text.size(), room - 1);
  std::memcpy(destination, text.data(), n);
  destination[n] = '\0';
}

void put(int32_t* out, int32_t value) {
  if (out != nullptr) *out = value;
}

// Moves a window's caret after a mark change, or the buffer position of a buffer target.
void caretTo(const Target& t, TextPos at) {
  if (t.record != nullptr) {
    t.record->placeCaret(at.line, at.column);
  } else {
    Engine::instance().bufferLine = at.line;
    Engine::instance().bufferColumn = at.column;
  }
}

}  // namespace

extern "C" {

// Current target and buffers.

int32_t OSK_CALL SetCurEdWindow(OskWindow window) { return ok(osk::makeWindowCurrent(window)); }

OskWindow OSK_CALL GetCurEdWindow(void) {
  return osk::currentRecord() != nullptr ? Engine::instance().currentWindow : nullptr;
}

int32_t OSK_CALL SetCurBuffer(HEDBUFFER buffer) { return ok(osk::makeBufferCurrent(buffer)); }

HEDBUFFER OSK_CALL GetCurBuffer(void) {
  Target t = osk::currentTarget();
  return t ? osk::toHandle(t.buffer) : nullptr;
}

HEDBUFFER OSK_CALL EnumBuffers(HEDBUFFER after) {
  const auto& list = Engine::instance().buffers();
  if (after == nullptr) return list.empty() ? nullptr : osk::toHandle(list.front());
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (osk::toHandle(list[i]) == after) return osk::toHandle(list[i + 1]);
  }
  return nullptr;
}

HEDBUFFER OSK_CALL GetBufferFromName(const char* name) {
  if (name == nullptr) return nullptr;
  if (*name == '*') ++name;
  const std::string wanted(name);
  Engine& e = Engine::instance();
  static const std::string kUntitled = "Untitled: ";
  // Untitled names hold the untitled number after the prefix; one digit or more are accepted.
  if (wanted.size() > kUntitled.size() && wanted.size() < 24 && wanted.compare(0, kUntitled.size(), kUntitled) == 0 &&
      wanted.find_first_not_of("0123456789", kUntitled.size()) == std::string::npos) {
    const long number = std::strtol(wanted.c_str() + kUntitled.size(), nullptr, 10);
    for (Buffer* b : e.buffers()) {
      if (!b->named() && b->untitledNumber() == number) return osk::toHandle(b);
    }
    return nullptr;
  }
  for (Buffer* b : e.buffers()) {
    if (b->named() && osk::fileio::sameName(b->fileName(), wanted)) return osk::toHandle(b);
  }
  return nullptr;
}

int32_t OSK_CALL GetFileName(char* destination) {
  Target t = osk::currentTarget();
  if (!t || destination == nullptr) return 0;
  copyOut(destination, t.buffer->displayName(), 261);
  return ok(t.buffer->named());
}

int32_t OSK_CALL GetModifiedName(char* destination) {
  Target t = osk::currentTarget();
  if (!t || destination == nullptr) return 0;
  // The destination holds 261 bytes like GetFileName's: a 260-character name loses its last character to the star.
  copyOut(destination, (t.buffer->modified() ? "*" : "") + t.buffer->displayName(), 261);
  return ok(t.buffer->named());
}

int32_t OSK_CALL SetFileName(const char* name) { return setProperty(osk::kPropFileName, reinterpret_cast<intptr_t>(name)); }

// Editing.

int32_t OSK_CALL WriteChar(int32_t character) {
  return editAt([&](Buffer& b, TextPos& at) { return osk::writeChar(b, character, at); });
}

int32_t OSK_CALL WriteString(const char* text) {
  if (text == nullptr) return ok(static_cast<bool>(osk::currentTarget()));
  return editAt([&](Buffer& b, TextPos& at) { return osk::writeString(b, text, at); });
}

int32_t OSK_CALL NewLine(void) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  TextPos at = osk::insertionPoint(t);
  if (t.buffer->lineCount() == 0) {
    // An empty buffer only gets its first line.
    if (t.buffer->readOnly()) return 0;
    TextPos first{1, 1};
    if (osk::insertLine(*t.buffer, 0, nullptr, first) == Status::kOk) osk::writeBack(t, TextPos{1, 1});
    return 0;
  }
  const Status s = osk::newLine(*t.buffer, at);
  if (s != Status::kOk) return 0;
  osk::writeBack(t, at);
  return 1;
}

int32_t OSK_CALL DeleteChar(void) {
  return editAt([](Buffer& b, TextPos& at) { return osk::deleteChar(b, at); });
}

int32_t OSK_CALL BackSpaceChar(void) {
  return editAt([](Buffer& b, TextPos& at) { return osk::backspace(b, at); });
}

int32_t OSK_CALL InsertLine(int32_t after, const char* text) {
  return lineEdit([&](Buffer& b, TextPos& at) { return osk::insertLine(b, after, text, at); });
}

int32_t OSK_CALL ReplaceLine(int32_t line, const char* text) {
  return lineEdit([&](Buffer& b, TextPos&) { return osk::replaceLine(b, line, text); });
}

int32_t OSK_CALL DeleteLine(int32_t line) {
  return lineEdit([&](Buffer& b, TextPos& at) { return osk::deleteLines(b, line, 1, at); });
}

int32_t OSK_CALL DeleteLines(int32_t first, int32_t count) {
  return lineEdit([&](Buffer& b, TextPos& at) { return osk::deleteLines(b, first, count, at); });
}

int32_t OSK_CALL JoinLine(int32_t line) {
  return lineEdit([&](Buffer& b, TextPos&) { return osk::joinLine(b, line); });
}

int32_t OSK_CALL Reflow(const char* caption) {
  return editAt([&](Buffer& b, TextPos& at) { return osk::reflowParagraph(b, at, caption); });
}

int32_t OSK_CALL GetLine(int32_t line, char* destination) {
  Target t = osk::currentTarget();
  if (!t || destination == nullptr || line < 1 || line > t.buffer->lineCount()) return 0;
  copyOut(destination, osk::getLine(*t.buffer, line), 1025);
  return 1;
}

int32_t OSK_CALL GetExpandedLine(int32_t line, char* destination) {
  Target t = osk::currentTarget();
  if (!t || destination == nullptr || line < 1 || line > t.buffer->lineCount()) return 0;
  copyOut(destination, osk::getExpandedLine(*t.buffer, line), 1025);
  return 1;
}

int32_t OSK_CALL GetLineLen(int32_t line) {
  Target t = osk::currentTarget();
  if (!t || line < 1 || line > t.buffer->lineCount()) return 0;
  return osk::lineLength(*t.buffer, line);
}

int32_t OSK_CALL GetLineCount(void) {
  Target t = osk::currentTarget();
  return t ? t.buffer->lineCount() : 0;
}

int32_t OSK_CALL GetMaxLineLen(void) { return osk::currentTarget() ? osk::kMaxLineCells : 0; }

// Undo.

}  // extern "C"

namespace {

osk::UndoPlace placeOf(const Target& t) {
  osk::UndoPlace place(osk::insertionPoint(t));
  const osk::Mark& m = t.buffer->mark();
  if (m.present() && !m.empty()) {
    place.markType = static_cast<uint32_t>(m.type);
    place.caret = {m.anchor.line, m.anchor.column};
    place.update = {m.update.line, m.update.column};
  }
  return place;
}

int32_t undoRedo(bool redo, const char* caption) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record != nullptr) return ok((redo ? t.record->redo(caption) : t.record->undo(caption)) == 0);
  TextPos at = osk::insertionPoint(t);
  osk::UndoPlace place;
  const Status s = redo ? t.buffer->redo(at, caption, &place) : t.buffer->undo(at, caption, &place);
  if (s != Status::kOk) return 0;
  if (place.markType != 0 && t.buffer->lineCount() > 0) {
    // The mark of the group's start (end) comes back too; the position stands at its moving end.
    osk::anchorMark(*t.buffer, static_cast<int32_t>(place.markType), place.caret.line, place.caret.column);
    at = osk::updateMark(*t.buffer, place.update.line, place.update.column);
  }
  osk::writeBack(t, at);
  return 1;
}

}  // namespace

extern "C" {

int32_t OSK_CALL StartOp(void) {
  Target t = osk::currentTarget();
  return t ? ok(t.buffer->startOp(placeOf(t))) : 0;
}

int32_t OSK_CALL EndOp(void) {
  Target t = osk::currentTarget();
  return t ? ok(t.buffer->endOp(placeOf(t))) : 0;
}

int32_t OSK_CALL UndoOp(const char* caption) { return undoRedo(false, caption); }
int32_t OSK_CALL RedoOp(const char* caption) { return undoRedo(true, caption); }

int32_t OSK_CALL FinaliseOps(void) {
  Target t = osk::currentTarget();
  return t ? ok(t.buffer->finalise() == 0) : 0;
}

int32_t OSK_CALL IsUndoable(void) { return getProperty(osk::kPropUndoPossible); }
int32_t OSK_CALL IsRedoable(void) { return getProperty(osk::kPropRedoPossible); }
int32_t OSK_CALL GetNumUndoRecords(void) { return getProperty(osk::kPropUndoCapacity); }

// Buffer settings.

int32_t OSK_CALL SetInsertMode(int32_t mode) {
  Target t = osk::currentTarget();
  if (!t || t.buffer->setProperty(osk::kPropInsertMode, mode != 0) != 0) return 0;
  if (t.record != nullptr) t.record->setInsertMode(mode != 0);
  return 1;
}

int32_t OSK_CALL GetInsertMode(void) { return getProperty(osk::kPropInsertMode); }
int32_t OSK_CALL GetCompMode(void) { return getProperty(osk::kPropCompositeMode); }
int32_t OSK_CALL SetModified(int32_t flag) { return setProperty(osk::kPropModified, flag); }
int32_t OSK_CALL GetModified(void) { return getProperty(osk::kPropModified); }
int32_t OSK_CALL SetTabLength(int32_t length) { return setProperty(osk::kPropTabLength, length); }
int32_t OSK_CALL GetTabLength(void) { return getProperty(osk::kPropTabLength); }
int32_t OSK_CALL SetTabsAsSpaces(int32_t flag) { return setProperty(osk::kPropTabsAsSpaces, flag); }
int32_t OSK_CALL GetTabsAsSpaces(void) { return getProperty(osk::kPropTabsAsSpaces); }
int32_t OSK_CALL SetFirstOffset(int32_t offset) { return setProperty(osk::kPropFirstOffset, offset); }
int32_t OSK_CALL GetFirstOffset(void) { return getProperty(osk::kPropFirstOffset); }
int32_t OSK_CALL SetLeftMargin(int32_t margin) { return setProperty(osk::kPropLeftMargin, margin); }
int32_t OSK_CALL GetLeftMargin(void) { return getProperty(osk::kPropLeftMargin); }
int32_t OSK_CALL SetRightMargin(int32_t margin) { return setProperty(osk::kPropRightMargin, margin); }
int32_t OSK_CALL GetRightMargin(void) { return getProperty(osk::kPropRightMargin); }
int32_t OSK_CALL SetWordWrap(int32_t flag) { return setProperty(osk::kPropWordWrap, flag); }
int32_t OSK_CALL GetWordWrap(void) { return getProperty(osk::kPropWordWrap); }
int32_t OSK_CALL IsReadOnly(void) { return getProperty(osk::kPropReadOnly); }

// Marks and caret.

int32_t OSK_CALL AnchorMark(int32_t type, int32_t line, int32_t column) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  const TextPos at = osk::anchorMark(*t.buffer, type, line, column);
  if (t.buffer->lineCount() > 0) caretTo(t, at);
  return 1;
}

int32_t OSK_CALL UpdateMark(int32_t line, int32_t column) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  bool marked = false;
  const TextPos at = osk::updateMark(*t.buffer, line, column, &marked);
  if (!marked) return 0;
  caretTo(t, at);
  return 1;
}

int32_t OSK_CALL UnMark(void) {
  Target t = osk::currentTarget();
  if (t) osk::unMark(*t.buffer);
  return 0;
}

int32_t OSK_CALL QueryMark(void) {
  Target t = osk::currentTarget();
  return t ? ok(osk::checkMark(*t.buffer)) : 0;
}

int32_t OSK_CALL QueryMarkType(void) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  osk::checkMark(*t.buffer);
  return t.buffer->mark().type;
}

int32_t OSK_CALL QueryMarkStart(int32_t* line, int32_t* column) {
  Target t = osk::currentTarget();
  TextPos at;
  if (!t || !osk::markStart(*t.buffer, at)) return 0;
  put(line, at.line);
  put(column, at.column);
  return 1;
}

int32_t OSK_CALL QueryMarkEnd(int32_t* line, int32_t* column) {
  Target t = osk::currentTarget();
  TextPos at;
  if (!t || !osk::markEnd(*t.buffer, at)) return 0;
  put(line, at.line);
  put(column, at.column);
  return 1;
}

}  // extern "C"

namespace {

int32_t markEndOut(bool anchor, int32_t* line, int32_t* column) {
  put(line, 0);
  put(column, 0);
  Target t = osk::currentTarget();
  if (!t || !osk::checkMark(*t.buffer)) return 0;
  const osk::MarkEnd& e = anchor ? t.buffer->mark().anchor : t.buffer->mark().update;
  put(line, e.line);
  put(column, e.column);
  return 1;
}

}  // namespace

extern "C" {

int32_t OSK_CALL QueryMarkAnchor(int32_t* line, int32_t* column) { return markEndOut(true, line, column); }
int32_t OSK_CALL QueryMarkUpdate(int32_t* line, int32_t* column) { return markEndOut(false, line, column); }

int32_t OSK_CALL SetCaretCol(int32_t line, int32_t column) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record != nullptr) return ok(t.record->placeCaret(line, column) == 0);
  // A buffer target stores the position as given.
  Engine::instance().bufferLine = line;
  Engine::instance().bufferColumn = column;
  return 1;
}

int32_t OSK_CALL SetCaretCell(int32_t line, int32_t cell) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record != nullptr) return ok(t.record->placeCaretAtCell(line, cell) == 0);
  Engine& e = Engine::instance();
  const int32_t on = std::clamp(e.bufferLine, 1, std::max(1, t.buffer->lineCount()));
  e.bufferLine = line;
  e.bufferColumn = osk::colFromCell(*t.buffer, on, std::max(cell, 1));
  return 1;
}

int32_t OSK_CALL GetCaretCol(int32_t* line, int32_t* column) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  const TextPos at = t.record != nullptr ? t.record->caret()
                                         : TextPos{Engine::instance().bufferLine, Engine::instance().bufferColumn};
  put(line, at.line);
  put(column, at.column);
  return 1;
}

int32_t OSK_CALL StoreCaretState(EcdCaretState* state) {
  Target t = osk::currentTarget();
  if (!t || state == nullptr) return 0;
  *state = EcdCaretState{};
  if (osk::checkMark(*t.buffer)) {
    const osk::Mark& m = t.buffer->mark();
    *state = {m.type, m.anchor.line, m.update.line, m.anchor.cell, m.update.cell};
    return state->secondCell;
  }
  const TextPos at = osk::insertionPoint(t);
  state->firstLine = at.line;
  state->firstCell = t.record != nullptr ? t.record->caretCell : osk::cellFromCol(*t.buffer, at.line, at.column);
  return state->firstCell;
}

int32_t OSK_CALL RestoreCaretState(const EcdCaretState* state) {
  Target t = osk::currentTarget();
  if (!t || state == nullptr) return 0;
  Buffer& b = *t.buffer;
  const auto lineOf = [&](int32_t l) { return std::clamp(l, 1, std::max(1, b.lineCount())); };
  if (state->markType >= osk::kMarkStream && state->markType <= osk::kMarkColumn) {
    const int32_t a = osk::colFromCell(b, lineOf(state->firstLine), std::max(1, state->firstCell));
    const int32_t u = osk::colFromCell(b, lineOf(state->secondLine), std::max(1, state->secondCell));
    AnchorMark(state->markType, state->firstLine, a);
    return UpdateMark(state->secondLine, u);
  }
  return SetCaretCol(state->firstLine, osk::colFromCell(b, lineOf(state->firstLine), std::max(1, state->firstCell)));
}

// Line properties.

int32_t OSK_CALL SetLineProp(int32_t line, uint32_t bits) {
  Target t = osk::currentTarget();
  if (!t || line < 1 || line > t.buffer->lineCount()) return 0;
  const uint32_t before = t.buffer->store().properties().get(line);
  if (osk::changeLineBits(*t.buffer, line, bits, 0) != Status::kOk) return 0;
  return ok(t.buffer->store().properties().get(line) != before);
}

int32_t OSK_CALL ClearLineProp(int32_t line, uint32_t bits) {
  Target t = osk::currentTarget();
  if (!t || line < 1 || line > t.buffer->lineCount()) return 0;
  return ok(osk::changeLineBits(*t.buffer, line, 0, bits));
}

uint32_t OSK_CALL GetLineProp(int32_t line, uint32_t mask) {
  Target t = osk::currentTarget();
  if (!t || line < 1 || line > t.buffer->lineCount()) return 0;
  return t.buffer->store().properties().get(line, mask);
}

uint32_t OSK_CALL GetPrevLineWithProp(uint32_t mask, int32_t* line) {
  Target t = osk::currentTarget();
  if (!t || line == nullptr) return 0;
  uint32_t bits = 0;
  const int32_t found = t.buffer->store().properties().previous(*line, mask, &bits);
  if (found == 0) return 0;
  *line = found;
  return bits & mask;
}

uint32_t OSK_CALL GetNextLineWithProp(uint32_t mask, int32_t* line) {
  Target t = osk::currentTarget();
  if (!t || line == nullptr) return 0;
  uint32_t bits = 0;
  const int32_t found = t.buffer->store().properties().next(*line, mask, &bits);
  if (found == 0 || found > t.buffer->lineCount()) return 0;
  *line = found;
  return bits & mask;
}

// Tabs and cells.

int32_t OSK_CALL GetExpandedLen(const char* text) {
  Target t = osk::currentTarget();
  if (!t || text == nullptr) return 0;
  return osk::expandedWidth(text, t.buffer->tabLength());
}

int32_t OSK_CALL ExpandText(char* text) {
  Target t = osk::currentTarget();
  if (!t || text == nullptr) return 0;
  const std::string expanded = osk::expandTabs(text, t.buffer->tabLength());
  copyOut(text, expanded, 1025);
  return 1;
}

int32_t OSK_CALL TruncateText(char* text, int32_t cells) {
  Target t = osk::currentTarget();
  if (!t || text == nullptr) return 0;
  const int32_t n = osk::truncatedLength(text, std::max(0, cells), t.buffer->tabLength());
  text[n] = '\0';
  return n;
}

int32_t OSK_CALL ColFromCell(int32_t line, int32_t cell) {
  Target t = osk::currentTarget();
  return t ? osk::colFromCell(*t.buffer, line, cell) : 0;
}

int32_t OSK_CALL CellFromCol(int32_t line, int32_t column) {
  Target t = osk::currentTarget();
  return t ? osk::cellFromCol(*t.buffer, line, column) : 0;
}

// Files.

int32_t OSK_CALL SaveFile(const char* caption) {
  Target t = osk::currentTarget();
  return t ? ok(t.buffer->save(nullptr, caption, true) == 0) : 0;
}

int32_t OSK_CALL SaveAsFile(const char* name, const char* caption) {
  Target t = osk::currentTarget();
  if (!t || name == nullptr) return 0;
  return ok(t.buffer->save(name, caption, true) == 0);
}

// Window and display.

int32_t OSK_CALL GetEdWindowSize(int32_t* lines, int32_t* cells) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record == nullptr) {
    put(lines, 10);
    put(cells, 10);
    return 1;
  }
  t.record->syncView();
  put(lines, t.record->view.visibleLines());
  put(cells, t.record->view.visibleCells());
  return 1;
}

int32_t OSK_CALL GetEdWindowScroll(int32_t* topLine, int32_t* leftCell) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record == nullptr) {
    put(topLine, t.buffer->savedView.topLine);
    put(leftCell, t.buffer->savedView.leftCell);
    return 1;
  }
  put(topLine, t.record->view.topLine());
  put(leftCell, t.record->view.leftCell());
  return 1;
}

int32_t OSK_CALL SetEdWindowScroll(int32_t topLine, int32_t leftCell) {
  Target t = osk::currentTarget();
  if (!t) return 0;
  if (t.record == nullptr) {
    t.buffer->savedView.topLine = std::clamp(topLine, 1, std::max(1, t.buffer->lineCount()));
    t.buffer->savedView.leftCell = std::clamp(leftCell, 1, osk::kMaxCells);
    return 1;
  }
  t.record->scrollTo(topLine, leftCell);
  return 1;
}

int32_t OSK_CALL ScrollToView(void) {
  Target t = osk::currentTarget();
  if (!t || t.record == nullptr) return 0;
  t.record->scrollCaretIntoView();
  return 1;
}

int32_t OSK_CALL UpdateDisplay(void) {
  Target t = osk::currentTarget();
  if (!t || t.record == nullptr) return 0;
  t.record->paintNow();
  return 1;
}

int32_t OSK_CALL CharFromPos(int32_t x, int32_t y, int32_t clamp, int32_t* line, int32_t* cell, int32_t snap,
                             int32_t* where) {
  Target t = osk::currentTarget();
  if (!t || t.record == nullptr) return 0;
  t.record->syncView();
  const osk::HitResult hit = t.record->view.hitTest(x, y, clamp != 0, snap != 0, t.record->insertMode());
  if (!hit.ok) return 0;
  put(line, hit.line);
  put(cell, hit.cell);
  osk::checkMark(*t.buffer);
  put(where, hit.cell == 0 ? 2 : ok(t.buffer->mark().covers(hit.line, hit.cell)));
  return 1;
}

int32_t OSK_CALL GetCellRect(int32_t line, int32_t cell, struct tagRECT* rect) {
  Target t = osk::currentTarget();
  if (!t || t.record == nullptr || rect == nullptr) return 0;
  t.record->syncView();
  const osk::PixelRect r = t.record->view.cellRect(line, cell);
  auto* words = reinterpret_cast<int32_t*>(rect);
  words[0] = r.left;
  words[1] = r.top;
  words[2] = r.right;
  words[3] = r.bottom;
  return 1;
}

// Gauge pass-through.

int32_t OSK_CALL InitGauge(int32_t first, int32_t count, const char* caption) {
  const osk::GaugeCallbacks& g = Engine::instance().gauge;
  if (g.start != nullptr) g.start(first, count, caption);
  return 0;
}

int32_t OSK_CALL UpdateGauge(int32_t step) {
  const osk::GaugeCallbacks& g = Engine::instance().gauge;
  return g.step != nullptr ? g.step(step) : 0;
}

int32_t OSK_CALL DestroyGauge(void) {
  const osk::GaugeCallbacks& g = Engine::instance().gauge;
  if (g.end != nullptr) g.end();
  return 0;
}

void OSK_CALL DebugState(void) {}

}  // extern "C"
