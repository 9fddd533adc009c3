// The uninstall log: what the installer writes is what the uninstaller reads back, and damaged or hostile logs
// cannot make a keyword pose as an argument.
#include <gtest/gtest.h>

#include <string>

#include "setup/uninstall_log.h"

namespace osk::setup {
namespace {

TEST(UninstallLog, RoundTripsEveryRecordInOrder) {
  UninstallLogWriter writer;
  ASSERT_TRUE(writer.add(kProductName, "OSK 2.0"));
  ASSERT_TRUE(writer.add(kDisplayLine, "OSK programmer's editor"));
  ASSERT_TRUE(writer.add(kDeleteDirectory, "C:\\Apps\\OSK"));
  ASSERT_TRUE(writer.add(kDeleteFile, "C:\\Apps\\OSK\\OSK32.EXE"));
  ASSERT_TRUE(writer.add(kDeleteGroup, "OSK Editor"));
  ASSERT_TRUE(writer.addItem("OSK Editor", "Edit, then save"));
  ASSERT_TRUE(writer.addRegistryKey("HKEY_LOCAL_MACHINE\\Software\\Maker\\OSK", "2.0"));
  const std::string text = writer.text();
  EXPECT_EQ(text.substr(0, 26), "PDNAME\nOSK 2.0\nCPDISP\nOSK ");

  const ParsedLog log = parseUninstallLog(text);
  EXPECT_TRUE(log.isLog());
  EXPECT_FALSE(log.danglingLine);
  EXPECT_EQ(log.records, writer.records());
  std::string group, title;
  ASSERT_TRUE(splitItemArgument(log.records[5].argument, group, title));
  EXPECT_EQ(group, "OSK Editor");
  EXPECT_EQ(title, "Edit, then save");   // split at the first comma, so the title keeps its own
  EXPECT_EQ(log.records[6].argument, "HKEY_LOCAL_MACHINE\\Software\\Maker\\OSK\\2.0");
}

TEST(UninstallLog, WriterRefusesTextThatWouldShiftLaterPairs) {
  UninstallLogWriter writer;
  EXPECT_FALSE(writer.add(kDeleteFile, "C:\\a\nDELDIR"));
  EXPECT_FALSE(writer.add(kDeleteFile, "C:\\a\rb"));
  EXPECT_FALSE(writer.add(kDeleteFile, std::string("C:\\a\0b", 6)));
  EXPECT_FALSE(writer.add("", "C:\\a"));
  EXPECT_FALSE(writer.addItem("Group, with comma", "Title"));
  EXPECT_TRUE(writer.records().empty());
}

TEST(UninstallLog, LongLogIsWrittenAndReadWhole) {
  UninstallLogWriter writer;
  for (int i = 0; i < 200; ++i) writer.add(kDeleteFile, "C:\\Program Files\\OSK\\file" + std::to_string(i) + ".txt");
  ASSERT_GT(writer.text().size(), 5000u);
  const ParsedLog log = parseUninstallLog(writer.text());
  ASSERT_EQ(log.records.size(), 200u);
  EXPECT_EQ(log.records.back().argument, "C:\\Program Files\\OSK\\file199.txt");
}

TEST(UninstallLog, ReaderAcceptsCrLfAndDropsAnOddLastLine) {
  const ParsedLog log = parseUninstallLog("PDNAME\r\nOSK 2.0\r\nDELFIL\r\nC:\\OSK\\a.txt\r\nDELDIR\r\n");
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.records[1], (LogRecord{"DELFIL", "C:\\OSK\\a.txt"}));
  EXPECT_TRUE(log.danglingLine);
}

TEST(UninstallLog, OddLineInTheMiddleCannotTurnAnArgumentIntoAKeyword) {
  // Read from the start, the pairing is fixed by position: "DELDIR" on an argument line stays an argument.
  const ParsedLog log = parseUninstallLog("PDNAME\nDELDIR\nC:\\Windows\nDELFIL\nC:\\OSK\\a\n");
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.records[0], (LogRecord{"PDNAME", "DELDIR"}));
  EXPECT_EQ(log.records[1], (LogRecord{"C:\\Windows", "DELFIL"}));
  EXPECT_TRUE(log.danglingLine);
}

TEST(UninstallLog, NulEndsALineAndNothingIsReadPastTheLimit) {
  const ParsedLog log = parseUninstallLog(std::string("DELFIL\nC:\\OSK\\a\0\\..\\..\\x\n", 24));
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].argument, "C:\\OSK\\a");
  std::string huge(kMaxLogBytes + 100, 'x');
  EXPECT_TRUE(parseUninstallLog(huge).records.empty());
  EXPECT_TRUE(parseUninstallLog("").records.empty());
}

TEST(UninstallLog, OnlyAFileThatBeginsWithTheProductNameIsALog) {
  EXPECT_FALSE(parseUninstallLog("").isLog());
  EXPECT_FALSE(parseUninstallLog("Dear diary,\nDELFIL\nC:\\OSK\\a\n").isLog());
  EXPECT_FALSE(parseUninstallLog("PDNAME\n").isLog());
  EXPECT_TRUE(parseUninstallLog("PDNAME\nOSK 2.0\n").isLog());
}

TEST(UninstallLog, TitlesComeFromTheirOwnKeywords) {
  const auto titles = logTitles(parseUninstallLog("DELFIL\nx\nPDNAME\nOSK 2.0\nCPDISP\nEditor\n").records);
  EXPECT_EQ(titles.productKey, "OSK 2.0");
  EXPECT_EQ(titles.displayLine, "Editor");
  EXPECT_EQ(logTitles({{"pdname", "lower case is not the keyword"}}).productKey, "");
}

}  // namespace
}  // namespace osk::setup
