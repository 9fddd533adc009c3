// The program's command line: blank-separated options and file names, scanned into the items that each start-up
// pass acts on.
//
// Options start with '/' or '-' and are matched case-sensitively by prefix, in this order: "ini" (value), "r1",
// "r0", "i", "name" (value). Scanning resumes right behind a matched option name, so "/r1x" is the option r1
// followed by the file "x". A file name or an option value may be enclosed in double quotes to hold blanks.
//
// Limits: scanning stops at the first fault (an unknown option, a value option with no value after it, a quote
// left open, a settings path too long to hold); the items before the fault are kept and the line is marked
// invalid. A frame title longer than 64 characters is cut to 64. An empty line yields no items and is valid.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace osk::app {

inline constexpr std::size_t kMaxFrameTitle = 64;
inline constexpr std::size_t kMaxSettingsPath = 260;   // characters, without the terminating zero

struct CommandLineItem {
  enum class Kind { SettingsFile, ReadOnlyOn, ReadOnlyOff, SingleInstance, FrameTitle, FileName };
  Kind kind;
  std::string text;   // the value of SettingsFile and FrameTitle, the name of FileName; else empty

  bool operator==(const CommandLineItem&) const = default;
};

struct ScannedCommandLine {
  std::vector<CommandLineItem> items;   // in command-line order, up to the first fault
  bool valid = true;
};

ScannedCommandLine scanCommandLine(std::string_view line);

// What the first pass takes from the line before anything else exists. Absent options leave the defaults.
struct StartupOptions {
  std::string settingsFile;   // empty: the default settings file
  std::string frameTitle;     // empty: the default title
  bool singleInstance = false;
};

StartupOptions startupOptions(const ScannedCommandLine& line);

// The files the opening pass opens, each with the read-only choice that r1/r0 had made before it.
struct FileToOpen {
  std::string name;
  bool readOnly = false;

  bool operator==(const FileToOpen&) const = default;
};

std::vector<FileToOpen> filesToOpen(const ScannedCommandLine& line);

}  // namespace osk::app
