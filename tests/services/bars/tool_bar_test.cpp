// Tool bar settings in the settings file, tool tips, screen colours, button layout and docking.
#include <gtest/gtest.h>

#include "services/bars/bar_layout.h"
#include "services/bars/tool_bar_model.h"
#include "services/instance.h"
#include "services/memory_settings.h"

namespace osk {
namespace {

TEST(ToolBarSettings, GlobalKeysHaveTheirDefaultsAndRoundTrip) {
  test::MemorySettings ini;
  ToolBarOptions o;
  o.largeButtons = 7;
  readGlobalToolBarOptions(ini, o);
  EXPECT_EQ(o.get(kPropLargeButtons), 0);
  EXPECT_EQ(o.get(kPropWrap), 1);
  EXPECT_EQ(o.get(kPropToolTips), 1);
  EXPECT_EQ(o.get(kPropTipsWithKeys), 1);
  o.largeButtons = 1;
  o.tipsWithKeys = 0;
  writeGlobalToolBarOptions(ini, o);
  EXPECT_EQ(ini.sections["Extended"]["TBDouble"], "1");
  EXPECT_EQ(ini.sections["Extended"]["TBTipsWithKeyMaps"], "0");
  ToolBarOptions back;
  readGlobalToolBarOptions(ini, back);
  EXPECT_EQ(back.largeButtons, 1);
  EXPECT_EQ(back.tipsWithKeys, 0);
}

TEST(ToolBarSettings, PerBarKeysAreTheNameFollowedByTheSetting) {
  test::MemorySettings ini;
  ToolBarSettings s;
  s.seqNo = 2;
  s.visible = 0;
  s.asPopup = 1;
  s.rect = {10, 20, -30, 40};
  s.vertical = 1;
  s.botRight = 1;
  s.options.wrap = 0;
  writeToolBarSettings(ini, "Default Tool Bar", s);
  auto& ext = ini.sections["Extended"];
  EXPECT_EQ(ext["Default Tool BarVisible"], "0");
  EXPECT_EQ(ext["Default Tool BarSeqNo"], "2");
  EXPECT_EQ(ext["Default Tool BarRight"], "-30");
  EXPECT_EQ(ext["Default Tool BarWrap"], "0");
  ToolBarSettings back;
  readToolBarSettings(ini, "Default Tool Bar", back);
  EXPECT_EQ(back.seqNo, 2);
  EXPECT_EQ(back.visible, 0);
  EXPECT_EQ(back.asPopup, 1);
  EXPECT_EQ(back.rect, s.rect);
  EXPECT_EQ(back.vertical, 1);
  EXPECT_EQ(back.botRight, 1);
  EXPECT_EQ(back.options.wrap, 0);
  // Missing keys keep the bar's current values.
  ToolBarSettings current;
  current.options.largeButtons = 1;
  current.rect = {1, 2, 3, 4};
  readToolBarSettings(ini, "Other Bar", current);
  EXPECT_EQ(current.seqNo, -1);
  EXPECT_EQ(current.options.largeButtons, 1);
  EXPECT_EQ(current.rect, (BarRect{1, 2, 3, 4}));
}

TEST(ToolBarSettings, PrintPreviewBarNeverReadsOrWritesVisible) {
  test::MemorySettings ini;
  ini.sections["Extended"]["Print Preview Tool BarVisible"] = "1";
  ToolBarSettings s;
  s.visible = 1;
  readToolBarSettings(ini, kPrintPreviewToolBar, s);
  EXPECT_EQ(s.visible, 0);
  ini.sections.clear();
  s.visible = 1;
  writeToolBarSettings(ini, kPrintPreviewToolBar, s);
  EXPECT_EQ(ini.sections["Extended"].count("Print Preview Tool BarVisible"), 0u);
  EXPECT_EQ(ini.sections["Extended"].count("Print Preview Tool BarSeqNo"), 1u);
}

TEST(ToolBarSettings, InstanceRunsEverySettingsHookInOrder) {
  CInstance instance(nullptr, "OSK.INI");
  std::string order;
  instance.addSettingsHook({[&](SettingsStore&) { order += "L1"; }, [&](SettingsStore&) { order += "S1"; }});
  instance.addSettingsHook({[&](SettingsStore& s) { order += "L2" + s.readString("X", "k", "", 8); }, nullptr});
  test::MemorySettings ini;
  ini.sections["X"]["k"] = "v";
  instance.loadSettings(ini);
  instance.saveSettings(ini);
  EXPECT_EQ(order, "L1L2vS1");
}

TEST(ToolBarProperties, SettingAnAbsentOrEqualValueChangesNothing) {
  ToolBarOptions o;
  EXPECT_FALSE(o.set(kPropWrap, 1));
  EXPECT_TRUE(o.set(kPropWrap, 0));
  EXPECT_FALSE(o.set(9, 1));
  EXPECT_EQ(o.get(9), 0);
}

TEST(ToolTips, MenuTextLosesAmpersandsAndDotsAndGainsTheShortcut) {
  EXPECT_EQ(toolTipText("&Save", "Ctrl+S", true), "Save (Ctrl+S)");
  EXPECT_EQ(toolTipText("&Save", "Ctrl+S", false), "Save");
  EXPECT_EQ(toolTipText("&Open...", "", true), "Open");
  EXPECT_EQ(toolTipText("Save &As...\tCtrl+A", "Ctrl+A", true), "Save As (Ctrl+A)");
}

TEST(ButtonImages, FourGreysBecomeSystemColours) {
  const ButtonColours sys{0x111111, 0x222222, 0x333333, 0x444444};
  EXPECT_EQ(displayColour(0x000000, sys), 0x111111u);
  EXPECT_EQ(displayColour(0x808080, sys), 0x222222u);
  EXPECT_EQ(displayColour(0xC0C0C0, sys), 0x333333u);
  EXPECT_EQ(displayColour(0xFFFFFF, sys), 0x444444u);
  EXPECT_EQ(displayColour(0x800000, sys), 0x800000u);
  // The reserved byte of a palette entry is not part of the colour.
  EXPECT_EQ(displayColour(0xFF000000u, sys), 0x111111u);
}

std::vector<bool> buttons(std::initializer_list<int> pattern) {
  std::vector<bool> out;
  for (int p : pattern) out.push_back(p == 0);   // 0 is a separator
  return out;
}

TEST(ButtonLayout, OneRowWhenTheWidthSuffices) {
  const auto e = buttons({1, 1, 0, 1});
  const ButtonLayout l = layoutButtons(e, false, false, true, 1000);
  ASSERT_EQ(l.buttons.size(), 3u);
  EXPECT_EQ(l.buttons[0].rect, (BarRect{2, 2, 26, 24}));
  EXPECT_EQ(l.buttons[1].rect, (BarRect{26, 2, 50, 24}));
  EXPECT_EQ(l.buttons[2].element, 3);
  EXPECT_EQ(l.buttons[2].rect.left, 50 + kSeparatorGap);
  EXPECT_EQ(l.height, 22 + 4);
  EXPECT_EQ(l.width, 50 + kSeparatorGap + 24 + 2);
}

TEST(ButtonLayout, WrapStartsNewRowsAndDropsTheSeparatorThatWouldBeginOne) {
  const auto e = buttons({1, 1, 0, 1, 1});
  // Room for two buttons a row.
  const ButtonLayout l = layoutButtons(e, false, false, true, 4 + 48 + 10);
  ASSERT_EQ(l.buttons.size(), 4u);
  EXPECT_EQ(l.buttons[2].rect, (BarRect{2, 24, 26, 46}));
  EXPECT_EQ(l.buttons[3].rect, (BarRect{26, 24, 50, 46}));
  EXPECT_EQ(l.height, 2 * 22 + 4);
  // Without wrap the same width keeps one row.
  EXPECT_EQ(layoutButtons(e, false, false, false, 62).height, 22 + 4);
  // A width below one button still places every button, one a row.
  EXPECT_EQ(layoutButtons(e, false, false, true, 0).height, 4 * 22 + 4);
}

TEST(ButtonLayout, VerticalBarsStackLargeButtonsInColumns) {
  const auto e = buttons({1, 1, 1});
  const ButtonLayout l = layoutButtons(e, true, true, true, 4 + 2 * 37);
  ASSERT_EQ(l.buttons.size(), 3u);
  EXPECT_EQ(l.buttons[1].rect, (BarRect{2, 39, 42, 76}));
  EXPECT_EQ(l.buttons[2].rect, (BarRect{42, 2, 82, 39}));
  EXPECT_EQ(l.width, 2 * 40 + 4);
  EXPECT_EQ(buttonAt(l, 45, 5), 2);
  EXPECT_EQ(buttonAt(l, 0, 0), -1);
  // An empty bar is as thick as one button.
  EXPECT_EQ(layoutButtons({}, false, false, true, 300).height, 22 + 4);
}

DockRequest bar(bool vertical, bool botRight, int32_t thickness = 26) {
  DockRequest r;
  r.vertical = vertical;
  r.botRight = botRight;
  r.thickness = [thickness](int32_t) { return thickness; };
  return r;
}

TEST(Docking, BarsTakeStripsInOrderAndShareBorderLines) {
  std::vector<DockRequest> bars{bar(false, false), bar(false, false), bar(true, false, 30), bar(false, true)};
  uint8_t edges = kEdgeBottom;   // the status bar holds the bottom edge
  BarRect rem{0, 0, 400, 300};
  const auto places = dockBars(bars, edges, rem);
  ASSERT_EQ(places.size(), 4u);
  EXPECT_EQ(places[0].rect, (BarRect{0, 0, 400, 26}));
  // The second top bar moves 2 up onto the first one's border.
  EXPECT_EQ(places[1].rect, (BarRect{0, 24, 400, 50}));
  // The vertical bar reaches 2 up where the top is taken and 2 down onto the status bar.
  EXPECT_EQ(places[2].rect, (BarRect{0, 48, 30, 302}));
  // The bottom bar moves 2 down onto the status bar and reaches 2 left over the left bar.
  EXPECT_EQ(places[3].rect, (BarRect{28, 276, 400, 302}));
  EXPECT_EQ(rem, (BarRect{30, 50, 400, 276}));
  EXPECT_EQ(edges, kEdgeBottom | kEdgeTop | kEdgeLeft);
}

TEST(Docking, HiddenAndFloatingBarsTakeNothing) {
  std::vector<DockRequest> bars{bar(false, false), bar(true, true, 30)};
  bars[0].shown = false;
  bars[1].floating = true;
  uint8_t edges = 0;
  BarRect rem{0, 0, 400, 300};
  const auto places = dockBars(bars, edges, rem);
  EXPECT_FALSE(places[0].docked);
  EXPECT_FALSE(places[1].docked);
  EXPECT_EQ(rem, (BarRect{0, 0, 400, 300}));
  EXPECT_EQ(edges, 0);
}

TEST(Docking, RightBarAndTheLengthEachBarIsGiven) {
  std::vector<int32_t> asked;
  DockRequest top = bar(false, false);
  top.thickness = [&](int32_t len) {
    asked.push_back(len);
    return 26;
  };
  DockRequest right = bar(true, true);
  right.thickness = [&](int32_t len) {
    asked.push_back(len);
    return 30;
  };
  std::vector<DockRequest> bars{top, right};
  uint8_t edges = 0;
  BarRect rem{10, 10, 410, 310};
  const auto places = dockBars(bars, edges, rem);
  EXPECT_EQ(asked, (std::vector<int32_t>{400, 274}));
  EXPECT_EQ(places[1].rect, (BarRect{380, 34, 410, 310}));
  EXPECT_EQ(rem, (BarRect{10, 36, 380, 310}));
}

TEST(Docking, ATinyClientLeavesAnEmptyRectangleNeverAnInvertedOne) {
  std::vector<DockRequest> bars{bar(false, false, 80), bar(false, true, 80)};
  uint8_t edges = 0;
  BarRect rem{0, 0, 100, 50};
  dockBars(bars, edges, rem);
  EXPECT_LE(rem.top, rem.bottom);
  EXPECT_LE(rem.left, rem.right);
}

TEST(Docking, SequenceNumbersKeepEqualOnesInCreationOrder) {
  const std::vector<int32_t> seq{-1, -1, 0, 2};
  EXPECT_EQ(seqNoInsertPosition(seq, -1), 2u);
  EXPECT_EQ(seqNoInsertPosition(seq, 1), 3u);
  EXPECT_EQ(seqNoInsertPosition(seq, 5), 4u);
  EXPECT_EQ(seqNoInsertPosition({}, 5), 0u);
}

TEST(FloatingBars, FrameFitsTheButtonsAndStaysOnTheScreen) {
  const BarRect screen{0, 0, 800, 600};
  EXPECT_EQ(floatingFrameRect({100, 100, 0, 0}, 200, 26, {8, 30}, screen), (BarRect{100, 100, 308, 156}));
  EXPECT_EQ(floatingFrameRect({790, 590, 0, 0}, 200, 26, {8, 30}, screen), (BarRect{592, 544, 800, 600}));
  EXPECT_EQ(floatingFrameRect({-50, -9, 0, 0}, 200, 26, {8, 30}, screen), (BarRect{0, 0, 208, 56}));
}

}  // namespace
}  // namespace osk

namespace osk {
namespace {

TEST(DraggedBars, LandOnTheNearestEdgeOrFloat) {
  const BarRect client{0, 0, 400, 300};
  const DropTarget top = dropTarget(client, 200, 5, 32);
  EXPECT_FALSE(top.floating);
  EXPECT_FALSE(top.vertical);
  EXPECT_FALSE(top.botRight);
  const DropTarget bottom = dropTarget(client, 200, 290, 32);
  EXPECT_FALSE(bottom.vertical);
  EXPECT_TRUE(bottom.botRight);
  const DropTarget left = dropTarget(client, 3, 150, 32);
  EXPECT_TRUE(left.vertical);
  EXPECT_FALSE(left.botRight);
  const DropTarget right = dropTarget(client, 399, 150, 32);
  EXPECT_TRUE(right.vertical);
  EXPECT_TRUE(right.botRight);
  EXPECT_TRUE(dropTarget(client, 200, 150, 32).floating);
  EXPECT_TRUE(dropTarget(client, -5, 150, 32).floating);
  EXPECT_TRUE(dropTarget(client, 200, 300, 32).floating);
}

}  // namespace
}  // namespace osk
