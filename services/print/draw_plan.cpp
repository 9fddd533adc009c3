// Turning a page's text items into few drawing runs.
#include "services/print/draw_plan.h"

namespace osk::print {
namespace {

bool sameLook(const ResolvedClass& a, const ResolvedClass& b) {
  return &a == &b || (a.text == b.text && a.back == b.back && a.font == b.font);
}

}  // namespace

DrawPlanner::DrawPlanner(const std::vector<ResolvedClass>& classes, MeasuringDevice& device)
    : classes_(classes), device_(device) {}

const ResolvedClass& DrawPlanner::lookOf(int32_t cls) const {
  if (cls >= 0 && static_cast<size_t>(cls) < classes_.size()) return classes_[static_cast<size_t>(cls)];
  return classes_.empty() ? plain_ : classes_[0];
}

int32_t DrawPlanner::blankWidth(const ResolvedClass& look) {
  auto found = blanks_.find(&look);
  if (found != blanks_.end()) return found->second;
  device_.selectFont(look.font);
  device_.extents(" ", ends_);
  const int32_t width = ends_.empty() ? 0 : ends_[0];
  blanks_.emplace(&look, width);
  return width;
}

std::vector<DrawRun> DrawPlanner::plan(const PagePlan& page) {
  std::vector<DrawRun> runs;
  runs.reserve(page.texts.size());
  int32_t lastEnd = 0;   // where the last run's text ends, while it may take a neighbour
  for (const TextItem& item : page.texts) {
    const ResolvedClass& look = lookOf(item.cls);
    if (!runs.empty()) {
      DrawRun& last = runs.back();
      if (!last.clipped && !item.clipped && sameLook(*last.look, look) && item.x == lastEnd && item.y == last.y &&
          item.clip.top == last.clip.top && item.clip.bottom == last.clip.bottom) {
        last.text += item.text;
        last.clip.right = item.clip.right;
        lastEnd = item.x + item.width;
        continue;
      }
    }
    DrawRun run;
    run.look = &look;
    run.x = item.x;
    run.y = item.y;
    run.clip = item.clip;
    run.text = item.text;
    run.opaque = look.back != kPageWhite;
    run.clipped = item.clipped;
    runs.push_back(std::move(run));
    lastEnd = item.x + item.width;
  }

  // Blanks on white paper leave no mark: they are trimmed, and a run is split where kSplitBlanks or more of them
  // stand together, since a new run costs the driver less than that many blank characters.
  std::vector<DrawRun> out;
  out.reserve(runs.size());
  for (DrawRun& run : runs) {
    if (run.opaque) {
      out.push_back(std::move(run));
      continue;
    }
    const size_t first = run.text.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    run.text.erase(run.text.find_last_not_of(' ') + 1);
    if (first > 0) {
      run.x += static_cast<int32_t>(first) * blankWidth(*run.look);
      run.text.erase(0, first);
    }
    const size_t gap = run.text.find(std::string(kSplitBlanks, ' '));
    if (gap == std::string::npos) {
      out.push_back(std::move(run));
      continue;
    }
    // Each piece starts where the run's own measure puts it.
    device_.selectFont(run.look->font);
    device_.extents(run.text, ends_);
    size_t begin = 0;
    while (begin < run.text.size()) {
      size_t end = run.text.find(std::string(kSplitBlanks, ' '), begin);
      if (end == std::string::npos) end = run.text.size();
      DrawRun piece = run;
      piece.x = run.x + (begin == 0 ? 0 : ends_[begin - 1]);
      piece.text = run.text.substr(begin, end - begin);
      out.push_back(std::move(piece));
      begin = run.text.find_first_not_of(' ', end);
      if (begin == std::string::npos) break;
    }
  }
  return out;
}

}  // namespace osk::print
