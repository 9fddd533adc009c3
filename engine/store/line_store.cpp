#include "engine/store/line_store.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace osk {

LineStore::LineStore() { blocks_.emplace_back(); }

LineStore::~LineStore() = default;

BlockId LineStore::addBlock(std::unique_ptr<TextBlock> block) {
  if (!freeIds_.empty()) {
    BlockId id = freeIds_.back();
    freeIds_.pop_back();
    blocks_[id] = std::move(block);
    return id;
  }
  blocks_.push_back(std::move(block));
  return static_cast<BlockId>(blocks_.size() - 1);
}

void LineStore::releaseBlock(BlockId id) {
  blocks_[id].reset();
  freeIds_.push_back(id);
}

int32_t LineStore::blockCount() const {
  return static_cast<int32_t>(blocks_.size() - 1 - freeIds_.size());
}

void LineStore::resetText() {
  index_.build({}, {});
  blocks_.clear();
  blocks_.emplace_back();
  freeIds_.clear();
  emptyBlocks_ = 0;
  invalidateCache();
}

void LineStore::noteEmptied() {
  ++emptyBlocks_;
  if (index_.lineCount() == 0) {
    resetText();
  } else if (emptyBlocks_ > blockCount() / 4 + 8) {
    index_.dropEmptyBlocks([this](BlockId id) { releaseBlock(id); });
    emptyBlocks_ = 0;
  }
}

bool LineStore::locate(int32_t line0, Located& where) {
  if (line0 < 0 || line0 >= index_.lineCount()) return false;
  if (cacheId_ == 0 || line0 < cacheFirst_ || line0 >= cacheFirst_ + cacheLines_) {
    LineIndex::Location loc = index_.find(line0);
    cacheId_ = loc.block;
    cacheFirst_ = loc.firstLine;
    cacheLines_ = loc.lines;
    cacheLine_ = loc.firstLine;
    cacheOffset_ = 0;
  }
  TextBlock* block = blocks_[cacheId_].get();
  uint32_t offset = 0;
  int32_t at = cacheFirst_;
  if (line0 >= cacheLine_) {
    offset = cacheOffset_;
    at = cacheLine_;
  }
  const char* text = block->text;
  if (line0 < cacheLine_ && cacheLine_ - line0 < line0 - cacheFirst_) {
    // Nearer the line found last than the block's start (a search reads ahead, then comes back for the line that
    // matched): walk back from there, line end by line end.
    offset = cacheOffset_;
    at = cacheLine_;
    while (at > line0) {
      uint32_t p = offset - 1;   // the line feed that ends the line before
      while (p > 0 && text[p - 1] != '\n') --p;
      offset = p;
      --at;
    }
  }
  while (at < line0) {
    const void* lf = std::memchr(text + offset, '\n', block->used - offset);
    offset = static_cast<uint32_t>(static_cast<const char*>(lf) - text) + 1;
    ++at;
  }
  const void* lf = std::memchr(text + offset, '\n', block->used - offset);
  uint32_t end = static_cast<uint32_t>(static_cast<const char*>(lf) - text);
  cacheLine_ = line0;
  cacheOffset_ = offset;
  where.block = block;
  where.id = cacheId_;
  where.firstLine = cacheFirst_;
  where.lines = cacheLines_;
  where.offset = offset;
  where.length = end - offset - (unix_ ? 0 : 1);
  return true;
}

void LineStore::rememberLine(int32_t line, std::string_view text) {
  const int32_t line0 = line - 1;
  if (cacheId_ == 0 || line0 < cacheFirst_ || line0 >= cacheFirst_ + cacheLines_ || text.data() == nullptr) return;
  const TextBlock* block = blocks_[cacheId_].get();
  if (text.data() < block->text || text.data() + text.size() > block->text + block->used) return;
  cacheLine_ = line0;
  cacheOffset_ = static_cast<uint32_t>(text.data() - block->text);
}

bool LineStore::getLine(int32_t line, std::string& out) {
  std::string_view v = peekLine(line);
  if (v.data() == nullptr) return false;
  out.assign(v);
  return true;
}

