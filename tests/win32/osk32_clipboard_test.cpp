// The clipboard, the clip buffers and the drag of marked text, driven by keys and the mouse as a user does;
// results read from the files the program saves.
#include <gtest/gtest.h>

#include "scenario_helpers.h"

namespace osk::drive {
namespace {

constexpr Key kCopy{'C', false, true};
constexpr Key kPaste{'V', false, true};
constexpr Key kSave{'S', false, true};
constexpr Key kNextWindow{VK_F6, false, true};
constexpr Key kDown{VK_DOWN};
constexpr Key kRight{VK_RIGHT};
constexpr Key kEnd{VK_END};
constexpr Key kTop{VK_HOME, false, true};
constexpr Key kShiftDown{VK_DOWN, true};
constexpr Key kShiftRight{VK_RIGHT, true};
constexpr Key kLineMark{'L', true, true};
constexpr Key kColumnMark{'K', true, true};

class OSK32Clipboard : public Scenario {
 protected:
  // Saves the active document and waits until its file holds `expected`.
  bool saved(const std::string& file, const std::string& expected) {
    return savedAs(program(), folder, file, expected);
  }
  // Ctrl+F6 until the active document is the file's.
  bool nextWindowIs(const std::string& file) {
    program().press({kNextWindow});
    return waitFor([&] { return program().activeTitle().find(file) != std::string::npos; });
  }
  // The screen point at the middle of the caret's cell once the keys have put it there.
  POINT caretPointAfter(const std::vector<Key>& keys) {
    program().press(keys);
    POINT at{};
    int height = 0;
    EXPECT_TRUE(waitFor([&] { return caretOnScreen(program().frame(), at, height) && at.x >= 0; }, 5s));
    return {at.x + 3, at.y + height / 2};
  }
  // The mouse takes the mark at `grab` and lets it go at `drop`.
  void drag(POINT grab, POINT drop) {
    mouseTo(grab);
    leftButton(true);
    mouseTo({grab.x + 4, grab.y + 6});
    mouseTo(drop);
    leftButton(false);
    program().settle();
  }
};

TEST_F(OSK32Clipboard, ShiftArrowsCopyAndPasteBetweenDocumentsAndALineMarkGoesBeforeTheCaretLine) {
  folder.write("a.txt", "alpha beta\r\ngamma\r\n");
  folder.write("b.txt", "one two\r\nthree\r\n");
  ASSERT_TRUE(start("a.txt b.txt", 2));
  ASSERT_NE(program().activeTitle().find("b.txt"), std::string::npos) << program().activeTitle();

  // "two", the line end and "thre" as stream text, from b.txt into the middle of a.txt's first line.
  program().press({kRight, kRight, kRight, kRight, kShiftDown, kCopy});
  ASSERT_TRUE(nextWindowIs("a.txt"));
  program().press({kTop, kRight, kRight, kRight, kRight, kRight, kRight, kPaste});
  EXPECT_TRUE(saved("a.txt", "alpha two\r\nthrebeta\r\ngamma\r\n")) << folder.read("a.txt");

  // A line mark of a.txt's last line pasted with the caret in the middle of b.txt's first line.
  program().press({{VK_END, false, true}, kLineMark, kCopy});
  ASSERT_TRUE(nextWindowIs("b.txt"));
  program().press({kTop, kRight, kRight, kPaste});
  EXPECT_TRUE(saved("b.txt", "gamma\r\none two\r\nthree\r\n")) << folder.read("b.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Clipboard, AColumnIsCopiedAndPastedAsAColumn) {
  folder.write("c.txt", "abcd\r\nefgh\r\nij\r\n");
  ASSERT_TRUE(start("c.txt", 1));
  // "bc" over "fg": a column mark from the caret, widened and lowered with Shift.
  program().press({kRight, kColumnMark, kShiftRight, kShiftRight, kShiftDown, kCopy});
  program().press({kDown, kEnd, kPaste});
  EXPECT_TRUE(saved("c.txt", "abcd\r\nefgh\r\nijbc\r\n  fg\r\n")) << folder.read("c.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Clipboard, ClipBufferTwoKeepsItsLinesAndBufferZeroGetsTheOldTextBack) {
  folder.write("d.txt", "first\r\nsecond\r\n");
  ASSERT_TRUE(start("d.txt", 1));
  program().press({kShiftRight, kShiftRight, kShiftRight, kCopy});   // "fir" on the clipboard, buffer 0
  program().press({{'2', false, false, true}});                         // Alt+2
  EXPECT_TRUE(waitFor([&] { return program().status() == "Clip buffer 2"; }, 5s)) << program().status();
  program().press({kDown, kLineMark, kCopy});                          // the line "second" into buffer 2
  program().press({{'0', false, false, true}});                         // Alt+0
  EXPECT_TRUE(waitFor([&] { return program().status() == "Clip buffer 0"; }, 5s)) << program().status();
  program().press({kEnd, kPaste});                                      // "fir" again
  program().command(numberOf("ClipBuffer", "2"));
  program().press({kTop, kPaste});                                      // a whole line before line 1
  program().press({kPaste});
  EXPECT_TRUE(saved("d.txt", "second\r\nsecond\r\nfirst\r\nsecondfir\r\n")) << folder.read("d.txt");

  // The dialog shows the start of each buffer: the current one (2) from the clipboard, 0 from its slot.
  HWND dialog = openDialog(program(), "ClipBuffer", "Clip Buffers");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(windowText(control(dialog, 7502)).substr(0, 7), "second ");
  EXPECT_EQ(windowText(control(dialog, 7500)).substr(0, 4), "fir ");
  EXPECT_EQ(windowText(control(dialog, 7505)).find_first_not_of(' '), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(control(dialog, 7510)));   // Paste: the document is writable
  EXPECT_TRUE(program().answer(dialog, IDCANCEL));
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Clipboard, LinesAreCopiedAndCutByKeysAndAppendingMakesPlainText) {
  folder.write("h.txt", "a\r\nb\r\nc\r\n");
  ASSERT_TRUE(start("h.txt", 1));
  program().press({{'C', true, true}, kDown, {'X', true, true}});   // CopyLine "a", then CutLine "b"
  program().press({kShiftRight, {'A', true, true}});                // "c" appended: "b" CR LF "c", plain text
  program().press({kEnd, kPaste});
  EXPECT_TRUE(saved("h.txt", "a\r\ncb\r\nc\r\n")) << folder.read("h.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Clipboard, DraggingAMarkMovesItOnceWithinTheDocument) {
  folder.write("e.txt", "one\r\ntwo\r\nthree\r\nfour\r\n");
  ASSERT_TRUE(start("e.txt", 1));
  const POINT drop = caretPointAfter({kTop, kDown, kDown, kDown});   // line 4, column 1
  const POINT grab = caretPointAfter({kTop});
  program().press({kShiftDown});   // "one" and its line end
  drag(grab, drop);
  EXPECT_TRUE(saved("e.txt", "two\r\nthree\r\none\r\nfour\r\n")) << folder.read("e.txt");

  // Undo puts it back in one step.
  program().press({{'Z', false, true}});
  EXPECT_TRUE(saved("e.txt", "one\r\ntwo\r\nthree\r\nfour\r\n")) << folder.read("e.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Clipboard, DraggingAMarkMovesItToAnotherDocument) {
  folder.write("f.txt", "one\r\ntwo\r\n");
  folder.write("g.txt", "three\r\n");
  ASSERT_TRUE(start("f.txt g.txt", 2));
  program().command(numberOf("TileWindowsVertically"));
  const POINT drop = caretPointAfter({kTop, kEnd});   // g.txt, after "three"
  ASSERT_TRUE(nextWindowIs("f.txt"));
  const POINT grab = caretPointAfter({kTop});
  ASSERT_NE(grab.x, drop.x) << "the documents do not stand side by side";
  program().press({kShiftRight, kShiftRight, kShiftRight});   // "one"
  drag(grab, drop);
  ASSERT_TRUE(waitFor([&] { return program().activeTitle().find("g.txt") != std::string::npos; }, 5s))
      << program().activeTitle();
  EXPECT_TRUE(saved("g.txt", "threeone\r\n")) << folder.read("g.txt");
  ASSERT_TRUE(nextWindowIs("f.txt"));
  EXPECT_TRUE(saved("f.txt", "\r\ntwo\r\n")) << folder.read("f.txt");
  EXPECT_TRUE(program().close());
}

}  // namespace
}  // namespace osk::drive
