// The Open Bar in OSKOCS32.dll under real change notifications: lists read from a settings file, kept up to date
// by the worker, saved back, driven through the OCS_ entry points, with a small frame window that records what
// the Open Bar tells it and opens (or refuses) the files it is handed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/ocs_openbar_api.h"
#include "services/win32/ocs_api.h"
#include "services/win32/ocs_bars_api.h"
#include "tests/services/win32/test_frame.h"

namespace {

// ---- The frame: it knows the commands of the built-in configuration, so loading it complains of nothing. ----

struct FrameCommand {
  std::string name;
  uint32_t conditionWord;
};
std::vector<FrameCommand> g_frameCommands;

int g_changed = 0;          // messages 2128
int g_layouts = 0;          // messages 2127
LPARAM g_lastShown = -1;    // lParam of the last 2127 with wParam 1
std::vector<std::string> g_opened;   // names handed over by message 13025
std::string g_refuse;       // a name the frame fails to open

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case OCS_MSG_COMMAND_DETAILS: {
      if (wParam >= g_frameCommands.size()) return 0;
      auto* record = reinterpret_cast<OcsCommandDetails*>(lParam);
      std::memset(record, 0, sizeof *record);
      std::strncpy(record->name, g_frameCommands[wParam].name.c_str(), sizeof record->name - 1);
      record->conditionWord = g_frameCommands[wParam].conditionWord;
      return 1;
    }
    case OCS_MSG_OPEN_BAR_CHANGED: ++g_changed; return 0;
    case 2127:
      ++g_layouts;
      if (wParam == 1) g_lastShown = lParam;
      return 0;
    case OCS_MSG_OPEN_BY_ATOM: {
      char name[300] = {};
      GlobalGetAtomNameA(static_cast<ATOM>(wParam), name, sizeof name);
      if (g_refuse == name) return 1;
      g_opened.push_back(name);
      return 0;
    }
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void learnBuiltinCommands() {
  if (!g_frameCommands.empty()) return;
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1001), "CONFIGFILE");
  if (!found) return;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  auto loaded = osk::loadConfiguration(std::vector<uint8_t>(data, data + SizeofResource(nullptr, found)), {});
  if (loaded.status != osk::ConfigLoadStatus::kOk) return;
  for (const osk::CCommand& c : loaded.config->commands)
    if (!c.name.empty()) g_frameCommands.push_back({c.name, c.conditionWord});
}

