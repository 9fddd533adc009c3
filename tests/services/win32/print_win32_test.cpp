// Printing through OSKOCS32.dll as the program does it: the engine writes a C file's print stream with syntax
// colours through message 1066, and the services print it on a PostScript printer on the port "FILE:" installed
// in the test prefix, or preview it in a window. The PostScript files stay in the test folder for the text checks
// that follow this program; the preview is kept as a picture.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/file_printer.h"
#include "engine/ecd_api.h"
#include "engine/lang/colour_api.h"
#include "services/win32/ocs_api.h"
#include "tests/services/win32/test_frame.h"

namespace {

using osk::test::programDirectory;


// ---- Dialogs: message boxes are recorded and closed; file dialogs get g_saveAs; the print dialog prints to a
// file; the "Printing" dialog is cancelled when g_cancelPrinting is set. ----

std::vector<std::string> g_boxes;
std::set<HWND> g_answered;
std::string g_saveAs;
bool g_cancelPrinting = false;
int g_printDialogs = 0;
std::pair<int, int> g_pageRange;   // pages chosen in the print dialog; 0 for all
HHOOK g_hook = nullptr;

BOOL CALLBACK collectText(HWND child, LPARAM out) {
  char cls[32] = {}, text[256] = {};
  GetClassNameA(child, cls, sizeof cls);
  GetWindowTextA(child, text, sizeof text);
  if (lstrcmpiA(cls, "Static") == 0 && text[0]) *reinterpret_cast<std::string*>(out) += text;
  return TRUE;
}

LRESULT CALLBACK dialogHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char cls[32] = {}, caption[64] = {};
    GetClassNameA(box, cls, sizeof cls);
    GetWindowTextA(box, caption, sizeof caption);
    if (std::strcmp(cls, "#32770") == 0 && g_answered.insert(box).second) {
      if (std::strcmp(caption, "Printing") == 0) {
        if (g_cancelPrinting) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      } else if (GetDlgItem(box, 0x410) && GetDlgItem(box, 0x420)) {   // the print dialog: "Print to file", "All"
        ++g_printDialogs;
        if (g_pageRange.first) {
          CheckRadioButton(box, 0x420, 0x422, 0x422);
          SetDlgItemInt(box, 0x480, static_cast<UINT>(g_pageRange.first), FALSE);
          SetDlgItemInt(box, 0x481, static_cast<UINT>(g_pageRange.second), FALSE);
        }
        CheckDlgButton(box, 0x410, BST_CHECKED);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      } else if (GetDlgItem(box, 0x47c) || GetDlgItem(box, 0x480)) {   // a file dialog
        SetDlgItemTextA(box, GetDlgItem(box, 0x47c) ? 0x47c : 0x480, g_saveAs.c_str());
        PostMessageA(box, WM_COMMAND, g_saveAs.empty() ? IDCANCEL : IDOK, 0);
      } else {
        std::string text;
        EnumChildWindows(box, collectText, reinterpret_cast<LPARAM>(&text));
        g_boxes.push_back(std::string(caption) + "|" + text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    }
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The test prefix's PostScript printer on "FILE:", made the default printer (the scenarios' driver installs it).
bool installPostScriptPrinter() { return osk::drive::installFilePrinter(); }

HWND g_frame = nullptr;
std::vector<std::pair<UINT, LPARAM>> g_parentMessages;

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == OCS_MSG_PREVIEW_LAYOUT) g_parentMessages.emplace_back(message, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

class PrintEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = frameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OSK32 print test frame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    g_frame = CreateWindowA(wc.lpszClassName, "OSK", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                            nullptr, wc.hInstance, nullptr);
    ASSERT_NE(g_frame, nullptr);
    ASSERT_EQ(ECD_flInitialise(g_frame, nullptr, nullptr, nullptr, nullptr), 0);
    ASSERT_GT(ECD_fuGetSyntaxColourCount(), 0u) << "the syntax file beside the engine was not read";
    ASSERT_TRUE(installPostScriptPrinter()) << GetLastError();
    g_hook = SetWindowsHookExA(WH_CBT, dialogHook, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    UnhookWindowsHookEx(g_hook);
    ECD_flTerminate();
    DestroyWindow(g_frame);
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new PrintEnvironment);

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    g_cancelPrinting = false;
    g_parentMessages.clear();
    g_saveAs.clear();
    g_printDialogs = 0;
    g_pageRange = {0, 0};
    dir_ = programDirectory();
    ini_ = dir_ + "\\print_test.ini";
    DeleteFileA(ini_.c_str());
    source_ = dir_ + "\\sample.c";
    std::ofstream(source_, std::ios::binary) << osk::drive::printSample();
    instance_ = OCS_CreateInstance(g_frame, ini_.c_str());
    ASSERT_NE(instance_, nullptr);
    EcdSystemOptions o{};
    o.word[ECD_OPT_SYNTAX_HIGHLIGHT] = 1;
    ECD_fvSetSystemOptions(&o);
  }
  void TearDown() override {
    OCS_DestroyInstance(instance_);
    if (editor_) DestroyWindow(editor_);
    if (buffer_) ECD_flCloseBuffer(buffer_);
  }

