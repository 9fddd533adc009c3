// Extension libraries through OSKOCS32.dll, as the program uses them: the sample library and two faulty ones
// listed in a real settings file, their commands in the configuration and in a menu, run on an engine buffer, and
// a configuration that outlives a library. Message boxes are answered by a hook and recorded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "services/ext_api.h"
#include "services/win32/extensions_api.h"
#include "services/win32/ocs_api.h"
#include "tests/services/win32/box_recorder.h"
#include "tests/services/win32/test_frame.h"

namespace {

using osk::test::programDirectory;

// Message boxes titled "OSK" are recorded as "caption|text" and closed with OK.
std::vector<std::string>& g_boxes = osk::test::recordedBoxes();

// ---- The frame: lists two commands of its own for message 2124. ----

const char* const kFrameCommands[] = {"SaveFile", "Undo"};

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == OCS_MSG_COMMAND_DETAILS) {
    if (wParam >= 2) return 0;
    auto* record = reinterpret_cast<OcsCommandDetails*>(lParam);
    std::memset(record, 0, sizeof *record);
    std::strncpy(record->name, kFrameCommands[wParam], sizeof record->name - 1);
    return 1;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string profile(const std::string& ini, const char* section, const char* key) {
  char text[300] = {};
  GetPrivateProfileStringA(section, key, "", text, sizeof text, ini.c_str());
  return text;
}

struct MenuEntry {
  std::string text;
  UINT id;
  HMENU popup;
};

std::vector<MenuEntry> entries(HMENU menu) {
  std::vector<MenuEntry> out;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    out.push_back({text, GetMenuItemID(menu, i), GetSubMenu(menu, i)});
  }
  return out;
}

class ExtensionLibraries : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  }
  static void TearDownTestSuite() { ECD_flTerminate(); }

  void SetUp() override {
    g_boxes.clear();
    ASSERT_TRUE(osk::test::startRecordingBoxes("OSK"));
    dir_ = programDirectory();
    ini_ = dir_ + "\\ext_test.ini";
    DeleteFileA(ini_.c_str());
    frame_ = osk::test::createTestFrame("OSK32 extension test frame", frameProc, {0, 0, 200, 100});
    ASSERT_NE(frame_, nullptr);
    instance_ = OCS_CreateInstance(frame_, ini_.c_str());
    ASSERT_NE(instance_, nullptr);
    // A configuration with the frame's two commands.
    osk::CConfiguration cfg;
    cfg.addGroup(1, "General");
    for (const char* name : kFrameCommands) {
      auto* c = new osk::CCommand;
      c->group = 1;
      c->number = static_cast<uint16_t>(cfg.nextFreeNumber++);
      c->name = name;
      c->menuText = name;
      cfg.appendCommand(c);
    }
    ASSERT_EQ(osk::saveConfigurationFile(cfg, file("ext_test.cfg")), osk::ConfigSaveStatus::kOk);
  }
  void TearDown() override {
    OCS_DestroyInstance(instance_);
    if (buffer_) ECD_flCloseBuffer(buffer_);
    if (frame_) DestroyWindow(frame_);
    osk::test::stopRecordingBoxes();
    for (const std::string& f : files_) DeleteFileA(f.c_str());
    DeleteFileA(ini_.c_str());
  }

  std::string file(const std::string& name) {
    files_.push_back(dir_ + "\\" + name);
    return files_.back();
  }
  std::string library(const char* name) { return dir_ + "\\" + name; }
  void list(const std::vector<std::string>& paths) {
    for (size_t i = 0; i < paths.size(); ++i)
      WritePrivateProfileStringA("Extended", ("ExtDLL" + std::to_string(i)).c_str(), paths[i].c_str(), ini_.c_str());
  }
  int32_t loadConfiguration(const char* name = "ext_test.cfg") {
    return OCS_LoadConfiguration(instance_, frame_, 0, name);
  }
  // The number of the command of that name, or 0.
  int32_t numberOf(const std::string& name) {
    char found[OCS_COMMAND_NAME_SIZE];
    for (int32_t n = 1; n < 4096; ++n)
      if (OCS_GetMacroString(instance_, n, found, nullptr) && name == found) return n;
    return 0;
  }
  std::unique_ptr<osk::CConfiguration> saved(const std::string& name) {
    const std::string path = file(name);
    if (!OCS_SaveConfiguration(instance_, path.c_str())) return nullptr;
    std::vector<uint8_t> bytes;
    if (osk::readConfigurationFile(path, bytes) != osk::ConfigLoadStatus::kOk) return nullptr;
    return osk::loadConfiguration(bytes, {}).config;
  }
  // A new buffer holding `lines`, made the engine's current target.
  void openBuffer(const std::vector<const char*>& lines) {
    EcdOpenRecord r{};
    r.undoCapacity = 200;
    r.tabLength = 8;
    ASSERT_EQ(ECD_flOpenBuffer(&r), 0);
    buffer_ = r.buffer;
    ASSERT_EQ(SetCurBuffer(buffer_), 1);
    int32_t after = 0;
    for (const char* line : lines) ASSERT_EQ(InsertLine(after++, line), 1);
  }
  std::vector<std::string> bufferLines() {
    std::vector<std::string> out;
    char text[1025];
    for (int32_t line = 1; line <= GetLineCount(); ++line) {
      GetLine(line, text);
      out.push_back(text);
    }
    return out;
  }

  std::string dir_, ini_;
  HWND frame_ = nullptr;
  HOCSINSTANCE instance_ = nullptr;
  HEDBUFFER buffer_ = nullptr;
  std::vector<std::string> files_;
};

