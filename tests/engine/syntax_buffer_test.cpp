// A buffer's syntax definition and block bits: chosen by the file name, kept in step with every edit, undo and
// redo, and the repaint notice sent after the edit's own notice.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editing_fixture.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_data.h"
#include "test_syntax.h"

namespace osk::test {
namespace {

using syntax::kContainsEnd;
using syntax::kLeavesOpen;


class SyntaxBuffer : public EditingTest {
 protected:
  void SetUp() override {
    EditingTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(installTestSyntax());
  }
  void TearDown() override {
    EditingTest::TearDown();
    uninstallTestSyntax();
  }

  Buffer* openFile(const std::string& name, const std::string& bytes) {
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(write(name, bytes), ECD_OPEN_READ, &h), 0);
    Buffer* b = Engine::instance().find(h);
    // A window to hear the notices.
    if (b != nullptr) b->addWindow(reinterpret_cast<OskWindow>(static_cast<uintptr_t>(0x51)));
    notices().clear();
    return b;
  }

  // The block bits every line should carry, computed from the text alone.
  static void expectBitsFromText(Buffer* b) {
    const syntax::DecodedDefinition* d = syntax::DefinitionAt(b->syntaxDefinition());
    for (int32_t line = 1; line <= b->lineCount(); ++line) {
      ASSERT_EQ(b->store().properties().get(line, syntax::kBlockBits),
                syntax::BlockBits(d, b->store().peekLine(line)))
          << "line " << line << ": " << b->store().peekLine(line);
    }
  }

  // Index of the first notice with `code`, or -1.
  static int firstNotice(uint32_t code) {
    for (std::size_t i = 0; i < notices().size(); ++i) {
      if (notices()[i].code == code) return static_cast<int>(i);
    }
    return -1;
  }

  static std::string lines(int n, const std::string& text) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text + "\r\n";
    return out;
  }
};

TEST_F(SyntaxBuffer, OpeningChoosesTheDefinitionByExtensionAndComputesTheBits) {
  Buffer* c = openFile("main.c", "int a;\r\n/* open\r\nstill\r\nclosed */ int b;\r\n");
  ASSERT_NE(c, nullptr);
  EXPECT_NE(c->syntaxDefinition(), 0u);
  EXPECT_EQ(c->store().properties().get(2, syntax::kBlockBits), kLeavesOpen);
  EXPECT_EQ(c->store().properties().get(3, syntax::kBlockBits), 0u);
  EXPECT_EQ(c->store().properties().get(4, syntax::kBlockBits), kContainsEnd);

  Buffer* txt = openFile("notes.txt", "/* not a comment here\r\n");
  ASSERT_NE(txt, nullptr);
  EXPECT_EQ(txt->syntaxDefinition(), 0u);
  EXPECT_EQ(txt->store().properties().get(1), 0u);
}

TEST_F(SyntaxBuffer, ANewNameChangesTheDefinitionAndRepaintsEverything) {
  Buffer* b = openFile("notes.txt", "/* a\r\nb */\r\n");
  ASSERT_EQ(b->save(path("notes.c").c_str(), nullptr, false), 0);
  EXPECT_NE(b->syntaxDefinition(), 0u);
  EXPECT_EQ(countNotices(ECDB_REPAINT_ALL), 1);
  expectBitsFromText(b);

  // The same definition again: nothing to repaint.
  notices().clear();
  ASSERT_EQ(b->rename(path("other.c").c_str()), 0);
  EXPECT_EQ(countNotices(ECDB_REPAINT_ALL), 0);

  // Back to no definition: the bits go.
  ASSERT_EQ(b->rename(path("other.txt").c_str()), 0);
  EXPECT_EQ(b->syntaxDefinition(), 0u);
  EXPECT_EQ(countNotices(ECDB_REPAINT_ALL), 1);
  EXPECT_EQ(b->store().properties().get(1), 0u);
}

TEST_F(SyntaxBuffer, OpeningACommentAtTheTopRepaintsTheWindowAfterTheLineNotice) {
  Buffer* b = openFile("big.c", lines(100, "int x; // plain"));
  TextPos at{1, 1};
  ASSERT_EQ(type(b, "/*", at), Status::kOk);
  EXPECT_EQ(b->store().properties().get(1, syntax::kBlockBits), kLeavesOpen);
  const int repaint = firstNotice(ECDB_REPAINT_LINES);
  ASSERT_GE(repaint, 0);
  EXPECT_EQ(notices()[repaint].wParam, 0u);  // more than 30 lines: the whole window
  EXPECT_EQ(notices()[repaint].lParam, 0);
  EXPECT_LT(firstNotice(ECDB_REPAINT_LINE_FROM), repaint);

  // Typing on inside the same line changes no bits: no second repaint of the window.
  notices().clear();
  ASSERT_EQ(type(b, " note", at), Status::kOk);
  EXPECT_EQ(countNotices(ECDB_REPAINT_LINES), 0);
}

TEST_F(SyntaxBuffer, ClosingTheBlockRepaintsDownToTheNextEnd) {
  Buffer* b = openFile("short.c", "/* open\r\na\r\nb\r\nc */\r\nint d;\r\n");
  TextPos at{2, 2};
  ASSERT_EQ(type(b, "*/", at), Status::kOk);
  const int repaint = firstNotice(ECDB_REPAINT_LINES);
  ASSERT_GE(repaint, 0);
  EXPECT_EQ(notices()[repaint].lParam, 2);
  EXPECT_EQ(notices()[repaint].wParam, 3u);  // lines 2 to 4, where the old end was
}

