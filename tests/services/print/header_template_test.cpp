// Header and footer templates: every code, the order they are tried in, and where text goes.
#include <gtest/gtest.h>

#include "services/print/header_template.h"

namespace osk::print {
namespace {

TemplateValues values() {
  TemplateValues v;
  v.path = "C:\\src\\main.c";
  v.printDate = "07/12/2026";
  v.printDateLong = "Monday December 07 2026";
  v.printTime = "18:5:3";
  v.fileDate = "01/02/2025";
  v.fileDateLong = "Saturday February 01 2025";
  v.fileTime = "9:0:0";
  return v;
}

TEST(HeaderTemplateTest, JustifyCodesSendTextToTheirParts) {
  EXPECT_EQ(expandTemplate("&LJustify&File&RJustify&Page", 3, values()), (TemplateLine{"main.c", "3", ""}));
  EXPECT_EQ(expandTemplate("before &CJustify middle &RJustify right &LJustify more", 1, values()),
            (TemplateLine{"before  more", " right ", " middle "}));
}

TEST(HeaderTemplateTest, EveryCodeIsReplaced) {
  EXPECT_EQ(expandTemplate("&Page|&File|&PDate|&PTime|&FDate|&FTime|&Path|&LPDate|&LFDate", 12, values()).left,
            "12|main.c|07/12/2026|18:5:3|01/02/2025|9:0:0|C:\\src\\main.c|Monday December 07 2026|"
            "Saturday February 01 2025");
}

TEST(HeaderTemplateTest, CodesArePrefixesTriedInOrderAndCaseSensitive) {
  EXPECT_EQ(expandTemplate("&Pages", 4, values()).left, "4s");
  EXPECT_EQ(expandTemplate("&page &FILE", 4, values()).left, "&page &FILE");
  EXPECT_EQ(expandTemplate("&&Page&", 2, values()).left, "&2&");
  EXPECT_TRUE(expandTemplate("&CJustify&RJustify", 1, values()).empty());
}

TEST(HeaderTemplateTest, FileNameIsThePathAfterItsLastSeparator) {
  TemplateValues v;
  v.path = "plain.txt";
  EXPECT_EQ(expandTemplate("&File", 1, v).left, "plain.txt");
  v.path = "C:\\dir\\";
  EXPECT_EQ(expandTemplate("&File", 1, v).left, "");
}

}  // namespace
}  // namespace osk::print
