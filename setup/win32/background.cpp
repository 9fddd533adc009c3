#include "setup/win32/background.h"

#include "setup/install_rules.h"

namespace osk::setup {

namespace {

constexpr int kBands = 64;

struct BackgroundTexts {
  std::string title;
  std::string displayLine;
  HPALETTE palette = nullptr;
};

HPALETTE makePalette() {
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[kBands];
  } palette{0x300, kBands, {}};
  for (int i = 0; i < kBands; ++i) palette.entries[i] = {0, 0, bandBlue(i), 0};
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
}

HFONT boldArial(int height) {
  return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
}

void paint(HWND window, const BackgroundTexts& texts) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  HPALETTE oldPalette = texts.palette ? SelectPalette(dc, texts.palette, FALSE) : nullptr;
  if (texts.palette) RealizePalette(dc);
  RECT client;
  GetClientRect(window, &client);
  const int band = (client.bottom + kBands - 1) / kBands;
  for (int i = 0; i < kBands; ++i) {
    RECT r{0, i * band, client.right, (i + 1) * band};
    HBRUSH brush = CreateSolidBrush(PALETTERGB(0, 0, bandBlue(i)));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  const int screen = GetSystemMetrics(SM_CYSCREEN);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HFONT big = boldArial(screen / 8);
  HFONT oldFont = static_cast<HFONT>(SelectObject(dc, big));
  TextOutA(dc, 0, 0, texts.title.c_str(), static_cast<int>(texts.title.size()));
  HFONT small = boldArial(screen / 16);
  SelectObject(dc, small);
  RECT corner{0, 0, client.right - 10, client.bottom - 10};
  DrawTextA(dc, texts.displayLine.c_str(), static_cast<int>(texts.displayLine.size()), &corner,
            DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  DeleteObject(big);
  DeleteObject(small);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK backgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* texts = reinterpret_cast<BackgroundTexts*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_PAINT:
      if (texts) {
        paint(window, *texts);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      if (texts) {
        if (texts->palette) DeleteObject(texts->palette);
        delete texts;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      }
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createBackground(HINSTANCE instance, const std::string& caption, const std::string& title,
                      const std::string& displayLine) {
  static const char* const kClass = "Setup Main Class";
  WNDCLASSA existing;
  if (!GetClassInfoA(instance, kClass, &existing)) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = backgroundProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(instance, MAKEINTRESOURCE(1));
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  auto* texts = new BackgroundTexts{title, displayLine, makePalette()};
  HWND window = CreateWindowExA(0, kClass, caption.c_str(), WS_POPUP | WS_MAXIMIZE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                instance, texts);
  if (window == nullptr) {
    if (texts->palette) DeleteObject(texts->palette);
    delete texts;
    return nullptr;
  }
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  return window;
}

}  // namespace osk::setup
