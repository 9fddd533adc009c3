#include "app/open_bar_commands.h"

#include <array>

#include "app/command_table.h"

namespace osk::app {
namespace {

struct NamedStep {
  std::string_view name;
  OpenBarStep step;
};

constexpr std::array<NamedStep, 14> kSteps{{
    {"OBNextList", {OpenBarStepKind::kAction, kObNextList}},
    {"OBPrevList", {OpenBarStepKind::kAction, kObPreviousList}},
    {"OBGotoList", {OpenBarStepKind::kPickList, kObGotoList}},
    {"OBNewList", {OpenBarStepKind::kAction, kObNewList}},
    {"OBSettings", {OpenBarStepKind::kAction, kObListSettings}},
    {"OBRefresh", {OpenBarStepKind::kAction, kObRefresh}},
    {"OBOpen", {OpenBarStepKind::kAction, kObOpenSelected}},
    {"OBMaxToggle", {OpenBarStepKind::kToggle, kObMaximised}},
    {"OBClose", {OpenBarStepKind::kAction, kObCloseList}},
    {"OBFont", {OpenBarStepKind::kAction, kObFont}},
    {"OBAutoRefresh", {OpenBarStepKind::kToggle, kObAutoRefresh}},
    {"OBHide", {OpenBarStepKind::kHide, kObVisible}},
    {"OBDeleteFiles", {OpenBarStepKind::kDeleteFiles, 0}},
    {"OpenBarToggle", {OpenBarStepKind::kToggle, kObVisible}},
}};

bool isFullPath(std::string_view path) {
  const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                     (path[2] == '\\' || path[2] == '/');
  const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || unc;
}

std::string_view fileNameOf(std::string_view path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<OpenBarStep> openBarStep(std::string_view command) {
  for (const NamedStep& entry : kSteps) {
    if (entry.name == command) return entry.step;
  }
  return std::nullopt;
}

uint32_t openBarConditions(int32_t listCount, int32_t selectedCount) {
  uint32_t bits = 0;
  if (listCount > 1) bits |= kCondOpenBarLists;
  if (selectedCount > 0) bits |= kCondOpenBarSelection;
  return bits;
}

std::string deleteQuestion(const std::vector<std::string>& paths) {
  if (paths.size() == 1) return "Send \"" + std::string(fileNameOf(paths.front())) + "\" to the Recycle Bin?";
  return "Send these " + std::to_string(paths.size()) + " files to the Recycle Bin?";
}

std::optional<std::string> shellFileList(const std::vector<std::string>& paths) {
  if (paths.empty()) return std::nullopt;
  std::string list;
  for (const std::string& path : paths) {
    if (!isFullPath(path) || path.find_first_of(std::string_view("*?\0", 3)) != std::string::npos) return std::nullopt;
    if (fileNameOf(path).empty()) return std::nullopt;   // a folder, not a file
    list += path;
    list += '\0';
  }
  list += '\0';
  return list;
}

}  // namespace osk::app
