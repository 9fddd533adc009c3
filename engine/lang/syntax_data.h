// The syntax data: the compiled syntax definitions as one block of at most 65535 bytes, its record layouts, the
// regular expressions its expression maps own, and the choice of a definition for a file name.
//
// All references inside the block are byte offsets from its start (0: none); numbers are 32-bit little-endian and
// records are packed without alignment, so every field is read and written byte-wise. The colour tables change
// the current colours and flags of colour records in place; nothing else changes after compilation.
// Readers never trust an offset: a field or record that would lie outside the block reads as absent.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace osk::syntax {

constexpr uint32_t kMaxDataSize = 65535;

// Header, at offset 0.
constexpr uint32_t kHeaderSize = 20;
constexpr uint32_t kHeaderFirstColour = 0;
constexpr uint32_t kHeaderColourCount = 4;
constexpr uint32_t kHeaderFirstMap = 8;
constexpr uint32_t kHeaderMapCount = 12;
constexpr uint32_t kHeaderFirstDefinition = 16;

// Colour record.
constexpr uint32_t kColourSize = 72;
constexpr uint32_t kColourLabel = 0;          // 16 characters and a zero
constexpr uint32_t kColourName = 17;          // 32 characters and a zero
constexpr uint32_t kColourDefaultFore = 52;
constexpr uint32_t kColourCurrentFore = 56;
constexpr uint32_t kColourDefaultBack = 60;
constexpr uint32_t kColourCurrentBack = 64;
constexpr uint32_t kColourFlags = 68;
constexpr uint32_t kFlagUseDefault = 1;        // bit 0: the default pair is used
constexpr uint32_t kFlagCurrentBackNone = 2;   // bit 1
constexpr uint32_t kFlagDefaultBackNone = 4;   // bit 2
constexpr uint32_t kNoBackground = 0x02FFFFFF; // what a background without a value holds
constexpr uint32_t kNoColour = 0xFFFFFFFF;     // none: the normal text colour shows
constexpr uint32_t kPaletteRelative = 0x02000000;

// Map record.
constexpr uint32_t kMapSize = 64;
constexpr uint32_t kMapKind = 0;              // 0 extension, 1 expression
constexpr uint32_t kMapExtension = 4;         // 32 characters and a zero, or the compiled pattern's handle
constexpr uint32_t kMapName = 40;             // 16 characters and a zero
constexpr uint32_t kMapDefinition = 60;
constexpr uint32_t kMapKindExtension = 0;
constexpr uint32_t kMapKindExpression = 1;

// Definition record.
constexpr uint32_t kDefinitionSize = 32;
constexpr uint32_t kDefNext = 0;
constexpr uint32_t kDefMlb = 4;
constexpr uint32_t kDefFirstSlb = 8;
constexpr uint32_t kDefFirstEslb = 12;
constexpr uint32_t kDefKeywordChars = 16;
constexpr uint32_t kDefKeywordCharCount = 20;
constexpr uint32_t kDefFirstKeywords = 24;
constexpr uint32_t kDefFirstKeychars = 28;

// Block and keyword records; the lists are chained through their first field.
constexpr uint32_t kMlbSize = 28;             // colour; start length; start[8]; end length; end[8]
constexpr uint32_t kSlbSize = 36;             // next; colour; start length; start[8]; end length; end[8]; case
constexpr uint32_t kEslbSize = 12;            // next; colour; escape, start, end, unused (one byte each)
constexpr uint32_t kKeywordsHead = 12;        // next; case; colour; then {length byte, characters}..., 0
constexpr uint32_t kKeycharsHead = 12;        // next; colour; count; then the characters
constexpr uint32_t kBlockStringMax = 8;

constexpr uint32_t kLabelMax = 16;
constexpr uint32_t kDisplayNameMax = 32;
constexpr uint32_t kExtensionMax = 32;
constexpr uint32_t kPatternMax = 256;
constexpr uint32_t kCharListMax = 256;
constexpr uint32_t kKeywordMax = 255;         // one length byte per word

uint32_t ReadU32(const std::vector<uint8_t>& bytes, uint32_t offset);
void WriteU32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value);
// A zero-terminated text of at most `room` bytes at `offset`, cut at the block's end.
std::string_view ReadText(const std::vector<uint8_t>& bytes, uint32_t offset, uint32_t room);

struct DecodedDefinition;

// Compiled syntax data and the patterns its expression maps hold; frees the patterns when destroyed.
class SyntaxData {
 public:
  SyntaxData(std::vector<uint8_t> bytes, std::vector<void*> patterns);
  ~SyntaxData();
  SyntaxData(const SyntaxData&) = delete;
  SyntaxData& operator=(const SyntaxData&) = delete;

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t>& bytes() { return bytes_; }

  uint32_t colourCount() const;
  // Offset of colour record `index`, or 0 outside the table.
  uint32_t colourRecord(uint32_t index) const;
  std::string_view colourName(uint32_t index) const;
  std::string_view colourLabel(uint32_t index) const;

  // The definition for a full path name: the first map record that fits, in file order; 0 when none does.
  uint32_t DefinitionFor(std::string_view fullPath) const;

  // The definition at `offset` in a form for fast colouring; null for an offset that is no definition record.
  const DecodedDefinition* Definition(uint32_t offset) const;

 private:
  std::vector<uint8_t> bytes_;
  std::vector<void*> patterns_;
  std::vector<std::pair<uint32_t, std::unique_ptr<DecodedDefinition>>> definitions_;
};

// The file name of a path (after the last `\`, `/` or `:`), and its extension (after its last `.`; none without a
// dot).
std::string_view FileNameOf(std::string_view path);

// The syntax data the engine runs with; null without a syntax file or after a failed compile.
SyntaxData* CurrentSyntax();
void SetCurrentSyntax(std::unique_ptr<SyntaxData> data);

// The definition for a buffer's file name under the current syntax data; 0 without data or without a fitting map.
uint32_t DefinitionForFile(std::string_view fullPath);
// The current syntax data's definition at `offset`, decoded; null for 0, without data, or for no definition.
const DecodedDefinition* DefinitionAt(uint32_t offset);

}  // namespace osk::syntax
