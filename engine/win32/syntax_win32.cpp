// The Win32 edge of syntax colouring: system colours for the standard colour table, the engine library's own
// path for finding the syntax file beside it, and the "Syntax file error" box.
#include <windows.h>

#include <string>

#include "engine/lang/colour_tables.h"
#include "engine/lang/syntax_file.h"

namespace osk::win32 {

namespace {

uint32_t systemColour(syntax::SystemColour which) {
  switch (which) {
    case syntax::SystemColour::kWindowText: return GetSysColor(COLOR_WINDOWTEXT);
    case syntax::SystemColour::kWindow: return GetSysColor(COLOR_WINDOW);
    case syntax::SystemColour::kHighlightText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case syntax::SystemColour::kHighlight: return GetSysColor(COLOR_HIGHLIGHT);
  }
  return GetSysColor(COLOR_WINDOWTEXT);
}

// The path of the module that holds this code: the engine library, wherever the program loaded it from.
std::string engineModulePath() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&engineModulePath), &module)) {
    return std::string();
  }
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(path, length);
}

void reportSyntaxError(OskWindow owner, const std::string& text) {
  // The text carries the file's path and its own words; it is shown as text, never used as a format.
  MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), "Syntax file error", MB_OK);
}

// Installs the edge when the engine library is loaded, before any initialisation can ask for it.
struct SyntaxEdge {
  SyntaxEdge() {
    syntax::SetSystemColourSource(systemColour);
    syntax::SetModulePathSource(engineModulePath);
    syntax::SetSyntaxErrorReporter(reportSyntaxError);
  }
};
const SyntaxEdge edge;

}  // namespace

}  // namespace osk::win32
