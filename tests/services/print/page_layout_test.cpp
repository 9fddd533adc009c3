// Page layout against a measuring device with fixed-pitch fonts: margins, header and footer, columns, line
// numbers, the four wrap options, and layout that ends whatever the sizes.
#include <gtest/gtest.h>

#include <random>

#include "services/print/page_layout.h"

namespace osk::print {
namespace {

// Every character of a font is `width` units wide (Courier: 6, others: 10); lines are |height| units high.
class FixedPitchDevice : public MeasuringDevice {
 public:
  PageGeometry geometry{1000, 1000, 254, 254};   // 10 units per millimetre
  int32_t width = 10;
  int selections = 0;

  PageGeometry page() override { return geometry; }
  void selectFont(const FontSpec& font) override {
    ++selections;
    font_ = font;
  }
  FontMetrics metrics() override {
    const int32_t h = font_.height < 0 ? -font_.height : font_.height;
    return FontMetrics{h, h * 3 / 4, charWidth()};
  }
  void extents(std::string_view text, std::vector<int32_t>& ends) override {
    ends.clear();
    for (size_t i = 0; i < text.size(); ++i) ends.push_back(static_cast<int32_t>(i + 1) * charWidth());
  }

 private:
  int32_t charWidth() const { return font_.face == "Courier" ? 6 : width; }
  FontSpec font_;
};

std::vector<ResolvedClass> classes(int32_t height = -20) {
  std::vector<ResolvedClass> c(6);
  for (auto& r : c) r.font = FontSpec{"Arial", height, 400, false};
  return c;
}

std::string streamOf(int lines, const std::string& prefix = "line") {
  std::string s = "\\num" + std::to_string(lines) + " ";
  for (int i = 1; i <= lines; ++i) s += "\\seg0 " + prefix + std::to_string(i) + "\\line \r\n";
  return s;
}

struct Job {
  StreamDocument document;
  LayoutInput input;
  FixedPitchDevice device;
  Layout layout;

  explicit Job(const std::string& stream, LayoutOptions options = {}) {
    input.options = std::move(options);
    input.classes = classes();
    input.values.path = "C:\\work\\demo.c";
    document = readPrintStream(stream, input.options.wrap == WrapOption::kParagraph);
    input.document = &document;
  }
  Layout& run() {
    layout = layOutPages(input, device);
    return layout;
  }
  // The texts of page p (1-based) of class `cls`, in order.
  std::vector<std::string> texts(size_t p, int32_t cls = 0) const {
    std::vector<std::string> out;
    for (const TextItem& t : layout.pages.at(p - 1).texts) {
      if (t.cls == cls) out.push_back(t.text);
    }
    return out;
  }
  const TextItem* find(size_t p, const std::string& text) const {
    for (const TextItem& t : layout.pages.at(p - 1).texts) {
      if (t.text == text) return &t;
    }
    return nullptr;
  }
};

TEST(PageLayoutTest, LinesFillTheBodyThenTheNextPage) {
  Job job(streamOf(120));
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.layout.body, (Rect{0, 0, 1000, 1000}));
  ASSERT_EQ(job.layout.pages.size(), 3u);   // 50 lines of 20 units a page
  EXPECT_EQ(job.texts(1).front(), "line1");
  EXPECT_EQ(job.texts(1).back(), "line50");
  EXPECT_EQ(job.texts(3).front(), "line101");
  EXPECT_EQ(job.find(1, "line2")->y, 20);
  EXPECT_TRUE(job.layout.pages[0].rules.empty());
}

TEST(PageLayoutTest, PageMarginsInMillimetresMoveTheEdgesIn) {
  LayoutOptions o;
  o.pageLeftMargin = 10;
  o.pageTopMargin = 5;
  o.pageRightMargin = 20;
  o.pageBottomMargin = 1;
  Job job(streamOf(3), o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.layout.body, (Rect{100, 50, 800, 990}));
  EXPECT_EQ(job.find(1, "line1")->x, 100);
}

TEST(PageLayoutTest, HeaderAndFooterTakeTheirLinesWithRules) {
  LayoutOptions o;
  o.header = "&LJustify&File&RJustify&Page";
  o.footer = "&CJustify-&Page-";
  Job job(streamOf(100), o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  // Header line 0..20 and its rule, footer line 980..1000 and its rule; the body between.
  EXPECT_EQ(job.layout.body, (Rect{0, 28, 1000, 972}));
  const TextItem* name = job.find(2, "demo.c");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->cls, kHeaderClass);
  EXPECT_EQ(name->x, 0);
  EXPECT_EQ(name->y, 0);
  const TextItem* page = job.find(2, "2");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->x + 10, 1000);   // ends at the right edge
  const TextItem* footer = job.find(2, "-2-");
  ASSERT_NE(footer, nullptr);
  EXPECT_EQ(footer->cls, kFooterClass);
  EXPECT_EQ(footer->x, (1000 - 30) / 2);
  EXPECT_EQ(footer->y, 980);
  const auto& rules = job.layout.pages[1].rules;
  ASSERT_EQ(rules.size(), 2u);
  EXPECT_EQ(rules[0], (Rect{0, 22, 1000, 26}));
  EXPECT_EQ(rules[1], (Rect{0, 974, 1000, 978}));
  // No body line reaches into the footer's rule.
  for (const TextItem& t : job.layout.pages[1].texts) {
    if (t.cls == 0) EXPECT_LE(t.clip.bottom, 972);
  }
}

