// Menus and tool bars of OSKOCS32.dll around a small frame window: menus built from the built-in configuration,
// greying and checking from the condition mask, tool bars docked on every edge and floating, their settings in a
// real settings file, and what a click or a resting mouse on a button does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/win32/ocs_api.h"
#include "tests/services/win32/test_frame.h"

namespace {

using osk::test::programDirectory;

// ---- The frame: lists the commands, lays the bars out and records what the bars tell it. ----

struct FrameCommand {
  std::string name;
  uint32_t conditionWord;
};
std::vector<FrameCommand> g_commands;

// The enabling test the frame gives for WordWrapToggle: bit 0 disabled, bit 1 checked.
int32_t g_wrapState = 0;
int32_t OSK_CALL wrapTest(void) { return g_wrapState; }
std::vector<WPARAM> g_wmCommands;
std::vector<std::string> g_statusTexts;
int g_layouts = 0;
HOCSINSTANCE g_instance = nullptr;
uint8_t g_startEdges = 0;
uint8_t g_edges = 0;
RECT g_clientLeft{};
bool g_deferred = true;

void layOut(HWND frame) {
  ++g_layouts;
  if (!g_instance) return;
  RECT r;
  GetClientRect(frame, &r);
  uint8_t edges = g_startEdges;
  void* dwp = g_deferred ? BeginDeferWindowPos(4) : nullptr;
  OCS_ResizeControlBars(g_instance, &edges, &dwp, &r);
  if (dwp) EndDeferWindowPos(static_cast<HDWP>(dwp));
  g_edges = edges;
  g_clientLeft = r;
}

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case OCS_MSG_COMMAND_DETAILS: {
      if (wParam >= g_commands.size()) return 0;
      auto* record = reinterpret_cast<OcsCommandDetails*>(lParam);
      std::memset(record, 0, sizeof *record);
      std::strncpy(record->name, g_commands[wParam].name.c_str(), sizeof record->name - 1);
      record->conditionWord = g_commands[wParam].conditionWord;
      if (g_commands[wParam].name == "WordWrapToggle") record->enablingTest = wrapTest;
      return 1;
    }
    case OCS_MSG_STATUS_TEXT:
      g_statusTexts.push_back(reinterpret_cast<const char*>(lParam));
      return 0;
    case OCS_MSG_LAYOUT:
      layOut(hwnd);
      return 0;
    case WM_COMMAND:
      g_wmCommands.push_back(wParam);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

HWND createFrame() {
  return osk::test::createTestFrame("OSK32 bars test frame", frameProc, {10, 10, 990, 510},
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

std::vector<uint8_t> builtinResource() {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1001), "CONFIGFILE");
  if (!found) return {};
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  return data ? std::vector<uint8_t>(data, data + SizeofResource(nullptr, found)) : std::vector<uint8_t>{};
}

struct FindBar {
  std::string title;
  HWND found = nullptr;
};

BOOL CALLBACK findBarWindow(HWND w, LPARAM p) {
  auto* f = reinterpret_cast<FindBar*>(p);
  char cls[64] = {}, title[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, title, sizeof title);
  if (std::strcmp(cls, "OSK 2.0 Tool Bar") == 0 && f->title == title) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

// The bar window of a tool bar: a child of the frame when docked, a window of the thread when floating.
HWND barWindow(HWND frame, const std::string& name) {
  FindBar f{name};
  EnumChildWindows(frame, findBarWindow, reinterpret_cast<LPARAM>(&f));
  if (!f.found) EnumThreadWindows(GetCurrentThreadId(), findBarWindow, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// The rectangle of a window in its parent's client coordinates (screen coordinates for a top-level window).
RECT placeOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  if (HWND parent = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string readIni(const std::string& path, const char* key) {
  char value[64] = {};
  GetPrivateProfileStringA("Extended", key, "<none>", value, sizeof value, path.c_str());
  return value;
}

class Bars : public ::testing::Test {
 protected:
  // One frame for every test: making and destroying top-level windows is slow under Wine.
  static void SetUpTestSuite() {
    frame_ = createFrame();
    if (frame_) ShowWindow(frame_, SW_SHOWNOACTIVATE);
  }
  static void TearDownTestSuite() {
    if (frame_) DestroyWindow(frame_);
    frame_ = nullptr;
  }
  void SetUp() override {
    resource_ = builtinResource();
    ASSERT_FALSE(resource_.empty());
    auto loaded = osk::loadConfiguration(resource_, {});
    ASSERT_EQ(loaded.status, osk::ConfigLoadStatus::kOk);
    g_commands.clear();
    for (const osk::CCommand& c : loaded.config->commands)
      if (!c.name.empty()) g_commands.push_back({c.name, c.conditionWord});
    g_wmCommands.clear();
    g_statusTexts.clear();
    g_layouts = 0;
    g_wrapState = 0;
    g_startEdges = 0;
    g_deferred = true;
    ini_ = programDirectory() + "\\BARS.INI";
    DeleteFileA(ini_.c_str());
    // One docked bar unless a test shows the Open Bar's tool bar too; the Open Bar itself stays hidden.
    write("Open Bar Tool BarVisible", "0");
    write("OpenbarVisible", "0");
    ASSERT_NE(frame_, nullptr);
    start();
  }
  void TearDown() override {
    stop();
    DeleteFileA(ini_.c_str());
    pump();
  }
  // A fresh instance on the settings file, its settings read and the built-in configuration loaded.
  void start() {
    instance_ = OCS_CreateInstance(frame_, ini_.c_str());
    ASSERT_NE(instance_, nullptr);
    OCS_LoadSettings(instance_);
    ASSERT_TRUE(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001));
    g_instance = instance_;
    layOut(frame_);
    pump();
  }
  void stop() {
    g_instance = nullptr;
    OCS_DestroyInstance(instance_);
    instance_ = nullptr;
  }
  void restart() {
    OCS_SaveSettings(instance_);
    stop();
    start();
  }
  int32_t number(const std::string& name) {
    char found[OCS_COMMAND_NAME_SIZE] = {}, parameter[OCS_PARAMETER_SIZE] = {};
    for (int32_t n = 1; n < 1000; ++n)
      if (OCS_GetMacroString(instance_, n, found, parameter) && name == found && !parameter[0]) return n;
    return 0;
  }
  void write(const char* key, const char* value) { WritePrivateProfileStringA("Extended", key, value, ini_.c_str()); }
  HWND bar(const std::string& name = "Default Tool Bar") { return barWindow(frame_, name); }
  // Presses and lets go of the mouse at a point of a window.
  void click(HWND w, int x, int y) {
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    pump();
  }

  std::vector<uint8_t> resource_;
  std::string ini_;
  static HWND frame_;
  HOCSINSTANCE instance_ = nullptr;
};

HWND Bars::frame_ = nullptr;

std::string menuString(HMENU menu, UINT item, UINT flags) {
  char text[128] = {};
  GetMenuStringA(menu, item, text, sizeof text, flags);
  return text;
}

TEST_F(Bars, MenuBarFromTheBuiltInConfigurationHasItsPopupsShortcutsAndSpecialLists) {
  OcsSpecialList lists[] = {{4, 0}, {1, 0}, {8, 0}, {2, 0}, {0, 0}};
  HMENU menu = OCS_CreateMenu("default", instance_, lists);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 7);
  const char* names[] = {"&File", "&Edit", "&Options", "&Utilities", "&Key Macros", "&Window", "&Help"};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(menuString(menu, static_cast<UINT>(i), MF_BYPOSITION), names[i]);
    EXPECT_NE(GetSubMenu(menu, i), nullptr);
  }
  EXPECT_EQ(menuString(menu, static_cast<UINT>(number("SaveFile")), MF_BYCOMMAND), "&Save\tCtrl+S");
  HMENU file = GetSubMenu(menu, 0);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(number("NewFile")));
  EXPECT_EQ(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  // The special lists receive their popups; no popup asks for the macro files in this menu.
  EXPECT_EQ(reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(lists[0].menu))), file);
  EXPECT_EQ(reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(lists[1].menu))), GetSubMenu(menu, 5));
  EXPECT_EQ(reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(lists[2].menu))), GetSubMenu(menu, 3));
  EXPECT_EQ(lists[3].menu, 0u);
  DestroyMenu(menu);

  HMENU popup = OCS_CreatePopupMenu("Editor Menu", instance_, nullptr);
  ASSERT_NE(popup, nullptr);
  EXPECT_GT(GetMenuItemCount(popup), 0);
  DestroyMenu(popup);
  EXPECT_EQ(OCS_CreateMenu("No Such Menu", instance_, nullptr), nullptr);
  EXPECT_EQ(OCS_CreateMenu("Default", nullptr, nullptr), nullptr);
}

