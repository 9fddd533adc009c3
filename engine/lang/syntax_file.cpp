#include "engine/lang/syntax_file.h"

#include <fstream>
#include <iterator>
#include <new>

#include "engine/lang/colour_tables.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"

namespace osk::syntax {

namespace {
SyntaxErrorReporter gReporter = nullptr;
ModulePathSource gModulePath = nullptr;
bool gInitialised = false;
}  // namespace

std::string SyntaxPathFor(std::string_view modulePath) {
  const size_t nameStart = modulePath.size() - FileNameOf(modulePath).size();
  const size_t dot = modulePath.find_last_of('.');
  std::string path(modulePath.substr(0, dot != std::string_view::npos && dot >= nameStart ? dot : modulePath.size()));
  return path + ".stx";
}

void SetSyntaxErrorReporter(SyntaxErrorReporter reporter) { gReporter = reporter; }
void SetModulePathSource(ModulePathSource source) { gModulePath = source; }

bool LoadSyntaxFile(const std::string& path, OskWindow owner) {
  SetCurrentSyntax(nullptr);
  std::string text;
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
  } catch (const std::bad_alloc&) {
    if (gReporter != nullptr) {
      gReporter(owner, FormatSyntaxError(path, 1, "Insufficient memory for syntax compilation"));
    }
    return false;
  }
  CompileResult result = CompileSyntax(text);
  if (result.data == nullptr) {
    if (gReporter != nullptr) gReporter(owner, FormatSyntaxError(path, result.line, result.message));
    return false;
  }
  SetCurrentSyntax(std::move(result.data));
  return true;
}

void InitialiseSyntax(OskWindow owner) {
  ResetStandardColours();
  gInitialised = true;
  const std::string module = gModulePath != nullptr ? gModulePath() : std::string();
  if (module.empty()) {
    SetCurrentSyntax(nullptr);
    return;
  }
  LoadSyntaxFile(SyntaxPathFor(module), owner);
}

void TerminateSyntax() {
  SetCurrentSyntax(nullptr);
  SetPalette(nullptr);
  gInitialised = false;
}

bool SyntaxInitialised() { return gInitialised; }

}  // namespace osk::syntax
