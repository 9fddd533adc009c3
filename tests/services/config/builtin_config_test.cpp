// The built-in configuration: its text source, what it compiles to, and the bindings users rely on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "services/config/config_format.h"
#include "services/config/config_reader.h"
#include "services/config/config_text.h"
#include "services/config/config_writer.h"

namespace osk {
namespace {

std::string readText(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// The statements of a text without its comments and blank lines.
std::string statements(const std::string& text) {
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line)) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    out += line + "\n";
  }
  return out;
}

class BuiltinConfig : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    source_ = new std::string(readText(OSK_BUILTIN_CONFIG_TEXT));
    CConfiguration compiled;
    ConfigTextError error;
    ASSERT_TRUE(configurationFromText(*source_, compiled, error)) << error.line << ": " << error.message;
    bytes_ = new std::vector<uint8_t>;
    ASSERT_EQ(serializeConfiguration(compiled, *bytes_), ConfigSaveStatus::kOk);
  }
  static void TearDownTestSuite() {
    delete source_;
    delete bytes_;
  }
  void SetUp() override {
    ASSERT_FALSE(bytes_->empty());
    ASSERT_EQ(parseConfiguration(*bytes_, cfg_), ConfigLoadStatus::kOk);
  }

  const CCommand* command(const std::string& name, const std::string& parameter = "") const {
    for (const CCommand& c : cfg_.commands)
      if (c.name == name && c.parameter == parameter) return &c;
    return nullptr;
  }
  std::string bound(uint16_t word, uint16_t context) const {
    auto b = cfg_.mapKey(word, context);
    return b ? b->name + (b->parameter.empty() ? "" : " " + b->parameter) : "";
  }
  static uint16_t key(const char* name) {
    auto w = parseKeyName(name);
    EXPECT_TRUE(w) << name;
    return w.value_or(0);
  }

  static std::string* source_;
  static std::vector<uint8_t>* bytes_;
  CConfiguration cfg_;
};

std::string* BuiltinConfig::source_ = nullptr;
std::vector<uint8_t>* BuiltinConfig::bytes_ = nullptr;

TEST_F(BuiltinConfig, HasTheDocumentedCounts) {
  EXPECT_EQ(cfg_.groups.count(), 12);
  EXPECT_EQ(cfg_.commandCount(), 177);
  EXPECT_EQ(cfg_.commands.count(), 177 + 12);
  EXPECT_EQ(cfg_.menus.count(), 7);
  int items = 0;
  for (const CMenuObject& m : cfg_.menus) forEachMenuItem(m.root, [&](const CMenuItem&, int, bool) { ++items; });
  EXPECT_EQ(items, 176);
  EXPECT_EQ(cfg_.keyMap.count(), 141);
  EXPECT_EQ(cfg_.toolBars.count(), 3);
  int elements = 0;
  for (const CToolBarObject& t : cfg_.toolBars) elements += t.elements.count();
  EXPECT_EQ(elements, 61);
  EXPECT_EQ(cfg_.imageCount(), 61);
  EXPECT_EQ(cfg_.bitmaps.bitCount(), 4);
  EXPECT_EQ(cfg_.bitmaps.width(), 976);
  EXPECT_EQ(cfg_.bitmaps.bytes().size(), 7424u);
  EXPECT_EQ(cfg_.extensions.count(), 0);
  // The 17 bytes of the empty extension list lie beyond what the header counts.
  EXPECT_EQ(bytes_->size(), readConfigHeader(*bytes_)->expectedLength() + 17);
}

TEST_F(BuiltinConfig, LoadThenSaveIsByteIdentical) {
  std::vector<uint8_t> saved;
  ASSERT_EQ(serializeConfiguration(cfg_, saved), ConfigSaveStatus::kOk);
  EXPECT_EQ(saved, *bytes_);
}

TEST_F(BuiltinConfig, TextSourceRoundTripsThroughTheCompiledFile) {
  EXPECT_EQ(statements(configurationToText(cfg_)), statements(*source_));
}

TEST_F(BuiltinConfig, BuildProducedTheSameFile) {
  const std::string built = readText(OSK_BUILTIN_CONFIG);
  EXPECT_EQ(std::vector<uint8_t>(built.begin(), built.end()), *bytes_);
}