bool LineStore::getLine(int32_t line, char* destination, int32_t* length) {
  std::string_view v = peekLine(line);
  if (v.data() == nullptr) return false;
  std::memcpy(destination, v.data(), v.size());
  destination[v.size()] = '\0';
  if (length) *length = static_cast<int32_t>(v.size());
  return true;
}

std::string_view LineStore::peekLine(int32_t line) {
  Located w;
  if (!locate(line - 1, w)) return {};
  return std::string_view(w.block->text + w.offset, w.length);
}

bool LineStore::validLine(std::string_view text) const {
  if (text.size() > static_cast<std::size_t>(kMaxLineLength)) return false;
  if (text.find('\n') != std::string_view::npos) return false;
  if (!unix_ && text.find('\r') != std::string_view::npos) return false;
  return true;
}

void LineStore::putLine(char* at, std::string_view text) const {
  // An empty view may carry no pointer at all.
  if (!text.empty()) std::memcpy(at, text.data(), text.size());
  if (unix_) {
    at[text.size()] = '\n';
  } else {
    at[text.size()] = '\r';
    at[text.size() + 1] = '\n';
  }
}

StoreStatus LineStore::insertLines(int32_t after, const std::vector<std::string_view>& lines) {
  if (after < 0 || after > lineCount()) return StoreStatus::kFailure;
  for (std::string_view l : lines) {
    if (!validLine(l)) return StoreStatus::kRefused;
  }
  if (lines.empty()) return StoreStatus::kOk;
  StoreStatus status;
  if (after == 0 && lineCount() > 0) {
    // Inserting before the first line: the first line moves behind the new ones, so that every insertion
    // happens at the end of an existing line.
    std::string first(peekLine(1));
    std::vector<std::string_view> rest(lines.begin() + 1, lines.end());
    rest.push_back(first);
    status = replaceLine(1, lines[0]);
    if (status == StoreStatus::kOk) status = insertAfterLine(1, rest);
  } else {
    status = insertAfterLine(after, lines);
  }
  if (status == StoreStatus::kOk) properties_.linesInserted(after, static_cast<int32_t>(lines.size()));
  return status;
}

StoreStatus LineStore::insertAfterLine(int32_t after, const std::vector<std::string_view>& lines) {
  // The place of the line before the new ones is found while the text is as the cache knows it; every change
  // below forgets or resets the cache.
  const uint32_t eol = eolLength();
  std::size_t i = 0;
  BlockId cur = 0;
  int32_t curLast = -1;   // 0-based number of the last line of `cur`
  if (after == 0) {
    invalidateCache();
    // The text is empty: the first block takes the first line.
    auto block = newTextBlock();
    if (!block) return StoreStatus::kNoMemory;
    putLine(block->text, lines[0]);
    block->used = static_cast<uint32_t>(lines[0].size() + eol);
    cur = addBlock(std::move(block));
    index_.insertAfter(0, 0, cur, 1);
    curLast = 0;
    i = 1;
  } else {
    Located w;
    locate(after - 1, w);
    invalidateCache();
    const uint32_t offset = w.offset + w.length + eol;
    std::size_t needed = 0;
    for (std::string_view l : lines) needed += l.size() + eol;
    TextBlock* b = w.block;
    if (needed <= b->room()) {
      std::memmove(b->text + offset + needed, b->text + offset, b->used - offset);
      uint32_t at = offset;
      for (std::string_view l : lines) {
        putLine(b->text + at, l);
        at += static_cast<uint32_t>(l.size() + eol);
      }
      b->used += static_cast<uint32_t>(needed);
      index_.addLines(after - 1, static_cast<int32_t>(lines.size()));
      // The block is the one found and its first line stays: the last line put in is known, which makes lines
      // added one after another at the end (as the undo area keeps them) cost no walk through the block.
      cacheId_ = w.id;
      cacheFirst_ = w.firstLine;
      cacheLines_ = w.lines + static_cast<int32_t>(lines.size());
      cacheLine_ = after - 1 + static_cast<int32_t>(lines.size());
      cacheOffset_ = at - static_cast<uint32_t>(lines.back().size() + eol);
      return StoreStatus::kOk;
    }
    // Not enough room: the lines behind the insertion point move to a block of their own.
    const int32_t tailLines = w.firstLine + w.lines - after;
    if (tailLines > 0) {
      auto tail = newTextBlock();
      if (!tail) return StoreStatus::kNoMemory;
      tail->used = b->used - offset;
      std::memcpy(tail->text, b->text + offset, tail->used);
      b->used = offset;
      index_.addLines(after - 1, -tailLines);
      index_.insertAfter(w.id, after - 1, addBlock(std::move(tail)), tailLines);
    }
    cur = w.id;
    curLast = after - 1;
  }
  for (; i < lines.size(); ++i) {
    std::string_view l = lines[i];
    TextBlock* b = blocks_[cur].get();
    if (l.size() + eol <= b->room()) {
      putLine(b->text + b->used, l);
      b->used += static_cast<uint32_t>(l.size() + eol);
      index_.addLines(curLast, 1);
    } else {
      auto block = newTextBlock();
      if (!block) return StoreStatus::kNoMemory;
      putLine(block->text, l);
      block->used = static_cast<uint32_t>(l.size() + eol);
      BlockId id = addBlock(std::move(block));
      index_.insertAfter(cur, curLast, id, 1);
      cur = id;
    }
    ++curLast;
  }
  return StoreStatus::kOk;
}

