// Keystroke macros in a real program under Windows: keys typed into an editor window of a test frame are
// recorded, saved, loaded and played into another editor window; Esc during playback stops it with "Playback
// aborted." and reaches no editor; F1 becomes a help request.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/oek_api.h"

namespace {

HWND gOwner = nullptr;
std::vector<WPARAM> gEnds;            // OEK_NOTIFY codes
int gHelpRequests = 0;
std::map<HWND, std::string> gTyped;   // characters each editor window received through the event callback
std::function<void(char)> gOnChar;
int gEscReachedEditor = 0;
WNDPROC gEditorProc = nullptr;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == OEK_NOTIFY) {
    gEnds.push_back(wParam);
    return 0;
  }
  if (message == OEK_HELP_REQUEST) {
    ++gHelpRequests;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t OSK_CALL onEvent(EcdEventRecord* event) {
  const char c = static_cast<char>(event->code);
  gTyped[GetFocus()] += c;
  if (gOnChar) gOnChar(c);
  return 1;
}

// Watches what reaches the editor windows beside the event callback.
LRESULT CALLBACK watchedEditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_KEYDOWN && wParam == VK_ESCAPE) || (message == WM_CHAR && wParam == 27)) ++gEscReachedEditor;
  return CallWindowProcA(gEditorProc, window, message, wParam, lParam);
}

class MacroEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OskMacroTestOwner";
    RegisterClassA(&wc);
    gOwner = CreateWindowExA(0, "OskMacroTestOwner", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                             nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(gOwner, nullptr);
    ASSERT_EQ(ECD_flInitialise(gOwner, onEvent, nullptr, nullptr, nullptr), 0);
    OEK_fvSetHelpHook(gOwner, GetModuleHandleA(nullptr));
  }
  void TearDown() override {
    OEK_fvSetHelpHook(nullptr, nullptr);
    ECD_flTerminate();
    DestroyWindow(gOwner);
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new MacroEnvironment);

// Runs the program's message loop until `done` or the time is up.
bool pumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done()) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      if (GetTickCount() - start > ms) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}
void pumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start > ms; }, ms + 100);
}

void sendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}
void typeText(const std::string& text) {
  for (char c : text) {
    const SHORT scan = VkKeyScanA(c);
    const bool shift = (scan & 0x100) != 0;
    if (shift) sendKey(VK_SHIFT, false);
    sendKey(LOBYTE(scan), false);
    sendKey(LOBYTE(scan), true);
    if (shift) sendKey(VK_SHIFT, true);
    pumpFor(20);
  }
}

// Answers the first message box of this process, keeping its text.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : thread_([this] {
      for (int i = 0; i < 1000 && !stop_; ++i) {
        HWND box = FindWindowA("#32770", "OSK");
        if (box != nullptr) {
          char text[256] = {};
          GetDlgItemTextA(box, 65535, text, sizeof(text));
          text_ = text;
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(10);
      }
    }) {}
  ~MessageBoxWatcher() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::string text() {
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::string text_;
  std::thread thread_;
};

class MacroHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gEnds.clear();
    gTyped.clear();
    gOnChar = nullptr;
    gEscReachedEditor = 0;
    gHelpRequests = 0;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    file_ = std::string(dir) + "osk_macro_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".kbd";
    SetForegroundWindow(gOwner);
    pumpFor(50);
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    DeleteFileA(file_.c_str());
    OEK_fvCheckNoKeyDown();
  }

  HWND newEditor(int x) {
    HWND w = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD | WS_VISIBLE, x, 0, 200, 200, gOwner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr);
    EcdOpenRecord r{};
    r.tabLength = 8;
    EXPECT_EQ(SendMessageA(w, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
    gEditorProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchedEditorProc)));
    windows_.push_back(w);
    return w;
  }

  std::string file_;
  std::vector<HWND> windows_;
};

TEST_F(MacroHooksTest, RecordSaveLoadAndPlayIntoAnotherEditor) {
  HWND first = newEditor(0);
  HWND second = newEditor(210);
  SetFocus(first);
  ASSERT_EQ(OEK_fbStartRecord(gOwner), 1);
  EXPECT_EQ(OEK_fbIsRecording(), 1);
  EXPECT_EQ(OEK_fbStartRecord(gOwner), 0);
  EXPECT_EQ(OEK_fbPlayCurrMacro(gOwner), 0) << "play while recording";
  typeText("Hi there, World!");
  pumpFor(100);
  ASSERT_EQ(OEK_fbStopRecord(), 1);
  EXPECT_EQ(gEnds, std::vector<WPARAM>{OEK_END_RECORDING});
  EXPECT_EQ(OEK_fbStopRecord(), 0);
  ASSERT_EQ(gTyped[first], "Hi there, World!");
  ASSERT_EQ(OEK_fbMacroLoaded(), 1);

  ASSERT_EQ(OEK_fbSaveCurrMacro(file_.c_str()), 1);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExA(file_.c_str(), GetFileExInfoStandard, &data));
  // Every character is a key-down and a key-up; the three shifted ones add Shift down and up.
  EXPECT_EQ(data.nFileSizeLow, 6u + 20u * (2u * 16u + 2u * 3u));
  ASSERT_EQ(OEK_fbLoadMacro(file_.c_str()), 1);
  ASSERT_EQ(OEK_fbMacroLoaded(), 1);

  gEnds.clear();
  SetFocus(second);
  ASSERT_EQ(OEK_fbPlayCurrMacro(gOwner), 1);
  EXPECT_EQ(OEK_fbIsPlaying(), 1);
  EXPECT_EQ(OEK_fbPlayCurrMacro(gOwner), 0);
  EXPECT_EQ(OEK_fbStartRecord(gOwner), 0);
  EXPECT_EQ(OEK_fbLoadMacro(file_.c_str()), 0) << "the macro cannot be replaced while it plays";
  ASSERT_TRUE(pumpUntil([] { return !gEnds.empty(); }));
  EXPECT_EQ(gEnds, std::vector<WPARAM>{OEK_END_PLAYBACK});
  EXPECT_EQ(OEK_fbIsPlaying(), 0);
  EXPECT_EQ(gTyped[second], "Hi there, World!");
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  EXPECT_EQ(gTyped[first], "Hi there, World!") << "nothing reached the first editor";
}

