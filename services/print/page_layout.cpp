// Laying out pages: header and footer, columns, line numbers and wrapping.
#include "services/print/page_layout.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace osk::print {

int32_t millimetresToUnits(int32_t millimetres, int32_t dotsPerInch) {
  const int64_t units = static_cast<int64_t>(millimetres) * dotsPerInch * 10 / 254;
  return static_cast<int32_t>(std::clamp<int64_t>(units, 0, INT32_MAX / 4));
}

namespace {

// Fonts are selected per class and their measures kept, since a job measures thousands of runs.
class ClassFonts {
 public:
  ClassFonts(const std::vector<ResolvedClass>& classes, MeasuringDevice& device) : classes_(classes), device_(device) {}

  const FontMetrics& select(int32_t cls) {
    const int32_t key = valid(cls) ? cls : 0;
    if (key != selected_) {
      device_.selectFont(font(key));
      selected_ = key;
    }
    auto found = metrics_.find(key);
    if (found == metrics_.end()) {
      FontMetrics m = device_.metrics();
      m.height = std::max(m.height, 1);
      m.ascent = std::clamp(m.ascent, 0, m.height);
      m.averageWidth = std::max(m.averageWidth, 0);
      found = metrics_.emplace(key, m).first;
    }
    return found->second;
  }

  int32_t width(int32_t cls, std::string_view text) {
    if (text.empty()) return 0;
    select(cls);
    device_.extents(text, ends_);
    return ends_.empty() ? 0 : std::max(ends_.back(), 0);
  }

  // Appends the running widths of `text` in class `cls` to `ends`, continuing from `base`.
  void extend(int32_t cls, std::string_view text, int32_t base, std::vector<int32_t>& ends) {
    select(cls);
    device_.extents(text, ends_);
    int32_t last = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      // Measures never run backwards, so a piece's width is never negative.
      last = std::max(last, i < ends_.size() ? ends_[i] : last);
      ends.push_back(base + last);
    }
  }

 private:
  bool valid(int32_t cls) const { return cls >= 0 && static_cast<size_t>(cls) < classes_.size(); }
  FontSpec font(int32_t cls) const {
    return classes_.empty() ? FontSpec{kFallbackFace, -11, 400, false} : classes_[static_cast<size_t>(cls)].font;
  }

  const std::vector<ResolvedClass>& classes_;
  MeasuringDevice& device_;
  int32_t selected_ = -1;
  std::map<int32_t, FontMetrics> metrics_;
  std::vector<int32_t> ends_;
};

