// Small services the program hands its settings to or asks of: the file type list, the long-name choices, the
// display palette and asking the user for one character.
#include <windows.h>

#include <cstring>

#include "services/file_types.h"
#include "services/ocs_dialogs_api.h"
#include "services/win32/dialogs_win32.h"
#include "services/win32/instance_win32.h"

extern "C" {

void OSK_CALL OCS_SetGeneralFilters(HOCSINSTANCE instance, const char* filterForm) {
  if (!instance) return;
  if (!filterForm) {
    instance->core.setGeneralFilters({});
    return;
  }
  // Read only as far as the list's final zero: the caller's buffer may be shorter than the longest list.
  size_t length = 0;
  while (length + 1 < osk::kFileTypesSize && !(filterForm[length] == '\0' && filterForm[length + 1] == '\0'))
    ++length;
  instance->core.setGeneralFilters(osk::parseFileTypes(std::span(filterForm, length + 1)));
}

void OSK_CALL OCS_fvSetUseLongFileNames(HOCSINSTANCE instance, int32_t useLongFileNames, int32_t useExplorerType) {
  if (instance) instance->core.setLongFileNames(useLongFileNames != 0, useExplorerType != 0);
}

HPALETTE OSK_CALL OCS_CreateDisplayPalette(void) {
  HDC screen = GetDC(nullptr);
  if (!screen) return nullptr;
  HPALETTE palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? CreateHalftonePalette(screen) : nullptr;
  ReleaseDC(nullptr, screen);
  return palette;
}

}  // extern "C"

namespace {

struct CharState {
  HFONT font;
  char character = 0;
};

INT_PTR CALLBACK charProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<CharState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      s = reinterpret_cast<CharState*>(lParam);
      SendDlgItemMessageA(dialog, IDC_GET_CHAR, EM_LIMITTEXT, 1, 0);
      if (s->font) SendDlgItemMessageA(dialog, IDC_GET_CHAR, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), FALSE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const std::string text = osk::win32::controlText(dialog, IDC_GET_CHAR);
        s->character = text.empty() ? '\0' : text[0];
        EndDialog(dialog, text.empty() ? 0 : 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

extern "C" int32_t OSK_CALL OCS_fbGetChar(HOCSINSTANCE instance, OskWindow owner, void* font, char* character) {
  if (!instance || !character) return 0;
  CharState state{static_cast<HFONT>(font)};
  const INT_PTR result = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_GET_CHAR),
                                         reinterpret_cast<HWND>(owner), charProc, reinterpret_cast<LPARAM>(&state));
  if (result != 1) return 0;
  *character = state.character;
  return 1;
}
