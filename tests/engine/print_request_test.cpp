// Message 1066 through the editor window: the buffer, or its mark, written as a print stream with syntax colours.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "engine/lang/print_stream.h"
#include "engine/lang/syntax_data.h"
#include "test_syntax.h"
#include "view_fixture.h"

namespace osk::test {
namespace {


class PrintRequestTest : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(installTestSyntax());
  }
  void TearDown() override {
    ViewTest::TearDown();
    uninstallTestSyntax();
  }

  std::string print(FakeRecord& r, bool selectionOnly) {
    const std::string out = path("stream.prn");
    print::PrintRequest request{nullptr, out.c_str(), selectionOnly ? 1 : 0};
    EXPECT_EQ(r.printStream(&request), 0);
    std::ifstream in(out, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(PrintRequestTest, ColouredSegmentsFollowTheSyntaxWhenHighlightingIsOn) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open(write("code.c", "int x; /* note */\r\nplain\r\n"), ECD_OPEN_READ, &h), 0);
  FakeRecord& r = newWindow();
  r.attach(buffer(h), ECD_OPEN_VSCROLL);
  Engine::instance().options.word[ECD_OPT_SYNTAX_HIGHLIGHT] = 1;
  const std::string coloured = print(r, false);
  EXPECT_TRUE(std::regex_search(coloured, std::regex(R"(\\seg[1-9][0-9]* int)"))) << coloured;
  EXPECT_TRUE(std::regex_search(coloured, std::regex(R"(\\seg[1-9][0-9]* /\* note \*/)"))) << coloured;
  EXPECT_NE(coloured.find("\\seg0 plain"), std::string::npos) << coloured;

  Engine::instance().options.word[ECD_OPT_SYNTAX_HIGHLIGHT] = 0;
  const std::string plain = print(r, false);
  EXPECT_FALSE(std::regex_search(plain, std::regex(R"(\\seg[1-9])"))) << plain;
}

TEST_F(PrintRequestTest, SelectionOnlyPrintsTheMarkedLines) {
  HEDBUFFER h = nullptr;
  FakeRecord& r = showing("first\nsecond\nthird\n", &h);
  ASSERT_EQ(AnchorMark(2, 2, 1), 1);
  ASSERT_EQ(UpdateMark(3, 1), 1);
  const std::string stream = print(r, true);
  EXPECT_EQ(stream.find("first"), std::string::npos) << stream;
  EXPECT_NE(stream.find("second"), std::string::npos) << stream;
  EXPECT_NE(stream.find("third"), std::string::npos) << stream;
  EXPECT_NE(print(r, false).find("first"), std::string::npos);
}

}  // namespace
}  // namespace osk::test
