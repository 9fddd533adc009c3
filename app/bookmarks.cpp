#include "app/bookmarks.h"

#include <algorithm>

#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr uint32_t kBookmark = 1;

int32_t caretLine() {
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  return line;
}

// The first bookmark after (before) `from` in the current target; 0 for none.
int32_t search(bool next, int32_t from) {
  int32_t line = from;
  const uint32_t found = next ? GetNextLineWithProp(kBookmark, &line) : GetPrevLineWithProp(kBookmark, &line);
  return found != 0 ? line : 0;
}

int32_t fromStart(bool next) { return next ? 0 : GetLineCount() + 1; }

}  // namespace

bool toggleBookmark() {
  if (GetCurEdWindow() == nullptr) return false;
  const int32_t line = caretLine();
  if (GetLineProp(line, kBookmark) != 0) {
    ClearLineProp(line, kBookmark);
    return true;
  }
  return SetLineProp(line, kBookmark) != 0;
}

std::optional<BookmarkHit> findBookmark(bool next, BookmarkWrap wrap, std::span<const OskWindow> others) {
  const OskWindow current = GetCurEdWindow();
  if (current == nullptr) return std::nullopt;
  if (const int32_t line = search(next, caretLine())) return BookmarkHit{current, line};
  if (wrap == BookmarkWrap::kThroughWindows) {
    for (OskWindow window : others) {
      if (window == current || SetCurEdWindow(window) == 0) continue;
      const int32_t line = search(next, fromStart(next));
      SetCurEdWindow(current);
      if (line != 0) return BookmarkHit{window, line};
    }
    SetCurEdWindow(current);
  }
  if (wrap != BookmarkWrap::kNone) {
    if (const int32_t line = search(next, fromStart(next))) return BookmarkHit{current, line};
  }
  return std::nullopt;
}

void goToBookmark(int32_t line) {
  if (GetCurEdWindow() == nullptr) return;
  int32_t caret = 0, column = 1;
  GetCaretCol(&caret, &column);
  if (QueryMark()) UnMark();
  SetCaretCol(line, column);
  int32_t lines = 1, cells = 1, top = 1, left = 1;
  GetEdWindowSize(&lines, &cells);
  GetEdWindowScroll(&top, &left);
  SetEdWindowScroll(std::max(1, line - std::max(1, lines) / 2), std::max(1, left));
  ScrollToView();
  UpdateDisplay();
}

void clearBookmarks() {
  if (GetCurEdWindow() == nullptr) return;
  for (int32_t line = search(true, 0); line != 0; line = search(true, line)) ClearLineProp(line, kBookmark);
}

}  // namespace osk::app
