// The print options dialog: the "&Options" page (wrapping, columns, page margins, line numbers, header and footer,
// colours and fonts per class) and the "&Printer" page (paper size, orientation, colour).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "services/ocs_print_api.h"
#include "services/print/header_template.h"
#include "services/win32/instance_win32.h"
#include "services/win32/print_resource.h"
#include "services/win32/print_win32.h"
#include "services/win32/profile_win32.h"

namespace {

using osk::print::PrintClass;
using osk::print::LayoutOptions;
using osk::print::WrapOption;

HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

struct SettingsData {
  OcsInstance* instance = nullptr;
  LayoutOptions options;
  std::vector<PrintClass> classes;
  bool havePrinter = false;
  std::vector<char> devMode;   // a copy of the printer's DEVMODEA the Printer page edits
  int paperWidth = 0;          // millimetres as shown when the page opened
  int paperHeight = 0;
  bool ok = false;
};

int readInt(HWND dialog, int id, int fallback) {
  char text[32] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  return end == text ? fallback : static_cast<int>(v);
}

void setInt(HWND dialog, int id, int value) { SetDlgItemInt(dialog, id, static_cast<UINT>(value), TRUE); }

std::string readText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// --- Colours of one class -------------------------------------------------------------------------------------

struct ClassEdit {
  PrintClass* edited;
  PrintClass copy;
  bool first;
};

bool chooseColour(HWND owner, uint32_t& colour) {
  static COLORREF custom[16] = {};
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = colour;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return false;
  colour = cc.rgbResult;
  return true;
}

void showColourState(HWND dialog, const ClassEdit& e) {
  const bool screen = e.copy.useScreenColours;
  CheckDlgButton(dialog, IDC_USE_DEFAULTS, screen ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_NORMAL_BACK,
                 (screen ? e.copy.screenUsesNormalBack : e.copy.ownUsesNormalBack) ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(dialog, IDC_TEXT_COLOUR), !screen);
  EnableWindow(GetDlgItem(dialog, IDC_BACK_COLOUR), !screen);
  EnableWindow(GetDlgItem(dialog, IDC_NORMAL_BACK), !e.first);
  InvalidateRect(GetDlgItem(dialog, IDC_COLOUR_SAMPLE), nullptr, TRUE);
}

INT_PTR CALLBACK coloursProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* e = reinterpret_cast<ClassEdit*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      e = reinterpret_cast<ClassEdit*>(lParam);
      SetWindowTextA(dialog, ("Print Colours: " + e->copy.name).c_str());
      showColourState(dialog, *e);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (e && reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, IDC_COLOUR_SAMPLE)) {
        const bool screen = e->copy.useScreenColours;
        SetTextColor(reinterpret_cast<HDC>(wParam), screen ? e->copy.screen.fore : e->copy.textColour);
        SetBkColor(reinterpret_cast<HDC>(wParam), screen && e->copy.screen.back != osk::print::kNoColour
                                                      ? e->copy.screen.back
                                                      : (screen ? 0xFFFFFF : e->copy.backColour));
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_USE_DEFAULTS:
          e->copy.useScreenColours = IsDlgButtonChecked(dialog, IDC_USE_DEFAULTS) == BST_CHECKED;
          showColourState(dialog, *e);
          return TRUE;
        case IDC_NORMAL_BACK: {
          const bool on = IsDlgButtonChecked(dialog, IDC_NORMAL_BACK) == BST_CHECKED;
          (e->copy.useScreenColours ? e->copy.screenUsesNormalBack : e->copy.ownUsesNormalBack) = on;
          showColourState(dialog, *e);
          return TRUE;
        }
        case IDC_TEXT_COLOUR:
          if (chooseColour(dialog, e->copy.textColour)) showColourState(dialog, *e);
          return TRUE;
        case IDC_BACK_COLOUR:
          if (chooseColour(dialog, e->copy.backColour)) showColourState(dialog, *e);
          return TRUE;
        case IDOK:
          *e->edited = e->copy;
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
      }
      break;
  }
  return FALSE;
}