StoreStatus LineStore::deleteLines(int32_t first, int32_t count) {
  if (count <= 0) return StoreStatus::kOk;
  if (first < 1 || first > lineCount()) return StoreStatus::kFailure;
  if (count > lineCount() - first + 1) count = lineCount() - first + 1;
  const uint32_t eol = eolLength();
  int32_t remaining = count;
  while (remaining > 0) {
    Located w;
    locate(first - 1, w);
    invalidateCache();
    const int32_t inBlock = first - 1 - w.firstLine;
    const int32_t take = std::min(remaining, w.lines - inBlock);
    // Find the byte offset behind the last deleted line of this block.
    uint32_t end = w.offset;
    for (int32_t k = 0; k < take; ++k) {
      const void* lf = std::memchr(w.block->text + end, '\n', w.block->used - end);
      end = static_cast<uint32_t>(static_cast<const char*>(lf) - w.block->text) + 1;
    }
    (void)eol;
    std::memmove(w.block->text + w.offset, w.block->text + end, w.block->used - end);
    w.block->used -= end - w.offset;
    index_.addLines(first - 1, -take);
    remaining -= take;
    if (take == w.lines) noteEmptied();
  }
  invalidateCache();
  properties_.linesDeleted(first, count);
  return StoreStatus::kOk;
}

StoreStatus LineStore::replaceLine(int32_t line, std::string_view text) {
  if (!validLine(text)) return StoreStatus::kRefused;
  Located w;
  if (!locate(line - 1, w)) return StoreStatus::kFailure;
  invalidateCache();
  const int64_t delta = static_cast<int64_t>(text.size()) - static_cast<int64_t>(w.length);
  TextBlock* b = w.block;
  int32_t blockLines = w.lines;
  if (delta > static_cast<int64_t>(b->room())) {
    const uint32_t eol = eolLength();
    const uint32_t next = w.offset + w.length + eol;
    const int32_t line0 = line - 1;
    const int32_t tailLines = w.firstLine + w.lines - line;
    if (tailLines > 0) {
      auto tail = newTextBlock();
      if (!tail) return StoreStatus::kNoMemory;
      tail->used = b->used - next;
      std::memcpy(tail->text, b->text + next, tail->used);
      b->used = next;
      index_.addLines(line0, -tailLines);
      index_.insertAfter(w.id, line0, addBlock(std::move(tail)), tailLines);
      blockLines -= tailLines;
    }
    if (delta > static_cast<int64_t>(b->room())) {
      // Still no room: the line moves to a block of its own (it cannot be the block's only line here, since a
      // single line always fits).
      auto own = newTextBlock();
      if (!own) return StoreStatus::kNoMemory;
      putLine(own->text, text);
      own->used = static_cast<uint32_t>(text.size() + eol);
      b->used = w.offset;
      index_.addLines(line0, -1);
      index_.insertAfter(w.id, line0 - 1, addBlock(std::move(own)), 1);
      return StoreStatus::kOk;
    }
  }
  const uint32_t oldEnd = w.offset + w.length;
  std::memmove(b->text + oldEnd + delta, b->text + oldEnd, b->used - oldEnd);
  if (!text.empty()) std::memcpy(b->text + w.offset, text.data(), text.size());
  b->used = static_cast<uint32_t>(b->used + delta);
  // The block keeps its lines and the line its start: the place found stays good, so that a walk that replaces
  // line after line does not count its way through the block again for every line.
  cacheId_ = w.id;
  cacheFirst_ = w.firstLine;
  cacheLines_ = blockLines;
  cacheLine_ = line - 1;
  cacheOffset_ = w.offset;
  return StoreStatus::kOk;
}