int countDigits(int64_t n) {
  if (n < 0) n = -n;
  int d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

// Flows the lines of the document through the columns of the body.
class BodyFlow {
 public:
  BodyFlow(const LayoutInput& in, ClassFonts& fonts, std::vector<Rect> columnsOfPage)
      : in_(in), fonts_(fonts), slots_(std::move(columnsOfPage)) {}

  bool run() {
    const StreamDocument& doc = *in_.document;
    if (in_.options.lineNumbers) {
      const int64_t lines = doc.count >= 0 ? doc.count : static_cast<int64_t>(doc.lines.size());
      const int64_t last = static_cast<int64_t>(in_.options.start) + static_cast<int64_t>(in_.options.step) * lines;
      numberWidth_ = fonts_.width(kLineNumberClass, std::string(countDigits(last), '8') + ": ");
    }
    newColumn();
    for (size_t i = 0; i < doc.lines.size(); ++i) {
      if (in_.cancel && (i & 63) == 0 && in_.cancel(i)) return false;
      placeLine(doc.lines[i]);
    }
    return true;
  }

  std::vector<std::vector<TextItem>> columns;

 private:
  struct Piece {
    int32_t cls;
    size_t begin;   // character range in the line
    size_t end;
  };

  void newColumn() {
    columns.emplace_back();
    column_ = slots_[(columns.size() - 1) % slots_.size()];
    y_ = column_.top;
    columnEmpty_ = true;
  }

  void placeLine(const StreamLine& line) {
    // The characters of the line with their classes and running widths.
    text_.clear();
    classOf_.clear();
    ends_.clear();
    for (const TextRun& run : line.runs) {
      if (run.text.empty()) continue;
      fonts_.extend(run.cls, run.text, ends_.empty() ? 0 : ends_.back(), ends_);
      text_ += run.text;
      classOf_.insert(classOf_.end(), run.text.size(), run.cls);
    }
    const bool paragraphs = in_.options.wrap == WrapOption::kParagraph;
    int32_t firstIndent = 0;
    int32_t nextIndent = 0;
    if (paragraphs) {
      const bool fromStream = in_.options.paraAutoCalculateMargins;
      const int32_t average = fonts_.select(0).averageWidth;
      const int64_t first = fromStream ? line.firstLineIndent : in_.options.firstLineIndent;
      const int64_t next = fromStream ? line.leftMargin : in_.options.leftMargin;
      firstIndent = static_cast<int32_t>(std::min<int64_t>(first * average, INT32_MAX / 4));
      nextIndent = static_cast<int32_t>(std::min<int64_t>(next * average, INT32_MAX / 4));
      if (!line.paragraphStart && !fromStream) firstIndent = nextIndent;
    }

    size_t start = 0;
    bool first = true;
    do {
      const int32_t indent = first ? firstIndent : nextIndent;
      const size_t end = breakAt(start, indent);
      emitVisualLine(line, start, end, indent, first);
      start = end;
      if (in_.options.wrap == WrapOption::kWord || paragraphs) {
        while (start < text_.size() && text_[start] == ' ') ++start;
      }
      first = false;
    } while (start < text_.size());
  }

  int32_t widthOf(size_t begin, size_t end) const {
    if (end <= begin) return 0;
    return ends_[end - 1] - (begin == 0 ? 0 : ends_[begin - 1]);
  }

  // Where the visual line that starts at `start` ends; always past `start` while text is left.
  size_t breakAt(size_t start, int32_t indent) const {
    const size_t n = text_.size();
    if (start >= n || in_.options.wrap == WrapOption::kTruncate) return n;
    const int32_t room = std::max(column_.right - column_.left - numberWidth_ - indent, 0);
    size_t fit = start;
    while (fit < n && widthOf(start, fit + 1) <= room) ++fit;
    if (fit == n) return n;
    if (fit == start) return start + 1;   // a character wider than the column still prints
    if (in_.options.wrap == WrapOption::kCharacter) return fit;
    if (text_[fit] == ' ') return fit;
    for (size_t b = fit; b > start; --b) {
      if (text_[b - 1] == ' ') return b;
    }
    return fit;   // a word longer than the line breaks anywhere
  }

  void emitVisualLine(const StreamLine& line, size_t begin, size_t end, int32_t indent, bool numbered) {
    const bool showNumber = numbered && in_.options.lineNumbers;
    int32_t height = 1;
    int32_t ascent = 0;
    auto take = [&](int32_t cls) {
      const FontMetrics& m = fonts_.select(cls);
      height = std::max(height, m.height);
      ascent = std::max(ascent, m.ascent);
    };
    if (begin == end) take(0);
    for (size_t i = begin; i < end; ++i) {
      if (i == begin || classOf_[i] != classOf_[i - 1]) take(classOf_[i]);
    }
    if (showNumber) take(kLineNumberClass);

    if (!columnEmpty_ && y_ + height > column_.bottom) newColumn();
    columnEmpty_ = false;
    const int32_t top = y_;
    const int32_t bottom = std::min(top + height, column_.bottom);
    y_ += height;

    auto& items = columns.back();
    auto baselineTop = [&](int32_t cls) { return top + ascent - fonts_.select(cls).ascent; };
    if (showNumber) {
      char number[32];
      const int64_t value = static_cast<int64_t>(in_.options.start) +
                            static_cast<int64_t>(in_.options.step) * static_cast<int64_t>(line.source);
      std::snprintf(number, sizeof number, "%lld: ", static_cast<long long>(value));
      const int32_t w = fonts_.width(kLineNumberClass, number);
      const int32_t x = column_.left + numberWidth_ - w;
      items.push_back(cell(kLineNumberClass, x, baselineTop(kLineNumberClass), w,
                           Rect{std::max(x, column_.left), top, std::min(x + w, column_.right), bottom}, number));
    }
    const int32_t textLeft = column_.left + numberWidth_ + indent;
    size_t i = begin;
    while (i < end) {
      size_t j = i + 1;
      while (j < end && classOf_[j] == classOf_[i]) ++j;
      const int32_t x = textLeft + widthOf(begin, i);
      if (x >= column_.right) break;
      const int32_t cls = classOf_[i];
      const int32_t w = widthOf(i, j);
      items.push_back(cell(cls, x, baselineTop(cls), w, Rect{x, top, std::min(x + w, column_.right), bottom},
                           text_.substr(i, j - i)));
      i = j;
    }
  }

  // An item whose text is `width` wide, its cell one line of its class's font high.
  TextItem cell(int32_t cls, int32_t x, int32_t y, int32_t width, const Rect& clip, std::string text) {
    const int32_t height = fonts_.select(cls).height;
    const bool clipped = x < clip.left || x + width > clip.right || y < clip.top || y + height > clip.bottom;
    return TextItem{cls, x, y, clip, std::move(text), width, clipped};
  }

  const LayoutInput& in_;
  ClassFonts& fonts_;
  std::vector<Rect> slots_;
  Rect column_;
  int32_t y_ = 0;
  bool columnEmpty_ = true;
  int32_t numberWidth_ = 0;
  std::string text_;
  std::vector<int32_t> classOf_;
  std::vector<int32_t> ends_;
};

// The items of one header or footer line across `area`, at `top`.
void placeTemplateLine(const TemplateLine& line, int32_t cls, const Rect& area, int32_t top, int32_t height,
                       ClassFonts& fonts, std::vector<TextItem>& items) {
  const Rect clip{area.left, top, area.right, top + height};
  auto put = [&](const std::string& text, int32_t x) {
    if (text.empty()) return;
    const int32_t width = fonts.width(cls, text);
    Rect r = clip;
    r.left = std::max(clip.left, x);
    r.right = std::min(clip.right, x + width);
    if (r.right <= r.left) return;
    // The line is one line of this class high, so only the sides can cut the text.
    items.push_back(TextItem{cls, x, top, r, text, width, r.left != x || r.right != x + width});
  };
  put(line.left, area.left);
  put(line.right, area.right - fonts.width(cls, line.right));
  put(line.centre, area.left + (area.right - area.left - fonts.width(cls, line.centre)) / 2);
}

}  // namespace

