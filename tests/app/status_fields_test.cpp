#include "app/status_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace osk::app {
namespace {

StatusFields at(uint32_t line, uint32_t column, bool insert = true, bool readOnly = false) {
  return StatusFields{true, line, column, insert, readOnly};
}

TEST(StatusFieldTexts, ShowLineColumnAndModeOnlyWithADocument) {
  EXPECT_EQ(lineFieldText(at(12, 7)), "Line: 12");
  EXPECT_EQ(columnFieldText(at(12, 7)), "Col: 7");
  EXPECT_EQ(modeFieldText(at(1, 1)), "INS");
  EXPECT_EQ(modeFieldText(at(1, 1, false)), "OVR");
  // Read-only wins over either typing mode.
  EXPECT_EQ(modeFieldText(at(1, 1, true, true)), "R/O");
  EXPECT_EQ(modeFieldText(at(1, 1, false, true)), "R/O");
  // Line numbers past the signed range stay positive.
  EXPECT_EQ(lineFieldText(at(4000000000u, 1)), "Line: 4000000000");

  const StatusFields none{false, 12, 7, false, true};
  EXPECT_EQ(lineFieldText(none), "");
  EXPECT_EQ(columnFieldText(none), "");
  EXPECT_EQ(modeFieldText(none), "");
}

TEST(StatusFieldRefresh, RedrawsOnlyTheFieldsWhoseTextChanges) {
  EXPECT_EQ(fieldsToRedraw(at(3, 4), at(3, 4)), 0);
  EXPECT_EQ(fieldsToRedraw(at(3, 4), at(3, 5)), kColumnField);
  EXPECT_EQ(fieldsToRedraw(at(3, 4), at(9, 4)), kLineField);
  EXPECT_EQ(fieldsToRedraw(at(3, 4), at(3, 4, false)), kModeField);
  EXPECT_EQ(fieldsToRedraw(at(3, 4), at(3, 4, true, true)), kModeField);
  // Insert mode flipping under a read-only document shows nothing new.
  EXPECT_EQ(fieldsToRedraw(at(3, 4, true, true), at(3, 4, false, true)), 0);
  // The last document closing blanks all three; the first opening fills them.
  EXPECT_EQ(fieldsToRedraw(at(3, 4), StatusFields{}), kLineField | kColumnField | kModeField);
  EXPECT_EQ(fieldsToRedraw(StatusFields{}, at(1, 1)), kLineField | kColumnField | kModeField);
}

TEST(StatusFieldLayout, FieldsSizedForTheirWidestTextsFiveApartAndTheMessageTakesTheRest) {
  // Seven pixels a character.
  const TextWidth width = [](std::string_view text) { return static_cast<int>(text.size()) * 7; };
  const StatusLayout l = layOutStatusFields(640, width);
  EXPECT_EQ(l.line, (FieldSpan{5, 5 + 14 * 7 + 11}));
  EXPECT_EQ(l.column.left, l.line.right + 5);
  EXPECT_EQ(l.column.right - l.column.left, 9 * 7 + 6);
  EXPECT_EQ(l.mode.left, l.column.right + 5);
  EXPECT_EQ(l.mode.right - l.mode.left, 3 * 7 + 6);
  EXPECT_EQ(l.message, (FieldSpan{l.mode.right + 5, 635}));

  // Too narrow for the message: it is empty, not reversed.
  const StatusLayout narrow = layOutStatusFields(100, width);
  EXPECT_EQ(narrow.message.left, narrow.message.right);
}

TEST(StatusFont, HeightFollowsTheScreenAndTheBarFitsTheTallerOfTextAndFont) {
  EXPECT_EQ(statusFontHeight(1080), 15);
  EXPECT_EQ(statusFontHeight(768), 15);
  EXPECT_EQ(statusFontHeight(767), 13);
  EXPECT_EQ(statusFontHeight(600), 13);
  EXPECT_EQ(statusFontHeight(599), 11);
  EXPECT_EQ(statusBarHeightFor(18, 15), 26);
  EXPECT_EQ(statusBarHeightFor(12, 15), 23);
}

TEST(GaugeProgress, CountsFromTheStartCapsAtAHundredAndRedrawsOnlyOnChange) {
  // A reflow of lines 1000 to 1099 stepped with line numbers.
  GaugeProgress lines(1000);
  lines.setCount(100);
  EXPECT_EQ(lines.shown(), GaugeProgress::kNothingDrawn);
  EXPECT_TRUE(lines.refresh());   // the first drawing
  EXPECT_EQ(lines.shown(), 0);
  EXPECT_FALSE(lines.update(1000));
  EXPECT_TRUE(lines.update(1042));
  EXPECT_EQ(lines.percent(), 42u);
  EXPECT_FALSE(lines.update(1042));   // same share: no drawing
  EXPECT_TRUE(lines.update(1100));
  EXPECT_EQ(lines.percent(), 100u);
  EXPECT_FALSE(lines.update(5000));   // beyond the end stays at 100
  EXPECT_TRUE(lines.update(10));      // before the start counts as nothing done
  EXPECT_EQ(lines.percent(), 0u);

  // A 3 GB load counted in bytes: the engine's 32-bit values are unsigned and nothing wraps.
  GaugeProgress bytes(0);
  bytes.setCount(3000000000u);
  bytes.update(1500000000u);
  EXPECT_EQ(bytes.percent(), 50u);
  bytes.update(2999999999u);
  EXPECT_EQ(bytes.percent(), 99u);

  // A start near the top plus a large count ends past 32 bits.
  GaugeProgress high(4000000000u);
  high.setCount(1000000000u);
  EXPECT_EQ(high.end(), 5000000000ull);
  high.update(4100000000u);
  EXPECT_EQ(high.percent(), 10u);

  // Nothing to count: all done at once.
  GaugeProgress empty(7);
  EXPECT_EQ(empty.percent(), 100u);
  EXPECT_TRUE(empty.refresh());
  EXPECT_FALSE(empty.refresh());
}

TEST(GaugeText, PercentAloneOrAfterTheCaption) {
  EXPECT_EQ(gaugeText("", 0), "0%");
  EXPECT_EQ(gaugeText("Saving (Esc to Abort)", 42), "Saving (Esc to Abort) 42%");
  EXPECT_EQ(gaugeText("Reading file (Esc to abort)", 100), "Reading file (Esc to abort) 100%");
}

}  // namespace
}  // namespace osk::app