// Runs the message loop until `done` holds; false after ten seconds, which only a fault takes.
bool pumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return true;
    if (GetTickCount() - start > limitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Runs the message loop for a while, for checks that something does not happen.
void pumpFor(DWORD ms) {
  pumpUntil([] { return false; }, ms);
}

// ---- Dialogs: the new-list dialog is filled from g_newList and accepted; message boxes are recorded. ----

struct NewListAnswer {
  std::string title, dir, filters;
};
NewListAnswer g_newList;
std::vector<std::string> g_boxes;
std::set<HWND> g_filled;   // a dialog activated again after a refusal is cancelled
HHOOK g_hook = nullptr;
// The other dialogs: called on each activation with the dialog and how often it was activated before.
std::function<void(HWND, int)> g_otherDialog;
std::map<HWND, int> g_activations;

LRESULT CALLBACK dialogHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char cls[32] = {}, caption[64] = {};
    GetClassNameA(box, cls, sizeof cls);
    GetWindowTextA(box, caption, sizeof caption);
    if (std::strcmp(cls, "#32770") == 0) {
      if (std::strcmp(caption, "New List") == 0 && !g_filled.insert(box).second) {
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      } else if (std::strcmp(caption, "New List") == 0) {
        SetDlgItemTextA(box, 7001, g_newList.title.c_str());
        SetDlgItemTextA(box, 7002, g_newList.dir.c_str());
        SetDlgItemTextA(box, 7003, g_newList.filters.c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      } else if (g_otherDialog && std::strcmp(caption, "OSK") != 0) {
        g_otherDialog(box, g_activations[box]++);
      } else {
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        g_boxes.push_back(std::string(caption) + "|" + text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// ---- Files ----

std::string tempDirectory(const std::string& name) {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  const std::string dir = std::string(base) + "osk-openbar-" + std::to_string(GetCurrentProcessId()) + "-" + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void touch(const std::string& path) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA f;
  const HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &f);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + "\\" + f.cFileName).c_str());
    } while (FindNextFileA(h, &f));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

// The kernel handles the process holds. Counted by asking about each possible handle value, since the system's
// own count is not available everywhere.
DWORD handleCount() {
  DWORD n = 0, flags = 0;
  for (uintptr_t v = 4; v < 0x8000; v += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) ++n;
  return n;
}

std::string iniValue(const std::string& ini, const char* section, const char* key) {
  char v[300] = {};
  GetPrivateProfileStringA(section, key, "<none>", v, sizeof v, ini.c_str());
  return v;
}

void writeList(const std::string& ini, int n, const std::string& title, const std::string& dir,
               const std::string& filters, int sortType, bool selected) {
  const std::string section = "Child" + std::to_string(n);
  WritePrivateProfileStringA(section.c_str(), "Title", title.c_str(), ini.c_str());
  WritePrivateProfileStringA(section.c_str(), "Dir", dir.c_str(), ini.c_str());
  WritePrivateProfileStringA(section.c_str(), "Filters", filters.c_str(), ini.c_str());
  WritePrivateProfileStringA(section.c_str(), "OpenbarSortType", std::to_string(sortType).c_str(), ini.c_str());
  WritePrivateProfileStringA(section.c_str(), "OpenbarSelected", selected ? "1" : "0", ini.c_str());
}

class OpenBar : public ::testing::Test {
 protected:
  void SetUp() override {
    g_changed = g_layouts = 0;
    g_lastShown = -1;
    g_opened.clear();
    g_refuse.clear();
    g_boxes.clear();
    g_otherDialog = nullptr;
    g_activations.clear();
    g_hook = SetWindowsHookExA(WH_CBT, dialogHook, nullptr, GetCurrentThreadId());
    learnBuiltinCommands();
    frame_ = osk::test::createTestFrame("Open Bar test frame", frameProc, {0, 0, 400, 300});
    ASSERT_NE(frame_, nullptr);
    ASSERT_FALSE(g_frameCommands.empty());
    dir_ = tempDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ini_ = dir_ + ".ini";
    DeleteFileA(ini_.c_str());
  }
  void TearDown() override {
    close();
    if (frame_) DestroyWindow(frame_);
    UnhookWindowsHookEx(g_hook);
    removeTree(dir_);
    for (const std::string& d : more_) removeTree(d);
    DeleteFileA(ini_.c_str());
  }

  // The instance with its Open Bar, made as the program makes it: instance, then a configuration load.
  void open() {
    instance_ = OCS_CreateInstance(frame_, ini_.c_str());
    ASSERT_NE(instance_, nullptr);
    ASSERT_TRUE(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001));
    bar_ = FindWindowExA(frame_, nullptr, "OSK Open Bar", nullptr);
    ASSERT_NE(bar_, nullptr);
  }
  // A configuration load makes the Open Bar again; the old one writes its settings first.
  void reload() {
    ASSERT_TRUE(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001));
    bar_ = FindWindowExA(frame_, nullptr, "OSK Open Bar", nullptr);
  }
  void close() {
    if (instance_) OCS_DestroyInstance(instance_);
    instance_ = nullptr;
    bar_ = nullptr;
  }

  // The list boxes of the Open Bar, one per list in order.
  std::vector<HWND> listBoxes() const {
    std::vector<HWND> out;
    for (HWND c = FindWindowExA(bar_, nullptr, "ListBox", nullptr); c; c = FindWindowExA(bar_, c, "ListBox", nullptr))
      out.push_back(c);
    return out;
  }
  static std::vector<std::string> entries(HWND list) {
    std::vector<std::string> out;
    const LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      char text[300] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  }
  bool shows(size_t list, const std::vector<std::string>& expected) {
    return pumpUntil([&] {
      const auto boxes = listBoxes();
      return list < boxes.size() && entries(boxes[list]) == expected;
    });
  }

  HWND frame_ = nullptr;
  HWND bar_ = nullptr;
  HOCSINSTANCE instance_ = nullptr;
  std::string dir_, ini_;
  std::vector<std::string> more_;
};

