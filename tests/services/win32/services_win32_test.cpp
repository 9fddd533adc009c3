// OSKOCS32.dll as the program uses it: an instance made for a frame window that lists its commands, configurations
// loaded from files and from the program's resource, keys mapped through the instance, histories kept in a real
// settings file, and dates by the user's pictures. Message boxes are answered by a hook and recorded.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/config/config_writer.h"
#include "services/win32/ocs_api.h"
#include "tests/services/win32/box_recorder.h"
#include "tests/services/win32/test_frame.h"

namespace {

using osk::test::programDirectory;

// Every message box is recorded as "caption|text" and closed with OK.
std::vector<std::string>& g_boxes = osk::test::recordedBoxes();

// ---- The frame: answers message 2124 from a list of commands. ----

struct FrameCommand {
  std::string name;
  uint32_t conditionWord;
};
std::vector<FrameCommand> g_frameCommands;
int g_detailRequests = 0;

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == OCS_MSG_COMMAND_DETAILS) {
    ++g_detailRequests;
    if (wParam >= g_frameCommands.size()) return 0;
    auto* record = reinterpret_cast<OcsCommandDetails*>(lParam);
    std::memset(record, 0, sizeof *record);
    std::strncpy(record->name, g_frameCommands[wParam].name.c_str(), sizeof record->name - 1);
    record->conditionWord = g_frameCommands[wParam].conditionWord;
    return 1;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- Files beside the test program. ----

std::string windowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

std::vector<uint8_t> builtinResource() {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1001), "CONFIGFILE");
  if (!found) return {};
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  return data ? std::vector<uint8_t>(data, data + SizeofResource(nullptr, found)) : std::vector<uint8_t>{};
}

uint16_t keyWord(int code, bool shift, bool ctrl, bool alt) {
  return static_cast<uint16_t>((code << 3) | (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0));
}

struct Bound {
  int32_t result = 0;
  int32_t enabled = -1;
  std::string name, parameter;
};

class ServicesInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    ASSERT_TRUE(osk::test::startRecordingBoxes());
    resource_ = builtinResource();
    ASSERT_FALSE(resource_.empty());
    // The frame knows every command of the built-in configuration with the condition word stored for it, so
    // loading it names no invalid command and changes nothing.
    auto loaded = osk::loadConfiguration(resource_, {});
    ASSERT_EQ(loaded.status, osk::ConfigLoadStatus::kOk);
    g_frameCommands.clear();
    for (const osk::CCommand& c : loaded.config->commands)
      if (!c.name.empty()) g_frameCommands.push_back({c.name, c.conditionWord});
    frame_ = osk::test::createTestFrame("OSK32 test frame", frameProc, {0, 0, 200, 100});
    ASSERT_NE(frame_, nullptr);
    instance_ = OCS_CreateInstance(frame_, (programDirectory() + "\\OSK.INI").c_str());
    ASSERT_NE(instance_, nullptr);
  }
  void TearDown() override {
    OCS_DestroyInstance(instance_);
    if (frame_) DestroyWindow(frame_);
    osk::test::stopRecordingBoxes();
    for (const std::string& f : files_) DeleteFileA(f.c_str());
  }

  std::string beside(const std::string& name) {
    files_.push_back(programDirectory() + "\\" + name);
    return files_.back();
  }
  int32_t loadBuiltin() { return OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001); }
  Bound map(uint16_t word, uint16_t context) {
    Bound b;
    char name[OCS_COMMAND_NAME_SIZE] = {}, parameter[OCS_PARAMETER_SIZE] = {};
    b.result = OCS_MapKeyDown(instance_, &word, context, &b.enabled, name, parameter);
    b.name = name;
    b.parameter = parameter;
    return b;
  }
  int commandCount() {
    int n = 0;
    for (int32_t number = 1; number < 0x10000; ++number)
      if (OCS_GetMacroString(instance_, number, nullptr, nullptr)) ++n;
    return n;
  }

  std::vector<uint8_t> resource_;
  HWND frame_ = nullptr;
  HOCSINSTANCE instance_ = nullptr;
  std::vector<std::string> files_;
};

