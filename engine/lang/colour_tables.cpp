#include "engine/lang/colour_tables.h"

#include <cstring>
#include <string_view>

#include "engine/lang/syntax_data.h"
#include "engine/lang/syntax_definition.h"

namespace osk::syntax {

namespace {

uint32_t PortableSystemColour(SystemColour which) {
  switch (which) {
    case SystemColour::kWindowText: return 0x00000000;
    case SystemColour::kWindow: return 0x00FFFFFF;
    case SystemColour::kHighlightText: return 0x00FFFFFF;
    case SystemColour::kHighlight: return 0x00800000;
  }
  return 0;
}

SystemColourSource gSystem = PortableSystemColour;
void* gPalette = nullptr;

constexpr const char* kStandardNames[kStandardColourCount] = {"Normal Text", "Selected Text", "Bookmark"};
constexpr size_t kStandardNameRoom = 14;
constexpr size_t kSyntaxNameRoom = 33;
constexpr size_t kChangeNameRoom = 256;
constexpr uint32_t kBookmarkBack = kPaletteRelative | 200u << 16 | 200u << 8 | 200u;

struct Standard {
  uint32_t fore = 0;
  uint32_t back = 0;
  bool useDefault = true;
};
Standard gStandard[kStandardColourCount];

// The entry each syntax enumeration returned last, so a repeated display name does not send it back.
int32_t gLastSyntax = -1;
int32_t gLastEnumerated = -1;

void Defaults(int32_t index, uint32_t& fore, uint32_t& back) {
  switch (index) {
    case kSelectedText:
      fore = gSystem(SystemColour::kHighlightText);
      back = gSystem(SystemColour::kHighlight);
      break;
    case kBookmark:
      fore = gSystem(SystemColour::kWindowText);
      back = kBookmarkBack;
      break;
    default:
      fore = gSystem(SystemColour::kWindowText);
      back = gSystem(SystemColour::kWindow);
      break;
  }
}

std::string_view Bounded(const char* text, size_t room) {
  return text == nullptr ? std::string_view() : std::string_view(text, strnlen(text, room));
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<uint8_t>(a[i])) != FoldCase(static_cast<uint8_t>(b[i]))) return false;
  }
  return true;
}

void CopyName(char* out, std::string_view name, size_t room) {
  const size_t n = std::min(name.size(), room - 1);
  std::memcpy(out, name.data(), n);
  out[n] = 0;
}

// The colour after the enumeration's position for `name`: the first with a display name for an empty `name`,
// else the one after the entry of that name (the one returned last when it bears the name).
int32_t NextNamed(const SyntaxData& data, std::string_view name, int32_t& last) {
  const int32_t count = static_cast<int32_t>(data.colourCount());
  int32_t from = 0;
  if (!name.empty()) {
    int32_t found = -1;
    if (last >= 0 && last < count && data.colourName(static_cast<uint32_t>(last)) == name) {
      found = last;
    } else {
      for (int32_t i = 0; i < count; ++i) {
        if (!data.colourName(static_cast<uint32_t>(i)).empty() && data.colourName(static_cast<uint32_t>(i)) == name) {
          found = i;
          break;
        }
      }
    }
    if (found < 0) {
      last = -1;
      return -1;
    }
    from = found + 1;
  }
  for (int32_t i = from; i < count; ++i) {
    if (!data.colourName(static_cast<uint32_t>(i)).empty()) {
      last = i;
      return i;
    }
  }
  last = -1;
  return -1;
}

}  // namespace

void SetSystemColourSource(SystemColourSource source) { gSystem = source != nullptr ? source : PortableSystemColour; }

void ResetStandardColours() {
  for (int32_t i = 0; i < static_cast<int32_t>(kStandardColourCount); ++i) {
    Defaults(i, gStandard[i].fore, gStandard[i].back);
    gStandard[i].useDefault = true;
  }
  gLastSyntax = -1;
  gLastEnumerated = -1;
}

bool NextStandardColour(char* name, StandardColourEntry& entry) {
  if (name == nullptr) return false;
  const std::string_view asked = Bounded(name, kStandardNameRoom);
  int32_t index = 0;
  if (!asked.empty()) {
    index = -1;
    for (int32_t i = 0; i < static_cast<int32_t>(kStandardColourCount); ++i) {
      if (SameIgnoringCase(asked, kStandardNames[i])) index = i + 1;
    }
    if (index < 0 || index >= static_cast<int32_t>(kStandardColourCount)) return false;
  }
  CopyName(name, kStandardNames[index], kStandardNameRoom);
  Defaults(index, entry.defaultFore, entry.defaultBack);
  entry.currentFore = gStandard[index].fore;
  entry.currentBack = gStandard[index].back;
  entry.useDefault = gStandard[index].useDefault;
  return true;
}

