// The settings, history and session lines written to a real settings file and read back through the system's
// profile functions, which drop enclosing quotes and blanks on their own terms.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/session.h"
#include "app/shell_settings.h"
#include "services/win32/profile_win32.h"

namespace osk::app {
namespace {

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char directory[MAX_PATH];
    GetTempPathA(sizeof directory, directory);
    char name[MAX_PATH];
    GetTempFileNameA(directory, "osk", 0, name);
    path_ = name;
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  std::string raw(const char* section, const char* key) {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, path_.c_str());
    return buffer;
  }
  std::string path_;
};

SettingsEnvironment screen() { return {.screenWidth = 1024, .screenHeight = 768, .windowsDirectory = "C:\\windows"}; }

TEST_F(ProfileFile, EverythingWrittenReadsBack) {
  win32::ProfileSettings file(path_);
  ShellSettings s;
  s.configFile = " lead blank.cfg";
  s.frame = {5, 6, 700, 500};
  s.font = {"Lucida Console", -16, 700, true};
  s.undos = 1234;
  s.defaults = {0, 4, -2, 6, 60, 0, 1, 1};
  s.advanced.wordPattern = "[a-z]+";
  s.advanced.macroPath = "C:\\My Macros";
  s.filters = {{"C files", "*.c;*.h"}, {"All", "*.*"}};
  s.history.push({"C:\\My Files\\b.txt", 0, 0, {}});
  s.history.push({"C:\\a.txt", 1, 0, {0, 4, 0, 4, 70, 1, 0, 0}});
  writeShellSettings(file, s, {});

  const ShellSettings back = readShellSettings(file, screen());
  EXPECT_EQ(back.configFile, " lead blank.cfg");
  EXPECT_EQ(back.frame, s.frame);
  EXPECT_EQ(back.font.name, "Lucida Console");
  EXPECT_EQ(back.font.height, -16);
  EXPECT_EQ(back.undos, 1234);
  EXPECT_EQ(back.defaults, s.defaults);
  EXPECT_EQ(back.advanced.wordPattern, "[a-z]+");
  EXPECT_EQ(back.advanced.macroPath, "C:\\My Macros");
  EXPECT_EQ(back.filters, s.filters);
  EXPECT_EQ(back.history.records(), s.history.records());
  EXPECT_EQ(raw("History", "2"), "");
}

TEST_F(ProfileFile, HistoryLineWithOnlyAQuotedNameKeepsItsBlanks) {
  WritePrivateProfileStringA("Flags", "TabLen", "3", path_.c_str());
  WritePrivateProfileStringA("History", "0", "\"C:\\My Files\\only name.txt\"", path_.c_str());
  win32::ProfileSettings file(path_);
  const ShellSettings s = readShellSettings(file, screen());
  ASSERT_EQ(s.history.size(), 1u);
  EXPECT_EQ(s.history.records()[0].name, "C:\\My Files\\only name.txt");
  EXPECT_EQ(s.history.records()[0].settings.tabLength, 3);
}

TEST_F(ProfileFile, SessionListEndsAtTheFirstMissingKeyAndTheWriterEndsIt) {
  win32::ProfileSettings file(path_);
  writeSessionLines(file, {{"C:\\My Files\\a.txt", 3, 40, 0, {}}, {"C:\\b.txt", 1, 1, 1, {}}});
  EXPECT_EQ(raw("State", "3"), "");
  ASSERT_TRUE(readSessionLine(file, 1, {}));
  EXPECT_EQ(readSessionLine(file, 1, {})->name, "C:\\My Files\\a.txt");
  EXPECT_EQ(readSessionLine(file, 1, {})->line, 40u);
  EXPECT_EQ(readSessionLine(file, 2, {})->readOnly, 1);
  EXPECT_FALSE(readSessionLine(file, 3, {}));

  // A shorter session written over a longer one: the old third line is no longer reached.
  writeSessionLines(file, {{"C:\\c.txt", 1, 1, 0, {}}});
  EXPECT_FALSE(readSessionLine(file, 2, {}));
}

TEST_F(ProfileFile, NegativeAndOversizedNumbersAreClamped) {
  WritePrivateProfileStringA("Flags", "Undos", "99999999999", path_.c_str());
  WritePrivateProfileStringA("Flags", "WinLeft", "-20", path_.c_str());
  WritePrivateProfileStringA("Flags", "WinTop", "10", path_.c_str());
  WritePrivateProfileStringA("Flags", "WinWidth", "500", path_.c_str());
  WritePrivateProfileStringA("Flags", "WinHeight", "400", path_.c_str());
  WritePrivateProfileStringA("Advanced", "ExtraLineSpacing", "-7", path_.c_str());
  win32::ProfileSettings file(path_);
  const ShellSettings s = readShellSettings(file, screen());
  EXPECT_EQ(s.undos, kMaxUndos);
  EXPECT_EQ(s.frame, FramePlacement{});
  EXPECT_EQ(s.advanced.extraLineSpacing, 0);
}

}  // namespace
}  // namespace osk::app