TEST_F(ServicesInstance, BuiltInResourceHoldsTheWholeDefaultConfiguration) {
  auto loaded = osk::loadConfiguration(resource_, {});
  ASSERT_EQ(loaded.status, osk::ConfigLoadStatus::kOk);
  const osk::CConfiguration& cfg = *loaded.config;
  EXPECT_EQ(cfg.groups.count(), 12);
  EXPECT_EQ(cfg.commandCount(), 177);
  EXPECT_EQ(cfg.commands.count(), 177 + 12);
  EXPECT_EQ(cfg.menus.count(), 7);
  int items = 0;
  for (const osk::CMenuObject& m : cfg.menus) osk::forEachMenuItem(m.root, [&](auto&, int, bool) { ++items; });
  EXPECT_EQ(items, 176);
  EXPECT_EQ(cfg.keyMap.count(), 141);
  EXPECT_EQ(cfg.toolBars.count(), 3);
  int elements = 0;
  for (const osk::CToolBarObject& t : cfg.toolBars) elements += t.elements.count();
  EXPECT_EQ(elements, 61);
  EXPECT_EQ(cfg.imageCount(), 61);
  // The empty extension list's end record follows the counted sections.
  ASSERT_GE(resource_.size(), 17u);
  EXPECT_EQ(std::vector<uint8_t>(resource_.end() - 17, resource_.end()), std::vector<uint8_t>(17, 0));
}

