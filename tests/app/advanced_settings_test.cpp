#include "app/advanced_settings.h"

#include <gtest/gtest.h>

#include <vector>

namespace osk::app {
namespace {

std::vector<int32_t> words(const EcdSystemOptions& o) { return std::vector<int32_t>(o.word, o.word + 12); }

// The engine reads the words by position: syntax colouring, DC scrolling, an unused word, Ctrl+Z on load and on
// save, finalise on save, strip line-end blanks, tab to last line, read-only files, char and line spacing, line
// numbers.
TEST(AdvancedSettings, DefaultsReachTheEngineInItsOrder) {
  EXPECT_EQ(words(systemOptions({})), (std::vector<int32_t>{1, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0}));
}

TEST(AdvancedSettings, EachSettingMovesOnlyItsOwnWordAndBlanksAreKeptByTheInverse) {
  AdvancedSettings s;
  s.applySyntaxHighlight = false;
  s.removeCtrlZOnLoad = true;
  s.allowEolSpace = true;
  s.openReadOnlyAsReadOnly = false;
  s.extraCharSpacing = 3;
  s.extraLineSpacing = 5;
  s.showLineNumbers = true;
  EXPECT_EQ(words(systemOptions(s)), (std::vector<int32_t>{0, 1, 0, 1, 0, 0, 0, 0, 0, 3, 5, 1}));
  AdvancedSettings t;
  t.useDcScrolling = false;
  t.addCtrlZOnSave = true;
  t.finaliseOnSave = true;
  t.autoTabToLastLine = true;
  EXPECT_EQ(words(systemOptions(t)), (std::vector<int32_t>{1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace osk::app