TEST_F(OpenBar, ByTypeListShowsCFilesBeforeHeadersEachByNameWithoutCase) {
  for (const char* f : {"b.h", "Zeta.c", "a.c", "A.h", "notes.txt", "B.c"}) touch(dir_ + "\\" + f);
  writeList(ini_, 0, "Sources", dir_, "*.c;*.h", 1, true);
  open();
  EXPECT_TRUE(shows(0, {"a.c", "B.c", "Zeta.c", "A.h", "b.h"}));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 1);
}

TEST_F(OpenBar, CreatedAndDeletedFilesShowUpWithoutARefresh) {
  touch(dir_ + "\\one.txt");
  writeList(ini_, 0, "Here", dir_, "*.*", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"one.txt"}));
  touch(dir_ + "\\two.txt");
  EXPECT_TRUE(shows(0, {"one.txt", "two.txt"}));
  DeleteFileA((dir_ + "\\one.txt").c_str());
  EXPECT_TRUE(shows(0, {"two.txt"}));
}

TEST_F(OpenBar, AutoRefreshOffLeavesTheListUntilRefresh) {
  touch(dir_ + "\\one.txt");
  writeList(ini_, 0, "Here", dir_, "*.*", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"one.txt"}));
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_AUTO_REFRESH, 0));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_AUTO_REFRESH), 0);
  touch(dir_ + "\\two.txt");
  pumpFor(1000);
  EXPECT_EQ(entries(listBoxes()[0]), (std::vector<std::string>{"one.txt"}));
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_REFRESH, 0));
  EXPECT_TRUE(shows(0, {"one.txt", "two.txt"}));
}

TEST_F(OpenBar, VanishedDirectoryShowsAnEmptyListAndRecovers) {
  touch(dir_ + "\\keep.c");
  writeList(ini_, 0, "Here", dir_, "*.c", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"keep.c"}));
  removeTree(dir_);
  ASSERT_TRUE(shows(0, {}));
  CreateDirectoryA(dir_.c_str(), nullptr);
  touch(dir_ + "\\back.c");
  EXPECT_TRUE(shows(0, {"back.c"}));
}

TEST_F(OpenBar, TwoListsSaveAsChild0Child1AndAnEmptyChild2) {
  const std::string other = tempDirectory("other");
  more_.push_back(other);
  writeList(ini_, 0, "First", dir_, "*.c", 1, false);
  writeList(ini_, 1, "Second", other, "*.txt", 0, true);
  writeList(ini_, 3, "Stale", other, "*.*", 0, false);   // left from an older, longer save
  open();
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 2);
  reload();
  EXPECT_EQ(iniValue(ini_, "Child0", "Title"), "First");
  EXPECT_EQ(iniValue(ini_, "Child0", "OpenbarSortType"), "1");
  EXPECT_EQ(iniValue(ini_, "Child0", "OpenbarSelected"), "0");
  EXPECT_EQ(iniValue(ini_, "Child1", "Title"), "Second");
  EXPECT_EQ(iniValue(ini_, "Child1", "Filters"), "*.txt");
  EXPECT_EQ(iniValue(ini_, "Child1", "OpenbarSelected"), "1");
  EXPECT_EQ(iniValue(ini_, "Child2", "Title"), "");
  EXPECT_EQ(iniValue(ini_, "Child2", "Dir"), "");
  EXPECT_EQ(iniValue(ini_, "Child2", "Filters"), "");
  EXPECT_EQ(iniValue(ini_, "Extended", "OpenbarAutoRefresh"), "1");
  // Read back by the new Open Bar: the stale Child3 is not a list.
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 2);
}