TEST_F(ExtensionLibraries, SampleLoadsFaultyOnesAreRefusedOrBoundedAndTheListEndsAtAnEmptyKey) {
  list({library("OSKSAMPL.dll"), library("ext_missing.dll"), library("ext_endless.dll"), "",
        library("never_read.dll")});
  ASSERT_TRUE(loadConfiguration());
  EXPECT_EQ(OCS_LoadExtensionSettings(instance_), 2);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Failed to load extension DLL \"" + library("ext_missing.dll") + "\"");

  const int32_t sort = numberOf("SortMarkedLines");
  EXPECT_GT(sort, numberOf("Undo"));
  EXPECT_NE(numberOf("RemoveTrailingBlanks"), 0);
  EXPECT_NE(numberOf("InsertRunningNumber"), 0);
  EXPECT_NE(numberOf(std::string(32, 'X')), 0);   // the endless library's names, cut to 32 characters

  auto cfg = saved("ext_saved.cfg");
  ASSERT_NE(cfg, nullptr);
  ASSERT_NE(cfg->findGroup(999), nullptr);
  EXPECT_EQ(cfg->findGroup(999)->name, "Extensions");
  std::vector<std::string> names;
  for (const osk::CConfigExtensionDLL& e : cfg->extensions) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"OSKSAMPL.dll", "ext_endless.dll"}));
  int endless = 0;
  for (const osk::CCommand& c : cfg->commands) {
    if (c.name == "InsertRunningNumber") EXPECT_EQ(c.conditionWord, 0x04000801u);
    if (c.name == "SortMarkedLines") EXPECT_EQ(c.conditionWord, 0x801u);
    if (c.group == 999 && c.helpText == std::string(64, 'X')) ++endless;
  }
  // As many of the endless library's commands as a saveable configuration holds.
  EXPECT_GT(endless, 50);
  EXPECT_LT(endless, EXT_MAX_INDEX);
}

TEST_F(ExtensionLibraries, MenusAreBuiltFromTheLibrariesDescriptions) {
  list({library("OSKSAMPL.dll"), library("ext_endless.dll")});
  OCS_LoadExtensionSettings(instance_);
  ASSERT_TRUE(loadConfiguration());
  HMENU menu = CreatePopupMenu();
  ASSERT_TRUE(OCS_AddExtensionsToMenu(instance_, menu));

  const auto top = entries(menu);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].text, "S&ample Tools");
  ASSERT_NE(top[0].popup, nullptr);
  const auto tools = entries(top[0].popup);
  ASSERT_EQ(tools.size(), 4u);
  EXPECT_EQ(tools[0].text, "&Sort Marked Lines");
  EXPECT_EQ(static_cast<int32_t>(tools[0].id), numberOf("SortMarkedLines"));
  EXPECT_EQ(tools[1].text, "&Remove Trailing Blanks");
  EXPECT_EQ(tools[2].id, 0u);   // separator
  EXPECT_EQ(static_cast<int32_t>(tools[3].id), numberOf("InsertRunningNumber"));

  // The endless library nests popups: the menu and fifteen levels below it take items, the popups of the
  // sixteenth stay empty.
  int depth = 0;
  for (HMENU m = top[1].popup; m; m = GetSubMenu(m, 0)) ++depth;
  EXPECT_EQ(depth, 16);
  DestroyMenu(menu);
}