TEST_F(SyntaxBuffer, UndoAndRedoRecomputeTheBitsAndRepaint) {
  Buffer* b = openFile("undo.c", lines(50, "int x;"));
  TextPos at{1, 1};
  ASSERT_EQ(type(b, "/*", at), Status::kOk);
  ASSERT_EQ(b->flushLine(), Status::kOk);
  notices().clear();
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(b->store().peekLine(1), "int x;");
  EXPECT_EQ(b->store().properties().get(1), 0u);
  EXPECT_EQ(countNotices(ECDB_REPAINT_LINES), 2);  // the line itself, then the window below it
  notices().clear();
  ASSERT_EQ(redo(b), Status::kOk);
  EXPECT_EQ(b->store().properties().get(1, syntax::kBlockBits), kLeavesOpen);
  EXPECT_GE(countNotices(ECDB_REPAINT_LINES), 1);
  expectBitsFromText(b);
}

TEST_F(SyntaxBuffer, DeletingTheOpeningLineRepaintsTheWindow) {
  Buffer* b = openFile("del.c", "int a;\r\n/* open\r\nb\r\nc */\r\n");
  TextPos at{2, 1};
  ASSERT_EQ(deleteLines(*b, 2, 1, at), Status::kOk);
  const int deleted = firstNotice(ECDB_LINES_DELETED);
  const int repaint = firstNotice(ECDB_REPAINT_LINES);
  ASSERT_GE(deleted, 0);
  ASSERT_GT(repaint, deleted);
  EXPECT_EQ(notices()[repaint].wParam, 0u);
  expectBitsFromText(b);
}

TEST_F(SyntaxBuffer, AReloadComputesTheBitsOfTheNewText) {
  Buffer* b = openFile("reload.c", "/* open\r\nb\r\nc */\r\n");
  write("reload.c", "int a;\r\nint b; /* late\r\nc\r\n");
  ASSERT_EQ(b->reload(0, nullptr), 100);
  EXPECT_EQ(b->store().properties().get(1, syntax::kBlockBits), 0u);
  EXPECT_EQ(b->store().properties().get(2, syntax::kBlockBits), kLeavesOpen);
  expectBitsFromText(b);
}

TEST_F(SyntaxBuffer, TheOwnerCannotSetOrClearTheBlockBits) {
  Buffer* b = openFile("bits.c", "/* a\r\nb\r\n");
  ASSERT_EQ(changeLineBits(*b, 1, 0x1 | kContainsEnd, kLeavesOpen), Status::kOk);
  EXPECT_EQ(b->store().properties().get(1), 0x1u | kLeavesOpen);
  ASSERT_EQ(changeLineBits(*b, 2, kLeavesOpen, 0), Status::kOk);
  EXPECT_EQ(b->store().properties().get(2), 0u);
}

TEST_F(SyntaxBuffer, CellColoursReadTheBufferThroughTheEngine) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open(write("cells.c", "/* a\r\nint b; */ return\r\n"), ECD_OPEN_READ, &h), 0);
  uint8_t cells[1024];
  ASSERT_EQ(syntax::CellLineColours(h, 2, cells), 0);
  EXPECT_EQ(cells[0], 0);    // "int" inside the comment is the comment's colour
  EXPECT_EQ(cells[9], 98);   // plain after the end
  EXPECT_EQ(cells[10], 1);   // "return"
  EXPECT_EQ(cells[20], 98);  // the padding beyond the text is plain
  EXPECT_EQ(syntax::CellLineColours(h, 3, cells), ECD_ERR_COMMAND_FAILED);
  EXPECT_EQ(syntax::CellLineColours(nullptr, 1, cells), -20);
}

// Random edits, undos and redos on a C buffer: after each, every line's block bits are those of its text.
TEST_F(SyntaxBuffer, RandomEditsKeepTheBitsThoseOfTheText) {
  const std::vector<std::string> pieces = {"/*", "*/", "x", "int ", "// c", "*", "/"};
  std::mt19937 rng(20261207);
  Buffer* b = openFile("random.c", "int a;\r\n/* b\r\nc */\r\nd\r\n");
  for (int step = 0; step < 1500; ++step) {
    const int32_t count = b->lineCount();
    if (count == 0) {
      TextPos top{1, 1};
      ASSERT_EQ(insertLine(*b, 0, "/* again", top), Status::kOk);
      continue;
    }
    const int32_t line = 1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(count));
    const auto length = static_cast<int32_t>(b->store().peekLine(line).size());
    TextPos at{line, 1 + static_cast<int32_t>(rng() % static_cast<uint32_t>(length + 1))};
    switch (rng() % 8) {
      case 0: case 1: type(b, pieces[rng() % pieces.size()], at); break;
      case 2: newLine(*b, at); break;
      case 3: if (line < count) joinLine(*b, line); break;
      case 4: if (count > 1) deleteLines(*b, line, 1 + static_cast<int32_t>(rng() % 3), at); break;
      case 5: backspace(*b, at); break;
      case 6: b->flushLine(); undo(b); break;
      case 7: b->flushLine(); redo(b); break;
    }
    expectBitsFromText(b);
    if (HasFatalFailure()) {
      ADD_FAILURE() << "step " << step;
      return;
    }
  }
}

}  // namespace
}  // namespace osk::test
