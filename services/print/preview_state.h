// What the print preview shows: the current page, one page or two side by side, and the zoom step; and the page
// order of a print run.
//
// The state never leaves its range: the current page stays within the job (with two pages shown it is the left
// one, and the right one exists only when the job has it), and an operation that is not possible now changes
// nothing and answers false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace osk::print {

enum class PreviewOperation : int32_t {
  kNextPage = 1,
  kPreviousPage = 2,
  kZoomIn = 3,
  kZoomOut = 4,
  kSinglePage = 5,
  kDoublePage = 6,
};

class PreviewState {
 public:
  static constexpr int32_t kZoomSteps = 3;   // zoom 0 shows whole pages; each step enlarges

  explicit PreviewState(uint32_t pageCount) : pages_(pageCount < 1 ? 1 : pageCount) {}

  uint32_t pageCount() const { return pages_; }
  uint32_t page() const { return page_; }   // 1-based; the left page when two are shown
  bool twoPages() const { return two_; }
  int32_t zoom() const { return zoom_; }
  // The pages on view: one, or two when two are shown and the job has a page after the current one.
  uint32_t lastShown() const { return two_ && page_ < pages_ ? page_ + 1 : page_; }

  // Operation numbers 1 to 6; anything else is never possible.
  bool possible(int32_t operation) const;
  bool apply(int32_t operation);

  // "Page 3" or "Pages 3-4".
  std::string label() const;

 private:
  uint32_t pages_;
  uint32_t page_ = 1;
  bool two_ = false;
  int32_t zoom_ = 0;
};

// The pages a print run sends, in order: from `first` to `last` within 1..pageCount, backwards when `first` is
// after `last`; 0 for either end means the job's first or last page. Empty only when the range misses the job.
std::vector<uint32_t> pagesToPrint(uint32_t first, uint32_t last, uint32_t pageCount);

// The document's name as the "Printing" dialog shows it: at most 31 characters.
std::string printingTitle(const std::string& name);

}  // namespace osk::print