TEST_F(Bars, ConditionMaskGreysMenuItemsAndButtonsAndChecksByName) {
  HMENU menu = OCS_CreateMenu("Default", instance_, nullptr);
  ASSERT_NE(menu, nullptr);
  const UINT save = static_cast<UINT>(number("SaveFile"));
  EXPECT_EQ(GetMenuState(menu, save, MF_BYCOMMAND) & MF_GRAYED, 0u);
  // SaveFile needs condition bit 3.
  OCS_EnableMacroCommands(instance_, menu, 0xFFFFFFF7u);
  EXPECT_EQ(GetMenuState(menu, save, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  // A menu made now is greyed from the start.
  HMENU later = OCS_CreateMenu("Default", instance_, nullptr);
  EXPECT_EQ(GetMenuState(later, save, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  DestroyMenu(later);
  // Bits 0 change nothing; the bit itself brings the item back.
  OCS_PartEnableMacroCommands(instance_, menu, 0, 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuState(menu, save, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  OCS_PartEnableMacroCommands(instance_, menu, 0x8, 0x8);
  EXPECT_EQ(GetMenuState(menu, save, MF_BYCOMMAND) & MF_GRAYED, 0u);
  // No menu, no change.
  OCS_EnableMacroCommands(instance_, nullptr, 0);
  EXPECT_EQ(GetMenuState(menu, save, MF_BYCOMMAND) & MF_GRAYED, 0u);

  OCS_CheckMacroCommands(instance_, menu, "WordWrapToggle", 1);
  const UINT wrap = static_cast<UINT>(number("WordWrapToggle"));
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  OCS_CheckMacroCommands(instance_, menu, "wordwraptoggle", 0);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  OCS_CheckMacroCommands(instance_, menu, "WordWrapToggle", 0);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & MF_CHECKED, 0u);

  // A disabled button does not run its command; an enabled one posts its number to the frame.
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  // The first button is FileHistory, which needs condition bit 16.
  OCS_EnableMacroCommands(instance_, menu, 0xFFFEFFFFu);
  click(tb, 12, 12);
  EXPECT_TRUE(g_wmCommands.empty());
  OCS_EnableMacroCommands(instance_, menu, 0xFFFFFFFFu);
  click(tb, 12, 12);
  ASSERT_EQ(g_wmCommands.size(), 1u);
  EXPECT_EQ(LOWORD(g_wmCommands[0]), number("FileHistory"));
  EXPECT_EQ(HIWORD(g_wmCommands[0]), 0);
  DestroyMenu(menu);
}

TEST_F(Bars, EnablingTestsOfTheFrameGreyAndCheckTheirCommands) {
  HMENU menu = OCS_CreateMenu("Default", instance_, nullptr);
  ASSERT_NE(menu, nullptr);
  const UINT wrap = static_cast<UINT>(number("WordWrapToggle"));
  g_wrapState = 2;
  OCS_ProcessSpecialCommands(instance_, menu);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), static_cast<UINT>(MF_CHECKED));
  g_wrapState = 1;
  OCS_ProcessSpecialCommands(instance_, menu);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), static_cast<UINT>(MF_GRAYED));
  // A command with its own test is left alone by the mask.
  OCS_EnableMacroCommands(instance_, menu, 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  g_wrapState = 0;
  OCS_ProcessSpecialCommands(instance_, menu);
  EXPECT_EQ(GetMenuState(menu, wrap, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
  DestroyMenu(menu);
}

TEST_F(Bars, ResizeDocksTheDefaultBarAtTheTopAndLeavesTheRestToTheClient) {
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  EXPECT_TRUE(IsWindowVisible(tb));
  EXPECT_EQ(OCS_IsMoveableBar(instance_, tb), 1);
  EXPECT_EQ(OCS_IsMoveableBar(instance_, frame_), 0);
  RECT client;
  GetClientRect(frame_, &client);
  const RECT r = placeOf(tb);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, client.right);
  // One row of small buttons on the wide frame: 22 pixels and the border.
  EXPECT_EQ(r.bottom, 26);
  EXPECT_EQ(g_clientLeft.top, 26);
  EXPECT_EQ(g_clientLeft.bottom, client.bottom);
  EXPECT_EQ(g_edges, OCS_EDGE_TOP);
  // A second bar at the top moves 2 pixels up onto the first one's border.
  OCS_ShowToolBar(instance_, "Open Bar Tool Bar", 1);
  HWND second = bar("Open Bar Tool Bar");
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(IsWindowVisible(second));
  EXPECT_EQ(placeOf(second).top, 24);
  EXPECT_EQ(placeOf(second).bottom, 50);
  EXPECT_EQ(g_clientLeft.top, 50);
  // The mouse over a bar is "Mouse Over Tool Bar" with the bar's name.
  char name[OCS_TOOL_BAR_NAME_SIZE] = {};
  EXPECT_EQ(OCS_GetPositionConstraint(instance_, tb, name), 25);
  EXPECT_STREQ(name, "Default Tool Bar");
  // The preview's bar always starts hidden.
  HWND preview = bar("Print Preview Tool Bar");
  ASSERT_NE(preview, nullptr);
  EXPECT_FALSE(IsWindowVisible(preview));
}

TEST_F(Bars, SequenceNumbersDecideWhichBarIsOutermost) {
  stop();
  write("Open Bar Tool BarVisible", "1");
  write("Open Bar Tool BarSeqNo", "0");
  write("Default Tool BarSeqNo", "1");
  start();
  EXPECT_EQ(placeOf(bar("Open Bar Tool Bar")).top, 0);
  EXPECT_EQ(placeOf(bar()).top, 24);
  EXPECT_EQ(readIni(ini_, "Default Tool BarSeqNo"), "1");
  // Saving numbers the bars by their places; the preview's bar, never numbered, stays first in the list. (The Open
  // Bar is in the list too, so the tool bars' numbers depend on where it stands: only their order is fixed.)
  OCS_SaveSettings(instance_);
  EXPECT_EQ(readIni(ini_, "Print Preview Tool BarSeqNo"), "0");
  EXPECT_LT(std::stoi(readIni(ini_, "Open Bar Tool BarSeqNo")), std::stoi(readIni(ini_, "Default Tool BarSeqNo")));
}

TEST_F(Bars, BarsDockOnEveryEdgeAndShareBorderLines) {
  struct Edge {
    const char* vertical;
    const char* botRight;
  } edges[] = {{"0", "1"}, {"1", "0"}, {"1", "1"}};
  for (const Edge& e : edges) {
    write("Default Tool BarVertical", e.vertical);
    write("Default Tool BarBotRight", e.botRight);
    OCS_LoadSettings(instance_);
    pump();
    HWND tb = bar();
    ASSERT_NE(tb, nullptr);
    RECT client;
    GetClientRect(frame_, &client);
    const RECT r = placeOf(tb);
    SCOPED_TRACE(std::string("vertical ") + e.vertical + " botRight " + e.botRight);
    if (e.vertical[0] == '0') {
      EXPECT_EQ(r.bottom, client.bottom);
      EXPECT_EQ(g_clientLeft.bottom, r.top);
      EXPECT_EQ(g_edges, OCS_EDGE_BOTTOM);
    } else if (e.botRight[0] == '0') {
      EXPECT_EQ(r.left, 0);
      EXPECT_EQ(r.top, 0);
      EXPECT_EQ(r.bottom, client.bottom);
      EXPECT_EQ(g_clientLeft.left, r.right);
      // The buttons need more than one column on a frame of this height.
      EXPECT_GE(r.right - r.left, 24 + 4);
      EXPECT_EQ(g_edges, OCS_EDGE_LEFT);
    } else {
      EXPECT_EQ(r.right, client.right);
      EXPECT_EQ(g_clientLeft.right, r.left);
      EXPECT_EQ(g_edges, OCS_EDGE_RIGHT);
    }
  }
  // With the status bar holding the bottom edge, a bottom bar moves 2 pixels down onto its border.
  write("Default Tool BarVertical", "0");
  write("Default Tool BarBotRight", "1");
  OCS_LoadSettings(instance_);
  g_startEdges = OCS_EDGE_BOTTOM;
  layOut(frame_);
  RECT client;
  GetClientRect(frame_, &client);
  EXPECT_EQ(placeOf(bar()).bottom, client.bottom + 2);
  // Without a deferred-position handle the bars move at once.
  g_deferred = false;
  g_startEdges = 0;
  layOut(frame_);
  EXPECT_EQ(placeOf(bar()).bottom, client.bottom);
}

TEST_F(Bars, FloatingBarTakesNothingAndFitsItsButtons) {
  write("Default Tool BarAsPopup", "1");
  write("Default Tool BarLeft", "100");
  write("Default Tool BarTop", "120");
  write("Default Tool BarRight", "400");
  write("Default Tool BarBottom", "200");
  OCS_LoadSettings(instance_);
  pump();
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(GetWindowLongA(tb, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(GetWindow(tb, GW_OWNER), frame_);
  EXPECT_TRUE(IsWindowVisible(tb));
  RECT client;
  GetClientRect(frame_, &client);
  EXPECT_EQ(g_clientLeft.top, 0);
  EXPECT_EQ(g_clientLeft.bottom, client.bottom);
  RECT r;
  GetWindowRect(tb, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  // The buttons wrap to the width it floats at.
  RECT inside;
  GetClientRect(tb, &inside);
  EXPECT_GT(inside.bottom, 22 + 4);
  EXPECT_LE(r.right, 400);
  // Made narrower by the user, it wraps its buttons into more rows and fits them when let go.
  SetWindowPos(tb, nullptr, 0, 0, (r.right - r.left) / 2, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(tb, WM_EXITSIZEMOVE, 0, 0);
  RECT narrower;
  GetClientRect(tb, &narrower);
  EXPECT_GT(narrower.bottom, inside.bottom);
  EXPECT_LT(narrower.right, inside.right);
  // Its settings come back after a restart.
  GetWindowRect(tb, &r);
  restart();
  tb = bar();
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(GetWindowLongA(tb, GWL_STYLE) & WS_CHILD, 0);
  RECT again;
  GetWindowRect(tb, &again);
  EXPECT_TRUE(EqualRect(&r, &again));
}

TEST_F(Bars, SettingsRoundTripThroughTheSettingsFile) {
  OCS_SetToolBarProp(instance_, nullptr, OCS_TB_WRAP, 0);
  OCS_SetToolBarProp(instance_, "Default Tool Bar", OCS_TB_LARGE_BUTTONS, 1);
  OCS_ShowToolBar(instance_, "Open Bar Tool Bar", 0);
  OCS_SaveSettings(instance_);
  EXPECT_EQ(readIni(ini_, "TBWrap"), "0");
  EXPECT_EQ(readIni(ini_, "TBDouble"), "0");
  EXPECT_EQ(readIni(ini_, "TBTTEnabled"), "1");
  EXPECT_EQ(readIni(ini_, "TBTipsWithKeyMaps"), "1");
  EXPECT_EQ(readIni(ini_, "Default Tool BarDoubleSize"), "1");
  EXPECT_EQ(readIni(ini_, "Default Tool BarWrap"), "0");
  EXPECT_EQ(readIni(ini_, "Default Tool BarVisible"), "1");
  EXPECT_EQ(readIni(ini_, "Default Tool BarSeqNo"), "0");
  EXPECT_EQ(readIni(ini_, "Open Bar Tool BarVisible"), "0");
  EXPECT_EQ(readIni(ini_, "Open Bar Tool BarSeqNo"), "1");
  EXPECT_EQ(readIni(ini_, "Print Preview Tool BarVisible"), "<none>");
  EXPECT_EQ(readIni(ini_, "Print Preview Tool BarSeqNo"), "2");
  restart();
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_WRAP), 0);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_LARGE_BUTTONS), 0);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, "Default Tool Bar", OCS_TB_LARGE_BUTTONS), 1);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, "No Such Bar", OCS_TB_LARGE_BUTTONS), 0);
  EXPECT_FALSE(IsWindowVisible(bar("Open Bar Tool Bar")));
  // Large buttons: 37 pixels and the border.
  EXPECT_EQ(placeOf(bar()).bottom, 37 + 4);
}

