// Editor windows under the real window system: typing through WM_CHAR and message 1037 into a buffer shown in two
// windows, selecting through the exported functions, caret messages and their owner notifications, the ordinals
// the program imports by, and a painted window checked pixel by pixel (saved as a bitmap for a person to look at).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "engine/lang/colour_api.h"
#include "engine/win32/ecd_window.h"
#include "tests/win32/driver/osk_driver.h"

namespace {

struct Note {
  UINT code;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Note> gNotes;
UINT gOwnerMessage = 0;
std::vector<std::pair<WPARAM, LPARAM>> gOwnerRequests;

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= ECDN_CARET && message <= ECDN_LINE_CLAMPED) {
    gNotes.push_back({message, wParam, lParam});
    return 0;
  }
  if (gOwnerMessage != 0 && message == gOwnerMessage) {
    gOwnerRequests.emplace_back(wParam, lParam);
    return 40 + static_cast<LRESULT>(wParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The owner's typing: what the program does with characters no key binding took.
int32_t OSK_CALL typeEvent(EcdEventRecord* event) {
  if (event->code == 13) return NewLine() || GetLineCount() > 0;
  return WriteChar(event->code);
}

HWND gOwner = nullptr;

class TypingEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OskTypingOwner";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    gOwner = CreateWindowExA(0, "OskTypingOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                             wc.hInstance, nullptr);
    ASSERT_NE(gOwner, nullptr);
    ASSERT_EQ(ECD_flInitialise(gOwner, typeEvent, nullptr, nullptr, nullptr), 0);
    gOwnerMessage = RegisterWindowMessageA("EditorOwnerMessage");
  }
  void TearDown() override {
    ECD_flTerminate();
    DestroyWindow(gOwner);
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TypingEnvironment);

class TypingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gNotes.clear();
    gOwnerRequests.clear();
    EcdSystemOptions o{};
    ECD_fvSetSystemOptions(&o);
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);
    for (HEDBUFFER b : buffers_) ECD_flCloseBuffer(b);
    SetCurEdWindow(nullptr);
  }

  HWND newEditor(int x = 0, int y = 0, int width = 300, int height = 200) {
    HWND w = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD | WS_VISIBLE, x, y, width, height, gOwner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    return w;
  }

  HEDBUFFER emptyBufferIn(HWND window) {
    EcdOpenRecord r{};
    r.undoCapacity = 100;
    r.tabLength = 8;
    r.flags = ECD_OPEN_VSCROLL;
    EXPECT_EQ(SendMessageA(window, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
    buffers_.push_back(r.buffer);
    return r.buffer;
  }

  int count(UINT code) const {
    int n = 0;
    for (const Note& note : gNotes) n += note.code == code;
    return n;
  }

  static std::string line(int32_t n) {
    char text[1025] = {};
    return GetLine(n, text) ? std::string(text) : std::string("<none>");
  }

  std::vector<HWND> windows_;
  std::vector<HEDBUFFER> buffers_;
};

TEST_F(TypingTest, TypingInOneWindowShowsInBothAndMovesTheOtherCaret) {
  HWND first = newEditor();
  HWND second = newEditor(310, 0);
  HEDBUFFER b = emptyBufferIn(first);
  ASSERT_EQ(SendMessageA(second, ECD_SHOW_BUFFER, reinterpret_cast<WPARAM>(b), 0), 0);
  for (char c : std::string("int x;")) SendMessageA(first, WM_CHAR, static_cast<WPARAM>(c), 0);
  ASSERT_EQ(SendMessageA(first, ECD_TYPE_STRING, 0, reinterpret_cast<LPARAM>("\r\nint y;\r\nreturn;")), 0);
  ASSERT_EQ(SetCurEdWindow(second), 1);
  EXPECT_EQ(GetLineCount(), 3);
  EXPECT_EQ(line(1), "int x;");
  EXPECT_EQ(line(2), "int y;");
  EXPECT_EQ(line(3), "return;");
  EcdLineCol caret{};
  EXPECT_EQ(SendMessageA(first, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(&caret)), 8);
  EXPECT_EQ(caret.line, 3);
  EXPECT_EQ(caret.column, 8);
  // The second window's caret stands on line 2; a line inserted above it pushes it down.
  EcdLineCol at{2, 3};
  ASSERT_EQ(SendMessageA(second, ECD_SET_CARET, 0, reinterpret_cast<LPARAM>(&at)), 0);
  ASSERT_EQ(SendMessageA(first, ECD_INSERT_LINE, 1, reinterpret_cast<LPARAM>("#include <x>")), 0);
  SendMessageA(second, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.line, 3);
  EXPECT_EQ(caret.column, 3);
  char text[1025] = {};
  ASSERT_EQ(SendMessageA(second, ECD_GET_CARET_LINE, 0, reinterpret_cast<LPARAM>(text)), 0);
  EXPECT_STREQ(text, "int y;");
  // Undo through the window takes the inserted line away again.
  ASSERT_EQ(SendMessageA(first, ECD_UNDO, 0, 0), 0);
  EXPECT_EQ(line(1), "int x;");
}

TEST_F(TypingTest, CaretMessageClampsAndReports) {
  HWND w = newEditor();
  emptyBufferIn(w);
  ASSERT_EQ(SendMessageA(w, ECD_TYPE_STRING, 0, reinterpret_cast<LPARAM>("one\ntwo")), 0);
  gNotes.clear();
  EcdLineCol at{0, 2000};
  EXPECT_EQ(SendMessageA(w, ECD_SET_CARET, 0, reinterpret_cast<LPARAM>(&at)), ECD_ERR_RANGE_SNAP);
  EXPECT_EQ(count(ECDN_LINE_CLAMPED), 1);
  EXPECT_EQ(count(ECDN_COLUMN_CLAMPED), 1);
  EcdLineCol caret{};
  EXPECT_EQ(SendMessageA(w, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(&caret)), 1024);
  EXPECT_EQ(caret.line, 1);
  ASSERT_GE(count(ECDN_CARET), 1);
  const auto* reported = reinterpret_cast<const int32_t*>(gNotes.back().lParam);
  (void)reported;   // the report's memory lives only while the notification is sent
  // A read-only buffer types nothing.
  ASSERT_EQ(SendMessageA(w, ECD_SET_READ_ONLY, 1, 0), 0);
  EXPECT_EQ(SendMessageA(w, ECD_TYPE_STRING, 0, reinterpret_cast<LPARAM>("zzz")), ECD_ERR_READ_ONLY);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  EXPECT_EQ(line(1), "one");
  // Insert mode by message is seen by the functions and the query.
  ASSERT_EQ(SendMessageA(w, ECD_SET_INSERT_MODE, 0, 0), 0);
  EXPECT_EQ(SendMessageA(w, ECD_IS_INSERT_MODE, 0, 0), ECD_ERR_NOT_SET);
  EXPECT_EQ(GetInsertMode(), 0);
}

TEST_F(TypingTest, SelectingThroughFunctionsReportsTheMarkToTheOwner) {
  HWND w = newEditor();
  HEDBUFFER b = emptyBufferIn(w);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  ASSERT_EQ(WriteString("alpha beta\ngamma delta\n"), 1);
  gNotes.clear();
  ASSERT_EQ(AnchorMark(1, 1, 7), 1);
  ASSERT_EQ(UpdateMark(2, 6), 1);
  EXPECT_EQ(SendMessageA(w, ECD_HAS_MARK, 0, 0), 0);
  ASSERT_EQ(count(ECDN_MARK), 1);
  EXPECT_EQ(gNotes[0].code == ECDN_MARK ? gNotes[0].lParam : 1, 1);
  int32_t x = 0, y = 0;
  // The hit test of a pixel inside "gamma" lies in the mark.
  RECT cell{};
  ASSERT_EQ(GetCellRect(2, 3, reinterpret_cast<tagRECT*>(&cell)), 1);
  int32_t l = 0, c = 0, where = -1;
  ASSERT_EQ(CharFromPos(cell.left + 1, cell.top + 1, 0, &l, &c, 0, &where), 1);
  EXPECT_EQ(l, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(where, 1);
  (void)x;
  (void)y;
  UnMark();
  EXPECT_EQ(SendMessageA(w, ECD_HAS_MARK, 0, 0), ECD_ERR_NO_SELECTION);
  EXPECT_EQ(ECD_flBufferMessage(b, ECD_HAS_MARK, 0, 0), ECD_ERR_NO_SELECTION);
}

TEST_F(TypingTest, DestroyedWindowIsNoLongerATarget) {
  HWND first = newEditor();
  HWND second = newEditor(310, 0);
  HEDBUFFER b = emptyBufferIn(first);
  ASSERT_EQ(SendMessageA(second, ECD_SHOW_BUFFER, reinterpret_cast<WPARAM>(b), 0), 0);
  ASSERT_EQ(SetCurEdWindow(first), 1);
  DestroyWindow(first);
  windows_.erase(windows_.begin());
  EXPECT_EQ(GetCurEdWindow(), nullptr);
  EXPECT_EQ(WriteChar('x'), 0);
  // SetCurBuffer finds the window that still shows the buffer.
  ASSERT_EQ(SetCurBuffer(b), 1);
  EXPECT_EQ(GetCurEdWindow(), second);
  EXPECT_EQ(WriteChar('x'), 1);
}

// Callers may bind the plain-named functions by ordinal or by name: both must reach the same function.
TEST_F(TypingTest, PlainNamedFunctionsSitAtTheirOrdinals) {
  HMODULE engine = GetModuleHandleA("OSKECD32.dll");
  ASSERT_NE(engine, nullptr);
  const struct {
    int ordinal;
    const char* name;
  } table[] = {
      {100, "SetCurEdWindow"}, {110, "WriteChar"},   {126, "StartOp"},    {152, "AnchorMark"},
      {183, "CharFromPos"},    {205, "DisplayError"}, {211, "DebugState"},
  };
  for (const auto& entry : table) {
    const FARPROC byOrdinal = GetProcAddress(engine, MAKEINTRESOURCEA(entry.ordinal));
    EXPECT_NE(byOrdinal, nullptr) << entry.name;
    EXPECT_EQ(byOrdinal, GetProcAddress(engine, entry.name)) << entry.name;
  }
}

TEST_F(TypingTest, OwnerServicesGoThroughTheRegisteredMessage) {
  EXPECT_EQ(OskStatMessage("Ready"), 42);
  ASSERT_EQ(gOwnerRequests.size(), 1u);
  EXPECT_STREQ(reinterpret_cast<const char*>(gOwnerRequests[0].second), "Ready");
  EXPECT_EQ(OskSetMDIState(5, 6), 51);
  EXPECT_EQ(OwnerCommand(77, 3), 117);
  EXPECT_EQ(GetMasterHwnd(), gOwner);
}

TEST_F(TypingTest, HourGlassNestsAndCursorsAreLoaded) {
  EXPECT_EQ(ShowHourGlass(1), 1);
  EXPECT_EQ(ShowHourGlass(1), 1);
  EXPECT_EQ(ShowHourGlass(0), 1);
  EXPECT_EQ(ShowHourGlass(0), 1);
  EXPECT_EQ(ShowHourGlass(0), 0);
  EXPECT_EQ(SetLinePointer(), 1);
  EXPECT_EQ(SetMovePointer(), 1);
  EXPECT_EQ(SetDraggingOkPointer(), 1);
  EXPECT_EQ(SetDraggingOkPlusPointer(), 1);
  EXPECT_EQ(SetDraggingIllegalPointer(), 1);
}

TEST_F(TypingTest, SyncedPanesFollowEachOtherAndCopyViewTakesCaretAndScroll) {
  HWND first = newEditor();
  HWND second = newEditor(310, 0);
  HWND third = newEditor(0, 210);
  HEDBUFFER b = emptyBufferIn(first);
  ASSERT_EQ(SetCurEdWindow(first), 1);
  std::string text;
  for (int i = 1; i <= 400; ++i) text += "row " + std::to_string(i) + "\n";
  ASSERT_EQ(WriteString(text.c_str()), 1);
  for (HWND w : {second, third}) ASSERT_EQ(SendMessageA(w, ECD_SHOW_BUFFER, reinterpret_cast<WPARAM>(b), 0), 0);
  // First and second share vertical group 1; the third is in group 2.
  ASSERT_EQ(SendMessageA(first, ECD_SET_SYNC, 2, MAKELPARAM(0, 1)), 0);
  ASSERT_EQ(SendMessageA(second, ECD_SET_SYNC, 2, MAKELPARAM(0, 1)), 0);
  ASSERT_EQ(SendMessageA(third, ECD_SET_SYNC, 3, MAKELPARAM(0, 2)), 0);
  EXPECT_EQ(SendMessageA(first, ECD_GET_SYNC, 0, 0), 2);
  EXPECT_EQ(SendMessageA(third, ECD_GET_SYNC, 0, 0), 3);
  int32_t target[2] = {150, 1};
  ASSERT_EQ(SendMessageA(first, ECD_SCROLL_TO, 0, reinterpret_cast<LPARAM>(target)), 0);
  int32_t position[2] = {};
  SendMessageA(second, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_EQ(position[0], 150);
  SendMessageA(third, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_EQ(position[0], 1);
  // Copying the view brings caret and scroll position over.
  EcdLineCol at{170, 3};
  ASSERT_EQ(SendMessageA(first, ECD_SET_CARET, 0, reinterpret_cast<LPARAM>(&at)), 0);
  ASSERT_EQ(SendMessageA(third, ECD_COPY_VIEW, reinterpret_cast<WPARAM>(first), 0), 0);
  EcdLineCol caret{};
  SendMessageA(third, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.line, 170);
  EXPECT_EQ(caret.column, 3);
  SendMessageA(third, ECD_GET_SCROLL, 0, reinterpret_cast<LPARAM>(position));
  EXPECT_EQ(position[0], 150);
}

TEST_F(TypingTest, RedrawOffCollectsPaintingUntilItIsTurnedOn) {
  HWND w = newEditor();
  emptyBufferIn(w);
  UpdateWindow(w);
  ASSERT_EQ(SendMessageA(w, ECD_SET_REDRAW, 0, 0), 0);
  ASSERT_EQ(SendMessageA(w, ECD_TYPE_STRING, 0, reinterpret_cast<LPARAM>("hidden for now")), 0);
  UpdateWindow(w);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(w, &pending, FALSE));   // validated, only collected
  ASSERT_EQ(SendMessageA(w, ECD_SET_REDRAW, 1, 0), 0);
  EXPECT_FALSE(GetUpdateRect(w, &pending, FALSE));   // painted at once
  ASSERT_EQ(SetCurEdWindow(w), 1);
  RECT cell{};
  ASSERT_EQ(GetCellRect(1, 1, reinterpret_cast<tagRECT*>(&cell)), 1);
  // The typed text is on screen: some pixel of "h" is not the background.
  HDC dc = GetDC(w);
  bool ink = false;
  for (int y = cell.top; y < cell.bottom; ++y) {
    for (int x = cell.left; x < cell.right; ++x) ink = ink || GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW);
  }
  ReleaseDC(w, dc);
  EXPECT_TRUE(ink);
}

TEST_F(TypingTest, FocusMakesTheCaretInTheShapeOfTheInsertMode) {
  HWND w = newEditor();
  emptyBufferIn(w);
  gNotes.clear();
  SetFocus(w);
  ASSERT_GE(count(ECDN_FOCUS), 1);
  ASSERT_GE(count(ECDN_CARET_SHAPE), 1);
  int shape = -1;
  for (const Note& n : gNotes) {
    if (n.code == ECDN_CARET_SHAPE) shape = static_cast<int>(n.lParam);
  }
  EXPECT_EQ(shape, 1);
  gNotes.clear();
  ASSERT_EQ(SendMessageA(w, ECD_SET_INSERT_MODE, 0, 0), 0);
  shape = -1;
  for (const Note& n : gNotes) {
    if (n.code == ECDN_CARET_SHAPE) shape = static_cast<int>(n.lParam);
  }
  EXPECT_EQ(shape, 0);
  SetFocus(gOwner);
  EXPECT_EQ(gNotes.back().code, static_cast<UINT>(ECDN_FOCUS));
  EXPECT_EQ(gNotes.back().lParam, 0);
}

TEST_F(TypingTest, ReloadKeepsTheCaretOnItsLineAndCell) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "osk_reload_caret.txt";
  std::ofstream(file, std::ios::binary) << "a\r\nb\r\n\tc\r\nd\r\n";
  HWND w = newEditor();
  EcdOpenRecord r{};
  r.fileName = file.c_str();
  r.undoCapacity = 10;
  r.tabLength = 8;
  r.flags = ECD_OPEN_READ;
  ASSERT_EQ(SendMessageA(w, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
  buffers_.push_back(r.buffer);
  EcdLineCol at{3, 2};   // after the tab: cell 9
  ASSERT_EQ(SendMessageA(w, ECD_SET_CARET, 0, reinterpret_cast<LPARAM>(&at)), 0);
  std::ofstream(file, std::ios::binary) << "a\r\nb\r\n        c\r\n";
  EXPECT_EQ(SendMessageA(w, ECD_RELOAD, 0, 0), 100);
  EcdLineCol caret{};
  EXPECT_EQ(SendMessageA(w, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(&caret)), 9);
  EXPECT_EQ(caret.line, 3);
  EXPECT_EQ(caret.column, 9);
  ECD_flCloseBuffer(r.buffer);
  buffers_.pop_back();
  DeleteFileA(file.c_str());
}

TEST_F(TypingTest, SeparateScrollBarControlsFollowTheView) {
  HWND w = newEditor();
  emptyBufferIn(w);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  std::string text;
  for (int i = 1; i <= 500; ++i) text += "x\n";
  ASSERT_EQ(WriteString(text.c_str()), 1);
  HWND vertical = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 300, 0, 16, 200, gOwner, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  HWND horizontal = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_HORZ, 0, 200, 300, 16, gOwner, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
  windows_.push_back(vertical);
  windows_.push_back(horizontal);
  ASSERT_EQ(SendMessageA(w, ECD_SET_SCROLL_CONTROLS, reinterpret_cast<WPARAM>(vertical),
                         reinterpret_cast<LPARAM>(horizontal)), 0);
  int32_t target[2] = {100, 7};
  ASSERT_EQ(SendMessageA(w, ECD_SCROLL_TO, 0, reinterpret_cast<LPARAM>(target)), 0);
  EXPECT_EQ(GetScrollPos(vertical, SB_CTL), 99);
  EXPECT_EQ(GetScrollPos(horizontal, SB_CTL), 6);
  int low = 0, high = 0;
  GetScrollRange(horizontal, SB_CTL, &low, &high);
  EXPECT_EQ(high, 1023);
}

TEST_F(TypingTest, CenterWindowPlacesAWindowOverItsOwner) {
  HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 5, 5, 100, 80, gOwner, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
  windows_.push_back(popup);
  ASSERT_EQ(CenterWindow(popup), 1);
  RECT r{};
  GetWindowRect(popup, &r);
  EXPECT_EQ(r.left, (640 - 100) / 2);
  EXPECT_EQ(r.top, (480 - 80) / 2);
  EXPECT_EQ(CenterWindow(nullptr), 0);
  EXPECT_EQ(GoBeep(), 1);
}

// The painted window: cell colours read back from the screen.
class PaintTest : public TypingTest {
 protected:
  COLORREF at(HWND w, int32_t line, int32_t cell) {
    RECT r{};
    EXPECT_EQ(GetCellRect(line, cell, reinterpret_cast<tagRECT*>(&r)), 1);
    HDC dc = GetDC(w);
    // A corner pixel of the cell: the glyph is drawn in the middle.
    COLORREF c = GetPixel(dc, r.left + 1, r.bottom - 1);
    ReleaseDC(w, dc);
    return c;
  }
};

TEST_F(PaintTest, MarksBookmarksAndLineNumbersPaintInTheirColours) {
  EcdSystemOptions o{};
  o.word[ECD_OPT_SHOW_LINE_NUMBERS] = 1;
  ECD_fvSetSystemOptions(&o);
  HWND w = newEditor(0, 0, 600, 400);
  emptyBufferIn(w);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  ASSERT_EQ(WriteString("stream marked text here\nline marked\nplain\ncolumn one\ncolumn two\nbookmarked line"), 1);
  ASSERT_EQ(SetLineProp(6, 1), 1);
  const COLORREF normal = GetSysColor(COLOR_WINDOW);
  const COLORREF selected = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF bookmark = RGB(200, 200, 200);

  ASSERT_EQ(AnchorMark(1, 1, 8), 1);     // stream: cells 8 to 13 of line 1
  ASSERT_EQ(UpdateMark(1, 14), 1);
  InvalidateRect(w, nullptr, FALSE);
  UpdateWindow(w);
  EXPECT_EQ(at(w, 1, 2), normal);
  EXPECT_EQ(at(w, 1, 8), selected);
  EXPECT_EQ(at(w, 1, 13), selected);
  EXPECT_EQ(at(w, 1, 14), normal);
  EXPECT_EQ(at(w, 6, 3), bookmark);
  EXPECT_EQ(at(w, 6, 40), bookmark);     // the bookmark colour runs past the line's end
  EXPECT_EQ(at(w, 3, 2), normal);
  // The gutter: 2 + one digit cells, bookmark colour beside the bookmarked line.
  EXPECT_EQ(at(w, 6, 0), bookmark);
  EXPECT_EQ(at(w, 5, 0), normal);
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  osk::drive::saveWindowPicture(w, std::string(dir) + "\\editor_stream_mark.bmp");

  ASSERT_EQ(AnchorMark(2, 2, 1), 1);     // line mark: line 2 whole
  UpdateWindow(w);
  EXPECT_EQ(at(w, 1, 8), normal);        // the old mark was repainted away
  EXPECT_EQ(at(w, 2, 1), selected);
  EXPECT_EQ(at(w, 2, 60), selected);
  EXPECT_EQ(at(w, 3, 1), normal);

  ASSERT_EQ(AnchorMark(3, 4, 3), 1);     // column mark: cells 3 to 5 of lines 4 and 5
  ASSERT_EQ(UpdateMark(5, 6), 1);
  UpdateWindow(w);
  EXPECT_EQ(at(w, 2, 1), normal);
  EXPECT_EQ(at(w, 4, 2), normal);
  EXPECT_EQ(at(w, 4, 3), selected);
  EXPECT_EQ(at(w, 5, 5), selected);
  EXPECT_EQ(at(w, 5, 6), normal);
  osk::drive::saveWindowPicture(w, std::string(dir) + "\\editor_column_mark.bmp");

  // Under the screenshot check the window stays up while the display is photographed: the expected colours of
  // some cells go to a file in screen coordinates, and the test waits for the photograph to be taken.
  if (const char* hold = std::getenv("OSK_PAINT_HOLD")) {
    // Three panes, one mark type each (a buffer holds one mark): column above, then stream, then line.
    MoveWindow(w, 0, 0, 600, 130, TRUE);
    HWND streamPane = newEditor(0, 140, 600, 130);
    HWND linePane = newEditor(0, 280, 600, 130);
    for (HWND pane : {streamPane, linePane}) {
      emptyBufferIn(pane);
      ASSERT_EQ(SetCurEdWindow(pane), 1);
      ASSERT_EQ(WriteString("stream marked text here\nline marked\nplain\ncolumn one\ncolumn two\nbookmarked line"), 1);
      ASSERT_EQ(SetLineProp(6, 1), 1);
    }
    ASSERT_EQ(SetCurEdWindow(streamPane), 1);
    ASSERT_EQ(AnchorMark(1, 1, 8), 1);
    ASSERT_EQ(UpdateMark(1, 14), 1);
    ASSERT_EQ(SetCurEdWindow(linePane), 1);
    ASSERT_EQ(AnchorMark(2, 2, 1), 1);
    for (HWND pane : {w, streamPane, linePane}) UpdateWindow(pane);
    std::ofstream points(std::string(hold) + ".part");
    const struct {
      HWND pane;
      int32_t line, cell;
      COLORREF colour;
    } expected[] = {{w, 1, 2, normal},          {w, 4, 2, normal},          {w, 4, 3, selected},
                    {w, 5, 5, selected},        {w, 5, 6, normal},          {w, 6, 3, bookmark},
                    {w, 6, 0, bookmark},        {w, 3, 2, normal},          {streamPane, 1, 7, normal},
                    {streamPane, 1, 8, selected}, {streamPane, 1, 13, selected}, {streamPane, 1, 14, normal},
                    {linePane, 2, 1, selected}, {linePane, 2, 40, selected}, {linePane, 1, 1, normal},
                    {linePane, 6, 30, bookmark}};
    for (const auto& e : expected) {
      ASSERT_EQ(SetCurEdWindow(e.pane), 1);
      RECT r{};
      ASSERT_EQ(GetCellRect(e.line, e.cell, reinterpret_cast<tagRECT*>(&r)), 1);
      POINT p{r.left + 1, r.bottom - 1};
      ClientToScreen(e.pane, &p);
      char line[64];
      std::snprintf(line, sizeof line, "%ld %ld %02X%02X%02X\n", static_cast<long>(p.x), static_cast<long>(p.y),
                    GetRValue(e.colour), GetGValue(e.colour), GetBValue(e.colour));
      points << line;
    }
    points.close();
    MoveFileA((std::string(hold) + ".part").c_str(), hold);
    const std::string done = std::string(hold) + ".done";
    for (int i = 0; i < 300 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      Sleep(50);
    }
  }

  ASSERT_EQ(SetCurEdWindow(w), 1);
  // The end-of-file line follows the last line in normal colours.
  EXPECT_EQ(at(w, 7, 1), normal);
  char shown[1025] = {};
  EXPECT_EQ(GetLine(7, shown), 0);
}

// Whether some pixel of the cell is `colour`: the glyph's strokes are drawn in the text colour.
bool cellShows(HWND w, int32_t line, int32_t cell, COLORREF colour) {
  RECT r{};
  if (GetCellRect(line, cell, reinterpret_cast<tagRECT*>(&r)) != 1) return false;
  HDC dc = GetDC(w);
  bool found = false;
  for (LONG y = r.top; y < r.bottom && !found; ++y) {
    for (LONG x = r.left; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  }
  ReleaseDC(w, dc);
  return found;
}

// A C++ file with the shipped syntax file beside the library: comments and keywords in their colours.
TEST_F(PaintTest, ACppFilePaintsInItsSyntaxColours) {
  EcdSystemOptions o{};
  o.word[ECD_OPT_SYNTAX_HIGHLIGHT] = 1;
  ECD_fvSetSystemOptions(&o);
  HWND w = newEditor(0, 0, 600, 300);
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  const std::string name = std::string(dir) + "\\syntax_sample.cpp";
  EcdOpenRecord r{};
  r.fileName = name.c_str();
  r.undoCapacity = 100;
  r.tabLength = 8;
  r.flags = ECD_OPEN_VSCROLL | ECD_OPEN_ALLOW_DUPLICATE;
  ASSERT_EQ(SendMessageA(w, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
  buffers_.push_back(r.buffer);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  ASSERT_EQ(WriteString("#include <vector>\n"
                        "/* a block comment\n"
                        "still inside */\n"
                        "int main() {\n"
                        "  const char* s = \"say \\\"hi\\\"\";\n"
                        "  char c = '\\'';\n"
                        "  return 0; // done\n"
                        "}"),
            1);
  // The shipped syntax file was read beside the library, and the buffer took its C++ definition.
  ASSERT_GT(ECD_fuGetSyntaxColourCount(), 0u);
  uint8_t cells[1024];
  ASSERT_EQ(GetCellLineColours(r.buffer, 7, cells), 0);
  EXPECT_NE(cells[2], 98);
  InvalidateRect(w, nullptr, FALSE);
  UpdateWindow(w);
  const COLORREF comment = RGB(0, 128, 0), keyword = RGB(0, 0, 255), type = RGB(43, 145, 175);
  const COLORREF string = RGB(163, 21, 21), character = RGB(160, 80, 0), preproc = RGB(128, 64, 0);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), normal = GetSysColor(COLOR_WINDOW);
  EXPECT_TRUE(cellShows(w, 1, 2, preproc));    // "#include <vector>"
  EXPECT_TRUE(cellShows(w, 1, 12, preproc));
  EXPECT_TRUE(cellShows(w, 2, 4, comment));    // "a"
  EXPECT_FALSE(cellShows(w, 2, 4, text));
  EXPECT_TRUE(cellShows(w, 3, 1, comment));    // the block carried to the next line
  EXPECT_TRUE(cellShows(w, 4, 1, type));       // "int"
  EXPECT_TRUE(cellShows(w, 4, 5, text));       // "main"
  EXPECT_TRUE(cellShows(w, 5, 3, keyword));    // "const"
  EXPECT_TRUE(cellShows(w, 5, 9, type));       // "char"
  EXPECT_TRUE(cellShows(w, 5, 21, string));    // "say"
  EXPECT_TRUE(cellShows(w, 5, 26, string));    // "hi", after an escaped quote
  EXPECT_TRUE(cellShows(w, 5, 31, text));      // ";" after the string
  EXPECT_TRUE(cellShows(w, 6, 14, character)); // the escaped quote of '\''
  EXPECT_TRUE(cellShows(w, 7, 3, keyword));    // "return"
  EXPECT_FALSE(cellShows(w, 7, 3, text));
  EXPECT_TRUE(cellShows(w, 7, 16, comment));   // "done"
  EXPECT_EQ(at(w, 7, 16), normal);             // the comment has no background of its own
  osk::drive::saveWindowPicture(w, std::string(dir) + "\\editor_syntax.bmp");

  // Highlighting off: the same cells in the normal text colour.
  o.word[ECD_OPT_SYNTAX_HIGHLIGHT] = 0;
  ECD_fvSetSystemOptions(&o);
  InvalidateRect(w, nullptr, FALSE);
  UpdateWindow(w);
  EXPECT_TRUE(cellShows(w, 7, 3, text));
  EXPECT_FALSE(cellShows(w, 7, 3, keyword));
}

TEST_F(PaintTest, ScrollingByMovingTheContentsPaintsLikeAFullRepaint) {
  EcdSystemOptions o{};
  o.word[ECD_OPT_DC_SCROLLING] = 1;
  o.word[ECD_OPT_SHOW_LINE_NUMBERS] = 1;
  ECD_fvSetSystemOptions(&o);
  HWND w = newEditor(0, 0, 600, 300);
  emptyBufferIn(w);
  ASSERT_EQ(SetCurEdWindow(w), 1);
  std::string text;
  for (int i = 1; i <= 60; ++i) text += "line " + std::to_string(i) + "\n";
  ASSERT_EQ(WriteString(text.c_str()), 1);
  for (int32_t line : {5, 9}) ASSERT_EQ(SetLineProp(line, 1), 1);
  int32_t top[2] = {1, 1};
  ASSERT_EQ(SendMessageA(w, ECD_SCROLL_TO, 0, reinterpret_cast<LPARAM>(top)), 0);
  UpdateWindow(w);
  SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
  SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
  UpdateWindow(w);
  const COLORREF normal = GetSysColor(COLOR_WINDOW), bookmark = RGB(200, 200, 200);
  for (int32_t line = 3; line <= 12; ++line) {
    const bool marked = line == 5 || line == 9;
    EXPECT_EQ(at(w, line, 20), marked ? bookmark : normal) << "line " << line;
  }
  // Scrolling right by one cell hides the gutter: the bookmark colour starts at the left edge.
  SendMessageA(w, WM_HSCROLL, SB_LINEDOWN, 0);
  UpdateWindow(w);
  EXPECT_EQ(at(w, 5, 2), bookmark);
  EXPECT_EQ(at(w, 6, 2), normal);
  HDC dc = GetDC(w);
  RECT cell{};
  ASSERT_EQ(GetCellRect(5, 2, reinterpret_cast<tagRECT*>(&cell)), 1);
  EXPECT_EQ(cell.left, 0);
  EXPECT_EQ(GetPixel(dc, 1, cell.bottom - 1), bookmark);
  ReleaseDC(w, dc);
}

}  // namespace