TEST_F(ExtensionLibraries, SampleCommandsChangeTheText) {
  list({library("OSKSAMPL.dll")});
  OCS_LoadExtensionSettings(instance_);
  openBuffer({"pear  ", "apple\t", "fig", "banana "});
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "RemoveTrailingBlanks", ""), 1);
  EXPECT_EQ(bufferLines(), (std::vector<std::string>{"pear", "apple", "fig", "banana"}));

  // Lines 2 to 4 marked as lines: only they are sorted, as one undo step.
  ASSERT_EQ(AnchorMark(2, 2, 1), 1);
  ASSERT_EQ(UpdateMark(4, 1), 1);
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", nullptr), 1);
  EXPECT_EQ(bufferLines(), (std::vector<std::string>{"pear", "apple", "banana", "fig"}));
  UnMark();
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", ""), 1);
  EXPECT_EQ(bufferLines(), (std::vector<std::string>{"apple", "banana", "fig", "pear"}));
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(bufferLines(), (std::vector<std::string>{"pear", "apple", "banana", "fig"}));

  ASSERT_EQ(SetCaretCol(4, 4), 1);
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "InsertRunningNumber", "10"), 1);
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "InsertRunningNumber", ""), 1);
  EXPECT_EQ(bufferLines()[3], "fig1011");

  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "NoSuchCommand", ""), 0);
}

TEST_F(ExtensionLibraries, TwoLibrariesAnsweringOneNameRunTheFirst) {
  list({library("OSKSAMPL.dll"), library("ext_endless.dll")});
  OCS_LoadExtensionSettings(instance_);
  openBuffer({"b", "a"});
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", ""), 1);
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "AnythingElse", ""), 7);

  DeleteFileA(ini_.c_str());
  list({library("ext_endless.dll"), library("OSKSAMPL.dll")});
  OCS_LoadExtensionSettings(instance_);
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", ""), 7);
}

TEST_F(ExtensionLibraries, SettingsAreWrittenBackWithTheLibrariesOwn) {
  list({library("OSKSAMPL.dll"), library("ext_endless.dll"), library("ext_endless.dll")});
  WritePrivateProfileStringA("Sample Extension", "NextNumber", "41", ini_.c_str());
  OCS_LoadExtensionSettings(instance_);
  openBuffer({""});
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "InsertRunningNumber", ""), 1);
  EXPECT_EQ(bufferLines()[0], "41");

  // A library listed twice loads twice; the list is written back as it stands, ended by an empty key.
  ASSERT_TRUE(OCS_SaveExtensionSettings(instance_));
  EXPECT_EQ(profile(ini_, "Extended", "ExtDLL0"), library("OSKSAMPL.dll"));
  EXPECT_EQ(profile(ini_, "Sample Extension", "NextNumber"), "42");
  EXPECT_EQ(profile(ini_, "Extended", "ExtDLL2"), library("ext_endless.dll"));
  EXPECT_EQ(profile(ini_, "Extended", "ExtDLL3"), "");
}

TEST_F(ExtensionLibraries, ConfigurationSavedWithALibraryForgetsItOnceTheLibraryIsGone) {
  list({library("OSKSAMPL.dll")});
  OCS_LoadExtensionSettings(instance_);
  ASSERT_TRUE(loadConfiguration());
  ASSERT_TRUE(OCS_SaveConfiguration(instance_, file("ext_with.cfg").c_str()));

  // The library is uninstalled: the list is empty now.
  DeleteFileA(ini_.c_str());
  EXPECT_EQ(OCS_LoadExtensionSettings(instance_), 0);
  g_boxes.clear();
  ASSERT_TRUE(loadConfiguration("ext_with.cfg"));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|One or more commands in this configuration is invalid.");
  EXPECT_NE(numberOf("SortMarkedLines"), 0);   // the commands stay, unresolved
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", ""), 0);

  auto cfg = saved("ext_without.cfg");
  ASSERT_NE(cfg, nullptr);
  EXPECT_EQ(cfg->extensions.count(), 0);
  bool kept = false;
  for (const osk::CCommand& c : cfg->commands) kept = kept || c.name == "SortMarkedLines";
  EXPECT_TRUE(kept);
}

