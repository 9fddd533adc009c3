// Compiles the text of a syntax definition file into syntax data (see syntax_data.h for the records).
//
// The file holds colour statements, then map statements (at least one), then definitions (at least one). The
// first error ends the compile with its message and line and no data; nothing the file holds is ever used as a
// format, every string and label is checked against its limit, and a result over 65535 bytes is an error, never a
// cut block. Limits beyond those of the statements: a keyword is at most 255 characters (its length is one byte);
// an empty keyword, which could never match, is left out of its list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/lang/syntax_data.h"

namespace osk::syntax {

struct CompileResult {
  std::unique_ptr<SyntaxData> data;   // null when the compile failed
  uint32_t line = 0;                  // of the error
  std::string message;                // the error's text; empty on success
};

CompileResult CompileSyntax(std::string_view text);

// The text of the "Syntax file error" box: "Error: <path> (<line>) <message>\n".
std::string FormatSyntaxError(std::string_view path, uint32_t line, std::string_view message);

}  // namespace osk::syntax
