// The text commands driven with real keys and menu items: bookmarks that lead into another document window,
// Goto, dates, bracket matching by syntax colour, Outdent, Clear Mark and case. Results are read from the saved
// files and the status bar.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "scenario_helpers.h"

namespace osk::drive {
namespace {

constexpr int kGotoLineField = 8001;

Key ctrl(WORD vk, bool shift = false) { return {vk, shift, true}; }

// The date pictures of the user's profile, set for the test and put back afterwards.
class DatePictures {
 public:
  DatePictures() {
    GetProfileStringA("intl", "sShortDate", "", shortDate_, sizeof shortDate_);
    GetProfileStringA("intl", "sLongDate", "", longDate_, sizeof longDate_);
    WriteProfileStringA("intl", "sShortDate", "yyyy-MM-dd");
    WriteProfileStringA("intl", "sLongDate", "dddd d MMMM yyyy");
  }
  ~DatePictures() {
    WriteProfileStringA("intl", "sShortDate", shortDate_[0] ? shortDate_ : nullptr);
    WriteProfileStringA("intl", "sLongDate", longDate_[0] ? longDate_ : nullptr);
  }
  DatePictures(const DatePictures&) = delete;
  DatePictures& operator=(const DatePictures&) = delete;

  static std::string today(bool longForm) {
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::localtime(&now);
    char text[64] = {};
    if (longForm) {
      std::snprintf(text, sizeof text, "%s %d %s %d", days[t->tm_wday], t->tm_mday, months[t->tm_mon], t->tm_year + 1900);
    } else {
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", t->tm_year + 1900, t->tm_mon + 1, t->tm_mday);
    }
    return text;
  }

 private:
  char shortDate_[64] = {};
  char longDate_[64] = {};
};

class OSK32Text : public Scenario {};

TEST_F(OSK32Text, BookmarksLeadIntoAnotherWindowAndGotoAndDatesTypeWhereTheCaretIs) {
  folder.writeLines("a.txt", 6);
  folder.writeLines("b.txt", 6);
  DatePictures pictures;
  ASSERT_TRUE(start("a.txt b.txt", 2));
  const std::string first = program().activeTitle();
  const std::string marked = first.find("a.txt") != std::string::npos ? "a.txt" : "b.txt";
  const std::string other = marked == "a.txt" ? "b.txt" : "a.txt";

  program().press({{VK_DOWN}, {VK_DOWN}, ctrl(VK_F2)});   // a bookmark on line 3
  program().command(numberOf("NextWindow"));
  const auto showing = [&](const std::string& name) { return program().activeTitle().find(name) != std::string::npos; };
  ASSERT_TRUE(waitFor([&] { return showing(other); }, 5s));
  program().press({{VK_DOWN}, {VK_F2}});   // none in this file: the search goes on into the other window
  ASSERT_TRUE(waitFor([&] { return showing(marked); }, 5s)) << program().activeTitle();
  program().type("X");

  program().press({ctrl('G')});
  HWND dialog = program().waitForDialog("Go To Line");
  ASSERT_NE(dialog, nullptr);
  // OK follows the number as it is typed: only a line above 0 can be gone to.
  const auto typeLine = [&](const char* text) {
    setText(dialog, kGotoLineField, text);
    SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(kGotoLineField, CBN_EDITCHANGE),
                        reinterpret_cast<LPARAM>(control(dialog, kGotoLineField)), SMTO_NORMAL, 5000, nullptr);
    return IsWindowEnabled(control(dialog, IDOK)) != FALSE;
  };
  EXPECT_FALSE(typeLine("0"));
  EXPECT_TRUE(typeLine("5"));
  ASSERT_TRUE(program().answer(dialog, IDOK));
  program().type("G ");
  program().command(numberOf("ShortDate"));
  program().type(" ");
  program().command(numberOf("LongDate"));
  program().press({ctrl('S')});
  const std::string expected = "line 1 of " + marked + "\r\nline 2 of " + marked + "\r\nXline 3 of " + marked +
                               "\r\nline 4 of " + marked + "\r\nG " + DatePictures::today(false) + " " +
                               DatePictures::today(true) + "line 5 of " + marked + "\r\nline 6 of " + marked + "\r\n";
  EXPECT_TRUE(waitFor([&] { return folder.read(marked) == expected; }, 5s)) << folder.read(marked);

  // Clearing with mode 2 clears every window's bookmarks: nothing is left to find.
  program().press({ctrl(VK_F2, true), {VK_F2}});
  EXPECT_TRUE(waitFor([&] { return program().status() == "Bookmark not found within current scope"; }, 5s))
      << program().status();
  EXPECT_TRUE(showing(marked));
  EXPECT_EQ(folder.read(other).find("X"), std::string::npos);
  // Bookmarks are changes that Undo takes back, so both documents ask about saving: No to each.
  PostMessageA(program().frame(), WM_CLOSE, 0, 0);
  for (int i = 0; i < 2 && !program().waitForEnd(1s); ++i) {
    if (HWND question = program().waitForDialog("OSK", 5s)) program().answer(question, IDNO);
  }
  EXPECT_TRUE(program().waitForEnd(10s));
}

TEST_F(OSK32Text, BracketsPairByColourAndOutdentClearMarkAndCaseChangeTheText) {
  folder.write("osk.ini", "[Flags]\r\nTabLen=4\r\n");
  folder.write("t.c", "f(\")\", \"(a)\");\r\n      six\r\nabcdef\r\nupper me\r\n");
  ASSERT_TRUE(start("t.c", 1));

  program().press({{VK_RIGHT}, ctrl(VK_OEM_6)});   // the code's "(" pairs with the code's ")", not the string's
  program().type("#");
  program().press({{VK_HOME}});
  program().press({{VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}, {VK_RIGHT}});
  program().press({ctrl(VK_OEM_6)});   // inside the string: the ")" of the same string
  program().type("@");
  program().press({{VK_HOME}, ctrl(VK_OEM_6)});
  EXPECT_TRUE(waitFor([&] { return program().status() == "Caret must be over '<', '>', '(', ')', '[' or ']'"; }, 5s))
      << program().status();

  program().press({{VK_DOWN}});
  program().command(numberOf("Outdent"));   // six blanks, tab length 4: back to the tab stop at 4
  program().press({{VK_DOWN}, {VK_HOME}, {VK_RIGHT, true}, {VK_RIGHT, true}, {VK_RIGHT, true}});
  program().command(numberOf("FillMark", "\" \""));   // Clear Mark
  program().press({{VK_DOWN}, {VK_HOME}, {VK_END, true}, ctrl('U')});
  program().press({ctrl('S')});
  const std::string expected = "f(\")\", \"(a@)\"#);\r\n    six\r\n   def\r\nUPPER ME\r\n";
  EXPECT_TRUE(waitFor([&] { return folder.read("t.c") == expected; }, 5s)) << folder.read("t.c");
  EXPECT_TRUE(program().close());
}

}  // namespace
}  // namespace osk::drive