TEST_F(OpenBar, NoSavedListGivesTheDefaultList) {
  open();
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 1);
  HMENU menu = CreatePopupMenu();
  ASSERT_EQ(OCS_FillOpenBarGotoMenu(instance_, menu, 15100), 1);
  char text[64] = {};
  GetMenuStringA(menu, 15100, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Dir");
  DestroyMenu(menu);
}

TEST_F(OpenBar, ClosingTheOnlyListDoesNothing) {
  writeList(ini_, 0, "Only", dir_, "*.*", 0, true);
  open();
  const int changed = g_changed;
  EXPECT_EQ(OCS_SetOpenBarProp(instance_, OCS_OB_CLOSE_LIST, 0), 0);
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 1);
  EXPECT_EQ(g_changed, changed);
}

TEST_F(OpenBar, GotoMenuListsTheListsAndGoingThereMakesOneCurrent) {
  writeList(ini_, 0, "Alpha", dir_, "*.*", 0, false);
  writeList(ini_, 1, "Beta & Co", dir_, "*.c", 0, true);
  writeList(ini_, 2, "Gamma", dir_, "*.h", 0, false);
  open();
  HMENU menu = CreatePopupMenu();
  ASSERT_EQ(OCS_FillOpenBarGotoMenu(instance_, menu, 15100), 3);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  char text[64] = {};
  GetMenuStringA(menu, 15101, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Beta && Co");
  EXPECT_TRUE(GetMenuState(menu, 15101, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(menu, 15100, MF_BYCOMMAND) & MF_CHECKED);
  DestroyMenu(menu);

  const int changed = g_changed;
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_GOTO_LIST, 2));
  EXPECT_GT(g_changed, changed);
  EXPECT_FALSE(OCS_SetOpenBarProp(instance_, OCS_OB_GOTO_LIST, 3));
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_NEXT_LIST, 0));   // round the end to the first
  menu = CreatePopupMenu();
  OCS_FillOpenBarGotoMenu(instance_, menu, 15100);
  EXPECT_TRUE(GetMenuState(menu, 15100, MF_BYCOMMAND) & MF_CHECKED);
  DestroyMenu(menu);
  // Closing the current list hands over to the next one and tells the frame.
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_CLOSE_LIST, 0));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 2);
}

TEST_F(OpenBar, SelectedFilesGoToTheFrameByFullPathAndAreDeselected) {
  for (const char* f : {"a.c", "b.c", "c.c"}) touch(dir_ + "\\" + f);
  writeList(ini_, 0, "Here", dir_, "*.c", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"a.c", "b.c", "c.c"}));
  const HWND list = listBoxes()[0];
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(list, LB_SETSEL, TRUE, 2);
  EXPECT_EQ(OCS_GetNumSelectedFiles(instance_), 2);
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_SELECTED_COUNT), 2);

  char path[OCS_PATH_SIZE];
  EXPECT_EQ(OCS_GetNextSelectedFile(instance_, -1, path), 0);
  EXPECT_EQ(std::string(path), dir_ + "\\a.c");
  EXPECT_EQ(OCS_GetNextSelectedFile(instance_, 0, path), 2);
  EXPECT_EQ(std::string(path), dir_ + "\\c.c");
  EXPECT_EQ(OCS_GetNextSelectedFile(instance_, 2, path), -1);

  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_OPEN_SELECTED, 0));
  EXPECT_EQ(g_opened, (std::vector<std::string>{dir_ + "\\a.c", dir_ + "\\c.c"}));
  EXPECT_EQ(OCS_GetNumSelectedFiles(instance_), 0);

  // A file the frame cannot open ends the action and stays selected.
  g_opened.clear();
  g_refuse = dir_ + "\\a.c";
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(list, LB_SETSEL, TRUE, 1);
  EXPECT_FALSE(OCS_SetOpenBarProp(instance_, OCS_OB_OPEN_SELECTED, 0));
  EXPECT_TRUE(g_opened.empty());
  EXPECT_EQ(OCS_GetNumSelectedFiles(instance_), 2);
  ASSERT_TRUE(OCS_DeselectFile(instance_, 0));
  EXPECT_EQ(OCS_GetNumSelectedFiles(instance_), 1);
}

