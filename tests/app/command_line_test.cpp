#include "app/command_line.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace osk::app {
namespace {

using Kind = CommandLineItem::Kind;

std::vector<CommandLineItem> items(std::string_view line) { return scanCommandLine(line).items; }

TEST(CommandLineScan, FileNamesAndOptionsInOrder) {
  const ScannedCommandLine line = scanCommandLine("/r1 a.txt -r0  b.txt\tc.txt");
  EXPECT_TRUE(line.valid);
  EXPECT_EQ(line.items, (std::vector<CommandLineItem>{{Kind::ReadOnlyOn, ""},
                                                       {Kind::FileName, "a.txt"},
                                                       {Kind::ReadOnlyOff, ""},
                                                       {Kind::FileName, "b.txt"},
                                                       {Kind::FileName, "c.txt"}}));
}

TEST(CommandLineScan, EmptyOrBlankLineIsValidAndEmpty) {
  EXPECT_TRUE(scanCommandLine("").valid);
  EXPECT_TRUE(scanCommandLine("").items.empty());
  EXPECT_TRUE(scanCommandLine("  \t ").valid);
  EXPECT_TRUE(scanCommandLine("  \t ").items.empty());
}

TEST(CommandLineScan, ScanResumesRightBehindTheOptionName) {
  EXPECT_EQ(items("/r1x"), (std::vector<CommandLineItem>{{Kind::ReadOnlyOn, ""}, {Kind::FileName, "x"}}));
  // "in" is not "ini", so it is the option i followed by a file named n.
  EXPECT_EQ(items("/in"), (std::vector<CommandLineItem>{{Kind::SingleInstance, ""}, {Kind::FileName, "n"}}));
  EXPECT_EQ(items("/r1-r0"), (std::vector<CommandLineItem>{{Kind::ReadOnlyOn, ""}, {Kind::ReadOnlyOff, ""}}));
}

TEST(CommandLineScan, IniIsTriedBeforeI) {
  EXPECT_EQ(items("/ini my.ini"), (std::vector<CommandLineItem>{{Kind::SettingsFile, "my.ini"}}));
  EXPECT_EQ(items("-i"), (std::vector<CommandLineItem>{{Kind::SingleInstance, ""}}));
}

TEST(CommandLineScan, ValueMayFollowTheNameDirectlyOrBeQuoted) {
  EXPECT_EQ(items("/inimy.ini"), (std::vector<CommandLineItem>{{Kind::SettingsFile, "my.ini"}}));
  EXPECT_EQ(items("/name \"My Editor\" a"),
            (std::vector<CommandLineItem>{{Kind::FrameTitle, "My Editor"}, {Kind::FileName, "a"}}));
  EXPECT_EQ(items("/ini \"C:\\Program Files\\OSK\\OSK.INI\""),
            (std::vector<CommandLineItem>{{Kind::SettingsFile, "C:\\Program Files\\OSK\\OSK.INI"}}));
}

TEST(CommandLineScan, OptionsAreCaseSensitive) {
  const ScannedCommandLine line = scanCommandLine("a /R1 b");
  EXPECT_FALSE(line.valid);
  EXPECT_EQ(line.items, (std::vector<CommandLineItem>{{Kind::FileName, "a"}}));
}

TEST(CommandLineScan, QuotedNameKeepsItsBlanks) {
  EXPECT_EQ(items("\"my file.txt\" other"),
            (std::vector<CommandLineItem>{{Kind::FileName, "my file.txt"}, {Kind::FileName, "other"}}));
  EXPECT_TRUE(items("\"\"").empty());
}

TEST(CommandLineFaults, StopTheScanAndKeepWhatCameBefore) {
  struct Case {
    std::string_view line;
    std::vector<CommandLineItem> before;
  };
  const Case cases[] = {
      {"a.txt /x b.txt", {{Kind::FileName, "a.txt"}}},
      {"a.txt / b.txt", {{Kind::FileName, "a.txt"}}},
      {"a.txt - b.txt", {{Kind::FileName, "a.txt"}}},
      {"a.txt /ini", {{Kind::FileName, "a.txt"}}},
      {"a.txt /ini   ", {{Kind::FileName, "a.txt"}}},
      {"/r1 a.txt /name", {{Kind::ReadOnlyOn, ""}, {Kind::FileName, "a.txt"}}},
      {"a.txt \"open name b.txt", {{Kind::FileName, "a.txt"}}},
      {"/name \"never closed", {}},
      {"/ini \"\" a.txt", {}},
  };
  for (const Case& c : cases) {
    const ScannedCommandLine line = scanCommandLine(c.line);
    EXPECT_FALSE(line.valid) << c.line;
    EXPECT_EQ(line.items, c.before) << c.line;
  }
}

TEST(CommandLineLimits, FrameTitleIsCutTo64Characters) {
  const std::string title(100, 't');
  const auto scanned = items("/name " + title);
  ASSERT_EQ(scanned.size(), 1u);
  EXPECT_EQ(scanned[0].text, std::string(64, 't'));
}

TEST(CommandLineLimits, OverlongSettingsPathIsRefusedNotCut) {
  EXPECT_TRUE(scanCommandLine("/ini " + std::string(260, 'p')).valid);
  const ScannedCommandLine line = scanCommandLine("/ini " + std::string(261, 'p') + " a.txt");
  EXPECT_FALSE(line.valid);
  EXPECT_TRUE(line.items.empty());
}

TEST(StartupPass, TakesSettingsTitleAndSingleInstanceAndSkipsFiles) {
  const StartupOptions options = startupOptions(scanCommandLine("a.txt /i /name Work /ini w.ini b.txt"));
  EXPECT_EQ(options.settingsFile, "w.ini");
  EXPECT_EQ(options.frameTitle, "Work");
  EXPECT_TRUE(options.singleInstance);

  const StartupOptions none = startupOptions(scanCommandLine("a.txt /r1 b.txt"));
  EXPECT_EQ(none.settingsFile, "");
  EXPECT_EQ(none.frameTitle, "");
  EXPECT_FALSE(none.singleInstance);
}

TEST(StartupPass, OptionsAfterAFaultDoNotTakeEffect) {
  const StartupOptions options = startupOptions(scanCommandLine("/x /ini w.ini"));
  EXPECT_EQ(options.settingsFile, "");
}

TEST(OpeningPass, ReadOnlyChoiceAppliesToEveryFileNamedAfterIt) {
  EXPECT_EQ(filesToOpen(scanCommandLine("/r1 a.txt b.txt /r0 c.txt /name T d.txt")),
            (std::vector<FileToOpen>{{"a.txt", true}, {"b.txt", true}, {"c.txt", false}, {"d.txt", false}}));
}

TEST(OpeningPass, OpensTheFilesBeforeAFaultOnly) {
  EXPECT_EQ(filesToOpen(scanCommandLine("a.txt \"b c.txt\" \"d.txt")),
            (std::vector<FileToOpen>{{"a.txt", false}, {"b c.txt", false}}));
}

// Random command lines written from known items, with random spacing and quoting, scan back to those items.
TEST(CommandLineScan, RandomLinesRoundTrip) {
  std::mt19937 random(20240611);
  const std::string nameChars = "abcXYZ019._\\:-/ ";
  auto randomText = [&](bool mayStartWithOptionChar) {
    std::string text;
    const int length = 1 + static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += nameChars[random() % nameChars.size()];
    if (!mayStartWithOptionChar && (text[0] == '/' || text[0] == '-')) text[0] = 'f';
    return text;
  };
  auto blanks = [&] { return std::string(1 + random() % 3, (random() % 4 == 0) ? '\t' : ' '); };
  auto written = [&](const std::string& text) {
    const bool mustQuote = text.find_first_of(" \t") != std::string::npos || text[0] == '/' || text[0] == '-' ||
                           text[0] == '"';
    return (mustQuote || random() % 3 == 0) ? "\"" + text + "\"" : text;
  };

  for (int round = 0; round < 2000; ++round) {
    std::vector<CommandLineItem> expected;
    std::string line = (random() % 2) ? blanks() : "";
    const int count = static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i) {
      const char optionChar = (random() % 2) ? '/' : '-';
      switch (random() % 6) {
        case 0: {
          std::string value = randomText(true);
          line += std::string(1, optionChar) + "ini" + blanks() + written(value);
          expected.push_back({Kind::SettingsFile, value});
          break;
        }
        case 1:
          line += std::string(1, optionChar) + "r1";
          expected.push_back({Kind::ReadOnlyOn, ""});
          break;
        case 2:
          line += std::string(1, optionChar) + "r0";
          expected.push_back({Kind::ReadOnlyOff, ""});
          break;
        case 3:
          line += std::string(1, optionChar) + "i";
          expected.push_back({Kind::SingleInstance, ""});
          break;
        case 4: {
          std::string value = randomText(true);
          line += std::string(1, optionChar) + "name" + blanks() + written(value);
          expected.push_back({Kind::FrameTitle, value});
          break;
        }
        default: {
          std::string name = randomText(false);
          line += written(name);
          expected.push_back({Kind::FileName, name});
          break;
        }
      }
      line += blanks();
    }
    const ScannedCommandLine scanned = scanCommandLine(line);
    ASSERT_TRUE(scanned.valid) << line;
    ASSERT_EQ(scanned.items, expected) << line;
  }
}

}  // namespace
}  // namespace osk::app
