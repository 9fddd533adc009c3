// The clipboard commands: Copy, Cut, AppendToClipboard, CopyLine, CutLine, Paste, the ten clip buffers with their
// dialog, and the drag of marked text to another place (DragMoveMark with the frame messages of the drag).
//
// The clipboard's text is never given up before its replacement is safely made: marked text is taken into a new
// block first, and only then is the clipboard emptied; a cut removes its text only once the clipboard is open.
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/clip_buffers.h"
#include "app/clip_block.h"
#include "app/clip_drag.h"
#include "app/clip_text.h"
#include "app/editing_commands.h"
#include "app/win32/alerts.h"
#include "app/win32/clip_ids.h"
#include "app/win32/clipboard_win32.h"
#include "app/win32/commands_clipboard.h"
#include "app/win32/dispatch.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/edit_api.h"
#include "services/win32/ocs_drag_api.h"

namespace osk::app {
namespace {

constexpr char kNoMemory[] = "Insufficient Memory. The clipboard keeps its text.";

ClipBuffers& clipBuffers() {
  static ClipBuffers buffers;
  return buffers;
}

HWND clipboardOwner() {
  HWND master = GetMasterHwnd();
  return master != nullptr ? master : shell().frame;
}

bool writable() { return GetCurEdWindow() != nullptr && !IsReadOnly(); }

// Puts marked text on the clipboard, removing it for a cut; the clipboard stays as it was on any failure.
bool markToClipboard(bool cut) {
  if (GetCurEdWindow() == nullptr || !QueryMark() || (cut && IsReadOnly())) return false;
  SystemClipboard clipboard(clipboardOwner());
  if (!clipboard.open()) return false;
  TakenText taken = takeMarkedText(cut, cut ? "Cutting" : "Copying");
  if (taken.outOfMemory) {
    clipboard.close();
    showStop(shell().frame, kNoMemory);
    return true;
  }
  if (taken.block == nullptr) return true;   // Esc: nothing taken, nothing removed
  clipboard.empty();
  if (!clipboard.put(taken.block, taken.kind)) {
    releaseBlock(taken.block);
    return false;
  }
  return true;
}

void copy(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  if (!markToClipboard(false)) beep();
  ScrollToView();
}

void cut(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  StartOp();
  const bool done = markToClipboard(true);
  if (done) reflowIfWrapping();
  EndOp();
  if (!done) beep();
  ScrollToView();
}

void appendToClipboard(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  SystemClipboard clipboard(clipboardOwner());
  ClipKind kind = ClipKind::kStream;
  HGLOBALTEXT base = clipboard.open() ? clipboard.text(kind) : nullptr;
  if (base == nullptr || !QueryMark()) {
    beep();
    return;
  }
  TakenText taken = appendMarkedText(base);
  if (taken.outOfMemory) {
    clipboard.close();
    showStop(shell().frame, kNoMemory);
    return;
  }
  if (taken.block == nullptr) return;
  clipboard.empty();
  if (!clipboard.put(taken.block, ClipKind::kStream)) {
    releaseBlock(taken.block);
    beep();
  }
}

void lineToClipboard(bool cutIt) {
  if (GetCurEdWindow() == nullptr || GetLineCount() == 0) {
    beep();
    return;
  }
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  UnMark();
  AnchorMark(2, line, 0);
  if (cutIt) {
    cut("");
  } else {
    copy("");
    UnMark();
  }
  SetCaretCol(line, column);
}

// Pastes a block with its kind at the caret; the block stays the caller's.
void pasteBlock(HGLOBALTEXT block, ClipKind kind, const char* caption) {
  PasteOptions options;
  options.caretAfterPaste = settings().caretAfterPaste;
  options.caption = caption;
  ShowHourGlass(1);
  const PasteResult result = pasteText(block, kind, options);
  ShowHourGlass(0);
  if (result == PasteResult::kRefused || result == PasteResult::kTooLong) beep();
}

// The clipboard's text, copied so that the clipboard is free again while a long paste runs.
void paste(const char*) {
  if (!writable()) {
    beep();
    return;
  }
  SystemClipboard clipboard(clipboardOwner());
  if (!clipboard.open()) {
    beep();
    return;
  }
  ClipKind kind = ClipKind::kStream;
  HGLOBALTEXT onClipboard = clipboard.text(kind);
  if (onClipboard == nullptr) return;
  HGLOBALTEXT copied = CopyGlobalLine(onClipboard);
  clipboard.close();
  if (copied == nullptr) {
    showStop(shell().frame, kNoMemory);
    return;
  }
  pasteBlock(copied, kind, "Pasting (Esc to abort)");
  releaseBlock(copied);
}

void reportSelection(ClipSelect result, int number) {
  switch (result) {
    case ClipSelect::kSelected: {
      char text[32];
      std::snprintf(text, sizeof text, "Clip buffer %d", number);
      setStatusMessage(text);
      break;
    }
    case ClipSelect::kUnchanged:
      break;
    case ClipSelect::kOutOfMemory:
      showStop(shell().frame, kNoMemory);
      break;
    default:
      beep();
      break;
  }
}

void selectClipBuffer(int number) {
  SystemClipboard clipboard(clipboardOwner());
  reportSelection(clipBuffers().select(number, clipboard), number);
}

// The clip buffer dialog: ten read-only fields with the start of each buffer; a click selects one.
struct ClipDialogState {
  int selected = 0;
  bool canPaste = false;
};

void highlight(HWND dialog, int number) {
  for (int i = 0; i < ClipBuffers::kCount; ++i) {
    HWND field = GetDlgItem(dialog, kClipField0 + i);
    SendMessageA(field, EM_SETSEL, i == number ? 0 : static_cast<WPARAM>(-1), i == number ? -1 : 0);
  }
}

INT_PTR CALLBACK clipDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ClipDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<ClipDialogState*>(lParam);
      SystemClipboard clipboard(clipboardOwner());
      for (int i = 0; i < ClipBuffers::kCount; ++i) {
        HGLOBALTEXT text = clipBuffers().slot(i).text;
        ClipKind kind = ClipKind::kStream;
        if (i == clipBuffers().current()) text = clipboard.open() ? clipboard.text(kind) : nullptr;
        SetDlgItemTextA(dialog, kClipField0 + i, clipPreview(text).c_str());
      }
      clipboard.close();
      EnableWindow(GetDlgItem(dialog, kClipPasteButton), state->canPaste);
      SetFocus(GetDlgItem(dialog, kClipField0 + state->selected));
      highlight(dialog, state->selected);
      return FALSE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kClipField0 && id < kClipField0 + ClipBuffers::kCount && HIWORD(wParam) == EN_SETFOCUS) {
        state->selected = id - kClipField0;
        highlight(dialog, state->selected);
        return TRUE;
      }
      if (id == IDOK || id == IDCANCEL || id == kClipPasteButton) {
        EndDialog(dialog, id);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void pasteClipBuffer(int number) {
  if (number != clipBuffers().current()) {
    const ClipSlot& slot = clipBuffers().slot(number);
    if (slot.text != nullptr) pasteBlock(slot.text, slot.kind, "Pasting (Esc to abort)");
    return;
  }
  paste("");
}

void clipBufferDialog() {
  ClipDialogState state;
  state.selected = clipBuffers().current();
  HWND editor = GetCurEdWindow();
  state.canPaste = writable();
  shell().helpContext = 225;
  const INT_PTR chosen = DialogBoxParamA(shell().instance, MAKEINTRESOURCEA(kClipBufferDialog), shell().frame,
                                         clipDialogProc, reinterpret_cast<LPARAM>(&state));
  if (chosen == IDOK) {
    selectClipBuffer(state.selected);
  } else if (chosen == kClipPasteButton && IsWindow(editor)) {
    SetCurEdWindow(editor);
    pasteClipBuffer(state.selected);
  }
}


// The drag of the mark to another place. The source's mark is remembered as cells; the frame messages of the drag
// decide where it may land, take the text (removing it for a move) and paste it.
struct Drag {
  bool running = false;
  HWND source = nullptr;
  HEDBUFFER sourceBuffer = nullptr;
  DragSource mark;
  bool readOnly = false;
  bool taken = false;       // the text was taken as a move: the source has lost it
  bool dropped = false;
  HWND target = nullptr;    // where the latest accepted point lies
  DropPoint at;
  RECT feedback{};          // the focus rectangle drawn, in the target's client coordinates
  bool drawn = false;
};

Drag& drag() {
  static Drag d;
  return d;
}

// Runs `action` with `editor` as the engine's current editor window.
template <class Action>
auto withEditor(HWND editor, Action action) {
  OskWindow previous = GetCurEdWindow();
  SetCurEdWindow(editor);
  auto result = action();
  SetCurEdWindow(IsWindow(previous) ? previous : nullptr);
  return result;
}

void drawFeedback() {
  Drag& d = drag();
  if (!d.drawn || !IsWindow(d.target)) return;
  HDC dc = GetDC(d.target);
  DrawFocusRect(dc, &d.feedback);
  ReleaseDC(d.target, dc);
}

void eraseFeedback() {
  Drag& d = drag();
  drawFeedback();
  d.drawn = false;
}

int32_t dropKindOf(ClipKind kind) {
  return kind == ClipKind::kLine ? OCS_DRAG_LINES : kind == ClipKind::kColumn ? OCS_DRAG_COLUMN : OCS_DRAG_TEXT;
}

ClipKind clipKindOfDrop(int32_t kind) {
  return kind == OCS_DRAG_LINES ? ClipKind::kLine : kind == OCS_DRAG_COLUMN ? ClipKind::kColumn : ClipKind::kStream;
}

// 2224 and 2226: 1 when the text may land at the point.
LRESULT dragOver(const OcsDragRecord& record) {
  Drag& d = drag();
  POINT p{record.x, record.y};
  HWND window = WindowFromPoint(p);
  bool ok = isEditorWindow(window);
  int32_t line = 0, cell = 0;
  RECT rect{};
  if (ok) {
    ScreenToClient(window, &p);
    ok = withEditor(window, [&] {
      int32_t where = 0;
      if (!CharFromPos(p.x, p.y, 1, &line, &cell, 0, &where) || where == 2 || IsReadOnly()) return false;
      if (where == 1 && GetCurBuffer() == d.sourceBuffer) return false;   // inside the dragged text
      if (record.kind == OCS_DRAG_LINES) {
        GetCellRect(line, 1, &rect);
        RECT client{};
        GetClientRect(window, &client);
        rect.left = client.left;
        rect.right = client.right;
        rect.bottom = rect.top + 2;
      } else {
        GetCellRect(line, cell, &rect);
        rect.right = rect.left + 2;
      }
      return true;
    });
  }
  if (!ok) {
    eraseFeedback();
    d.target = nullptr;
    return 0;
  }
  if (!d.drawn || window != d.target || !EqualRect(&rect, &d.feedback)) {
    eraseFeedback();
    d.target = window;
    d.feedback = rect;
    d.drawn = true;
    drawFeedback();
  }
  d.at = {line, cell};
  return 1;
}

// 2228: the text, removed from the source for a move.
LRESULT takeDraggedText(bool move) {
  Drag& d = drag();
  if (!IsWindow(d.source)) return 0;
  move = move && !d.readOnly && GetKeyState(VK_CONTROL) >= 0 && !d.taken;
  const TakenText taken = withEditor(d.source, [&] {
    StartOp();
    TakenText t = takeMarkedText(move, move ? "Moving mark" : "Copying mark");
    EndOp();
    return t;
  });
  if (taken.outOfMemory) showStop(shell().frame, kNoMemory);
  if (taken.block == nullptr) return 0;
  if (move) {
    d.taken = true;
    if (d.target != nullptr && withEditor(d.target, [] { return GetCurBuffer(); }) == d.sourceBuffer) {
      d.at = dropAfterRemoval(d.mark, d.at);
    }
  }
  return reinterpret_cast<LRESULT>(taken.block);
}

// 2227: the text pasted where the drag ended.
void dropText(const OcsDragRecord& record) {
  Drag& d = drag();
  eraseFeedback();
  if (record.block == nullptr || !IsWindow(d.target)) {
    beep();
    return;
  }
  d.dropped = true;
  withEditor(d.target, [&] {
    UnMark();
    SetCaretCell(d.at.line, d.at.cell);
    pasteBlock(record.block, clipKindOfDrop(record.kind), "Paste in progress (Esc to abort)");
    return 0;
  });
  SetFocus(d.target);
}

void dragMoveMark(const char*) {
  HWND editor = GetCurEdWindow();
  Drag& d = drag();
  if (editor == nullptr || d.running || shell().services == nullptr) return;
  if (!QueryMark()) return;
  d = Drag{};
  d.running = true;
  d.source = editor;
  d.sourceBuffer = GetCurBuffer();
  d.readOnly = IsReadOnly() != 0;
  d.mark.kind = clipKindOfMark(QueryMarkType());
  int32_t line = 0, column = 0;
  QueryMarkStart(&line, &column);
  d.mark.firstLine = line;
  d.mark.firstCell = CellFromCol(line, column);
  QueryMarkEnd(&line, &column);
  d.mark.lastLine = line;
  d.mark.endCell = CellFromCol(line, column);

  StartOp();
  const bool moved = OCS_DoDragDrop(shell().services, dropKindOf(d.mark.kind), d.readOnly ? 0 : 1) != 0;
  eraseFeedback();
  if (IsWindow(editor)) {
    SetCurEdWindow(editor);
    // A program that took a copy while the drop was a move: the source goes now, once.
    if (moved && !d.taken && !d.readOnly && QueryMark()) deleteMarkedText();
    EndOp();
    if (!d.dropped && !d.taken) {
      // A click on the mark without a drag: the mark goes and the caret follows the mouse.
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(editor, &p);
      int32_t where = 0, cell = 0;
      if (CharFromPos(p.x, p.y, 1, &line, &cell, 0, &where) && where == 1) {
        UnMark();
        SetCaretCell(line, cell);
      }
    }
  }
  d.running = false;
}

}  // namespace

LRESULT dragMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* record = reinterpret_cast<const OcsDragRecord*>(lParam);
  switch (message) {
    case OCS_DRAG_ENTER:
    case OCS_DRAG_OVER:
      return record != nullptr ? dragOver(*record) : 0;
    case OCS_DRAG_LEAVE:
      eraseFeedback();
      return 0;
    case OCS_DRAG_TAKE:
      return takeDraggedText(wParam == 1);
    case OCS_DRAG_DROP:
      if (record != nullptr) dropText(*record);
      return 0;
    default:
      return 0;
  }
}

namespace {

void clipBuffer(const char* parameter) {
  const std::string text = parameter != nullptr ? parameter : "";
  if (text.empty()) {
    clipBufferDialog();
    return;
  }
  int number = -1;
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') number = text[0] - '0';
  if (number < 0) {
    beep();
    return;
  }
  selectClipBuffer(number);
}

}  // namespace

void releaseClipBuffers() { clipBuffers().clear(); }

void registerClipboardCommands(HandlerTable& t) {
  setHandler(t, "Copy", copy);
  setHandler(t, "Cut", cut);
  setHandler(t, "AppendToClipboard", appendToClipboard);
  setHandler(t, "CopyLine", [](const char*) { lineToClipboard(false); });
  setHandler(t, "CutLine", [](const char*) { lineToClipboard(true); });
  setHandler(t, "Paste", paste);
  setHandler(t, "ClipBuffer", clipBuffer);
  setHandler(t, "DragMoveMark", dragMoveMark);
}

}  // namespace osk::app
