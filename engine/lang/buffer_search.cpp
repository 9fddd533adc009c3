#include "engine/lang/buffer_search.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "engine/lang/compiled_nodes.h"
#include "engine/store/byte_scan.h"
#include "engine/store/line_store.h"

namespace osk {
namespace {

using regex::NodeKind;
using regex::Quantifier;

constexpr size_t kMaxKeyLength = 32;
constexpr int32_t kRunLines = 256;
constexpr int32_t kRunLinesWithoutKey = 32;

uint8_t Fold(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c - 'A' + 'a') : c; }
uint8_t OtherCase(uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c - 'A' + 'a');
  return c;
}

// Finds the key in stored text with a character search for its first character (in both cases when folding).
class KeyScanner {
 public:
  KeyScanner(const std::string& key, bool matchCase)
      : key_(key), matchCase_(matchCase), first_(static_cast<uint8_t>(key.empty() ? 0 : key[0])),
        firstOther_(matchCase ? first_ : OtherCase(first_)) {}

  bool RestMatches(const char* at) const {
    if (matchCase_) return std::memcmp(at + 1, key_.data() + 1, key_.size() - 1) == 0;
    for (size_t i = 1; i < key_.size(); ++i) {
      if (Fold(static_cast<uint8_t>(at[i])) != Fold(static_cast<uint8_t>(key_[i]))) return false;
    }
    return true;
  }

  // The first position at or after `from` where the key starts, or npos.
  size_t FindFrom(std::string_view text, size_t from) const {
    const size_t k = key_.size();
    while (from + k <= text.size()) {
      const size_t span = text.size() - k + 1 - from;
      const char* base = text.data() + from;
      const auto* hit = static_cast<const char*>(std::memchr(base, first_, span));
      if (firstOther_ != first_) {
        const auto* other = static_cast<const char*>(std::memchr(base, firstOther_, hit ? hit - base : span));
        if (other != nullptr) hit = other;
      }
      if (hit == nullptr) return std::string_view::npos;
      if (RestMatches(hit)) return static_cast<size_t>(hit - text.data());
      from = static_cast<size_t>(hit - text.data()) + 1;
    }
    return std::string_view::npos;
  }

  // The last position whose key would end at or before `lastEnd`, or npos.
  size_t FindBackFrom(std::string_view text, int64_t lastEnd) const {
    const auto k = static_cast<int64_t>(key_.size());
    int64_t start = std::min<int64_t>(lastEnd - k + 1, static_cast<int64_t>(text.size()) - k);
    for (; start >= 0; --start) {
      const auto c = static_cast<uint8_t>(text[static_cast<size_t>(start)]);
      if ((c == first_ || c == firstOther_) && RestMatches(text.data() + start)) return static_cast<size_t>(start);
    }
    return std::string_view::npos;
  }

  size_t size() const { return key_.size(); }

 private:
  const std::string& key_;
  bool matchCase_;
  uint8_t first_;
  uint8_t firstOther_;
};

// Serves lines in the direction of the search in runs read in ascending order, so that the store's lookup cache makes
// backward reading as cheap as forward reading. The views stay valid because nothing changes the store while a run
// is served; progress (which may pump messages) is reported only between runs.
class LineRuns {
 public:
  // Runs start short and double up to `maxLines`, so that a match near the start costs little reading ahead.
  LineRuns(LineStore& store, bool forward, int32_t first, int32_t limit, int32_t maxLines)
      : store_(store), forward_(forward), next_(first), limit_(limit), maxLines_(maxLines) {}

  // The line the next run starts with; false when the limit has been passed.
  bool Pending(int32_t& firstLine) const {
    firstLine = next_;
    return forward_ ? next_ <= limit_ : next_ >= limit_;
  }

  // Reads the next run (Pending must have answered true).
  void Fill() {
    runLines_ = std::min(runLines_ * 2, maxLines_);
    const int32_t count = std::min(runLines_, (forward_ ? limit_ - next_ : next_ - limit_) + 1);
    const int32_t low = forward_ ? next_ : next_ - count + 1;
    for (int32_t i = 0; i < count; ++i) views_[static_cast<size_t>(i)] = store_.peekLine(low + i);
    low_ = low;
    count_ = count;
    served_ = 0;
    next_ += forward_ ? count : -count;
  }

  bool Next(int32_t& line, std::string_view& text) {
    if (served_ == count_) return false;
    const int32_t index = forward_ ? served_ : count_ - 1 - served_;
    ++served_;
    line = low_ + index;
    text = views_[static_cast<size_t>(index)];
    store_.rememberLine(line, text);
    return true;
  }

 private:
  LineStore& store_;
  bool forward_;
  int32_t next_;
  int32_t limit_;
  int32_t maxLines_;
  int32_t runLines_ = 4;
  std::array<std::string_view, kRunLines> views_{};
  int32_t low_ = 0;
  int32_t count_ = 0;
  int32_t served_ = 0;
};

SearchTargetProvider gProvider = nullptr;

}  // namespace

int32_t ExpandTabs(std::string_view line, int32_t tabLength, char* out) {
  // Text between tabs is copied a stretch at a time.
  const int32_t limit = regex::kMaxLineLength;
  int32_t cells = 0;
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end && cells < limit) {
    const char* tab = tabLength > 0 ? FindByte(p, end, '\t') : nullptr;
    const char* stop = tab != nullptr ? tab : end;
    const int32_t copy = static_cast<int32_t>(std::min<std::ptrdiff_t>(stop - p, limit - cells));
    if (copy > 0) std::memcpy(out + cells, p, static_cast<size_t>(copy));
    cells += copy;
    if (tab == nullptr || cells >= limit) break;
    const int32_t next = std::min((cells / tabLength + 1) * tabLength, limit);
    std::memset(out + cells, ' ', static_cast<size_t>(next - cells));
    cells = next;
    p = tab + 1;
  }
  out[cells] = 0;
  return cells;
}

