// The line store of one buffer: its text in 8 KB text blocks indexed by a tree of line counts, plus the line
// property table and the time of the file behind it.
//
// Lines are numbered from 1. A line holds at most 1024 characters and never contains its own line end (LF, and in
// CR LF mode also CR); operations given such a line refuse it. Reading lines in ascending order costs one scan per
// block, through the lookup cache. An empty text has line count 0, and getting line 1 fails.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/store/byte_scan.h"
#include "engine/store/line_index.h"
#include "engine/store/line_properties.h"
#include "engine/store/text_block.h"

namespace osk {

// The store's own status numbers; the buffer layer translates them.
enum class StoreStatus : int32_t {
  kOk = 0,
  kFailure = 1800,
  kNoMemory = 1801,
  kReadFailed = 1802,
  kFailure2 = 1803,
  kWriteFailed = 1805,
  kRefused = 1806,
  kLoadAborted = 1807,
  kSaveAborted = 1808,
};

class LineStore {
 public:
  LineStore();
  ~LineStore();
  LineStore(const LineStore&) = delete;
  LineStore& operator=(const LineStore&) = delete;

  int32_t lineCount() const { return index_.lineCount(); }
  bool unixLineEnds() const { return unix_; }
  // Rewrites every line end; refused (kNoMemory) only when the new blocks cannot be had.
  StoreStatus setUnixLineEnds(bool unix);

  // The text of line `line` without its line end; false outside 1 to lineCount().
  bool getLine(int32_t line, std::string& out);
  // Fills `destination` (room for 1025 bytes) with the line and a terminating zero.
  bool getLine(int32_t line, char* destination, int32_t* length);
  // A view of the line's text, valid until the store next changes; empty view outside the text.
  std::string_view peekLine(int32_t line);
  // Tells the store that `text`, a view peekLine gave and the store unchanged since, is line `line`: a reader
  // that reads ahead and then comes back to a line it has seen finds it at once.
  void rememberLine(int32_t line, std::string_view text);

  // Calls `visit(line, text)` for lines `first` to `last` in order, the text valid during the call only; the
  // visitor must not change the store. Stops when `visit` returns false, and returns false then. Walking costs one
  // look-up per block, not per line.
  template <typename Visit>
  bool forEachLine(int32_t first, int32_t last, Visit&& visit) {
    if (first < 1) first = 1;
    if (last > lineCount()) last = lineCount();
    int32_t line0 = first - 1;
    const uint32_t eol = eolLength();
    while (line0 < last) {
      Located w;
      if (!locate(line0, w)) return true;
      const char* text = w.block->text;
      const uint32_t used = w.block->used;
      uint32_t offset = w.offset;
      const int32_t stop = w.firstLine + w.lines < last ? w.firstLine + w.lines : last;
      for (; line0 < stop; ++line0) {
        const char* lf = FindByte(text + offset, text + used, '\n');
        const uint32_t end = static_cast<uint32_t>(lf - text);
        if (!visit(line0 + 1, std::string_view(text + offset, end + 1 - eol - offset))) return false;
        offset = end + 1;
      }
    }
    return true;
  }

  // Calls `visit(line, text)`, in order, for the lines that may hold string `a` or `b` (neither empty): those that
  // hold the first two bytes of either (the first byte of a one-byte string). Works as forEachLine does, but the
  // text between such lines is passed over sixteen bytes a step, without looking for each line's end.
  template <typename Visit>
  bool forEachLineHolding(std::string_view a, std::string_view b, Visit&& visit) {
    if (a.empty() || b.empty()) return true;
    const bool pairs = a.size() >= 2 && b.size() >= 2;
    const uint32_t cr = eolLength() - 1;
    int32_t line = 1;
    return forEachBlock([&](TextBlock& block, int32_t lines) {
      const char* p = block.text;
      const char* const end = block.text + block.used;
      const int32_t next = line + lines;
      while (p < end) {
        size_t lineEnds = 0;
        const char* hit = pairs ? FindCounting<true>(p, end, a[0], a[1], b[0], b[1], '\n', &lineEnds)
                                : FindCounting<false>(p, end, a[0], 0, b[0], 0, '\n', &lineEnds);
        if (hit == nullptr) break;
        line += static_cast<int32_t>(lineEnds);
        // The hit's line starts after the last line end before it; lines are short, so it is sought backwards.
        const char* lastLf = lineEnds != 0 ? FindLastByte(p, hit, '\n') : nullptr;
        const char* start = lastLf != nullptr ? lastLf + 1 : p;
        const char* lf = FindByte(hit, end, '\n');
        if (lf == nullptr) break;
        // A hit on the CR of a CR LF line end belongs to no text.
        if (hit < lf - cr) {
          if (!visit(line, std::string_view(start, static_cast<size_t>(lf - cr - start)))) return false;
        }
        ++line;
        p = lf + 1;
      }
      line = next;
      return true;
    });
  }