// The program's message loop maps a mouse message in its event context and runs the bound command; OBOpen is
// action 7. A double click on a file of the Open Bar therefore opens it in the program.
bool programLoopStep(HOCSINSTANCE instance, const MSG& m) {
  const int32_t code = OCS_MapMouseMessageToKeyEvent(m.message);
  if (!code) return false;
  const int32_t context = OCS_GetPositionConstraint(instance, m.hwnd, nullptr);
  const uint16_t word = static_cast<uint16_t>(code << 3);
  int32_t enabled = 0;
  char name[OCS_COMMAND_NAME_SIZE] = {}, parameter[OCS_PARAMETER_SIZE] = {};
  if (!OCS_MapKeyDown(instance, &word, static_cast<uint16_t>(context), &enabled, name, parameter)) return false;
  if (std::strcmp(name, "OBOpen") == 0) OCS_SetOpenBarProp(instance, OCS_OB_OPEN_SELECTED, 0);
  return false;   // the window still gets the message, as in the program
}

TEST_F(OpenBar, DoubleClickOnAFileOpensItInTheProgram) {
  for (const char* f : {"first.c", "second.c"}) touch(dir_ + "\\" + f);
  writeList(ini_, 0, "Here", dir_, "*.c", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"first.c", "second.c"}));
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_VISIBLE, 1));
  const HWND list = listBoxes()[0];
  EXPECT_TRUE(OCS_IsPartOfOpenBar(instance_, list));
  EXPECT_FALSE(OCS_IsPartOfOpenBar(instance_, frame_));
  EXPECT_EQ(OCS_GetPositionConstraint(instance_, list, nullptr), 21);

  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const LPARAM at = MAKELPARAM(item.left + 4, (item.top + item.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  const DWORD start = GetTickCount();
  while (g_opened.empty() && GetTickCount() - start < 10000) {
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      continue;
    }
    programLoopStep(instance_, m);
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  EXPECT_EQ(g_opened, (std::vector<std::string>{dir_ + "\\second.c"}));
}

TEST_F(OpenBar, VisibleAndMaximisedAreKeptAndShowingTellsTheFrame) {
  writeList(ini_, 0, "Here", dir_, "*.*", 0, true);
  open();
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_VISIBLE), 1);
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_VISIBLE, 0));
  EXPECT_EQ(g_lastShown, 0);
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_VISIBLE), 0);
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_MAXIMISED, 1));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_MAXIMISED), 1);
  reload();
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_VISIBLE), 0);
  EXPECT_EQ(iniValue(ini_, "Extended", "OpenbarVisible"), "0");
  EXPECT_EQ(iniValue(ini_, "Extended", "OpenbarMax"), "1");
  EXPECT_EQ(OCS_GetOpenBarProp(nullptr, OCS_OB_VISIBLE), 0);
  EXPECT_EQ(OCS_SetOpenBarProp(nullptr, OCS_OB_NEXT_LIST, 0), 0);
}

TEST_F(OpenBar, NewListDialogAddsAListAndRefusesAMissingDirectory) {
  touch(dir_ + "\\x.c");
  writeList(ini_, 0, "Here", dir_, "*.txt", 0, true);
  open();
  g_newList = {"Mine", dir_, "*.c"};
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_NEW_LIST, 0));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 2);
  EXPECT_TRUE(shows(1, {"x.c"}));

  g_newList = {"Nowhere", dir_ + "\\missing", "*.c"};
  g_boxes.clear();
  EXPECT_FALSE(OCS_SetOpenBarProp(instance_, OCS_OB_NEW_LIST, 0));
  EXPECT_EQ(g_boxes, (std::vector<std::string>{"OSK|Path does not exist"}));
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 2);
}

