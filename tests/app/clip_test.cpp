// Copy, cut and paste of stream, line and column text, the ten clip buffers over a clipboard of the test's own,
// and where a moved drag lands, on editor windows of the engine.
#include "app/clip_buffers.h"
#include "app/clip_drag.h"
#include "app/clip_text.h"

#include <cstdlib>

#include "app/clip_block.h"
#include "engine/lang/global_text_block.h"
#include "engine/view_fixture.h"

namespace osk::test {
namespace {

using app::ClipKind;

std::string textOf(HGLOBALTEXT block) { return osk::GlobalTextContents(block); }

HGLOBALTEXT blockOf(const std::string& text) { return AddGlobalLine(nullptr, text.c_str(), 2); }

class ClipTest : public ViewTest {
 protected:
  void TearDown() override {
    for (HGLOBALTEXT b : owned_) app::releaseBlock(b);
    ViewTest::TearDown();
  }
  HGLOBALTEXT own(HGLOBALTEXT b) {
    owned_.push_back(b);
    return b;
  }
  void mark(int32_t type, int32_t l1, int32_t c1, int32_t l2, int32_t c2) {
    AnchorMark(type, l1, c1);
    UpdateMark(l2, c2);
  }
  std::string all() {
    std::string s;
    for (int32_t l = 1; l <= GetLineCount(); ++l) s += line(l) + "\n";
    return s;
  }
  std::pair<int32_t, int32_t> caret() {
    int32_t l = 0, c = 0;
    GetCaretCol(&l, &c);
    return {l, c};
  }
  app::TakenText take(bool remove = false) {
    app::TakenText t = app::takeMarkedText(remove, "Copying");
    own(t.block);
    return t;
  }

