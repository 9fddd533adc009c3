// The uninstaller's playback: records run last first, and nothing outside what an installation can have made is
// ever touched, whatever the log says.
#include <gtest/gtest.h>

#include "uninstall/uninstall_plan.h"

namespace osk::uninstall {
namespace {

using Kind = UninstallStep::Kind;
using setup::LogRecord;

constexpr const char* kInstall = "C:\\Apps\\OSK\\Two";
constexpr const char* kWindows = "C:\\windows";

std::vector<LogRecord> installedLog() {
  return {{"PDNAME", "OSK 2.0"},
          {"CPDISP", "Editor"},
          {"DELDIR", "C:\\Apps\\OSK"},
          {"DELDIR", "C:\\Apps\\OSK\\Two"},
          {"DELFIL", "C:\\Apps\\OSK\\Two\\OSK32.EXE"},
          {"DELFIL", "C:\\windows\\OSKHELP.HLP"},
          {"DELGRP", "OSK Editor"},
          {"DELITM", "OSK Editor,OSK, the editor"},
          {"DELRKY", "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OSK 2.0"},
          {"DELRKY", "HKEY_LOCAL_MACHINE\\Software\\OSK Makers"},
          {"DELRKY", "HKEY_LOCAL_MACHINE\\Software\\OSK Makers\\OSK\\2.0"}};
}

TEST(UninstallPlan, PlaysBackLastFirstSoContentsGoBeforeContainers) {
  const auto steps = planUninstall(installedLog(), kInstall, kWindows);
  const std::vector<UninstallStep> expected = {
      {Kind::DeleteKey, "HKEY_LOCAL_MACHINE\\Software\\OSK Makers\\OSK", "2.0"},
      {Kind::DeleteKey, "HKEY_LOCAL_MACHINE\\Software", "OSK Makers"},
      {Kind::DeleteKey, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "OSK 2.0"},
      {Kind::DeleteItem, "OSK Editor", "OSK, the editor"},
      {Kind::DeleteGroup, "OSK Editor", ""},
      {Kind::DeleteFile, "C:\\windows\\OSKHELP.HLP", ""},
      {Kind::DeleteFile, "C:\\Apps\\OSK\\Two\\OSK32.EXE", ""},
      {Kind::DeleteDirectory, "C:\\Apps\\OSK\\Two", ""},
      {Kind::DeleteDirectory, "C:\\Apps\\OSK", ""}};
  EXPECT_EQ(steps, expected);
}

TEST(UninstallPlan, OnlyTitlesMeansNothingToRemove) {
  EXPECT_TRUE(planUninstall({{"PDNAME", "OSK 2.0"}, {"CPDISP", "Editor"}}, kInstall, kWindows).empty());
}

TEST(UninstallPlan, FilesOutsideTheInstallationAreRefused) {
  for (const char* path : {"C:\\autoexec.bat", "C:\\Apps\\OSK\\Two\\..\\..\\..\\boot.ini", "C:\\Apps\\OSK\\TwoX\\a",
                           "C:\\windows\\system32\\kernel32.dll", "D:\\Apps\\OSK\\Two\\a", "relative.txt",
                           "C:\\Apps\\OSK\\Two\\a.", "\\\\server\\share\\a"}) {
    const auto steps = planUninstall({{"DELFIL", path}}, kInstall, kWindows);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].kind, Kind::RefusedFile) << path;
  }
  EXPECT_TRUE(mayDeleteFile("c:/apps/osk/two/sub/x.txt", kInstall, kWindows));
  EXPECT_TRUE(mayDeleteFile("C:\\WINDOWS\\OSKHELP.HLP", kInstall, kWindows));
}

