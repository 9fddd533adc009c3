#include "app/shell_settings.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace osk::app {
namespace {

constexpr std::string_view kConfig = "Config";
constexpr std::string_view kFlags = "Flags";
constexpr std::string_view kAdvanced = "Advanced";
constexpr std::string_view kHistory = "History";
constexpr std::string_view kFilters = "Filters";
constexpr std::string_view kState = "State";
constexpr std::string_view kColours = "Colours";
constexpr std::size_t kMaxPath = kMaxFileName;
constexpr int32_t kMaxWindowSize = 32767;
// A history or session line: a quoted name of up to 260 characters and twelve numbers.
constexpr std::size_t kMaxLine = kMaxFileName + 2 + 12 * 12;

class Reader {
 public:
  explicit Reader(SettingsStore& store) : store_(store) {}
  bool flag(std::string_view section, std::string_view key, bool fallback) {
    return store_.readInt(section, key, fallback ? 1 : 0) != 0;
  }
  int32_t number(std::string_view section, std::string_view key, int32_t fallback) {
    return store_.readInt(section, key, fallback);
  }
  int32_t bounded(std::string_view section, std::string_view key, int32_t fallback, int32_t low, int32_t high) {
    return std::clamp(store_.readInt(section, key, fallback), low, high);
  }
  std::string text(std::string_view section, std::string_view key, std::string_view fallback, std::size_t max) {
    return store_.readString(section, key, fallback, max);
  }

 private:
  SettingsStore& store_;
};

class Writer {
 public:
  explicit Writer(SettingsStore& store) : store_(store) {}
  void flag(std::string_view section, std::string_view key, bool value) {
    store_.writeString(section, key, value ? "1" : "0");
  }
  void number(std::string_view section, std::string_view key, int64_t value) {
    store_.writeString(section, key, std::to_string(value));
  }
  void text(std::string_view section, std::string_view key, std::string_view value) {
    store_.writeString(section, key, profileQuoted(value));
  }
  void raw(std::string_view section, std::string_view key, std::string_view value) {
    store_.writeString(section, key, value);
  }

 private:
  SettingsStore& store_;
};

std::string numbered(std::size_t n, std::string_view suffix = {}) { return std::to_string(n) + std::string(suffix); }

}  // namespace

FramePlacement usablePlacement(FramePlacement p, int32_t screenWidth, int32_t screenHeight) {
  const bool offScreen = p.left < 0 || p.top < 0 || p.left >= screenWidth || p.top >= screenHeight;
  const bool badSize = p.width < 1 || p.height < 1 || p.width > kMaxWindowSize || p.height > kMaxWindowSize;
  return offScreen || badSize ? FramePlacement{} : p;
}

RepeatPlayFlags parseRepeatPlayFlags(std::string_view value) {
  RepeatPlayFlags f;
  const std::vector<int64_t> n = blankSeparatedNumbers(value, 7);
  bool* const flags[] = {&f.stopAfter, &f.stopIfFindFails, &f.stopAtFileStartOrEnd, &f.stopAtLineStartOrEnd,
                         &f.stopWhenLastFileClosed};
  for (std::size_t i = 0; i < 5 && i < n.size(); ++i) *flags[i] = n[i] != 0;
  if (n.size() > 5) f.plays = std::max<int32_t>(1, saturated32(n[5]));
  if (n.size() > 6) f.stopIfBookmarkFails = n[6] != 0;
  return f;
}

std::string formatRepeatPlayFlags(const RepeatPlayFlags& f) {
  char text[96];
  std::snprintf(text, sizeof text, "%u %u %u %u %u %ld %u", f.stopAfter ? 1u : 0u, f.stopIfFindFails ? 1u : 0u,
                f.stopAtFileStartOrEnd ? 1u : 0u, f.stopAtLineStartOrEnd ? 1u : 0u,
                f.stopWhenLastFileClosed ? 1u : 0u, static_cast<long>(f.plays), f.stopIfBookmarkFails ? 1u : 0u);
  return text;
}

