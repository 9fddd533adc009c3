#include "app/file_dialog_choices.h"

#include <gtest/gtest.h>

#include <set>

namespace osk::app {
namespace {

using namespace std::string_literals;

TEST(FileDialogChoices, ExplorerStyleNeedsTheNewShellAndBothSettings) {
  EXPECT_TRUE(fileDialogStyle(true, true, true).explorer);
  EXPECT_FALSE(fileDialogStyle(false, true, true).explorer);
  EXPECT_FALSE(fileDialogStyle(true, false, true).explorer);
  EXPECT_FALSE(fileDialogStyle(true, true, false).explorer);
  EXPECT_TRUE(fileDialogStyle(false, false, true).longNames);
  EXPECT_FALSE(fileDialogStyle(true, true, false).longNames);

  // Several files: explorer style, or the old style with short names only; the latter also checks existence.
  const FileDialogStyle explorer{true, true}, oldLong{false, true}, oldShort{false, false};
  EXPECT_TRUE(openMayChooseSeveral(explorer));
  EXPECT_FALSE(openMayChooseSeveral(oldLong));
  EXPECT_TRUE(openMayChooseSeveral(oldShort));
  EXPECT_FALSE(openNeedsExistingFile(explorer));
  EXPECT_FALSE(openNeedsExistingFile(oldLong));
  EXPECT_TRUE(openNeedsExistingFile(oldShort));
}

TEST(FileDialogChoices, TheCustomFilterTypedStaysForTheNextDialog) {
  const FilterChoice typed{"", "*.cpp", 0};
  const auto buffer = customFilterBuffer(typed);
  EXPECT_EQ(std::string(buffer.data(), 7), "\0*.cpp\0"s);
  // The dialog gives the buffer back as it left it, with the index chosen.
  EXPECT_EQ(choiceAfterDialog(buffer, 0, 3), typed);
  EXPECT_EQ(choiceAfterDialog(customFilterBuffer({"Sources", "*.c;*.h", 2}), 2, 3),
            (FilterChoice{"Sources", "*.c;*.h", 2}));

  // No custom filter: index 0 points nowhere; nor does an index past the list.
  const std::array<char, kCustomFilterSize> empty{};
  EXPECT_EQ(choiceAfterDialog(empty, 0, 3), (FilterChoice{"", "", 1}));
  EXPECT_EQ(choiceAfterDialog(empty, 4, 3), (FilterChoice{"", "", 1}));
  EXPECT_EQ(choiceAfterDialog(empty, 3, 3), (FilterChoice{"", "", 3}));

  // A pair too long for the buffer is never cut into a different filter.
  const FilterChoice huge{std::string(40, 'd'), std::string(30, 'p'), 0};
  EXPECT_EQ(customFilterBuffer(huge), empty);
  std::array<char, kCustomFilterSize> full{};
  full.fill('x');
  full[10] = '\0';
  EXPECT_EQ(choiceAfterDialog(full, 0, 3), (FilterChoice{"", "", 1})) << "a pattern that runs off the end";
}

TEST(FileDialogChoices, FilterPatternsByIndexAndByTheDescriptionShown) {
  const std::vector<FileFilter> types = {{"Text files(*.txt)", "*.txt"}, {"All files(*.*)", "*.*"}};
  const FilterChoice choice{"Mine", "*.cpp", 1};
  EXPECT_EQ(filterPatternAt(choice, types, 0), "*.cpp");
  EXPECT_EQ(filterPatternAt(choice, types, 1), "*.txt");
  EXPECT_EQ(filterPatternAt(choice, types, 2), "*.*");
  EXPECT_EQ(filterPatternAt(choice, types, 3), "");
  EXPECT_EQ(filterPatternNamed(choice, types, "Mine"), "*.cpp");
  EXPECT_EQ(filterPatternNamed(choice, types, "All files(*.*)"), "*.*");
  EXPECT_EQ(filterPatternNamed(choice, types, "Unknown"), "");
}

TEST(FileDialogChoices, OldStyleOkAmendsMissingNamesOnly) {
  const std::set<std::string> files = {"there.txt", "main.c", "util.c"};
  const auto exists = [&](const std::string& name) { return files.count(name) > 0; };
  const auto amend = [&](const std::string& name) -> std::optional<std::string> {
    return files.count(name + ".c") ? std::optional<std::string>(name + ".c") : std::nullopt;
  };
  EXPECT_EQ(amendedOpenField("main  there.txt util", true, exists, amend), "main.c there.txt util.c");
  // Names with a folder or wildcards, existing names and names nothing fits stay; an unchanged field is left.
  EXPECT_EQ(amendedOpenField("dir\\main *.c there.txt nothing", true, exists, amend), std::nullopt);
  // One name allowed: the whole field is that name, blanks and all.
  EXPECT_EQ(amendedOpenField("main", false, exists, amend), "main.c");
  EXPECT_EQ(amendedOpenField("main util", false, exists, amend), std::nullopt);
  // A rewrite that would not fit the field leaves it as typed.
  EXPECT_EQ(amendedOpenField("main util", true, exists, amend, 10), std::nullopt);
  EXPECT_EQ(amendedOpenField("main util", true, exists, amend, 13), "main.c util.c");
}

TEST(FileDialogChoices, ResultsBecomeFullNames) {
  const std::string one = "C:\\src\\a.txt\0\0"s;
  EXPECT_EQ(dialogResultNames(one, true, true), (std::vector<std::string>{"C:\\src\\a.txt"}));
  const std::string several = "C:\\src\0a.txt\0b c.txt\0\0junk"s;
  EXPECT_EQ(dialogResultNames(several, true, true),
            (std::vector<std::string>{"C:\\src\\a.txt", "C:\\src\\b c.txt"}));
  const std::string root = "C:\\\0a.txt\0b.txt\0\0"s;
  EXPECT_EQ(dialogResultNames(root, true, true), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
  // Old style: blanks separate only where several names were allowed.
  EXPECT_EQ(dialogResultNames("C:\\SRC A.TXT B.TXT\0"s, false, true),
            (std::vector<std::string>{"C:\\SRC\\A.TXT", "C:\\SRC\\B.TXT"}));
  EXPECT_EQ(dialogResultNames("C:\\My Files\\a b.txt\0"s, false, false),
            (std::vector<std::string>{"C:\\My Files\\a b.txt"}));
  EXPECT_TRUE(dialogResultNames("\0\0"s, true, true).empty());
  // A buffer without its zeros ends where it ends.
  const char unterminated[] = {'C', ':', '\\', 'x'};
  EXPECT_EQ(dialogResultNames(unterminated, true, true), (std::vector<std::string>{"C:\\x"}));
}

TEST(FileDialogChoices, OldStyleDialogsAreCentredAndKeptInsideTheScreen) {
  const ScreenBox screen{0, 0, 1024, 768};
  EXPECT_EQ(centredOver({100, 100, 900, 700}, 400, 300, screen), (ScreenPlace{300, 250}));
  // A frame near the edges: the dialog is pushed in to 5 pixels from them.
  EXPECT_EQ(centredOver({-300, -200, 100, 100}, 400, 300, screen), (ScreenPlace{5, 5}));
  EXPECT_EQ(centredOver({900, 600, 1300, 900}, 400, 300, screen), (ScreenPlace{1024 - 5 - 400, 768 - 5 - 300}));
  // Larger than the screen: its top-left corner stays in view.
  EXPECT_EQ(centredOver({0, 0, 1024, 768}, 2000, 1000, screen), (ScreenPlace{5, 5}));
}

}  // namespace
}  // namespace osk::app
