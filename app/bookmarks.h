// Bookmarks: line property 1 of the engine's lines, set and cleared on the caret line and searched for from it,
// within the current file or through the other document windows as WrapBookMarksMode says.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "engine/ecd_types.h"

namespace osk::app {

enum class BookmarkWrap : int32_t { kNone = 0, kInFile = 1, kThroughWindows = 2 };

// Sets or clears the bookmark of the caret line; false when the engine refused another one.
bool toggleBookmark();

struct BookmarkHit {
  OskWindow window = nullptr;
  int32_t line = 0;
};

// The next (previous) bookmark after (before) the caret line of the current editor window. With kThroughWindows
// the editor windows of `others` (the other document windows in the order of the search's direction) are then
// searched from their start (end); then, with any wrap, the current file from its start (end). The current target
// is the same afterwards.
std::optional<BookmarkHit> findBookmark(bool next, BookmarkWrap wrap, std::span<const OskWindow> others);

// Clears the mark and puts the caret on `line` of the current editor window, keeping the caret column, with the
// line in the middle of the window.
void goToBookmark(int32_t line);

// Removes every bookmark of the current target's file.
void clearBookmarks();

}  // namespace osk::app
