#include "app/session.h"

#include <algorithm>
#include <cstdio>

#include "app/file_history.h"

namespace osk::app {
namespace {

constexpr std::string_view kState = "State";
constexpr std::size_t kMaxLine = kMaxFileName + 2 + 12 * 12;

// Restores what a temporary change of the opener's defaults and read-only choice changed, however the open ends.
class TemporaryDefaults {
 public:
  explicit TemporaryDefaults(SessionOpener& opener) : opener_(opener), saved_(opener.defaults()) {}
  ~TemporaryDefaults() {
    opener_.setDefaults(saved_);
    opener_.setOpenReadOnly(false);
  }
  TemporaryDefaults(const TemporaryDefaults&) = delete;
  TemporaryDefaults& operator=(const TemporaryDefaults&) = delete;

 private:
  SessionOpener& opener_;
  PerFileSettings saved_;
};

}  // namespace

std::string formatSessionLine(const SessionLine& l) {
  const PerFileSettings& s = l.settings;
  char numbers[200];
  std::snprintf(numbers, sizeof numbers, " %u %lu %u %u %d %d %d %d %d %d %d %d", static_cast<unsigned>(l.column),
                static_cast<unsigned long>(l.line), static_cast<unsigned>(l.readOnly), 0u, s.tabsAsSpaces,
                s.tabLength, s.indent, s.leftMargin, s.rightMargin, s.autoMargin, s.syncPanes, s.wordWrap);
  return "\"" + l.name + "\"" + numbers;
}

std::optional<SessionLine> parseSessionLine(std::string_view text, const PerFileSettings& defaults) {
  const std::optional<NamedNumbers> split = splitNamedNumbers(text, 12);
  if (!split || split->name.size() > kMaxFileName) return std::nullopt;
  const std::vector<int64_t>& n = split->numbers;
  auto at = [&](std::size_t i, int32_t fallback) { return i < n.size() ? saturated32(n[i]) : fallback; };
  SessionLine l;
  l.name = split->name;
  l.column = static_cast<uint32_t>(std::clamp<int64_t>(n.size() > 0 ? n[0] : 1, 1, kMaxCaretColumn));
  l.line = static_cast<uint32_t>(std::clamp<int64_t>(n.size() > 1 ? n[1] : 1, 1, UINT32_MAX));
  l.readOnly = at(2, 0) != 0 ? 1 : 0;
  l.settings.tabsAsSpaces = at(4, defaults.tabsAsSpaces);
  l.settings.tabLength = at(5, defaults.tabLength);
  l.settings.indent = at(6, defaults.indent);
  l.settings.leftMargin = at(7, defaults.leftMargin);
  l.settings.rightMargin = at(8, defaults.rightMargin);
  l.settings.autoMargin = at(9, defaults.autoMargin);
  l.settings.syncPanes = at(10, defaults.syncPanes);
  l.settings.wordWrap = at(11, defaults.wordWrap);
  l.settings = validated(l.settings);
  return l;
}

std::optional<SessionLine> readSessionLine(SettingsStore& store, std::size_t n, const PerFileSettings& defaults) {
  const std::string text = store.readString(kState, std::to_string(n), "", kMaxLine);
  if (text.empty()) return std::nullopt;
  return parseSessionLine(text, defaults);
}

void writeSessionLines(SettingsStore& store, const std::vector<SessionLine>& lines) {
  std::size_t n = 1;
  for (const SessionLine& l : lines) store.writeString(kState, std::to_string(n++), formatSessionLine(l));
  store.writeString(kState, std::to_string(n), "");
}

std::size_t restoreSession(SettingsStore& store, SessionOpener& opener) {
  std::size_t opened = 0;
  for (std::size_t n = 1;; ++n) {
    const std::optional<SessionLine> line = readSessionLine(store, n, opener.defaults());
    if (!line) break;
    bool ok = false;
    {
      TemporaryDefaults restore(opener);
      opener.setDefaults(line->settings);
      opener.setOpenReadOnly(line->readOnly != 0);
      ok = opener.open(line->name);
      if (ok) opener.placeCaret(line->line, line->column);
    }
    if (!ok) break;
    ++opened;
  }
  return opened;
}

ShutdownResult shutDown(SettingsStore& store, ShutdownHost& host) {
  std::vector<SessionLine> lines;
  for (const std::uintptr_t document : host.documents()) {
    if (host.refusesToClose(document)) return ShutdownResult::Cancelled;
    if (host.isModified(document)) {
      switch (host.askToSave(document)) {
        case SaveAnswer::Cancel:
          return ShutdownResult::Cancelled;
        case SaveAnswer::Yes:
          // A save that fails would lose the changes if the shutdown went on.
          if (!host.save(document)) return ShutdownResult::Cancelled;
          break;
        case SaveAnswer::No:
          break;
      }
    }
    host.updateHistory(document);
    if (std::optional<SessionLine> line = host.sessionLine(document)) lines.push_back(std::move(*line));
  }
  writeSessionLines(store, lines);
  host.writeSettings();
  return ShutdownResult::Agreed;
}

}  // namespace osk::app