TEST_F(OpenBar, ListSettingsDialogChangesFiltersAndSortOfTheCurrentList) {
  for (const char* f : {"a.c", "a.h", "b.c"}) touch(dir_ + "\\" + f);
  writeList(ini_, 0, "Here", dir_, "*.c", 0, true);
  open();
  ASSERT_TRUE(shows(0, {"a.c", "b.c"}));
  g_otherDialog = [](HWND dialog, int) {
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    if (std::strcmp(caption, "Open List Settings") != 0) return;
    SetDlgItemTextA(dialog, 7001, "Headers first");
    SetDlgItemTextA(dialog, 7003, "*.h;*.c");
    CheckRadioButton(dialog, 7004, 7005, 7005);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  };
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_LIST_SETTINGS, 0));
  EXPECT_TRUE(shows(0, {"a.c", "b.c", "a.h"}));
  HMENU menu = CreatePopupMenu();
  OCS_FillOpenBarGotoMenu(instance_, menu, 15100);
  char text[64] = {};
  GetMenuStringA(menu, 15100, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Headers first");
  DestroyMenu(menu);
}

TEST_F(OpenBar, SearchDirectoriesDialogRefusesADuplicateAndKeepsWhatIsAdded) {
  const std::string other = tempDirectory("search");
  more_.push_back(other);
  WritePrivateProfileStringA("Open Search", "1", dir_.c_str(), ini_.c_str());
  open();
  char buffer[OCS_PATH_SIZE] = {};
  ASSERT_TRUE(OCS_GetOpenSearchDir(instance_, 0, buffer));
  EXPECT_EQ(std::string(buffer), dir_);
  g_otherDialog = [&](HWND dialog, int seen) {
    if (seen == 0) {
      SetDlgItemTextA(dialog, 7101, (dir_ + "\\").c_str());   // the same directory again
      PostMessageA(dialog, WM_COMMAND, 7102, 0);
    } else if (seen == 1) {
      SetDlgItemTextA(dialog, 7101, other.c_str());
      PostMessageA(dialog, WM_COMMAND, 7102, 0);
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
  };
  EXPECT_TRUE(OCS_OpenSearchDirsDlg(instance_, frame_));
  EXPECT_EQ(g_boxes, (std::vector<std::string>{"OSK|Duplicate search directories not allowed."}));
  ASSERT_TRUE(OCS_GetOpenSearchDir(instance_, 1, buffer));
  EXPECT_EQ(std::string(buffer), other);
  EXPECT_FALSE(OCS_GetOpenSearchDir(instance_, 2, buffer));
}

TEST_F(OpenBar, DocksWithTheToolBarsThroughTheBarList) {
  writeList(ini_, 0, "Here", dir_, "*.*", 0, true);
  open();
  EXPECT_TRUE(OCS_IsMoveableBar(instance_, bar_));
  ShowWindow(frame_, SW_SHOWNA);
  RECT client{0, 0, 400, 300};
  uint8_t edges = 0;
  void* deferred = nullptr;
  ASSERT_TRUE(OCS_ResizeControlBars(instance_, &edges, &deferred, &client));
  EXPECT_TRUE(IsWindowVisible(bar_));
  EXPECT_TRUE(edges & OCS_EDGE_LEFT);
  RECT r;
  GetWindowRect(bar_, &r);
  EXPECT_EQ(r.right - r.left, 80);   // the default width of a bar docked on the left
  EXPECT_GE(client.left, 78);

  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_VISIBLE, 0));
  client = {0, 0, 400, 300};
  edges = 0;
  ASSERT_TRUE(OCS_ResizeControlBars(instance_, &edges, &deferred, &client));
  EXPECT_FALSE(IsWindowVisible(bar_));
  EXPECT_FALSE(edges & OCS_EDGE_LEFT);
}

