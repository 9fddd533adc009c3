// What the pattern compiler accepts and refuses, and the node chain it leaves for the matcher and other readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lang/compiled_nodes.h"
#include "engine/lang/regex_api.h"

namespace {

using osk::regex::NodeKind;
using osk::regex::NodeWalker;
using osk::regex::Quantifier;

struct Compiled {
  explicit Compiled(const std::string& pattern, int32_t regex = 1) : handle(CompileRE(pattern.c_str(), regex)) {}
  ~Compiled() { DestroyRE(handle); }
  const uint8_t* block() const { return reinterpret_cast<const uint8_t*>(handle); }
  HCOMPILEDRE handle;
};

// A readable picture of the chain: kinds with quantifier and data, e.g. "Start Lit(ab) Q(c*) End".
std::string Describe(const uint8_t* block) {
  std::string out;
  NodeWalker walker(block);
  while (auto node = walker.Next()) {
    if (!out.empty()) out += ' ';
    const std::string data(reinterpret_cast<const char*>(node->data), node->count);
    switch (node->kind) {
      case NodeKind::Start: out += "Start"; break;
      case NodeKind::End: out += "End"; break;
      case NodeKind::LineStart: out += "^"; break;
      case NodeKind::LineEnd: out += "$"; break;
      case NodeKind::Literal: out += "Lit(" + data + ")"; break;
      case NodeKind::AnyChar: out += "Any"; break;
      case NodeKind::GroupOpen: out += "("; break;
      case NodeKind::GroupClose: out += ")"; break;
      case NodeKind::QuantifiedChar: out += "Q(" + data; break;
      case NodeKind::CharClass: {
        out += node->negated ? "[^" : "[";
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
          out += data[i];
          if (data[i + 1] != 0) out += std::string("-") + data[i + 1];
        }
        out += "]";
        break;
      }
      default: out += "?"; break;
    }
    static const char* const kQuant[] = {"", "+", "?", "*"};
    out += kQuant[static_cast<int>(node->quantifier)];
    if (node->kind == NodeKind::QuantifiedChar) out += ")";
  }
  if (walker.Malformed()) out += " MALFORMED";
  return out;
}

TEST(RegexCompile, RefusesInvalidPatterns) {
  for (const char* pattern : {"", "[a-c-e]", "a**", "a+?", ")", "]", "(a", "ab\\", "[ab\\", "[]", "[^]", "()",
                              "^$", "^", "$", "(()", "a)", "[a-", "[z-a]", "[9-0]", "x[b-a]y", "[\\z-\\a]"}) {
    Compiled re(pattern);
    EXPECT_EQ(re.handle, nullptr) << "pattern " << pattern;
  }
}

TEST(RegexCompile, AcceptsValidPatterns) {
  for (const char* pattern : {"a", "[abc", "[-a]", "[^]x", "[]x", "a*", "x?", "(ab)+", "a^b", "^abc", "abc$",
                              "\\(", "\\\\", "[a-a]", "[\\]]", "*a", "(*a)", "[a-]", "a$b", "\\t", "((((a))))"}) {
    Compiled re(pattern);
    EXPECT_NE(re.handle, nullptr) << "pattern " << pattern;
  }
}

TEST(RegexCompile, NineGroupsFitTheSlotsButTenAreRefused) {
  Compiled nine("(a)(b)(c)(d)(e)(f)(g)(h)(i)");
  EXPECT_NE(nine.handle, nullptr);
  Compiled ten("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)");
  EXPECT_EQ(ten.handle, nullptr);
  Compiled nested("(((((((((((a)))))))))))");
  EXPECT_EQ(nested.handle, nullptr);
}

TEST(RegexCompile, QuantifierTakesTheLastCharacterOfALiteralRun) {
  Compiled re("abc*d");
  EXPECT_EQ(Describe(re.block()), "Start Lit(ab) Q(c*) Lit(d) End");
  Compiled single("c+");
  EXPECT_EQ(Describe(single.block()), "Start Q(c+) End");
  Compiled escaped("a\\.?");
  EXPECT_EQ(Describe(escaped.block()), "Start Lit(a) Q(.?) End");
}

