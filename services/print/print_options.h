// Print options and print classes: what the settings file keeps about printing, and how a class resolves to the
// colours and font it is drawn with.
//
// Options live in the section "Print Options". Classes are an ordered list: normal text, "Header", "Footer",
// "Line Numbers", then the syntax colours in the engine's order; a class index in the print stream is a position in
// this list. Each class attribute has its own section ("PrtColours1".."PrtColours5", "PrtFonts", "PrtFonts1".."6")
// keyed by the class name. Header, Footer and Line Numbers take the values of the class before them wherever the
// settings file says nothing. Out-of-range values are brought into range on reading (a wrap option outside 0..3
// truncates, a column count other than 2 is one column, a step below 1 is 1, negative margins are 0) so that no
// stored value can stop layout from ending.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/settings_store.h"

namespace osk::print {

enum class WrapOption : int32_t { kTruncate = 0, kCharacter = 1, kWord = 2, kParagraph = 3 };

inline constexpr uint32_t kNoColour = 0xFFFFFFFFu;
inline constexpr size_t kFaceMax = 32;
inline constexpr const char* kFallbackFace = "Arial";
inline constexpr int32_t kHeaderClass = 1;
inline constexpr int32_t kFooterClass = 2;
inline constexpr int32_t kLineNumberClass = 3;
inline constexpr int32_t kFirstSyntaxClass = 4;

// The section "Print Options": how the text is laid out on the page.
struct LayoutOptions {
  WrapOption wrap = WrapOption::kTruncate;
  bool paraAutoCalculateMargins = false;
  int32_t leftMargin = 0;        // characters, paragraph wrap
  int32_t firstLineIndent = 0;   // characters, paragraph wrap
  int32_t numColumns = 1;        // 1 or 2
  int32_t pageLeftMargin = 0;    // millimetres from the printable edge
  int32_t pageRightMargin = 0;
  int32_t pageTopMargin = 0;
  int32_t pageBottomMargin = 0;
  bool lineNumbers = false;
  int32_t start = 1;
  int32_t step = 1;
  std::string header;
  std::string footer;
};

LayoutOptions loadPrintOptions(SettingsStore& settings);
bool savePrintOptions(SettingsStore& settings, const LayoutOptions& options);

// The colours the screen shows for a class; back kNoColour means the normal text background.
struct ScreenColours {
  std::string name;
  uint32_t fore = 0;
  uint32_t back = kNoColour;
};

struct PrintClass {
  std::string name;
  ScreenColours screen;
  uint32_t textColour = 0;                 // "PrtColours1"
  uint32_t backColour = 0xFFFFFF;          // "PrtColours2"
  bool useScreenColours = true;            // "PrtColours3"
  bool ownUsesNormalBack = true;           // "PrtColours4", never for the first class
  bool screenUsesNormalBack = true;        // "PrtColours5"
  std::string face;                        // "PrtFonts" "<name> Face"; empty or too long means Arial
  bool faceAsNormal = true;                // "PrtFonts1"
  bool bold = false;                       // "PrtFonts2"
  bool italic = false;                     // "PrtFonts3"
  bool styleAsNormal = true;               // "PrtFonts4"
  int32_t height = -11;                    // "PrtFonts5": a font height in points, negative for character height
  bool sizeAsNormal = true;                // "PrtFonts6"
};

// The class list for the screen colours of normal text and of each syntax colour, with the settings' values.
// Empty screen names are allowed; every list has at least the four fixed classes.
std::vector<PrintClass> loadPrintClasses(SettingsStore& settings, const ScreenColours& normal,
                                         const std::vector<ScreenColours>& syntax);
bool savePrintClasses(SettingsStore& settings, const std::vector<PrintClass>& classes);

struct FontSpec {
  std::string face;   // never empty, at most kFaceMax characters
  int32_t height = -11;
  int32_t weight = 400;
  bool italic = false;
  bool operator==(const FontSpec&) const = default;
};

struct ResolvedClass {
  uint32_t text = 0;
  uint32_t back = 0xFFFFFF;
  FontSpec font;
};

// The drawing colours and font of class `index`; an index outside the list resolves like normal text.
ResolvedClass resolveClass(const std::vector<PrintClass>& classes, int32_t index);

// A face that fits the platform's font records: empty or longer than kFaceMax becomes kFallbackFace.
std::string usableFace(std::string_view face);

}  // namespace osk::print
