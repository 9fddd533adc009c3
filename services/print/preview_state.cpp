// The preview's page and zoom state, and the page order of a print run.
#include "services/print/preview_state.h"

#include <algorithm>

namespace osk::print {

bool PreviewState::possible(int32_t operation) const {
  switch (static_cast<PreviewOperation>(operation)) {
    case PreviewOperation::kNextPage: return lastShown() < pages_;
    case PreviewOperation::kPreviousPage: return page_ > 1;
    case PreviewOperation::kZoomIn: return zoom_ < kZoomSteps;
    case PreviewOperation::kZoomOut: return zoom_ > 0;
    case PreviewOperation::kSinglePage: return two_;
    case PreviewOperation::kDoublePage: return !two_;
  }
  return false;
}

bool PreviewState::apply(int32_t operation) {
  if (!possible(operation)) return false;
  switch (static_cast<PreviewOperation>(operation)) {
    case PreviewOperation::kNextPage: page_ = two_ ? std::min(page_ + 2, pages_) : page_ + 1; break;
    case PreviewOperation::kPreviousPage: page_ = two_ ? (page_ > 2 ? page_ - 2 : 1) : page_ - 1; break;
    case PreviewOperation::kZoomIn: ++zoom_; break;
    case PreviewOperation::kZoomOut: --zoom_; break;
    case PreviewOperation::kSinglePage: two_ = false; break;
    case PreviewOperation::kDoublePage: two_ = true; break;
  }
  return true;
}

std::string PreviewState::label() const {
  if (lastShown() != page_) return "Pages " + std::to_string(page_) + "-" + std::to_string(lastShown());
  return "Page " + std::to_string(page_);
}

std::vector<uint32_t> pagesToPrint(uint32_t first, uint32_t last, uint32_t pageCount) {
  std::vector<uint32_t> pages;
  if (pageCount == 0) return pages;
  if (first == 0) first = 1;
  if (last == 0) last = pageCount;
  const bool backwards = first > last;
  uint32_t low = std::min(first, last);
  uint32_t high = std::min(std::max(first, last), pageCount);
  if (low > pageCount) return pages;
  for (uint32_t p = low; p <= high; ++p) pages.push_back(p);
  if (backwards) std::reverse(pages.begin(), pages.end());
  return pages;
}

std::string printingTitle(const std::string& name) { return name.size() > 31 ? name.substr(0, 31) : name; }

}  // namespace osk::print