TEST(RegexCompile, AnchorsOnlyAtTheEndsOfThePattern) {
  Compiled anchored("^ab$");
  EXPECT_EQ(Describe(anchored.block()), "Start ^ Lit(ab) $ End");
  Compiled inner("a^b$c");
  EXPECT_EQ(Describe(inner.block()), "Start Lit(a^b$c) End");
  Compiled escapedEnd("ab\\$");
  EXPECT_EQ(Describe(escapedEnd.block()), "Start Lit(ab$) End");
}

TEST(RegexCompile, ClassesWithRangesNegationAndDashes) {
  Compiled re("[^a-cx\\]-]");
  EXPECT_EQ(Describe(re.block()), "Start [^a-cx]-] End");
  Compiled dashFirst("[-a]");
  EXPECT_EQ(Describe(dashFirst.block()), "Start [-a] End");
  Compiled trailingDash("[a-]");
  EXPECT_EQ(Describe(trailingDash.block()), "Start [a-] End");
  Compiled escapedEnd("[!-\\]]");
  EXPECT_EQ(Describe(escapedEnd.block()), "Start [!-]] End");
  Compiled quantified("[ab]+.*");
  EXPECT_EQ(Describe(quantified.block()), "Start [ab]+ Any* End");
}

TEST(RegexCompile, QuantifiersOnGroupsAndAnchorsAreKeptButInert) {
  Compiled re("(ab)+");
  EXPECT_EQ(Describe(re.block()), "Start ( Lit(ab) )+ End");
  Compiled start("*a");
  EXPECT_EQ(Describe(start.block()), "Start* Lit(a) End");
}

TEST(RegexCompile, EscapesForTabAndFormFeed) {
  Compiled re("\\t\\f\\n");
  EXPECT_EQ(Describe(re.block()), "Start Lit(\t\fn) End");
}

TEST(RegexCompile, PlainTextIsOneLiteral) {
  Compiled re("a.*[b]\\", 0);
  EXPECT_EQ(Describe(re.block()), "Start Lit(a.*[b]\\) End");
  Compiled empty("", 0);
  EXPECT_EQ(empty.handle, nullptr);
}

TEST(RegexCompile, HeaderHoldsTheFlagAndTheEndNode) {
  Compiled re("a(b)", 7);
  const osk::regex::BlockHeader header = osk::regex::ReadHeader(re.block());
  EXPECT_EQ(header.regexFlag, 7);
  const osk::regex::NodeView end = osk::regex::ReadNode(re.block(), header.lastNode);
  EXPECT_EQ(end.kind, NodeKind::End);
  // Walking backwards through the previous-node words reaches the Start node at offset 8.
  std::vector<NodeKind> backwards;
  for (uint32_t at = header.lastNode;; at = osk::regex::ReadNode(re.block(), at).previous) {
    backwards.push_back(osk::regex::ReadNode(re.block(), at).kind);
    if (at == osk::regex::kHeaderSize) break;
  }
  EXPECT_EQ(backwards, (std::vector<NodeKind>{NodeKind::End, NodeKind::GroupClose, NodeKind::Literal,
                                              NodeKind::GroupOpen, NodeKind::Literal, NodeKind::Start}));
}

TEST(RegexCompile, BlockIsLimitedTo20000Bytes) {
  // A literal run grows one byte per character; 19000 characters fit, 20000 do not.
  Compiled fits(std::string(19000, 'a'));
  EXPECT_NE(fits.handle, nullptr);
  Compiled tooLong(std::string(20000, 'a'));
  EXPECT_EQ(tooLong.handle, nullptr);
  // Every `.` is a 12-byte node.
  Compiled manyNodes(std::string(2000, '.'));
  EXPECT_EQ(manyNodes.handle, nullptr);
  Compiled plainTooLong(std::string(20000, 'a'), 0);
  EXPECT_EQ(plainTooLong.handle, nullptr);
}

TEST(RegexCompile, DestroyReportsAZeroHandle) {
  EXPECT_EQ(DestroyRE(nullptr), 0);
  EXPECT_EQ(DestroyRE(CompileRE("a", 1)), 1);
  EXPECT_EQ(CompileRE(nullptr, 1), nullptr);
}

}  // namespace
