// The mouse commands of editor windows: pointers, placing the caret, dragging out marks; and the mark commands
// that start a line or column mark or mark the word or paragraph at the caret.
#include <windows.h>

#include <string>

#include "app/win32/dispatch.h"
#include "app/win32/shell.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMarkNormal = 1, kMarkLine = 2, kMarkColumn = 3;

struct TextPoint {
  int32_t line = 0;
  int32_t cell = 0;
};

// The text position under the mouse in the current editor window, clamped into the text.
bool mousePosition(TextPoint& at) {
  HWND editor = GetCurEdWindow();
  if (editor == nullptr) return false;
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(editor, &p);
  int32_t where = 0;
  return CharFromPos(p.x, p.y, 1, &at.line, &at.cell, 0, &where) != 0;
}

int32_t columnOf(const TextPoint& at) { return ColFromCell(at.line, at.cell); }

void placeCaret(const char*) {
  HWND editor = GetCurEdWindow();
  if (editor == nullptr) return;
  SetFocus(editor);
  UnMark();
  TextPoint at;
  if (mousePosition(at)) SetCaretCell(at.line, at.cell);
}

// Drags out a mark of `type` while the button that started it is held; Esc ends the drag and drops the mark.
void dragMark(int32_t type) {
  HWND editor = GetCurEdWindow();
  if (editor == nullptr) return;
  SetFocus(editor);
  TextPoint at;
  if (!mousePosition(at)) return;
  const int32_t column = type == kMarkLine ? 0 : columnOf(at);
  if (GetKeyState(VK_SHIFT) < 0 && QueryMark()) {
    UpdateMark(at.line, column);
  } else if (GetKeyState(VK_SHIFT) < 0) {
    int32_t line = 0, caretColumn = 0;
    GetCaretCol(&line, &caretColumn);
    AnchorMark(type, line, type == kMarkLine ? 0 : caretColumn);
    UpdateMark(at.line, column);
  } else {
    UnMark();
    AnchorMark(type, at.line, column);
  }
  SetCapture(editor);
  bool aborted = false;
  MSG message;
  while (GetCapture() == editor && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      aborted = true;
      break;
    }
    if (message.message == WM_LBUTTONUP || message.message == WM_RBUTTONUP) break;
    if (message.message == WM_MOUSEMOVE) {
      TextPoint now;
      if (mousePosition(now)) {
        UpdateMark(now.line, type == kMarkLine ? 0 : columnOf(now));
        ScrollToView();
      }
      continue;
    }
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  ReleaseCapture();
  if (aborted) UnMark();
}

void markCurrentWord(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  char text[1025] = {};
  GetLine(line, text);
  WordSpan word{};
  if (!shell().words.wordAt(text, column, word)) {
    beep();
    return;
  }
  UnMark();
  AnchorMark(kMarkNormal, line, word.column);
  UpdateMark(line, word.end());
}

bool isBlank(int32_t line) {
  char text[1025] = {};
  if (!GetLine(line, text)) return true;
  return std::string(text).find_first_not_of(" \t") == std::string::npos;
}

void markCurrentParagraph(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  if (isBlank(line)) return;
  int32_t first = line, last = line;
  while (first > 1 && !isBlank(first - 1)) --first;
  while (last < GetLineCount() && !isBlank(last + 1)) ++last;
  UnMark();
  AnchorMark(kMarkLine, first, 0);
  UpdateMark(last, 0);
  SetCaretCol(line, column);
}

void startLineMark(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  if (!QueryMark()) {
    AnchorMark(kMarkLine, line, 0);
  } else {
    // From the far end of the old mark to the caret line.
    int32_t startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    QueryMarkStart(&startLine, &startColumn);
    QueryMarkEnd(&endLine, &endColumn);
    const int32_t farLine = startLine == line ? endLine : startLine;
    UnMark();
    AnchorMark(kMarkLine, farLine, 0);
    UpdateMark(line, 0);
  }
  SetCaretCol(line, column);
}

void startColumnMark(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  if (!QueryMark()) {
    const int32_t cell = CellFromCol(line, column);
    AnchorMark(kMarkColumn, line, column);
    UpdateMark(line, ColFromCell(line, cell + 1));
  } else {
    // From the corner opposite the caret to the caret.
    int32_t startLine = 0, startColumn = 0, endLine = 0, endColumn = 0;
    QueryMarkStart(&startLine, &startColumn);
    QueryMarkEnd(&endLine, &endColumn);
    const bool caretAtStart = startLine == line;
    UnMark();
    AnchorMark(kMarkColumn, caretAtStart ? endLine : startLine, caretAtStart ? endColumn : startColumn);
    UpdateMark(line, column);
  }
  SetCaretCol(line, column);
}

}  // namespace

void registerMouseCommands(HandlerTable& t) {
  setHandler(t, "SetLinePointer", [](const char*) { SetLinePointer(); });
  setHandler(t, "SetCharPointer", [](const char*) { SetCharPointer(); });
  setHandler(t, "SetMovePointer", [](const char*) { SetMovePointer(); });
  setHandler(t, "SetArrowPointer", [](const char*) { SetArrowPointer(); });
  setHandler(t, "PlaceCaret", placeCaret);
  setHandler(t, "DragNormMark", [](const char*) { dragMark(kMarkNormal); });
  setHandler(t, "DragLineMark", [](const char*) { dragMark(kMarkLine); });
  setHandler(t, "DragColumnMark", [](const char*) { dragMark(kMarkColumn); });
  setHandler(t, "MarkCurrentWord", markCurrentWord);
  setHandler(t, "MarkCurrentParagraph", markCurrentParagraph);
  setHandler(t, "StartLineMark", startLineMark);
  setHandler(t, "StartColumnMark", startColumnMark);
}

}  // namespace osk::app