// ---- The extensions dialog, driven from a timer that runs inside its modal loop. ----

struct DialogScript {
  std::string duplicate, another;
  int step = 0;
  int ticks = 0;
  std::vector<int> listCounts;   // the list's length each time the script looked
};
DialogScript* g_script = nullptr;

BOOL CALLBACK collectDialogs(HWND window, LPARAM out) {
  char cls[32] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (IsWindowVisible(window) && std::strcmp(cls, "#32770") == 0)
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

HWND dialogTitled(const std::vector<HWND>& dialogs, const char* title) {
  for (HWND d : dialogs) {
    char caption[64] = {};
    GetWindowTextA(d, caption, sizeof caption);
    if (std::strcmp(caption, title) == 0) return d;
  }
  return nullptr;
}

void chooseFile(HWND fileDialog, const std::string& path) {
  if (!SetDlgItemTextA(fileDialog, 0x47c, path.c_str())) SetDlgItemTextA(fileDialog, 0x480, path.c_str());
  PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
}

void CALLBACK driveDialog(HWND, UINT, UINT_PTR, DWORD) {
  DialogScript& s = *g_script;
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), collectDialogs, reinterpret_cast<LPARAM>(&dialogs));
  HWND main = dialogTitled(dialogs, "Extensions");
  HWND file = dialogTitled(dialogs, "Add Extension");
  if (++s.ticks > 1000) {   // half a minute at least: give up rather than hang
    for (HWND d : dialogs) PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  if (!main) return;
  const auto clickOn = [main](int id) {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, id)));
  };
  const int count = static_cast<int>(SendDlgItemMessageA(main, 5001, LB_GETCOUNT, 0, 0));
  switch (s.step) {
    case 0:   // the dialog lists the library loaded from the settings; add the same one again
      if (dialogs.size() != 1) return;
      s.listCounts.push_back(count);
      clickOn(5003);
      ++s.step;
      break;
    case 1:
    case 3:
      if (!file) return;
      chooseFile(file, s.step == 1 ? s.duplicate : s.another);
      ++s.step;
      break;
    case 2:   // refused with a message; now add another library
      if (dialogs.size() != 1 || g_boxes.empty()) return;
      s.listCounts.push_back(count);
      clickOn(5003);
      ++s.step;
      break;
    case 4:   // added; remove the first library
      if (dialogs.size() != 1 || count != 2) return;
      s.listCounts.push_back(count);
      SendDlgItemMessageA(main, 5001, LB_SETCURSEL, 0, 0);
      clickOn(5004);
      ++s.step;
      break;
    case 5:
      if (count != 1) return;
      s.listCounts.push_back(count);
      PostMessageA(main, WM_COMMAND, IDOK, 0);
      ++s.step;
      break;
  }
}

TEST_F(ExtensionLibraries, ExtensionsDialogAddsRemovesAndRefusesALibraryLoadedTwice) {
  list({library("OSKSAMPL.dll")});
  OCS_LoadExtensionSettings(instance_);
  ASSERT_TRUE(loadConfiguration());
  DialogScript script;
  script.duplicate = library("OSKSAMPL.dll");
  script.another = library("ext_endless.dll");
  g_script = &script;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, driveDialog);
  const int32_t changed = OCS_ExtensionsDlg(instance_, frame_);
  KillTimer(nullptr, timer);
  g_script = nullptr;

  EXPECT_EQ(script.step, 6);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(script.listCounts, (std::vector<int>{1, 1, 2, 1}));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Extension DLL already loaded.");
  // The sample is gone, the other library runs, and the configuration knows only it.
  EXPECT_EQ(OCS_RunExtensionCommand(instance_, "SortMarkedLines", ""), 7);
  EXPECT_EQ(numberOf("SortMarkedLines"), 0);
  EXPECT_NE(numberOf(std::string(32, 'X')), 0);
}

}  // namespace
