// The block layout shared by compiled patterns and compiled substitutions: a two-word header and a chain of nodes.
//
// A compiled block is one heap block (std::malloc) whose address is its handle; the caller owns it and frees it
// with FreeNodeBlock. Header: word 0 the regular-expression flag given to the compiler, word 1 the offset of the
// last node (the End node). Each node is a 12-byte head {flags, data byte count, offset of the previous node}
// followed by its data bytes, so the next node starts at offset + 12 + count and heads are not aligned: they are
// always read and written byte-wise.
// Limits: a block starts with room for 256 bytes and grows by 256; a build that would need more than 20000 bytes
// fails, as does any allocation failure. Readers never walk past the End node named in the header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace osk::regex {

enum class NodeKind : uint32_t {
  LineStart = 1,
  LineEnd = 2,
  Literal = 3,
  CharClass = 4,
  AnyChar = 5,
  GroupOpen = 6,
  GroupClose = 7,
  QuantifiedChar = 8,
  GroupRef = 10,
  Start = 14,
  End = 15,
};

enum class Quantifier : uint32_t { None = 0, OneOrMore = 1, Optional = 2, ZeroOrMore = 3 };

constexpr uint32_t kKindMask = 0x0F;
constexpr uint32_t kQuantifierShift = 4;
constexpr uint32_t kQuantifierMask = 0x30;
constexpr uint32_t kNegatedClass = 0x40;

constexpr uint32_t kHeaderSize = 8;
constexpr uint32_t kNodeHeadSize = 12;
constexpr uint32_t kBlockStep = 256;
constexpr uint32_t kBlockLimit = 20000;
// The most nodes a block within the limit can hold.
constexpr int kMaxNodes = (kBlockLimit - kHeaderSize) / kNodeHeadSize;

// Lines that are matched hold at most this many characters; substitutions expand to at most this many.
constexpr int kMaxLineLength = 1024;
// Groups 1 to 9 have match slots; slot 0 is the whole match.
constexpr int kMaxGroups = 9;
constexpr int kMatchSlots = 10;

// One node as read from a block.
struct NodeView {
  uint32_t offset = 0;
  NodeKind kind = NodeKind::Start;
  Quantifier quantifier = Quantifier::None;
  bool negated = false;
  uint32_t count = 0;
  uint32_t previous = 0;
  const uint8_t* data = nullptr;

  uint32_t NextOffset() const { return offset + kNodeHeadSize + count; }
};

struct BlockHeader {
  int32_t regexFlag = 0;
  uint32_t lastNode = 0;
};

BlockHeader ReadHeader(const uint8_t* block);
NodeView ReadNode(const uint8_t* block, uint32_t offset);

// Walks a block from its Start node to its End node. Stops (Next returns nothing) at the End node, and also when the
// chain is malformed: a first node that is not Start, an unknown kind, or a node past the End named in the header.
class NodeWalker {
 public:
  explicit NodeWalker(const uint8_t* block);
  // The next node, Start first and End last.
  std::optional<NodeView> Next();
  bool Malformed() const { return malformed_; }

 private:
  const uint8_t* block_;
  uint32_t offset_ = kHeaderSize;
  uint32_t last_ = 0;
  bool done_ = false;
  bool malformed_ = false;
};

void FreeNodeBlock(uint8_t* block);

// Builds a block node by node. Every operation returns false once the build has failed (limit or memory); the
// partial block is freed by the destructor unless Release handed it over.
class NodeBlockBuilder {
 public:
  explicit NodeBlockBuilder(int32_t regexFlag);
  ~NodeBlockBuilder();
  NodeBlockBuilder(const NodeBlockBuilder&) = delete;
  NodeBlockBuilder& operator=(const NodeBlockBuilder&) = delete;

  bool AppendNode(NodeKind kind);
  bool AppendData(const void* bytes, uint32_t count);   // to the last node
  bool AppendByte(uint8_t byte) { return AppendData(&byte, 1); }
  // Takes the last data byte off the last node; the node must have one.
  uint8_t RemoveLastByte();
  void SetLastByte(uint8_t byte);   // overwrites the last data byte of the last node

  NodeView Last() const;
  void SetLastKind(NodeKind kind);
  void SetLastQuantifier(Quantifier quantifier);
  void SetLastNegated();

  bool Failed() const { return failed_; }
  // Writes the header and hands the block to the caller, or returns null when the build failed.
  uint8_t* Release();

 private:
  bool Reserve(uint32_t bytes);
  uint32_t LastFlags() const;
  void SetLastFlags(uint32_t flags);

  uint8_t* block_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t used_ = 0;
  uint32_t last_ = 0;   // offset of the last node, 0 before the first
  int32_t regexFlag_;
  bool failed_ = false;
};

}  // namespace osk::regex