Layout layOutPages(const LayoutInput& in, MeasuringDevice& device) {
  Layout out;
  static const StreamDocument kEmpty;
  LayoutInput input = in;
  if (!input.document) input.document = &kEmpty;
  ClassFonts fonts(input.classes, device);

  const PageGeometry page = device.page();
  const LayoutOptions& o = input.options;
  Rect area{millimetresToUnits(o.pageLeftMargin, page.dotsPerInchX),
            millimetresToUnits(o.pageTopMargin, page.dotsPerInchY),
            page.width - millimetresToUnits(o.pageRightMargin, page.dotsPerInchX),
            page.height - millimetresToUnits(o.pageBottomMargin, page.dotsPerInchY)};
  if (area.right <= area.left || area.bottom <= area.top) {
    out.status = LayoutStatus::kNoRoom;
    return out;
  }

  // Whether a header or footer is printed does not depend on the page: only "&Page" changes, and it is never empty.
  const TemplateLine header1 = expandTemplate(o.header, 1, input.values);
  const TemplateLine footer1 = expandTemplate(o.footer, 1, input.values);
  const int32_t headerHeight = fonts.select(kHeaderClass).height;
  const bool header = !header1.empty() && headerHeight <= area.bottom - area.top;
  const int32_t headerTop = area.top;
  if (header) area.top += headerHeight + 8;
  const int32_t footerHeight = fonts.select(kFooterClass).height;
  const bool footer = !footer1.empty() && footerHeight <= area.bottom - area.top;
  const int32_t footerTop = area.bottom - footerHeight;
  // The footer takes the same room as the header, its rule included, so the rule never crosses the text.
  if (footer) area.bottom -= footerHeight + 8;
  if (area.bottom <= area.top) {
    out.status = LayoutStatus::kNoRoom;
    return out;
  }
  out.body = area;

  std::vector<Rect> slots;
  if (o.numColumns == 2) {
    const int32_t middle = area.left + (area.right - area.left) / 2;
    slots.push_back(Rect{area.left, area.top, middle - 6, area.bottom});
    slots.push_back(Rect{middle + 6, area.top, area.right, area.bottom});
    if (slots[0].right <= slots[0].left || slots[1].right <= slots[1].left) {
      out.status = LayoutStatus::kNoRoom;
      return out;
    }
  } else {
    slots.push_back(area);
  }

  BodyFlow flow(input, fonts, slots);
  if (!flow.run()) {
    out.status = LayoutStatus::kCancelled;
    return out;
  }
  const size_t perPage = slots.size();
  const size_t pageCount = std::max<size_t>(1, (flow.columns.size() + perPage - 1) / perPage);
  out.pages.resize(pageCount);
  for (size_t p = 0; p < pageCount; ++p) {
    PagePlan& plan = out.pages[p];
    const uint32_t number = static_cast<uint32_t>(p + 1);
    const Rect full{area.left, headerTop, area.right, footerTop};
    if (header) {
      placeTemplateLine(expandTemplate(o.header, number, input.values), kHeaderClass, full, headerTop, headerHeight,
                        fonts, plan.texts);
      plan.rules.push_back(Rect{area.left, headerTop + headerHeight + 2, area.right, headerTop + headerHeight + 6});
    }
    if (footer) {
      placeTemplateLine(expandTemplate(o.footer, number, input.values), kFooterClass, full, footerTop, footerHeight,
                        fonts, plan.texts);
      plan.rules.push_back(Rect{area.left, footerTop - 6, area.right, footerTop - 2});
    }
    if (perPage == 2) {
      const int32_t middle = area.left + (area.right - area.left) / 2;
      plan.rules.push_back(Rect{middle - 2, area.top, middle + 2, area.bottom});
    }
    for (size_t c = p * perPage; c < std::min(flow.columns.size(), (p + 1) * perPage); ++c) {
      auto& column = flow.columns[c];
      plan.texts.insert(plan.texts.end(), std::make_move_iterator(column.begin()),
                        std::make_move_iterator(column.end()));
    }
  }
  return out;
}

}  // namespace osk::print