TEST_F(Bars, PropertiesLayTheFrameOutOnlyWhenSizesChange) {
  int before = g_layouts;
  OCS_SetToolBarProp(instance_, nullptr, OCS_TB_WRAP, 1);   // already 1
  EXPECT_EQ(g_layouts, before);
  OCS_SetToolBarProp(instance_, nullptr, OCS_TB_TOOL_TIPS, 0);
  EXPECT_EQ(g_layouts, before);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, "Default Tool Bar", OCS_TB_TOOL_TIPS), 0);
  OCS_SetToolBarProp(instance_, nullptr, OCS_TB_LARGE_BUTTONS, 1);
  EXPECT_EQ(g_layouts, before + 1);
  // Large buttons no longer fit in one row: they wrap into two.
  EXPECT_EQ(placeOf(bar()).bottom, 2 * 37 + 4);
  // Hiding a bar gives its strip back to the client.
  before = g_layouts;
  OCS_ShowToolBar(instance_, "Default Tool Bar", 0);
  EXPECT_EQ(g_layouts, before + 1);
  EXPECT_FALSE(IsWindowVisible(bar()));
  EXPECT_EQ(g_clientLeft.top, 0);
}

TEST_F(Bars, HoverSendsHelpTextAndTheTipShowsTheMenuTextWithTheShortcut) {
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  // The first button is FileHistory.
  SendMessageA(tb, WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));
  ASSERT_FALSE(g_statusTexts.empty());
  char help[OCS_HELP_TEXT_SIZE] = {};
  OCS_GetHelpString(instance_, number("FileHistory"), help);
  EXPECT_EQ(g_statusTexts.back(), help);
  // The mouse rests: the tip shows.
  SendMessageA(tb, WM_TIMER, 1, 0);
  HWND tip = FindWindowA("OSK 2.0 Tool Tip", nullptr);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  char text[128] = {};
  GetWindowTextA(tip, text, sizeof text);
  EXPECT_EQ(std::string(text).rfind("Recent Files", 0), 0u) << text;
  // Its window procedure is the exported one.
  HMODULE services = GetModuleHandleA("OSKOCS32.dll");
  ASSERT_NE(services, nullptr);
  EXPECT_EQ(reinterpret_cast<FARPROC>(GetWindowLongPtrA(tip, GWLP_WNDPROC)),
            GetProcAddress(services, "ToolTipWndProc"));
  // Pressing a button hides it.
  SendMessageA(tb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
  EXPECT_FALSE(IsWindowVisible(tip));
  SendMessageA(tb, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));   // let go elsewhere: nothing runs
  pump();
  EXPECT_TRUE(g_wmCommands.empty());
}

