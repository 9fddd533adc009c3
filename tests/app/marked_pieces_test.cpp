// The marked text that CopyToFile writes, for each kind of mark.
#include "app/file_transfer.h"
#include "engine/view_fixture.h"

namespace osk::test {
namespace {

using app::TextPiece;

class MarkedPiecesTest : public ViewTest {};

TEST_F(MarkedPiecesTest, StreamLineAndColumnMarks) {
  showing("alpha beta\n\tgamma\ndelta\n");
  EXPECT_TRUE(app::markedPieces().empty());

  ASSERT_EQ(AnchorMark(1, 1, 7), 1);
  UpdateMark(3, 3);
  EXPECT_EQ(app::markedPieces(),
            (std::vector<TextPiece>{{"beta", true}, {"\tgamma", true}, {"de", false}}));

  UnMark();
  AnchorMark(2, 2, 4);
  UpdateMark(3, 1);
  EXPECT_EQ(app::markedPieces(), (std::vector<TextPiece>{{"\tgamma", true}, {"delta", true}}));

  // Cells 2 to 3 of each line: the tab covers cells 1 to 8 of line 2, so that line gives nothing.
  UnMark();
  AnchorMark(3, 1, 2);
  UpdateMark(3, 4);
  EXPECT_EQ(app::markedPieces(),
            (std::vector<TextPiece>{{"lp", true}, {"", true}, {"el", true}}));
}

TEST_F(MarkedPiecesTest, TheOpenDialogStartsWithAMarkedNameOnOneLine) {
  showing("include \"  notes.txt\t\" here\nsecond line\n" + std::string(120, 'n') + "\n");
  EXPECT_EQ(app::markedOpenName(), "");
  AnchorMark(1, 1, 10);
  UpdateMark(1, 22);
  EXPECT_EQ(app::markedOpenName(), "notes.txt");
  // Across two lines, as a line mark, blank only, or too long: nothing.
  UpdateMark(2, 3);
  EXPECT_EQ(app::markedOpenName(), "");
  UnMark();
  AnchorMark(2, 1, 1);
  EXPECT_EQ(app::markedOpenName(), "");
  UnMark();
  AnchorMark(1, 1, 10);
  UpdateMark(1, 12);
  EXPECT_EQ(app::markedOpenName(), "");
  UnMark();
  AnchorMark(1, 3, 1);
  UpdateMark(3, 100);
  EXPECT_EQ(app::markedOpenName(), "");
  UnMark();
  AnchorMark(1, 3, 1);
  UpdateMark(3, 99);
  EXPECT_EQ(app::markedOpenName(), std::string(98, 'n'));
}

}  // namespace
}  // namespace osk::test
