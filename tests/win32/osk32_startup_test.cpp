// OSK32 started the way a user starts it: the frame comes up, the files named on the command line open in
// document windows, faults are reported in message boxes, and a second copy started with /i hands its files over.
// The program runs with the command line alone (no settings file named on it), as a user starts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

class OSK32Startup : public ::testing::Test {
 protected:
  // One more copy of the program in the scratch folder with these arguments, ended when the test is over.
  Program& run(const std::string& arguments) {
    copies_.push_back(std::make_unique<Program>(folder, arguments, false));
    return *copies_.back();
  }
  // Copies still running have their message boxes answered and are closed as a user closes them.
  void TearDown() override {
    for (auto& copy : copies_) {
      if (copy->hasEnded()) continue;
      for (HWND box : copy->dialogs()) PostMessageA(box, WM_COMMAND, IDOK, 0);
      copy->close();
    }
  }

  Scratch folder;

 private:
  std::vector<std::unique_ptr<Program>> copies_;
};

TEST_F(OSK32Startup, ShowsTheFrameAndTheNamedFileThenClosesCleanly) {
  const std::string file = folder.writeLines("notes.txt", 3);
  Program& editor = run("\"" + file + "\"");
  ASSERT_TRUE(editor.started());

  HWND frame = editor.waitForFrame();
  ASSERT_NE(frame, nullptr) << "no frame of class OSK32";
  EXPECT_EQ(windowText(frame), "OSK");
  EXPECT_NE(editor.mdiClient(), nullptr);

  ASSERT_TRUE(editor.waitForDocuments(1));
  HWND document = editor.documents().front();
  HWND view = Program::editorOf(document);
  ASSERT_NE(view, nullptr) << "the document window holds no editor window";
  EXPECT_EQ(ask(view, ECD_GET_LINE_COUNT), 3);
  EXPECT_NE(ask(view, ECD_IS_READ_ONLY), 0);
  EXPECT_EQ(windowText(document), " " + file);   // the first character marks unsaved changes

  EXPECT_TRUE(editor.close());
  EXPECT_EQ(editor.exitCode(), 0u);
}

TEST_F(OSK32Startup, OpensEveryNamedFileWithTheReadOnlyChoiceBeforeIt) {
  const std::string first = folder.writeLines("first.txt", 2);
  const std::string second = folder.writeLines("with blank.txt", 5);
  const std::string third = folder.writeLines("third.txt", 1);
  // Relative names are taken from the program's current folder.
  Program& editor = run("/r1 first.txt \"with blank.txt\" -r0 third.txt");
  ASSERT_TRUE(editor.started());
  ASSERT_NE(editor.waitForFrame(), nullptr);
  ASSERT_TRUE(editor.waitForDocuments(3));

  struct Expected {
    int lines;
    bool readOnly;
    std::string title;
  };
  const std::vector<Expected> expected{
      {2, true, " " + first + " (read-only)"}, {5, true, " " + second + " (read-only)"}, {1, false, " " + third}};
  // The last title is set just after its editor moves in: read them until all are there, or time runs out.
  std::vector<Expected> found;
  waitFor([&] {
    found.clear();
    for (HWND document : editor.documents()) {
      HWND view = Program::editorOf(document);
      if (view == nullptr) return false;
      found.push_back({static_cast<int>(ask(view, ECD_GET_LINE_COUNT)), ask(view, ECD_IS_READ_ONLY) == 0,
                       windowText(document)});
    }
    return std::all_of(expected.begin(), expected.end(), [&](const Expected& want) {
      return std::any_of(found.begin(), found.end(), [&](const Expected& got) { return got.title == want.title; });
    });
  });
  for (const Expected& want : expected) {
    bool seen = false;
    for (const Expected& got : found) {
      if (got.title == want.title) {
        seen = true;
        EXPECT_EQ(got.lines, want.lines) << want.title;
        EXPECT_EQ(got.readOnly, want.readOnly) << want.title;
      }
    }
    EXPECT_TRUE(seen) << "no document titled " << want.title;
  }
}

TEST_F(OSK32Startup, NameOptionTitlesTheFrame) {
  folder.writeLines("a.txt", 1);
  Program& editor = run("/name \"Work Notes\" a.txt");
  HWND frame = editor.waitForFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(windowText(frame), "Work Notes");
  EXPECT_TRUE(editor.waitForDocuments(1));
}

TEST_F(OSK32Startup, NamingOneFileTwiceOpensItOnce) {
  folder.writeLines("same.txt", 4);
  Program& editor = run("same.txt SAME.TXT");
  ASSERT_NE(editor.waitForFrame(), nullptr);
  ASSERT_TRUE(editor.waitForDocuments(1));
  // Once the program is idle it has handled its whole command line.
  editor.settle();
  EXPECT_EQ(editor.documents().size(), 1u);
}

TEST_F(OSK32Startup, MissingFileIsReportedAndOpensNothing) {
  Program& editor = run("missing.txt");
  ASSERT_NE(editor.waitForFrame(), nullptr);
  HWND box = editor.waitForDialog();
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(windowText(box), "OSK");
  EXPECT_EQ(messageBoxText(box), "Cannot find " + folder.pathOf("missing.txt") + " .");
  EXPECT_TRUE(editor.answer(box, IDOK));
  EXPECT_TRUE(editor.documents().empty());
  EXPECT_TRUE(editor.close());
}

TEST_F(OSK32Startup, InvalidOptionIsReportedAfterTheFilesBeforeItOpened) {
  folder.writeLines("before.txt", 2);
  folder.writeLines("after.txt", 2);
  Program& editor = run("before.txt /x after.txt");
  ASSERT_NE(editor.waitForFrame(), nullptr);
  HWND box = editor.waitForDialog();
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(messageBoxText(box), "Invalid option in command line");
  const std::vector<HWND> documents = editor.documents();
  ASSERT_EQ(documents.size(), 1u);
  EXPECT_EQ(windowText(documents.front()), " " + folder.pathOf("before.txt"));
  EXPECT_TRUE(editor.answer(box, IDOK));
}

TEST_F(OSK32Startup, SecondCopyWithSingleInstanceHandsItsFilesToTheFirst) {
  folder.writeLines("one.txt", 1);
  const std::string two = folder.writeLines("two.txt", 2);
  Program& first = run("one.txt");
  ASSERT_NE(first.waitForFrame(), nullptr);
  ASSERT_TRUE(first.waitForDocuments(1));

  Program& second = run("/i two.txt");
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.waitForEnd()) << "the second copy kept running";
  EXPECT_EQ(second.exitCode(), 0u);

  ASSERT_TRUE(first.waitForDocuments(2));
  bool found = false;
  for (HWND document : first.documents()) found = found || windowText(document) == " " + two;
  EXPECT_TRUE(found) << "the handed-over file is not open in the first copy";
}

}  // namespace
}  // namespace osk::drive
