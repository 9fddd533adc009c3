// Extension libraries that misbehave, for the services' tests. Built twice:
//   EXT_FAULTY_MISSING  lacks EXT_RunMacro, so it must be refused;
//   otherwise           answers every index for ever, hands out texts without terminators, nests its menu
//                       deeper and deeper, and claims every command it is asked to run (answer 7).
#include <windows.h>

#include <cstring>

#include "services/ext_api.h"

namespace {

char g_unterminated[400];   // 'X' throughout, no zero
const bool g_filled = (std::memset(g_unterminated, 'X', sizeof g_unterminated), true);

}  // namespace

extern "C" {

__declspec(dllexport) const char* OSK_CALL EXT_GetDescription(void) { return g_unterminated; }
__declspec(dllexport) int32_t OSK_CALL EXT_LoadINIDetails(const char*) { return 1; }
__declspec(dllexport) int32_t OSK_CALL EXT_SaveINIDetails(const char*) { return 1; }

__declspec(dllexport) int32_t OSK_CALL EXT_GetMacroDetails(int32_t, ExtMacroDetails* record) {
  std::memset(record->name, 'Y', sizeof record->name);
  record->conditionWord = 0;
  return 1;
}

__declspec(dllexport) int32_t OSK_CALL EXT_GetCommandDetails(int32_t index, ExtCommandDetails* record) {
  record->name = index == 0 ? "" : g_unterminated;   // entry 0 opens a submenu
  record->parameter = g_unterminated;
  record->helpText = g_unterminated;
  record->menuText = g_unterminated;
  return 1;
}

__declspec(dllexport) int32_t OSK_CALL EXT_GetMenuDetails(int32_t, ExtMenuDetails* record) {
  record->command = 0;
  record->nesting = 2;
  return 1;
}

__declspec(dllexport) int32_t OSK_CALL EXT_IsMacroEnabled(const char*) { return 1; }

#ifndef EXT_FAULTY_MISSING
__declspec(dllexport) int32_t OSK_CALL EXT_RunMacro(const char*, const char*) { return 7; }
#endif

}  // extern "C"
