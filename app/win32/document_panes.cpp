#include "app/win32/document_panes.h"

#include <algorithm>
#include <array>

#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"

namespace osk::app {
namespace {

constexpr int kCursorHorizontalBar = 1007;
constexpr int kCursorVerticalBar = 1008;
constexpr int kCursorBothBars = 1003;

const char* propertyName(int property) { return MAKEINTATOM(property); }

HWND pane(HWND document, Pane which) { return GetDlgItem(document, paneEditorId(which)); }

void destroyChild(HWND document, int id) {
  if (HWND child = GetDlgItem(document, id)) DestroyWindow(child);
}

void destroyPane(HWND document, Pane which) {
  HWND editor = pane(document, which);
  if (editor != nullptr && reinterpret_cast<HWND>(documentProperty(document, kPropFocusedPane)) == editor) {
    setDocumentProperty(document, kPropFocusedPane, 0);
  }
  destroyChild(document, paneEditorId(which));
  destroyChild(document, paneHorizontalScrollId(which));
  destroyChild(document, paneVerticalScrollId(which));
}

// A pane moves into the place of another (that has gone): its ids follow, its scroll bars are made anew.
void movePane(HWND document, Pane from, Pane to) {
  HWND editor = pane(document, from);
  destroyChild(document, paneHorizontalScrollId(from));
  destroyChild(document, paneVerticalScrollId(from));
  if (editor != nullptr) SetWindowLongPtrA(editor, GWLP_ID, paneEditorId(to));
}

// A new pane shows the top-left pane's buffer from where that pane stands.
HWND createPane(HWND document, Pane which) {
  HWND first = pane(document, Pane::kTopLeft);
  if (first == nullptr) return nullptr;
  const LRESULT buffer = SendMessageA(first, ECD_GET_BUFFER, 0, 0);
  if (buffer == ECD_ERR_NO_BUFFER || buffer == 0) return nullptr;
  HWND editor = CreateWindowExA(0, kEditorClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, document,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(paneEditorId(which))), shell().instance,
                                nullptr);
  if (editor == nullptr) return nullptr;
  const ShellSettings& s = settings();
  const LPARAM flags = ECD_OPEN_FLAG6 | (s.horzScroll ? ECD_OPEN_HSCROLL : 0) | (s.vertScroll ? ECD_OPEN_VSCROLL : 0) |
                       (editorSays(first, ECD_IS_TABS_AS_SPACES) ? ECD_OPEN_TABS_AS_SPACES : 0);
  if (SendMessageA(editor, ECD_SHOW_BUFFER, static_cast<WPARAM>(buffer), flags) != 0) {
    DestroyWindow(editor);
    return nullptr;
  }
  SendMessageA(editor, ECD_COPY_VIEW, reinterpret_cast<WPARAM>(first), 0);
  SendMessageA(editor, ECD_SET_WORD_WRAP, editorSays(first, ECD_IS_WORD_WRAP) ? 1 : 0, 0);
  if (shell().editorFont != nullptr) {
    SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(shell().editorFont), TRUE);
  }
  return editor;
}

HWND scrollBar(HWND document, int id, bool vertical, bool wanted) {
  HWND bar = GetDlgItem(document, id);
  if (!wanted) {
    if (bar != nullptr) DestroyWindow(bar);
    return nullptr;
  }
  if (bar == nullptr) {
    bar = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | (vertical ? SBS_VERT : SBS_HORZ), 0, 0, 0, 0,
                          document, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shell().instance, nullptr);
  }
  return bar;
}

bool focusInside(HWND document) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == document || IsChild(document, focus));
}

