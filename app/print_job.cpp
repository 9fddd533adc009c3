#include "app/print_job.h"

#include <cstdio>

namespace osk::app {
namespace {

constexpr std::string_view kReadOnlyNote = " (read-only)";
constexpr uint32_t kNumbers = 0x10000;

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

PrintScope printScope(bool hasMark, MarkAnswer answer) {
  if (!hasMark) return PrintScope::kDocument;
  switch (answer) {
    case MarkAnswer::kYes:
      return PrintScope::kSelection;
    case MarkAnswer::kNo:
      return PrintScope::kDocument;
    case MarkAnswer::kCancel:
      break;
  }
  return PrintScope::kNothing;
}

std::string printDocumentName(std::string_view fileName, std::string_view windowTitle) {
  std::string_view name = trimBlanks(fileName);
  if (name.empty()) {
    name = windowTitle;
    if (!name.empty() && name.front() == '*') name.remove_prefix(1);
    if (name.size() >= kReadOnlyNote.size() && name.substr(name.size() - kReadOnlyNote.size()) == kReadOnlyNote) {
      name.remove_suffix(kReadOnlyNote.size());
    }
    name = trimBlanks(name);
  }
  return std::string(name.substr(0, kPrintNameLimit));
}

int64_t printDate(const PrintDateSources& sources) {
  if (!sources.fileTime) return sources.now;
  if (sources.forPreview && sources.modified) return sources.now;
  return *sources.fileTime;
}

StreamOutcome streamOutcome(int32_t engineAnswer) {
  if (engineAnswer == 0) return StreamOutcome::kWritten;
  if (engineAnswer == -34) return StreamOutcome::kCancelled;
  return StreamOutcome::kFailed;
}

std::string makeTemporaryPrintFile(std::string_view directory, uint32_t seed,
                                   const std::function<CreateResult(const std::string&)>& createNew) {
  std::string folder(directory);
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  // Number 0 is skipped, as the system's own temporary names do.
  for (uint32_t tried = 0; tried < kNumbers; ++tried) {
    const uint32_t number = (seed + tried) % kNumbers;
    if (number == 0) continue;
    char leaf[16];
    std::snprintf(leaf, sizeof leaf, "prn%04X.tmp", static_cast<unsigned>(number));
    const std::string name = folder + leaf;
    switch (createNew(name)) {
      case CreateResult::kCreated:
        return name;
      case CreateResult::kExists:
        continue;
      case CreateResult::kFailed:
        return {};
    }
  }
  return {};
}

std::optional<int32_t> previewOperation(std::string_view commandName) {
  constexpr std::string_view kNames[] = {"PPNextPage", "PPPrevPage", "PPZoomIn", "PPZoomOut", "PPSinglePage",
                                         "PPDoublePage"};
  for (int32_t i = 0; i < 6; ++i) {
    if (kNames[i] == commandName) return i + 1;
  }
  return std::nullopt;
}

int32_t previewTestAnswer(int32_t operation, bool previewOpen, bool possible) {
  if (!previewOpen) return 1;
  if (possible) return 0;
  return operation == 5 || operation == 6 ? 2 : 1;
}

}  // namespace osk::app
