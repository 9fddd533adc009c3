// The Open Bar in the program, driven as a user drives it: its commands by their command numbers, its lists read
// from the screen, files opened by a double click, and what the program leaves in its settings file. Also the way
// from the Customise dialog to the extensions dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "services/dialogs/dialog_ids.h"
#include "services/win32/extensions_resource.h"
#include "services/win32/openbar_ids.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

// A settings file section for one list of the Open Bar.
std::string listSection(int n, const std::string& title, const std::string& dir, const std::string& filters,
                        int sortType, bool selected) {
  return "[Child" + std::to_string(n) + "]\r\nTitle=" + title + "\r\nDir=" + dir + "\r\nFilters=" + filters +
         "\r\nOpenbarSortType=" + std::to_string(sortType) + "\r\nOpenbarSelected=" + (selected ? "1" : "0") +
         "\r\n";
}

HWND openBarOf(const Program& program) { return FindWindowExA(program.frame(), nullptr, "OSK Open Bar", nullptr); }

bool hasVisibleStyle(HWND window) {
  return window != nullptr && (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Children of the bar of a class, in the order they stand on the screen.
std::vector<HWND> placed(HWND bar, const char* windowClass) {
  std::vector<HWND> windows = childrenOfClass(bar, windowClass);
  auto origin = [](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return std::pair(r.top, r.left);
  };
  std::sort(windows.begin(), windows.end(), [&](HWND a, HWND b) { return origin(a) < origin(b); });
  return windows;
}

std::vector<std::string> items(HWND list) {
  std::vector<std::string> names;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count)) return names;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    // Across processes the text arrives in the list's own wide form: read it so, the names are plain ASCII here.
    wchar_t text[300] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
    std::string name;
    for (const wchar_t* c = text; *c != 0; ++c) name += static_cast<char>(*c);
    names.push_back(name);
  }
  return names;
}

std::string joined(const std::vector<std::string>& names) {
  std::string all;
  for (const std::string& name : names) all += name + " ";
  return all;
}

