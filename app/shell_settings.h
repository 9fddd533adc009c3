// ShellSettings: every key the program keeps in its settings file ([Config], [Flags], [Advanced], [History],
// [Filters], the search options of [State]), read once at start-up and written back whole at shutdown and after
// the Configuration command, through the profile interface.
//
// Reading never trusts the file: every number is brought into a range the program can use (undo levels 0 to
// 2000, scroll boost 0 to 10, spacings 0 to 64, autosave delay 1 to 86400 seconds, search scope 0 to 2, and so
// on), the per-file defaults and each history record are validated as margins, and a saved frame position that is
// off the screen or not a usable size gives way to the system's default placement. Missing keys give defaults.
// Texts are cut to their buffers: 260 characters for paths, 32 for the font name, 128 for the word pattern.
//
// Writing goes in a fixed order and writes texts so that reading gives them back unchanged. The font keys are
// written only when a font name is set; the history ends with an empty key when it holds fewer than 15 files, so
// that older lines further down are not read back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/advanced_settings.h"
#include "app/file_history.h"
#include "app/per_file_settings.h"
#include "services/settings_store.h"

namespace osk::app {

// A frame coordinate left to the system (the value of CW_USEDEFAULT).
inline constexpr int32_t kDefaultPosition = INT32_MIN;
inline constexpr int32_t kMaxUndos = 2000;
inline constexpr int32_t kMaxVScrollBoost = 10;
inline constexpr int32_t kMaxFontHeight = 1000;   // logical units, either sign
inline constexpr std::size_t kMaxFontName = 32;
inline constexpr std::size_t kMaxWordPattern = 128;
inline constexpr std::size_t kMaxFilterBlock = 1024;   // bytes of the file dialogs' type list, zeros included
inline constexpr char kBuiltInWordPattern[] = "[A-Za-z0-9_]+";

struct FramePlacement {
  int32_t left = kDefaultPosition;
  int32_t top = kDefaultPosition;
  int32_t width = kDefaultPosition;
  int32_t height = kDefaultPosition;

  bool operator==(const FramePlacement&) const = default;
};

struct FontSettings {
  std::string name = "Courier";   // empty: no font is made and editors keep the engine's own
  int32_t height = -13;           // negative: character height
  int32_t weight = 400;           // 700 when FontBold is set
  bool italic = false;
};

// How a repeated keystroke macro play stops.
struct RepeatPlayFlags {
  bool stopAfter = false;
  bool stopIfFindFails = true;
  bool stopAtFileStartOrEnd = true;
  bool stopAtLineStartOrEnd = true;
  bool stopWhenLastFileClosed = false;
  int32_t plays = 1;   // at least 1
  bool stopIfBookmarkFails = false;

  bool operator==(const RepeatPlayFlags&) const = default;
};

struct SearchOptions {
  bool matchCase = true;
  bool forward = true;
  bool regEx = false;
  bool wholeWord = false;
  int32_t scope = 0;   // 0 to end of file, 1 wrap within the file, 2 wrap across files
};

struct FileFilter {
  std::string description;
  std::string pattern;

  bool operator==(const FileFilter&) const = default;
};

struct ShellSettings {
  // [Config]
  int32_t inWinDir = 0;
  std::string configFile;   // empty: the built-in configuration
  // [Flags]
  FramePlacement frame;
  bool maximised = true;
  bool showStatBar = true;
  FontSettings font;
  int32_t bufferState = 0;   // 0 or 1
  bool newFilesForUnix = false;
  bool horzScroll = true;
  bool vertScroll = true;
  int32_t wrapBookMarksMode = 2;   // 0 to 2
  int32_t undos = 200;
  int32_t vScrollBoost = 3;
  bool caretAfterPaste = true;
  PerFileSettings defaults;   // for new documents, and for values a history or session line leaves out
  RepeatPlayFlags repeatPlay;
  std::string startup;        // keystroke macro file played at start-up
  // [Advanced]
  AdvancedSettings advanced;
  // [History]
  FileHistory history;
  // [Filters]
  std::vector<FileFilter> filters;
  // [State]
  SearchOptions search;
};

// What reading needs to know about the machine it runs on.
struct SettingsEnvironment {
  int32_t screenWidth = 0;    // the full-screen client area
  int32_t screenHeight = 0;
  std::string windowsDirectory;   // default MacroPath
  // Whether a word pattern compiles; a pattern that does not is ignored. Unset: every pattern is taken.
  std::function<bool(std::string_view)> patternCompiles;
};

ShellSettings readShellSettings(SettingsStore& store, const SettingsEnvironment& environment);

// A colour as the engine names it, with its numbers: three for a display colour (foreground, background, a flag),
// five for a syntax colour (foreground, background, three attributes).
struct NamedColour {
  std::string name;
  std::vector<int32_t> values;
};

// Writes every key; `colours` are written to [Colours] in the order given, which is the engine's enumeration order.
void writeShellSettings(SettingsStore& store, const ShellSettings& settings, std::span<const NamedColour> colours);

// A colour value read from [Colours]: its numbers when it holds exactly `count` comma-separated numbers, else
// nothing (the colour is then left as it is).
std::optional<std::vector<int32_t>> parseColour(std::string_view value, std::size_t count);
std::optional<std::vector<int32_t>> readColour(SettingsStore& store, std::string_view name, std::size_t count);
std::string formatColour(std::span<const int32_t> values);

// The word pattern held in a WordRE value: the text between its first and last "#"; nothing without two "#" or
// with nothing between them.
std::optional<std::string> wordPatternFromValue(std::string_view value);

// The file type list: [Filters] in either of its forms, else the default list; at most 1024 bytes as the file
// dialogs hold it (each text followed by a zero, and one zero at the end).
std::vector<FileFilter> defaultFilters();
std::vector<FileFilter> readFilters(SettingsStore& store);
void writeFilters(SettingsStore& store, std::span<const FileFilter> filters);
std::string filterBlock(std::span<const FileFilter> filters);
std::vector<FileFilter> filtersFromBlock(std::string_view block);

// Reading stops at the first missing key or empty name; bad lines are left out.
FileHistory readFileHistory(SettingsStore& store, const PerFileSettings& defaults);
void writeFileHistory(SettingsStore& store, const FileHistory& history);

RepeatPlayFlags parseRepeatPlayFlags(std::string_view value);
std::string formatRepeatPlayFlags(const RepeatPlayFlags& flags);

// The frame placement as saved, or the system default for all four values when it would put the frame off the
// screen or give it no usable size.
FramePlacement usablePlacement(FramePlacement saved, int32_t screenWidth, int32_t screenHeight);

}  // namespace osk::app
