// The status bar "OSK_WSTAT" at the bottom of the frame: from the left the caret line, the caret column, the typing
// mode of the active document and the message field. While a long operation runs, a progress gauge (class
// "gauge", a child of the bar) covers the message field.
//
// The bar's window text is the status message, so other programs read it with WM_GETTEXT; while a gauge exists,
// text set on the bar becomes the gauge's caption and the message stays as it was.
//
// Messages the bar answers:
//   1124  lParam -> int32_t {line, column} of the active editor, or 0 when no document is active (which also blanks
//         the mode field); fields are drawn again only when their text changes
//   1125  lParam: insert mode on (1) or overwrite (0)
//   2024  wParam: the value the gauge counts from; creates the gauge over the message field, answers its window
//   2025  wParam: the number of steps to the gauge's end (end = start + wParam, held in 64 bits); shows the gauge
//   2026  wParam: the gauge's present value; the gauge is drawn again only when its percentage changes
//   2027  destroys the gauge and shows the message again
//   2028  wParam: whether the active document is read-only (mode field "R/O")
//   2029  a question from another process (scenarios): wParam 0 the line shown, 1 the column, 2 the mode
//         (0 none, 1 INS, 2 OVR, 3 R/O), 3 the gauge's percentage (-1 without a gauge); line and column are 0
//         without a document
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

inline constexpr char kStatusBarClass[] = "OSK_WSTAT";
inline constexpr char kGaugeClass[] = "gauge";

enum StatusBarMessage : UINT {
  kStatCaret = 1124,
  kStatInsertMode = 1125,
  kStatGaugeCreate = 2024,
  kStatGaugeStart = 2025,
  kStatGaugeStep = 2026,
  kStatGaugeDestroy = 2027,
  kStatReadOnly = 2028,
  kStatQuery = 2029,
};
enum StatusQuery : WPARAM { kQueryLine = 0, kQueryColumn = 1, kQueryMode = 2, kQueryGaugePercent = 3 };

bool registerStatusBarClass(HINSTANCE instance);
bool registerGaugeClass(HINSTANCE instance);
HWND createStatusBar(HWND frame);
int statusBarHeight();
// Whether the status bar is switched on, also while the frame itself is not shown yet.
bool statusBarShown();

void setStatusMessage(const std::string& text);
std::string statusMessage();
// The caret of the active editor (line and column), or none (line 0): no document, all three fields blank.
void showCaretPosition(long line, long column);
void showInsertMode(bool insert);
// Line, column, typing mode and read-only state of `editor` (the active one), or blank fields without one.
void refreshStatusFields(HWND editor);

}  // namespace osk::app