TEST(PageLayoutTest, AHeaderThatExpandsToNothingIsLeftOut) {
  LayoutOptions o;
  o.header = "&CJustify";
  Job job(streamOf(2), o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.layout.body.top, 0);
  EXPECT_TRUE(job.layout.pages[0].rules.empty());
}

TEST(PageLayoutTest, LineNumbersStartAndStepRightAlignedInTheirColumn) {
  LayoutOptions o;
  o.lineNumbers = true;
  o.start = 10;
  o.step = 5;
  Job job(streamOf(3), o);
  job.input.classes[kLineNumberClass].font.face = "Courier";
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.texts(1, kLineNumberClass), (std::vector<std::string>{"10: ", "15: ", "20: "}));
  // 10 + 5 * 3 = 25 has two digits: the column is "88: " wide in the numbers' own font.
  EXPECT_EQ(job.find(1, "line1")->x, 4 * 6);
  EXPECT_EQ(job.find(1, "20: ")->x, 0);
}

TEST(PageLayoutTest, WrappedContinuationsCarryNoNumber) {
  LayoutOptions o;
  o.lineNumbers = true;
  o.wrap = WrapOption::kCharacter;
  Job job("\\num2 \\seg0 " + std::string(250, 'a') + "\\line \\seg0 b\\line ", o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  // "8: " is 30 wide, leaving 97 characters a line.
  EXPECT_EQ(job.texts(1, kLineNumberClass), (std::vector<std::string>{"1: ", "2: "}));
  const auto body = job.texts(1);
  ASSERT_EQ(body.size(), 4u);
  EXPECT_EQ(body[0].size(), 97u);
  EXPECT_EQ(body[2].size(), 250u - 2 * 97);
  EXPECT_EQ(job.find(1, "2: ")->y, 60);
}

TEST(PageLayoutTest, TruncateClipsLongLinesAtTheColumnEdge) {
  Job job("\\seg0 " + std::string(150, 'x') + "\\seg4 yyy\\line ");
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  const auto& texts = job.layout.pages[0].texts;
  ASSERT_EQ(texts.size(), 1u);   // the coloured run lies wholly past the edge
  EXPECT_EQ(texts[0].clip.right, 1000);
}

TEST(PageLayoutTest, WordWrapBreaksAtSpacesAndCharacterWrapAnywhere) {
  const std::string words = "\\seg0 " + std::string(95, 'a') + " bbbbbbbbbb cc\\line ";
  LayoutOptions o;
  o.wrap = WrapOption::kWord;
  Job word(words, o);
  ASSERT_EQ(word.run().status, LayoutStatus::kOk);
  EXPECT_EQ(word.texts(1), (std::vector<std::string>{std::string(95, 'a') + " ", "bbbbbbbbbb cc"}));
  o.wrap = WrapOption::kCharacter;
  Job chars(words, o);
  ASSERT_EQ(chars.run().status, LayoutStatus::kOk);
  EXPECT_EQ(chars.texts(1), (std::vector<std::string>{std::string(95, 'a') + " bbbb", "bbbbbb cc"}));
}

TEST(PageLayoutTest, ColouredRunsKeepTheirClassesAcrossAWrap) {
  LayoutOptions o;
  o.wrap = WrapOption::kCharacter;
  Job job("\\seg0 " + std::string(98, 'a') + "\\seg5 /* comment */\\line ", o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.texts(1, 5), (std::vector<std::string>{"/*", " comment */"}));
  EXPECT_EQ(job.find(1, "/*")->x, 980);
  EXPECT_EQ(job.find(1, " comment */")->x, 0);
}

TEST(PageLayoutTest, ParagraphWrapUsesTheParagraphsIndents) {
  const std::string stream =
      "\\num3 \\parl \\fli2 \\lma4 \\seg0   " + std::string(60, 'a') + "\\line \\seg0     " + std::string(60, 'b') +
      "\\line \\pare \\para ";
  LayoutOptions o;
  o.wrap = WrapOption::kParagraph;
  o.paraAutoCalculateMargins = true;
  Job job(stream, o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  const auto& t = job.layout.pages[0].texts;
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].x, 20);   // first-line indent 2
  EXPECT_EQ(t[0].text, std::string(60, 'a') + " ");
  EXPECT_EQ(t[1].x, 40);   // left margin 4
  EXPECT_EQ(t[1].text, std::string(60, 'b'));
  // Without auto-calculation the options' indents apply.
  o.paraAutoCalculateMargins = false;
  o.firstLineIndent = 1;
  o.leftMargin = 3;
  Job fixed(stream, o);
  ASSERT_EQ(fixed.run().status, LayoutStatus::kOk);
  EXPECT_EQ(fixed.layout.pages[0].texts[0].x, 10);
  EXPECT_EQ(fixed.layout.pages[0].texts[1].x, 30);
}