// --- Font of one class ----------------------------------------------------------------------------------------

int CALLBACK addFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM combo) {
  if (font->lfFaceName[0] != '@' &&
      SendMessageA(reinterpret_cast<HWND>(combo), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(font->lfFaceName)) == CB_ERR) {
    SendMessageA(reinterpret_cast<HWND>(combo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
  }
  return 1;
}

void enableFontControls(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_FONT_FACE), IsDlgButtonChecked(dialog, IDC_FACE_AS_NORMAL) != BST_CHECKED);
  EnableWindow(GetDlgItem(dialog, IDC_FONT_STYLE), IsDlgButtonChecked(dialog, IDC_STYLE_AS_NORMAL) != BST_CHECKED);
  EnableWindow(GetDlgItem(dialog, IDC_FONT_SIZE), IsDlgButtonChecked(dialog, IDC_SIZE_AS_NORMAL) != BST_CHECKED);
}

INT_PTR CALLBACK fontsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* e = reinterpret_cast<ClassEdit*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      e = reinterpret_cast<ClassEdit*>(lParam);
      SetWindowTextA(dialog, ("Print Font: " + e->copy.name).c_str());
      HWND faces = GetDlgItem(dialog, IDC_FONT_FACE);
      HDC dc = GetDC(dialog);
      LOGFONTA all{};
      all.lfCharSet = DEFAULT_CHARSET;
      EnumFontFamiliesExA(dc, &all, addFace, reinterpret_cast<LPARAM>(faces), 0);
      ReleaseDC(dialog, dc);
      SendMessageA(faces, CB_LIMITTEXT, osk::print::kFaceMax, 0);
      SetWindowTextA(faces, osk::print::usableFace(e->copy.face).c_str());
      HWND styles = GetDlgItem(dialog, IDC_FONT_STYLE);
      for (const char* s : {"Regular", "Bold", "Italic", "Bold Italic"}) {
        SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
      }
      SendMessageA(styles, CB_SETCURSEL, (e->copy.bold ? 1 : 0) + (e->copy.italic ? 2 : 0), 0);
      setInt(dialog, IDC_FONT_SIZE, e->copy.height < 0 ? -e->copy.height : e->copy.height);
      CheckDlgButton(dialog, IDC_FACE_AS_NORMAL, e->copy.faceAsNormal ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(dialog, IDC_STYLE_AS_NORMAL, e->copy.styleAsNormal ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(dialog, IDC_SIZE_AS_NORMAL, e->copy.sizeAsNormal ? BST_CHECKED : BST_UNCHECKED);
      if (e->first) {
        for (int id : {IDC_FACE_AS_NORMAL, IDC_STYLE_AS_NORMAL, IDC_SIZE_AS_NORMAL}) {
          CheckDlgButton(dialog, id, BST_UNCHECKED);
          EnableWindow(GetDlgItem(dialog, id), FALSE);
        }
      }
      enableFontControls(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_FACE_AS_NORMAL:
        case IDC_STYLE_AS_NORMAL:
        case IDC_SIZE_AS_NORMAL: enableFontControls(dialog); return TRUE;
        case IDOK: {
          const int size = readInt(dialog, IDC_FONT_SIZE, 0);
          if (size < 1 || size > 999) {
            MessageBeep(MB_ICONEXCLAMATION);
            MessageBoxA(dialog, "The font size must be a number from 1 to 999.", "OSK", MB_OK | MB_ICONEXCLAMATION);
            SetFocus(GetDlgItem(dialog, IDC_FONT_SIZE));
            return TRUE;
          }
          PrintClass& c = e->copy;
          c.face = osk::print::usableFace(readText(dialog, IDC_FONT_FACE));
          const LRESULT style = SendDlgItemMessageA(dialog, IDC_FONT_STYLE, CB_GETCURSEL, 0, 0);
          c.bold = style == 1 || style == 3;
          c.italic = style == 2 || style == 3;
          c.height = -size;
          c.faceAsNormal = IsDlgButtonChecked(dialog, IDC_FACE_AS_NORMAL) == BST_CHECKED;
          c.styleAsNormal = IsDlgButtonChecked(dialog, IDC_STYLE_AS_NORMAL) == BST_CHECKED;
          c.sizeAsNormal = IsDlgButtonChecked(dialog, IDC_SIZE_AS_NORMAL) == BST_CHECKED;
          *e->edited = c;
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
      }
      break;
  }
  return FALSE;
}

// --- The Options page -----------------------------------------------------------------------------------------

void enableParagraphControls(HWND page) {
  const bool paragraph = IsDlgButtonChecked(page, IDC_WRAP_PARAGRAPH) == BST_CHECKED;
  const bool automatic = IsDlgButtonChecked(page, IDC_AUTO_CALCULATE) == BST_CHECKED;
  EnableWindow(GetDlgItem(page, IDC_AUTO_CALCULATE), paragraph);
  EnableWindow(GetDlgItem(page, IDC_LEFT_MARGIN), paragraph && !automatic);
  EnableWindow(GetDlgItem(page, IDC_FIRST_LINE_INDENT), paragraph && !automatic);
  const bool numbers = IsDlgButtonChecked(page, IDC_LINE_NUMBERS) == BST_CHECKED;
  EnableWindow(GetDlgItem(page, IDC_START), numbers);
  EnableWindow(GetDlgItem(page, IDC_STEP), numbers);
}

void insertCode(HWND page, int editId) {
  const LRESULT pick = SendDlgItemMessageA(page, IDC_CODES, CB_GETCURSEL, 0, 0);
  if (pick < 0 || pick >= static_cast<LRESULT>(std::size(osk::print::kTemplateCodes))) {
    MessageBeep(MB_OK);
    return;
  }
  HWND edit = GetDlgItem(page, editId);
  SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(osk::print::kTemplateCodes[pick].code));
  SetFocus(edit);
}

