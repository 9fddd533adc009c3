// Reading and writing the print options and classes, and resolving a class for drawing.
#include "services/print/print_options.h"

#include <string>

namespace osk::print {
namespace {

constexpr const char* kOptions = "Print Options";

std::string number(int64_t value) { return std::to_string(value); }

bool readBool(SettingsStore& s, std::string_view section, std::string_view key, bool fallback) {
  return s.readInt(section, key, fallback ? 1 : 0) != 0;
}

int32_t atLeast(int32_t value, int32_t low) { return value < low ? low : value; }

// A colour from the settings: decimal COLORREF; values beyond 24 bits keep only the colour bytes.
uint32_t readColour(SettingsStore& s, std::string_view section, std::string_view key, uint32_t fallback) {
  const std::string text = s.readString(section, key, "", 32);
  if (text.empty()) return fallback;
  uint64_t v = 0;
  size_t i = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && v <= 0xFFFFFFFFull) v = v * 10 + (text[i++] - '0');
  if (i == 0) return fallback;
  return static_cast<uint32_t>(v) & 0x00FFFFFFu;
}

}  // namespace

LayoutOptions loadPrintOptions(SettingsStore& s) {
  LayoutOptions o;
  const int32_t wrap = s.readInt(kOptions, "WrapOption", 0);
  o.wrap = wrap >= 0 && wrap <= 3 ? static_cast<WrapOption>(wrap) : WrapOption::kTruncate;
  o.paraAutoCalculateMargins = readBool(s, kOptions, "ParaAutoCalculateMargins", false);
  o.leftMargin = atLeast(s.readInt(kOptions, "LeftMargin", 0), 0);
  o.firstLineIndent = atLeast(s.readInt(kOptions, "FirstLineIndent", 0), 0);
  o.numColumns = s.readInt(kOptions, "NumColumns", 1) == 2 ? 2 : 1;
  o.pageLeftMargin = atLeast(s.readInt(kOptions, "PageLeftMargin", 0), 0);
  o.pageRightMargin = atLeast(s.readInt(kOptions, "PageRightMargin", 0), 0);
  o.pageTopMargin = atLeast(s.readInt(kOptions, "PageTopMargin", 0), 0);
  o.pageBottomMargin = atLeast(s.readInt(kOptions, "PageBottomMargin", 0), 0);
  o.lineNumbers = readBool(s, kOptions, "LineNumbers", false);
  o.start = s.readInt(kOptions, "Start", 1);
  o.step = atLeast(s.readInt(kOptions, "Step", 1), 1);
  o.header = s.readString(kOptions, "Header", "", 255);
  o.footer = s.readString(kOptions, "Footer", "", 255);
  return o;
}

bool savePrintOptions(SettingsStore& s, const LayoutOptions& o) {
  bool ok = true;
  auto put = [&](std::string_view key, int64_t v) { ok = s.writeString(kOptions, key, number(v)) && ok; };
  put("WrapOption", static_cast<int32_t>(o.wrap));
  put("ParaAutoCalculateMargins", o.paraAutoCalculateMargins);
  put("LeftMargin", o.leftMargin);
  put("FirstLineIndent", o.firstLineIndent);
  put("NumColumns", o.numColumns);
  put("PageLeftMargin", o.pageLeftMargin);
  put("PageRightMargin", o.pageRightMargin);
  put("PageTopMargin", o.pageTopMargin);
  put("PageBottomMargin", o.pageBottomMargin);
  put("LineNumbers", o.lineNumbers);
  put("Start", o.start);
  put("Step", o.step);
  ok = s.writeString(kOptions, "Header", profileQuoted(o.header)) && ok;
  ok = s.writeString(kOptions, "Footer", profileQuoted(o.footer)) && ok;
  return ok;
}

std::string usableFace(std::string_view face) {
  if (face.empty() || face.size() > kFaceMax) return kFallbackFace;
  return std::string(face);
}

