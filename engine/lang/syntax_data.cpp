#include "engine/lang/syntax_data.h"

#include <algorithm>
#include <cstring>

#include "engine/lang/compiled_nodes.h"
#include "engine/lang/regex_api.h"
#include "engine/lang/regex_matcher.h"
#include "engine/lang/syntax_definition.h"

namespace osk::syntax {

uint32_t ReadU32(const std::vector<uint8_t>& bytes, uint32_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
  const uint8_t* p = bytes.data() + offset;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

void WriteU32(std::vector<uint8_t>& bytes, uint32_t offset, uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) return;
  uint8_t* p = bytes.data() + offset;
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

std::string_view ReadText(const std::vector<uint8_t>& bytes, uint32_t offset, uint32_t room) {
  if (offset >= bytes.size()) return {};
  const uint32_t available = std::min<uint32_t>(room, static_cast<uint32_t>(bytes.size()) - offset);
  const char* p = reinterpret_cast<const char*>(bytes.data() + offset);
  return std::string_view(p, strnlen(p, available));
}

SyntaxData::SyntaxData(std::vector<uint8_t> bytes, std::vector<void*> patterns)
    : bytes_(std::move(bytes)), patterns_(std::move(patterns)) {
  uint32_t at = ReadU32(bytes_, kHeaderFirstDefinition);
  // Each definition record takes 32 bytes, which bounds the chain.
  for (uint32_t steps = 0; at != 0 && steps <= kMaxDataSize / kDefinitionSize; ++steps) {
    auto decoded = std::make_unique<DecodedDefinition>();
    if (!DecodeDefinition(bytes_, at, *decoded)) break;
    definitions_.emplace_back(at, std::move(decoded));
    at = ReadU32(bytes_, at + kDefNext);
  }
}

SyntaxData::~SyntaxData() {
  for (void* p : patterns_) DestroyRE(static_cast<HCOMPILEDRE>(p));
}

uint32_t SyntaxData::colourCount() const {
  const uint32_t first = ReadU32(bytes_, kHeaderFirstColour);
  const uint32_t count = ReadU32(bytes_, kHeaderColourCount);
  if (first == 0 || first > bytes_.size()) return 0;
  return std::min<uint32_t>(count, (static_cast<uint32_t>(bytes_.size()) - first) / kColourSize);
}

uint32_t SyntaxData::colourRecord(uint32_t index) const {
  if (index >= colourCount()) return 0;
  return ReadU32(bytes_, kHeaderFirstColour) + index * kColourSize;
}

std::string_view SyntaxData::colourName(uint32_t index) const {
  const uint32_t at = colourRecord(index);
  return at == 0 ? std::string_view() : ReadText(bytes_, at + kColourName, kDisplayNameMax + 1);
}

std::string_view SyntaxData::colourLabel(uint32_t index) const {
  const uint32_t at = colourRecord(index);
  return at == 0 ? std::string_view() : ReadText(bytes_, at + kColourLabel, kLabelMax + 1);
}

const DecodedDefinition* SyntaxData::Definition(uint32_t offset) const {
  if (offset == 0) return nullptr;
  for (const auto& [at, decoded] : definitions_) {
    if (at == offset) return decoded.get();
  }
  return nullptr;
}

std::string_view FileNameOf(std::string_view path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<uint8_t>(a[i])) != FoldCase(static_cast<uint8_t>(b[i]))) return false;
  }
  return true;
}

regex::Matcher& NameMatcher() {
  // Its own matcher, so choosing a definition never disturbs the last search match that a replace expands.
  static regex::Matcher* matcher = new regex::Matcher();
  return *matcher;
}

}  // namespace

uint32_t SyntaxData::DefinitionFor(std::string_view fullPath) const {
  const std::string_view name = FileNameOf(fullPath);
  const size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string_view::npos;
  const std::string_view extension = hasExtension ? name.substr(dot + 1) : std::string_view();

  const uint32_t first = ReadU32(bytes_, kHeaderFirstMap);
  const uint32_t count = ReadU32(bytes_, kHeaderMapCount);
  if (first == 0) return 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = first + i * kMapSize;
    if (at > bytes_.size() || bytes_.size() - at < kMapSize) break;
    bool fits = false;
    if (ReadU32(bytes_, at + kMapKind) == kMapKindExpression) {
      const uint8_t* pattern = nullptr;
      std::memcpy(&pattern, bytes_.data() + at + kMapExtension, sizeof pattern);
      if (!name.empty() && name.size() <= static_cast<size_t>(regex::kMaxLineLength)) {
        int32_t col = 0;
        int32_t len = 0;
        fits = NameMatcher().Match(pattern, name, true, false, col, len) && col == 0 &&
               static_cast<size_t>(len) == name.size();
      }
    } else {
      fits = hasExtension && SameIgnoringCase(extension, ReadText(bytes_, at + kMapExtension, kExtensionMax + 1));
    }
    if (fits) return ReadU32(bytes_, at + kMapDefinition);
  }
  return 0;
}

namespace {
std::unique_ptr<SyntaxData>& CurrentSlot() {
  static std::unique_ptr<SyntaxData>* slot = new std::unique_ptr<SyntaxData>();
  return *slot;
}
}  // namespace

SyntaxData* CurrentSyntax() { return CurrentSlot().get(); }

void SetCurrentSyntax(std::unique_ptr<SyntaxData> data) { CurrentSlot() = std::move(data); }

uint32_t DefinitionForFile(std::string_view fullPath) {
  const SyntaxData* data = CurrentSyntax();
  return data != nullptr ? data->DefinitionFor(fullPath) : 0;
}

const DecodedDefinition* DefinitionAt(uint32_t offset) {
  const SyntaxData* data = CurrentSyntax();
  return data != nullptr ? data->Definition(offset) : nullptr;
}

}  // namespace osk::syntax