void editClass(HWND page, SettingsData& data, bool colours) {
  const LRESULT index = SendDlgItemMessageA(page, IDC_CLASSES, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= data.classes.size()) {
    MessageBeep(MB_OK);
    return;
  }
  ClassEdit edit{&data.classes[static_cast<size_t>(index)], data.classes[static_cast<size_t>(index)], index == 0};
  DialogBoxParamA(thisModule(), MAKEINTRESOURCEA(colours ? IDD_PRINT_COLOURS : IDD_PRINT_FONTS), page,
                  colours ? coloursProc : fontsProc, reinterpret_cast<LPARAM>(&edit));
}

bool readOptionsPage(HWND page, LayoutOptions& o) {
  struct Field {
    int id;
    int32_t* value;
    int low;
    int high;
    const char* name;
  };
  LayoutOptions n = o;
  n.wrap = IsDlgButtonChecked(page, IDC_WRAP_CHARACTER) == BST_CHECKED   ? WrapOption::kCharacter
           : IsDlgButtonChecked(page, IDC_WRAP_WORD) == BST_CHECKED      ? WrapOption::kWord
           : IsDlgButtonChecked(page, IDC_WRAP_PARAGRAPH) == BST_CHECKED ? WrapOption::kParagraph
                                                                         : WrapOption::kTruncate;
  n.paraAutoCalculateMargins = IsDlgButtonChecked(page, IDC_AUTO_CALCULATE) == BST_CHECKED;
  n.numColumns = IsDlgButtonChecked(page, IDC_DOUBLE_COLUMNS) == BST_CHECKED ? 2 : 1;
  n.lineNumbers = IsDlgButtonChecked(page, IDC_LINE_NUMBERS) == BST_CHECKED;
  const Field fields[] = {
      {IDC_LEFT_MARGIN, &n.leftMargin, 0, 1024, "Left margin"},
      {IDC_FIRST_LINE_INDENT, &n.firstLineIndent, 0, 1024, "First line indent"},
      {IDC_PAGE_LEFT, &n.pageLeftMargin, 0, 1000, "Left page margin"},
      {IDC_PAGE_RIGHT, &n.pageRightMargin, 0, 1000, "Right page margin"},
      {IDC_PAGE_TOP, &n.pageTopMargin, 0, 1000, "Top page margin"},
      {IDC_PAGE_BOTTOM, &n.pageBottomMargin, 0, 1000, "Bottom page margin"},
      {IDC_START, &n.start, -999999999, 999999999, "Start"},
      {IDC_STEP, &n.step, 1, 999999, "Step"},
  };
  for (const Field& f : fields) {
    const int v = readInt(page, f.id, f.low - 1);
    if (v < f.low || v > f.high) {
      char text[160];
      std::snprintf(text, sizeof text, "%s must be a number from %d to %d.", f.name, f.low, f.high);
      MessageBeep(MB_ICONEXCLAMATION);
      MessageBoxA(page, text, "OSK", MB_OK | MB_ICONEXCLAMATION);
      SetFocus(GetDlgItem(page, f.id));
      return false;
    }
    *f.value = v;
  }
  n.header = readText(page, IDC_HEADER);
  n.footer = readText(page, IDC_FOOTER);
  o = n;
  return true;
}