 private:
  std::vector<HGLOBALTEXT> owned_;
};

TEST_F(ClipTest, EachMarkKindIsTakenAsItsPieces) {
  showing("alpha\nbeta\n\tgamma\n");
  mark(1, 1, 3, 2, 3);
  app::TakenText t = take();
  EXPECT_EQ(textOf(t.block), "pha\r\nbe");
  EXPECT_EQ(t.kind, ClipKind::kStream);
  EXPECT_TRUE(QueryMark());   // copying keeps the mark

  mark(2, 2, 0, 3, 0);
  t = take();
  EXPECT_EQ(textOf(t.block), "beta\r\n\tgamma\r\n");
  EXPECT_EQ(t.kind, ClipKind::kLine);

  // A column mark takes the same cells on every line, tabs expanded, and short lines give what they have.
  mark(3, 1, 2, 3, ColFromCell(3, 11));
  t = take();
  EXPECT_EQ(textOf(t.block), "lpha\r\neta\r\n       ga");
  EXPECT_EQ(t.kind, ClipKind::kColumn);
}

TEST_F(ClipTest, CutRemovesTheMarkOnceItIsTakenAndAnEmptyWalkTakesNothing) {
  showing("one\ntwo\nthree\n");
  mark(1, 1, 2, 3, 3);
  app::TakenText t = take(true);
  EXPECT_EQ(textOf(t.block), "ne\r\ntwo\r\nth");
  EXPECT_EQ(all(), "oree\n");
  EXPECT_FALSE(QueryMark());
  EXPECT_EQ(caret(), std::make_pair(1, 2));
  t = take(true);
  EXPECT_EQ(t.block, nullptr);   // no mark: nothing to take, the caller beeps
}

TEST_F(ClipTest, AppendingKeepsTheBaseAndGivesPlainText) {
  showing("abc\ndef\n");
  HGLOBALTEXT base = own(blockOf("first\r\n"));
  mark(2, 2, 0, 2, 0);
  app::TakenText t = app::appendMarkedText(base);
  own(t.block);
  EXPECT_EQ(textOf(t.block), "first\r\ndef\r\n");
  EXPECT_EQ(t.kind, ClipKind::kStream);
  EXPECT_EQ(textOf(base), "first\r\n");
}

TEST_F(ClipTest, StreamTextBreaksTheCaretLineAndKeepsItsRest) {
  showing("hello world\nend\n");
  SetCaretCol(1, 7);
  HGLOBALTEXT b = own(blockOf("big\r\nnew\r\nbright "));
  ASSERT_EQ(app::pasteText(b, ClipKind::kStream, {}), app::PasteResult::kPasted);
  EXPECT_EQ(all(), "hello big\nnew\nbright world\nend\n");
  EXPECT_EQ(caret(), std::make_pair(3, 8));   // after the pasted text
  EXPECT_EQ(UndoOp(nullptr), 1);              // one step
  EXPECT_EQ(all(), "hello world\nend\n");

  app::PasteOptions back;
  back.caretAfterPaste = false;
  SetCaretCol(2, 1);
  ASSERT_EQ(app::pasteText(b, ClipKind::kStream, back), app::PasteResult::kPasted);
  EXPECT_EQ(all(), "hello world\nbig\nnew\nbright end\n");
  EXPECT_EQ(caret(), std::make_pair(2, 1));
}

TEST_F(ClipTest, LineTextPastedMidLineGoesBeforeTheCaretLine) {
  showing("aaa\nbbb\n");
  mark(2, 2, 0, 2, 0);
  app::TakenText t = take();
  UnMark();
  SetCaretCol(1, 2);
  ASSERT_EQ(app::pasteText(t.block, t.kind, {}), app::PasteResult::kPasted);
  EXPECT_EQ(all(), "bbb\naaa\nbbb\n");
  EXPECT_EQ(caret(), std::make_pair(2, 1));
}

TEST_F(ClipTest, ColumnTextLandsAtTheCaretCellExtendingShortAndMissingLines) {
  showing("ab\tX\nabcdefghijklmnop\nz\n");
  mark(3, 1, 1, 2, 3);   // cells 1-2 of lines 1 and 2
  app::TakenText t = take();
  ASSERT_EQ(textOf(t.block), "ab\r\nab");
  UnMark();
  SetCaretCol(2, 12);
  ASSERT_EQ(app::pasteText(t.block, t.kind, {}), app::PasteResult::kPasted);
  EXPECT_EQ(line(2), "abcdefghijkablmnop");
  EXPECT_EQ(line(3), "z          ab");
  // On the last line the column continues on a new line, and a tab before the cell is written expanded.
  SetCaretCol(3, 2);
  HGLOBALTEXT three = own(blockOf("1\r\n2\r\n3"));
  SetCaretCell(1, 10);
  ASSERT_EQ(app::pasteText(three, ClipKind::kColumn, {}), app::PasteResult::kPasted);
  EXPECT_EQ(line(1), "ab      X1");   // the tab is written expanded
  EXPECT_EQ(line(2), "abcdefghi2jkablmnop");
  EXPECT_EQ(line(3), "z        3  ab");
  EXPECT_EQ(GetLineCount(), 3);
  SetCaretCell(3, 1);
  ASSERT_EQ(app::pasteText(three, ClipKind::kColumn, {}), app::PasteResult::kPasted);
  ASSERT_EQ(GetLineCount(), 5);
  EXPECT_EQ(line(5), "3");
}

TEST_F(ClipTest, PasteReplacesTheMarkAndFillsAnEmptyBuffer) {
  showing("keep XXX keep\n");
  mark(1, 1, 6, 1, 9);
  HGLOBALTEXT b = own(blockOf("new"));
  ASSERT_EQ(app::pasteText(b, ClipKind::kStream, {}), app::PasteResult::kPasted);
  EXPECT_EQ(all(), "keep new keep\n");

  DeleteLines(1, GetLineCount());
  ASSERT_EQ(GetLineCount(), 0);
  ASSERT_EQ(app::pasteText(b, ClipKind::kStream, {}), app::PasteResult::kPasted);
  EXPECT_EQ(all(), "new\n");
  HGLOBALTEXT empty = own(AddGlobalLine(nullptr, nullptr, 2));
  EXPECT_EQ(app::pasteText(empty, ClipKind::kStream, {}), app::PasteResult::kNothing);
}

TEST_F(ClipTest, AReadOnlyDocumentRefusesAPasteAndTooLongLinesAreReported) {
  showing("x\n");
  HGLOBALTEXT b = own(blockOf(std::string(1030, 'y')));
  // The block reads as a piece of 1024 and one of 6: the first does not fit beside "x" and is cut.
  SetCaretCol(1, 2);
  EXPECT_EQ(app::pasteText(b, ClipKind::kStream, {}), app::PasteResult::kTooLong);
  EXPECT_EQ(GetLineLen(1), 1024);

  const std::string file = write("ro.txt", "text\n");
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open(file, ECD_OPEN_READ | ECD_OPEN_READ_ONLY, &h, 100, 8), 0);
  FakeRecord& r = newWindow();
  r.attach(buffer(h), ECD_OPEN_VSCROLL);
  SetCurEdWindow(r.window());
  EXPECT_EQ(app::pasteText(b, ClipKind::kStream, {}), app::PasteResult::kRefused);
  EXPECT_EQ(line(1), "text");
}

int32_t OSK_CALL escAtOnce(int32_t) { return 1; }
std::string gCaption;
int32_t OSK_CALL gaugeStart(int32_t, int32_t, const char* caption) {
  gCaption = caption != nullptr ? caption : "";
  return 0;
}
int32_t OSK_CALL gaugeEnd() { return 0; }

TEST_F(ClipTest, EscStopsALongPasteAndWhatWasPastedIsOneUndoStep) {
  showing("tail\n");
  HGLOBALTEXT b = nullptr;
  for (int i = 0; i < 400; ++i) b = AddGlobalLine(b, "a line of twenty one", 1);   // over 4096 bytes
  own(b);
  Engine::instance().gauge = {gaugeStart, escAtOnce, gaugeEnd};
  SetCaretCol(1, 1);
  EXPECT_EQ(app::pasteText(b, ClipKind::kLine, {}), app::PasteResult::kAborted);
  EXPECT_EQ(gCaption, "Pasting (Esc to abort)");
  EXPECT_EQ(GetLineCount(), 26);   // stopped at the first step, after 25 lines
  EXPECT_EQ(line(26), "tail");
  EXPECT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(all(), "tail\n");

  // A walk over more than 100 lines stops too, and a cut then removes nothing.
  for (int i = 0; i < 150; ++i) InsertLine(0, "x");
  mark(2, 1, 0, 150, 0);
  app::TakenText t = take(true);
  EXPECT_TRUE(t.aborted);
  EXPECT_EQ(gCaption, "Copying (Esc to abort)");
  EXPECT_EQ(t.block, nullptr);
  EXPECT_EQ(GetLineCount(), 151);
}

// A clipboard of the test's own; it owns what it is given, as the system's does.
class FakeClipboard : public app::ClipboardPort {
 public:
  ~FakeClipboard() override { app::releaseBlock(held); }
  bool open() override { return !busy; }
  void close() override {}
  HGLOBALTEXT text(ClipKind& k) override {
    k = kind;
    return held;
  }
  void empty() override {
    app::releaseBlock(held);
    held = nullptr;
  }
  bool put(HGLOBALTEXT block, ClipKind k) override {
    if (refuse) return false;
    app::releaseBlock(held);
    held = block;
    kind = k;
    return true;
  }
  HGLOBALTEXT held = nullptr;
  ClipKind kind = ClipKind::kStream;
  bool busy = false, refuse = false;
};

TEST_F(ClipTest, ChoosingBufferTwoCopyingAndBackToZeroRestoresBoth) {
  FakeClipboard clipboard;
  clipboard.put(blockOf("old text"), ClipKind::kStream);
  app::ClipBuffers buffers;
  ASSERT_EQ(buffers.select(2, clipboard), app::ClipSelect::kSelected);
  EXPECT_EQ(clipboard.held, nullptr);   // buffer 2 was empty
  EXPECT_EQ(textOf(buffers.slot(0).text), "old text");

  clipboard.put(blockOf("a line\r\n"), ClipKind::kLine);   // a copy into buffer 2
  ASSERT_EQ(buffers.select(0, clipboard), app::ClipSelect::kSelected);
  EXPECT_EQ(textOf(clipboard.held), "old text");
  EXPECT_EQ(clipboard.kind, ClipKind::kStream);
  EXPECT_EQ(buffers.slot(0).text, nullptr);   // the clipboard owns it now
  EXPECT_EQ(textOf(buffers.slot(2).text), "a line\r\n");
  EXPECT_EQ(buffers.slot(2).kind, ClipKind::kLine);
  EXPECT_EQ(buffers.current(), 0);

  EXPECT_EQ(buffers.select(10, clipboard), app::ClipSelect::kBadNumber);
  EXPECT_EQ(buffers.select(0, clipboard), app::ClipSelect::kUnchanged);
  EXPECT_EQ(buffers.current(), 0);
}

// Blocks of the test's own that can run out of memory on demand.
bool gNoMemory = false;
HGLOBALTEXT testAllocate(size_t bytes) {
  if (gNoMemory) return nullptr;
  auto* b = static_cast<size_t*>(std::calloc(1, sizeof(size_t) * 2 + bytes));
  b[0] = bytes;
  return b;
}
HGLOBALTEXT testReallocate(HGLOBALTEXT old, size_t bytes) {
  if (gNoMemory) return nullptr;
  auto* b = static_cast<size_t*>(std::realloc(old, sizeof(size_t) * 2 + bytes));
  b[0] = bytes;
  return b;
}
void testRelease(HGLOBALTEXT b) { std::free(b); }
size_t testSize(HGLOBALTEXT b) { return static_cast<size_t*>(b)[0]; }
char* testLock(HGLOBALTEXT b) { return reinterpret_cast<char*>(static_cast<size_t*>(b) + 2); }
void testUnlock(HGLOBALTEXT) {}

TEST_F(ClipTest, TheClipboardTextSurvivesAFailedSelection) {
  const osk::GlobalMemory memory{testAllocate, testReallocate, testRelease, testSize, testLock, testUnlock};
  osk::SetGlobalMemory(&memory);
  {
  FakeClipboard clipboard;
  clipboard.put(blockOf("precious"), ClipKind::kColumn);
  app::ClipBuffers buffers;
  clipboard.busy = true;
  EXPECT_EQ(buffers.select(3, clipboard), app::ClipSelect::kClipboardBusy);
  clipboard.busy = false;

  // No memory for the copy: nothing moves.
  gNoMemory = true;
  const app::ClipSelect noMemory = buffers.select(3, clipboard);
  gNoMemory = false;
  EXPECT_EQ(noMemory, app::ClipSelect::kOutOfMemory);
  EXPECT_EQ(buffers.current(), 0);
  EXPECT_EQ(textOf(clipboard.held), "precious");

  // A chosen buffer the clipboard will not take: the old text goes back and the buffer keeps its own.
  ASSERT_EQ(buffers.select(3, clipboard), app::ClipSelect::kSelected);
  clipboard.put(blockOf("three"), ClipKind::kStream);
  ASSERT_EQ(buffers.select(0, clipboard), app::ClipSelect::kSelected);
  EXPECT_EQ(clipboard.kind, ClipKind::kColumn);
  clipboard.refuse = true;
  EXPECT_EQ(buffers.select(3, clipboard), app::ClipSelect::kRefused);
  clipboard.refuse = false;
  EXPECT_EQ(buffers.current(), 0);
  EXPECT_EQ(textOf(buffers.slot(3).text), "three");
  // Refused on its way back too, the old text waits in its buffer's slot and returns with that buffer.
  EXPECT_EQ(textOf(buffers.slot(0).text), "precious");
  ASSERT_EQ(buffers.select(3, clipboard), app::ClipSelect::kSelected);
  ASSERT_EQ(buffers.select(0, clipboard), app::ClipSelect::kSelected);
  EXPECT_EQ(textOf(clipboard.held), "precious");
  }
  osk::SetGlobalMemory(nullptr);
}

TEST(ClipPreview, JoinsLinesAndPadsToItsWidth) {
  HGLOBALTEXT b = AddGlobalLine(AddGlobalLine(nullptr, "one", 1), "two", 1);
  const std::string preview = app::clipPreview(b);
  EXPECT_EQ(preview.size(), app::kClipPreviewLength);
  EXPECT_EQ(preview.substr(0, 8), "one two ");
  EXPECT_EQ(preview.find_first_not_of(' ', 7), std::string::npos);
  app::releaseBlock(b);
  EXPECT_EQ(app::clipPreview(nullptr), std::string(app::kClipPreviewLength, ' '));
}

TEST(DropAfterRemoval, AMovedSourceBeforeTheDropPointShiftsIt) {
  using app::DragSource;
  using app::DropPoint;
  auto at = [](DropPoint p) { return std::make_pair(p.line, p.cell); };
  // Whole lines above the drop line.
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kLine, 2, 4, 1, 1}, {10, 5})), std::make_pair(7, 5));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kLine, 5, 6, 1, 1}, {3, 5})), std::make_pair(3, 5));
  // A column before the drop cell on its lines; elsewhere nothing moves.
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kColumn, 2, 4, 3, 6}, {3, 10})), std::make_pair(3, 7));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kColumn, 2, 4, 3, 6}, {5, 10})), std::make_pair(5, 10));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kColumn, 2, 4, 3, 6}, {3, 2})), std::make_pair(3, 2));
  // Stream text on one line, and over several: the rest of its last line joins its first line.
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kStream, 1, 1, 4, 9}, {1, 12})), std::make_pair(1, 7));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kStream, 2, 4, 5, 3}, {4, 8})), std::make_pair(2, 10));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kStream, 2, 4, 5, 3}, {9, 8})), std::make_pair(7, 8));
  EXPECT_EQ(at(app::dropAfterRemoval({ClipKind::kStream, 2, 4, 5, 3}, {1, 8})), std::make_pair(1, 8));
}