TEST_F(Bars, ReloadingTheConfigurationRebuildsTheBarsWhereTheyWere) {
  write("Default Tool BarVertical", "1");
  OCS_LoadSettings(instance_);
  HWND before = bar();
  ASSERT_TRUE(OCS_LoadConfigurationResource(instance_, frame_, GetModuleHandleA(nullptr), 1001));
  pump();
  HWND after = bar();
  ASSERT_NE(after, nullptr);
  EXPECT_FALSE(IsWindow(before) && before != after);
  const RECT r = placeOf(after);
  EXPECT_EQ(r.left, 0);
  EXPECT_GT(r.bottom - r.top, r.right - r.left);
  EXPECT_EQ(OCS_IsMoveableBar(instance_, before), before == after ? 1 : 0);
}

TEST_F(Bars, DraggingTheBarByItsBorderDocksItAtAnEdgeOrFloatsIt) {
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  RECT inside;
  GetClientRect(tb, &inside);
  // Grab the bar beyond its last button and let go near the frame's left edge, then in the middle of the frame.
  const auto drag = [&](HWND w, POINT grab, POINT frameClientDrop) {
    POINT drop = frameClientDrop;
    MapWindowPoints(frame_, w, &drop, 1);
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((grab.x + drop.x) / 2, (grab.y + drop.y) / 2));
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(drop.x, drop.y));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
    pump();
  };
  drag(tb, POINT{inside.right - 5, 12}, POINT{5, 250});
  tb = bar();
  ASSERT_NE(tb, nullptr);
  RECT r = placeOf(tb);
  EXPECT_EQ(r.left, 0);
  EXPECT_GT(r.bottom - r.top, r.right - r.left);
  EXPECT_EQ(g_clientLeft.left, r.right);
  EXPECT_EQ(g_clientLeft.top, 0);
  EXPECT_TRUE(g_wmCommands.empty());

  GetClientRect(tb, &inside);
  drag(tb, POINT{12, inside.bottom - 5}, POINT{400, 250});
  tb = bar();
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(GetWindowLongA(tb, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_TRUE(IsWindowVisible(tb));
  RECT client;
  GetClientRect(frame_, &client);
  EXPECT_TRUE(EqualRect(&g_clientLeft, &client));
  // Floating bars follow the frame's activation and survive a change of system colours.
  OCS_ActivationChanged(instance_, 0);
  OCS_ActivationChanged(instance_, 1);
  OCS_ColourChange(instance_);
  pump();
  EXPECT_TRUE(IsWindowVisible(tb));
  // Closing a floating bar hides it; it stays one of the bars.
  SendMessageA(tb, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(tb));
  EXPECT_EQ(OCS_IsMoveableBar(instance_, tb), 1);
}

TEST_F(Bars, HighlightedCommandsAreFramedOnTheirButtons) {
  HWND tb = bar();
  ASSERT_NE(tb, nullptr);
  const COLORREF mark = GetSysColor(COLOR_HIGHLIGHT);
  const auto pixel = [&] {
    RedrawWindow(tb, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(tb);
    // The left edge of the frame drawn 2 pixels inside the first button.
    const COLORREF c = GetPixel(dc, 2 + 2, 12);
    ReleaseDC(tb, dc);
    return c;
  };
  ASSERT_NE(pixel(), mark);
  OCS_HilightMacroCommands(instance_, "FileHistory", 1);
  EXPECT_EQ(pixel(), mark);
  OCS_HilightMacroCommands(instance_, "FileHistory", 0);
  EXPECT_NE(pixel(), mark);
}

// The "View Tool Bars" dialog: answered by a hook that changes what the test asks and presses a button.
int g_dialogButton = IDOK;
bool g_dialogSeen = false;
HHOOK g_cbt = nullptr;

LRESULT CALLBACK dialogHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND w = reinterpret_cast<HWND>(wParam);
    char title[64] = {};
    GetWindowTextA(w, title, sizeof title);
    if (!g_dialogSeen && std::strcmp(title, "View Tool Bars") == 0) {
      g_dialogSeen = true;
      // Wrap off, large buttons on, and the first bar in the list (the Default Tool Bar) hidden.
      CheckDlgButton(w, 3004, BST_UNCHECKED);
      CheckDlgButton(w, 3005, BST_CHECKED);
      HWND list = GetDlgItem(w, 3001);
      SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
      PostMessageA(w, WM_COMMAND, g_dialogButton, 0);
    }
  }
  return CallNextHookEx(g_cbt, code, wParam, lParam);
}

