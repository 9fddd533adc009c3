// The services' dialogs as the program opens them: each dialog is found by its title while it runs, driven by
// setting its controls and pressing its buttons, and judged by what it hands back. Message boxes are answered
// by a hook and recorded.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <functional>
#include <span>
#include <set>
#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/dialogs/dialog_ids.h"
#include "services/win32/ocs_api.h"
#include "tests/services/win32/test_frame.h"
#include "tests/win32/driver/osk_driver.h"

namespace {

// ---- A frame that lists every command of the built-in configuration for message 2124, with the condition word
// ---- stored for it, so loading it reports nothing. ----

std::vector<OcsCommandDetails> frameCommands() {
  std::vector<OcsCommandDetails> out;
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1001), "CONFIGFILE");
  if (!found) return out;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  auto loaded = osk::loadConfiguration(std::span(data, SizeofResource(nullptr, found)), {});
  if (!loaded.config) return out;
  std::set<std::string> seen;
  for (const osk::CCommand& c : loaded.config->commands) {
    if (c.name.empty() || !seen.insert(c.name).second) continue;
    OcsCommandDetails d{};
    std::strncpy(d.name, c.name.c_str(), sizeof d.name - 1);
    d.conditionWord = c.conditionWord;
    out.push_back(d);
  }
  return out;
}

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == OCS_MSG_COMMAND_DETAILS) {
    static const std::vector<OcsCommandDetails> commands = frameCommands();
    if (wParam >= commands.size()) return 0;
    *reinterpret_cast<OcsCommandDetails*>(lParam) = commands[wParam];
    return 1;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- Message boxes (title "OSK"): recorded as their text and answered with g_answer when they have that
// ---- button, else OK. ----

std::vector<std::string> g_boxes;
std::set<HWND> g_answered;
int g_answer = IDYES;
HHOOK g_hook = nullptr;

LRESULT CALLBACK boxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char cls[32] = {}, caption[64] = {}, text[512] = {};
    GetClassNameA(box, cls, sizeof cls);
    GetWindowTextA(box, caption, sizeof caption);
    if (std::strcmp(cls, "#32770") == 0 && std::strcmp(caption, "OSK") == 0 && g_answered.insert(box).second) {
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      g_boxes.push_back(text);
      const int answer = GetDlgItem(box, g_answer) ? g_answer : IDOK;
      PostMessageA(box, WM_COMMAND, answer, 0);
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// ---- Driving a modal dialog: a thread timer looks for the dialog by title and hands it to the driver once; a
// ---- stepping driver is called on every tick until it says it is done; after about 20 s the dialog is cancelled
// ---- if it is still open. ----

std::string g_title;
std::function<bool(HWND)> g_drive;
bool g_driveDone = false;
HWND g_driven = nullptr;
int g_ticks = 0;

HWND findOwnWindow(const char* title) {
  struct Search {
    const char* title;
    HWND found;
  } search{title, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        char text[128] = {};
        GetWindowTextA(w, text, sizeof text);
        if (std::strcmp(text, s->title) == 0 && IsWindowVisible(w)) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK driveTimer(HWND, UINT, UINT_PTR, DWORD) {
  ++g_ticks;
  if (!g_driven) {
    if (HWND dialog = findOwnWindow(g_title.c_str())) {
      g_driven = dialog;
      g_driveDone = g_drive(dialog);
    }
  } else if (!g_driveDone && IsWindow(g_driven)) {
    g_driveDone = g_drive(g_driven);
  }
  if (g_ticks > 400 && IsWindow(g_driven)) {   // about 20 s: the driver did not close it
    PostMessageA(g_driven, WM_COMMAND, IDCANCEL, 0);
  }
}

template <class Open>
auto stepDialog(const char* title, std::function<bool(HWND)> drive, Open open) {
  g_title = title;
  g_drive = std::move(drive);
  g_driveDone = false;
  g_driven = nullptr;
  g_ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, driveTimer);
  auto result = open();
  KillTimer(nullptr, timer);
  EXPECT_NE(g_driven, nullptr) << "the dialog \"" << title << "\" never appeared";
  return result;
}

template <class Open>
auto runDialog(const char* title, std::function<void(HWND)> drive, Open open) {
  return stepDialog(title, [drive](HWND d) {
    drive(d);
    return true;
  }, open);
}

// Controls found, filled in, clicked and chosen as the scenarios' driver does it; here in the dialog's own thread.
using osk::drive::choose;
using osk::drive::click;
using osk::drive::control;
using osk::drive::setText;

void press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, id, 0); }

uint16_t ctrlKey(int key) { return static_cast<uint16_t>((key << 3) | 2); }

std::string boundName(HOCSINSTANCE instance, uint16_t word, uint16_t context) {
  int32_t enabled = 0;
  char name[OCS_COMMAND_NAME_SIZE] = {}, parameter[OCS_PARAMETER_SIZE] = {};
  if (!OCS_MapKeyDown(instance, &word, context, &enabled, name, parameter)) return "(nothing)";
  return parameter[0] ? std::string(name) + " " + parameter : std::string(name);
}

class ServicesDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    g_answered.clear();
    g_answer = IDYES;
    g_hook = SetWindowsHookExA(WH_CBT, boxHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_hook, nullptr);
    frame_ = osk::test::createTestFrame("OSK dialogs test frame", frameProc, {0, 0, 300, 200});
    ASSERT_NE(frame_, nullptr);
    instance_ = OCS_CreateInstance(frame_, "");
    ASSERT_NE(instance_, nullptr);
    ASSERT_TRUE(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001));
  }
  void TearDown() override {
    OCS_DestroyInstance(instance_);
    DestroyWindow(frame_);
    UnhookWindowsHookEx(g_hook);
  }

  HWND frame_ = nullptr;
  HOCSINSTANCE instance_ = nullptr;
};

