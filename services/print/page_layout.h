// Page layout: a read print stream placed on printer pages with page margins, header and footer lines with their
// rules, one or two columns with a rule between them, line numbers and the four ways of handling long lines.
//
// All lengths are device units of the measuring device (the printer). Layout always ends: a line taller than the
// body is placed alone in its column and clipped, every wrapped piece holds at least one character however narrow
// the column, and a font that measures zero still moves each line down by at least one unit. Only margins that
// leave no room at all for the text are refused (LayoutStatus::kNoRoom), and the caller says so to the user.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "services/print/header_template.h"
#include "services/print/print_options.h"
#include "services/print/stream_reader.h"

namespace osk::print {

struct PageGeometry {
  int32_t width = 0;    // printable area, device units
  int32_t height = 0;
  int32_t dotsPerInchX = 1;
  int32_t dotsPerInchY = 1;
};

struct FontMetrics {
  int32_t height = 0;         // line height
  int32_t ascent = 0;
  int32_t averageWidth = 0;   // of one character
};

// What layout asks of the printer: the page and the measures of text in a font.
class MeasuringDevice {
 public:
  virtual ~MeasuringDevice() = default;
  virtual PageGeometry page() = 0;
  virtual void selectFont(const FontSpec& font) = 0;
  virtual FontMetrics metrics() = 0;
  // ends[i] receives the width of text[0..i] in the selected font; ends has text.size() entries afterwards.
  virtual void extents(std::string_view text, std::vector<int32_t>& ends) = 0;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

// Text of one class drawn at (x, y) (the top of its cell), opaque in the class's background within `clip`, and
// clipped to it. `width` is the text's advance in its font; `clipped` says whether any of the text's cell (x to
// x + width, y down one line of its font) lies outside `clip`, so that the clipping matters when it is drawn.
struct TextItem {
  int32_t cls = 0;
  int32_t x = 0;
  int32_t y = 0;
  Rect clip;
  std::string text;
  int32_t width = 0;
  bool clipped = false;
};

struct PagePlan {
  std::vector<TextItem> texts;
  std::vector<Rect> rules;   // solid black
};

enum class LayoutStatus { kOk, kNoRoom, kCancelled };

struct LayoutInput {
  const StreamDocument* document = nullptr;
  LayoutOptions options;
  std::vector<ResolvedClass> classes;   // index = print class; missing classes draw as class 0
  TemplateValues values;
  // Asked now and then with the number of lines laid out; true stops the layout with kCancelled.
  std::function<bool(size_t)> cancel;
};

struct Layout {
  LayoutStatus status = LayoutStatus::kOk;
  Rect body;                       // the text area of every page
  std::vector<PagePlan> pages;     // at least one when status is kOk
};

Layout layOutPages(const LayoutInput& input, MeasuringDevice& device);

// Millimetres to device units at a resolution in dots per inch.
int32_t millimetresToUnits(int32_t millimetres, int32_t dotsPerInch);

}  // namespace osk::print