RECT toRect(const PaneRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

PaneLayout currentLayout(HWND document) {
  RECT client;
  GetClientRect(document, &client);
  return layOutPanes(client.right, client.bottom, splitFractionsOf(document));
}

void storeFractions(HWND document, SplitFractions fractions) {
  setDocumentProperty(document, kPropHorizontalSplit, fractions.horizontal);
  setDocumentProperty(document, kPropVerticalSplit, fractions.vertical);
}

// The split bar being dragged, one at a time in the whole program.
struct Drag {
  HWND document = nullptr;
  SplitHit bars = SplitHit::kNone;
  POINT at{};
  bool outlineShown = false;
};

Drag& drag() {
  static Drag d;
  return d;
}

void drawOutline(HWND document, const Drag& d) {
  RECT client;
  GetClientRect(document, &client);
  HDC dc = GetDC(document);
  if (d.bars == SplitHit::kHorizontal || d.bars == SplitHit::kBoth) {
    PatBlt(dc, 0, d.at.y - kSplitBarThickness / 2, client.right, kSplitBarThickness, DSTINVERT);
  }
  if (d.bars == SplitHit::kVertical || d.bars == SplitHit::kBoth) {
    PatBlt(dc, d.at.x - kSplitBarThickness / 2, 0, kSplitBarThickness, client.bottom, DSTINVERT);
  }
  ReleaseDC(document, dc);
}

void toggleOutline(HWND document) {
  Drag& d = drag();
  drawOutline(document, d);
  d.outlineShown = !d.outlineShown;
}

// The outline follows the mouse to the point of a mouse message, kept inside the window.
void moveOutline(HWND document, LPARAM point) {
  RECT client;
  GetClientRect(document, &client);
  toggleOutline(document);
  drag().at = POINT{std::clamp<LONG>(static_cast<short>(LOWORD(point)), 0, client.right),
                    std::clamp<LONG>(static_cast<short>(HIWORD(point)), 0, client.bottom)};
  toggleOutline(document);
}

void endDrag(bool apply) {
  Drag& d = drag();
  HWND document = d.document;
  if (document == nullptr) return;
  if (d.outlineShown) toggleOutline(document);
  const Drag finished = d;
  d = Drag{};
  if (GetCapture() == document) ReleaseCapture();
  if (!apply) return;
  RECT client;
  GetClientRect(document, &client);
  SplitFractions f = splitFractionsOf(document);
  // The bar's far edge follows the middle of the outline.
  if (finished.bars == SplitHit::kHorizontal || finished.bars == SplitHit::kBoth) {
    f.horizontal = std::max<int32_t>(pixelToFraction(finished.at.y + kSplitBarThickness / 2, client.bottom), 1);
  }
  if (finished.bars == SplitHit::kVertical || finished.bars == SplitHit::kBoth) {
    f.vertical = std::max<int32_t>(pixelToFraction(finished.at.x + kSplitBarThickness / 2, client.right), 1);
  }
  storeFractions(document, f);
  layOutDocument(document);
}

void paintSplitBars(HWND document) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(document, &ps);
  const PaneLayout layout = currentLayout(document);
  for (const PaneRect* bar : {&layout.horizontalBarRect, &layout.verticalBarRect}) {
    if (bar->width() <= 0 || bar->height() <= 0) continue;
    const RECT r = toRect(*bar);
    OCS_fvDrawSplitBar(dc, &r, bar == &layout.verticalBarRect ? 1 : 0);
  }
  EndPaint(document, &ps);
}

void refreshSplitCheckMarks(HWND document) {
  const SplitFractions f = splitFractionsOf(document);
  checkCommand("SplitWindowHorizontally", f.horizontal > 0);
  checkCommand("SplitWindowVertically", f.vertical > 0);
}

void activated(HWND document) {
  refreshConditions();
  refreshCheckMarks();
  HWND editor = focusedPane(document);
  if (editor == nullptr) return;
  if (!IsIconic(document) && GetActiveWindow() == shell().frame) SetFocus(editor);
  SendMessageA(editor, ECD_CARET_TO_VIEW, 0, 0);
}

}  // namespace

void setDocumentProperty(HWND document, int property, intptr_t value) {
  SetPropA(document, propertyName(property), reinterpret_cast<HANDLE>(value));
}

intptr_t documentProperty(HWND document, int property) {
  return document != nullptr ? reinterpret_cast<intptr_t>(GetPropA(document, propertyName(property))) : 0;
}

void removeDocumentProperties(HWND document) {
  for (int property : {kPropFocusedPane, kPropOpenFlags, kPropSyncPanes, kPropHorizontalSplit, kPropVerticalSplit}) {
    RemovePropA(document, propertyName(property));
  }
}