OcsOptions filledRecord() {
  OcsOptions r;
  std::memset(&r, 0, sizeof r);
  r.horzScroll = r.vertScroll = r.applySyntaxHighlight = r.autoIndentOnNewline = r.useDCScrolling = 1;
  r.caretAfterPaste = 1;
  r.vScrollBoost = 3;
  r.stripBlanks = r.overwriteWarning = r.openReadOnlyAsReadOnly = 1;
  r.autosaveDelay = 300;
  std::memcpy(r.fileTypes, "Text files(*.txt)\0*.txt\0\0", 26);
  r.unused[0] = 0x12;
  r.unused[1] = 0x34;
  r.showStatBar = r.tabsAsSpaces = 1;
  r.tabLen = 8;
  r.rMarg = 70;
  r.autoMarg = 1;
  r.lMarg = 4;
  r.undos = 200;
  r.fontHeight = -13;
  r.fontWeight = 400;
  std::strcpy(r.fontName, "Courier");
  r.wrapBookMarksMode = 2;
  std::strcpy(r.macroPath, "C:\\windows");
  std::strcpy(r.wordPattern, "[A-Za-z0-9_]+");
  r.useLongFileNames = r.useExplorerType = 1;
  return r;
}

TEST_F(ServicesDialogs, OptionsOkHandsBackTheChangedFieldsOnly) {
  OcsOptions record = filledRecord();
  OcsOptions expected = record;
  expected.tabLen = 4;
  expected.autosaveModifiedFiles = 1;
  const int32_t result = runDialog("Options", [](HWND d) {
    setText(d, IDC_OPT_TAB_LEN, "4");
    SendMessageA(control(d, IDC_OPT_AUTOSAVE), BM_SETCHECK, BST_CHECKED, 0);
    press(d, IDOK);
  }, [&] { return OCS_OptionsDlg(instance_, frame_, &record, nullptr); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ServicesDialogs, OptionsRefusesABadNumberAndCancelKeepsTheRecord) {
  OcsOptions record = filledRecord();
  const OcsOptions before = record;
  const int32_t result = runDialog("Options", [](HWND d) {
    setText(d, IDC_OPT_TAB_LEN, "99");
    press(d, IDOK);       // refused with a message; the dialog stays
    press(d, IDCANCEL);
  }, [&] { return OCS_OptionsDlg(instance_, frame_, &record, nullptr); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Tab length must be a whole number from 1 to 32.");
}

// An editor window as far as the options dialog asks it: its file name (engine message 1081).
LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == 1081) {
    std::strcpy(reinterpret_cast<char*>(lParam), "C:\\work\\notes.txt");
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND createEditor(HWND frame) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = editorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OSK dialogs test editor";
    return RegisterClassA(&wc) != 0;
  }();
  return registered ? CreateWindowA("OSK dialogs test editor", "", WS_CHILD, 0, 0, 10, 10, frame, nullptr,
                                    GetModuleHandleA(nullptr), nullptr)
                    : nullptr;
}

TEST_F(ServicesDialogs, OptionsFileTypeEditorAddsAPair) {
  HWND editor = createEditor(frame_);
  ASSERT_NE(editor, nullptr);
  std::string pageTitle;
  OcsOptions record = filledRecord();
  record.editorActive = 1;   // the current file's page takes part too
  record.activeTabLen = 8;
  record.activeRMarg = 70;
  record.activeLMarg = 4;
  record.activeAutoMarg = 1;
  record.activeUndoCapacity = 200;
  const int32_t result = runDialog("Options", [&](HWND d) {
    setText(d, IDC_TYPES_DESCRIPTION, "C sources");
    setText(d, IDC_TYPES_PATTERN, "*.c;*.h");
    click(d, IDC_TYPES_ADD);
    setText(d, IDC_OPT_ACTIVE_TAB_LEN, "3");
    char title[300] = {};
    GetWindowTextA(control(d, IDC_OPT_NO_ACTIVE), title, sizeof title);
    pageTitle = title;
    press(d, IDOK);
  }, [&] { return OCS_OptionsDlg(instance_, frame_, &record, editor); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(pageTitle, "Settings of C:\\work\\notes.txt");
  EXPECT_EQ(std::memcmp(record.fileTypes, "Text files(*.txt)\0*.txt\0C sources\0*.c;*.h\0\0", 43), 0);
  EXPECT_EQ(record.activeTabLen, 3);
}

TEST_F(ServicesDialogs, RunCommandEnablesTheParameterOnlyForCommandsThatTakeOne) {
  char name[OCS_COMMAND_NAME_SIZE] = "unchanged", parameter[OCS_PARAMETER_SIZE] = "unchanged";
  bool exitTakesParameter = true;
  int32_t result = runDialog("Run Command", [&](HWND d) {
    choose(d, IDC_RUN_LIST, "Exit", false);
    exitTakesParameter = IsWindowEnabled(control(d, IDC_RUN_PARAMETER));
    choose(d, IDC_RUN_LIST, "ClipBuffer", false);
    setText(d, IDC_RUN_PARAMETER, "3");
    press(d, IDOK);
  }, [&] { return OCS_RunCommandDlg(instance_, frame_, name, parameter); });
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(exitTakesParameter);
  EXPECT_STREQ(name, "ClipBuffer");
  EXPECT_STREQ(parameter, "3");

  result = runDialog("Run Command", [](HWND d) {
    choose(d, IDC_RUN_LIST, "Exit", false);
    setText(d, IDC_RUN_PARAMETER, "ignored");
    press(d, IDOK);
  }, [&] { return OCS_RunCommandDlg(instance_, frame_, name, parameter); });
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(name, "Exit");
  EXPECT_STREQ(parameter, "");

  result = runDialog("Run Command", [](HWND d) { press(d, IDCANCEL); },
                     [&] { return OCS_RunCommandDlg(instance_, frame_, name, parameter); });
  EXPECT_EQ(result, 0);
  EXPECT_STREQ(name, "Exit");
}

TEST_F(ServicesDialogs, KeyMapShowsTheMappingsOfAContext) {
  std::vector<std::string> rows;
  const int32_t result = runDialog("Current Keyboard and Mouse Mappings", [&](HWND d) {
    choose(d, IDC_KEYMAP_CONTEXT, "Focus on Editor Window", true);
    HWND list = control(d, IDC_KEYMAP_LIST);
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
      char key[64] = {}, command[128] = {};
      ListView_GetItemText(list, i, 0, key, sizeof key);
      ListView_GetItemText(list, i, 1, command, sizeof command);
      rows.push_back(std::string(key) + "=" + command);
    }
    press(d, IDCANCEL);
  }, [&] { return OCS_KeyMapDlg(instance_, frame_); });
  EXPECT_EQ(result, 1);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "Ctrl+S=SaveFile"), rows.end());
  EXPECT_EQ(std::find(rows.begin(), rows.end(), "Alt+3=ClipBuffer 3"), rows.end());   // a "None" mapping
  EXPECT_GT(rows.size(), 20u);
}

TEST_F(ServicesDialogs, CustomiseBindingSavedToAFileIsInForceAfterAReload) {
  char configFile[MAX_PATH + 1] = "";
  const uint16_t ctrlQ = ctrlKey('Q');
  ASSERT_EQ(boundName(instance_, ctrlQ, 0), "(nothing)");
  const int32_t result = runDialog("Customise", [](HWND d) {
    choose(d, IDC_CUST_CONTEXT, "None", true);
    setText(d, IDC_CUST_KEY, "Ctrl+Q");
    choose(d, IDC_CUST_COMMAND, "Exit", true);
    click(d, IDC_CUST_BIND);
    setText(d, IDC_CUST_SAVE_NAME, "dialogtest");
    click(d, IDC_CUST_SAVE);
    press(d, IDOK);
  }, [&] { return OCS_ConfigurationDlg(instance_, frame_, 1, configFile); });
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(configFile, "dialogtest.cfg");
  EXPECT_EQ(boundName(instance_, ctrlQ, 0), "Exit");
  EXPECT_TRUE(g_boxes.empty() || g_boxes == std::vector<std::string>{"Replace dialogtest.cfg?"});

  // A program started afresh with that configuration file finds the binding.
  HOCSINSTANCE fresh = OCS_CreateInstance(frame_, "");
  ASSERT_TRUE(OCS_LoadConfiguration(fresh, frame_, 1, "dialogtest.cfg"));
  EXPECT_EQ(boundName(fresh, ctrlQ, 0), "Exit");
  EXPECT_EQ(boundName(fresh, ctrlKey('S'), 10), "SaveFile");
  OCS_DestroyInstance(fresh);

  // The dialog lists it among the configurations next time, and choosing the default puts that back in force.
  bool listed = false;
  const int32_t again = runDialog("Customise", [&](HWND d) {
    listed = SendMessageA(control(d, IDC_CUST_CONFIG), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>("dialogtest.cfg")) != CB_ERR;
    choose(d, IDC_CUST_CONFIG, "-- Default --", true);
    press(d, IDOK);
  }, [&] { return OCS_ConfigurationDlg(instance_, frame_, 1, configFile); });
  EXPECT_EQ(again, 1);
  EXPECT_TRUE(listed);
  EXPECT_STREQ(configFile, "");
  EXPECT_EQ(boundName(instance_, ctrlQ, 0), "(nothing)");
}

TEST_F(ServicesDialogs, CustomiseCancelPutsTheConfigurationBack) {
  char configFile[MAX_PATH + 1] = "";
  std::string shownWhileOpen;
  const int32_t result = runDialog("Customise", [&](HWND d) {
    choose(d, IDC_CUST_CONTEXT, "Focus on Editor Window", true);
    setText(d, IDC_CUST_KEY, "Ctrl+S");
    char current[128] = {};
    GetWindowTextA(control(d, IDC_CUST_CURRENT), current, sizeof current);
    shownWhileOpen = current;
    choose(d, IDC_CUST_COMMAND, "Exit", true);
    click(d, IDC_CUST_BIND);   // another command's key: asked, answered Yes
    press(d, IDCANCEL);
  }, [&] { return OCS_ConfigurationDlg(instance_, frame_, 1, configFile); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(shownWhileOpen, "SaveFile");
  EXPECT_EQ(g_boxes, std::vector<std::string>{
                         "This key is currently mapped to a different item. Overwrite this mapping?"});
  EXPECT_EQ(boundName(instance_, ctrlKey('S'), 10), "SaveFile");
}

void sendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

TEST_F(ServicesDialogs, CustomiseKeyFieldNamesTheKeyTyped) {
  char configFile[MAX_PATH + 1] = "";
  int step = 0;
  std::string typed;
  const int32_t result = stepDialog("Customise", [&](HWND d) {
    HWND field = control(d, IDC_CUST_KEY);
    char text[64] = {};
    GetWindowTextA(field, text, sizeof text);
    if (step == 0) {
      SetForegroundWindow(d);
      SetFocus(field);
      sendKey(VK_CONTROL, false);
      sendKey(VK_OEM_6, false);   // the key of "]" on a US keyboard: named by its character
      sendKey(VK_OEM_6, true);
      sendKey(VK_CONTROL, true);
    } else if (text[0] || step > 100) {
      typed = text;
      press(d, IDCANCEL);
      return true;
    }
    ++step;
    return false;
  }, [&] { return OCS_ConfigurationDlg(instance_, frame_, 1, configFile); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(typed, "Ctrl+]");
}

TEST_F(ServicesDialogs, CustomiseRefusesAKeyThatCannotBeMapped) {
  char configFile[MAX_PATH + 1] = "";
  const int32_t result = runDialog("Customise", [](HWND d) {
    setText(d, IDC_CUST_KEY, "Q");
    choose(d, IDC_CUST_COMMAND, "Exit", true);
    click(d, IDC_CUST_BIND);
    press(d, IDOK);
  }, [&] { return OCS_ConfigurationDlg(instance_, frame_, 1, configFile); });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("key field"), std::string::npos);
}

TEST_F(ServicesDialogs, GetCharAnswersTheTypedCharacter) {
  char c = '?';
  int32_t result = runDialog("Enter Character", [](HWND d) {
    setText(d, IDC_GET_CHAR, "x");
    press(d, IDOK);
  }, [&] { return OCS_fbGetChar(instance_, frame_, nullptr, &c); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(c, 'x');
  result = runDialog("Enter Character", [](HWND d) { press(d, IDCANCEL); },
                     [&] { return OCS_fbGetChar(instance_, frame_, nullptr, &c); });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(c, 'x');
}

TEST_F(ServicesDialogs, DisplayPaletteOnlyForPaletteDisplays) {
  HDC screen = GetDC(nullptr);
  const bool paletteDisplay = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ReleaseDC(nullptr, screen);
  HPALETTE palette = OCS_CreateDisplayPalette();
  EXPECT_EQ(palette != nullptr, paletteDisplay);
  if (palette) DeleteObject(palette);
}

}  // namespace