TEST_F(BuiltinConfig, BindsEveryBuiltInCommandAndNoOther) {
  const std::set<std::string> table = {
      "Customise", "NewFile", "OpenFile", "SaveFile", "SaveFileAs", "SaveAllFiles", "ReloadFile", "CloseFile",
      "CloseAllFiles", "RestoreSession", "PasteFromFile", "CopyToFile", "Print", "PrintSetup", "PrintPreview",
      "PPClose", "PPNextPage", "PPPrevPage", "PPZoomIn", "PPZoomOut", "PPSinglePage", "PPDoublePage", "Exit",
      "CascadeWindows", "TileWindowsHorizontally", "TileWindowsVertically", "ArrangeWindows", "NextWindow",
      "PreviousWindow", "SplitWindowHorizontally", "SplitWindowVertically", "FileInformation", "CapitaliseMark",
      "UpperCaseMark", "LowerCaseMark", "Reflow", "Indent", "Outdent", "FillMark", "ShortDate", "LongDate", "Find",
      "FindRepeat", "FindNext", "FindPrevious", "FindNextWord", "FindPreviousWord", "Replace", "BracketMatch",
      "BookmarkToggle", "BookmarkNext", "BookmarkPrevious", "BookmarkClearAll", "Goto", "ExpandTabs",
      "StartLineMark", "StartColumnMark", "InsertModeToggle", "OpenBarToggle", "StatusBarToggle", "Configuration",
      "WordWrapToggle", "KeyMacroRecord", "KeyMacroPlay", "KeyMacroRepeatPlay", "KeyMacroLoad", "KeyMacroSave",
      "KeyMacroSetStartup", "KeyMacroClearStartup", "HelpContext", "HelpContents", "HelpKey", "HelpPartialKey",
      "HelpAbout", "FileHistory", "NextPane", "SplitUpLeft", "SplitDownRight", "MoveUp", "MoveDown", "MoveLeft",
      "MoveRight", "MovePageUp", "MovePageDown", "MoveHome", "MoveEnd", "MovePageLeft", "MovePageRight",
      "MoveFirstLine", "MoveLastLine", "MoveWordLeft", "MoveWordRight", "MoveWordEnd", "ScrollCentre", "ScrollUp",
      "ScrollDown", "ScrollLeft", "ScrollRight", "DeleteWordLeft", "DeleteWordRight", "MoveToTop", "MoveToMiddle",
      "MoveToBottom", "SelectAll", "NewLine", "Delete", "Backspace", "DeleteLine", "Undo", "Redo", "Cut", "Copy",
      "Paste", "AppendToClipboard", "DeleteToEndOfLine", "CopyLine", "CutLine", "CancelDialog", "RunApplication",
      "RunCommand", "SwapCharacters", "KeyMapDlg", "ClipBuffer", "PlaceCaret", "DragNormMark", "DragColumnMark",
      "DragLineMark", "DragMoveMark", "MarkCurrentWord", "MarkCurrentParagraph", "SetLinePointer", "SetCharPointer",
      "SetMovePointer", "SetArrowPointer", "TrackMenu", "OBNextList", "OBPrevList", "OBGotoList", "OBNewList",
      "OBSettings", "OBRefresh", "OBOpen", "OBMaxToggle", "OBClose", "OBFont", "OBAutoRefresh", "OBHide",
      "OBDeleteFiles", "TBView", "TBLargeToggle", "TBWrapToggle", "TBTipsToggle", "TBHideHit"};
  ASSERT_EQ(table.size(), 153u);
  std::set<std::string> named;
  for (const CCommand& c : cfg_.commands) {
    if (c.isSeparator()) continue;
    if (c.isTopLevel()) {
      EXPECT_TRUE(c.name.empty()) << c.menuText;
      continue;
    }
    EXPECT_TRUE(table.count(c.name)) << c.name;
    named.insert(c.name);
    // The parameter bit is set exactly for the commands that accept a parameter.
    const bool takesParameter = c.name == "OpenFile" || c.name.rfind("Find", 0) == 0 ||
                                c.name == "FillMark" || c.name.rfind("Help", 0) == 0 || c.name == "RunApplication" ||
                                c.name == "ClipBuffer" || c.name == "TrackMenu";
    const bool noParameter = c.name == "FindNextWord" || c.name == "FindPreviousWord" || c.name == "HelpAbout";
    EXPECT_EQ((c.conditionWord & kParameterBit) != 0, takesParameter && !noParameter) << c.name;
  }
  EXPECT_EQ(named, table);
}

