// Keystroke macro commands without windows: when plays are allowed, how repeated plays go on and stop, and the
// macro files that the macro menu lists.
#include "app/macro_commands.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

constexpr MacroEngineState kIdleWithMacro{false, false, true};

RepeatPlayFlags stopAfter(int32_t plays) {
  RepeatPlayFlags flags;
  flags.stopAfter = true;
  flags.plays = plays;
  return flags;
}

// Plays a repeated macro to its end the way the engine reports it; the number of plays made.
int playUntilDone(MacroRunState& state, int limit = 100) {
  int plays = 1;
  while (plays < limit) {
    const auto after = state.ended(MacroEnd::kFinished);
    if (!after.playAgain) {
      EXPECT_EQ(after.status, kMacroReplayedText);
      return plays;
    }
    ++plays;
  }
  return plays;
}

TEST(MacroRunState, PlaysOnlyAnIdlePresentUnlockedMacro) {
  MacroRunState state;
  EXPECT_TRUE(state.canPlay(kIdleWithMacro));
  EXPECT_FALSE(state.canPlay({true, false, true}));
  EXPECT_FALSE(state.canPlay({false, true, true}));
  EXPECT_FALSE(state.canPlay({false, false, false}));

  // After the start-up macro has played, plays are refused until a macro file is loaded.
  state.lockAfterStartupPlay();
  EXPECT_FALSE(state.canPlay(kIdleWithMacro));
  state.macroFileLoaded();
  EXPECT_TRUE(state.canPlay(kIdleWithMacro));
}

TEST(MacroRunState, StopAfterPlaysExactlyThatManyTimes) {
  for (int32_t plays : {1, 3, 7}) {
    MacroRunState state;
    ASSERT_TRUE(state.startRepeat(stopAfter(plays)));
    EXPECT_EQ(playUntilDone(state), plays);
    EXPECT_FALSE(state.repeating());
  }
}

TEST(MacroRunState, StopAfterNoPlaysPlaysNothing) {
  MacroRunState state;
  EXPECT_FALSE(state.startRepeat(stopAfter(0)));
  EXPECT_FALSE(state.repeating());
  // Without "Stop After" the count does not matter: the play repeats until something stops it.
  RepeatPlayFlags endless;
  endless.plays = 0;
  ASSERT_TRUE(state.startRepeat(endless));
  EXPECT_EQ(playUntilDone(state, 50), 50);
  EXPECT_TRUE(state.repeating());
}

TEST(MacroRunState, StopConditionsFollowTheirFlagsAndOnlyDuringARepeatedPlay) {
  RepeatPlayFlags flags;   // the defaults: find, file ends and line ends stop; closing and bookmarks do not
  MacroRunState state;
  EXPECT_FALSE(state.shouldStop(MacroStop::kFindFailed, true)) << "no repeated play runs";
  ASSERT_TRUE(state.startRepeat(flags));
  EXPECT_TRUE(state.shouldStop(MacroStop::kFindFailed, true));
  EXPECT_FALSE(state.shouldStop(MacroStop::kFindFailed, false)) << "the engine plays nothing";
  EXPECT_TRUE(state.shouldStop(MacroStop::kColumnClamped, true));
  EXPECT_TRUE(state.shouldStop(MacroStop::kLineClamped, true));
  EXPECT_FALSE(state.shouldStop(MacroStop::kLastWindowClosed, true, 0));
  EXPECT_FALSE(state.shouldStop(MacroStop::kBookmarkFailed, true));

  RepeatPlayFlags other;
  other.stopIfFindFails = false;
  other.stopAtLineStartOrEnd = false;
  other.stopAtFileStartOrEnd = false;
  other.stopWhenLastFileClosed = true;
  other.stopIfBookmarkFails = true;
  ASSERT_TRUE(state.startRepeat(other));
  EXPECT_FALSE(state.shouldStop(MacroStop::kFindFailed, true));
  EXPECT_FALSE(state.shouldStop(MacroStop::kColumnClamped, true));
  EXPECT_FALSE(state.shouldStop(MacroStop::kLineClamped, true));
  EXPECT_FALSE(state.shouldStop(MacroStop::kLastWindowClosed, true, 1)) << "a document window remains";
  EXPECT_TRUE(state.shouldStop(MacroStop::kLastWindowClosed, true, 0));
  EXPECT_TRUE(state.shouldStop(MacroStop::kBookmarkFailed, true));

  // A single play is never stopped by them.
  state.playOnce();
  EXPECT_FALSE(state.shouldStop(MacroStop::kBookmarkFailed, true));
}

TEST(MacroRunState, StopsAndAbortsEndTheRepeatWithTheirTexts) {
  MacroRunState state;
  ASSERT_TRUE(state.startRepeat(stopAfter(5)));
  EXPECT_TRUE(state.ended(MacroEnd::kFinished).playAgain);
  auto after = state.ended(MacroEnd::kStopped);
  EXPECT_FALSE(after.playAgain);
  EXPECT_EQ(after.status, kMacroRepeatStoppedText);
  EXPECT_FALSE(state.repeating());
  // The next single play ends as a single play.
  state.playOnce();
  EXPECT_EQ(state.ended(MacroEnd::kFinished).status, kMacroReplayedText);

  ASSERT_TRUE(state.startRepeat(stopAfter(5)));
  after = state.ended(MacroEnd::kAborted);
  EXPECT_EQ(after.status, kMacroAbortedText);
  EXPECT_FALSE(state.repeating());
  // A stop without a repeated play says nothing.
  EXPECT_EQ(state.ended(MacroEnd::kStopped).status, "");
  EXPECT_EQ(state.ended(MacroEnd::kRecordingEnded).status, "");
}

