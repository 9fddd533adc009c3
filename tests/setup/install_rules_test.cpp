// The installer's texts and program manager commands, and the steps of the installation directory.
#include <gtest/gtest.h>

#include "setup/install_rules.h"

namespace osk::setup {
namespace {

TEST(InstallRules, KilobytesAreWholeAndGroupedByThousands) {
  EXPECT_EQ(kilobytesText(0), "0  K Bytes");
  EXPECT_EQ(kilobytesText(1023), "0  K Bytes");
  EXPECT_EQ(kilobytesText(999 * 1024), "999  K Bytes");
  EXPECT_EQ(kilobytesText(1000 * 1024), "1,000  K Bytes");
  // Free space beyond 4 GiB: counted in 64 bits, not wrapped.
  EXPECT_EQ(kilobytesText(5ull * 1024 * 1024 * 1024), "5,242,880  K Bytes");
  EXPECT_EQ(kilobytesText(~0ull), "18,014,398,509,481,983  K Bytes");
}

TEST(InstallRules, BackgroundFallsFromFullBlue) {
  EXPECT_EQ(bandBlue(0), 255);
  EXPECT_EQ(bandBlue(1), 252);
  EXPECT_EQ(bandBlue(63), 4);
  for (int i = 1; i < 64; ++i) EXPECT_LT(bandBlue(i), bandBlue(i - 1));
}

TEST(InstallRules, PercentIsCappedAndSafeForEmptyRanges) {
  EXPECT_EQ(percentComplete(0, 0), 0u);
  EXPECT_EQ(percentComplete(50, 200), 25u);
  EXPECT_EQ(percentComplete(300, 200), 100u);
  EXPECT_EQ(percentComplete(5'000'000'000ull, 10'000'000'000ull), 50u);
}

TEST(InstallRules, ConfirmationListsDirectoryAndGroup) {
  EXPECT_EQ(confirmationText("C:\\OSK", "Editors"),
            "Install directory:\r\n    C:\\OSK\r\n\r\nProgram Group:\r\n    Editors");
}

TEST(InstallRules, GroupNamesThatWouldInjectCommandsAreRefused) {
  EXPECT_TRUE(isGroupName("OSK Editor"));
  for (const char* bad : {"", "A,B", "A]", "[A", "A(B", "A)B", "A\"B", "A\nB", " A"}) {
    EXPECT_FALSE(isGroupName(bad)) << bad;
  }
  EXPECT_FALSE(isGroupName(std::string(261, 'g')));
}

TEST(InstallRules, ProgramManagerCommandsQuoteWhatHoldsBlanksOrCommas) {
  EXPECT_EQ(createGroupCommand("Tools"), "[CreateGroup(Tools)]");
  EXPECT_EQ(createGroupCommand("OSK Editor"), "[CreateGroup(\"OSK Editor\")]");
  EXPECT_EQ(showGroupCommand("Tools", 1), "[ShowGroup(Tools,1)]");
  EXPECT_EQ(addItemCommand("\"C:\\OSK\\OSK32.EXE\"", "Edit, quickly"),
            "[AddItem(\"C:\\OSK\\OSK32.EXE\",\"Edit, quickly\")]");
  EXPECT_EQ(deleteItemCommand("OSK"), "[DeleteItem(OSK)]");
  EXPECT_EQ(deleteGroupCommand("Tools"), "[DeleteGroup(Tools)]");
}

TEST(InstallRules, CommandLinesQuoteThePathAndKeepArguments) {
  EXPECT_EQ(programCommandLine("C:\\Program Files\\OSK", "OSK32.EXE"), "\"C:\\Program Files\\OSK\\OSK32.EXE\"");
  EXPECT_EQ(programCommandLine("C:\\OSK", "OSK32.EXE /r1 README.TXT"), "\"C:\\OSK\\OSK32.EXE\" /r1 README.TXT");
  EXPECT_EQ(uninstallCommandLine("C:\\WINDOWS\\OSKUNINS.EXE", "C:\\OSK"),
            "C:\\WINDOWS\\OSKUNINS.EXE C:\\OSK\\uninstal.dat");
}

TEST(InstallRules, DirectoryStepsRunFromTheRootDown) {
  const auto steps = installDirectorySteps("C:\\Apps\\OSK\\Two\\");
  ASSERT_TRUE(steps);
  EXPECT_EQ(*steps, (std::vector<std::string>{"C:\\Apps", "C:\\Apps\\OSK", "C:\\Apps\\OSK\\Two"}));
  EXPECT_TRUE(installDirectorySteps("C:\\Program Files (x86)\\OSK"));
  const auto network = installDirectorySteps("\\\\server\\share\\OSK");
  ASSERT_TRUE(network);
  EXPECT_EQ(*network, (std::vector<std::string>{"\\\\server\\share\\OSK"}));
  for (const char* bad : {"C:", "C:\\", "OSK", "C:\\A\\..\\B", "C:\\A\\\\B", "C:\\A\\.", "\\\\server", "C:\\A*B",
                          "C:\\A\\B:C", "C:\\A,B", "C:\\A]B"}) {
    EXPECT_FALSE(installDirectorySteps(bad)) << bad;
  }
}

TEST(InstallRules, GroupListAcceptsCrAndCrLf) {
  EXPECT_EQ(groupNames("Accessories\r\nGames\rStartup\r\n\r\n"),
            (std::vector<std::string>{"Accessories", "Games", "Startup"}));
  EXPECT_EQ(groupNames(std::string("A\r\n\0B", 5)), (std::vector<std::string>{"A"}));
}

}  // namespace
}  // namespace osk::setup
