// The Win32 edge of keystroke macros: a message hook on the program's own thread catches key messages while
// recording and sees injected ones taken while playing; the hidden macro window serves the recorder's reports; the
// help hook turns F1 into a help request and eats Esc.
//
// Recording keeps the keyboard messages the thread takes from its queue (key and system key downs and ups); the
// characters that TranslateMessage makes from them are made again on playback, so they are not recorded. Playback
// posts one recorded message at a time to the focus window, with the thread's keyboard state set as recorded, and
// posts the next only after the program has dealt with the one taken. Key messages typed by the user meanwhile
// are dropped, as a system playback would lock the keyboard.
#include <windows.h>

#include "engine/lang/macro_file.h"
#include "engine/lang/macro_recorder.h"
#include "engine/oek_api.h"

namespace {

using namespace osk::macro;

constexpr UINT kReportMessage = WM_USER;        // wParam report code, lParam session
constexpr UINT kAdvanceMessage = WM_USER + 1;   // lParam session
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kWatchdogMs = 250;
// An injected message not taken by then went to a window that vanished; the player moves on.
constexpr DWORD kLostAfterMs = 500;
constexpr int kHelpButtons[] = {9, 57670, 57671};

bool isHardwareKey(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

HINSTANCE libraryModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&libraryModule), &module);
  return module;
}

bool registerMacroClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = OEK_WndProc;
  wc.hInstance = libraryModule();
  wc.lpszClassName = OEK_MACRO_WINDOW_CLASS;
  registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

class Win32Host final : public MacroHost {
 public:
  HWND owner = nullptr;
  HWND window = nullptr;
  HHOOK hook = nullptr;
  bool playingSession = false;
  struct Pending {
    bool active = false;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD since = 0;
  } pending;

  bool foregroundIsOurs() override {
    HWND foreground = GetForegroundWindow();
    return foreground != nullptr && GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId();
  }
  bool escDown() override { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }
  uint32_t tickCount() override { return GetTickCount(); }

  bool openSession(bool playing) override {
    if (!registerMacroClass()) return false;
    window = CreateWindowExA(0, OEK_MACRO_WINDOW_CLASS, "", WS_POPUP, 0, 0, 100, 100, owner, nullptr,
                             libraryModule(), nullptr);
    if (window == nullptr) return false;
    hook = SetWindowsHookExA(WH_GETMESSAGE, OEK_flKeyFilterFunc, nullptr, GetCurrentThreadId());
    if (hook == nullptr) {
      HWND w = window;
      window = nullptr;
      DestroyWindow(w);
      return false;
    }
    playingSession = playing;
    pending.active = false;
    if (playing) {
      markKeysUp();
      SetTimer(window, kWatchdogTimer, kWatchdogMs, nullptr);
    }
    return true;
  }
  void stopHook() override {
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    hook = nullptr;
    pending.active = false;
    if (window != nullptr) KillTimer(window, kWatchdogTimer);
  }
  void closeSession() override {
    HWND w = window;
    window = nullptr;
    if (w != nullptr) DestroyWindow(w);
  }
  void postReport(int32_t report, uint32_t session) override {
    PostMessageA(window, kReportMessage, static_cast<WPARAM>(report), static_cast<LPARAM>(session));
  }
  void postAdvance(uint32_t session) override {
    PostMessageA(window, kAdvanceMessage, 0, static_cast<LPARAM>(session));
  }
  void inject(const MacroEvent& event) override {
    HWND target = GetFocus();
    if (target == nullptr) target = GetActiveWindow();
    if (target == nullptr) target = owner;
    pending.active = true;
    pending.message = event.message;
    pending.wParam = event.paramL & 0xFF;
    DWORD flags = (event.paramL >> 8) & 0xFFFF;
    // Macros written by older recorders keep only the scan code: the extended bit lives in paramH, and key-ups
    // lack their transition bits.
    if (event.paramH & 0x8000) flags |= KF_EXTENDED;
    if (event.message == WM_KEYUP || event.message == WM_SYSKEYUP) flags |= KF_UP | KF_REPEAT;
    pending.lParam = static_cast<LPARAM>(static_cast<DWORD>((event.paramH & 0x7FFF) | flags << 16));
    pending.since = GetTickCount();
    if (!PostMessageA(target, pending.message, pending.wParam, pending.lParam)) {
      PostThreadMessageA(GetCurrentThreadId(), pending.message, pending.wParam, pending.lParam);
    }
  }
  void setKeys(const KeyState& keys) override {
    BYTE state[256];
    if (!GetKeyboardState(state)) return;
    keys.writeInto(state);
    SetKeyboardState(state);
  }
  void markKeysUp() override { OEK_fvCheckNoKeyDown(); }
  void showNotice(Notice notice) override {
    UINT style = MB_OK | MB_ICONSTOP;
    if (notice != Notice::kPlaybackAborted) style |= MB_SYSTEMMODAL;
    MessageBeep(MB_ICONSTOP);
    MessageBoxA(IsWindow(owner) ? owner : nullptr, noticeText(notice), "OSK", style);
  }
  void notifyOwner(OwnerCode code) override {
    if (IsWindow(owner)) SendMessageA(owner, OEK_NOTIFY, static_cast<WPARAM>(code), 0);
  }

  // The watchdog: a pending message still not taken by now was lost with its window.
  bool lost() const { return pending.active && GetTickCount() - pending.since > kLostAfterMs; }
};

Win32Host gHost;
MacroRecorder gRecorder(gHost);
HHOOK gHelpHook = nullptr;
HWND gHelpWindow = nullptr;

