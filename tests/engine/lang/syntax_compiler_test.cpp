// Compiling syntax definition files: the syntax data byte for byte, every error message with its line, and the
// choice of a definition by file name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace std::string_view_literals;

#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"

namespace osk::syntax {
namespace {

std::vector<uint8_t> U32(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

std::vector<uint8_t> Text(std::string_view s, size_t room) {
  std::vector<uint8_t> out(room, 0);
  std::memcpy(out.data(), s.data(), s.size());
  return out;
}

void Add(std::vector<uint8_t>& out, const std::vector<uint8_t>& part) { out.insert(out.end(), part.begin(), part.end()); }

struct Failure {
  uint32_t line;
  std::string message;
};

Failure Fails(std::string_view text) {
  CompileResult r = CompileSyntax(text);
  EXPECT_EQ(r.data, nullptr) << "compiled: " << text.substr(0, 200);
  return {r.line, r.message};
}

const char kMinimal[] =
    "defcol comment = \"Comment\", RGB(0, 128, 0);\n"
    "defcol kw = \"Keyword\", RGB(0, 0, 255), RGB(255, 255, 224);\n"
    "defcol plainc = \"Plain\";\n"
    "extmap c to \"c\", \"h\";\n"
    "startdef c;\n"
    "  mlb(comment, \"/*\", \"*/\");\n"
    "enddef;\n";

TEST(SyntaxCompile, ColourMapAndDefinitionRecordsAreLaidOutByteForByte) {
  CompileResult r = CompileSyntax(kMinimal);
  ASSERT_NE(r.data, nullptr) << r.message << " at " << r.line;
  const std::vector<uint8_t>& b = r.data->bytes();

  std::vector<uint8_t> want;
  // Header: colours at 20 (3 of them), maps at 236 (2), the definition at 392.
  Add(want, U32(20));
  Add(want, U32(3));
  Add(want, U32(236));
  Add(want, U32(2));
  Add(want, U32(392));
  auto colour = [&](std::string_view label, std::string_view name, uint32_t fore, uint32_t back, uint32_t flags) {
    Add(want, Text(label, 17));
    Add(want, Text(name, 33));
    Add(want, {0, 0});
    Add(want, U32(fore));
    Add(want, U32(fore));
    Add(want, U32(back));
    Add(want, U32(back));
    Add(want, U32(flags));
  };
  colour("comment", "Comment", 0x02008000, 0x02FFFFFF, 7);
  colour("kw", "Keyword", 0x02FF0000, 0x02E0FFFF, 1);
  colour("plainc", "Plain", 0xFFFFFFFF, 0x02FFFFFF, 7);
  auto map = [&](std::string_view ext) {
    Add(want, U32(0));
    Add(want, Text(ext, 36));
    Add(want, Text("c", 20));
    Add(want, U32(392));
  };
  map("c");
  map("h");
  // mlb at 364: colour 0, "/*", "*/".
  Add(want, U32(0));
  Add(want, U32(2));
  Add(want, Text("/*", 8));
  Add(want, U32(2));
  Add(want, Text("*/", 8));
  // Definition: no next, mlb at 364, nothing else.
  Add(want, U32(0));
  Add(want, U32(364));
  for (int i = 0; i < 6; ++i) Add(want, U32(0));
  EXPECT_EQ(b, want);
}

TEST(SyntaxCompile, BlockAndKeywordRecordsChainInStatementOrder) {
  CompileResult r = CompileSyntax(
      "defcol a = \"A\";\ndefcol b = \"B\";\n"
      "extmap x to \"x\";\n"
      "startdef x;\n"
      "  slb(a, \"//\", \"\");\n"            // 228
      "  islb(b, \"rem\", \"x\");\n"         // 264
      "  eslb(a, '\"', '\"', '\\\\');\n"     // 300
      "  keyword_chars(\"abc\");\n"         // 312
      "  case_sensitive(0);\n"
      "  keywords(b, \"ab\", \"c\");\n"      // 315: 12 + 3 + 2 + 1 = 18
      "  keychars(a, \"+-\");\n"             // 333: 14
      "  case_sensitive(1);\n"
      "  keywords(a, \"ba\");\n"             // 347: 12 + 3 + 1 = 16
      "  eslb(b, '\\'', '\\'', \"\\\\\");\n"  // 363
      "enddef;\n");                          // 375
  ASSERT_NE(r.data, nullptr) << r.message << " at " << r.line;
  const std::vector<uint8_t>& b = r.data->bytes();
  ASSERT_EQ(b.size(), 375u + 32u);
  EXPECT_EQ(ReadU32(b, kHeaderFirstDefinition), 375u);
  std::vector<uint8_t> slb(b.begin() + 228, b.begin() + 264);
  std::vector<uint8_t> want;
  Add(want, U32(264));
  Add(want, U32(0));
  Add(want, U32(2));
  Add(want, Text("//", 8));
  Add(want, U32(0));
  Add(want, Text("", 8));
  Add(want, U32(1));
  EXPECT_EQ(slb, want);
  EXPECT_EQ(ReadU32(b, 264 + 32), 0u) << "islb compares without case";
  EXPECT_EQ(ReadU32(b, 264), 0u);
  std::vector<uint8_t> eslb(b.begin() + 300, b.begin() + 312);
  want.clear();
  Add(want, U32(363));
  Add(want, U32(0));
  Add(want, {'\\', '"', '"', 0});
  EXPECT_EQ(eslb, want);
  EXPECT_EQ(std::string(b.begin() + 312, b.begin() + 315), "abc");
  std::vector<uint8_t> keywords(b.begin() + 315, b.begin() + 333);
  want.clear();
  Add(want, U32(347));
  Add(want, U32(0));
  Add(want, U32(1));
  Add(want, {2, 'a', 'b', 1, 'c', 0});
  EXPECT_EQ(keywords, want);
  std::vector<uint8_t> keychars(b.begin() + 333, b.begin() + 347);
  want.clear();
  Add(want, U32(0));
  Add(want, U32(0));
  Add(want, U32(2));
  Add(want, {'+', '-'});
  EXPECT_EQ(keychars, want);
  EXPECT_EQ(ReadU32(b, 347 + 4), 1u) << "the case flag in force";
  EXPECT_EQ(b[363 + 8], '\\');
  EXPECT_EQ(b[363 + 9], '\'');
  std::vector<uint8_t> def(b.begin() + 375, b.end());
  want.clear();
  for (uint32_t v : {0u, 0u, 228u, 300u, 312u, 3u, 315u, 333u}) Add(want, U32(v));
  EXPECT_EQ(def, want);
}

TEST(SyntaxCompile, DefinitionsChainAndALaterDefinitionTakesOverTheMaps) {
  CompileResult r = CompileSyntax(
      "extmap one to \"1\";\nextmap two to \"2\";\n"
      "startdef one; enddef;\nstartdef two; enddef;\nstartdef one; enddef;\n");
  ASSERT_NE(r.data, nullptr) << r.message;
  const std::vector<uint8_t>& b = r.data->bytes();
  const uint32_t first = ReadU32(b, kHeaderFirstDefinition);
  EXPECT_EQ(first, 148u);
  EXPECT_EQ(ReadU32(b, first), 180u);
  EXPECT_EQ(ReadU32(b, 180), 212u);
  EXPECT_EQ(ReadU32(b, 212), 0u);
  EXPECT_EQ(r.data->DefinitionFor("a.1"), 212u);
  EXPECT_EQ(r.data->DefinitionFor("a.2"), 180u);
}

TEST(SyntaxCompile, ExtensionMapsFitTheLastExtensionIgnoringCase) {
  CompileResult r = CompileSyntax("extmap c to \"h\";\nregmap mk to \"makefile\", \"GNUmakefile\";\nstartdef c; enddef;\nstartdef mk; enddef;\n");
  ASSERT_NE(r.data, nullptr) << r.message;
  const uint32_t c = r.data->DefinitionFor("x.h");
  const uint32_t mk = r.data->DefinitionFor("makefile");
  EXPECT_NE(c, 0u);
  EXPECT_NE(mk, 0u);
  EXPECT_NE(c, mk);
  EXPECT_EQ(r.data->DefinitionFor("C:\\src\\X.Y.H"), c);
  EXPECT_EQ(r.data->DefinitionFor("C:\\src\\h"), 0u);
  EXPECT_EQ(r.data->DefinitionFor("x.hpp"), 0u);
  EXPECT_EQ(r.data->DefinitionFor("D:MAKEFILE"), mk);
  EXPECT_EQ(r.data->DefinitionFor("/home/u/gnumakefile"), mk);
  EXPECT_EQ(r.data->DefinitionFor("makefile.bak"), 0u);
  EXPECT_EQ(r.data->DefinitionFor("my.makefile"), 0u);
  EXPECT_EQ(r.data->DefinitionFor(""), 0u);
  EXPECT_EQ(r.data->DefinitionFor(std::string(1100, 'a')), 0u);
  EXPECT_EQ(ReadU32(r.data->bytes(), ReadU32(r.data->bytes(), kHeaderFirstMap) + 64), kMapKindExpression);
}

TEST(SyntaxCompile, StructureErrorsNameTheirLine) {
  auto f = Fails("");
  EXPECT_EQ(f.message, "Unexpected EOF");
  EXPECT_EQ(f.line, 1u);
  f = Fails("defcol a = \"A\";\n\ndefcol b = \"B\";\n");
  EXPECT_EQ(f.message, "Unexpected EOF");
  EXPECT_EQ(f.line, 3u);
  f = Fails("defcol a = \"A\";\nstartdef c;\nenddef;\n");
  EXPECT_EQ(f.message, "startdef in incorrect section");
  EXPECT_EQ(f.line, 2u);
  f = Fails("extmap c to \"c\";\n");
  EXPECT_EQ(f.message, "Unexpected EOF");
  f = Fails("extmap c to \"c\";\ndefcol a = \"A\";\n");
  EXPECT_EQ(f.message, "Unexpected defcol");
  EXPECT_EQ(f.line, 2u);
  f = Fails("extmap c to \"c\";\nstartdef c; enddef;\n\nregmap d to \"x\";\n");
  EXPECT_EQ(f.message, "Unexpected regmap");
  EXPECT_EQ(f.line, 4u);
  f = Fails("extmap c to \"c\";\nstartdef c; enddef;\nextmap d to \"x\";\n");
  EXPECT_EQ(f.message, "Unexpected extmap");
  f = Fails("extmap c to \"c\";\nstartdef c;\n mlb(x, \"a\", \"b\");\n");
  EXPECT_EQ(f.message, "Unknown colour label x\n");
  EXPECT_EQ(f.line, 3u);
  f = Fails("defcol x = \"X\";\nextmap c to \"c\";\nstartdef c;\n mlb(x, \"a\", \"b\");\n");
  EXPECT_EQ(f.message, "Uxexpected EOF; missing enddef");
  EXPECT_EQ(f.line, 4u);
  f = Fails("extmap c to \"c\";\nextmap d to \"d\";\nstartdef c; enddef;\n");
  EXPECT_EQ(f.message, "Unresolved file map statement 'd'");
  EXPECT_EQ(f.line, 3u);
}

TEST(SyntaxCompile, UnexpectedTokensAreReportedByWhatWasFound) {
  const std::string head = "defcol k = \"K\";\nextmap c to \"c\";\nstartdef c;\n";
  EXPECT_EQ(Fails(head + "keywords(k, \"if\", );\nenddef;\n").message, "Unexpected character )");
  EXPECT_EQ(Fails(head + "keychars;\n").message, "Unexpected character ;");
  EXPECT_EQ(Fails(head + "keywords(k \"a\");\n").message, "Unexpected string");
  EXPECT_EQ(Fails(head + "mlb(k, 'a', \"b\");\n").message, "Unexpected character");
  EXPECT_EQ(Fails(head + "foo;\n").message, "Invalid label foo");
  EXPECT_EQ(Fails(head + "startdef d;\n").message, "Unexpected startdef");
  EXPECT_EQ(Fails(head + "keychars(k, to);\n").message, "Unexpected to");
  EXPECT_EQ(Fails(head + "case_sensitive(yes);\n").message, "Invalid label yes");
  EXPECT_EQ(Fails("enddef;\n").message, "Unexpected enddef");
  EXPECT_EQ(Fails("extmap c \"c\";\n").message, "Unexpected string");
  EXPECT_EQ(Fails("\n\n  x\0y"sv).message, "Invalid label x");
  auto f = Fails(std::string("extmap c to \"c\";\n\n#\0\n", 21));
  EXPECT_EQ(f.message, "Unexpected NULL in file\n");
  EXPECT_EQ(f.line, 3u);
}

TEST(SyntaxCompile, ColourStatementErrors) {
  EXPECT_EQ(Fails("defcol a = \"A\" RGB(1,2,3);").message, "Expected ';' or RGB value");
  EXPECT_EQ(Fails("defcol a = \"A\", rgb(1,2,3) RGB(1,2,3);").message, "Expected ';'");
  EXPECT_EQ(Fails("defcol a = \"A\", Rgb(1,2,3), (1,2,3);").message, "Expected RGB value");
  EXPECT_EQ(Fails("defcol a = \"A\", RGB(1,2);").message, "Unexpected character )");
  EXPECT_EQ(Fails("defcol a = \"123456789012345678901234567890123\";").message,
            "String too large 123456789012345678901234567890123\n");
  EXPECT_EQ(Fails("defcol abcdefghijklmnopq = \"A\";").message, "String too large abcdefghijklmnopq\n");
  // Each of r, g and b keeps its low 8 bits.
  CompileResult r = CompileSyntax("defcol a = \"A\", RGB(257, 511, 4294967295);\nextmap c to \"c\";\nstartdef c; enddef;");
  ASSERT_NE(r.data, nullptr) << r.message;
  EXPECT_EQ(ReadU32(r.data->bytes(), 20 + kColourDefaultFore), 0x02FFFF01u);
}

TEST(SyntaxCompile, DefinitionStatementErrors) {
  const std::string head = "defcol k = \"K\";\nextmap c to \"c\";\nstartdef c;\n";
  auto f = Fails(head + "mlb(k, \"/*\", \"*/\");\nmlb(k, \"(*\", \"*)\");\n");
  EXPECT_EQ(f.message, "Multiple mlb statements not allowed");
  EXPECT_EQ(f.line, 5u);
  EXPECT_EQ(Fails(head + "mlb(k, \"\", \"*/\");\n").message, "Zero length strings not allowed in mlb");
  EXPECT_EQ(Fails(head + "mlb(k, \"/*\", \"\");\n").message, "Zero length strings not allowed in mlb");
  EXPECT_EQ(Fails(head + "slb(k, \"123456789\", \"\");\n").message, "String too large 123456789\n");
  f = Fails(head + "keyword_chars(\"a\");\n\nkeyword_chars(\"b\");\n");
  EXPECT_EQ(f.message, "Multiple keyword_chars statements not allowed");
  EXPECT_EQ(f.line, 6u);
  EXPECT_EQ(Fails(head + "keywords(k, \"" + std::string(256, 'w') + "\");\n").message,
            "String too large " + std::string(256, 'w') + "\n");
  EXPECT_EQ(Fails(head + "keychars(k, \"" + std::string(257, '+') + "\");\n").message,
            "String too large " + std::string(256, '+') + "\n");
  EXPECT_EQ(Fails("regmap c to \"(a\";\n").message, "Invalid regular expresion in regmap statement");
  EXPECT_EQ(Fails("extmap c to \"123456789012345678901234567890123\";\n").message,
            "String too large 123456789012345678901234567890123\n");
}

TEST(SyntaxCompile, StringsAndCharactersTakeEscapesAndJoinedLines) {
  auto f = Fails("extmap c to \"c\nstartdef c; enddef;");
  EXPECT_EQ(f.message, "Unterminated string");
  EXPECT_EQ(f.line, 1u);
  EXPECT_EQ(Fails("extmap c to \"c").message, "Unterminated string");
  const std::string head = "defcol k = \"K\";\nextmap c to \"c\";\nstartdef c;\n";
  f = Fails(head + "eslb(k, '\"\n");
  EXPECT_EQ(f.message, "Unterminated character");
  EXPECT_EQ(f.line, 4u);
  // A backslash before a line end joins the lines; the line count goes on.
  CompileResult r = CompileSyntax(head + "keychars(k, \"a\\\nb\\t\\\\\\\"\");\nenddef;\n");
  ASSERT_NE(r.data, nullptr) << r.message;
  const std::vector<uint8_t>& b = r.data->bytes();
  const uint32_t def = ReadU32(b, kHeaderFirstDefinition);
  const uint32_t kc = ReadU32(b, def + kDefFirstKeychars);
  EXPECT_EQ(ReadU32(b, kc + 8), 5u);
  EXPECT_EQ(std::string(b.begin() + kc + 12, b.begin() + kc + 17), "ab\t\\\"");
  f = Fails(head + "keychars(k, \"a\\\nb\");\nfoo\n");
  EXPECT_EQ(f.line, 6u);
  // Comments run to the line end; CR LF line ends count once.
  r = CompileSyntax("# colours\r\ndefcol k = \"K\"; # the keyword colour\r\nextmap c to \"c\";\r\nstartdef c; enddef;\r\n");
  EXPECT_NE(r.data, nullptr) << r.message;
  f = Fails("# one\r\n# two\r\nbad\r\n");
  EXPECT_EQ(f.line, 3u);
  EXPECT_EQ(f.message, "Invalid label bad");
}

TEST(SyntaxCompile, TooLargeDataIsAnErrorNotACutBlock) {
  std::string text = "defcol k = \"K\";\nextmap c to \"c\";\nstartdef c;\n";
  std::string words = "keywords(k";
  for (int i = 0; i < 300; ++i) words += ", \"" + std::string(250, static_cast<char>('a' + i % 26)) + "\"";
  text += words + ");\n";
  text += "enddef;\n";
  auto f = Fails(text);
  EXPECT_EQ(f.message, "Syntax data exceeds 64k");
  EXPECT_EQ(f.line, 4u);
  // The same list at a size that fits compiles.
  std::string fits = "defcol k = \"K\";\nextmap c to \"c\";\nstartdef c;\nkeywords(k";
  for (int i = 0; i < 250; ++i) fits += ", \"" + std::string(250, 'x') + "\"";
  fits += ");\nenddef;\n";
  CompileResult r = CompileSyntax(fits);
  ASSERT_NE(r.data, nullptr) << r.message;
  EXPECT_LE(r.data->bytes().size(), 65535u);
}

TEST(SyntaxCompile, ErrorTextIsNeverAFormat) {
  EXPECT_EQ(FormatSyntaxError("C:\\OSK\\%s%n.stx", 7, "Invalid label %s%n"),
            "Error: C:\\OSK\\%s%n.stx (7) Invalid label %s%n\n");
}

}  // namespace
}  // namespace osk::syntax
