#include "app/macro_commands.h"

#include <algorithm>
#include <cctype>

namespace osk::app {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view withoutTrailingSlash(std::string_view folder) {
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.remove_suffix(1);
  return folder;
}

}  // namespace

bool MacroRunState::canPlay(const MacroEngineState& engine) const {
  return !engine.recording && !engine.playing && engine.macroPresent && !locked_;
}

void MacroRunState::playOnce() {
  repeat_ = false;
  remaining_ = 0;
}

bool MacroRunState::startRepeat(const RepeatPlayFlags& flags) {
  if (flags.stopAfter && flags.plays < 1) {
    playOnce();
    return false;
  }
  flags_ = flags;
  repeat_ = true;
  remaining_ = flags.stopAfter ? flags.plays : 0;
  return true;
}

void MacroRunState::playRefused() { playOnce(); }

MacroRunState::AfterEnd MacroRunState::ended(MacroEnd code) {
  AfterEnd after;
  switch (code) {
    case MacroEnd::kRecordingEnded:
      break;
    case MacroEnd::kFinished:
      if (repeat_ && flags_.stopAfter && --remaining_ <= 0) repeat_ = false;
      if (repeat_) {
        after.playAgain = true;
      } else {
        after.status = kMacroReplayedText;
      }
      break;
    case MacroEnd::kStopped:
      if (repeat_) after.status = kMacroRepeatStoppedText;
      repeat_ = false;
      break;
    case MacroEnd::kAborted:
      after.status = kMacroAbortedText;
      repeat_ = false;
      break;
  }
  if (!repeat_) remaining_ = 0;
  return after;
}

bool MacroRunState::shouldStop(MacroStop stop, bool playing, std::size_t documentsLeft) const {
  if (!repeat_ || !playing) return false;
  switch (stop) {
    case MacroStop::kFindFailed: return flags_.stopIfFindFails;
    case MacroStop::kColumnClamped: return flags_.stopAtLineStartOrEnd;
    case MacroStop::kLineClamped: return flags_.stopAtFileStartOrEnd;
    case MacroStop::kLastWindowClosed: return flags_.stopWhenLastFileClosed && documentsLeft == 0;
    case MacroStop::kBookmarkFailed: return flags_.stopIfBookmarkFails;
  }
  return false;
}

std::optional<MacroStop> heldCaretStop(CaretMove move, bool moved) {
  if (moved) return std::nullopt;
  switch (move) {
    case CaretMove::kUp:
    case CaretMove::kDown:
    case CaretMove::kPageUp:
    case CaretMove::kPageDown: return MacroStop::kLineClamped;
    case CaretMove::kLeft:
    case CaretMove::kRight:
    case CaretMove::kPageLeft:
    case CaretMove::kPageRight: return MacroStop::kColumnClamped;
    default: return std::nullopt;
  }
}

std::string macroMenuText(std::size_t index, std::string_view fullName) {
  std::string text = "&";
  text += static_cast<char>('1' + index % MacroFileList::kMaxNumbered);
  text += ") ";
  text += fullName;
  return text;
}

std::string macroSearchPattern(std::string_view folder) {
  const std::string_view base = withoutTrailingSlash(folder);
  return base.empty() ? std::string(kMacroFilter) : std::string(base) + "\\" + kMacroFilter;
}

std::string macroFullName(std::string_view folder, std::string_view name) {
  const std::string_view base = withoutTrailingSlash(folder);
  return base.empty() ? std::string(name) : std::string(base) + "\\" + std::string(name);
}

void MacroFileList::build(const std::vector<std::string>& fullNames) {
  files_.clear();
  more_ = false;
  for (const std::string& name : fullNames) {
    if (files_.size() == kMaxNumbered) {
      more_ = true;
      break;
    }
    add(name);
  }
}

bool MacroFileList::add(std::string_view fullName) {
  if (fullName.empty()) return false;
  for (const std::string& listed : files_) {
    if (sameName(listed, fullName)) return false;
  }
  if (files_.size() < kMaxNumbered) {
    files_.emplace_back(fullName);
    return true;
  }
  if (more_) return false;
  more_ = true;
  return true;
}

std::vector<MacroFileList::Item> MacroFileList::items() const {
  std::vector<Item> list;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    list.push_back({kFirstId + static_cast<uint32_t>(i), macroMenuText(i, files_[i])});
  }
  if (more_) list.push_back({kMoreId, "&More Macros..."});
  return list;
}

std::optional<std::string> MacroFileList::fileOf(uint32_t id) const {
  if (id < kFirstId || id >= kFirstId + files_.size()) return std::nullopt;
  return files_[id - kFirstId];
}

int32_t parsePlayCount(std::string_view text) {
  if (text.empty() || text.size() > 7) return 0;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace osk::app
