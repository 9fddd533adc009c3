// The index tree of a line store: a binary tree of line counts over the text blocks, in a pool of 12-byte nodes.
//
// Node word 0: bit 31 set when both children are text blocks (a leaf pair), bits 0 to 30 the number of lines in the
// left child; words 1 and 2: the children (pool offsets of nodes, or block ids; block id 0 is an absent block). A
// node's range is implicit: the parent's range less the left count. Free nodes are chained through word 1, the chain
// ending with -1. An empty index has no root (-1).
//
// Lookups are logarithmic. Splitting a block deepens the tree at one place; when the depth passes the 32 entries of
// the lookup path, or dead slots pile up, the whole tree is rebuilt balanced (amortised, as a scapegoat tree would).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace osk {

using BlockId = uint32_t;   // 0: no block

class LineIndex {
 public:
  static constexpr int kMaxDepth = 32;

  struct Location {
    BlockId block = 0;
    int32_t firstLine = 0;   // 0-based number of the block's first line
    int32_t lines = 0;       // lines held by the block
  };

  LineIndex();

  bool empty() const { return root_ < 0; }
  int32_t lineCount() const { return lineCount_; }

  // Finds the block that holds 0-based line `line` (0 <= line < lineCount()).
  Location find(int32_t line);

  // Rebuilds the tree over `blocks`, in order, with their line counts.
  void build(const std::vector<BlockId>& blocks, const std::vector<int32_t>& lines);

  // Adds `delta` lines to the block that holds 0-based line `line` (for an insertion at the end of a block, pass a
  // line of that block). The block's new count must stay >= 0.
  void addLines(int32_t line, int32_t delta);

  // Inserts block `fresh` holding `lines` lines directly after `after`, which holds 0-based line `lineInAfter`.
  // `after` may be 0 only when the index is empty.
  void insertAfter(BlockId after, int32_t lineInAfter, BlockId fresh, int32_t lines);

  // Calls `visit(block, lines)` for every block, in text order.
  void forEach(const std::function<void(BlockId, int32_t)>& visit) const;

  // Removes blocks holding no lines; `release` is called for each removed block.
  void dropEmptyBlocks(const std::function<void(BlockId)>& release);

  int depth() const;

 private:
  struct Node {
    uint32_t word0;
    int32_t left;
    int32_t right;
  };
  static constexpr uint32_t kLeafBit = 0x80000000u;

  int32_t allocNode();
  void freeAll();
  int32_t buildRange(const std::vector<BlockId>& blocks, const std::vector<int32_t>& lines,
                     const std::vector<int64_t>& prefix, std::size_t first, std::size_t count);
  void collect(std::vector<BlockId>& blocks, std::vector<int32_t>& lines) const;
  void rebuild();

  std::vector<Node> pool_;
  int32_t freeHead_ = -1;
  int32_t root_ = -1;
  int32_t lineCount_ = 0;
  int32_t emptySlots_ = 0;
  int32_t blockCount_ = 0;
  // Lookup path of the last find: node offsets from the root, and whether each step went right.
  int32_t pathDepth_ = 0;
  int32_t path_[kMaxDepth + 2] = {};
};

}  // namespace osk