  void option(const char* key, const char* value) {
    WritePrivateProfileStringA("Print Options", key, value, ini_.c_str());
  }

  // The engine writes the stream of the sample file, as the program's print commands have it do.
  std::string writeStream(const std::string& name) {
    if (!editor_) {
      editor_ = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD, 0, 0, 300, 200, g_frame, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
      EcdOpenRecord r{};
      r.fileName = source_.c_str();
      r.undoCapacity = 100;
      r.tabLength = 8;
      r.flags = ECD_OPEN_READ | ECD_OPEN_VSCROLL | ECD_OPEN_ALLOW_DUPLICATE;
      EXPECT_EQ(SendMessageA(editor_, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&r)), 0);
      buffer_ = r.buffer;
    }
    const std::string stream = dir_ + "\\" + name;
    struct {
      const char* caption;
      const char* fileName;
      int32_t selectionOnly;
    } request{nullptr, stream.c_str(), 0};
    EXPECT_EQ(SendMessageA(editor_, ECD_PRINT_STREAM, 0, reinterpret_cast<LPARAM>(&request)), 0);
    return stream;
  }

  std::string output(const char* name) {
    const std::string path = dir_ + "\\" + name;
    DeleteFileA(path.c_str());
    g_saveAs = path;
    return path;
  }

  std::string dir_, ini_, source_;
  HOCSINSTANCE instance_ = nullptr;
  HWND editor_ = nullptr;
  HEDBUFFER buffer_ = nullptr;
};

