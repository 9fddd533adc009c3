#include "app/file_dialog_choices.h"

#include <algorithm>

namespace osk::app {
namespace {

// The text up to the first zero of a buffer, or the whole buffer when it has none.
std::string_view untilZero(std::span<const char> buffer, std::size_t from = 0) {
  if (from >= buffer.size()) return {};
  const auto begin = buffer.begin() + static_cast<std::ptrdiff_t>(from);
  const auto end = std::find(begin, buffer.end(), '\0');
  return std::string_view(&*begin, static_cast<std::size_t>(end - begin));
}

std::vector<std::string> blankSeparated(std::string_view text) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (true) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string_view::npos) break;
    const std::size_t end = std::min(text.find(' ', at), text.size());
    words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace

FileDialogStyle fileDialogStyle(bool newShell, bool useExplorerType, bool useLongFileNames) {
  return {newShell && useExplorerType && useLongFileNames, useLongFileNames};
}

bool openMayChooseSeveral(const FileDialogStyle& style) { return style.explorer || !style.longNames; }

bool openNeedsExistingFile(const FileDialogStyle& style) { return !style.explorer && !style.longNames; }

std::array<char, kCustomFilterSize> customFilterBuffer(const FilterChoice& choice) {
  std::array<char, kCustomFilterSize> buffer{};
  const std::size_t needed = choice.customDescription.size() + 1 + choice.customPattern.size() + 1;
  if (choice.customPattern.empty() || needed + 1 > buffer.size()) return buffer;
  std::copy(choice.customDescription.begin(), choice.customDescription.end(), buffer.begin());
  std::copy(choice.customPattern.begin(), choice.customPattern.end(),
            buffer.begin() + static_cast<std::ptrdiff_t>(choice.customDescription.size() + 1));
  return buffer;
}

FilterChoice choiceAfterDialog(std::span<const char> customBuffer, uint32_t index, std::size_t listedTypes) {
  FilterChoice choice;
  const std::string_view description = untilZero(customBuffer);
  const std::string_view pattern = untilZero(customBuffer, description.size() + 1);
  // A pair that filled the buffer to its end has lost its terminator: it is not kept.
  const bool whole = description.size() + 1 + pattern.size() < customBuffer.size();
  if (!pattern.empty() && whole) {
    choice.customDescription = description;
    choice.customPattern = pattern;
  }
  const bool valid = index == 0 ? !choice.customPattern.empty() : index <= listedTypes;
  choice.index = valid ? index : 1;
  return choice;
}

std::string filterPatternAt(const FilterChoice& choice, std::span<const FileFilter> types, uint32_t index) {
  if (index == 0) return choice.customPattern;
  return index <= types.size() ? types[index - 1].pattern : std::string();
}

std::string filterPatternNamed(const FilterChoice& choice, std::span<const FileFilter> types,
                               std::string_view description) {
  if (!choice.customPattern.empty() && description == choice.customDescription) return choice.customPattern;
  for (const FileFilter& type : types) {
    if (type.description == description) return type.pattern;
  }
  return {};
}

std::optional<std::string> amendedOpenField(std::string_view field, bool several, const NameExists& exists,
                                            const NameAmender& amend, std::size_t limit) {
  std::vector<std::string> names = several ? blankSeparated(field) : std::vector<std::string>{std::string(field)};
  bool changed = false;
  for (std::string& name : names) {
    if (name.empty() || name.find_first_of("\\*?") != std::string::npos || exists(name)) continue;
    if (auto amended = amend(name); amended && *amended != name) {
      name = std::move(*amended);
      changed = true;
    }
  }
  if (!changed) return std::nullopt;
  std::string rewritten;
  for (const std::string& name : names) {
    if (!rewritten.empty()) rewritten += ' ';
    rewritten += name;
  }
  if (rewritten.size() > limit) return std::nullopt;
  return rewritten;
}

std::string joinFolder(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && joined.back() != '\\') joined += '\\';
  joined += name;
  return joined;
}

std::vector<std::string> dialogResultNames(std::span<const char> result, bool explorer, bool several) {
  std::vector<std::string> parts;
  if (explorer) {
    std::size_t at = 0;
    while (true) {
      const std::string_view part = untilZero(result, at);
      if (part.empty()) break;
      parts.emplace_back(part);
      at += part.size() + 1;
    }
  } else {
    const std::string_view field = untilZero(result);
    parts = several ? blankSeparated(field) : std::vector<std::string>{};
    if (!several && !field.empty()) parts.emplace_back(field);
  }
  if (parts.size() <= 1) return parts;
  std::vector<std::string> names;
  for (std::size_t i = 1; i < parts.size(); ++i) names.push_back(joinFolder(parts[0], parts[i]));
  return names;
}

ScreenPlace centredOver(const ScreenBox& frame, int32_t width, int32_t height, const ScreenBox& screen,
                        int32_t margin) {
  const auto place = [margin](int32_t centred, int32_t size, int32_t low, int32_t high) {
    // Far side first, then the near one, so a dialog too large for the screen keeps its top-left corner in view.
    int32_t at = std::min(centred, high - margin - size);
    return std::max(at, low + margin);
  };
  const int32_t x = frame.left + ((frame.right - frame.left) - width) / 2;
  const int32_t y = frame.top + ((frame.bottom - frame.top) - height) / 2;
  return {place(x, width, screen.left, screen.right), place(y, height, screen.top, screen.bottom)};
}

}  // namespace osk::app
