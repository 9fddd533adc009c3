// Editor windows of the engine library in a test owner window: attaching buffers, the buffer rows, owner
// notifications, typed characters reaching the event callback, and notices reaching only live windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/win32/ecd_window.h"

namespace {

struct OwnerNote {
  UINT code;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<OwnerNote> gNotes;
std::vector<EcdEventRecord> gEvents;
int32_t gHandleEvents = 1;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= ECDN_CARET && message <= ECDN_LINE_CLAMPED) {
    gNotes.push_back({message, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t OSK_CALL onEvent(EcdEventRecord* event) {
  gEvents.push_back(*event);
  return gHandleEvents;
}

HWND gOwner = nullptr;

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OskTestOwner";
    RegisterClassA(&wc);
    gOwner = CreateWindowExA(0, "OskTestOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(gOwner, nullptr);
    ASSERT_EQ(ECD_flInitialise(gOwner, onEvent, nullptr, nullptr, nullptr), 0);
  }
  void TearDown() override {
    ECD_flTerminate();
    DestroyWindow(gOwner);
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gNotes.clear();
    gEvents.clear();
    gHandleEvents = 1;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    file_ = std::string(dir) + "osk_editor_window_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    std::ofstream(file_, std::ios::binary) << "first\r\nsecond\r\nthird\r\n";
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    DeleteFileA(file_.c_str());
    DeleteFileA((file_ + ".copy").c_str());
  }

  HWND newEditor() {
    HWND w = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, gOwner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    return w;
  }

  HEDBUFFER openIn(HWND window) {
    EcdOpenRecord r{};
    r.fileName = file_.c_str();
    r.undoCapacity = 100;
    r.tabLength = 8;
    r.flags = ECD_OPEN_READ | ECD_OPEN_VSCROLL;
    EXPECT_EQ(SendMessageA(window, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
    return r.buffer;
  }

  int count(UINT code) const {
    int n = 0;
    for (const OwnerNote& note : gNotes) n += note.code == code;
    return n;
  }

  std::string file_;
  std::vector<HWND> windows_;
};

TEST_F(EditorWindowTest, OpenRequestAttachesABufferAndTellsTheOwner) {
  HWND w = newEditor();
  EXPECT_EQ(SendMessageA(w, ECD_GET_BUFFER, 0, 0), ECD_ERR_NO_BUFFER);
  EXPECT_EQ(SendMessageA(w, ECD_IS_MODIFIED, 0, 0), ECD_ERR_NO_BUFFER);
  HEDBUFFER b = openIn(w);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(SendMessageA(w, ECD_GET_BUFFER, 0, 0), reinterpret_cast<LRESULT>(b));
  EXPECT_EQ(SendMessageA(w, ECD_GET_LINE_COUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(w, ECD_GET_TAB_LENGTH, 0, 0), 8);
  EXPECT_GE(count(ECDN_CARET), 1);
  EXPECT_GE(count(ECDN_NAME), 1);
  // The same file cannot be opened twice.
  HWND other = newEditor();
  EcdOpenRecord again{};
  again.fileName = file_.c_str();
  again.flags = ECD_OPEN_READ;
  EXPECT_EQ(SendMessageA(other, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&again)), ECD_ERR_ALREADY_LOADED);
  EXPECT_EQ(ECD_flCloseBuffer(b), 0);
}

TEST_F(EditorWindowTest, NoticesReachOnlyLiveWindowsOfTheBuffer) {
  HWND first = newEditor();
  HWND second = newEditor();
  HEDBUFFER b = openIn(first);
  ASSERT_EQ(SendMessageA(second, ECD_SHOW_BUFFER, reinterpret_cast<WPARAM>(b), ECD_OPEN_VSCROLL), 0);
  gNotes.clear();
  EXPECT_EQ(SendMessageA(first, ECD_SET_MODIFIED, 0, 0), 0);
  EXPECT_EQ(count(ECDN_MODIFIED), 2);
  DestroyWindow(first);
  windows_.erase(windows_.begin());
  gNotes.clear();
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_SET_MODIFIED, 1, 0), 0);
  ASSERT_EQ(count(ECDN_MODIFIED), 1);
  EXPECT_EQ(gNotes.back().wParam, reinterpret_cast<WPARAM>(second));
  // Closing the buffer detaches it from the window that still shows it.
  EXPECT_EQ(ECD_flCloseBuffer(b), 0);
  EXPECT_EQ(SendMessageA(second, ECD_GET_BUFFER, 0, 0), ECD_ERR_NO_BUFFER);
  EXPECT_EQ(SendMessageA(second, ECD_GET_LINE_COUNT, 0, 0), ECD_ERR_NO_BUFFER);
}

TEST_F(EditorWindowTest, SaveAsThroughTheWindowWritesTheFileAndRenames) {
  HWND w = newEditor();
  HEDBUFFER b = openIn(w);
  std::string copy = file_ + ".copy";
  EcdSaveRecord save{nullptr, copy.c_str(), 1};
  gNotes.clear();
  ASSERT_EQ(SendMessageA(w, ECD_SAVE, 0, reinterpret_cast<LPARAM>(&save)), 0);
  std::ifstream in(copy, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "first\r\nsecond\r\nthird\r\n");
  EXPECT_GE(count(ECDN_NAME), 1);
  char name[261] = {};
  ASSERT_EQ(SendMessageA(w, ECD_GET_FILE_NAME, 0, reinterpret_cast<LPARAM>(name)), 0);
  EXPECT_EQ(lstrcmpiA(name, copy.c_str()), 0);
  ECD_flCloseBuffer(b);
}

TEST_F(EditorWindowTest, TypedCharactersReachTheEventCallback) {
  HWND w = newEditor();
  HEDBUFFER b = openIn(w);
  SendMessageA(w, WM_CHAR, 'x', 0);
  ASSERT_EQ(gEvents.size(), 1u);
  EXPECT_EQ(gEvents[0].kind, 20);
  EXPECT_EQ(gEvents[0].code, 'x');
  EXPECT_EQ(gEvents[0].value, 'x');
  // A character the owner leaves alone goes to the default window procedure.
  gHandleEvents = 0;
  int32_t useDefault = 0;
  ECD_flPrivateMessageHandler(w, WM_CHAR, 'y', 0, &useDefault);
  EXPECT_EQ(useDefault, 1);
  EXPECT_EQ(ECD_flBufferMessage(b, 1042, 0, 0), ECD_ERR_INVALID_MESSAGE);
  ECD_flCloseBuffer(b);
}

TEST_F(EditorWindowTest, ScrollRequestsMoveTheViewWithinTheText) {
  std::string text;
  for (int i = 1; i <= 500; ++i) text += "line " + std::to_string(i) + "\r\n";
  std::ofstream(file_, std::ios::binary) << text;
  HWND w = newEditor();
  HEDBUFFER b = openIn(w);
  int32_t position[2] = {0, 0};
  ASSERT_EQ(SendMessageA(w, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position)), 0);
  EXPECT_EQ(position[0], 1);
  EXPECT_EQ(position[1], 1);
  SendMessageA(w, WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(w, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_GT(position[0], 1);
  SendMessageA(w, WM_VSCROLL, SB_BOTTOM, 0);
  SendMessageA(w, WM_VSCROLL, SB_PAGEDOWN, 0);
  SendMessageA(w, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_EQ(position[0], 500);   // the last line may stand at the top, no further
  int32_t target[2] = {2000, 5000};
  ASSERT_EQ(SendMessageA(w, ECD_SCROLL_TO, 0, reinterpret_cast<LPARAM>(target)), 0);
  SendMessageA(w, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_EQ(position[0], 500);
  EXPECT_EQ(position[1], 1024);
  EXPECT_GE(count(ECDN_SCROLLED), 1);
  ECD_flCloseBuffer(b);
}

TEST_F(EditorWindowTest, EngineMessageNeedsAnOwner) {
  EXPECT_EQ(ECD_flMessage(WM_USER, 0, 0), 1);
  EXPECT_EQ(ECD_flInitialise(gOwner, onEvent, nullptr, nullptr, nullptr), ECD_ERR_ALREADY_INITIALISED);
}

}  // namespace
