#include "box_recorder.h"

#include <windows.h>

#include <cstring>
#include <set>

namespace osk::test {
namespace {

HHOOK g_hook = nullptr;
std::string g_caption;
std::set<HWND> g_answered;

BOOL CALLBACK collectText(HWND child, LPARAM out) {
  char cls[32] = {}, text[512] = {};
  GetClassNameA(child, cls, sizeof cls);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(cls, "Static") == 0 && text[0]) *reinterpret_cast<std::string*>(out) += text;
  return TRUE;
}

LRESULT CALLBACK boxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char cls[32] = {}, caption[64] = {};
    GetClassNameA(box, cls, sizeof cls);
    GetWindowTextA(box, caption, sizeof caption);
    if (std::strcmp(cls, "#32770") == 0 && (g_caption.empty() || g_caption == caption) &&
        g_answered.insert(box).second) {
      std::string text;
      EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&text));
      recordedBoxes().push_back(std::string(caption) + "|" + text);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

bool startRecordingBoxes(const char* caption) {
  stopRecordingBoxes();
  g_caption = caption != nullptr ? caption : "";
  g_answered.clear();
  g_hook = SetWindowsHookExA(WH_CBT, boxHook, nullptr, GetCurrentThreadId());
  return g_hook != nullptr;
}

void stopRecordingBoxes() {
  if (g_hook != nullptr) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

std::vector<std::string>& recordedBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}

}  // namespace osk::test