// The title of the current list carries the mark.
int currentList(HWND bar) {
  const std::vector<HWND> titles = placed(bar, "STATIC");
  for (size_t i = 0; i < titles.size(); ++i) {
    if (windowText(titles[i]).rfind("\xBB", 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

// Left clicks (two make a double click) at a point of the screen, with the frame in front.
void clickAt(HWND frame, POINT at, int clicks = 1) {
  SetCursorPos(at.x, at.y);
  SetForegroundWindow(frame);
  waitFor([&] { return GetForegroundWindow() == frame; }, 2s);
  INPUT inputs[4] = {};
  for (int i = 0; i < 2 * clicks; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = (i % 2 == 0) ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(static_cast<UINT>(2 * clicks), inputs, sizeof(INPUT));
}

// The middle of a list's entry on the screen.
POINT entryOnScreen(HWND list, int index) {
  DWORD_PTR height = 0;
  SendMessageTimeoutA(list, LB_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, 5000, &height);
  POINT at{20, static_cast<LONG>(height * index + height / 2)};
  ClientToScreen(list, &at);
  return at;
}

class OSK32OpenBar : public Scenario {
 protected:
  // The program without files, its settings file holding these lines; gives its frame.
  HWND startWith(const std::string& settings) {
    folder.write("osk.ini", settings);
    return start("") ? program().frame() : nullptr;
  }
  void makeFolder(const std::string& name) { CreateDirectoryA(folder.pathOf(name).c_str(), nullptr); }
};

// Shown and hidden by its command; a double click on a file opens it in the program.
TEST_F(OSK32OpenBar, TheToggleShowsTheBarAndADoubleClickOpensAFile) {
  makeFolder("src");
  folder.write("src\\main.c", "int main(void) { return 0; }\r\n");
  folder.write("src\\util.c", "/* util */\r\n");
  HWND frame = startWith("[Extended]\r\nOpenbarVisible=0\r\n" +
                         listSection(0, "Sources", folder.pathOf("src"), "*.c", 0, true));
  ASSERT_NE(frame, nullptr);
  HWND bar = openBarOf(program());
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(hasVisibleStyle(bar));

  program().command(numberOf("OpenBarToggle"));
  ASSERT_TRUE(waitFor([&] { return hasVisibleStyle(bar); }, 5s)) << "the toggle did not show the bar";
  const std::vector<HWND> lists = placed(bar, "LISTBOX");
  ASSERT_EQ(lists.size(), 1u);
  HWND list = lists[0];
  ASSERT_TRUE(waitFor([&] { return items(list) == std::vector<std::string>{"main.c", "util.c"}; }, 10s))
      << joined(items(list));

  clickAt(frame, entryOnScreen(list, 1), 2);   // a double click on the second entry
  ASSERT_TRUE(program().waitForDocuments(1)) << "the double click opened nothing";
  EXPECT_NE(program().activeTitle().find("util.c"), std::string::npos) << program().activeTitle();

  program().command(numberOf("OpenBarToggle"));
  EXPECT_TRUE(waitFor([&] { return !hasVisibleStyle(bar); }, 5s)) << "the toggle did not hide the bar";
  ASSERT_TRUE(program().close());
  EXPECT_EQ(iniValue(program().settingsFile(), "Extended", "OpenbarVisible"), "0");
}

// A list made with the new-list dialog, of C sources and headers sorted by type: the .c files come first, each
// group by name without regard to case; a file made in its folder shows up by itself; both lists are saved.
TEST_F(OSK32OpenBar, ANewListByTypeShowsSourcesBeforeHeadersFollowsItsFolderAndIsSaved) {
  makeFolder("first");
  makeFolder("proj");
  folder.write("first\\notes.txt", "notes\r\n");
  for (const char* name : {"Zeta.c", "gamma.h", "alpha.c", "Beta.h", "main.c", "readme.txt"}) {
    folder.write(std::string("proj\\") + name, "x\r\n");
  }
  // A stale section beyond the end of the lists: never read, and left behind the empty end section.
  ASSERT_NE(startWith("[Extended]\r\nOpenbarVisible=1\r\n" +
                      listSection(0, "First", folder.pathOf("first"), "*.*", 0, true) +
                      "[Child1]\r\nTitle=\r\nDir=\r\n" +
                      listSection(2, "Stale", folder.pathOf("first"), "*.*", 0, false)), nullptr);
  HWND bar = openBarOf(program());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(waitFor([&] { return placed(bar, "LISTBOX").size() == 1; }, 5s)) << "the stale list was read";
  HWND first = placed(bar, "LISTBOX")[0];

  HWND dialog = openDialog(program(), "OBNewList", "New List");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, IDC_OPENBAR_TITLE, "Project");
  setText(dialog, IDC_OPENBAR_DIR, folder.pathOf("proj"));
  setText(dialog, IDC_OPENBAR_FILTERS, "*.c;*.h");
  click(dialog, IDC_OPENBAR_BYTYPE);
  SendMessageTimeoutA(control(dialog, IDC_OPENBAR_BYTYPE), BM_SETCHECK, BST_CHECKED, 0, SMTO_NORMAL, 5000, nullptr);
  SendMessageTimeoutA(control(dialog, IDC_OPENBAR_BYNAME), BM_SETCHECK, BST_UNCHECKED, 0, SMTO_NORMAL, 5000, nullptr);
  ASSERT_TRUE(program().answer(dialog, IDOK));

  ASSERT_TRUE(waitFor([&] { return placed(bar, "LISTBOX").size() == 2; }, 5s));
  // The new list is the one that was not there before (it may not have its place on the screen yet).
  const std::vector<HWND> lists = placed(bar, "LISTBOX");
  HWND list = lists[0] == first ? lists[1] : lists[0];
  const std::vector<std::string> expected{"alpha.c", "main.c", "Zeta.c", "Beta.h", "gamma.h"};
  EXPECT_TRUE(waitFor([&] { return items(list) == expected; }, 10s)) << joined(items(list));

  folder.write("proj\\delta.c", "x\r\n");
  const std::vector<std::string> grown{"alpha.c", "delta.c", "main.c", "Zeta.c", "Beta.h", "gamma.h"};
  EXPECT_TRUE(waitFor([&] { return items(list) == grown; }, 10s)) << "no change shown: " << joined(items(list));

  ASSERT_TRUE(program().close());
  const std::string ini = program().settingsFile();
  EXPECT_EQ(iniValue(ini, "Child0", "Title"), "First");
  EXPECT_EQ(iniValue(ini, "Child1", "Title"), "Project");
  EXPECT_EQ(iniValue(ini, "Child1", "Filters"), "*.c;*.h");
  EXPECT_EQ(iniValue(ini, "Child1", "OpenbarSortType"), "1");
  EXPECT_EQ(iniValue(ini, "Child2", "Title"), "");
  EXPECT_EQ(iniValue(ini, "Child2", "Dir"), "");
}

// Deleting the selected file asks first: No keeps it, Yes takes it away and the list follows.
TEST_F(OSK32OpenBar, DeletingASelectedFileAsksFirst) {
  makeFolder("src");
  folder.write("src\\keep.c", "x\r\n");
  folder.write("src\\old.c", "x\r\n");
  HWND frame = startWith("[Extended]\r\nOpenbarVisible=1\r\n" +
                         listSection(0, "Sources", folder.pathOf("src"), "*.c", 0, true));
  ASSERT_NE(frame, nullptr);
  // The list is taken once it shows the files.
  HWND list = nullptr;
  ASSERT_TRUE(waitFor([&] {
    const std::vector<HWND> lists = placed(openBarOf(program()), "LISTBOX");
    list = lists.size() == 1 ? lists[0] : nullptr;
    return list != nullptr && items(list) == std::vector<std::string>{"keep.c", "old.c"};
  }, 10s));
  // Automatic refresh off from here on.
  program().command(numberOf("OBAutoRefresh"));

  clickAt(frame, entryOnScreen(list, 1));
  ASSERT_TRUE(waitFor([&] {
    DWORD_PTR selected = 0;
    SendMessageTimeoutA(list, LB_GETSELCOUNT, 0, 0, SMTO_NORMAL, 5000, &selected);
    return selected == 1;
  }, 5s));

  program().command(numberOf("OBDeleteFiles"));
  EXPECT_EQ(answerBox(program(), IDNO), "Send \"old.c\" to the Recycle Bin?");
  program().settle();
  EXPECT_TRUE(folder.exists("src\\old.c"));

  program().command(numberOf("OBDeleteFiles"));
  EXPECT_EQ(answerBox(program(), IDYES), "Send \"old.c\" to the Recycle Bin?");
  EXPECT_TRUE(waitFor([&] { return !folder.exists("src\\old.c"); }, 10s)) << "the file is still there";
  EXPECT_TRUE(folder.exists("src\\keep.c"));
  // Automatic refresh is off: the list follows because the command refreshes it.
  EXPECT_TRUE(waitFor([&] { return items(list) == std::vector<std::string>{"keep.c"}; }, 10s))
      << joined(items(list));
  EXPECT_TRUE(program().dialogs().empty()) << windowText(program().dialogs().front());
  ASSERT_TRUE(program().close());
  EXPECT_EQ(iniValue(program().settingsFile(), "Extended", "OpenbarAutoRefresh"), "0");
}

// The goto menu's items go to the lists in order; closing lists stops at the last one.
TEST_F(OSK32OpenBar, TheGotoMenuReachesEachListAndTheOnlyListCannotBeClosed) {
  makeFolder("one");
  makeFolder("two");
  HWND frame = startWith("[Extended]\r\nOpenbarVisible=1\r\n" +
                         listSection(0, "One", folder.pathOf("one"), "*.*", 0, true) +
                         listSection(1, "Two", folder.pathOf("two"), "*.*", 0, false));
  ASSERT_NE(frame, nullptr);
  HWND bar = openBarOf(program());
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(waitFor([&] { return currentList(bar) == 0; }, 5s));

  // The second item of the goto menu (its identifiers run from 15100).
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(15101, 0), 0);
  EXPECT_TRUE(waitFor([&] { return currentList(bar) == 1; }, 5s)) << "the goto menu did not reach list 2";
  program().command(numberOf("OBPrevList"));
  EXPECT_TRUE(waitFor([&] { return currentList(bar) == 0; }, 5s));

  // The command itself shows the lists as a menu at the pointer: its second item is the second list.
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(numberOf("OBGotoList"), 0), 0);
  HWND menu = nullptr;
  ASSERT_TRUE(waitFor([&] {
    const std::vector<HWND> menus = topLevelWindows(program().id(), "#32768");
    menu = menus.empty() ? nullptr : menus.front();
    return menu != nullptr;
  }, 5s)) << "no menu of the lists";
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 0);
  EXPECT_TRUE(waitFor([&] { return currentList(bar) == 1; }, 5s)) << "the menu's second item did not go to list 2";
  program().command(numberOf("OBPrevList"));
  EXPECT_TRUE(waitFor([&] { return currentList(bar) == 0; }, 5s));

  program().command(numberOf("OBClose"));
  ASSERT_TRUE(waitFor([&] { return placed(bar, "LISTBOX").size() == 1; }, 5s)) << "two lists, one closes";
  program().command(numberOf("OBClose"));
  program().settle();
  EXPECT_EQ(placed(bar, "LISTBOX").size(), 1u) << "the only list was closed";
  EXPECT_EQ(currentList(bar), 0);

  ASSERT_TRUE(program().close());
  const std::string ini = program().settingsFile();
  EXPECT_EQ(iniValue(ini, "Child0", "Title"), "Two");
  EXPECT_EQ(iniValue(ini, "Child1", "Title"), "");
}

// The Customise dialog leads to the extensions dialog: the sample library added there offers its commands at once
// and is loaded again at the next start.
TEST_F(OSK32OpenBar, AnExtensionAddedFromCustomiseOffersItsCommands) {
  folder.write("list.txt", "pear\r\napple\r\n");
  ASSERT_TRUE(start("list.txt", 1));   // the library's commands act on a document
  HWND customise = openDialog(program(), "Customise", "Customise");
  ASSERT_NE(customise, nullptr);
  postClick(customise, IDC_CUST_EXTENSIONS);
  HWND extensions = program().waitForDialog("Extensions");
  ASSERT_NE(extensions, nullptr);
  postClick(extensions, IDC_EXT_ADD);
  HWND browse = program().waitForDialog("Add Extension");
  ASSERT_NE(browse, nullptr);
  const std::string library = programFolder() + "OSKSAMPL.dll";
  setText(browse, 0x47c, library);
  setText(browse, 0x480, library);
  PostMessageA(browse, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(waitFor([&] {
    DWORD_PTR count = 0;
    SendMessageTimeoutA(control(extensions, IDC_EXT_LIST), LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    return count == 1;
  })) << "the library is not listed";
  ASSERT_TRUE(program().answer(extensions, IDOK));

  EXPECT_TRUE(holds(customise, IDC_CUST_COMMAND, "SortMarkedLines", true))
      << "Customise does not offer the library's command";
  ASSERT_TRUE(program().answer(customise, IDOK));

  HWND run = openDialog(program(), "RunCommand", "Run Command");
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(holds(run, IDC_RUN_LIST, "SortMarkedLines", false)) << "Run Command does not offer the library's command";
  ASSERT_TRUE(program().answer(run, IDCANCEL));
  ASSERT_TRUE(program().close());
  EXPECT_EQ(lstrcmpiA(iniValue(program().settingsFile(), "Extended", "ExtDLL0").c_str(), library.c_str()), 0)
      << iniValue(program().settingsFile(), "Extended", "ExtDLL0");
}

}  // namespace
}  // namespace osk::drive