TEST(PageLayoutTest, TwoColumnsTakeTheStreamInTurnWithARuleBetween) {
  LayoutOptions o;
  o.numColumns = 2;
  Job job(streamOf(230), o);
  job.device.width = 100;   // "line200" is wider than its column, and clipped at its edge
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  ASSERT_EQ(job.layout.pages.size(), 3u);   // 100 lines a page
  EXPECT_EQ(job.find(2, "line101")->x, 0);
  EXPECT_EQ(job.find(2, "line150")->x, 0);
  EXPECT_EQ(job.find(2, "line151")->x, 506);
  EXPECT_EQ(job.find(2, "line151")->y, 0);
  EXPECT_EQ(job.find(2, "line200")->x, 506);
  EXPECT_EQ(job.find(2, "line200")->clip.right, 1000);
  EXPECT_EQ(job.find(2, "line150")->clip.right, 494);
  ASSERT_EQ(job.layout.pages[2].rules.size(), 1u);
  EXPECT_EQ(job.layout.pages[2].rules[0], (Rect{498, 0, 502, 1000}));
}

TEST(PageLayoutTest, MarginsWiderThanThePageAreRefused) {
  LayoutOptions o;
  o.pageLeftMargin = 60;
  o.pageRightMargin = 60;
  Job job(streamOf(3), o);
  EXPECT_EQ(job.run().status, LayoutStatus::kNoRoom);
  o.pageLeftMargin = 0;
  o.pageRightMargin = 0;
  o.pageTopMargin = 95;
  o.header = "x";
  o.footer = "y";
  Job crowded(streamOf(3), o);   // header and footer leave no body
  EXPECT_EQ(crowded.run().status, LayoutStatus::kNoRoom);
}

