// OSKSAMPL.DLL: a small extension library for OSK. It adds three commands, on a "Sample Tools" menu of their own:
//
//   SortMarkedLines       sorts the marked lines (every line when nothing is marked), as one undo step;
//   RemoveTrailingBlanks  removes the blanks and tabs at the ends of all lines of the file, as one undo step;
//   InsertRunningNumber   types a number at the caret and counts on; its parameter, when given, is the number to
//                         start from.
//
// It uses nothing of the editor but the engine's exported editing functions and the interface in
// services/ext_api.h, as any library of a third party would. Its settings live in the editor's settings file,
// section [Sample Extension]: NextNumber, Step, and IgnoreCase (1: sort without regard to case).
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/edit_api.h"
#include "services/ext_api.h"

namespace {

constexpr const char* kSection = "Sample Extension";
constexpr uint32_t kNeedsWritableEditor = 0x1 | 0x800;   // an editor window is active, its text not read-only
constexpr int kLineSize = 1025;                           // a line of 1024 characters and its terminator

struct Command {
  const char* name;
  const char* menuText;
  const char* helpText;
  uint32_t conditionWord;
};

// Index 3 opens the submenu and index 4 is a separator: entries with an empty name.
const Command kCommands[] = {
    {"SortMarkedLines", "&Sort Marked Lines", "Sorts the marked lines, or the whole file", kNeedsWritableEditor},
    {"RemoveTrailingBlanks", "&Remove Trailing Blanks", "Removes blanks at the ends of all lines",
     kNeedsWritableEditor},
    {"InsertRunningNumber", "Insert Running &Number", "Types the next number at the caret",
     kNeedsWritableEditor | EXT_TAKES_PARAMETER},
    {"", "S&ample Tools", "", 0},
    {"", "", "", 0},
};
constexpr int kCommandCount = sizeof kCommands / sizeof kCommands[0];

// The submenu, then its items; the last one closes it.
const ExtMenuDetails kMenu[] = {{3, 2}, {0, 0}, {1, 0}, {4, 0}, {2, 1}};
constexpr int kMenuCount = sizeof kMenu / sizeof kMenu[0];

long g_nextNumber = 1;
long g_step = 1;
bool g_ignoreCase = false;

bool hasTarget() { return GetCurEdWindow() != nullptr || GetCurBuffer() != nullptr; }

std::string lineText(int32_t line) {
  char text[kLineSize] = {};
  if (!GetLine(line, text)) return {};
  text[kLineSize - 1] = '\0';
  return text;
}

bool lessThan(const std::string& a, const std::string& b) {
  if (!g_ignoreCase) return a < b;
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

// The lines a sort covers: those of the mark, where a stream mark that ends at the start of a line leaves that
// line out; without a mark, the whole file.
void sortRange(int32_t& first, int32_t& last) {
  first = 1;
  last = GetLineCount();
  int32_t startColumn = 0, endColumn = 0;
  if (!QueryMark() || !QueryMarkStart(&first, &startColumn) || !QueryMarkEnd(&last, &endColumn)) {
    first = 1;
    return;
  }
  if (QueryMarkType() == 1 && endColumn == 1 && last > first) --last;
}

void sortMarkedLines() {
  int32_t first = 0, last = 0;
  sortRange(first, last);
  if (last <= first) return;
  std::vector<std::string> lines;
  for (int32_t line = first; line <= last; ++line) lines.push_back(lineText(line));
  std::vector<std::string> sorted = lines;
  std::stable_sort(sorted.begin(), sorted.end(), lessThan);
  StartOp();
  for (int32_t line = first; line <= last; ++line) {
    const size_t i = static_cast<size_t>(line - first);
    if (sorted[i] != lines[i]) ReplaceLine(line, sorted[i].c_str());
  }
  EndOp();
}

void removeTrailingBlanks() {
  StartOp();
  const int32_t count = GetLineCount();
  for (int32_t line = 1; line <= count; ++line) {
    const std::string text = lineText(line);
    const size_t keep = text.find_last_not_of(" \t");
    const std::string trimmed = keep == std::string::npos ? std::string() : text.substr(0, keep + 1);
    if (trimmed.size() != text.size()) ReplaceLine(line, trimmed.c_str());
  }
  EndOp();
}

void insertRunningNumber(const char* parameter) {
  if (parameter && *parameter) {
    char* end = nullptr;
    const long start = std::strtol(parameter, &end, 10);
    if (end == parameter) {
      DisplayError("InsertRunningNumber: the parameter must be a number");
      return;
    }
    g_nextNumber = start;
  }
  char text[24];
  std::snprintf(text, sizeof text, "%ld", g_nextNumber);
  if (WriteString(text)) g_nextNumber += g_step;
}

long readNumber(const char* key, long fallback, const char* settingsPath) {
  char text[32] = {};
  GetPrivateProfileStringA(kSection, key, "", text, sizeof text, settingsPath);
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  return end == text ? fallback : n;
}

void writeNumber(const char* key, long value, const char* settingsPath) {
  char text[24];
  std::snprintf(text, sizeof text, "%ld", value);
  WritePrivateProfileStringA(kSection, key, text, settingsPath);
}

}  // namespace

extern "C" {

const char* OSK_CALL EXT_GetDescription(void) {
  return "Sample extension: sorts marked lines, removes trailing blanks, inserts running numbers.";
}

int32_t OSK_CALL EXT_LoadINIDetails(const char* settingsPath) {
  if (!settingsPath) return 0;
  g_nextNumber = readNumber("NextNumber", 1, settingsPath);
  g_step = readNumber("Step", 1, settingsPath);
  g_ignoreCase = readNumber("IgnoreCase", 0, settingsPath) != 0;
  return 1;
}

int32_t OSK_CALL EXT_SaveINIDetails(const char* settingsPath) {
  if (!settingsPath) return 0;
  writeNumber("NextNumber", g_nextNumber, settingsPath);
  writeNumber("Step", g_step, settingsPath);
  writeNumber("IgnoreCase", g_ignoreCase ? 1 : 0, settingsPath);
  return 1;
}

int32_t OSK_CALL EXT_GetMacroDetails(int32_t index, ExtMacroDetails* record) {
  // Only the commands with names; the submenu and separator entries are not commands to run.
  if (index < 0 || index >= 3 || !record) return 0;
  std::memset(record, 0, sizeof *record);
  std::strncpy(record->name, kCommands[index].name, sizeof record->name - 1);
  record->conditionWord = kCommands[index].conditionWord;
  return 1;
}

int32_t OSK_CALL EXT_GetCommandDetails(int32_t index, ExtCommandDetails* record) {
  if (index < 0 || index >= kCommandCount || !record) return 0;
  record->name = kCommands[index].name;
  record->parameter = "";
  record->helpText = kCommands[index].helpText;
  record->menuText = kCommands[index].menuText;
  return 1;
}

int32_t OSK_CALL EXT_GetMenuDetails(int32_t index, ExtMenuDetails* record) {
  if (index < 0 || index >= kMenuCount || !record) return 0;
  *record = kMenu[index];
  return 1;
}

int32_t OSK_CALL EXT_IsMacroEnabled(const char* /*name*/) { return 1; }

int32_t OSK_CALL EXT_RunMacro(const char* name, const char* parameter) {
  if (!name) return 0;
  int which = -1;
  for (int i = 0; i < 3; ++i)
    if (std::strcmp(name, kCommands[i].name) == 0) which = i;
  if (which < 0) return 0;   // not ours: the editor asks the next library
  if (!hasTarget()) {
    GoBeep();
    return 1;
  }
  switch (which) {
    case 0:
      sortMarkedLines();
      break;
    case 1:
      removeTrailingBlanks();
      break;
    case 2:
      insertRunningNumber(parameter);
      break;
  }
  return 1;
}

}  // extern "C"