// A macro file of key presses for the letters a to t, as written by an earlier recording.
void writeLetters(const std::string& path) {
  std::vector<uint8_t> bytes = {1, 0, 40, 0, 0, 0};
  auto put = [&](uint32_t word) {
    for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<uint8_t>(word >> s));
  };
  for (char c = 'a'; c <= 't'; ++c) {
    const UINT vk = LOBYTE(VkKeyScanA(c));
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      put(message);
      put(vk | scan << 8 | (message == WM_KEYUP ? 0xC000u << 8 : 0));
      put(1);
      put(0);
      put(0);
    }
  }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
}

TEST_F(MacroHooksTest, EscDuringPlaybackAbortsAndNoEscReachesTheEditor) {
  HWND editor = newEditor(0);
  writeLetters(file_);
  ASSERT_EQ(OEK_fbLoadMacro(file_.c_str()), 1);
  SetFocus(editor);
  gOnChar = [](char c) {
    if (c == 'c') sendKey(VK_ESCAPE, false);
  };
  MessageBoxWatcher watcher;
  ASSERT_EQ(OEK_fbPlayCurrMacro(gOwner), 1);
  ASSERT_TRUE(pumpUntil([] { return !gEnds.empty(); }));
  sendKey(VK_ESCAPE, true);
  pumpFor(200);
  EXPECT_EQ(watcher.text(), "Playback aborted.");
  EXPECT_EQ(gEnds, std::vector<WPARAM>{OEK_END_ABORTED});
  EXPECT_EQ(gTyped[editor], "abc") << "playback stops before the next key press";
  EXPECT_EQ(gEscReachedEditor, 0);
  EXPECT_EQ(OEK_fbIsPlaying(), 0);
  EXPECT_EQ(OEK_fbMacroLoaded(), 1);
}

TEST_F(MacroHooksTest, AbortPlaybackStopsQuietly) {
  HWND editor = newEditor(0);
  writeLetters(file_);
  ASSERT_EQ(OEK_fbLoadMacro(file_.c_str()), 1);
  SetFocus(editor);
  gOnChar = [](char c) {
    if (c == 'e') OEK_fvAbortPlayback();
  };
  ASSERT_EQ(OEK_fbPlayCurrMacro(gOwner), 1);
  ASSERT_TRUE(pumpUntil([] { return !gEnds.empty(); }));
  pumpFor(100);
  EXPECT_EQ(gEnds, std::vector<WPARAM>{OEK_END_STOPPED});
  EXPECT_EQ(gTyped[editor], "abcde");
  EXPECT_EQ(FindWindowA("#32770", "OSK"), nullptr);
  OEK_fvAbortPlayback();   // nothing plays: nothing happens
  pumpFor(50);
  EXPECT_EQ(gEnds.size(), 1u);
}

TEST_F(MacroHooksTest, MalformedFileLeavesNoMacro) {
  writeLetters(file_);
  ASSERT_EQ(OEK_fbLoadMacro(file_.c_str()), 1);
  // Declares 40 events but holds 39.
  HANDLE f = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFilePointer(f, 6 + 20 * 39, nullptr, FILE_BEGIN);
  SetEndOfFile(f);
  CloseHandle(f);
  EXPECT_EQ(OEK_fbLoadMacro(file_.c_str()), 0);
  EXPECT_EQ(OEK_fbMacroLoaded(), 0);
  EXPECT_EQ(OEK_fbPlayCurrMacro(gOwner), 0);
  EXPECT_EQ(OEK_fbSaveCurrMacro(file_.c_str()), 0);
}

TEST_F(MacroHooksTest, F1AsksForHelpAndEatenEscNeverArrives) {
  HWND editor = newEditor(0);
  SetFocus(editor);
  PostMessageA(editor, WM_KEYDOWN, VK_F1, 1);
  pumpFor(50);
  EXPECT_EQ(gHelpRequests, 1);
  OEK_fvEatEsc(1);
  PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 1);
  pumpFor(50);
  EXPECT_EQ(gEscReachedEditor, 0);
  OEK_fvEatEsc(0);
  Sleep(30);
  PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 1);
  pumpFor(50);
  EXPECT_EQ(gEscReachedEditor, 2) << "an Esc pressed after eating stopped arrives, with its character";
}

}  // namespace