TEST(PageLayoutTest, ALineTallerThanTheBodyStandsAloneOnEachPage) {
  Job job(streamOf(3));
  job.input.classes = classes(-1500);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  ASSERT_EQ(job.layout.pages.size(), 3u);
  EXPECT_EQ(job.texts(2), (std::vector<std::string>{"line2"}));
  EXPECT_EQ(job.layout.pages[1].texts[0].clip.bottom, 1000);
}

TEST(PageLayoutTest, ACharacterWiderThanTheColumnStillPrintsOneALine) {
  LayoutOptions o;
  o.wrap = WrapOption::kWord;
  Job job("\\seg0 abc\\line ", o);
  job.device.width = 5000;
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.texts(1), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(PageLayoutTest, AFontThatMeasuresNothingStillEnds) {
  LayoutOptions o;
  o.wrap = WrapOption::kCharacter;
  o.lineNumbers = true;
  Job job(streamOf(2000), o);
  job.device.width = 0;
  job.input.classes = classes(0);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  EXPECT_EQ(job.layout.pages.size(), 2u);   // one unit a line
}

TEST(PageLayoutTest, CancelStopsTheLayout) {
  Job job(streamOf(1000));
  job.input.cancel = [](size_t done) { return done >= 128; };
  EXPECT_EQ(job.run().status, LayoutStatus::kCancelled);
}

TEST(PageLayoutTest, AnEmptyStreamGivesOnePage) {
  LayoutOptions o;
  o.footer = "&Page";
  Job job("", o);
  ASSERT_EQ(job.run().status, LayoutStatus::kOk);
  ASSERT_EQ(job.layout.pages.size(), 1u);
  EXPECT_EQ(job.texts(1, kFooterClass), (std::vector<std::string>{"1"}));
}

// Whatever the options, character wrap loses no character and keeps their order, and every item stays inside the
// page.
TEST(PageLayoutTest, RandomStreamsKeepEveryCharacterInOrder) {
  std::mt19937 random(45);
  for (int round = 0; round < 200; ++round) {
    std::string stream = "\\num40 ";
    std::string expected;
    const int lines = static_cast<int>(random() % 40);
    for (int i = 0; i < lines; ++i) {
      std::string text(random() % 300, 'a');
      for (char& c : text) c = "xy z"[random() % 4];
      const int cls[] = {0, 4, 5};
      stream += "\\seg" + std::to_string(cls[random() % 3]) + " " + text + "\\line ";
      expected += text;
    }
    LayoutOptions o;
    o.wrap = WrapOption::kCharacter;
    o.numColumns = 1 + static_cast<int32_t>(random() % 2);
    o.lineNumbers = random() % 2;
    o.header = random() % 2 ? "&Page" : "";
    o.pageLeftMargin = static_cast<int32_t>(random() % 40);
    Job job(stream, o);
    job.device.width = static_cast<int32_t>(random() % 30);
    job.input.classes = classes(-static_cast<int32_t>(random() % 300));
    ASSERT_EQ(job.run().status, LayoutStatus::kOk);
    std::string printed;
    for (const PagePlan& page : job.layout.pages) {
      for (const TextItem& t : page.texts) {
        if (t.cls != kLineNumberClass && t.cls != kHeaderClass) printed += t.text;
        EXPECT_GE(t.clip.left, 0);
        EXPECT_LE(t.clip.right, 1000);
        EXPECT_LE(t.clip.bottom, 1000);
      }
    }
    ASSERT_EQ(printed, expected) << "round " << round << " width " << job.device.width << " h "
                                 << job.input.classes[0].font.height << " cols " << o.numColumns << " num "
                                 << o.lineNumbers << " pages " << job.layout.pages.size() << " lines "
                                 << job.document.lines.size();
  }
}

}  // namespace
}  // namespace osk::print
