// The shipped syntax definition file: it compiles, maps the usual file names, and colours what a programmer
// expects in each language.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "engine/lang/colour_tables.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/lang/syntax_file.h"

namespace osk::syntax {
namespace {

const std::string kShipped = OSK_SHIPPED_SYNTAX;

class ShippedSyntax : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadSyntaxFile(kShipped)) << "cannot compile " << kShipped; }
  void TearDown() override { SetCurrentSyntax(nullptr); }

  // The display name of the colour of the cell at 1-based `cell` of `line` in a file named `file`.
  static std::string ColourAt(const std::string& file, std::string_view line, int32_t cell, bool inside = false) {
    SyntaxData* data = CurrentSyntax();
    const DecodedDefinition* d = data->Definition(data->DefinitionFor(file));
    EXPECT_NE(d, nullptr) << file;
    LineScan scan;
    ScanLine(d, line, inside, scan);
    for (const Stretch& s : scan.stretches) {
      if (cell - 1 >= s.start && cell - 1 < s.end) return std::string(data->colourName(s.colour));
    }
    return "plain";
  }
};

TEST_F(ShippedSyntax, CompilesWithReadableColourNames) {
  std::ifstream in(kShipped, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  CompileResult r = CompileSyntax(text);
  ASSERT_NE(r.data, nullptr) << FormatSyntaxError(kShipped, r.line, r.message);
  EXPECT_GE(SyntaxColourCount(), 10u);
  for (uint32_t i = 0; i < r.data->colourCount(); ++i) {
    const std::string_view name = r.data->colourName(i);
    EXPECT_GE(name.size(), 4u);
    EXPECT_NE(name.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string_view::npos) << name;
  }
}

TEST_F(ShippedSyntax, EveryLanguageIsMappedByItsUsualNames) {
  SyntaxData* data = CurrentSyntax();
  const char* const files[] = {"a.c", "a.h", "a.cpp", "a.hpp", "a.cs", "a.java", "a.js", "a.ts", "a.tsx",
                               "a.py", "a.rs", "a.go", "a.sql", "a.html", "a.xml", "a.css", "a.json", "a.sh",
                               "a.bat", "a.cmd", "a.ps1", "a.ini", "a.mak", "Makefile", "GNUmakefile",
                               "makefile.am", "a.pas", "a.pl", "a.asm"};
  for (const char* f : files) EXPECT_NE(data->DefinitionFor(std::string("C:\\work\\") + f), 0u) << f;
  EXPECT_EQ(data->DefinitionFor("C:\\work\\readme.txt"), 0u);
  EXPECT_EQ(data->DefinitionFor("a.cpp"), data->DefinitionFor("A.H"));
  EXPECT_EQ(data->DefinitionFor("a.js"), data->DefinitionFor("a.ts"));
  EXPECT_EQ(data->DefinitionFor("a.html"), data->DefinitionFor("a.xml"));
}

TEST_F(ShippedSyntax, ColoursWhatAProgrammerExpects) {
  EXPECT_EQ(ColourAt("x.cpp", "#include <windows.h>", 5), "Preprocessor Line");
  EXPECT_EQ(ColourAt("x.cpp", "int main() { return 0; } // done", 1), "Type Name");
  EXPECT_EQ(ColourAt("x.cpp", "int main() { return 0; } // done", 14), "Keyword");
  EXPECT_EQ(ColourAt("x.cpp", "int main() { return 0; } // done", 30), "Comment");
  EXPECT_EQ(ColourAt("x.cpp", "s = \"a /* b\"; c = 'x';", 8), "String");
  EXPECT_EQ(ColourAt("x.cpp", "s = \"a /* b\"; c = 'x';", 20), "Character Constant");
  EXPECT_EQ(ColourAt("x.cpp", "  still in a block comment", 5, true), "Comment");
  EXPECT_EQ(ColourAt("x.cs", "/// <summary>", 5), "Documentation");
  EXPECT_EQ(ColourAt("x.java", "public class A {}", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.ts", "const s = `tpl`;", 12), "String");
  EXPECT_EQ(ColourAt("x.py", "def f(): # note", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.py", "def f(): # note", 12), "Comment");
  EXPECT_EQ(ColourAt("x.py", "return None", 9), "Constant");
  EXPECT_EQ(ColourAt("x.rs", "fn main() { let x: u32 = 1; }", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.rs", "fn main() { let x: u32 = 1; }", 20), "Type Name");
  EXPECT_EQ(ColourAt("x.go", "func main() { return nil }", 23), "Constant");
  EXPECT_EQ(ColourAt("x.sql", "SELECT name FROM t WHERE n = 'it''s'; -- c", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.sql", "SELECT name FROM t WHERE n = 'it''s'; -- c", 34), "String");
  EXPECT_EQ(ColourAt("x.sql", "SELECT name FROM t WHERE n = 'it''s'; -- c", 40), "Comment");
  EXPECT_EQ(ColourAt("x.html", "<!-- note --> <div class=\"a\">", 3), "Comment");
  EXPECT_EQ(ColourAt("x.html", "<!-- note --> <div class=\"a\">", 16), "Markup Tag");
  EXPECT_EQ(ColourAt("x.html", "<!-- note --> <div class=\"a\">", 27), "String");
  EXPECT_EQ(ColourAt("x.css", "body { color: red; } /* c */", 8), "Keyword");
  EXPECT_EQ(ColourAt("x.json", "{\"a\": true}", 3), "String");
  EXPECT_EQ(ColourAt("x.json", "{\"a\": true}", 7), "Constant");
  EXPECT_EQ(ColourAt("x.sh", "if [ -f x ]; then echo \"$a\"; fi # c", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.sh", "if [ -f x ]; then echo \"$a\"; fi # c", 34), "Comment");
  EXPECT_EQ(ColourAt("x.bat", "REM a remark", 6), "Comment");
  EXPECT_EQ(ColourAt("x.bat", "echo %PATH%", 7), "Variable");
  EXPECT_EQ(ColourAt("x.bat", "remove", 1), "plain");
  EXPECT_EQ(ColourAt("x.ps1", "<# block", 4), "Comment");
  EXPECT_EQ(ColourAt("x.ps1", "if ($a -eq 1) { }", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.ini", "[Section]", 2), "Section Heading");
  EXPECT_EQ(ColourAt("x.ini", "; comment", 3), "Comment");
  EXPECT_EQ(ColourAt("Makefile", "all: $(OBJ) # build", 7), "Variable");
  EXPECT_EQ(ColourAt("Makefile", "ifeq ($(X),1)", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.pas", "BEGIN { note } END;", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.pas", "BEGIN { note } END;", 9), "Comment");
  EXPECT_EQ(ColourAt("x.pas", "(* open", 4), "Comment");
  EXPECT_EQ(ColourAt("x.pl", "my $x = 'a'; # c", 1), "Keyword");
  EXPECT_EQ(ColourAt("x.pl", "my $x = 'a'; # c", 16), "Comment");
  EXPECT_EQ(ColourAt("x.asm", "  mov eax, 1 ; one", 3), "Keyword");
  EXPECT_EQ(ColourAt("x.asm", "  mov eax, 1 ; one", 7), "Register");
  EXPECT_EQ(ColourAt("x.asm", "  mov eax, 1 ; one", 16), "Comment");
}

TEST_F(ShippedSyntax, DefinitionsFollowTheCurrentData) {
  const uint32_t c = DefinitionForFile("C:\\src\\main.c");
  ASSERT_NE(c, 0u);
  EXPECT_NE(DefinitionAt(c), nullptr);
  EXPECT_EQ(DefinitionAt(c + 1), nullptr);
  SetCurrentSyntax(nullptr);
  EXPECT_EQ(DefinitionForFile("C:\\src\\main.c"), 0u);
  EXPECT_EQ(DefinitionAt(c), nullptr);
}

TEST(SyntaxFile, MissingFileMeansNoColouringAndNoMessage) {
  static int reports = 0;
  SetSyntaxErrorReporter([](OskWindow, const std::string&) { ++reports; });
  EXPECT_FALSE(LoadSyntaxFile("/nonexistent/OSKECD32.stx"));
  EXPECT_EQ(CurrentSyntax(), nullptr);
  EXPECT_EQ(reports, 0);
  SetSyntaxErrorReporter(nullptr);
}

TEST(SyntaxFile, ACompileErrorIsReportedOnceAndLeavesNoData) {
  static std::string report;
  static int reports = 0;
  SetSyntaxErrorReporter([](OskWindow, const std::string& text) {
    report = text;
    ++reports;
  });
  const std::string path = ::testing::TempDir() + "bad_syntax.stx";
  {
    std::ofstream out(path, std::ios::binary);
    out << "defcol a = \"A\";\nextmap c to \"c\";\nstartdef c;\n  mlb(a, \"/*\", \"*/\");\n  mlb(a, \"(*\", \"*)\");\n"
           "  mlb(a, \"{\", \"}\");\nenddef;\n";
  }
  EXPECT_FALSE(LoadSyntaxFile(path));
  EXPECT_EQ(CurrentSyntax(), nullptr);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(report, "Error: " + path + " (5) Multiple mlb statements not allowed\n");
  SetSyntaxErrorReporter(nullptr);
}

TEST(SyntaxFile, PathIsTheLibraryPathWithTheStxExtension) {
  EXPECT_EQ(SyntaxPathFor("C:\\OSK\\OSKECD32.DLL"), "C:\\OSK\\OSKECD32.stx");
  EXPECT_EQ(SyntaxPathFor("C:\\my.tools\\OSKECD32"), "C:\\my.tools\\OSKECD32.stx");
  EXPECT_EQ(SyntaxPathFor("/opt/osk/libOSKECD32.so"), "/opt/osk/libOSKECD32.stx");
}

}  // namespace
}  // namespace osk::syntax
