// The status bar as the user reads it: the caret's line and column, the typing mode of the active document (a
// read-only one shows "R/O") and the progress gauge over the message field while a search runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario_helpers.h"

namespace osk::drive {
namespace {

constexpr int kFindText = 7001;
constexpr int kFindNext = 7010;

// The status bar's question for other programs: the fields it shows as numbers.
constexpr UINT kStatusQuery = 2029;
enum : WPARAM { kLine = 0, kColumn = 1, kMode = 2, kGaugePercent = 3 };
enum : LRESULT { kNoMode = 0, kInsert = 1, kOverwrite = 2, kReadOnly = 3 };

LRESULT shown(const Program& program, WPARAM field) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(program.statusBar(), kStatusQuery, field, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

TEST(OSK32Status, LineColumnAndModeFollowTheActiveDocument) {
  Scratch folder;
  folder.writeLines("a.txt", 20);
  folder.write("r.txt", "read only\r\n");
  Program program(folder, "a.txt");
  ASSERT_TRUE(program.waitForDocuments(1));
  EXPECT_TRUE(waitFor([&] { return shown(program, kLine) == 1 && shown(program, kColumn) == 1; }, 5s));
  EXPECT_EQ(shown(program, kMode), kInsert);

  program.press({{VK_DOWN}, {VK_DOWN}, {VK_DOWN}, {VK_RIGHT}, {VK_RIGHT}});
  EXPECT_TRUE(waitFor([&] { return shown(program, kLine) == 4 && shown(program, kColumn) == 3; }, 5s))
      << shown(program, kLine) << ":" << shown(program, kColumn);

  program.command(numberOf("InsertModeToggle"));
  EXPECT_TRUE(waitFor([&] { return shown(program, kMode) == kOverwrite; }, 5s)) << shown(program, kMode);
  program.command(numberOf("InsertModeToggle"));
  EXPECT_TRUE(waitFor([&] { return shown(program, kMode) == kInsert; }, 5s)) << shown(program, kMode);

  // A second document opened read-only becomes the active one: R/O and its own caret.
  program.close();
  Program readOnly(folder, "/r1 r.txt");
  ASSERT_TRUE(readOnly.waitForDocuments(1));
  EXPECT_TRUE(waitFor([&] { return shown(readOnly, kMode) == kReadOnly; }, 5s)) << shown(readOnly, kMode);
  EXPECT_EQ(readOnly.activeTitle(), " " + folder.pathOf("r.txt") + " (read-only)");
  EXPECT_EQ(shown(readOnly, kLine), 1);

  // Without a document all three fields are blank.
  readOnly.command(numberOf("CloseFile"));
  EXPECT_TRUE(waitFor([&] { return readOnly.documents().empty(); }, 5s));
  EXPECT_TRUE(waitFor([&] { return shown(readOnly, kMode) == kNoMode; }, 5s)) << shown(readOnly, kMode);
  EXPECT_EQ(shown(readOnly, kLine), 0);
  readOnly.kill();
}

TEST(OSK32Status, TheGaugeCoversTheMessageFieldWhileASearchRuns) {
  Scratch folder;
  folder.write("s.txt", "key\r\n key\r\nno\r\n   key\r\n");
  Program program(folder, "s.txt");
  ASSERT_TRUE(program.waitForDocuments(1));
  HWND bar = program.statusBar();
  EXPECT_TRUE(childrenOfClass(bar, "gauge").empty());
  EXPECT_EQ(shown(program, kGaugePercent), -1);

  // A search within the first two lines: once they hold no more matches, the search asks whether to go on, and
  // its gauge stays up while it asks.
  program.press({{VK_DOWN, true}, {VK_DOWN, true}});
  HWND dialog = openDialog(program, "Find", "Find");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, kFindText, "key");
  for (int i = 0; i < 3; ++i) click(dialog, kFindNext);
  HWND box = program.waitForDialog("OSK", 10s);
  ASSERT_NE(box, nullptr);
  const std::string message = program.status();

  const std::vector<HWND> gauges = childrenOfClass(bar, "gauge");
  ASSERT_EQ(gauges.size(), 1u);
  EXPECT_EQ(windowText(gauges[0]), "Searching (Esc to abort)");
  const LRESULT percent = shown(program, kGaugePercent);
  EXPECT_TRUE(percent >= 0 && percent <= 100) << percent;
  EXPECT_EQ(program.status(), message) << "the caption is the gauge's, not the status message";
  // It covers the message field: inside the bar, right of the line, column and mode fields.
  RECT gauge{}, field{};
  GetWindowRect(gauges[0], &gauge);
  GetWindowRect(bar, &field);
  EXPECT_GT(gauge.left, field.left + 100);
  EXPECT_LT(gauge.right, field.right);
  EXPECT_GT(gauge.top, field.top);
  EXPECT_LT(gauge.bottom, field.bottom);

  // The search ends: the gauge goes.
  ASSERT_TRUE(program.answer(box, IDNO));
  EXPECT_TRUE(waitFor([&] { return childrenOfClass(bar, "gauge").empty(); }, 5s));
  EXPECT_EQ(shown(program, kGaugePercent), -1);
  program.kill();
}

}  // namespace
}  // namespace osk::drive
