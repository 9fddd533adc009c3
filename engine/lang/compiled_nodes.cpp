#include "engine/lang/compiled_nodes.h"

#include <cstdlib>
#include <cstring>

namespace osk::regex {
namespace {

uint32_t ReadWord(const uint8_t* at) {
  uint32_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

void WriteWord(uint8_t* at, uint32_t word) { std::memcpy(at, &word, sizeof word); }

bool KnownKind(uint32_t kind) {
  switch (static_cast<NodeKind>(kind)) {
    case NodeKind::LineStart:
    case NodeKind::LineEnd:
    case NodeKind::Literal:
    case NodeKind::CharClass:
    case NodeKind::AnyChar:
    case NodeKind::GroupOpen:
    case NodeKind::GroupClose:
    case NodeKind::QuantifiedChar:
    case NodeKind::GroupRef:
    case NodeKind::Start:
    case NodeKind::End:
      return true;
  }
  return false;
}

}  // namespace

BlockHeader ReadHeader(const uint8_t* block) {
  BlockHeader header;
  header.regexFlag = static_cast<int32_t>(ReadWord(block));
  header.lastNode = ReadWord(block + 4);
  return header;
}

NodeView ReadNode(const uint8_t* block, uint32_t offset) {
  NodeView node;
  const uint8_t* head = block + offset;
  const uint32_t flags = ReadWord(head);
  node.offset = offset;
  node.kind = static_cast<NodeKind>(flags & kKindMask);
  node.quantifier = static_cast<Quantifier>((flags & kQuantifierMask) >> kQuantifierShift);
  node.negated = (flags & kNegatedClass) != 0;
  node.count = ReadWord(head + 4);
  node.previous = ReadWord(head + 8);
  node.data = head + kNodeHeadSize;
  return node;
}

NodeWalker::NodeWalker(const uint8_t* block) : block_(block) {
  if (block_ == nullptr) {
    done_ = malformed_ = true;
    return;
  }
  last_ = ReadHeader(block_).lastNode;
  if (last_ < kHeaderSize || last_ > kBlockLimit) done_ = malformed_ = true;
}

std::optional<NodeView> NodeWalker::Next() {
  if (done_) return std::nullopt;
  if (offset_ > last_) {
    done_ = malformed_ = true;
    return std::nullopt;
  }
  NodeView node = ReadNode(block_, offset_);
  const bool first = offset_ == kHeaderSize;
  if (!KnownKind(static_cast<uint32_t>(node.kind)) || (first != (node.kind == NodeKind::Start)) ||
      node.count > kBlockLimit) {
    done_ = malformed_ = true;
    return std::nullopt;
  }
  if (node.kind == NodeKind::End || offset_ == last_) {
    done_ = true;
    if (node.kind != NodeKind::End || offset_ != last_) {
      malformed_ = true;
      return std::nullopt;
    }
  }
  offset_ = node.NextOffset();
  return node;
}

void FreeNodeBlock(uint8_t* block) { std::free(block); }

NodeBlockBuilder::NodeBlockBuilder(int32_t regexFlag) : regexFlag_(regexFlag) {
  used_ = kHeaderSize;
  failed_ = !Reserve(0);
}

NodeBlockBuilder::~NodeBlockBuilder() { std::free(block_); }

bool NodeBlockBuilder::Reserve(uint32_t bytes) {
  if (failed_) return false;
  const uint64_t needed = uint64_t{used_} + bytes;
  if (block_ != nullptr && needed <= capacity_) return true;
  uint64_t capacity = capacity_ == 0 ? kBlockStep : capacity_;
  while (capacity < needed) capacity += kBlockStep;
  if (capacity > kBlockLimit) {
    failed_ = true;
    return false;
  }
  auto* grown = static_cast<uint8_t*>(std::realloc(block_, capacity));
  if (grown == nullptr) {
    failed_ = true;
    return false;
  }
  block_ = grown;
  capacity_ = static_cast<uint32_t>(capacity);
  return true;
}

bool NodeBlockBuilder::AppendNode(NodeKind kind) {
  if (!Reserve(kNodeHeadSize)) return false;
  uint8_t* head = block_ + used_;
  WriteWord(head, static_cast<uint32_t>(kind));
  WriteWord(head + 4, 0);
  WriteWord(head + 8, last_);
  last_ = used_;
  used_ += kNodeHeadSize;
  return true;
}

bool NodeBlockBuilder::AppendData(const void* bytes, uint32_t count) {
  if (last_ == 0 || !Reserve(count)) return false;
  std::memcpy(block_ + used_, bytes, count);
  used_ += count;
  uint8_t* head = block_ + last_;
  WriteWord(head + 4, ReadWord(head + 4) + count);
  return true;
}

uint8_t NodeBlockBuilder::RemoveLastByte() {
  uint8_t* head = block_ + last_;
  const uint32_t count = ReadWord(head + 4);
  const uint8_t byte = block_[used_ - 1];
  WriteWord(head + 4, count - 1);
  --used_;
  return byte;
}

void NodeBlockBuilder::SetLastByte(uint8_t byte) { block_[used_ - 1] = byte; }

NodeView NodeBlockBuilder::Last() const { return ReadNode(block_, last_); }

uint32_t NodeBlockBuilder::LastFlags() const { return ReadWord(block_ + last_); }

void NodeBlockBuilder::SetLastFlags(uint32_t flags) { WriteWord(block_ + last_, flags); }

void NodeBlockBuilder::SetLastKind(NodeKind kind) {
  SetLastFlags((LastFlags() & ~kKindMask) | static_cast<uint32_t>(kind));
}

void NodeBlockBuilder::SetLastQuantifier(Quantifier quantifier) {
  SetLastFlags((LastFlags() & ~kQuantifierMask) | (static_cast<uint32_t>(quantifier) << kQuantifierShift));
}

void NodeBlockBuilder::SetLastNegated() { SetLastFlags(LastFlags() | kNegatedClass); }

uint8_t* NodeBlockBuilder::Release() {
  if (failed_ || last_ == 0) return nullptr;
  WriteWord(block_, static_cast<uint32_t>(regexFlag_));
  WriteWord(block_ + 4, last_);
  uint8_t* block = block_;
  block_ = nullptr;
  return block;
}

}  // namespace osk::regex
