#include "app/open_bar_commands.h"

#include <gtest/gtest.h>

#include "app/command_table.h"

namespace osk::app {
namespace {

TEST(OpenBarCommands, EveryOpenBarCommandOfTheTableHasItsStep) {
  int found = 0;
  for (const CommandRecord& command : commandTable()) {
    const bool openBar = command.name.substr(0, 2) == "OB" || command.name == "OpenBarToggle";
    EXPECT_EQ(openBarStep(command.name).has_value(), openBar) << command.name;
    if (openBar) ++found;
  }
  EXPECT_EQ(found, 14);
  EXPECT_FALSE(openBarStep("obopen").has_value()) << "names compare with case";
}

TEST(OpenBarCommands, StepsReachTheBarsActionsAndProperties) {
  EXPECT_EQ(openBarStep("OBOpen")->kind, OpenBarStepKind::kAction);
  EXPECT_EQ(openBarStep("OBOpen")->property, kObOpenSelected);
  EXPECT_EQ(openBarStep("OBClose")->property, kObCloseList);
  EXPECT_EQ(openBarStep("OBPrevList")->property, kObPreviousList);
  EXPECT_EQ(openBarStep("OBSettings")->property, kObListSettings);
  EXPECT_EQ(openBarStep("OpenBarToggle")->kind, OpenBarStepKind::kToggle);
  EXPECT_EQ(openBarStep("OpenBarToggle")->property, kObVisible);
  EXPECT_EQ(openBarStep("OBMaxToggle")->property, kObMaximised);
  EXPECT_EQ(openBarStep("OBAutoRefresh")->property, kObAutoRefresh);
  EXPECT_EQ(openBarStep("OBHide")->kind, OpenBarStepKind::kHide);
  EXPECT_EQ(openBarStep("OBGotoList")->kind, OpenBarStepKind::kPickList);
  EXPECT_EQ(openBarStep("OBDeleteFiles")->kind, OpenBarStepKind::kDeleteFiles);
}

TEST(OpenBarCommands, ConditionBitsFollowListsAndSelection) {
  EXPECT_EQ(openBarConditions(0, 0), 0u);
  EXPECT_EQ(openBarConditions(1, 0), 0u) << "one list cannot be left or closed";
  EXPECT_EQ(openBarConditions(2, 0), static_cast<uint32_t>(kCondOpenBarLists));
  EXPECT_EQ(openBarConditions(1, 3), static_cast<uint32_t>(kCondOpenBarSelection));
  EXPECT_EQ(openBarConditions(60, 1), static_cast<uint32_t>(kCondOpenBarLists | kCondOpenBarSelection));
  EXPECT_EQ(openBarConditions(2, -1), static_cast<uint32_t>(kCondOpenBarLists)) << "a failed count selects nothing";
}

TEST(OpenBarDelete, TheQuestionNamesOneFileOrCountsSeveral) {
  EXPECT_EQ(deleteQuestion({"C:\\src\\main.c"}), "Send \"main.c\" to the Recycle Bin?");
  EXPECT_EQ(deleteQuestion({"C:\\src\\main.c", "C:\\src\\util.h", "C:\\src\\x"}),
            "Send these 3 files to the Recycle Bin?");
}

TEST(OpenBarDelete, TheFileListNamesExactlyTheChosenFiles) {
  const auto list = shellFileList({"C:\\src\\a.c", "\\\\server\\share\\b.h"});
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(*list, std::string("C:\\src\\a.c\0\\\\server\\share\\b.h\0\0", 31));
}

TEST(OpenBarDelete, AnythingThatCouldWidenTheDeletionIsRefused) {
  EXPECT_FALSE(shellFileList({}).has_value());
  EXPECT_FALSE(shellFileList({"C:\\src\\*.c"}).has_value()) << "a wildcard deletes every match";
  EXPECT_FALSE(shellFileList({"C:\\src\\a?.c"}).has_value());
  EXPECT_FALSE(shellFileList({"a.c"}).has_value()) << "relative to whatever the current folder is";
  EXPECT_FALSE(shellFileList({"C:a.c"}).has_value());
  EXPECT_FALSE(shellFileList({""}).has_value()) << "an empty entry would end the list early";
  EXPECT_FALSE(shellFileList({"C:\\src\\"}).has_value()) << "a folder, not a file";
  EXPECT_FALSE(shellFileList({std::string("C:\\a.c\0C:\\b.c", 13)}).has_value());
  EXPECT_FALSE(shellFileList({"C:\\ok.c", "C:\\*"}).has_value()) << "one bad entry refuses them all";
}

}  // namespace
}  // namespace osk::app