namespace {

// Reads one class; `base` gives the values where the settings file has none.
PrintClass readClass(SettingsStore& s, const ScreenColours& screen, const PrintClass& base, bool first) {
  PrintClass c = base;
  c.name = screen.name;
  c.screen = screen;
  const std::string& k = c.name;
  c.textColour = readColour(s, "PrtColours1", k, base.textColour);
  c.backColour = readColour(s, "PrtColours2", k, base.backColour);
  c.useScreenColours = readBool(s, "PrtColours3", k, base.useScreenColours);
  c.ownUsesNormalBack = !first && readBool(s, "PrtColours4", k, base.ownUsesNormalBack);
  c.screenUsesNormalBack = readBool(s, "PrtColours5", k, base.screenUsesNormalBack);
  c.face = s.readString("PrtFonts", k + " Face", base.face, 255);
  if (c.face.size() > kFaceMax) c.face = kFallbackFace;
  c.faceAsNormal = readBool(s, "PrtFonts1", k, base.faceAsNormal);
  c.bold = readBool(s, "PrtFonts2", k, base.bold);
  c.italic = readBool(s, "PrtFonts3", k, base.italic);
  c.styleAsNormal = readBool(s, "PrtFonts4", k, base.styleAsNormal);
  c.height = s.readInt("PrtFonts5", k, base.height);
  c.sizeAsNormal = readBool(s, "PrtFonts6", k, base.sizeAsNormal);
  return c;
}

}  // namespace

std::vector<PrintClass> loadPrintClasses(SettingsStore& s, const ScreenColours& normal,
                                         const std::vector<ScreenColours>& syntax) {
  std::vector<PrintClass> classes;
  classes.reserve(4 + syntax.size());
  classes.push_back(readClass(s, normal, PrintClass{}, true));
  for (const char* name : {"Header", "Footer", "Line Numbers"}) {
    ScreenColours screen = normal;
    screen.name = name;
    PrintClass base = classes.back();
    // The first class's "normal background" answer is always no; the others' default is yes.
    base.ownUsesNormalBack = true;
    classes.push_back(readClass(s, screen, base, false));
  }
  for (const ScreenColours& colour : syntax) classes.push_back(readClass(s, colour, PrintClass{}, false));
  return classes;
}

bool savePrintClasses(SettingsStore& s, const std::vector<PrintClass>& classes) {
  bool ok = true;
  for (size_t i = 0; i < classes.size(); ++i) {
    const PrintClass& c = classes[i];
    if (c.name.empty()) continue;
    auto put = [&](std::string_view section, int64_t v) { ok = s.writeString(section, c.name, number(v)) && ok; };
    put("PrtColours1", c.textColour);
    put("PrtColours2", c.backColour);
    put("PrtColours3", c.useScreenColours);
    put("PrtColours4", i == 0 ? false : c.ownUsesNormalBack);
    put("PrtColours5", c.screenUsesNormalBack);
    ok = s.writeString("PrtFonts", c.name + " Face", profileQuoted(c.face)) && ok;
    put("PrtFonts1", c.faceAsNormal);
    put("PrtFonts2", c.bold);
    put("PrtFonts3", c.italic);
    put("PrtFonts4", c.styleAsNormal);
    put("PrtFonts5", c.height);
    put("PrtFonts6", c.sizeAsNormal);
  }
  return ok;
}

ResolvedClass resolveClass(const std::vector<PrintClass>& classes, int32_t index) {
  static const PrintClass kPlain{};
  const PrintClass& first = classes.empty() ? kPlain : classes.front();
  const PrintClass& c =
      index >= 0 && static_cast<size_t>(index) < classes.size() ? classes[static_cast<size_t>(index)] : first;
  ResolvedClass r;
  const uint32_t normalFore = first.useScreenColours ? first.screen.fore : first.textColour;
  if (c.useScreenColours) {
    r.text = c.screen.fore == kNoColour ? normalFore : c.screen.fore;
  } else {
    r.text = c.textColour;
  }
  r.back = first.useScreenColours ? first.screen.back : first.backColour;
  if (r.back == kNoColour) r.back = 0xFFFFFF;
  if (&c != &first) {
    if (!c.useScreenColours && !c.ownUsesNormalBack) r.back = c.backColour;
    if (c.useScreenColours && !c.screenUsesNormalBack && c.screen.back != kNoColour) r.back = c.screen.back;
  }
  r.font.face = usableFace(c.faceAsNormal ? first.face : c.face);
  const PrintClass& style = c.styleAsNormal ? first : c;
  r.font.weight = style.bold ? 700 : 400;
  r.font.italic = style.italic;
  r.font.height = c.sizeAsNormal ? first.height : c.height;
  if (r.font.height == 0) r.font.height = -11;
  return r;
}

}  // namespace osk::print