  // Inserts `lines` after line `after` (0: before the first line). Property pairs of later lines move with them.
  StoreStatus insertLines(int32_t after, const std::vector<std::string_view>& lines);
  StoreStatus insertLine(int32_t after, std::string_view text) { return insertLines(after, {text}); }
  // Deletes `count` lines from `first`; their property pairs go.
  StoreStatus deleteLines(int32_t first, int32_t count);
  StoreStatus replaceLine(int32_t line, std::string_view text);

  // Moves `count` lines from `first` of `from` behind line `after` of `to` (0: before its first line), with their
  // property bits. Both stores must use the same line ends. Short runs are copied line by line; long runs hand
  // whole text blocks over, so that moving a million lines copies at most two partial blocks.
  static StoreStatus moveLines(LineStore& from, int32_t first, int32_t count, LineStore& to, int32_t after);

  // The undo area: lines kept behind the last text line for undo and redo. They are not counted by lineCount(),
  // and are never read, searched or written as text. It follows the text's line ends.
  LineStore& undoArea();
  int32_t undoAreaLines() const { return area_ ? area_->lineCount() : 0; }
  void clearUndoArea() { area_.reset(); }

  LineProperties& properties() { return properties_; }
  const LineProperties& properties() const { return properties_; }

  // Loading and saving work on whole blocks.
  // Replaces the whole text with `blocks`, whose line counts are given; the property table is kept.
  void adoptBlocks(std::vector<std::unique_ptr<TextBlock>> blocks, const std::vector<int32_t>& lines, bool unix);
  // Calls `visit(block, lines)` for every block in text order; the visitor may shrink the block's text as long as
  // it keeps every line and line end (trailing blank stripping).
  template <typename Visit>
  bool forEachBlock(Visit&& visit) {
    std::vector<std::pair<BlockId, int32_t>> order;
    index_.forEach([&](BlockId id, int32_t lines) {
      if (lines > 0) order.emplace_back(id, lines);
    });
    invalidateCache();
    for (auto& [id, lines] : order) {
      if (!visit(*blocks_[id], lines)) return false;
    }
    return true;
  }

  int64_t fileTime() const { return fileTime_; }
  void setFileTime(int64_t time) { fileTime_ = time; }

  int32_t blockCount() const;
  int indexDepth() const { return index_.depth(); }
  // Checks the internal invariants (block line counts against the index); for tests.
  bool selfCheck();

 private:
  struct Located {
    TextBlock* block = nullptr;
    BlockId id = 0;
    int32_t firstLine = 0;   // 0-based
    int32_t lines = 0;
    uint32_t offset = 0;     // of the line's first byte
    uint32_t length = 0;     // without line end
  };

  bool locate(int32_t line0, Located& where);
  uint32_t eolLength() const { return unix_ ? 1u : 2u; }
  void putLine(char* at, std::string_view text) const;
  bool validLine(std::string_view text) const;
  BlockId addBlock(std::unique_ptr<TextBlock> block);
  void releaseBlock(BlockId id);
  void invalidateCache() { cacheId_ = 0; }
  void noteEmptied();
  void resetText();
  StoreStatus insertAfterLine(int32_t after, const std::vector<std::string_view>& lines);
  // Makes 0-based line `line0` the first line of a block (a no-op at the ends of the text).
  StoreStatus splitBefore(int32_t line0);
  // Blocks in text order with their line counts; blocks holding no lines are released.
  void takeBlockList(std::vector<BlockId>& ids, std::vector<int32_t>& lines);

  LineIndex index_;
  std::vector<std::unique_ptr<TextBlock>> blocks_;   // by block id; id 0 unused
  std::vector<BlockId> freeIds_;
  int32_t emptyBlocks_ = 0;
  bool unix_ = false;
  int64_t fileTime_ = 0;
  LineProperties properties_;
  std::unique_ptr<LineStore> area_;

  // Lookup cache: the block last looked up and the line last read in it.
  BlockId cacheId_ = 0;
  int32_t cacheFirst_ = 0;
  int32_t cacheLines_ = 0;
  int32_t cacheLine_ = 0;
  uint32_t cacheOffset_ = 0;
};

}  // namespace osk