TEST_F(Bars, ViewToolBarsDialogChangesNothingOnCancelAndEverythingOnOk) {
  g_cbt = SetWindowsHookExA(WH_CBT, dialogHook, nullptr, GetCurrentThreadId());
  g_dialogSeen = false;
  g_dialogButton = IDCANCEL;
  EXPECT_EQ(OCS_ShowToolBarDlg(instance_, frame_), 0);
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_WRAP), 1);
  EXPECT_TRUE(IsWindowVisible(bar()));
  g_dialogSeen = false;
  g_dialogButton = IDOK;
  EXPECT_EQ(OCS_ShowToolBarDlg(instance_, frame_), 1);
  UnhookWindowsHookEx(g_cbt);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_WRAP), 0);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_LARGE_BUTTONS), 1);
  EXPECT_EQ(OCS_GetToolBarProp(instance_, nullptr, OCS_TB_TOOL_TIPS), 1);
  EXPECT_FALSE(IsWindowVisible(bar()));
}

TEST_F(Bars, NullInstanceAndNoConfigurationAnswerNothing) {
  RECT r{0, 0, 100, 100};
  uint8_t edges = 0;
  void* dwp = nullptr;
  EXPECT_EQ(OCS_ResizeControlBars(nullptr, &edges, &dwp, &r), 0);
  EXPECT_EQ(OCS_GetToolBarProp(nullptr, nullptr, OCS_TB_WRAP), 0);
  OCS_ShowToolBar(nullptr, "Default Tool Bar", 0);
  OCS_HilightMacroCommands(nullptr, "Find", 1);
  HOCSINSTANCE empty = OCS_CreateInstance(frame_, "");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(OCS_CreateMenu("Default", empty, nullptr), nullptr);
  EXPECT_EQ(OCS_ResizeControlBars(empty, &edges, &dwp, &r), 1);
  EXPECT_EQ(r.bottom, 100);
  EXPECT_EQ(OCS_GetToolBarProp(empty, nullptr, OCS_TB_WRAP), 1);
  OCS_DestroyInstance(empty);
}

}  // namespace