TEST(MacroRunState, ARefusedPlayLeavesNoRepeatBehind) {
  MacroRunState state;
  ASSERT_TRUE(state.startRepeat(stopAfter(3)));
  state.playRefused();
  EXPECT_FALSE(state.repeating());
  EXPECT_FALSE(state.shouldStop(MacroStop::kFindFailed, true));
}

TEST(MacroRunState, ACaretHeldAtAnEdgeStopsByItsDirection) {
  EXPECT_EQ(heldCaretStop(CaretMove::kDown, false), MacroStop::kLineClamped);
  EXPECT_EQ(heldCaretStop(CaretMove::kPageUp, false), MacroStop::kLineClamped);
  EXPECT_EQ(heldCaretStop(CaretMove::kRight, false), MacroStop::kColumnClamped);
  EXPECT_EQ(heldCaretStop(CaretMove::kLeft, false), MacroStop::kColumnClamped);
  EXPECT_FALSE(heldCaretStop(CaretMove::kDown, true)) << "the caret moved";
  EXPECT_FALSE(heldCaretStop(CaretMove::kHome, false)) << "Home goes somewhere fixed; it is never held";
  EXPECT_FALSE(heldCaretStop(CaretMove::kLastLine, false));
}

std::vector<std::string> macroFiles(int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) names.push_back("C:\\Macros\\m" + std::to_string(i) + ".kbd");
  return names;
}

TEST(MacroFileList, TwelveFilesGiveNineNumberedItemsAndMore) {
  MacroFileList list;
  list.build(macroFiles(12));
  const auto items = list.items();
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items[0].id, 16000u);
  EXPECT_EQ(items[0].text, "&1) C:\\Macros\\m1.kbd");
  EXPECT_EQ(items[8].id, 16008u);
  EXPECT_EQ(items[8].text, "&9) C:\\Macros\\m9.kbd");
  EXPECT_EQ(items[9].id, 16009u);
  EXPECT_EQ(items[9].text, "&More Macros...");
  EXPECT_EQ(list.fileOf(16004), "C:\\Macros\\m5.kbd");
  EXPECT_FALSE(list.fileOf(16009));
  EXPECT_FALSE(list.fileOf(15999));
}

TEST(MacroFileList, NineFilesNeedNoMore) {
  MacroFileList list;
  list.build(macroFiles(9));
  EXPECT_EQ(list.count(), 9u);
  EXPECT_FALSE(list.hasMore());
  list.build({});
  EXPECT_TRUE(list.items().empty());
}

TEST(MacroFileList, SavedFilesAreAddedOnceAndTheTenthAddsMore) {
  MacroFileList list;
  list.build(macroFiles(2));
  EXPECT_TRUE(list.add("C:\\Macros\\new.kbd"));
  EXPECT_EQ(list.items().back().text, "&3) C:\\Macros\\new.kbd");
  // Saving again under the same name, whatever its case, lists nothing new.
  EXPECT_FALSE(list.add("C:\\Macros\\new.kbd"));
  EXPECT_FALSE(list.add("c:\\macros\\M1.KBD"));
  EXPECT_EQ(list.count(), 3u);

  list.build(macroFiles(9));
  EXPECT_TRUE(list.add("C:\\Macros\\tenth.kbd"));
  EXPECT_EQ(list.count(), 9u) << "a tenth file gets no numbered item";
  EXPECT_TRUE(list.hasMore());
  EXPECT_FALSE(list.add("C:\\Macros\\eleventh.kbd"));
  EXPECT_EQ(list.items().size(), 10u);
}

TEST(MacroFileList, SearchPatternAndNamesDropTheFoldersTrailingBackslash) {
  EXPECT_EQ(macroSearchPattern("C:\\Windows"), "C:\\Windows\\*.kbd");
  EXPECT_EQ(macroSearchPattern("C:\\Macros\\"), "C:\\Macros\\*.kbd");
  EXPECT_EQ(macroSearchPattern(""), "*.kbd");
  EXPECT_EQ(macroFullName("C:\\Macros\\", "a.kbd"), "C:\\Macros\\a.kbd");
}

TEST(MacroPlayCount, DigitsOnlyAtMostSeven) {
  EXPECT_EQ(parsePlayCount("3"), 3);
  EXPECT_EQ(parsePlayCount("9999999"), 9999999);
  EXPECT_EQ(parsePlayCount("10000000"), 0);
  EXPECT_EQ(parsePlayCount(""), 0);
  EXPECT_EQ(parsePlayCount("-1"), 0);
  EXPECT_EQ(parsePlayCount("2x"), 0);
}

}  // namespace
}  // namespace osk::app