TEST_F(OpenBar, ServicesSettingsCarryTheListsAndSearchDirectories) {
  WritePrivateProfileStringA("Open Search", "1", dir_.c_str(), ini_.c_str());
  writeList(ini_, 0, "Here", dir_, "*.c", 1, true);
  open();
  DeleteFileA(ini_.c_str());
  OCS_SaveSettings(instance_);
  EXPECT_EQ(iniValue(ini_, "Child0", "Title"), "Here");
  EXPECT_EQ(iniValue(ini_, "Child1", "Title"), "");
  EXPECT_EQ(iniValue(ini_, "Open Search", "1"), dir_);
  EXPECT_EQ(iniValue(ini_, "Open Search", "2"), "");
  EXPECT_NE(iniValue(ini_, "Extended", "OpenbarSeqNo"), "<none>");

  WritePrivateProfileStringA("Child0", "Title", "Renamed", ini_.c_str());
  OCS_LoadSettings(instance_);
  HMENU menu = CreatePopupMenu();
  OCS_FillOpenBarGotoMenu(instance_, menu, 15100);
  char text[64] = {};
  GetMenuStringA(menu, 15100, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Renamed");
  DestroyMenu(menu);
}

TEST_F(OpenBar, FontDialogSetsTheListFontWhichIsSaved) {
  writeList(ini_, 0, "Here", dir_, "*.*", 0, true);
  WritePrivateProfileStringA("Extended", "OpenbarFontHeight", "-15", ini_.c_str());
  open();
  g_otherDialog = [](HWND dialog, int seen) {
    if (seen == 0) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  };
  ASSERT_TRUE(OCS_SetOpenBarProp(instance_, OCS_OB_FONT, 0));
  reload();
  const std::string face = iniValue(ini_, "Extended", "FontFace");
  EXPECT_FALSE(face.empty());
  EXPECT_LT(face.size(), 32u);
  EXPECT_NE(iniValue(ini_, "Extended", "OpenbarFontHeight"), "0");
}

// Lists added and closed while files churn and the worker scans: nothing crashes or hangs, and every handle the
// Open Bar made is closed again.
TEST_F(OpenBar, StressOfListsAndFilesLeavesNoHandleBehind) {
  std::vector<std::string> dirs{dir_, tempDirectory("s1"), tempDirectory("s2")};
  more_.push_back(dirs[1]);
  more_.push_back(dirs[2]);
  writeList(ini_, 0, "Here", dir_, "*.*", 1, true);
  // One round first, so what the system makes once per process (classes, fonts, dialogs) is made before counting.
  open();
  g_newList = {"Warm", dir_, "*.*"};
  OCS_SetOpenBarProp(instance_, OCS_OB_NEW_LIST, 0);
  close();
  const DWORD before = handleCount();
  ASSERT_GT(before, 0u);
  open();
  for (int step = 0; step < 40; ++step) {
    const std::string& d = dirs[static_cast<size_t>(step) % dirs.size()];
    for (int f = 0; f < 5; ++f) touch(d + "\\f" + std::to_string(step * 5 + f) + ".c");
    if (step % 3 == 0) {
      g_newList = {"S" + std::to_string(step), dirs[static_cast<size_t>(step / 3) % dirs.size()], "*.c;*.h"};
      OCS_SetOpenBarProp(instance_, OCS_OB_NEW_LIST, 0);
    }
    if (step % 4 == 1) OCS_SetOpenBarProp(instance_, OCS_OB_CLOSE_LIST, 0);
    if (step % 5 == 2) DeleteFileA((d + "\\f" + std::to_string(step * 5 - 3) + ".c").c_str());
    if (step % 7 == 3) OCS_SetOpenBarProp(instance_, OCS_OB_AUTO_REFRESH, step % 2);
    if (step % 9 == 4) OCS_SetOpenBarProp(instance_, OCS_OB_REFRESH, 0);
    pumpFor(15);
  }
  OCS_SetOpenBarProp(instance_, OCS_OB_AUTO_REFRESH, 1);
  EXPECT_GE(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), 1);
  // A reload of the configuration makes the Open Bar again, from the lists just saved.
  const int lists = OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT);
  reload();
  EXPECT_EQ(OCS_GetOpenBarProp(instance_, OCS_OB_LIST_COUNT), lists);
  close();
  const DWORD after = handleCount();
  EXPECT_LE(after, before);
}

}  // namespace
