// The caret, scroll and simple editing commands: the portable commands run on the current editor window, with
// Shift taken from the keyboard.
#include <windows.h>

#include "app/editing_commands.h"
#include "app/win32/dispatch.h"
#include "app/win32/session.h"
#include "app/win32/shell.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

bool shiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

void done(bool ok) {
  if (!ok) beep();
}

template <CaretMove move>
void caretCommand(const char*) {
  if (GetCurEdWindow() == nullptr) return;
  done(moveCaret(move, shiftHeld(), shell().words, shell().editing));
}

template <ViewScroll scroll>
void scrollCommand(const char*) {
  if (GetCurEdWindow() != nullptr) scrollView(scroll);
}

void undoRedo(bool undo) {
  if (GetCurEdWindow() == nullptr) return;
  ShowHourGlass(1);
  const int32_t result = undo ? UndoOp("Undoing") : RedoOp("Redoing");
  ShowHourGlass(0);
  if (!result) beep();
  ScrollToView();
  UpdateDisplay();
}

}  // namespace

void registerEditingCommands(HandlerTable& t) {
  setHandler(t, "MoveUp", caretCommand<CaretMove::kUp>);
  setHandler(t, "MoveDown", caretCommand<CaretMove::kDown>);
  setHandler(t, "MoveLeft", caretCommand<CaretMove::kLeft>);
  setHandler(t, "MoveRight", caretCommand<CaretMove::kRight>);
  setHandler(t, "MovePageUp", caretCommand<CaretMove::kPageUp>);
  setHandler(t, "MovePageDown", caretCommand<CaretMove::kPageDown>);
  setHandler(t, "MoveHome", caretCommand<CaretMove::kHome>);
  setHandler(t, "MoveEnd", caretCommand<CaretMove::kEnd>);
  setHandler(t, "MovePageLeft", caretCommand<CaretMove::kPageLeft>);
  setHandler(t, "MovePageRight", caretCommand<CaretMove::kPageRight>);
  setHandler(t, "MoveFirstLine", caretCommand<CaretMove::kFirstLine>);
  setHandler(t, "MoveLastLine", caretCommand<CaretMove::kLastLine>);
  setHandler(t, "MoveWordLeft", caretCommand<CaretMove::kWordLeft>);
  setHandler(t, "MoveWordRight", caretCommand<CaretMove::kWordRight>);
  setHandler(t, "MoveWordEnd", caretCommand<CaretMove::kWordEnd>);
  setHandler(t, "ScrollCentre", scrollCommand<ViewScroll::kCentre>);
  setHandler(t, "ScrollUp", scrollCommand<ViewScroll::kUp>);
  setHandler(t, "ScrollDown", scrollCommand<ViewScroll::kDown>);
  setHandler(t, "ScrollLeft", scrollCommand<ViewScroll::kLeft>);
  setHandler(t, "ScrollRight", scrollCommand<ViewScroll::kRight>);
  setHandler(t, "MoveToTop", scrollCommand<ViewScroll::kCaretToTop>);
  setHandler(t, "MoveToMiddle", scrollCommand<ViewScroll::kCaretToMiddle>);
  setHandler(t, "MoveToBottom", scrollCommand<ViewScroll::kCaretToBottom>);
  setHandler(t, "DeleteWordLeft", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(deleteWord(true, shell().words));
  });
  setHandler(t, "DeleteWordRight", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(deleteWord(false, shell().words));
  });
  setHandler(t, "SelectAll", [](const char*) {
    if (GetCurEdWindow() != nullptr) selectAll();
  });
  setHandler(t, "NewLine", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(newLine(shell().editing));
  });
  setHandler(t, "Delete", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(deleteForward());
  });
  setHandler(t, "Backspace", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(backspace());
  });
  setHandler(t, "DeleteLine", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(deleteCaretLine());
  });
  setHandler(t, "DeleteToEndOfLine", [](const char*) {
    if (GetCurEdWindow() != nullptr) done(deleteToEndOfLine());
  });
  setHandler(t, "Undo", [](const char*) { undoRedo(true); });
  setHandler(t, "Redo", [](const char*) { undoRedo(false); });
  setHandler(t, "InsertModeToggle", [](const char*) {
    if (GetCurEdWindow() != nullptr) SetInsertMode(GetInsertMode() ? 0 : 1);
  });
  setHandler(t, "WordWrapToggle", [](const char*) {
    HWND editor = GetCurEdWindow();
    // Only a writable document's word wrap can change; that document's alone, not the default for new ones.
    if (editor == nullptr || IsReadOnly()) {
      checkCommand("WordWrapToggle", false);
      beep();
      return;
    }
    SetWordWrap(GetWordWrap() ? 0 : 1);
    checkCommand("WordWrapToggle", GetWordWrap() != 0);
    SetFocus(editor);
  });
}

}  // namespace osk::app