TEST_F(PrintTest, AColouredCFilePrintsInTwoColumnsWithHeaderFooterAndNumbers) {
  option("Header", "&LJustify&File&RJustify&Page");
  option("Footer", "&CJustifyFooter of &File");
  option("LineNumbers", "1");
  option("Start", "10");
  option("Step", "5");
  option("NumColumns", "2");
  option("WrapOption", "1");
  const std::string out = output("print_two_columns.ps");
  ASSERT_EQ(OCS_StartPrint(instance_, 1), 1);
  EXPECT_EQ(g_printDialogs, 1);
  const std::string stream = writeStream("print_stream.prn");
  ASSERT_NE(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_FALSE(exists(stream)) << "the services delete the stream file";
  const std::string ps = readFile(out);
  ASSERT_FALSE(ps.empty());
  const size_t pages = osk::drive::pagesIn(out);
  EXPECT_GE(pages, 2u);
  EXPECT_LE(pages, 4u);
  EXPECT_NE(ps.find("%%Pages: " + std::to_string(pages)), std::string::npos);
  // The comments' green, RGB(0, 128, 0), as a colour operator.
  EXPECT_NE(ps.find("0.00 0.50 0.00 setrgbcolor"), std::string::npos) << "no green comment colour";
  std::ofstream(dir_ + "\\print_two_columns.pages") << pages;
}

TEST_F(PrintTest, APrinterOnFileAsksWhereTheOutputGoes) {
  const std::string out = output("print_default.ps");
  ASSERT_EQ(OCS_StartPrint(instance_, 0), 1);
  const std::string stream = writeStream("print_stream.prn");
  ASSERT_NE(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  const size_t pages = osk::drive::pagesIn(out);   // 240 lines, about 60 a page
  EXPECT_GE(pages, 3u);
  EXPECT_LE(pages, 5u);
}

TEST_F(PrintTest, APageRangePrintsThosePagesAndARangeBeyondTheDocumentIsReported) {
  const std::string out = output("print_page_two.ps");
  g_pageRange = {2, 2};
  ASSERT_EQ(OCS_StartPrint(instance_, 1), 1);
  std::string stream = writeStream("print_stream.prn");
  ASSERT_NE(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  EXPECT_EQ(osk::drive::pagesIn(out), 1u);
  EXPECT_TRUE(g_boxes.empty());

  output("print_beyond.ps");
  g_pageRange = {50, 60};
  ASSERT_EQ(OCS_StartPrint(instance_, 1), 1);
  stream = writeStream("print_stream.prn");
  EXPECT_EQ(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].rfind("OSK|The pages chosen are not in the document, which has ", 0), 0u) << g_boxes[0];
  EXPECT_FALSE(exists(stream));
}

TEST_F(PrintTest, CancelInThePrintingDialogAbortsTheJob) {
  output("print_cancelled.ps");
  ASSERT_EQ(OCS_StartPrint(instance_, 0), 1);
  const std::string stream = writeStream("print_stream.prn");
  g_cancelPrinting = true;
  EXPECT_EQ(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  EXPECT_TRUE(g_boxes.empty()) << g_boxes.front();
  EXPECT_FALSE(exists(stream));
}

TEST_F(PrintTest, MarginsLargerThanThePageAreReportedAndNothingPrints) {
  option("PageLeftMargin", "400");
  option("PageRightMargin", "400");
  const std::string out = output("print_no_room.ps");
  ASSERT_EQ(OCS_StartPrint(instance_, 0), 1);
  const std::string stream = writeStream("print_stream.prn");
  EXPECT_EQ(OCS_Print(instance_, source_.c_str(), 1700000000, stream.c_str()), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|The page margins leave no room to print on the page.");
  EXPECT_FALSE(exists(stream));
  EXPECT_FALSE(exists(out));
}

TEST_F(PrintTest, AMissingStreamFileIsReported) {
  output("print_missing.ps");
  ASSERT_EQ(OCS_StartPrint(instance_, 0), 1);
  EXPECT_EQ(OCS_Print(instance_, source_.c_str(), 0, (dir_ + "\\no_such_stream.prn").c_str()), 0);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Could not read the text to print.");
}

// The options dialog shows the stored options and writes back what it shows: OK without changes keeps them.
TEST_F(PrintTest, TheOptionsDialogKeepsTheOptionsItShows) {
  option("Header", "&LJustify&File&RJustify&Page");
  option("NumColumns", "2");
  option("WrapOption", "2");
  option("Start", "-4");
  WritePrivateProfileStringA("PrtFonts", "Comment Face", std::string(40, 'F').c_str(), ini_.c_str());
  EXPECT_EQ(OCS_PrintSettingsDlg(instance_, g_frame), 1);
  ASSERT_EQ(g_boxes.size(), 1u) << "the sheet alone, with no message";
  char text[256] = {};
  GetPrivateProfileStringA("Print Options", "Header", "", text, sizeof text, ini_.c_str());
  EXPECT_STREQ(text, "&LJustify&File&RJustify&Page");
  EXPECT_EQ(GetPrivateProfileIntA("Print Options", "NumColumns", 0, ini_.c_str()), 2u);
  EXPECT_EQ(GetPrivateProfileIntA("Print Options", "WrapOption", 0, ini_.c_str()), 2u);
  GetPrivateProfileStringA("Print Options", "Start", "", text, sizeof text, ini_.c_str());
  EXPECT_STREQ(text, "-4");
  // The classes were written under their names, the over-long face replaced.
  GetPrivateProfileStringA("PrtFonts", "Comment Face", "", text, sizeof text, ini_.c_str());
  EXPECT_STREQ(text, "Arial");
  EXPECT_EQ(GetPrivateProfileIntA("PrtColours3", "Normal Text", 7, ini_.c_str()), 1u);
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

TEST_F(PrintTest, ThePreviewPagesAndZoomsInsideItsWindow) {
  option("Header", "&LJustify&File&RJustify&Page");
  option("LineNumbers", "1");
  const std::string stream = writeStream("preview_stream.prn");
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 0);   // no preview yet
  HWND host = CreateWindowA("OSK32 print test frame", "Print Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 780,
                            560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_EQ(OCS_CreatePrintPreviewWindow(instance_, host, source_.c_str(), 1700000000, stream.c_str()), 1);
  EXPECT_TRUE(exists(stream)) << "the preview leaves the stream file to its owner";
  HWND control = GetDlgItem(host, OCS_PREVIEW_CONTROL_ID);
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(g_parentMessages.size(), 1u);
  EXPECT_EQ(g_parentMessages[0].second, reinterpret_cast<LPARAM>(control));
  EXPECT_EQ(OCS_GetPositionConstraint(instance_, control, nullptr), 26);

  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_PREVIOUS_PAGE), 0);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 1);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_ZOOM_OUT), 0);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_SINGLE_PAGE), 0);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_DOUBLE_PAGE), 1);
  EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 1);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_PREVIOUS_PAGE), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_ZOOM_IN), 1);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_ZOOM_IN), 0);
  EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_ZOOM_IN), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_ZOOM_OUT), 1);
  EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_PREVIOUS_PAGE), 1);
  EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_DOUBLE_PAGE), 1);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_SINGLE_PAGE), 1);
  UpdateWindow(control);
  pump();
  osk::drive::saveWindowPicture(control, dir_ + "\\print_preview.bmp", true);

  // The pages are drawn: dark text on the white sheet.
  HDC dc = GetDC(control);
  RECT client;
  GetClientRect(control, &client);
  int dark = 0;
  for (LONG y = 0; y < client.bottom; y += 2) {
    for (LONG x = 0; x < client.right / 2; x += 2) dark += GetPixel(dc, x, y) == RGB(0, 0, 0) ? 1 : 0;
  }
  ReleaseDC(control, dc);
  EXPECT_GT(dark, 50);

  DestroyWindow(host);
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 0);
  EXPECT_EQ(OCS_PrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 0);
  EXPECT_EQ(OCS_GetPositionConstraint(instance_, control, nullptr), 0);
  EXPECT_TRUE(g_boxes.empty());
  DeleteFileA(stream.c_str());
}