TEST_F(BuiltinConfig, StoredParametersAreText) {
  for (int d = 0; d <= 9; ++d) EXPECT_NE(command("ClipBuffer", std::to_string(d)), nullptr) << d;
  EXPECT_NE(command("FillMark", "\" \""), nullptr);
  for (const char* menu : {"Application Menu", "Editor Menu", "Open Bar Menu", "Tool Bar Menu",
                           "Print Preview Right Button Menu"}) {
    const CCommand* c = command("TrackMenu", std::string("\"") + menu + "\"");
    ASSERT_NE(c, nullptr) << menu;
    EXPECT_NE(cfg_.findMenu(menu), nullptr) << menu;
  }
  EXPECT_NE(command("HelpContext", "418"), nullptr);
}

TEST_F(BuiltinConfig, MenuBarHasItsPopupsAndSpecialLists) {
  const CMenuObject* bar = cfg_.menus.head();
  ASSERT_EQ(bar->name, "Default");
  std::vector<std::string> popups;
  for (const CMenuItem& item : bar->root.children) {
    const CCommand* c = cfg_.findCommand(item.command);
    ASSERT_TRUE(c && c->isTopLevel());
    popups.push_back(c->menuText);
    const int32_t options = c->specialListOptions();
    EXPECT_EQ(options, c->menuText == "&File" ? 4 : c->menuText == "&Window" ? 1 : c->menuText == "&Utilities" ? 8 : 0);
  }
  EXPECT_EQ(popups, (std::vector<std::string>{"&File", "&Edit", "&Options", "&Utilities", "&Key Macros", "&Window",
                                               "&Help"}));
  bool dateInUtilities = false;
  for (const CMenuItem& popup : bar->root.children)
    for (const CMenuItem& item : popup.children)
      if (!item.children.empty() && cfg_.findCommand(item.command)->menuText == "&Date")
        dateInUtilities = cfg_.findCommand(popup.command)->menuText == "&Utilities";
  EXPECT_TRUE(dateInUtilities);
  std::vector<std::string> names;
  for (const CMenuObject& m : cfg_.menus) names.push_back(m.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Default", "Application Menu", "Editor Menu", "Open Bar Menu",
                                              "Tool Bar Menu", "Print Preview Menu",
                                              "Print Preview Right Button Menu"}));
}

TEST_F(BuiltinConfig, KeysAWindowsUserExpects) {
  EXPECT_EQ(bound(key("Ctrl+S"), kContextEditor), "SaveFile");
  EXPECT_EQ(bound(key("Ctrl+F"), kContextEditor), "Find");
  EXPECT_EQ(bound(key("F3"), kContextEditor), "FindNext");
  EXPECT_EQ(bound(key("Shift+F3"), kContextEditor), "FindPrevious");
  EXPECT_EQ(bound(key("Ctrl+Z"), kContextEditor), "Undo");
  EXPECT_EQ(bound(key("Ctrl+Y"), kContextEditor), "Redo");
  EXPECT_EQ(bound(key("Ctrl+Insert"), kContextEditor), "Copy");
  EXPECT_EQ(bound(key("Shift+Insert"), kContextEditor), "Paste");
  EXPECT_EQ(bound(key("Shift+Delete"), kContextEditor), "Cut");
  EXPECT_EQ(bound(key("Ctrl+F4"), kContextEditor), "CloseFile");
  EXPECT_EQ(bound(key("Ctrl+F6"), kContextEditor), "NextWindow");
  EXPECT_EQ(bound(key("Ctrl+Back"), kContextEditor), "DeleteWordLeft");
  EXPECT_EQ(bound(key("Ctrl+]"), kContextEditor), "BracketMatch");
  // With a mark: Tab indents; other editor keys still answer through the fallback.
  EXPECT_EQ(bound(key("Tab"), kContextMarkedEditor), "Indent");
  EXPECT_EQ(bound(key("Shift+Tab"), kContextMarkedEditor), "Outdent");
  EXPECT_EQ(bound(key("Ctrl+Back"), kContextMarkedEditor), "DeleteWordLeft");
  EXPECT_EQ(bound(key("Tab"), kContextEditor), "");
  EXPECT_EQ(bound(key("Alt+3"), kContextEditor), "ClipBuffer 3");
  EXPECT_EQ(bound(key("Esc"), kContextEditor), "CancelDialog");
  EXPECT_EQ(bound(key("Esc"), kContextPrintPreview), "PPClose");
  EXPECT_EQ(bound(key("Enter"), kContextOpenBar), "OBOpen");
  EXPECT_EQ(bound(key("Enter"), kContextEditor), "NewLine");
}