namespace {

// At shutdown the frame, and with it every bar window, goes before the services save their settings.
TEST(BarsAtShutdown, SettingsSavedAfterTheFrameIsGoneKeepWhereTheFloatingBarWas) {
  const std::vector<uint8_t> resource = builtinResource();
  auto loaded = osk::loadConfiguration(resource, {});
  ASSERT_EQ(loaded.status, osk::ConfigLoadStatus::kOk);
  g_commands.clear();
  for (const osk::CCommand& c : loaded.config->commands)
    if (!c.name.empty()) g_commands.push_back({c.name, c.conditionWord});
  const std::string ini = programDirectory() + "\\SHUTDOWN.INI";
  DeleteFileA(ini.c_str());
  WritePrivateProfileStringA("Extended", "Default Tool BarAsPopup", "1", ini.c_str());
  HWND frame = createFrame();
  ASSERT_NE(frame, nullptr);
  HOCSINSTANCE instance = OCS_CreateInstance(frame, ini.c_str());
  OCS_LoadSettings(instance);
  ASSERT_TRUE(OCS_LoadConfigurationResource(instance, frame, GetModuleHandleA(nullptr), 1001));
  HWND tb = barWindow(frame, "Default Tool Bar");
  ASSERT_NE(tb, nullptr);
  // The user moves it by its caption.
  SetWindowPos(tb, nullptr, 210, 230, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DestroyWindow(frame);
  EXPECT_FALSE(IsWindow(tb));
  EXPECT_EQ(OCS_IsMoveableBar(instance, tb), 0);
  OCS_SaveSettings(instance);
  OCS_DestroyInstance(instance);
  EXPECT_EQ(readIni(ini, "Default Tool BarLeft"), "210");
  EXPECT_EQ(readIni(ini, "Default Tool BarTop"), "230");
  EXPECT_EQ(readIni(ini, "Default Tool BarAsPopup"), "1");
  DeleteFileA(ini.c_str());
  pump();
}

}  // namespace
