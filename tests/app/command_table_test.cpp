// The command table as the services enumerate it, and the condition mask that enables its commands.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>

#include "app/condition_mask.h"

namespace osk::app {
namespace {

TEST(CommandTable, HoldsEveryCommandOnceInItsFixedOrder) {
  const auto table = commandTable();
  ASSERT_EQ(table.size(), 153u);
  std::set<std::string_view> names;
  for (const CommandRecord& r : table) {
    EXPECT_LE(r.name.size(), 33u);
    EXPECT_TRUE(names.insert(r.name).second) << r.name;
  }
  EXPECT_EQ(findCommand("Customise"), 0);
  EXPECT_EQ(findCommand("Exit"), 22);
  EXPECT_EQ(findCommand("MoveUp"), 78);
  EXPECT_EQ(findCommand("TBHideHit"), 152);
  EXPECT_FALSE(findCommand("openfile"));   // names match with case
  EXPECT_EQ(table[112].conditionWord, 0x4880u);   // Paste
  EXPECT_EQ(table[38].helpContext, 507);
}

TEST(CommandTable, ExactlyTheElevenCommandsWithParametersCarryTheBit) {
  std::set<std::string_view> withParameter;
  for (const CommandRecord& r : commandTable()) {
    if (r.conditionWord & kTakesParameter) withParameter.insert(r.name);
  }
  EXPECT_EQ(withParameter, (std::set<std::string_view>{"OpenFile", "FillMark", "Find", "FindRepeat", "FindNext",
                                                        "FindPrevious", "HelpContext", "HelpContents", "HelpKey",
                                                        "HelpPartialKey", "RunApplication", "ClipBuffer",
                                                        "TrackMenu"}));
}

TEST(ConditionMask, EnablesCommandsAsTheirWordsSay) {
  ShellState s;
  s.editorActive = true;
  s.mdiChildren = 1;
  s.clipboardText = true;
  uint32_t mask = conditionMask(s);
  const auto word = [](std::string_view name) { return commandTable()[*findCommand(name)].conditionWord; };
  EXPECT_TRUE(isEnabled(mask, word("Paste")));
  EXPECT_FALSE(isEnabled(mask, word("NextWindow")));   // a single window
  EXPECT_TRUE(isEnabled(mask, word("OpenFile")));      // the parameter bit is no condition
  s.activeReadOnly = true;
  EXPECT_FALSE(isEnabled(conditionMask(s), word("Paste")));
  s.activeReadOnly = false;
  s.activeMinimised = true;
  EXPECT_FALSE(isEnabled(conditionMask(s), word("Paste")));
  s = {};
  s.macroLoaded = true;
  EXPECT_TRUE(isEnabled(conditionMask(s), word("KeyMacroPlay")));
  s.macroRunning = true;
  EXPECT_FALSE(isEnabled(conditionMask(s), word("KeyMacroPlay")));
  s = {};
  mask = conditionMask(s);
  EXPECT_EQ(mask & (kCondEditorActive | kCondWritable | kCondActiveUnmodified | kCondAnyChild), 0u);
  EXPECT_TRUE(isEnabled(mask, word("Exit")));
}

TEST(CommandTable, MenuListOptionsEndAfterTheFifth) {
  ASSERT_TRUE(menuListOption(4));
  EXPECT_EQ(menuListOption(4)->value, 8);
  EXPECT_EQ(menuListOption(0)->text, "--- no special options ---");
  EXPECT_FALSE(menuListOption(5));
  EXPECT_FALSE(menuListOption(-1));
}

}  // namespace
}  // namespace osk::app