SplitFractions splitFractionsOf(HWND document) {
  return SplitFractions{static_cast<int32_t>(documentProperty(document, kPropHorizontalSplit)),
                        static_cast<int32_t>(documentProperty(document, kPropVerticalSplit))};
}

HWND focusedPane(HWND document) {
  if (document == nullptr) return nullptr;
  auto remembered = reinterpret_cast<HWND>(documentProperty(document, kPropFocusedPane));
  if (remembered != nullptr && IsWindow(remembered) && GetParent(remembered) == document) return remembered;
  return pane(document, Pane::kTopLeft);
}

void rememberPane(HWND editor) {
  HWND document = editor != nullptr ? GetParent(editor) : nullptr;
  if (!isDocumentWindow(document)) return;
  setDocumentProperty(document, kPropFocusedPane, reinterpret_cast<intptr_t>(editor));
}

void layOutDocument(HWND document) {
  if (document == nullptr || IsIconic(document)) return;
  const bool hadFocus = focusInside(document);
  const PaneLayout layout = currentLayout(document);

  // A bar dragged onto the near edge: the panes beyond it take the places of those before it.
  // A bar that never had panes beyond it (a window too small to split) just goes: the top-left pane, which reaches
  // the buffer, always stays.
  if (layout.lowerPanesMoveUp && pane(document, Pane::kBottomLeft) != nullptr) {
    destroyPane(document, Pane::kTopLeft);
    destroyPane(document, Pane::kTopRight);
    movePane(document, Pane::kBottomLeft, Pane::kTopLeft);
    movePane(document, Pane::kBottomRight, Pane::kTopRight);
  }
  if (layout.rightPanesMoveLeft && pane(document, Pane::kTopRight) != nullptr) {
    destroyPane(document, Pane::kTopLeft);
    destroyPane(document, Pane::kBottomLeft);
    movePane(document, Pane::kTopRight, Pane::kTopLeft);
    movePane(document, Pane::kBottomRight, Pane::kBottomLeft);
  }
  storeFractions(document, layout.fractions);

  std::array<HWND, kPaneCount> editors{};
  for (int i = 0; i < kPaneCount; ++i) {
    const auto which = static_cast<Pane>(i);
    if (!layout.present[static_cast<size_t>(i)]) {
      if (i != 0) destroyPane(document, which);
      continue;
    }
    editors[static_cast<size_t>(i)] = pane(document, which);
    if (editors[static_cast<size_t>(i)] == nullptr) editors[static_cast<size_t>(i)] = createPane(document, which);
  }

  const ShellSettings& s = settings();
  ScrollBarChoice choice;
  choice.vertical = s.vertScroll;
  choice.horizontal = s.horzScroll;
  choice.synced = documentProperty(document, kPropSyncPanes) != 0;
  choice.verticalWidth = GetSystemMetrics(SM_CXVSCROLL);
  choice.horizontalHeight = GetSystemMetrics(SM_CYHSCROLL);

  int windows = 0;
  for (HWND editor : editors) windows += editor != nullptr ? 3 : 0;
  HDWP moves = BeginDeferWindowPos(windows);
  auto place = [&moves](HWND window, const PaneRect& r) {
    if (window == nullptr) return;
    if (moves != nullptr) {
      moves = DeferWindowPos(moves, window, nullptr, r.left, r.top, r.width(), r.height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      MoveWindow(window, r.left, r.top, r.width(), r.height(), TRUE);
    }
  };
  for (int i = 0; i < kPaneCount; ++i) {
    HWND editor = editors[static_cast<size_t>(i)];
    if (editor == nullptr) continue;
    const auto which = static_cast<Pane>(i);
    const PanePlacement placement = placePane(layout, which, choice);
    HWND vertical = scrollBar(document, paneVerticalScrollId(which), true, placement.hasVerticalScroll);
    HWND horizontal = scrollBar(document, paneHorizontalScrollId(which), false, placement.hasHorizontalScroll);
    // The separate controls take the place of the editor's own scroll bars.
    ShowScrollBar(editor, SB_BOTH, FALSE);
    SendMessageA(editor, ECD_SET_SCROLL_CONTROLS, reinterpret_cast<WPARAM>(vertical),
                 reinterpret_cast<LPARAM>(horizontal));
    SendMessageA(editor, ECD_SET_SYNC, choice.synced ? 3 : 0, MAKELPARAM(paneColumn(which), paneRow(which)));
    place(editor, placement.editor);
    place(vertical, placement.verticalScroll);
    place(horizontal, placement.horizontalScroll);
  }
  if (moves != nullptr) EndDeferWindowPos(moves);
  InvalidateRect(document, nullptr, TRUE);

  HWND focus = GetFocus();
  if (hadFocus && (focus == nullptr || !IsChild(document, focus))) {
    if (HWND first = pane(document, Pane::kTopLeft)) SetFocus(first);
  }
  if (document == activeDocument()) refreshSplitCheckMarks(document);
}

bool handlePaneMessage(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgSplitSetUp: {
      RECT client;
      GetClientRect(document, &client);
      storeFractions(document, applySplitRequest(splitFractionsOf(document), static_cast<uint32_t>(wParam),
                                                 static_cast<int32_t>(lParam), client.right, client.bottom));
      layOutDocument(document);
      refreshSplitCheckMarks(document);
      return true;
    }
    case kMsgNextPane: {
      std::array<bool, kPaneCount> present{};
      Pane from = Pane::kTopLeft;
      HWND focus = focusedPane(document);
      for (int i = 0; i < kPaneCount; ++i) {
        HWND editor = pane(document, static_cast<Pane>(i));
        present[static_cast<size_t>(i)] = editor != nullptr;
        if (editor != nullptr && editor == focus) from = static_cast<Pane>(i);
      }
      if (HWND next = pane(document, nextPane(present, from))) {
        setDocumentProperty(document, kPropFocusedPane, reinterpret_cast<intptr_t>(next));
        SetFocus(next);
      }
      return true;
    }
    case kMsgSplitUpLeft:
    case kMsgSplitDownRight: {
      RECT client;
      GetClientRect(document, &client);
      const int step = message == kMsgSplitUpLeft ? -kSplitStep : kSplitStep;
      storeFractions(document, moveSplitBars(splitFractionsOf(document), step, client.right, client.bottom));
      layOutDocument(document);
      return true;
    }
    case kMsgLayOutPanes:
      layOutDocument(document);
      return true;
    case kMsgActivated:
      activated(document);
      return true;
    default:
      return false;
  }
}

