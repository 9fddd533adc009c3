// The modeless Find and Replace dialogs (at most one open) and the search commands that run without them. The
// search itself is app/search.h; this is its window side: controls, history lists 1 (search texts) and 2
// (replacement texts), the expression menus, the questions and the reports.
#pragma once

#include <windows.h>

namespace osk::app {

// Dialog templates and their controls (search.rc).
enum SearchDialogId : int {
  kFindDialog = 1025,
  kReplaceDialog = 1029,
  kIdFindText = 7001,
  kIdFindHelper = 7002,
  kIdReplaceText = 7003,
  kIdReplaceHelper = 7004,
  kIdScope = 7005,
  kIdDirection = 7006,
  kIdMatchCase = 7007,
  kIdRegEx = 7008,
  kIdWholeWord = 7009,
  kIdFindNext = 7010,
  kIdCount = 7011,
  kIdBookmark = 7012,
  kIdSearchHelp = 7013,
  kIdReplace = 7014,
  kIdReplaceAll = 7015,
  kIdFirstFindFragment = 7100,      // to 7110, the items of "FindHelper"
  kIdFirstReplaceFragment = 7120,   // to 7129, the items of "ReplaceHelper"
};

inline constexpr int kSearchHistory = 1;
inline constexpr int kReplaceHistory = 2;

// The open search dialog, or null.
HWND searchDialog();
// After documents were opened, closed or activated: button states, and the dialog closes itself when no
// document window is left.
void refreshSearchDialog();

}  // namespace osk::app
