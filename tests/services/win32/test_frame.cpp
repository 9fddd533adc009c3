#include "test_frame.h"

namespace osk::test {

HWND createTestFrame(const char* windowClass, WNDPROC proc, RECT place, DWORD style) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = windowClass;
  // Registered by the first frame; the later ones find the class there.
  if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return CreateWindowA(windowClass, "OSK", style, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string programDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length);
  return full.substr(0, full.find_last_of('\\'));
}

}  // namespace osk::test