std::optional<std::string> wordPatternFromValue(std::string_view value) {
  const std::size_t first = value.find('#');
  const std::size_t last = value.rfind('#');
  if (first == std::string_view::npos || last == first || last == first + 1) return std::nullopt;
  return std::string(value.substr(first + 1, last - first - 1));
}

std::optional<std::vector<int32_t>> parseColour(std::string_view value, std::size_t count) {
  std::vector<int32_t> values;
  for (;;) {
    const std::size_t comma = value.find(',');
    const std::string_view field = value.substr(0, comma);
    // Each field must be one number and nothing else.
    const std::vector<int64_t> n = blankSeparatedNumbers(field, 2);
    if (n.size() != 1 || field.find_first_not_of(" \t+-0123456789") != std::string_view::npos) return std::nullopt;
    values.push_back(saturated32(n[0]));
    if (comma == std::string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

std::optional<std::vector<int32_t>> readColour(SettingsStore& store, std::string_view name, std::size_t count) {
  const std::string value = store.readString(kColours, name, "", 128);
  if (value.empty()) return std::nullopt;
  return parseColour(value, count);
}

std::string formatColour(std::span<const int32_t> values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ',';
    text += std::to_string(values[i]);
  }
  return text;
}

std::vector<FileFilter> defaultFilters() {
  return {{"Text files(*.txt)", "*.txt"}, {"INI files(*.ini)", "*.ini"}, {"All files(*.*)", "*.*"}};
}

std::vector<FileFilter> readFilters(SettingsStore& store) {
  std::vector<FileFilter> filters;
  std::size_t bytes = 1;   // the closing zero
  auto add = [&](FileFilter f) {
    const std::size_t more = f.description.size() + 1 + f.pattern.size() + 1;
    if (bytes + more > kMaxFilterBlock) return false;
    bytes += more;
    filters.push_back(std::move(f));
    return true;
  };
  if (!store.readString(kFilters, "1D", "", kMaxFilterBlock).empty()) {
    // A missing or empty key ends the list; a shorter list written over a longer one ends with an empty pair.
    for (std::size_t n = 1;; ++n) {
      FileFilter f{store.readString(kFilters, numbered(n, "D"), "", kMaxFilterBlock),
                   store.readString(kFilters, numbered(n, "F"), "", kMaxFilterBlock)};
      if (f.description.empty() || f.pattern.empty() || !add(std::move(f))) break;
    }
  } else {
    for (std::size_t n = 1;; ++n) {
      const std::string entry = store.readString(kFilters, numbered(n), "", kMaxFilterBlock);
      if (entry.empty()) break;
      const std::size_t semicolon = entry.find(';');
      if (semicolon == std::string::npos) continue;   // not a pair; the rest of the list still counts
      if (!add({entry.substr(0, semicolon), entry.substr(semicolon + 1)})) break;
    }
  }
  return filters.empty() ? defaultFilters() : filters;
}

void writeFilters(SettingsStore& store, std::span<const FileFilter> filters) {
  Writer w(store);
  std::size_t n = 1;
  for (const FileFilter& f : filters) {
    w.text(kFilters, numbered(n, "D"), f.description);
    w.text(kFilters, numbered(n, "F"), f.pattern);
    ++n;
  }
  w.raw(kFilters, numbered(n, "D"), "");
  w.raw(kFilters, numbered(n, "F"), "");
}

std::string filterBlock(std::span<const FileFilter> filters) {
  std::string block;
  for (const FileFilter& f : filters) {
    const std::size_t more = f.description.size() + 1 + f.pattern.size() + 1;
    if (block.size() + more + 1 > kMaxFilterBlock) break;
    block += f.description;
    block += '\0';
    block += f.pattern;
    block += '\0';
  }
  block += '\0';
  return block;
}

std::vector<FileFilter> filtersFromBlock(std::string_view block) {
  if (block.size() > kMaxFilterBlock) block = block.substr(0, kMaxFilterBlock);
  std::vector<FileFilter> filters;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t d = block.find('\0', pos);
    if (d == std::string_view::npos || d == pos) break;
    const std::size_t p = block.find('\0', d + 1);
    if (p == std::string_view::npos) break;   // a description without its pattern ends the list
    filters.push_back({std::string(block.substr(pos, d - pos)), std::string(block.substr(d + 1, p - d - 1))});
    pos = p + 1;
  }
  return filters;
}

FileHistory readFileHistory(SettingsStore& store, const PerFileSettings& defaults) {
  FileHistory history;
  for (std::size_t n = 0; n < kFileHistorySize; ++n) {
    const std::string line = store.readString(kHistory, numbered(n), "", kMaxLine);
    const std::optional<NamedNumbers> split = splitNamedNumbers(line, 0);
    if (!split) break;   // missing key or empty name
    if (const std::optional<FileHistoryRecord> record = parseHistoryLine(line, defaults)) history.append(*record);
  }
  return history;
}

void writeFileHistory(SettingsStore& store, const FileHistory& history) {
  std::size_t n = 0;
  for (const FileHistoryRecord& r : history.records()) store.writeString(kHistory, numbered(n++), formatHistoryLine(r));
  if (n < kFileHistorySize) store.writeString(kHistory, numbered(n), "");
}

ShellSettings readShellSettings(SettingsStore& store, const SettingsEnvironment& env) {
  ShellSettings s;
  Reader r(store);
  s.inWinDir = r.number(kConfig, "InWinDir", 0);
  s.configFile = r.text(kConfig, "ConfigFile", "", kMaxPath);

  FramePlacement saved;
  saved.left = r.number(kFlags, "WinLeft", kDefaultPosition);
  saved.top = r.number(kFlags, "WinTop", kDefaultPosition);
  saved.width = r.number(kFlags, "WinWidth", kDefaultPosition);
  saved.height = r.number(kFlags, "WinHeight", kDefaultPosition);
  s.frame = usablePlacement(saved, env.screenWidth, env.screenHeight);
  s.font.name = r.text(kFlags, "FontName", "Courier", kMaxFontName);
  s.font.height = r.bounded(kFlags, "FontHeight", -13, -kMaxFontHeight, kMaxFontHeight);
  s.font.weight = r.flag(kFlags, "FontBold", false) ? 700 : 400;
  s.font.italic = r.flag(kFlags, "FontItalic", false);

  s.maximised = r.flag(kFlags, "Maximised", true);
  s.showStatBar = r.flag(kFlags, "ShowStatBar", true);
  s.bufferState = r.bounded(kFlags, "BufferState", 0, 0, 1);
  s.newFilesForUnix = r.flag(kFlags, "NewFilesForUnix", false);
  s.horzScroll = r.flag(kFlags, "HorzScroll", true);
  s.vertScroll = r.flag(kFlags, "VertScroll", true);
  s.wrapBookMarksMode = r.bounded(kFlags, "WrapBookMarksMode", 2, 0, 2);
  s.undos = r.bounded(kFlags, "Undos", 200, 0, kMaxUndos);
  s.vScrollBoost = r.bounded(kFlags, "VScrollBoost", 3, 0, kMaxVScrollBoost);
  s.caretAfterPaste = r.flag(kFlags, "CaretAfterPaste", true);
  s.defaults.tabsAsSpaces = r.number(kFlags, "TabsAsSpaces", 1);
  s.defaults.tabLength = r.number(kFlags, "TabLen", 8);
  s.defaults.indent = r.number(kFlags, "Indent", 0);
  s.defaults.leftMargin = r.number(kFlags, "LMarg", 4);
  s.defaults.rightMargin = r.number(kFlags, "RMarg", 70);
  s.defaults.autoMargin = r.number(kFlags, "AutoMarg", 1);

  AdvancedSettings& a = s.advanced;
  a.applySyntaxHighlight = r.flag(kAdvanced, "ApplySyntaxHighlight", true);
  a.useDcScrolling = r.flag(kAdvanced, "UseDCScrolling", true);
  a.removeCtrlZOnLoad = r.flag(kAdvanced, "RemoveCtrlZOnLoad", false);
  a.addCtrlZOnSave = r.flag(kAdvanced, "AddCtrlZOnSave", false);
  a.finaliseOnSave = r.flag(kAdvanced, "FinaliseOnSave", false);
  a.allowEolSpace = r.flag(kAdvanced, "AllowEOLSpace", false);
  a.autoTabToLastLine = r.flag(kAdvanced, "AutoTabToLastline", false);
  a.extraCharSpacing = r.bounded(kAdvanced, "ExtraCharSpacing", 0, 0, kMaxExtraSpacing);
  a.extraLineSpacing = r.bounded(kAdvanced, "ExtraLineSpacing", 0, 0, kMaxExtraSpacing);
  a.showLineNumbers = r.flag(kAdvanced, "ShowLineNumbers", false);
  a.openReadOnlyAsReadOnly = r.flag(kAdvanced, "OpenReadOnlyAsReadOnly", true);
  a.autoScrollOnNewline = r.flag(kAdvanced, "AutoScrollOnNewline", false);
  a.autoIndentOnNewline = r.flag(kAdvanced, "AutoIndentOnNewline", true);
  a.newFilesMustBeNamed = r.flag(kAdvanced, "NewFilesMustBeNamed", false);
  a.overwriteWarning = r.flag(kAdvanced, "OverwriteWarning", true);
  a.autosaveModifiedFiles = r.flag(kAdvanced, "AutosaveModifiedFiles", false);
  a.autosaveDelay = r.bounded(kAdvanced, "AutosaveDelay", 300, 1, kMaxAutosaveDelay);
  a.autosaveOnDeactivation = r.flag(kAdvanced, "AutosaveOnDeactivation", false);
  a.autoloadOnActivation = r.flag(kAdvanced, "AutoloadOnActivation", false);

  const std::string repeat = r.text(kFlags, "RepeatPlayFlags", "", 96);
  if (!repeat.empty()) s.repeatPlay = parseRepeatPlayFlags(repeat);
  s.defaults.syncPanes = r.number(kFlags, "SyncPanes", 0);
  s.defaults.wordWrap = r.number(kFlags, "WordWrap", 0);
  // The history takes what its lines leave out from these defaults, so they are settled first.
  s.defaults = validated(s.defaults);

  s.history = readFileHistory(store, s.defaults);
  a.macroPath = r.text(kAdvanced, "MacroPath", "", kMaxPath);
  if (a.macroPath.empty()) a.macroPath = env.windowsDirectory.substr(0, kMaxPath);
  s.startup = r.text(kFlags, "Startup", "", kMaxPath);
  s.filters = readFilters(store);
  const std::optional<std::string> pattern = wordPatternFromValue(r.text(kAdvanced, "WordRE", "", kMaxWordPattern));
  if (pattern && (!env.patternCompiles || env.patternCompiles(*pattern))) a.wordPattern = *pattern;

  s.search.matchCase = r.flag(kState, "MatchCase", true);
  s.search.forward = r.flag(kState, "Forward", true);
  s.search.regEx = r.flag(kState, "RegEx", false);
  s.search.wholeWord = r.flag(kState, "WholeWord", false);
  s.search.scope = r.bounded(kState, "Scope", 0, 0, 2);
  a.useLongFileNames = r.flag(kAdvanced, "UseLongFileNames", true);
  a.useExplorerType = r.flag(kAdvanced, "UseExplorerType", true);
  return s;
}

void writeShellSettings(SettingsStore& store, const ShellSettings& s, std::span<const NamedColour> colours) {
  Writer w(store);
  const AdvancedSettings& a = s.advanced;
  w.number(kConfig, "InWinDir", s.inWinDir);
  w.text(kConfig, "ConfigFile", s.configFile);
  writeFileHistory(store, s.history);
  w.text(kAdvanced, "MacroPath", a.macroPath);
  w.text(kFlags, "Startup", s.startup);
  w.number(kFlags, "WinLeft", s.frame.left);
  w.number(kFlags, "WinTop", s.frame.top);
  w.number(kFlags, "WinWidth", s.frame.width);
  w.number(kFlags, "WinHeight", s.frame.height);
  w.flag(kFlags, "Maximised", s.maximised);
  w.flag(kFlags, "ShowStatBar", s.showStatBar);
  if (!s.font.name.empty()) {
    w.text(kFlags, "FontName", s.font.name);
    w.number(kFlags, "FontHeight", s.font.height);
    w.flag(kFlags, "FontBold", s.font.weight > 400);
    w.flag(kFlags, "FontItalic", s.font.italic);
  }
  w.number(kFlags, "TabsAsSpaces", s.defaults.tabsAsSpaces);
  w.number(kFlags, "TabLen", s.defaults.tabLength);
  w.number(kFlags, "BufferState", s.bufferState);
  w.flag(kFlags, "NewFilesForUnix", s.newFilesForUnix);
  w.flag(kFlags, "HorzScroll", s.horzScroll);
  w.flag(kFlags, "VertScroll", s.vertScroll);
  w.number(kFlags, "WrapBookMarksMode", s.wrapBookMarksMode);
  w.number(kFlags, "Undos", s.undos);
  w.number(kFlags, "VScrollBoost", s.vScrollBoost);

  w.flag(kAdvanced, "ApplySyntaxHighlight", a.applySyntaxHighlight);
  w.flag(kAdvanced, "UseDCScrolling", a.useDcScrolling);
  w.flag(kAdvanced, "RemoveCtrlZOnLoad", a.removeCtrlZOnLoad);
  w.flag(kAdvanced, "AddCtrlZOnSave", a.addCtrlZOnSave);
  w.flag(kAdvanced, "FinaliseOnSave", a.finaliseOnSave);
  w.flag(kAdvanced, "AllowEOLSpace", a.allowEolSpace);
  w.flag(kAdvanced, "AutoTabToLastline", a.autoTabToLastLine);
  w.number(kAdvanced, "ExtraCharSpacing", a.extraCharSpacing);
  w.number(kAdvanced, "ExtraLineSpacing", a.extraLineSpacing);
  w.flag(kAdvanced, "ShowLineNumbers", a.showLineNumbers);
  w.flag(kAdvanced, "OpenReadOnlyAsReadOnly", a.openReadOnlyAsReadOnly);
  w.flag(kAdvanced, "AutoScrollOnNewline", a.autoScrollOnNewline);
  w.flag(kAdvanced, "AutoIndentOnNewline", a.autoIndentOnNewline);
  w.flag(kAdvanced, "NewFilesMustBeNamed", a.newFilesMustBeNamed);
  w.flag(kAdvanced, "OverwriteWarning", a.overwriteWarning);
  w.flag(kAdvanced, "AutosaveModifiedFiles", a.autosaveModifiedFiles);
  w.number(kAdvanced, "AutosaveDelay", a.autosaveDelay);
  w.flag(kAdvanced, "AutosaveOnDeactivation", a.autosaveOnDeactivation);
  w.flag(kAdvanced, "AutoloadOnActivation", a.autoloadOnActivation);

  w.flag(kFlags, "CaretAfterPaste", s.caretAfterPaste);
  w.number(kFlags, "Indent", s.defaults.indent);
  w.number(kFlags, "LMarg", s.defaults.leftMargin);
  w.number(kFlags, "RMarg", s.defaults.rightMargin);
  w.number(kFlags, "AutoMarg", s.defaults.autoMargin);
  w.raw(kFlags, "RepeatPlayFlags", formatRepeatPlayFlags(s.repeatPlay));
  w.number(kFlags, "SyncPanes", s.defaults.syncPanes);
  w.number(kFlags, "WordWrap", s.defaults.wordWrap);
  for (const NamedColour& c : colours) w.raw(kColours, c.name, formatColour(c.values));
  writeFilters(store, s.filters);
  // No pattern is written as nothing, which reads back as the built-in pattern.
  w.text(kAdvanced, "WordRE", a.wordPattern.empty() ? std::string() : "#" + a.wordPattern + "#");
  w.flag(kState, "MatchCase", s.search.matchCase);
  w.flag(kState, "Forward", s.search.forward);
  w.flag(kState, "RegEx", s.search.regEx);
  w.flag(kState, "WholeWord", s.search.wholeWord);
  w.number(kState, "Scope", s.search.scope);
  w.flag(kAdvanced, "UseLongFileNames", a.useLongFileNames);
  w.flag(kAdvanced, "UseExplorerType", a.useExplorerType);
}

}  // namespace osk::app
