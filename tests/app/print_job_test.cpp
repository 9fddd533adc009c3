#include "app/print_job.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace osk::app {
namespace {

TEST(PrintScope, TheQuestionIsOnlyAskedAboutAMark) {
  EXPECT_EQ(printScope(false, MarkAnswer::kCancel), PrintScope::kDocument);
  EXPECT_EQ(printScope(false, MarkAnswer::kYes), PrintScope::kDocument);
  EXPECT_EQ(printScope(true, MarkAnswer::kYes), PrintScope::kSelection);
  EXPECT_EQ(printScope(true, MarkAnswer::kNo), PrintScope::kDocument);
  EXPECT_EQ(printScope(true, MarkAnswer::kCancel), PrintScope::kNothing);
}

TEST(PrintDocumentName, TheFileItselfElseTheTitleWithoutItsDecorations) {
  EXPECT_EQ(printDocumentName("C:\\src\\main.c", "*C:\\src\\main.c (read-only)"), "C:\\src\\main.c");
  // Untitled documents: the star of unsaved changes, the leading blank and the read-only note are not the name.
  EXPECT_EQ(printDocumentName("", "*Untitled: 2"), "Untitled: 2");
  EXPECT_EQ(printDocumentName("", " Untitled: 1 (read-only)"), "Untitled: 1");
  EXPECT_EQ(printDocumentName("", "Notes"), "Notes");
  EXPECT_EQ(printDocumentName("", ""), "");
  // A star inside the name stays.
  EXPECT_EQ(printDocumentName("", " a*b"), "a*b");
}

TEST(PrintDocumentName, NeverLongerThanTheLimit) {
  const std::string longTitle = "*" + std::string(400, 'x');
  EXPECT_EQ(printDocumentName("", longTitle), std::string(kPrintNameLimit, 'x'));
  EXPECT_EQ(printDocumentName(std::string(300, 'p'), "t").size(), kPrintNameLimit);
}

TEST(PrintDate, PrintTakesTheFileTimePreviewOnlyWhenUnchanged) {
  const int64_t file = 1'600'000'000, now = 1'700'000'000;
  EXPECT_EQ(printDate({.forPreview = false, .modified = true, .fileTime = file, .now = now}), file);
  EXPECT_EQ(printDate({.forPreview = false, .modified = false, .fileTime = file, .now = now}), file);
  EXPECT_EQ(printDate({.forPreview = true, .modified = false, .fileTime = file, .now = now}), file);
  EXPECT_EQ(printDate({.forPreview = true, .modified = true, .fileTime = file, .now = now}), now);
  // No readable file: the current time, for both.
  EXPECT_EQ(printDate({.forPreview = false, .modified = false, .fileTime = std::nullopt, .now = now}), now);
  EXPECT_EQ(printDate({.forPreview = true, .modified = false, .fileTime = std::nullopt, .now = now}), now);
}

TEST(StreamOutcome, EscIsACancelEverythingElseAFailure) {
  EXPECT_EQ(streamOutcome(0), StreamOutcome::kWritten);
  EXPECT_EQ(streamOutcome(-34), StreamOutcome::kCancelled);
  EXPECT_EQ(streamOutcome(-33), StreamOutcome::kFailed);
  EXPECT_EQ(streamOutcome(-1), StreamOutcome::kFailed);
  EXPECT_EQ(streamOutcome(1), StreamOutcome::kFailed);
}

TEST(TemporaryPrintFile, SkipsTakenNamesInTheDirectory) {
  std::set<std::string> taken{"C:\\Temp\\prn0010.tmp", "C:\\Temp\\prn0011.tmp"};
  std::vector<std::string> tried;
  const std::string name = makeTemporaryPrintFile("C:\\Temp", 0x10, [&](const std::string& n) {
    tried.push_back(n);
    return taken.insert(n).second ? CreateResult::kCreated : CreateResult::kExists;
  });
  EXPECT_EQ(name, "C:\\Temp\\prn0012.tmp");
  EXPECT_EQ(tried.size(), 3u);
  // A directory given with its separator gets no second one.
  EXPECT_EQ(makeTemporaryPrintFile("C:\\Temp\\", 0xABCD, [](const std::string&) { return CreateResult::kCreated; }),
            "C:\\Temp\\prnABCD.tmp");
}

TEST(TemporaryPrintFile, StopsWhenNothingCanBeMadeAndWrapsAroundPastTheLastNumber) {
  int calls = 0;
  EXPECT_EQ(makeTemporaryPrintFile("X:\\gone", 5, [&](const std::string&) {
    ++calls;
    return CreateResult::kFailed;
  }), "");
  EXPECT_EQ(calls, 1);

  // From the last number on, the next tried is 1: 0 is never a name.
  std::vector<std::string> tried;
  const std::string name = makeTemporaryPrintFile("T", 0xFFFF, [&](const std::string& n) {
    tried.push_back(n);
    return tried.size() < 2 ? CreateResult::kExists : CreateResult::kCreated;
  });
  EXPECT_EQ(name, "T\\prn0001.tmp");

  // Every number taken: the search ends.
  calls = 0;
  EXPECT_EQ(makeTemporaryPrintFile("T", 7, [&](const std::string&) {
    ++calls;
    return CreateResult::kExists;
  }), "");
  EXPECT_EQ(calls, 0xFFFF);
}

TEST(PreviewCommands, NamesMapToTheirOperationsCaseSensitively) {
  EXPECT_EQ(previewOperation("PPNextPage"), 1);
  EXPECT_EQ(previewOperation("PPPrevPage"), 2);
  EXPECT_EQ(previewOperation("PPZoomIn"), 3);
  EXPECT_EQ(previewOperation("PPZoomOut"), 4);
  EXPECT_EQ(previewOperation("PPSinglePage"), 5);
  EXPECT_EQ(previewOperation("PPDoublePage"), 6);
  EXPECT_EQ(previewOperation("PPClose"), std::nullopt);
  EXPECT_EQ(previewOperation("ppnextpage"), std::nullopt);
}

TEST(PreviewCommands, EnablingAnswersGreyOrCheck) {
  for (int32_t op = 1; op <= 6; ++op) {
    EXPECT_EQ(previewTestAnswer(op, false, true), 1) << op;   // no preview: greyed whatever the services say
    EXPECT_EQ(previewTestAnswer(op, true, true), 0) << op;
  }
  for (int32_t op = 1; op <= 4; ++op) EXPECT_EQ(previewTestAnswer(op, true, false), 1) << op;
  // One page shown: "One Page" cannot be chosen again and is the checked one.
  EXPECT_EQ(previewTestAnswer(5, true, false), 2);
  EXPECT_EQ(previewTestAnswer(6, true, false), 2);
}

}  // namespace
}  // namespace osk::app