TEST_F(ServicesInstance, NothingAnswersBeforeAConfigurationIsLoaded) {
  EXPECT_EQ(map(keyWord('S', false, true, false), 10).result, 0);
  EXPECT_EQ(OCS_GetMacroString(instance_, 1, nullptr, nullptr), 0);
  EXPECT_EQ(OCS_SaveConfiguration(instance_, beside("svc_none.cfg").c_str()), 0);
  EXPECT_EQ(GetFileAttributesA(files_.back().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ServicesInstance, LoadsTheProgramResourceAndAsksTheFrameForItsCommands) {
  ASSERT_NE(loadBuiltin(), 0);
  EXPECT_GT(g_detailRequests, 0);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_EQ(commandCount(), 177);
  char name[OCS_COMMAND_NAME_SIZE] = {}, parameter[OCS_PARAMETER_SIZE] = {}, help[OCS_HELP_TEXT_SIZE] = {};
  EXPECT_EQ(OCS_GetMacroString(instance_, 0xF000, name, parameter), 0);
  EXPECT_EQ(OCS_GetMacroString(instance_, 178, name, parameter), 0);
  // Numbers follow the command list: top-level items (with empty names) and commands alike.
  int32_t saveFile = 0;
  for (int32_t number = 1; number <= 177; ++number) {
    ASSERT_EQ(OCS_GetMacroString(instance_, number, name, parameter), 1);
    if (std::strcmp(name, "SaveFile") == 0) saveFile = number;
  }
  ASSERT_NE(saveFile, 0);
  EXPECT_NE(OCS_GetHelpString(instance_, saveFile, help), 0);
  EXPECT_STRNE(help, "");
  std::strcpy(help, "stale");
  EXPECT_EQ(OCS_GetHelpString(instance_, 0xF000, help), 0);
  EXPECT_STREQ(help, "");
}

TEST_F(ServicesInstance, MapsKeysAndMouseEventsInTheirContexts) {
  ASSERT_NE(loadBuiltin(), 0);
  Bound save = map(keyWord('S', false, true, false), 10);
  EXPECT_EQ(save.result, 1);
  EXPECT_EQ(save.name, "SaveFile");
  EXPECT_EQ(save.enabled, 1);
  // The marked editor falls back to the editor; the Open Bar falls back to "None".
  EXPECT_EQ(map(keyWord(VK_BACK, false, true, false), 12).name, "DeleteWordLeft");
  EXPECT_EQ(map(keyWord(VK_TAB, false, false, false), 12).name, "Indent");
  Bound clip = map(static_cast<uint16_t>(0xF800 | keyWord('3', false, false, true)), 11);
  EXPECT_EQ(clip.name, "ClipBuffer");
  EXPECT_EQ(clip.parameter, "3");
  EXPECT_EQ(map(keyWord(VK_RETURN, false, false, false), 11).name, "OBOpen");
  // The road of a right click in an editor window.
  const int rightUp = OCS_MapMouseMessageToKeyEvent(WM_RBUTTONUP);
  EXPECT_EQ(rightUp, 243);
  Bound menu = map(keyWord(rightUp, false, false, false), 24);
  EXPECT_EQ(menu.name, "TrackMenu");
  EXPECT_EQ(menu.parameter, "\"Editor Menu\"");
  EXPECT_EQ(OCS_MapMouseMessageToKeyEvent(WM_MOUSEWHEEL), 0);

  Bound none;
  none.name = "untouched";
  uint16_t plainQ = keyWord('Q', false, false, false);
  char name[OCS_COMMAND_NAME_SIZE] = "untouched";
  EXPECT_EQ(OCS_MapKeyDown(instance_, &plainQ, 10, &none.enabled, name, nullptr), 0);
  EXPECT_STREQ(name, "untouched");
  EXPECT_EQ(none.enabled, -1);
  EXPECT_EQ(OCS_MapKeyDown(nullptr, &plainQ, 10, nullptr, nullptr, nullptr), 0);
}

TEST_F(ServicesInstance, LoadsFilesFromTheProgramAndWindowsDirectories) {
  writeFile(beside("svc_builtin.cfg"), resource_);
  ASSERT_NE(OCS_LoadConfiguration(instance_, frame_, 0, "svc_builtin.cfg"), 0);
  EXPECT_EQ(commandCount(), 177);
  EXPECT_NE(OCS_IsConfigurationFile(files_.back().c_str()), 0);

  const std::string inWindows = windowsDirectory() + "\\svc_windir.cfg";
  files_.push_back(inWindows);
  writeFile(inWindows, resource_);
  EXPECT_NE(OCS_LoadConfiguration(instance_, frame_, 1, "svc_windir.cfg"), 0);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ServicesInstance, FailedLoadsKeepThePreviousConfiguration) {
  ASSERT_NE(loadBuiltin(), 0);
  // Missing and foreign files fail without a word.
  EXPECT_EQ(OCS_LoadConfiguration(instance_, frame_, 0, "svc_missing.cfg"), 0);
  writeFile(beside("svc_foreign.cfg"), std::vector<uint8_t>(64, 'x'));
  EXPECT_EQ(OCS_LoadConfiguration(instance_, frame_, 0, "svc_foreign.cfg"), 0);
  EXPECT_EQ(OCS_IsConfigurationFile(files_.back().c_str()), 0);
  EXPECT_TRUE(g_boxes.empty());
  // A file cut short inside its sections is damaged: the user is told.
  std::vector<uint8_t> cut(resource_.begin(), resource_.begin() + static_cast<long>(resource_.size() / 2));
  writeFile(beside("svc_cut.cfg"), cut);
  EXPECT_EQ(OCS_LoadConfiguration(instance_, frame_, 0, "svc_cut.cfg"), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Failed to load configuration.");
  // A missing resource fails quietly too.
  EXPECT_EQ(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1002), 0);
  EXPECT_EQ(g_boxes.size(), 1u);

  EXPECT_EQ(commandCount(), 177);
  EXPECT_EQ(map(keyWord('S', false, true, false), 10).name, "SaveFile");
}

TEST_F(ServicesInstance, LaterSuccessfulLoadReplacesTheConfiguration) {
  ASSERT_NE(loadBuiltin(), 0);
  osk::CConfiguration small;
  small.addGroup(1, "General");
  auto* c = new osk::CCommand;
  c->group = 1;
  c->number = 1;
  c->name = "SaveAllFiles";
  small.appendCommand(c);
  ASSERT_TRUE(small.addKeyMapping(keyWord('S', false, true, false), 10, 1, 1));
  std::vector<uint8_t> bytes;
  ASSERT_EQ(osk::serializeConfiguration(small, bytes), osk::ConfigSaveStatus::kOk);
  writeFile(beside("svc_small.cfg"), bytes);
  ASSERT_NE(OCS_LoadConfiguration(instance_, frame_, 0, "svc_small.cfg"), 0);
  EXPECT_EQ(commandCount(), 1);
  EXPECT_EQ(map(keyWord('S', false, true, false), 10).name, "SaveAllFiles");
  EXPECT_EQ(map(keyWord('F', false, true, false), 10).result, 0);
}

TEST_F(ServicesInstance, CommandsTheFrameDoesNotKnowAreReportedAndStillLoad) {
  g_frameCommands.erase(g_frameCommands.begin());
  ASSERT_NE(loadBuiltin(), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|One or more commands in this configuration is invalid.");
  EXPECT_EQ(commandCount(), 177);
}

TEST_F(ServicesInstance, SavingTheLoadedResourceGivesTheSameBytes) {
  ASSERT_NE(loadBuiltin(), 0);
  const std::string path = beside("svc_saved.cfg");
  writeFile(path, {1, 2, 3});   // an older file of that name is replaced
  ASSERT_NE(OCS_SaveConfiguration(instance_, path.c_str()), 0);
  EXPECT_EQ(readFile(path), resource_);
  files_.push_back(path + ".new");
  EXPECT_EQ(GetFileAttributesA(files_.back().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ServicesInstance, SavingWhereNoFileCanBeMadeIsReported) {
  ASSERT_NE(loadBuiltin(), 0);
  const std::string path = programDirectory() + "\\no such folder\\svc.cfg";
  EXPECT_EQ(OCS_SaveConfiguration(instance_, path.c_str()), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Failed to save configuration.");
}

TEST_F(ServicesInstance, OrdinaryWindowsGiveNoMouseContext) {
  char name[OCS_TOOL_BAR_NAME_SIZE] = "untouched";
  EXPECT_EQ(OCS_GetPositionConstraint(instance_, frame_, name), 0);
  EXPECT_STREQ(name, "untouched");
  EXPECT_EQ(OCS_IsPartOfOpenBar(instance_, frame_), 0);
  EXPECT_EQ(OCS_GetPositionConstraint(nullptr, frame_, name), 0);
}

// ---- Histories in a real settings file. ----

class HistorySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = programDirectory() + "\\svc_history.ini";
    DeleteFileA(path_.c_str());
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }

  std::vector<std::string> comboStrings(HOCSHISTORY store, int32_t id, const char* typed) {
    HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWN | WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    std::vector<std::string> out;
    if (!combo) return out;
    SetWindowTextA(combo, typed);
    OCS_FillCombo(store, combo, id);
    const LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      char text[1100] = {};
      SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    char shown[256] = {};
    GetWindowTextA(combo, shown, sizeof shown);
    shown_ = shown;
    DestroyWindow(combo);
    return out;
  }
  // Empty when nothing was copied.
  std::string top(HOCSHISTORY store, int32_t id, int32_t size = 1024) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    OCS_GetTopString(store, buffer.data(), size, id);
    return buffer.data();
  }

  std::string path_;
  std::string shown_;
};

TEST_F(HistorySettings, StringsComeBackExactlyAndInOrder) {
  HOCSHISTORY saved = OCS_CreateHistoryStore();
  const std::vector<std::string> typed = {"  leading blanks", "trailing blanks  ", "\"quoted\"", "'single'",
                                          "a = b; c", "main.cpp"};
  for (const std::string& s : typed) OCS_AddHistoryString(saved, s.c_str(), 1);
  OCS_AddHistoryString(saved, "42", 7);
  OCS_SaveHistorySettings(saved, path_.c_str());
  OCS_DestroyHistoryStore(saved);

  HOCSHISTORY loaded = OCS_CreateHistoryStore();
  OCS_LoadHistorySettings(loaded, path_.c_str());
  const std::vector<std::string> newestFirst(typed.rbegin(), typed.rend());
  EXPECT_EQ(comboStrings(loaded, 1, ""), newestFirst);
  EXPECT_EQ(shown_, "main.cpp");
  EXPECT_EQ(top(loaded, 7), "42");
  EXPECT_EQ(top(loaded, 1, 4), "main");
  OCS_DestroyHistoryStore(loaded);
}

TEST_F(HistorySettings, ComboForAnUnknownHistoryKeepsWhatWasTyped) {
  HOCSHISTORY store = OCS_CreateHistoryStore();
  EXPECT_TRUE(comboStrings(store, 3, "typed text").empty());
  EXPECT_EQ(shown_, "typed text");
  EXPECT_EQ(top(store, 3), "");
  OCS_DestroyHistoryStore(store);
}

TEST_F(HistorySettings, HostileCountsReadNoMoreThanAHistoryHolds) {
  WritePrivateProfileStringA("ExtHistory 0", "HistId", "2", path_.c_str());
  WritePrivateProfileStringA("ExtHistory 0", "NumHist", "100000", path_.c_str());
  for (int i = 99980; i < 100000; ++i)
    WritePrivateProfileStringA("ExtHistory 0", ("Str " + std::to_string(i)).c_str(),
                               ("s" + std::to_string(i)).c_str(), path_.c_str());
  WritePrivateProfileStringA("ExtHistory 1", "HistId", "3", path_.c_str());
  WritePrivateProfileStringA("ExtHistory 1", "NumHist", "-5", path_.c_str());
  WritePrivateProfileStringA("ExtHistory 1", "Str 0", "never", path_.c_str());
  HOCSHISTORY store = OCS_CreateHistoryStore();
  OCS_LoadHistorySettings(store, path_.c_str());
  const auto strings = comboStrings(store, 2, "");
  ASSERT_EQ(strings.size(), 16u);
  EXPECT_EQ(strings.front(), "s99999");
  EXPECT_EQ(strings.back(), "s99984");
  EXPECT_TRUE(comboStrings(store, 3, "").empty());
  OCS_DestroyHistoryStore(store);
}

TEST_F(HistorySettings, SmallerSaveLeavesNoOldHistoryBehind) {
  HOCSHISTORY store = OCS_CreateHistoryStore();
  OCS_AddHistoryString(store, "one", 1);
  OCS_AddHistoryString(store, "two", 2);
  OCS_SaveHistorySettings(store, path_.c_str());
  OCS_DestroyHistoryStore(store);

  store = OCS_CreateHistoryStore();
  OCS_AddHistoryString(store, "only", 1);
  OCS_SaveHistorySettings(store, path_.c_str());
  OCS_DestroyHistoryStore(store);

  store = OCS_CreateHistoryStore();
  OCS_LoadHistorySettings(store, path_.c_str());
  EXPECT_EQ(top(store, 1), "only");
  EXPECT_EQ(top(store, 2), "");
  OCS_DestroyHistoryStore(store);
}

// ---- Dates by the pictures of the "intl" section. ----

class DatePictures : public ::testing::Test {
 protected:
  void SetUp() override {
    shortPicture_ = read("sShortDate");
    longPicture_ = read("sLongDate");
  }
  void TearDown() override {
    restore("sShortDate", shortPicture_);
    restore("sLongDate", longPicture_);
  }
  static std::string read(const char* key) {
    char value[128] = {};
    GetProfileStringA("intl", key, "\x01", value, sizeof value);
    return value;
  }
  static void restore(const char* key, const std::string& value) {
    WriteProfileStringA("intl", key, value == "\x01" ? nullptr : value.c_str());
  }
  static void pictures(const char* shortPicture, const char* longPicture) {
    WriteProfileStringA("intl", "sShortDate", shortPicture);
    WriteProfileStringA("intl", "sLongDate", longPicture);
  }

  std::string shortPicture_, longPicture_;
};

// Noon UTC, so that every time zone sees the same day.
constexpr int64_t k5March1998 = 889099200;
constexpr int64_t k1January2000 = 946728000;

TEST_F(DatePictures, ShortAndLongPicturesOfTheUser) {
  pictures("d/M/yy", "dddd', 'MMMM' 'dd', 'yyyy");
  EXPECT_STREQ(OCS_FormatDate(0, k5March1998), "5/3/98");
  EXPECT_STREQ(OCS_FormatDate(0, k1January2000), "1/1/00");
  EXPECT_STREQ(OCS_FormatDate(1, k5March1998), "Thursday, March 05, 1998");
}

TEST_F(DatePictures, NamesQuotesAndPlainText) {
  pictures("ddd MMM", "'Printed ''on'' 'yyyy'-'MM'-'dd");
  EXPECT_STREQ(OCS_FormatDate(0, k5March1998), "Thu Mar");
  // Doubled quotes give one; picture letters inside quotes still count (the "d" of "Printed").
  EXPECT_STREQ(OCS_FormatDate(1, k5March1998), "Printe5 'on' 1998-03-05");
}

TEST_F(DatePictures, MissingPicturesUseTheDefaults) {
  pictures(nullptr, nullptr);
  EXPECT_STREQ(OCS_FormatDate(0, k5March1998), "05/03/1998");
  EXPECT_STREQ(OCS_FormatDate(1, k5March1998), "Thursday March 05 1998");
}

TEST_F(DatePictures, TimesWithoutLeadingZerosAndBadTimesAsEmptyText) {
  // 13:07:09 UTC: minutes and seconds are the same in every whole-hour time zone.
  const std::string time = OCS_FormatTime(889103229);
  ASSERT_GE(time.size(), 5u);
  EXPECT_EQ(time.substr(time.size() - 4), ":7:9");
  EXPECT_STREQ(OCS_FormatTime(-1), "");
  EXPECT_STREQ(OCS_FormatDate(0, -1), "");
  EXPECT_STREQ(OCS_FormatDate(1, INT64_MAX), "");
}

}  // namespace