MacroEvent eventOf(const MSG& msg) {
  MacroEvent e;
  // Only the thread's keyboard messages count; everything else (characters included) is passed as "no key" so
  // that the recorder still sees the foreground change.
  e.message = isHardwareKey(msg.message) ? msg.message : 0;
  const auto flags = static_cast<uint32_t>(HIWORD(msg.lParam));
  e.paramL = static_cast<uint32_t>(msg.wParam & 0xFF) | flags << 8;
  e.paramH = static_cast<uint32_t>(msg.lParam & 0x7FFF) | ((flags & KF_EXTENDED) ? 0x8000u : 0u);
  e.time = static_cast<uint32_t>(msg.time);
  e.window = msg.hwnd;
  return e;
}

void requestHelp() {
  HWND active = GetActiveWindow();
  if (active != nullptr && active != gHelpWindow) {
    for (int id : kHelpButtons) {
      HWND button = GetDlgItem(active, id);
      if (button != nullptr) {
        PostMessageA(active, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return;
      }
    }
  }
  if (gHelpWindow != nullptr) PostMessageA(gHelpWindow, OEK_HELP_REQUEST, 0, 0);
}

LRESULT CALLBACK helpHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && wParam == PM_REMOVE) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && gRecorder.shouldEatEsc(msg.time)) {
      msg.message = WM_NULL;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && GetKeyState(VK_SHIFT) >= 0 &&
               GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
      msg.message = WM_NULL;
      requestHelp();
    }
  }
  return CallNextHookEx(gHelpHook, code, wParam, lParam);
}

}  // namespace

extern "C" {

intptr_t OSK_CALL OEK_flKeyFilterFunc(int code, uintptr_t wParam, intptr_t lParam) {
  if (code >= 0 && wParam == PM_REMOVE) {
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    if (gRecorder.recording()) {
      gRecorder.recorded(eventOf(msg));
    } else if (gRecorder.playing()) {
      const auto& p = gHost.pending;
      if (p.active && msg.message == p.message && msg.wParam == p.wParam && msg.lParam == p.lParam) {
        gHost.pending.active = false;
        gRecorder.taken();
      } else if (isHardwareKey(msg.message)) {
        msg.message = WM_NULL;
      }
    }
  }
  return CallNextHookEx(gHost.hook, code, wParam, lParam);
}

intptr_t OSK_CALL OEK_WndProc(OskWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case kReportMessage: gRecorder.report(static_cast<int32_t>(wParam), static_cast<uint32_t>(lParam)); return 0;
    case kAdvanceMessage: gRecorder.advance(static_cast<uint32_t>(lParam)); return 0;
    case WM_TIMER:
      if (wParam == kWatchdogTimer && gRecorder.playing() && gHost.lost()) {
        gHost.pending.active = false;
        gRecorder.taken();
      }
      return 0;
    case WM_DESTROY:
      if (window == gHost.window) {
        gHost.window = nullptr;
        gRecorder.windowDestroyed();
      }
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

int32_t OSK_CALL OEK_fbStartRecord(OskWindow owner) {
  if (gRecorder.recording() || gRecorder.playing()) return 0;
  gHost.owner = owner;
  return gRecorder.startRecord() ? 1 : 0;
}

int32_t OSK_CALL OEK_fbStopRecord(void) { return gRecorder.stopRecord() ? 1 : 0; }

int32_t OSK_CALL OEK_fbPlayCurrMacro(OskWindow owner) {
  if (gRecorder.recording() || gRecorder.playing() || !gRecorder.macro().present()) return 0;
  gHost.owner = owner;
  return gRecorder.startPlay() ? 1 : 0;
}

void OSK_CALL OEK_fvAbortPlayback(void) { gRecorder.abortPlayback(); }

int32_t OSK_CALL OEK_fbSaveCurrMacro(const char* fileName) {
  if (fileName == nullptr) return 0;
  return saveMacroFile(gRecorder.macro(), fileName) ? 1 : 0;
}

int32_t OSK_CALL OEK_fbLoadMacro(const char* fileName) {
  // Replacing the macro under a running recording or playback would corrupt it.
  if (gRecorder.recording() || gRecorder.playing()) return 0;
  if (fileName == nullptr) {
    gRecorder.macro().clear();
    return 0;
  }
  return loadMacroFile(fileName, gRecorder.macro()) == LoadResult::kLoaded ? 1 : 0;
}

int32_t OSK_CALL OEK_fbIsRecording(void) { return gRecorder.recording() ? 1 : 0; }
int32_t OSK_CALL OEK_fbIsPlaying(void) { return gRecorder.playing() ? 1 : 0; }
int32_t OSK_CALL OEK_fbMacroLoaded(void) { return gRecorder.macro().present() ? 1 : 0; }
int32_t OSK_CALL OEK_fbIsEscPressed(void) { return gRecorder.isEscPressed() ? 1 : 0; }
int32_t OSK_CALL OEK_fbIsPrivEscPressed(void) { return gRecorder.isPrivEscPressed() ? 1 : 0; }
void OSK_CALL OEK_fvEatEsc(int32_t flag) { gRecorder.setEatEsc(flag != 0); }

void OSK_CALL OEK_fvCheckNoKeyDown(void) {
  BYTE state[256];
  if (!GetKeyboardState(state)) return;
  for (BYTE& key : state) key &= 0x7F;
  SetKeyboardState(state);
}

void OSK_CALL OEK_fvSetHelpHook(OskWindow helpWindow, void*) {
  if (helpWindow == nullptr) {
    if (gHelpHook != nullptr) UnhookWindowsHookEx(gHelpHook);
    gHelpHook = nullptr;
    gHelpWindow = nullptr;
    return;
  }
  gHelpWindow = helpWindow;
  if (gHelpHook == nullptr) gHelpHook = SetWindowsHookExA(WH_GETMESSAGE, helpHookProc, nullptr, GetCurrentThreadId());
}

}  // extern "C"