bool ChangeStandardColour(const char* name, uint32_t fore, uint32_t back, bool useDefault) {
  const std::string_view asked = Bounded(name, kChangeNameRoom);
  for (int32_t i = 0; i < static_cast<int32_t>(kStandardColourCount); ++i) {
    if (SameIgnoringCase(asked, kStandardNames[i])) {
      gStandard[i].fore = fore;
      gStandard[i].back = back;
      gStandard[i].useDefault = useDefault;
      return true;
    }
  }
  return false;
}

void StandardColours(int32_t index, uint32_t& fore, uint32_t& back) {
  if (index < 0 || index >= static_cast<int32_t>(kStandardColourCount)) index = kNormalText;
  if (gStandard[index].useDefault) {
    Defaults(index, fore, back);
  } else {
    fore = gStandard[index].fore;
    back = gStandard[index].back;
  }
}

uint32_t SyntaxColourCount() {
  const SyntaxData* data = CurrentSyntax();
  return data != nullptr ? data->colourCount() : 0;
}

namespace {

void ReadEntry(const SyntaxData& data, uint32_t index, SyntaxColourEntry& entry) {
  const std::vector<uint8_t>& b = data.bytes();
  const uint32_t at = data.colourRecord(index);
  entry.defaultFore = ReadU32(b, at + kColourDefaultFore);
  entry.currentFore = ReadU32(b, at + kColourCurrentFore);
  entry.defaultBack = ReadU32(b, at + kColourDefaultBack);
  entry.currentBack = ReadU32(b, at + kColourCurrentBack);
  entry.flags = ReadU32(b, at + kColourFlags);
}

}  // namespace

bool NextSyntaxColour(char* name, SyntaxColourEntry& entry) {
  const SyntaxData* data = CurrentSyntax();
  if (name == nullptr || data == nullptr) return false;
  const int32_t index = NextNamed(*data, Bounded(name, kSyntaxNameRoom), gLastSyntax);
  if (index < 0) return false;
  CopyName(name, data->colourName(static_cast<uint32_t>(index)), kSyntaxNameRoom);
  ReadEntry(*data, static_cast<uint32_t>(index), entry);
  return true;
}

bool NextSyntaxColourName(char* name) {
  const SyntaxData* data = CurrentSyntax();
  if (name == nullptr || data == nullptr) return false;
  const int32_t index = NextNamed(*data, Bounded(name, kSyntaxNameRoom), gLastEnumerated);
  if (index < 0) return false;
  CopyName(name, data->colourName(static_cast<uint32_t>(index)), kSyntaxNameRoom);
  return true;
}

int32_t ColourFromDisplayName(const char* name) {
  const SyntaxData* data = CurrentSyntax();
  const std::string_view asked = Bounded(name, kChangeNameRoom);
  if (data == nullptr || asked.empty()) return kNoSuchColour;
  for (uint32_t i = 0; i < data->colourCount(); ++i) {
    if (data->colourName(i) == asked) return static_cast<int32_t>(i);
  }
  return kNoSuchColour;
}

bool ChangeSyntaxColour(const char* name, uint32_t fore, uint32_t back, uint32_t flags) {
  SyntaxData* data = CurrentSyntax();
  const int32_t index = ColourFromDisplayName(name);
  if (data == nullptr || index == kNoSuchColour) return false;
  const uint32_t at = data->colourRecord(static_cast<uint32_t>(index));
  std::vector<uint8_t>& b = data->bytes();
  WriteU32(b, at + kColourCurrentFore, fore);
  WriteU32(b, at + kColourCurrentBack, back);
  const uint32_t kept = ReadU32(b, at + kColourFlags) & ~7u;
  WriteU32(b, at + kColourFlags, kept | (flags & 7u));
  return true;
}

bool SyntaxColours(int32_t index, uint32_t& fore, uint32_t& back) {
  const SyntaxData* data = CurrentSyntax();
  if (data == nullptr || index < 0 || static_cast<uint32_t>(index) >= data->colourCount()) return false;
  SyntaxColourEntry e;
  ReadEntry(*data, static_cast<uint32_t>(index), e);
  if (e.flags & kFlagUseDefault) {
    fore = e.defaultFore;
    back = (e.flags & kFlagDefaultBackNone) ? kNoColour : e.defaultBack;
  } else {
    fore = e.currentFore;
    back = (e.flags & kFlagCurrentBackNone) ? kNoColour : e.currentBack;
  }
  if (fore == kNoColour) {
    uint32_t normalBack = 0;
    StandardColours(kNormalText, fore, normalBack);
  }
  return true;
}

void SetPalette(void* palette) { gPalette = palette; }
void* Palette() { return gPalette; }

}  // namespace osk::syntax