TEST_F(ClipTest, AMoveWithinTheBufferRemovesTheSourceOnceWhereverItLands) {
  auto move = [&](int32_t type, int32_t l1, int32_t c1, int32_t l2, int32_t c2, app::DropPoint drop) {
    mark(type, l1, c1, l2, c2);
    app::DragSource source{app::clipKindOfMark(type), 0, 0, 0, 0};
    int32_t sl = 0, sc = 0, el = 0, ec = 0;
    QueryMarkStart(&sl, &sc);
    QueryMarkEnd(&el, &ec);
    source.firstLine = sl;
    source.lastLine = el;
    source.firstCell = CellFromCol(sl, sc);
    source.endCell = CellFromCol(el, ec);
    StartOp();
    app::TakenText t = take(true);
    const app::DropPoint at = app::dropAfterRemoval(source, drop);
    SetCaretCell(at.line, at.cell);
    app::pasteText(t.block, t.kind, {});
    EndOp();
  };
  showing("one\ntwo\nthree\nfour\n");
  move(2, 1, 0, 1, 0, {4, 1});   // line 1 dropped before line 4
  EXPECT_EQ(all(), "two\nthree\none\nfour\n");
  move(2, 3, 0, 3, 0, {1, 1});   // and back, before the source
  EXPECT_EQ(all(), "one\ntwo\nthree\nfour\n");
  move(1, 3, 1, 3, 3, {3, 6});   // "th" to the end of its own line
  EXPECT_EQ(all(), "one\ntwo\nreeth\nfour\n");
  move(1, 3, 4, 3, 6, {1, 1});   // "th" before the source, on another line
  EXPECT_EQ(all(), "thone\ntwo\nree\nfour\n");
  EXPECT_EQ(UndoOp(nullptr), 1);   // each move is one step
  EXPECT_EQ(all(), "one\ntwo\nreeth\nfour\n");
}

}  // namespace
}  // namespace osk::test
