// The system side of the Open Bar's worker: change notifications, the wake event, file enumeration and the
// message that tells the window a list was scanned.
#include <windows.h>

#include "services/win32/openbar_win32.h"

namespace osk::win32 {

Win32WatchPlatform::Win32WatchPlatform() { wakeEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr); }

Win32WatchPlatform::~Win32WatchPlatform() {
  if (wakeEvent_) CloseHandle(wakeEvent_);
}

WatchId Win32WatchPlatform::watch(const std::string& directory) {
  const HANDLE h = FindFirstChangeNotificationA(directory.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  return h == INVALID_HANDLE_VALUE || !h ? 0 : reinterpret_cast<WatchId>(h);
}

bool Win32WatchPlatform::rearm(WatchId watch) {
  return FindNextChangeNotification(reinterpret_cast<HANDLE>(watch)) != 0;
}

void Win32WatchPlatform::unwatch(WatchId watch) { FindCloseChangeNotification(reinterpret_cast<HANDLE>(watch)); }

int Win32WatchPlatform::wait(const std::vector<WatchId>& watches, int32_t timeoutMs) {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  DWORD n = 0;
  handles[n++] = wakeEvent_;
  for (WatchId w : watches) {
    if (n == MAXIMUM_WAIT_OBJECTS) break;
    handles[n++] = reinterpret_cast<HANDLE>(w);
  }
  const DWORD r = WaitForMultipleObjects(n, handles, FALSE, timeoutMs == kForever ? INFINITE : DWORD(timeoutMs));
  if (r == WAIT_OBJECT_0) return kWoken;
  if (r > WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + n) return static_cast<int>(r - WAIT_OBJECT_0 - 1);
  if (r == WAIT_TIMEOUT) return kTimedOut;
  return kFailed;
}

void Win32WatchPlatform::wake() { SetEvent(wakeEvent_); }

void Win32WatchPlatform::sleep(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }

bool Win32WatchPlatform::enumerate(const std::string& directory, const std::string& pattern,
                                   const std::function<bool(const std::string&)>& each) {
  WIN32_FIND_DATAA found;
  const HANDLE h = FindFirstFileA(joinPath(directory, pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) {
    // No match in a directory that is there is an empty result, not a failure.
    const DWORD attributes = GetFileAttributesA(directory.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!each(found.cFileName)) break;
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return true;
}

void Win32WatchPlatform::rescanned(uint32_t id) {
  if (HWND w = window_) PostMessageA(w, kMsgListRescanned, id, 0);
}

}  // namespace osk::win32