// A pattern's key is its leading run of literal text. Forwards, every match starts with the key when no node that
// consumes or anchors comes before it; backwards, every match ends with it when nothing but group ends follows it.
// A `+` character joins the key once and ends it: what follows it need not stand right after its first occurrence
// (the key of `x+y` is "x", never "xy").
SearchKey PrepareSearchKey(const uint8_t* pattern, bool forward, bool expandedTabs) {
  SearchKey key;
  bool before = false;          // something other than literal text came before the key
  bool after = false;           // something other than group ends follows the key
  regex::NodeWalker walker(pattern);
  bool walking = true;
  while (auto node = walker.Next()) {
    if (!walking) {
      if (node->kind != NodeKind::GroupClose && node->kind != NodeKind::End) after = true;
      continue;
    }
    switch (node->kind) {
      case NodeKind::Start:
      case NodeKind::GroupOpen:
      case NodeKind::GroupClose:
        break;
      case NodeKind::Literal: {
        const size_t room = kMaxKeyLength - key.text.size();
        key.text.append(reinterpret_cast<const char*>(node->data), std::min<size_t>(node->count, room));
        if (node->count > room) {
          walking = false;
          after = true;
        }
        break;
      }
      case NodeKind::QuantifiedChar:
        if (node->quantifier == Quantifier::OneOrMore) {
          if (key.text.size() < kMaxKeyLength) key.text += static_cast<char>(node->data[0]);
          walking = false;
          after = true;
        } else if (!key.text.empty()) {
          walking = false;
          after = true;
        } else {
          before = true;
        }
        break;
      case NodeKind::End:
        walking = false;
        break;
      default:   // anchors, classes, any character
        if (!key.text.empty()) {
          walking = false;
          after = true;
        } else {
          before = true;
        }
        break;
    }
  }
  if (walker.Malformed()) return {};
  key.wholeLine = forward ? before : after;
  if (expandedTabs) {
    key.wholeLine = true;
    const size_t first = key.text.find_first_not_of(' ');
    key.text = first == std::string::npos ? std::string() : key.text.substr(first);
    key.text = key.text.substr(0, key.text.find(' '));
  }
  if (key.text.empty()) key.wholeLine = true;
  return key;
}

BufferSearchResult SearchBuffer(LineStore& store, const BufferSearchRequest& request, regex::Matcher& matcher) {
  BufferSearchResult result;
  const int32_t lines = store.lineCount();
  const bool forward = request.forward;
  const int32_t start = request.startLine;
  const int32_t limit = request.limitLine != 0 ? request.limitLine : (forward ? lines : 1);
  if (lines == 0 || start < 1 || start > lines || limit < 1 || limit > lines || request.startColumn < 0) return result;
  if (forward ? limit < start : limit > start) return result;
  if (!matcher.Prepare(request.pattern, request.matchCase)) return result;

  const bool expand = request.tabLength > 0;
  const SearchKey key = PrepareSearchKey(request.pattern, forward, expand);
  const bool hasKey = !key.text.empty();
  const KeyScanner scanner(key.text, request.matchCase);
  char expanded[regex::kMaxLineLength + 1];

  LineRuns runs(store, forward, start, limit, hasKey ? kRunLines : kRunLinesWithoutKey);
  int32_t runStart = 0;
  while (runs.Pending(runStart)) {
    if (request.progress != nullptr && request.progress(request.progressContext, runStart)) {
      result.aborted = true;
      return result;
    }
    runs.Fill();
    int32_t line = 0;
    std::string_view stored;
    while (runs.Next(line, stored)) {
      int32_t col = line == start ? request.startColumn : (forward ? 0 : regex::kMaxLineLength);
      int32_t len = 0;
      if (hasKey && !key.wholeLine) {
        // The pattern is tried only where the key stands: forwards at each key start from the start column on,
        // backwards at each key end from the start column back.
        if (forward) {
          for (size_t at = scanner.FindFrom(stored, static_cast<size_t>(col)); at != std::string_view::npos;
               at = scanner.FindFrom(stored, at + 1)) {
            col = static_cast<int32_t>(at);
            if (matcher.MatchPrepared(stored, true, true, col, len)) return {true, false, line, col, len};
          }
        } else {
          size_t at = scanner.FindBackFrom(stored, col);
          while (at != std::string_view::npos) {
            col = static_cast<int32_t>(at + scanner.size() - 1);
            if (matcher.MatchPrepared(stored, false, true, col, len)) return {true, false, line, col, len};
            // Next, the keys that end before this one does.
            at = scanner.FindBackFrom(stored, static_cast<int64_t>(at + scanner.size()) - 2);
          }
        }
        continue;
      }
      if (hasKey && scanner.FindFrom(stored, 0) == std::string_view::npos) continue;
      std::string_view text = stored;
      if (expand) text = {expanded, static_cast<size_t>(ExpandTabs(stored, request.tabLength, expanded))};
      if (matcher.MatchPrepared(text, forward, false, col, len)) return {true, false, line, col, len};
    }
  }
  return result;
}

void SetSearchTargetProvider(SearchTargetProvider provider) { gProvider = provider; }

bool CurrentSearchTarget(SearchTarget& target, bool withProgress) {
  target = SearchTarget{};
  return gProvider != nullptr && gProvider(target, withProgress) && target.store != nullptr;
}

}  // namespace osk