INT_PTR CALLBACK optionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* data = reinterpret_cast<SettingsData*>(GetWindowLongPtrA(page, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      data = reinterpret_cast<SettingsData*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
      SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
      const LayoutOptions& o = data->options;
      CheckRadioButton(page, IDC_WRAP_TRUNCATE, IDC_WRAP_PARAGRAPH, IDC_WRAP_TRUNCATE + static_cast<int>(o.wrap));
      CheckDlgButton(page, IDC_AUTO_CALCULATE, o.paraAutoCalculateMargins ? BST_CHECKED : BST_UNCHECKED);
      CheckRadioButton(page, IDC_SINGLE_COLUMN, IDC_DOUBLE_COLUMNS,
                       o.numColumns == 2 ? IDC_DOUBLE_COLUMNS : IDC_SINGLE_COLUMN);
      CheckDlgButton(page, IDC_LINE_NUMBERS, o.lineNumbers ? BST_CHECKED : BST_UNCHECKED);
      setInt(page, IDC_LEFT_MARGIN, o.leftMargin);
      setInt(page, IDC_FIRST_LINE_INDENT, o.firstLineIndent);
      setInt(page, IDC_PAGE_LEFT, o.pageLeftMargin);
      setInt(page, IDC_PAGE_RIGHT, o.pageRightMargin);
      setInt(page, IDC_PAGE_TOP, o.pageTopMargin);
      setInt(page, IDC_PAGE_BOTTOM, o.pageBottomMargin);
      setInt(page, IDC_START, o.start);
      setInt(page, IDC_STEP, o.step);
      SendDlgItemMessageA(page, IDC_HEADER, EM_LIMITTEXT, 255, 0);
      SendDlgItemMessageA(page, IDC_FOOTER, EM_LIMITTEXT, 255, 0);
      SetDlgItemTextA(page, IDC_HEADER, o.header.c_str());
      SetDlgItemTextA(page, IDC_FOOTER, o.footer.c_str());
      for (const auto& code : osk::print::kTemplateCodes) {
        SendDlgItemMessageA(page, IDC_CODES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(code.name));
      }
      SendDlgItemMessageA(page, IDC_CODES, CB_SETCURSEL, 0, 0);
      for (const PrintClass& c : data->classes) {
        SendDlgItemMessageA(page, IDC_CLASSES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name.c_str()));
      }
      SendDlgItemMessageA(page, IDC_CLASSES, LB_SETCURSEL, 0, 0);
      enableParagraphControls(page);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_WRAP_TRUNCATE:
        case IDC_WRAP_CHARACTER:
        case IDC_WRAP_WORD:
        case IDC_WRAP_PARAGRAPH:
        case IDC_AUTO_CALCULATE:
        case IDC_LINE_NUMBERS: enableParagraphControls(page); break;
        case IDC_INSERT_HEADER: insertCode(page, IDC_HEADER); break;
        case IDC_INSERT_FOOTER: insertCode(page, IDC_FOOTER); break;
        case IDC_COLOURS: editClass(page, *data, true); break;
        case IDC_FONTS: editClass(page, *data, false); break;
        case IDC_CLASSES:
          if (HIWORD(wParam) == LBN_DBLCLK) editClass(page, *data, true);
          break;
      }
      return TRUE;
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<NMHDR*>(lParam);
      if (note->code == PSN_KILLACTIVE || note->code == PSN_APPLY) {
        LayoutOptions o = data->options;
        const bool ok = readOptionsPage(page, o);
        if (ok) data->options = o;
        if (note->code == PSN_APPLY && ok) data->ok = true;
        SetWindowLongPtrA(page, DWLP_MSGRESULT,
                          note->code == PSN_APPLY ? (ok ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE) : !ok);
        return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

// --- The Printer page -----------------------------------------------------------------------------------------

DEVMODEA* modeOf(SettingsData& data) {
  return data.devMode.size() >= sizeof(DEVMODEA) ? reinterpret_cast<DEVMODEA*>(data.devMode.data()) : nullptr;
}

INT_PTR CALLBACK printerPageProc(HWND page, UINT message, WPARAM, LPARAM lParam) {
  auto* data = reinterpret_cast<SettingsData*>(GetWindowLongPtrA(page, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      data = reinterpret_cast<SettingsData*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
      SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
      osk::win32::PrintState& state = osk::win32::printStateOf(*data->instance);
      DEVMODEA* mode = modeOf(*data);
      if (!data->havePrinter || !mode) {
        SetDlgItemTextA(page, IDC_PRINTER_NAME, "No Printers installed");
        for (int id : {IDC_PAPER_WIDTH, IDC_PAPER_HEIGHT, IDC_PORTRAIT, IDC_LANDSCAPE, IDC_MONOCHROME, IDC_COLOUR}) {
          EnableWindow(GetDlgItem(page, id), FALSE);
        }
        return TRUE;
      }
      SetDlgItemTextA(page, IDC_PRINTER_NAME, osk::win32::printerName(state).c_str());
      HDC dc = osk::win32::createPrinterDC(state);
      if (dc) {
        const int dpiX = std::max(GetDeviceCaps(dc, LOGPIXELSX), 1);
        const int dpiY = std::max(GetDeviceCaps(dc, LOGPIXELSY), 1);
        data->paperWidth = MulDiv(GetDeviceCaps(dc, PHYSICALWIDTH), 254, dpiX * 10);
        data->paperHeight = MulDiv(GetDeviceCaps(dc, PHYSICALHEIGHT), 254, dpiY * 10);
        DeleteDC(dc);
      }
      const bool landscape = (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
      if (landscape) std::swap(data->paperWidth, data->paperHeight);
      setInt(page, IDC_PAPER_WIDTH, data->paperWidth);
      setInt(page, IDC_PAPER_HEIGHT, data->paperHeight);
      CheckRadioButton(page, IDC_PORTRAIT, IDC_LANDSCAPE, landscape ? IDC_LANDSCAPE : IDC_PORTRAIT);
      const bool colour = !(mode->dmFields & DM_COLOR) || mode->dmColor == DMCOLOR_COLOR;
      CheckRadioButton(page, IDC_MONOCHROME, IDC_COLOUR, colour ? IDC_COLOUR : IDC_MONOCHROME);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* note = reinterpret_cast<NMHDR*>(lParam);
      if (note->code != PSN_APPLY) break;
      DEVMODEA* mode = modeOf(*data);
      if (data->havePrinter && mode) {
        const int width = readInt(page, IDC_PAPER_WIDTH, 0);
        const int height = readInt(page, IDC_PAPER_HEIGHT, 0);
        if (width != data->paperWidth || height != data->paperHeight) {
          if (width < 10 || height < 10 || width > 5000 || height > 5000) {
            osk::win32::showError(page, "Failed to change printer settings");
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return TRUE;
          }
          mode->dmFields |= DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
          mode->dmPaperSize = DMPAPER_USER;
          mode->dmPaperWidth = static_cast<short>(width * 10);
          mode->dmPaperLength = static_cast<short>(height * 10);
        }
        mode->dmFields |= DM_ORIENTATION | DM_COLOR;
        mode->dmOrientation = IsDlgButtonChecked(page, IDC_LANDSCAPE) == BST_CHECKED ? DMORIENT_LANDSCAPE
                                                                                     : DMORIENT_PORTRAIT;
        mode->dmColor = IsDlgButtonChecked(page, IDC_MONOCHROME) == BST_CHECKED ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
        // The driver checks the changes and completes its own part of the record.
        osk::win32::PrintState& state = osk::win32::printStateOf(*data->instance);
        std::string name = osk::win32::printerName(state);
        HANDLE printer = nullptr;
        LONG size = -1;
        std::vector<char> out;
        if (OpenPrinterA(name.data(), &printer, nullptr)) {
          size = DocumentPropertiesA(page, printer, name.data(), nullptr, nullptr, 0);
          if (size > 0) {
            out.resize(static_cast<size_t>(size));
            size = DocumentPropertiesA(page, printer, name.data(), reinterpret_cast<DEVMODEA*>(out.data()), mode,
                                       DM_IN_BUFFER | DM_OUT_BUFFER);
          }
          ClosePrinter(printer);
        }
        HGLOBAL global = size == IDOK ? GlobalAlloc(GMEM_MOVEABLE, out.size()) : nullptr;
        void* bytes = global ? GlobalLock(global) : nullptr;
        if (!bytes) {
          if (global) GlobalFree(global);
          osk::win32::showError(page, "Failed to change printer settings");
          SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
          return TRUE;
        }
        memcpy(bytes, out.data(), out.size());
        GlobalUnlock(global);
        if (state.devMode) GlobalFree(state.devMode);
        state.devMode = global;
      }
      SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

extern "C" int32_t OSK_CALL OCS_PrintSettingsDlg(HOCSINSTANCE instance, OskWindow parentWindow) {
  if (!instance) return 0;
  HWND parent = reinterpret_cast<HWND>(parentWindow);
  osk::win32::PrintState& state = osk::win32::printStateOf(*instance);
  SettingsData data;
  data.instance = instance;
  osk::win32::ProfileSettings settings(instance->core.settingsPath());
  data.options = osk::print::loadPrintOptions(settings);
  data.classes = osk::win32::loadClasses(settings);
  data.havePrinter = osk::win32::choosePrinter(state);
  if (!data.havePrinter) {
    osk::win32::showError(parent, "No Printers installed");
  } else if (state.devMode) {
    const SIZE_T size = GlobalSize(state.devMode);
    if (const void* mode = GlobalLock(state.devMode)) {
      data.devMode.assign(static_cast<const char*>(mode), static_cast<const char*>(mode) + size);
      GlobalUnlock(state.devMode);
    }
  }

  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  PROPSHEETPAGEA pages[2] = {};
  const int ids[2] = {IDD_PRINT_OPTIONS, IDD_PRINT_PRINTER};
  DLGPROC procs[2] = {optionsPageProc, printerPageProc};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].hInstance = thisModule();
    pages[i].pszTemplate = MAKEINTRESOURCEA(ids[i]);
    pages[i].pfnDlgProc = procs[i];
    pages[i].lParam = reinterpret_cast<LPARAM>(&data);
  }
  PROPSHEETHEADERA sheet{};
  sheet.dwSize = sizeof sheet;
  sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  sheet.hwndParent = parent;
  sheet.hInstance = thisModule();
  sheet.pszCaption = "Print Options";
  sheet.nPages = 2;
  sheet.ppsp = pages;
  if (PropertySheetA(&sheet) <= 0 || !data.ok) return 0;
  const bool saved = osk::print::savePrintOptions(settings, data.options) &&
                     osk::print::savePrintClasses(settings, data.classes);
  if (!saved) osk::win32::showError(parent, "The print options could not be saved in the settings file.");
  return 1;
}