TEST_F(BuiltinConfig, MouseBindingsByPlace) {
  EXPECT_EQ(bound(key("Left Mouse Down"), kContextMouseEditor), "DragNormMark");
  EXPECT_EQ(bound(key("Ctrl+Left Mouse Down"), kContextMouseEditor), "DragColumnMark");
  EXPECT_EQ(bound(key("Left Mouse Down"), kContextMouseMarkedText), "DragMoveMark");
  EXPECT_EQ(bound(key("Left Mouse Down"), kContextMouseMargin), "DragLineMark");
  EXPECT_EQ(bound(key("Left Mouse Down"), kContextMouseUnmarkedText), "DragNormMark");
  EXPECT_EQ(bound(key("Left Mouse Dlb Click"), kContextMouseUnmarkedText), "MarkCurrentWord");
  EXPECT_EQ(bound(key("Right Mouse Up"), kContextMouseMarkedText), "TrackMenu \"Editor Menu\"");
  EXPECT_EQ(bound(key("Right Mouse Up"), kContextMouseOpenBar), "TrackMenu \"Open Bar Menu\"");
  EXPECT_EQ(bound(key("Right Mouse Up"), kContextMouseToolBar), "TrackMenu \"Tool Bar Menu\"");
  EXPECT_EQ(bound(key("Right Mouse Up"), kContextNone), "TrackMenu \"Application Menu\"");
  EXPECT_EQ(bound(key("Mouse Move"), kContextMouseMargin), "SetLinePointer");
}

TEST_F(BuiltinConfig, MenuTextsShowTheirShortcuts) {
  EXPECT_EQ(cfg_.keyMap.shortcutText(command("SaveFile")->number), "Ctrl+S");
  EXPECT_EQ(cfg_.keyMap.shortcutText(command("FindNext")->number), "F3");
  EXPECT_EQ(cfg_.keyMap.shortcutText(command("ClipBuffer", "7")->number), "Alt+7");
  EXPECT_EQ(cfg_.keyMap.shortcutText(command("MoveUp")->number), "");
}

TEST_F(BuiltinConfig, ToolBarsInTheirDocumentedOrder) {
  auto buttons = [&](const char* name) {
    std::vector<std::string> v;
    for (const CToolBarElement& e : cfg_.findToolBar(name)->elements)
      if (e.command != kSeparatorNumber) v.push_back(cfg_.findCommand(e.command)->name);
    return v;
  };
  EXPECT_EQ(buttons("Open Bar Tool Bar"),
            (std::vector<std::string>{"OBGotoList", "OBPrevList", "OBNextList", "OBNewList", "OBOpen", "OBClose",
                                      "OBDeleteFiles", "OBMaxToggle", "OBRefresh"}));
  EXPECT_EQ(buttons("Print Preview Tool Bar"),
            (std::vector<std::string>{"Print", "PPPrevPage", "PPNextPage", "PPDoublePage", "PPSinglePage", "PPClose"}));
  const auto main = buttons("Default Tool Bar");
  ASSERT_EQ(main.size(), 29u);
  EXPECT_EQ(main.front(), "FileHistory");
  EXPECT_EQ(main.back(), "KeyMacroRepeatPlay");
  // Every image is used by exactly one command.
  std::set<int32_t> images;
  for (const CCommand& c : cfg_.commands)
    if (!c.isTopLevel() && c.imageIndex >= 0) EXPECT_TRUE(images.insert(c.imageIndex).second) << c.name;
  EXPECT_EQ(images.size(), 61u);
}

}  // namespace
}  // namespace osk
