#include "app/command_line.h"

#include <array>

namespace osk::app {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

struct OptionName {
  std::string_view name;
  bool takesValue;
  CommandLineItem::Kind kind;
};

// Table order matters: "ini" must be tried before "i".
constexpr std::array<OptionName, 5> kOptions{{
    {"ini", true, CommandLineItem::Kind::SettingsFile},
    {"r1", false, CommandLineItem::Kind::ReadOnlyOn},
    {"r0", false, CommandLineItem::Kind::ReadOnlyOff},
    {"i", false, CommandLineItem::Kind::SingleInstance},
    {"name", true, CommandLineItem::Kind::FrameTitle},
}};

class Scanner {
 public:
  explicit Scanner(std::string_view line) : line_(line) {}

  bool atEnd() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
    return pos_ == line_.size();
  }
  char peek() const { return line_[pos_]; }
  void skip(std::size_t n) { pos_ += n; }
  std::string_view rest() const { return line_.substr(pos_); }

  // A blank-delimited word, or the text between a pair of double quotes. False for a quote left open.
  bool word(std::string& out) {
    if (line_[pos_] == '"') {
      const std::size_t close = line_.find('"', pos_ + 1);
      if (close == std::string_view::npos) return false;
      out.assign(line_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return true;
    }
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !isBlank(line_[pos_])) ++pos_;
    out.assign(line_.substr(start, pos_ - start));
    return true;
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

}  // namespace

ScannedCommandLine scanCommandLine(std::string_view line) {
  ScannedCommandLine result;
  Scanner scan(line);
  auto fault = [&result] {
    result.valid = false;
    return result;
  };

  while (!scan.atEnd()) {
    if (scan.peek() != '/' && scan.peek() != '-') {
      std::string name;
      if (!scan.word(name)) return fault();
      // A pair of quotes with nothing between names no file.
      if (!name.empty()) result.items.push_back({CommandLineItem::Kind::FileName, std::move(name)});
      continue;
    }

    scan.skip(1);
    const OptionName* match = nullptr;
    for (const OptionName& option : kOptions) {
      if (scan.rest().starts_with(option.name)) {
        match = &option;
        break;
      }
    }
    if (match == nullptr) return fault();
    scan.skip(match->name.size());

    CommandLineItem item{match->kind, {}};
    if (match->takesValue) {
      if (scan.atEnd() || !scan.word(item.text)) return fault();
      if (item.kind == CommandLineItem::Kind::FrameTitle && item.text.size() > kMaxFrameTitle) {
        item.text.resize(kMaxFrameTitle);
      }
      // A cut path would name some other file; refuse it instead.
      if (item.kind == CommandLineItem::Kind::SettingsFile &&
          (item.text.empty() || item.text.size() > kMaxSettingsPath)) {
        return fault();
      }
    }
    result.items.push_back(std::move(item));
  }
  return result;
}

StartupOptions startupOptions(const ScannedCommandLine& line) {
  StartupOptions options;
  for (const CommandLineItem& item : line.items) {
    switch (item.kind) {
      case CommandLineItem::Kind::SettingsFile: options.settingsFile = item.text; break;
      case CommandLineItem::Kind::FrameTitle: options.frameTitle = item.text; break;
      case CommandLineItem::Kind::SingleInstance: options.singleInstance = true; break;
      default: break;
    }
  }
  return options;
}

std::vector<FileToOpen> filesToOpen(const ScannedCommandLine& line) {
  std::vector<FileToOpen> files;
  bool readOnly = false;
  for (const CommandLineItem& item : line.items) {
    switch (item.kind) {
      case CommandLineItem::Kind::ReadOnlyOn: readOnly = true; break;
      case CommandLineItem::Kind::ReadOnlyOff: readOnly = false; break;
      case CommandLineItem::Kind::FileName: files.push_back({item.text, readOnly}); break;
      default: break;
    }
  }
  return files;
}

}  // namespace osk::app
