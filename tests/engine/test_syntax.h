// A small C definition installed as the engine's current syntax for the length of a test.
#pragma once

#include <gtest/gtest.h>

#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"

namespace osk::test {

inline constexpr char kTestDefinitions[] =
    "defcol comment = \"Comment\", RGB(0,128,0);\n"
    "defcol keyword = \"Keyword\", RGB(0,0,255);\n"
    "extmap c to \"c\";\n"
    "startdef c;\n"
    "  mlb(comment, \"/*\", \"*/\");\n"
    "  slb(comment, \"//\", \"\");\n"
    "  keyword_chars(\"abcdefghijklmnopqrstuvwxyz_\");\n"
    "  keywords(keyword, \"int\", \"return\");\n"
    "enddef;\n";

// Call from SetUp (inside ASSERT_NO_FATAL_FAILURE) and uninstall from TearDown.
inline void installTestSyntax() {
  syntax::CompileResult r = syntax::CompileSyntax(kTestDefinitions);
  ASSERT_NE(r.data, nullptr) << r.message;
  syntax::SetCurrentSyntax(std::move(r.data));
}

inline void uninstallTestSyntax() { syntax::SetCurrentSyntax(nullptr); }

}  // namespace osk::test
