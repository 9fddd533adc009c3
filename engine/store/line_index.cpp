#include "engine/store/line_index.h"

#include <cassert>

namespace osk {

LineIndex::LineIndex() { pool_.reserve(8); }

int32_t LineIndex::allocNode() {
  if (freeHead_ >= 0) {
    int32_t n = freeHead_;
    freeHead_ = pool_[n].left;
    return n;
  }
  pool_.push_back(Node{0, -1, -1});
  return static_cast<int32_t>(pool_.size() - 1);
}

void LineIndex::freeAll() {
  pool_.clear();
  freeHead_ = -1;
  root_ = -1;
  pathDepth_ = 0;
}

LineIndex::Location LineIndex::find(int32_t line) {
  assert(line >= 0 && line < lineCount_);
  Location loc;
  int32_t node = root_;
  int32_t range = lineCount_;
  int32_t base = 0;
  pathDepth_ = 0;
  while (node >= 0) {
    const Node& n = pool_[node];
    path_[pathDepth_++] = node;
    const int32_t left = static_cast<int32_t>(n.word0 & ~kLeafBit);
    if (n.word0 & kLeafBit) {
      if (line < left) {
        loc.block = static_cast<BlockId>(n.left);
        loc.firstLine = base;
        loc.lines = left;
      } else {
        loc.block = static_cast<BlockId>(n.right);
        loc.firstLine = base + left;
        loc.lines = range - left;
      }
      return loc;
    }
    if (line < left) {
      node = n.left;
      range = left;
    } else {
      line -= left;
      base += left;
      range -= left;
      node = n.right;
    }
  }
  return loc;
}

void LineIndex::addLines(int32_t line, int32_t delta) {
  int32_t node = root_;
  while (node >= 0) {
    Node& n = pool_[node];
    const int32_t left = static_cast<int32_t>(n.word0 & ~kLeafBit);
    if (line < left) {
      n.word0 = (n.word0 & kLeafBit) | static_cast<uint32_t>(left + delta);
      if (n.word0 & kLeafBit) break;
      node = n.left;
    } else {
      if (n.word0 & kLeafBit) break;
      line -= left;
      node = n.right;
    }
  }
  lineCount_ += delta;
}

void LineIndex::insertAfter(BlockId after, int32_t lineInAfter, BlockId fresh, int32_t lines) {
  if (root_ < 0) {
    int32_t n = allocNode();
    pool_[n] = Node{kLeafBit | static_cast<uint32_t>(lines), static_cast<int32_t>(fresh), 0};
    root_ = n;
    lineCount_ = lines;
    ++blockCount_;
    return;
  }
  // Walk down to the leaf pair holding `after`, counting the new lines into every left turn on the way.
  int32_t node = root_;
  int32_t range = lineCount_;
  int32_t line = lineInAfter;
  int depth = 0;
  while (!(pool_[node].word0 & kLeafBit)) {
    Node& n = pool_[node];
    const int32_t left = static_cast<int32_t>(n.word0);
    ++depth;
    if (line < left) {
      n.word0 = static_cast<uint32_t>(left + lines);
      range = left;
      node = n.left;
    } else {
      line -= left;
      range -= left;
      node = n.right;
    }
  }
  ++depth;
  const Node leaf = pool_[node];
  const int32_t left = static_cast<int32_t>(leaf.word0 & ~kLeafBit);
  const bool inLeft = line < left && static_cast<BlockId>(leaf.left) == after;
  if (inLeft && leaf.right == 0) {
    pool_[node].right = static_cast<int32_t>(fresh);
  } else if (inLeft) {
    int32_t a = allocNode();
    int32_t b = allocNode();
    pool_[a] = Node{kLeafBit | static_cast<uint32_t>(left), leaf.left, static_cast<int32_t>(fresh)};
    pool_[b] = Node{kLeafBit | static_cast<uint32_t>(range - left), leaf.right, 0};
    pool_[node] = Node{static_cast<uint32_t>(left + lines), a, b};
    ++depth;
  } else if (leaf.left == 0) {
    // The left slot fell empty earlier: shift the pair left to take the new block.
    pool_[node] = Node{kLeafBit | static_cast<uint32_t>(range), leaf.right, static_cast<int32_t>(fresh)};
    if (emptySlots_ > 0) --emptySlots_;
  } else {
    int32_t a = allocNode();
    int32_t b = allocNode();
    pool_[a] = Node{kLeafBit | static_cast<uint32_t>(left), leaf.left, leaf.right};
    pool_[b] = Node{kLeafBit | static_cast<uint32_t>(lines), static_cast<int32_t>(fresh), 0};
    pool_[node] = Node{static_cast<uint32_t>(range), a, b};
    ++depth;
  }
  lineCount_ += lines;
  ++blockCount_;
  if (depth > kMaxDepth - 1) rebuild();
}

void LineIndex::collect(std::vector<BlockId>& blocks, std::vector<int32_t>& lines) const {
  if (root_ < 0) return;
  struct Item {
    int32_t node;
    int32_t range;
  };
  std::vector<Item> stack;
  stack.push_back({root_, lineCount_});
  while (!stack.empty()) {
    Item it = stack.back();
    stack.pop_back();
    const Node& n = pool_[it.node];
    const int32_t left = static_cast<int32_t>(n.word0 & ~kLeafBit);
    if (n.word0 & kLeafBit) {
      if (n.left != 0) {
        blocks.push_back(static_cast<BlockId>(n.left));
        lines.push_back(left);
      }
      if (n.right != 0) {
        blocks.push_back(static_cast<BlockId>(n.right));
        lines.push_back(it.range - left);
      }
    } else {
      stack.push_back({n.right, it.range - left});
      stack.push_back({n.left, left});
    }
  }
}

void LineIndex::forEach(const std::function<void(BlockId, int32_t)>& visit) const {
  std::vector<BlockId> blocks;
  std::vector<int32_t> lines;
  collect(blocks, lines);
  for (std::size_t i = 0; i < blocks.size(); ++i) visit(blocks[i], lines[i]);
}

int32_t LineIndex::buildRange(const std::vector<BlockId>& blocks, const std::vector<int32_t>& lines,
                              const std::vector<int64_t>& prefix, std::size_t first, std::size_t count) {
  int32_t n = allocNode();
  if (count <= 2) {
    pool_[n] = Node{kLeafBit | static_cast<uint32_t>(lines[first]), static_cast<int32_t>(blocks[first]),
                    count == 2 ? static_cast<int32_t>(blocks[first + 1]) : 0};
    return n;
  }
  // Split on an even count so that leaf pairs stay full.
  std::size_t half = ((count + 3) / 4) * 2;
  int32_t l = buildRange(blocks, lines, prefix, first, half);
  int32_t r = buildRange(blocks, lines, prefix, first + half, count - half);
  pool_[n] = Node{static_cast<uint32_t>(prefix[first + half] - prefix[first]), l, r};
  return n;
}

void LineIndex::build(const std::vector<BlockId>& blocks, const std::vector<int32_t>& lines) {
  freeAll();
  emptySlots_ = 0;
  blockCount_ = static_cast<int32_t>(blocks.size());
  int64_t total = 0;
  std::vector<int64_t> prefix(blocks.size() + 1, 0);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    total += lines[i];
    prefix[i + 1] = total;
  }
  lineCount_ = static_cast<int32_t>(total);
  if (blocks.empty()) return;
  pool_.reserve(blocks.size() + 8);
  root_ = buildRange(blocks, lines, prefix, 0, blocks.size());
}

void LineIndex::rebuild() {
  std::vector<BlockId> blocks;
  std::vector<int32_t> lines;
  collect(blocks, lines);
  build(blocks, lines);
}

void LineIndex::dropEmptyBlocks(const std::function<void(BlockId)>& release) {
  std::vector<BlockId> blocks, kept;
  std::vector<int32_t> lines, keptLines;
  collect(blocks, lines);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (lines[i] == 0) {
      release(blocks[i]);
    } else {
      kept.push_back(blocks[i]);
      keptLines.push_back(lines[i]);
    }
  }
  build(kept, keptLines);
}

int LineIndex::depth() const {
  if (root_ < 0) return 0;
  struct Item {
    int32_t node;
    int d;
  };
  int best = 0;
  std::vector<Item> stack{{root_, 1}};
  while (!stack.empty()) {
    Item it = stack.back();
    stack.pop_back();
    if (it.d > best) best = it.d;
    const Node& n = pool_[it.node];
    if (!(n.word0 & kLeafBit)) {
      stack.push_back({n.left, it.d + 1});
      stack.push_back({n.right, it.d + 1});
    }
  }
  return best;
}

}  // namespace osk
