// The syntax definition file of the engine: found beside the engine library, compiled once when the engine is
// initialised, its data kept until the engine terminates.
//
// No file (or one that cannot be read) means no syntax data and no message. A compile error is reported once, as
// "Error: <path> (<line>) <message>\n" through the platform's reporter (the "Syntax file error" box), and leaves no
// syntax data. Loading again replaces the data; buffers must then choose their definitions again.
#pragma once

#include <string>
#include <string_view>

#include "engine/ecd_types.h"

namespace osk::syntax {

// The syntax file for an engine library path: the text from the last `.` of the file name replaced by ".stx"
// (".stx" appended when the name has no dot).
std::string SyntaxPathFor(std::string_view modulePath);

using SyntaxErrorReporter = void (*)(OskWindow owner, const std::string& text);
void SetSyntaxErrorReporter(SyntaxErrorReporter reporter);
// The engine library's own path; empty when the platform cannot tell (then there is no syntax file).
using ModulePathSource = std::string (*)();
void SetModulePathSource(ModulePathSource source);

// Compiles the file at `path` into the current syntax data; true when there is data afterwards.
bool LoadSyntaxFile(const std::string& path, OskWindow owner = nullptr);

// Engine initialisation: the colour tables back to their defaults, the syntax file beside the library loaded.
void InitialiseSyntax(OskWindow owner);
// Engine termination: the syntax data freed.
void TerminateSyntax();
bool SyntaxInitialised();

}  // namespace osk::syntax