bool handleSplitBarInput(HWND document, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      paintSplitBars(document);
      result = 0;
      return true;
    case WM_SETCURSOR: {
      if (reinterpret_cast<HWND>(wParam) != document || LOWORD(lParam) != HTCLIENT) return false;
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(document, &at);
      const SplitHit hit = hitSplitBar(currentLayout(document), at.x, at.y);
      if (hit == SplitHit::kNone) return false;
      const int cursor = hit == SplitHit::kBoth ? kCursorBothBars
                         : hit == SplitHit::kHorizontal ? kCursorHorizontalBar
                                                        : kCursorVerticalBar;
      SetCursor(LoadCursorA(shell().instance, MAKEINTRESOURCEA(cursor)));
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN: {
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const SplitHit hit = hitSplitBar(currentLayout(document), at.x, at.y);
      if (hit == SplitHit::kNone) return false;
      endDrag(false);
      drag() = Drag{document, hit, at, false};
      SetCapture(document);
      toggleOutline(document);
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (drag().document != document) return false;
      moveOutline(document, lParam);
      result = 0;
      return true;
    }
    case WM_LBUTTONUP: {
      if (drag().document != document) return false;
      // The release point counts, whatever moves went before it.
      moveOutline(document, lParam);
      endDrag(true);
      result = 0;
      return true;
    }
    case WM_CAPTURECHANGED:
      if (drag().document == document && reinterpret_cast<HWND>(lParam) != document) endDrag(false);
      return false;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      auto control = reinterpret_cast<HWND>(lParam);
      const int owner = control != nullptr ? paneOfScrollId(GetDlgCtrlID(control)) : -1;
      if (owner < 0) return false;
      if (HWND editor = pane(document, static_cast<Pane>(owner))) SendMessageA(editor, message, wParam, lParam);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace osk::app
