// Event contexts: the number of the place where a key or mouse event happened, under which the key map looks the
// event up. The shell describes the window that got the event; these functions decide the number.
//
// Keys: any window while a print preview is open 26; an editor window 12 with a mark, 10 without; an Open Bar
// window 11; anything else 0. Mouse over an editor window, from the engine's position test: no text position 20,
// the line-number margin 23, inside the mark 22, other text 24. Mouse over any other window: the context the
// common services report for it, 0 when they report none (or a negative number).
#pragma once

#include <cstdint>

namespace osk::app {

inline constexpr int32_t kContextNone = 0;
inline constexpr int32_t kContextEditor = 10;
inline constexpr int32_t kContextOpenBar = 11;
inline constexpr int32_t kContextEditorWithMark = 12;
inline constexpr int32_t kContextMouseNoText = 20;
inline constexpr int32_t kContextMouseInMark = 22;
inline constexpr int32_t kContextMouseMargin = 23;
inline constexpr int32_t kContextMouseText = 24;
inline constexpr int32_t kContextToolBar = 25;   // reported by the common services for a tool bar
inline constexpr int32_t kContextPreview = 26;

enum class EventWindow { Editor, OpenBar, Other };

struct KeyEventTarget {
  bool previewOpen = false;
  EventWindow window = EventWindow::Other;
  bool editorHasMark = false;
};

int32_t keyEventContext(const KeyEventTarget& target);

struct MouseEventTarget {
  bool isEditor = false;
  // The engine's position test over an editor window: whether it found a text position, and where it lies
  // (2 the line-number margin, 1 inside the mark, 0 elsewhere).
  bool positionFound = false;
  int32_t where = 0;
  // Over any other window: the context the common services give for it.
  int32_t servicesContext = 0;
};

int32_t mouseEventContext(const MouseEventTarget& target);

}  // namespace osk::app
