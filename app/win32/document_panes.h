// The panes of a document window: one to four editor windows over the document's buffer, their scroll bar controls
// and the split bars between them, placed from the two split fractions kept in the document's properties.
//
// Pane editors carry the ids 1 to 4 (top left, top right, bottom left, bottom right), their scroll bars 10 to 17.
// The top-left pane always exists while the document does; the others come and go with the splits.
#pragma once

#include <windows.h>

#include "app/pane_layout.h"

namespace osk::app {

// Document window messages.
enum DocumentMessage : UINT {
  kMsgSplitSetUp = 1524,     // wParam: the request bits of applySplitRequest; lParam: pixel or 0 (the middle)
  kMsgNextPane = 1525,
  kMsgSplitUpLeft = 1526,
  kMsgSplitDownRight = 1527,
  kMsgLayOutPanes = 1528,
  kMsgActivated = 1530,
  kMsgMayClose = 15024,      // always 0: yes
};

// Document window properties by number.
inline constexpr int kPropFocusedPane = 2;
inline constexpr int kPropOpenFlags = 8;
inline constexpr int kPropSyncPanes = 10;
inline constexpr int kPropHorizontalSplit = 11;
inline constexpr int kPropVerticalSplit = 12;

void setDocumentProperty(HWND document, int property, intptr_t value);
intptr_t documentProperty(HWND document, int property);
void removeDocumentProperties(HWND document);

SplitFractions splitFractionsOf(HWND document);
// The pane that last had the focus, else the top-left one.
HWND focusedPane(HWND document);
// An engine notification 1126 from a pane of a document with lParam non-zero.
void rememberPane(HWND editor);

// Places panes, scroll bars and split bars from the fractions; creates and destroys panes as they call for.
void layOutDocument(HWND document);
// Messages 1524 to 1528 and 1530; false for any other message.
bool handlePaneMessage(HWND document, UINT message, WPARAM wParam, LPARAM lParam);
// Split bar painting, cursors and dragging, and the scroll bar controls' messages; true when handled (`result`
// then holds the answer).
bool handleSplitBarInput(HWND document, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace osk::app
