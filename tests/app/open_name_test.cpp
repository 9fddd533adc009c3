#include "app/open_name.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(OpenName, LongNamesUnfoldTildesAndShortNamesFoldWhatIsTooLong) {
  // With long names only a name that may be a short form is converted.
  EXPECT_EQ(wantedNameForm("C:\\PROGRA~1\\NOTES~1.TXT", true), NameForm::kLong);
  EXPECT_EQ(wantedNameForm("C:\\Program Files\\notes file.text", true), NameForm::kAsGiven);
  EXPECT_EQ(wantedNameForm("", true), NameForm::kAsGiven);
  // Without them the base name counts up to 8 characters and the extension, dot included, up to 4; only the last
  // part of the path is measured.
  EXPECT_EQ(wantedNameForm("C:\\long folder name\\NOTES.TXT", false), NameForm::kAsGiven);
  EXPECT_EQ(wantedNameForm("C:\\src\\ABCDEFGH.C", false), NameForm::kAsGiven);
  EXPECT_EQ(wantedNameForm("C:\\src\\ABCDEFGHI.C", false), NameForm::kShort);
  EXPECT_EQ(wantedNameForm("C:\\src\\page.html", false), NameForm::kShort);
  EXPECT_EQ(wantedNameForm("D:README", false), NameForm::kAsGiven);
  EXPECT_EQ(wantedNameForm("src/makefile.in.old", false), NameForm::kShort);   // "makefile.in" is the base
  EXPECT_EQ(wantedNameForm("", false), NameForm::kAsGiven);
}

}  // namespace
}  // namespace osk::app