StoreStatus LineStore::setUnixLineEnds(bool unix) {
  if (unix == unix_) return StoreStatus::kOk;
  // The undo area follows the text, so that lines can move between them unchanged.
  if (area_ != nullptr) {
    StoreStatus s = area_->setUnixLineEnds(unix);
    if (s != StoreStatus::kOk) return s;
  }
  if (!unix_ || lineCount() == 0) {
    // CR LF to LF only shrinks lines; an empty text just changes its mode.
  }
  // A carriage return is ordinary text in Unix mode but a line end otherwise: such text cannot change mode.
  if (unix_ && !unix) {
    for (int32_t l = 1; l <= lineCount(); ++l) {
      if (peekLine(l).find('\r') != std::string_view::npos) return StoreStatus::kRefused;
    }
  }
  std::vector<std::unique_ptr<TextBlock>> fresh;
  std::vector<int32_t> counts;
  const uint32_t eol = unix ? 1u : 2u;
  try {
    for (int32_t l = 1; l <= lineCount(); ++l) {
      std::string_view v = peekLine(l);
      if (fresh.empty() || fresh.back()->room() < v.size() + eol) {
        auto block = newTextBlock();
        if (!block) return StoreStatus::kNoMemory;
        fresh.push_back(std::move(block));
        counts.push_back(0);
      }
      TextBlock& b = *fresh.back();
      std::memcpy(b.text + b.used, v.data(), v.size());
      b.used += static_cast<uint32_t>(v.size());
      if (!unix) b.text[b.used++] = '\r';
      b.text[b.used++] = '\n';
      ++counts.back();
    }
  } catch (const std::bad_alloc&) {
    return StoreStatus::kNoMemory;
  }
  adoptBlocks(std::move(fresh), counts, unix);
  return StoreStatus::kOk;
}

LineStore& LineStore::undoArea() {
  if (!area_) {
    area_ = std::make_unique<LineStore>();
    area_->unix_ = unix_;
  }
  return *area_;
}

StoreStatus LineStore::splitBefore(int32_t line0) {
  if (line0 <= 0 || line0 >= lineCount()) return StoreStatus::kOk;
  Located w;
  locate(line0, w);
  invalidateCache();
  if (w.firstLine == line0) return StoreStatus::kOk;
  auto tail = newTextBlock();
  if (!tail) return StoreStatus::kNoMemory;
  const int32_t tailLines = w.firstLine + w.lines - line0;
  tail->used = w.block->used - w.offset;
  std::memcpy(tail->text, w.block->text + w.offset, tail->used);
  w.block->used = w.offset;
  index_.addLines(line0 - 1, -tailLines);
  index_.insertAfter(w.id, line0 - 1, addBlock(std::move(tail)), tailLines);
  return StoreStatus::kOk;
}

void LineStore::takeBlockList(std::vector<BlockId>& ids, std::vector<int32_t>& lines) {
  index_.forEach([&](BlockId id, int32_t n) {
    if (n > 0) {
      ids.push_back(id);
      lines.push_back(n);
    } else {
      releaseBlock(id);
    }
  });
  emptyBlocks_ = 0;
}

