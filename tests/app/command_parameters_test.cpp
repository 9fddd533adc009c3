#include "app/command_parameters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace osk::app {
namespace {

using Names = std::vector<std::string>;

TEST(OpenFileParameter, NamesWithEitherQuotes) {
  const FileNameList list = parseFileNames("a.txt  \"C:\\My Files\\b.txt\"\t'c d.txt' e");
  EXPECT_TRUE(list.complete);
  EXPECT_EQ(list.names, (Names{"a.txt", "C:\\My Files\\b.txt", "c d.txt", "e"}));
  // A double quote inside single quotes is part of the name.
  EXPECT_EQ(parseFileNames("'say \"hi\".txt'").names, (Names{"say \"hi\".txt"}));
  EXPECT_TRUE(parseFileNames("   ").names.empty());
}

TEST(OpenFileParameter, AnOpenQuoteKeepsTheNamesBeforeIt) {
  const FileNameList list = parseFileNames("a.txt \"b c.txt");
  EXPECT_FALSE(list.complete);
  EXPECT_EQ(list.names, (Names{"a.txt"}));
}

TEST(TrackMenuParameter, LeadingBlanksSkippedAndQuotesAllowed) {
  EXPECT_EQ(trackMenuName("   Editor Popup  "), "Editor Popup");
  EXPECT_EQ(trackMenuName(" \"Right Button\" ignored"), "Right Button");
  EXPECT_EQ(trackMenuName("'Tools'"), "Tools");
  EXPECT_FALSE(trackMenuName("    "));
  EXPECT_FALSE(trackMenuName("\"Open"));
  EXPECT_FALSE(trackMenuName("\"\""));
}

TEST(RunApplicationParameter, SplitAtTheFirstBlankKeepingAQuotedPathWhole) {
  EXPECT_EQ(splitApplicationCommand("notepad.exe a.txt b.txt"), (ApplicationCommand{"notepad.exe", "a.txt b.txt"}));
  EXPECT_EQ(splitApplicationCommand("\"C:\\Program Files\\Tool\\tool.exe\" -x \"y z\""),
            (ApplicationCommand{"C:\\Program Files\\Tool\\tool.exe", "-x \"y z\""}));
  EXPECT_EQ(splitApplicationCommand("  calc.exe"), (ApplicationCommand{"calc.exe", ""}));
  EXPECT_EQ(splitApplicationCommand("cmd.exe  /c  dir"), (ApplicationCommand{"cmd.exe", " /c  dir"}));
  EXPECT_FALSE(splitApplicationCommand(""));
  EXPECT_FALSE(splitApplicationCommand("\"C:\\Program Files\\tool.exe"));
}

TEST(HelpParameter, ContextNumberWithOrWithoutAFile) {
  EXPECT_EQ(parseHelpParameter(HelpCommand::Context, "108"), (HelpRequest{"", "", 108}));
  EXPECT_EQ(parseHelpParameter(HelpCommand::Context, " other.HLP 42 "), (HelpRequest{"other.HLP", "", 42}));
  EXPECT_EQ(parseHelpParameter(HelpCommand::Context, "\"C:\\My Help\\x.hlp\" 7"),
            (HelpRequest{"C:\\My Help\\x.hlp", "", 7}));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Context, ""));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Context, "other.hlp"));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Context, "twelve"));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Context, "12 13"));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Context, "99999999999"));
}

TEST(HelpParameter, KeywordsAndContents) {
  EXPECT_EQ(parseHelpParameter(HelpCommand::Key, "word wrap"), (HelpRequest{"", "word wrap", 0}));
  EXPECT_EQ(parseHelpParameter(HelpCommand::Key, "api.hlp CreateWindow"), (HelpRequest{"api.hlp", "CreateWindow", 0}));
  EXPECT_EQ(parseHelpParameter(HelpCommand::Key, "api.hlp"), (HelpRequest{"", "api.hlp", 0}));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Key, "  "));
  EXPECT_EQ(parseHelpParameter(HelpCommand::PartialKey, ""), HelpRequest{});
  EXPECT_EQ(parseHelpParameter(HelpCommand::PartialKey, "x.hlp \"Cre\""), (HelpRequest{"x.hlp", "Cre", 0}));
  EXPECT_EQ(parseHelpParameter(HelpCommand::Contents, ""), HelpRequest{});
  EXPECT_EQ(parseHelpParameter(HelpCommand::Contents, " \"C:\\My Help\\a.hlp\" "), (HelpRequest{"C:\\My Help\\a.hlp", "", 0}));
  EXPECT_FALSE(parseHelpParameter(HelpCommand::Contents, "\"C:\\a.hlp"));
}

TEST(CommandParameterText, CutToSixtySevenCharacters) {
  EXPECT_EQ(commandParameter(std::string(100, 'p')).size(), kMaxCommandParameter);
  EXPECT_EQ(commandParameter("short"), "short");
}

}  // namespace
}  // namespace osk::app
