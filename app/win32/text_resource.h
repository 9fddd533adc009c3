// Identifiers of the text commands' dialog.
#pragma once

#define IDD_GOTO 1026
#define IDC_GOTO_LABEL 8000
#define IDC_GOTO_LINE 8001
