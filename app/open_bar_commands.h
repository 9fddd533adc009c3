// The program's Open Bar commands: what each one asks of the services' Open Bar, the condition bits that follow
// from the bar's state, and the decisions around deleting the selected files (the question asked first, and the
// list handed to the system's file operation, which must never name more than the files the user chose).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk::app {

// Actions and properties of the services' Open Bar (OCS_SetOpenBarProp / OCS_GetOpenBarProp).
enum OpenBarProperty : int32_t {
  kObNextList = 1,
  kObPreviousList = 2,
  kObGotoList = 3,
  kObNewList = 4,
  kObListSettings = 5,
  kObRefresh = 6,
  kObOpenSelected = 7,
  kObCloseList = 8,
  kObFont = 9,
  kObVisible = 20,
  kObMaximised = 21,
  kObAutoRefresh = 22,
  kObListCount = 30,
  kObSelectedCount = 31,
};

enum class OpenBarStepKind {
  kAction,        // run action `property`
  kToggle,        // set property `property` to the opposite of its present value
  kHide,          // set the visible property to 0
  kPickList,      // a menu of the lists at the pointer; the chosen one becomes current
  kDeleteFiles,   // ask, then send the selected files to the recycle bin
};

struct OpenBarStep {
  OpenBarStepKind kind;
  int32_t property = 0;
};

// The step of an Open Bar command (OB... and OpenBarToggle); none for any other name.
std::optional<OpenBarStep> openBarStep(std::string_view command);

// Condition bits 0x100000 (two lists or more) and 0x200000 (files selected) for the bar's state.
uint32_t openBarConditions(int32_t listCount, int32_t selectedCount);

// The question asked before the selected files go: the file's name for one file, the count for several.
std::string deleteQuestion(const std::vector<std::string>& paths);

// The files as the system's file operation takes them: each full path ended by a zero, and one more zero after
// the last. None when the list is empty or any entry is not a plain full path of a file (relative, empty, with a
// wildcard that would widen the operation to other files, or with a zero inside).
std::optional<std::string> shellFileList(const std::vector<std::string>& paths);

}  // namespace osk::app