TEST_F(PrintTest, ANewPreviewReplacesTheOldAndTheInstanceTakesItsPreviewAlong) {
  const std::string stream = writeStream("preview_stream.prn");
  HWND host = CreateWindowA("OSK32 print test frame", "Print Preview", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_EQ(OCS_CreatePrintPreviewWindow(instance_, host, source_.c_str(), 0, stream.c_str()), 1);
  HWND first = GetDlgItem(host, OCS_PREVIEW_CONTROL_ID);
  ASSERT_EQ(OCS_CreatePrintPreviewWindow(instance_, host, source_.c_str(), 0, stream.c_str()), 1);
  HWND second = GetDlgItem(host, OCS_PREVIEW_CONTROL_ID);
  EXPECT_FALSE(IsWindow(first));
  ASSERT_TRUE(IsWindow(second));
  EXPECT_EQ(OCS_TestPrintPreviewOperation(instance_, OCS_PREVIEW_NEXT_PAGE), 1);
  // A preview without a stream file is refused, and the one before is gone.
  EXPECT_EQ(OCS_CreatePrintPreviewWindow(instance_, host, source_.c_str(), 0, (dir_ + "\\missing.prn").c_str()), 0);
  EXPECT_FALSE(IsWindow(second));
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "OSK|Could not read the text to print.");
  ASSERT_EQ(OCS_CreatePrintPreviewWindow(instance_, host, source_.c_str(), 0, stream.c_str()), 1);
  HWND third = GetDlgItem(host, OCS_PREVIEW_CONTROL_ID);
  OCS_DestroyInstance(instance_);
  instance_ = nullptr;
  EXPECT_FALSE(IsWindow(third));
  DestroyWindow(host);
  DeleteFileA(stream.c_str());
}

}  // namespace
