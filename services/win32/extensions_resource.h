// Resource and control identifiers of the extensions dialog (range 5000 to 5999).
#pragma once

#define IDD_EXTENSIONS 5000
#define IDC_EXT_LIST 5001
#define IDC_EXT_DESCRIPTION 5002
#define IDC_EXT_ADD 5003
#define IDC_EXT_REMOVE 5004
#define IDC_EXT_LIST_LABEL 5005
