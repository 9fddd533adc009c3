// Dialogs of the keystroke macro commands and their controls, shared by macro.rc and the program's scenarios.
#pragma once

// The window list dialog of the document windows holds 1031, so the macro file list takes a number of its own.
#define IDD_SELECT_MACRO 8600
#define IDD_REPEAT_MACRO 1032

#define IDC_MACRO_STOP_AFTER 8501
#define IDC_MACRO_PLAYS 8502
#define IDC_MACRO_PLAYS_LABEL 8503
#define IDC_MACRO_STOP_FIND 8504
#define IDC_MACRO_STOP_FILE_END 8505
#define IDC_MACRO_STOP_LINE_END 8506
#define IDC_MACRO_STOP_LAST_CLOSED 8507
#define IDC_MACRO_STOP_BOOKMARK 8508
#define IDC_MACRO_FILES 8520
// The help button takes the number the F1 hook looks for in the active dialog.
#define IDC_MACRO_HELP 9
