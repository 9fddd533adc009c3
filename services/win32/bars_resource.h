// Resource and control identifiers of the menus and tool bars (3000 to 3999).
#pragma once

#define IDD_VIEW_TOOL_BARS 3000
#define IDC_TOOL_BAR_LIST 3001
#define IDC_TOOL_BAR_TIPS 3002
#define IDC_TOOL_BAR_TIP_KEYS 3003
#define IDC_TOOL_BAR_WRAP 3004
#define IDC_TOOL_BAR_LARGE 3005
