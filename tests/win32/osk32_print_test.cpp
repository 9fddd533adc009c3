// The program's print commands driven as a user drives them: Print on a PostScript printer on the port "FILE:"
// (installed in the test prefix) with the print dialog and the output file answered, the question about a mark,
// and the print preview paged, zoomed and closed. The program's temporary folder is the scratch folder, so that
// the temporary print files it makes can be counted.
//
// The two-column job is left in osk32_print\ beside the test for the Ghostscript text check that follows; a
// picture of the open preview is kept as osk32_preview.bmp.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/file_printer.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// The temporary print files the program has in its temporary folder (the scratch folder).
size_t printFilesIn(const Scratch& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(folder.pathOf("prn*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  size_t count = 0;
  do {
    ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// Answers the print dialog with OK and the output file's dialog with `output`, then waits for the job to end.
bool printTo(const Program& program, const std::string& output) {
  return answerPrintDialogs(program, output) && waitForPrintedFile(program, output, 60s);
}

void writeOption(const std::string& ini, const char* key, const char* value) {
  WritePrivateProfileStringA("Print Options", key, value, ini.c_str());
}

// The pixels of a window as the screen shows it.
std::vector<uint32_t> pixelsOf(HWND window) {
  RECT area;
  GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

class OSK32Print : public Scenario {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(installFilePrinter()) << GetLastError(); }

  void SetUp() override {
    // The program inherits the temporary folder: its print files land where the test can count them. The next
    // test's scratch folder is made in the usual one again.
    for (const char* name : {"TEMP", "TMP"}) {
      char value[MAX_PATH + 1] = {};
      GetEnvironmentVariableA(name, value, sizeof value);
      saved_.emplace_back(name, value);
      SetEnvironmentVariableA(name, folder.path().c_str());
    }
    source_ = folder.write("sample.c", printSample());
  }
  void TearDown() override {
    Scenario::TearDown();
    for (const auto& [name, value] : saved_) SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
  }

  std::string ini() const { return folder.pathOf("osk.ini"); }

  std::string source_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(OSK32Print, PrintSendsTheCFileToThePrinterInTwoColumnsWithHeaderFooterAndNumbers) {
  writeOption(ini(), "Header", "&LJustify&File&RJustify&Page");
  writeOption(ini(), "Footer", "&CJustifyFooter of &File");
  writeOption(ini(), "LineNumbers", "1");
  writeOption(ini(), "Start", "10");
  writeOption(ini(), "Step", "5");
  writeOption(ini(), "NumColumns", "2");
  writeOption(ini(), "WrapOption", "1");
  const std::string outputFolder = programFolder() + "osk32_print";
  CreateDirectoryA(outputFolder.c_str(), nullptr);
  const std::string output = outputFolder + "\\print_two_columns.ps";
  DeleteFileA(output.c_str());

  ASSERT_TRUE(start("sample.c", 1));
  program().command(numberOf("Print"));
  ASSERT_TRUE(printTo(program(), output));

  const std::string ps = readFile(output);
  const size_t pages = pagesIn(output);
  EXPECT_GE(pages, 2u);
  EXPECT_LE(pages, 4u);
  EXPECT_NE(ps.find("%%Pages: " + std::to_string(pages)), std::string::npos);
  // The comments' green, RGB(0, 128, 0): the engine wrote the stream with its syntax colours.
  EXPECT_NE(ps.find("0.00 0.50 0.00 setrgbcolor"), std::string::npos) << "no green comment colour";
  EXPECT_TRUE(waitFor([&] { return printFilesIn(folder) == 0; }, 10s)) << "the temporary print file outlived the job";
  std::ofstream(outputFolder + "\\print_two_columns.pages") << pages;
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Print, WithAMarkTheUserChoosesAndCancelPrintsNothing) {
  ASSERT_TRUE(start("sample.c", 1));
  program().press({{VK_DOWN, true}, {VK_DOWN, true}, {VK_DOWN, true}});   // the first three lines marked

  program().command(numberOf("Print"));
  EXPECT_EQ(answerBox(program(), IDCANCEL), "Print selection only?");
  program().settle();
  EXPECT_TRUE(program().dialogs().empty()) << "Cancel went on to the print dialog";
  EXPECT_EQ(printFilesIn(folder), 0u);

  // Yes: the three lines alone, one page where the whole file takes several.
  const std::string output = folder.pathOf("mark.ps");
  program().command(numberOf("Print"));
  EXPECT_EQ(answerBox(program(), IDYES), "Print selection only?");
  ASSERT_TRUE(printTo(program(), output));
  EXPECT_EQ(pagesIn(output), 1u);

  // No: the whole document.
  const std::string whole = folder.pathOf("whole.ps");
  program().command(numberOf("Print"));
  EXPECT_EQ(answerBox(program(), IDNO), "Print selection only?");
  ASSERT_TRUE(printTo(program(), whole));
  EXPECT_GE(pagesIn(whole), 3u);
  EXPECT_TRUE(waitFor([&] { return printFilesIn(folder) == 0; }, 10s));

  // Print Setup opens the print options over the frame.
  HWND options = openDialog(program(), "PrintSetup", "Print Options");
  ASSERT_NE(options, nullptr);
  EXPECT_TRUE(program().answer(options, IDCANCEL));
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Print, APreviewThatCannotBeLaidOutLeavesTheDocumentsAsTheyWere) {
  writeOption(ini(), "PageLeftMargin", "400");
  writeOption(ini(), "PageRightMargin", "400");
  ASSERT_TRUE(start("sample.c", 1));
  HWND document = program().activeDocument();
  program().command(numberOf("PrintPreview"));
  EXPECT_EQ(answerBox(program(), IDOK), "The page margins leave no room to print on the page.");
  EXPECT_TRUE(waitFor([&] { return FindWindowExA(program().mdiClient(), nullptr, "PPCHILD", nullptr) == nullptr; }));
  EXPECT_TRUE(waitFor([&] { return program().activeDocument() == document; }));
  EXPECT_TRUE(GetWindowLongA(document, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(waitFor([&] { return printFilesIn(folder) == 0; }, 5s));
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Print, ThePreviewOpensMaximisedPagesZoomsAndClosingBringsTheDocumentsBack) {
  folder.write("notes.txt", "a second document\r\n");
  ASSERT_TRUE(start("notes.txt sample.c", 2));
  HWND frame = program().frame();
  HWND client = program().mdiClient();
  HWND sampleDocument = program().activeDocument();
  ASSERT_NE(program().activeTitle().find("sample.c"), std::string::npos) << program().activeTitle();
  HMENU normalMenu = GetMenu(frame);

  program().command(numberOf("PrintPreview"));
  HWND preview = nullptr;
  ASSERT_TRUE(waitFor([&] { return (preview = FindWindowExA(client, nullptr, "PPCHILD", nullptr)) != nullptr; }));
  EXPECT_TRUE(waitFor([&] { return IsZoomed(preview) != FALSE; }));
  EXPECT_EQ(windowText(preview), "Print Preview");
  EXPECT_EQ(program().activeDocument(), preview);
  EXPECT_TRUE(waitFor([&] {
    for (HWND document : program().documents()) {
      if (GetWindowLongA(document, GWL_STYLE) & WS_VISIBLE) return false;
    }
    return true;
  })) << "the documents stay shown behind the preview";
  EXPECT_TRUE(waitFor([&] { return GetMenu(frame) != normalMenu && GetMenu(frame) != nullptr; }));
  EXPECT_EQ(printFilesIn(folder), 1u) << "the preview reads its own temporary file";
  HWND pages = GetDlgItem(preview, 32);
  ASSERT_NE(pages, nullptr);
  RECT inner{}, outer{};
  GetClientRect(pages, &inner);
  GetClientRect(preview, &outer);
  EXPECT_EQ(inner.right, outer.right);
  EXPECT_EQ(inner.bottom, outer.bottom);

  // Each command changes what the preview shows, and its opposite brings the same picture back.
  program().settle();
  std::vector<uint32_t> first;
  ASSERT_TRUE(waitFor([&] {
    const auto now = pixelsOf(pages);
    const bool steady = !now.empty() && now == first;
    first = now;
    return steady;
  }, 10s));
  const auto shows = [&](bool same) {
    return waitFor([&] { return (pixelsOf(pages) == first) == same; }, 10s);
  };
  program().command(numberOf("PPNextPage"));
  EXPECT_TRUE(shows(false)) << "next page showed nothing new";
  program().command(numberOf("PPPrevPage"));
  EXPECT_TRUE(shows(true)) << "previous page did not come back to the first";
  program().command(numberOf("PPZoomIn"));
  EXPECT_TRUE(shows(false)) << "zoom in changed nothing";
  program().command(numberOf("PPZoomOut"));
  EXPECT_TRUE(shows(true));
  program().command(numberOf("PPDoublePage"));
  EXPECT_TRUE(shows(false)) << "two pages look like one";
  saveScreen(programFolder() + "osk32_preview.bmp");
  program().command(numberOf("PPSinglePage"));
  EXPECT_TRUE(shows(true));

  // Esc is the preview's own key: it closes it.
  program().press({{VK_ESCAPE}});
  EXPECT_TRUE(waitFor([&] { return !IsWindow(preview); }));
  EXPECT_TRUE(waitFor([&] {
    for (HWND document : program().documents()) {
      if (!(GetWindowLongA(document, GWL_STYLE) & WS_VISIBLE)) return false;
    }
    return true;
  })) << "a document stayed hidden";
  EXPECT_EQ(program().activeDocument(), sampleDocument);
  EXPECT_NE(GetMenu(frame), nullptr);
  EXPECT_EQ(printFilesIn(folder), 0u);

  // A file handed over by a second copy opens among the documents: the preview closes first.
  program().command(numberOf("PrintPreview"));
  ASSERT_TRUE(waitFor([&] { return FindWindowExA(client, nullptr, "PPCHILD", nullptr) != nullptr; }));
  folder.write("later.txt", "opened while the preview showed\r\n");
  {
    Program second(folder, "/i later.txt");
    ASSERT_TRUE(second.started());
    EXPECT_TRUE(second.waitForEnd());
  }
  EXPECT_TRUE(program().waitForDocuments(3));
  EXPECT_TRUE(waitFor([&] { return FindWindowExA(client, nullptr, "PPCHILD", nullptr) == nullptr; }));
  EXPECT_NE(program().activeTitle().find("later.txt"), std::string::npos) << program().activeTitle();
  EXPECT_TRUE(waitFor([&] { return printFilesIn(folder) == 0; }, 5s));

  // Closing the program with a preview open leaves no temporary file either.
  program().command(numberOf("PrintPreview"));
  ASSERT_TRUE(waitFor([&] { return FindWindowExA(client, nullptr, "PPCHILD", nullptr) != nullptr; }));
  EXPECT_EQ(printFilesIn(folder), 1u);
  EXPECT_TRUE(program().close());
  EXPECT_EQ(printFilesIn(folder), 0u);
}

}  // namespace
}  // namespace osk::drive
