// The services' helpers for the program's files and drawing, through the library's exports: bounded buffers,
// names completed from a filter in a real folder, long and short forms of a real file's name, and a split bar drawn
// in the button-face colour.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "services/win32/ocs_file_api.h"

namespace {

std::string scratchFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "osk_file_helpers_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

TEST(FileHelpers, DisplayablePathsFitTheirBuffers) {
  char shown[65];
  OCS_fvGetDisplayablePath("C:\\projects\\editor\\engine\\store\\line.cpp", 30, shown, sizeof shown);
  EXPECT_STREQ(shown, "C:\\...\\engine\\store\\line.cpp");
  // A buffer smaller than the limit cuts the text to the buffer.
  char small[8];
  OCS_fvGetDisplayablePath("C:\\projects\\editor\\engine\\store\\line.cpp", 64, small, sizeof small);
  EXPECT_EQ(std::string(small).size(), 7u);
  OCS_fvGetDisplayablePath(nullptr, 64, shown, sizeof shown);
  EXPECT_STREQ(shown, "");
  OCS_fvGetDisplayablePath("C:\\a.txt", 64, nullptr, 10);   // nothing to write to: nothing happens
}

TEST(FileHelpers, OpenNamesAreCompletedInTheGivenFolderWithinTheirBuffer) {
  const std::string folder = scratchFolder();
  const std::string file = folder + "\\main.c";
  HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);

  char name[16] = "main";
  EXPECT_EQ(OCS_AmendOpenFile(folder.c_str(), "*.c;*.h", name, sizeof name), 1);
  EXPECT_STREQ(name, "main.c");
  char other[16] = "main";
  EXPECT_EQ(OCS_AmendOpenFile(folder.c_str(), "*.h", other, sizeof other), 0);
  EXPECT_STREQ(other, "main");
  // A full name needs no folder.
  char full[MAX_PATH] = {};
  lstrcpynA(full, (folder + "\\main").c_str(), sizeof full);
  EXPECT_EQ(OCS_AmendOpenFile(nullptr, "*.c", full, sizeof full), 1);
  EXPECT_EQ(std::string(full), file);
  // No room for the extension, or a name that does not end within its buffer: left alone.
  char tight[5] = "main";
  EXPECT_EQ(OCS_AmendOpenFile(folder.c_str(), "*.c", tight, sizeof tight), 0);
  EXPECT_STREQ(tight, "main");
  char unterminated[4] = {'m', 'a', 'i', 'n'};
  EXPECT_EQ(OCS_AmendOpenFile(folder.c_str(), "*.c", unterminated, sizeof unterminated), 0);
  EXPECT_EQ(OCS_AmendOpenFile(folder.c_str(), nullptr, name, sizeof name), 0);

  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(FileHelpers, ANameGoesToItsShortFormAndBackWithinItsBuffer) {
  const std::string folder = scratchFolder();
  const std::string file = folder + "\\a rather long name.text";
  HANDLE made = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(made, INVALID_HANDLE_VALUE);
  CloseHandle(made);

  char shortName[MAX_PATH + 1] = {};
  ASSERT_EQ(OCS_fbGetShortPathName(file.c_str(), shortName, sizeof shortName), 1);
  const std::string shortForm = shortName;
  EXPECT_NE(shortForm.find('~'), std::string::npos) << shortForm;
  EXPECT_EQ(shortForm.find(' '), std::string::npos) << shortForm;
  char longName[MAX_PATH + 1] = {};
  ASSERT_EQ(OCS_fbGetLongPathName(shortName, longName, sizeof longName), 1);
  EXPECT_EQ(lstrcmpiA(longName, file.c_str()), 0) << longName;

  // Too small a buffer, a missing file and no name leave the buffer as it was.
  char small[8] = "keep";
  EXPECT_EQ(OCS_fbGetLongPathName(shortName, small, sizeof small), 0);
  EXPECT_STREQ(small, "keep");
  EXPECT_EQ(OCS_fbGetLongPathName((folder + "\\NOSUCH~1.TXT").c_str(), small, sizeof small), 0);
  EXPECT_EQ(OCS_fbGetShortPathName(nullptr, small, sizeof small), 0);
  EXPECT_STREQ(small, "keep");
  DeleteFileA(file.c_str());
}

TEST(FileHelpers, ASplitBarIsButtonFaceWithALightAndADarkEdge) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 40, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const RECT bar{10, 0, 16, 40};   // a vertical bar, 6 pixels wide
  OCS_fvDrawSplitBar(dc, &bar, 1);
  const COLORREF face = GetNearestColor(dc, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPixel(dc, 12, 20), face);
  EXPECT_NE(GetPixel(dc, 10, 20), GetPixel(dc, 15, 20)) << "a raised edge: light on one side, dark on the other";
  EXPECT_EQ(GetPixel(dc, 9, 20), RGB(0, 0, 0)) << "nothing outside the bar";
  EXPECT_EQ(GetPixel(dc, 16, 20), RGB(0, 0, 0));
  // Empty rectangles and missing arguments draw nothing.
  const RECT empty{20, 20, 20, 30};
  OCS_fvDrawSplitBar(dc, &empty, 0);
  OCS_fvDrawSplitBar(nullptr, &bar, 0);
  OCS_fvDrawSplitBar(dc, nullptr, 0);
  EXPECT_EQ(GetPixel(dc, 20, 25), RGB(0, 0, 0));

  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