TEST(UninstallPlan, DirectoriesOnlyWithinOrOnTheWayToTheInstallation) {
  EXPECT_TRUE(mayDeleteDirectory("C:\\Apps\\OSK\\Two\\samples", kInstall, kWindows));
  EXPECT_TRUE(mayDeleteDirectory("C:\\Apps", kInstall, kWindows));
  EXPECT_FALSE(mayDeleteDirectory("C:\\", kInstall, kWindows));
  EXPECT_FALSE(mayDeleteDirectory("C:\\windows", kInstall, kWindows));
  EXPECT_FALSE(mayDeleteDirectory("C:\\windows\\temp", kInstall, kWindows));
  EXPECT_FALSE(mayDeleteDirectory("C:\\Apps\\Other", kInstall, kWindows));
  EXPECT_FALSE(mayDeleteDirectory("C:\\windows", "C:\\windows\\OSK", kWindows));   // an install inside Windows
}

TEST(UninstallPlan, RegistryKeysOnlyUnderTheInstallersRoots) {
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows"));
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile"));
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software"));
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet"));
  EXPECT_FALSE(deletableKey("HKEY_CURRENT_USER\\Software\\OSK Makers\\OSK"));
  EXPECT_FALSE(deletableKey("hkey_local_machine\\Software\\OSK Makers\\OSK"));   // root names match exactly
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\A\\B"));
  EXPECT_FALSE(deletableKey("HKEY_LOCAL_MACHINE\\Software\\OSK Makers\\"));
  const auto key = deletableKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\OSK Makers\\OSK\\2.0 Beta");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->first, "HKEY_LOCAL_MACHINE\\SOFTWARE\\OSK Makers\\OSK");
  EXPECT_EQ(key->second, "2.0 Beta");
  // Refused keys give no step at all: their failure is silent.
  EXPECT_TRUE(planUninstall({{"DELRKY", "HKEY_LOCAL_MACHINE\\Software\\Microsoft"}}, kInstall, kWindows).empty());
}

TEST(UninstallPlan, GroupsAndItemsThatWouldInjectCommandsAreSkipped) {
  EXPECT_TRUE(planUninstall({{"DELGRP", "A)][DeleteGroup(Startup)"}, {"DELITM", "no comma"},
                             {"DELITM", "Group,x)][DeleteGroup(Startup"}, {"delgrp", "OSK"}},
                            kInstall, kWindows)
                  .empty());
}

TEST(UninstallPlan, CommandLineAndInstallationDirectory) {
  EXPECT_EQ(logPathFromCommandLine("  C:\\Program Files\\OSK\\uninstal.dat "), "C:\\Program Files\\OSK\\uninstal.dat");
  EXPECT_EQ(logPathFromCommandLine("\"C:\\OSK\\uninstal.dat\""), "C:\\OSK\\uninstal.dat");
  EXPECT_EQ(logPathFromCommandLine(""), "");
  EXPECT_EQ(installDirectoryOfLog("C:\\Program Files\\OSK\\uninstal.dat"), "C:\\Program Files\\OSK");
  EXPECT_EQ(installDirectoryOfLog("uninstal.dat"), "");
}

TEST(UninstallPlan, GroupReplyCountsItemsAfterTheFirstLine) {
  EXPECT_EQ(groupItemCount("\"OSK\",C:\\x,0,0,0\r\n"), 0u);
  EXPECT_EQ(groupItemCount("OSK\r\nitem one\r\n\r\nitem two\r"), 2u);
  EXPECT_EQ(groupItemCount(""), 0u);
}

TEST(UninstallPlan, MessagesFitTheirBufferAndHelpFilesTakeTheirCompanions) {
  const std::string message = pathMessage("Failed to remove file %s", std::string(600, 'p'));
  EXPECT_EQ(message.size(), 323u);
  EXPECT_EQ(message.substr(0, 24), "Failed to remove file pp");
  EXPECT_EQ(pathMessage("Failed to remove directory %s", "C:\\x"), "Failed to remove directory C:\\x");
  EXPECT_EQ(helpCompanions("C:\\windows\\OSK.HLP"),
            (std::vector<std::string>{"C:\\windows\\OSK.gid", "C:\\windows\\OSK.fts"}));
  EXPECT_TRUE(helpCompanions("C:\\dir.hlp\\file").empty());
  EXPECT_TRUE(helpCompanions("C:\\x.txt").empty());
}

}  // namespace
}  // namespace osk::uninstall
