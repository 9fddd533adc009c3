// The drawing calls for a laid-out page: the page's text items turned into as few text runs as print the same
// marks, because a printer driver pays for every call and every character it is given.
//
// Runs in the page's own white need no background: they are drawn transparent, without their leading and trailing
// blanks, split where several blanks stand together, and a run of blanks alone is not drawn at all. Neighbouring
// items that look the same (font, text colour, background) and meet on one line become one run. Clipping is asked
// for only where the layout found that the text reaches outside its clip. Nothing here changes where a character
// lands: a run's leading blanks are skipped by moving it right by their measured width, a piece after a split
// starts at the run's own measure of what precedes it, and items join only where the second starts exactly where
// the first ends. Items of a class outside the class list look like class 0 (or the plain default when the list is
// empty).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "services/print/page_layout.h"
#include "services/print/print_options.h"

namespace osk::print {

inline constexpr uint32_t kPageWhite = 0xFFFFFF;
inline constexpr size_t kSplitBlanks = 3;   // this many blanks together on white paper split a run

struct DrawRun {
  const ResolvedClass* look = nullptr;   // font and colours; owned by the planner's class list
  int32_t x = 0;
  int32_t y = 0;
  Rect clip;
  std::string text;
  bool opaque = false;    // paint `clip` in the look's background first
  bool clipped = false;   // clip the text to `clip`
};

class DrawPlanner {
 public:
  // `classes` and `device` must outlive the planner; the device measures blanks in the classes' fonts.
  DrawPlanner(const std::vector<ResolvedClass>& classes, MeasuringDevice& device);

  std::vector<DrawRun> plan(const PagePlan& page);

 private:
  const ResolvedClass& lookOf(int32_t cls) const;
  int32_t blankWidth(const ResolvedClass& look);

  const std::vector<ResolvedClass>& classes_;
  MeasuringDevice& device_;
  ResolvedClass plain_;
  std::map<const ResolvedClass*, int32_t> blanks_;
  std::vector<int32_t> ends_;
};

}  // namespace osk::print
