// The drawing runs of a page: blanks on white paper left out, alike neighbours joined, backgrounds and clipping
// kept where they show, and every printed character where the layout put it.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

#include "services/print/draw_plan.h"

namespace osk::print {
namespace {

// Characters are 10 units wide, or 6 in "Courier"; lines are |height| high.
class FixedPitchDevice : public MeasuringDevice {
 public:
  int measured = 0;
  PageGeometry page() override { return {1000, 1000, 254, 254}; }
  void selectFont(const FontSpec& font) override { font_ = font; }
  FontMetrics metrics() override {
    const int32_t h = font_.height < 0 ? -font_.height : font_.height;
    return {h, h * 3 / 4, width()};
  }
  void extents(std::string_view text, std::vector<int32_t>& ends) override {
    ++measured;
    ends.clear();
    for (size_t i = 0; i < text.size(); ++i) ends.push_back(static_cast<int32_t>(i + 1) * width());
  }
  int32_t width() const { return font_.face == "Courier" ? 6 : 10; }

 private:
  FontSpec font_;
};

ResolvedClass look(uint32_t text, uint32_t back = kPageWhite, const char* face = "Arial") {
  return ResolvedClass{text, back, FontSpec{face, -20, 400, false}};
}

TextItem item(int32_t cls, int32_t x, int32_t y, const std::string& text, int32_t charWidth = 10) {
  const int32_t w = static_cast<int32_t>(text.size()) * charWidth;
  return TextItem{cls, x, y, Rect{x, y, x + w, y + 20}, text, w, false};
}

struct Planned {
  std::vector<ResolvedClass> classes;
  FixedPitchDevice device;
  std::vector<DrawRun> runs;
  const std::vector<DrawRun>& plan(const std::vector<TextItem>& items) {
    PagePlan page;
    page.texts = items;
    DrawPlanner planner(classes, device);
    runs = planner.plan(page);
    return runs;
  }
};

TEST(DrawPlanTest, BlanksOnWhitePaperAreNotDrawn) {
  Planned p;
  p.classes = {look(0), look(0xFF0000)};
  p.plan({item(1, 0, 0, "static"), item(0, 60, 0, " "), item(1, 70, 0, "int"), item(0, 100, 0, "  value; ")});
  ASSERT_EQ(p.runs.size(), 3u);
  EXPECT_EQ(p.runs[0].text, "static");
  EXPECT_EQ(p.runs[1].text, "int");
  EXPECT_EQ(p.runs[2].text, "value;");
  EXPECT_EQ(p.runs[2].x, 120);   // past its two leading blanks
  for (const DrawRun& r : p.runs) {
    EXPECT_FALSE(r.opaque);
    EXPECT_FALSE(r.clipped);
  }
}

TEST(DrawPlanTest, SeveralBlanksTogetherSplitARun) {
  Planned p;
  p.classes = {look(0), look(0, kPageWhite, "Courier")};
  p.plan({item(0, 0, 0, "x = 1;   /* a  b */"), item(1, 0, 20, "#define A    1", 6)});
  ASSERT_EQ(p.runs.size(), 4u);
  EXPECT_EQ(p.runs[0].text, "x = 1;");
  EXPECT_EQ(p.runs[1].text, "/* a  b */");   // two blanks are cheaper to print than a new run
  EXPECT_EQ(p.runs[1].x, 90);
  EXPECT_EQ(p.runs[2].text, "#define A");
  EXPECT_EQ(p.runs[3].text, "1");
  EXPECT_EQ(p.runs[3].x, 13 * 6);
  EXPECT_EQ(p.runs[3].look->font.face, "Courier");
}

TEST(DrawPlanTest, NeighboursThatLookAlikeBecomeOneRun) {
  Planned p;
  // Line numbers, normal text and a keyword class that prints like normal text; a comment in its own colour.
  p.classes = {look(0), look(0), look(0), look(0), look(0), look(0x008000)};
  p.plan({item(3, 0, 0, "12: "), item(0, 40, 0, "int"), item(4, 70, 0, " x; "), item(5, 110, 0, "/* c */"),
          item(3, 0, 20, "13: "), item(0, 40, 20, "y")});
  ASSERT_EQ(p.runs.size(), 3u);
  EXPECT_EQ(p.runs[0].text, "12: int x;");
  EXPECT_EQ(p.runs[0].clip, (Rect{0, 0, 110, 20}));
  EXPECT_EQ(p.runs[1].text, "/* c */");
  EXPECT_EQ(p.runs[1].look->text, 0x008000u);
  EXPECT_EQ(p.runs[2].text, "13: y");   // the next line starts a run of its own
  EXPECT_EQ(p.runs[2].y, 20);
}

TEST(DrawPlanTest, ItemsThatDoNotMeetStaySeparate) {
  Planned p;
  p.classes = {look(0), look(0, kPageWhite, "Courier")};
  // A gap between two items, and a neighbour in another font (same colours).
  p.plan({item(0, 0, 0, "a"), item(0, 20, 0, "b"), item(1, 30, 0, "c", 6)});
  ASSERT_EQ(p.runs.size(), 3u);
  EXPECT_EQ(p.runs[1].x, 20);
  EXPECT_EQ(p.runs[2].look->font.face, "Courier");
}

TEST(DrawPlanTest, BackgroundsOtherThanThePagesArePaintedBlanksAndAll) {
  Planned p;
  p.classes = {look(0), look(0xFFFFFF, 0x800000)};
  p.plan({item(1, 0, 0, "  hi  "), item(1, 60, 0, "   ")});
  ASSERT_EQ(p.runs.size(), 1u);
  EXPECT_EQ(p.runs[0].text, "  hi     ");
  EXPECT_TRUE(p.runs[0].opaque);
  EXPECT_EQ(p.runs[0].clip, (Rect{0, 0, 90, 20}));
}

TEST(DrawPlanTest, ClippedItemsKeepTheirClipAndJoinNothing) {
  Planned p;
  p.classes = {look(0)};
  TextItem cut = item(0, 950, 0, "abcdefgh");
  cut.clip.right = 1000;
  cut.clipped = true;
  p.plan({item(0, 920, 0, "xyz"), cut});
  ASSERT_EQ(p.runs.size(), 2u);
  EXPECT_FALSE(p.runs[0].clipped);
  EXPECT_TRUE(p.runs[1].clipped);
  EXPECT_EQ(p.runs[1].clip.right, 1000);
}

TEST(DrawPlanTest, ClassesOutsideTheListLookLikeNormalText) {
  Planned p;
  p.classes = {look(0x123456), look(0)};
  p.plan({item(9, 0, 0, "a"), item(-1, 10, 0, "b")});
  ASSERT_EQ(p.runs.size(), 1u);
  EXPECT_EQ(p.runs[0].look, &p.classes[0]);
  EXPECT_EQ(p.runs[0].text, "ab");
  Planned none;
  none.plan({item(2, 0, 0, "c")});
  ASSERT_EQ(none.runs.size(), 1u);
  EXPECT_EQ(none.runs[0].look->back, kPageWhite);
}

TEST(DrawPlanTest, LayoutSaysWhichItemsNeedTheirClip) {
  StreamDocument doc = readPrintStream("\\seg0 short\\line \\seg0 " + std::string(150, 'x') + "\\line ", false);
  LayoutInput in;
  in.document = &doc;
  in.classes = {look(0)};
  in.options.header = "&LJustify" + std::string(120, 'h');
  FixedPitchDevice device;
  const Layout layout = layOutPages(in, device);
  ASSERT_EQ(layout.status, LayoutStatus::kOk);
  std::vector<const TextItem*> body;
  for (const TextItem& t : layout.pages[0].texts) {
    if (t.cls == 0) body.push_back(&t);
  }
  ASSERT_EQ(body.size(), 2u);
  EXPECT_EQ(body[0]->width, 50);
  EXPECT_FALSE(body[0]->clipped);
  EXPECT_EQ(body[1]->width, 1500);
  EXPECT_TRUE(body[1]->clipped);   // truncated at the page's edge
  const TextItem& header = layout.pages[0].texts.front();
  EXPECT_EQ(header.cls, kHeaderClass);
  EXPECT_TRUE(header.clipped);
}

// Whatever the page, the runs print every character that is not a blank on white paper at the place the layout
// gave it, in its look, and nothing else.
TEST(DrawPlanTest, RandomPagesPrintTheSameMarks) {
  std::mt19937 random(18);
  using Mark = std::tuple<char, int32_t, int32_t, uint32_t, uint32_t, std::string>;
  for (int round = 0; round < 200; ++round) {
    Planned p;
    const int classCount = 1 + static_cast<int>(random() % 6);
    for (int c = 0; c < classCount; ++c) {
      p.classes.push_back(look(random() % 2 ? 0 : 0xFF, random() % 4 ? kPageWhite : 0xCCCCCC,
                               random() % 3 ? "Arial" : "Courier"));
    }
    std::string stream;
    const int lines = static_cast<int>(random() % 30);
    for (int i = 0; i < lines; ++i) {
      const int runs = 1 + static_cast<int>(random() % 5);
      for (int r = 0; r < runs; ++r) {
        std::string text(random() % 40, 'a');
        for (char& ch : text) ch = "ab  c"[random() % 5];
        stream += "\\seg" + std::to_string(random() % (classCount + 1)) + " " + text;
      }
      stream += "\\line ";
    }
    StreamDocument doc = readPrintStream(stream, false);
    LayoutInput in;
    in.document = &doc;
    in.classes = p.classes;
    in.options.wrap = static_cast<WrapOption>(random() % 3);
    in.options.lineNumbers = random() % 2;
    in.options.numColumns = 1 + static_cast<int32_t>(random() % 2);
    const Layout layout = layOutPages(in, p.device);
    ASSERT_EQ(layout.status, LayoutStatus::kOk);
    for (const PagePlan& page : layout.pages) {
      auto widthIn = [&](const ResolvedClass& c) { return c.font.face == "Courier" ? 6 : 10; };
      auto lookOf = [&](int32_t cls) -> const ResolvedClass& {
        return cls >= 0 && cls < classCount ? p.classes[static_cast<size_t>(cls)] : p.classes[0];
      };
      std::multiset<Mark> expected, printed;
      for (const TextItem& t : page.texts) {
        const ResolvedClass& c = lookOf(t.cls);
        for (size_t k = 0; k < t.text.size(); ++k) {
          const int32_t x = t.x + static_cast<int32_t>(k) * widthIn(c);
          const bool shows = x >= t.clip.left && x < t.clip.right;
          if (shows && (t.text[k] != ' ' || c.back != kPageWhite)) {
            expected.emplace(t.text[k], x, t.y, c.text, c.back, c.font.face);
          }
        }
      }
      DrawPlanner planner(p.classes, p.device);
      for (const DrawRun& r : planner.plan(page)) {
        EXPECT_EQ(r.opaque, r.look->back != kPageWhite);
        for (size_t k = 0; k < r.text.size(); ++k) {
          const int32_t x = r.x + static_cast<int32_t>(k) * widthIn(*r.look);
          const bool shows = !r.clipped || (x >= r.clip.left && x < r.clip.right);
          if (shows && (r.text[k] != ' ' || r.opaque)) {
            printed.emplace(r.text[k], x, r.y, r.look->text, r.look->back, r.look->font.face);
          }
        }
      }
      ASSERT_EQ(printed, expected) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace osk::print