StoreStatus LineStore::moveLines(LineStore& from, int32_t first, int32_t count, LineStore& to, int32_t after) {
  if (count <= 0) return StoreStatus::kOk;
  if (&from == &to || from.unix_ != to.unix_) return StoreStatus::kFailure;
  if (first < 1 || count > from.lineCount() - first + 1 || after < 0 || after > to.lineCount()) {
    return StoreStatus::kFailure;
  }
  // Property pairs of the moved lines, renumbered for their new place.
  std::vector<LineProperties::Pair> pairs;
  for (const auto& p : from.properties_.pairs()) {
    if (p.line >= first && p.line < first + count) pairs.push_back({p.line - first + after + 1, p.bits});
  }
  constexpr int32_t kCopyLimit = 512;
  if (count <= kCopyLimit) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int32_t l = first; l < first + count; ++l) texts.emplace_back(from.peekLine(l));
    std::vector<std::string_view> views(texts.begin(), texts.end());
    StoreStatus s = to.insertLines(after, views);
    if (s != StoreStatus::kOk) return s;
    from.deleteLines(first, count);
  } else {
    StoreStatus s = from.splitBefore(first - 1);
    if (s == StoreStatus::kOk) s = from.splitBefore(first - 1 + count);
    if (s == StoreStatus::kOk) s = to.splitBefore(after);
    if (s != StoreStatus::kOk) return s;
    std::vector<BlockId> fromIds, toIds;
    std::vector<int32_t> fromLines, toLines;
    from.takeBlockList(fromIds, fromLines);
    to.takeBlockList(toIds, toLines);
    std::vector<BlockId> keptIds, newToIds;
    std::vector<int32_t> keptLines, newToLines;
    // Blocks of `to` up to line `after`, then the moved blocks, then the rest of `to`.
    std::size_t t = 0;
    for (int32_t seen = 0; t < toIds.size() && seen < after; ++t) {
      seen += toLines[t];
      newToIds.push_back(toIds[t]);
      newToLines.push_back(toLines[t]);
    }
    int32_t line = 0;
    for (std::size_t i = 0; i < fromIds.size(); ++i) {
      const bool moved = line >= first - 1 && line < first - 1 + count;
      line += fromLines[i];
      if (moved) {
        newToIds.push_back(to.addBlock(std::move(from.blocks_[fromIds[i]])));
        newToLines.push_back(fromLines[i]);
        from.releaseBlock(fromIds[i]);
      } else {
        keptIds.push_back(fromIds[i]);
        keptLines.push_back(fromLines[i]);
      }
    }
    for (; t < toIds.size(); ++t) {
      newToIds.push_back(toIds[t]);
      newToLines.push_back(toLines[t]);
    }
    from.index_.build(keptIds, keptLines);
    to.index_.build(newToIds, newToLines);
    from.invalidateCache();
    to.invalidateCache();
    if (from.lineCount() == 0) from.resetText();
    from.properties_.linesDeleted(first, count);
    to.properties_.linesInserted(after, count);
  }
  for (const auto& p : pairs) to.properties_.assign(p.line, p.bits);
  return StoreStatus::kOk;
}

void LineStore::adoptBlocks(std::vector<std::unique_ptr<TextBlock>> blocks, const std::vector<int32_t>& lines,
                            bool unix) {
  resetText();
  unix_ = unix;
  std::vector<BlockId> ids;
  std::vector<int32_t> counts;
  ids.reserve(blocks.size());
  blocks_.reserve(blocks.size() + 1);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (lines[i] == 0) continue;
    ids.push_back(addBlock(std::move(blocks[i])));
    counts.push_back(lines[i]);
  }
  index_.build(ids, counts);
}

bool LineStore::selfCheck() {
  bool ok = true;
  int32_t total = 0;
  index_.forEach([&](BlockId id, int32_t lines) {
    if (id >= blocks_.size() || !blocks_[id]) {
      ok = false;
      return;
    }
    const TextBlock& b = *blocks_[id];
    if (b.used > kTextBlockCapacity) ok = false;
    if (countLines(b) != lines) ok = false;
    if (b.used > 0 && b.text[b.used - 1] != '\n') ok = false;
    total += lines;
  });
  if (total != lineCount()) ok = false;
  if (index_.depth() > LineIndex::kMaxDepth) ok = false;
  return ok;
}

}  // namespace osk
