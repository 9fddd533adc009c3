// Randomized comparison of the matcher with std::regex (ECMAScript) on generated patterns and lines, forwards and
// backwards, with and without case folding.
//
// Each pattern is generated as a list of items and written out twice: in this engine's syntax (with the quirks of
// escaping, dashes and anchors that the compiler must honour) and as an ECMAScript expression. Backward searches are
// checked by reversing both the item list and the line: matching leftwards from the end is matching the mirrored
// pattern rightwards. The reference applies the engine's own rules on top of std::regex: every start column is tried
// in turn, an empty match counts as none, and `^` holds only at column 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "engine/lang/regex_api.h"
#include "engine/lang/regex_matcher.h"

namespace {

// Characters of generated lines and patterns: letters in both cases, the syntax's special characters, space, tab and
// a byte above 0x7f (which orders below ASCII in ranges). Lines flip the case of letters, so every letter is here in
// both cases.
const std::string kAlphabet = std::string("aAbBxX.-^$()[]\\*+? \t") + "\xe9";

struct Item {
  enum Kind { Literal, Any, Class, Open, Close } kind = Literal;
  uint8_t ch = 0;
  bool escaped = false;                                  // Literal: written with a backslash where that is optional
  std::vector<std::pair<uint8_t, uint8_t>> entries;      // Class: (char, 0) or (first, last)
  bool negated = false;
  bool unclosed = false;                                 // Class: the pattern ends inside it
  char quantifier = 0;                                   // 0, '*', '+', '?'
  int group = 0;                                         // Open, Close
};

struct Pattern {
  std::vector<Item> items;
  bool lineStart = false;
  bool lineEnd = false;
  char leadingQuantifier = 0;   // a quantifier on the Start node: kept by the compiler, no effect
  int groups = 0;
};

bool Consumes(const Pattern& p) {
  return std::any_of(p.items.begin(), p.items.end(), [](const Item& it) {
    return it.kind == Item::Literal || it.kind == Item::Any || (it.kind == Item::Class && !it.entries.empty());
  });
}

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Below(100) < percent; }
  uint8_t Char() { return static_cast<uint8_t>(kAlphabet[Below(static_cast<int>(kAlphabet.size()))]); }

  std::string Line() {
    std::string line;
    const int length = Below(24);
    for (int i = 0; i < length; ++i) line += static_cast<char>(Char());
    return line;
  }

  // A line that tends to contain the pattern's literals, so that matches are common.
  std::string LineFor(const Pattern& p) {
    std::string line;
    while (line.size() < 20) {
      if (Chance(40)) {
        line += static_cast<char>(Char());
        continue;
      }
      for (const Item& it : p.items) {
        if (it.kind == Item::Literal && Chance(80)) {
          const int repeat = it.quantifier == '*' || it.quantifier == '+' ? Below(3) + 1 : 1;
          for (int r = 0; r < repeat; ++r) {
            uint8_t c = it.ch;
            if (Chance(30) && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) c ^= 0x20;
            line += static_cast<char>(c);
          }
        } else if (it.kind != Item::Open && it.kind != Item::Close && Chance(50)) {
          line += static_cast<char>(Char());
        }
      }
    }
    line.resize(std::min<size_t>(line.size(), static_cast<size_t>(Below(30))));
    return line;
  }

  Pattern Make() {
    Pattern p;
    p.lineStart = Chance(15);
    if (!p.lineStart && Chance(5)) p.leadingQuantifier = "*+?"[Below(3)];
    std::vector<int> open;
    const int count = Below(7) + 1;
    for (int i = 0; i < count; ++i) {
      Item it;
      const int pick = Below(100);
      if (pick < 50) {
        it.kind = Item::Literal;
        it.ch = Char();
        it.escaped = Chance(20);
      } else if (pick < 62) {
        it.kind = Item::Any;
      } else if (pick < 80) {
        it.kind = Item::Class;
        it.negated = Chance(30);
        const int entries = Below(4);
        for (int e = 0; e < entries; ++e) {
          uint8_t first = Char(), last = 0;
          if (Chance(35)) {
            last = Char();
            if (static_cast<int8_t>(last) < static_cast<int8_t>(first)) std::swap(first, last);
          }
          it.entries.emplace_back(first, last);
        }
      } else if (pick < 90 && p.groups < 9) {
        it.kind = Item::Open;
        it.group = ++p.groups;
        open.push_back(it.group);
      } else if (!open.empty()) {
        it.kind = Item::Close;
        it.group = open.back();
        open.pop_back();
      } else {
        it.kind = Item::Any;
      }
      if (Chance(35)) it.quantifier = "*+?"[Below(3)];
      p.items.push_back(it);
    }
    while (!open.empty()) {
      Item it;
      it.kind = Item::Close;
      it.group = open.back();
      open.pop_back();
      p.items.push_back(it);
    }
    p.lineEnd = Chance(15);
    if (!p.lineEnd && p.items.back().kind == Item::Class && Chance(20)) {
      // Whatever follows an unclosed class would be read as part of it.
      p.items.back().unclosed = true;
      p.items.back().quantifier = 0;
    }
    return p;
  }

 private:
  std::mt19937 rng_;
};

bool IsLetter(uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The pattern in this engine's syntax.
std::string EngineSyntax(const Pattern& p) {
  std::string out;
  if (p.lineStart) out += '^';
  if (p.leadingQuantifier) out += p.leadingQuantifier;
  bool rawDollarLast = false;
  for (const Item& it : p.items) {
    rawDollarLast = false;
    switch (it.kind) {
      case Item::Literal: {
        const uint8_t c = it.ch;
        const bool special = std::string(".()[]*+?\\").find(static_cast<char>(c)) != std::string::npos;
        const bool anchorLike = (c == '^' && out.empty());
        if (c == '\t') {
          out += it.escaped ? "\\t" : "\t";
        } else if (special || anchorLike || (it.escaped && c != 't' && c != 'f')) {
          out += '\\';
          out += static_cast<char>(c);
        } else {
          out += static_cast<char>(c);
          rawDollarLast = c == '$' && !it.quantifier;
        }
        break;
      }
      case Item::Any:
        out += '.';
        break;
      case Item::Class: {
        out += it.negated ? "[^" : "[";
        for (size_t e = 0; e < it.entries.size(); ++e) {
          const auto [first, last] = it.entries[e];
          auto put = [&](uint8_t c, bool leading) {
            const bool escape = c == ']' || c == '\\' || (c == '-' && !leading) || (c == '^' && leading && !it.negated);
            if (c == '\t') {
              out += "\\t";
              return;
            }
            if (escape) out += '\\';
            out += static_cast<char>(c);
          };
          put(first, e == 0);
          if (last != 0) {
            out += '-';
            if (last == ']' || last == '\\' || last == '\t') {
              out += last == '\t' ? "\\t" : std::string("\\") + static_cast<char>(last);
            } else {
              out += static_cast<char>(last);
            }
          }
        }
        if (!it.unclosed) out += ']';
        break;
      }
      case Item::Open:
        out += '(';
        break;
      case Item::Close:
        out += ')';
        break;
    }
    if (it.quantifier) out += it.quantifier;
  }
  if (rawDollarLast) out.insert(out.size() - 1, "\\");
  if (p.lineEnd) out += '$';
  return out;
}

std::string Hex(uint8_t c) {
  static const char* const kDigits = "0123456789abcdef";
  return std::string("\\x") + kDigits[c >> 4] + kDigits[c & 15];
}

// Whether a class accepts a character, by the engine's rules: signed ranges, folding of ASCII letters, negation.
bool ClassAccepts(const Item& it, uint8_t c, bool matchCase) {
  auto in = [&](uint8_t x) {
    for (const auto& [first, last] : it.entries) {
      if (last == 0 ? x == first
                    : static_cast<int8_t>(first) <= static_cast<int8_t>(x) &&
                          static_cast<int8_t>(x) <= static_cast<int8_t>(last)) {
        return true;
      }
    }
    return false;
  };
  bool accepted = in(c) || (!matchCase && IsLetter(c) && in(static_cast<uint8_t>(c ^ 0x20)));
  return it.negated ? !accepted : accepted;
}

// The ECMAScript form; classes become explicit sets over the alphabet (lines hold nothing else), folded letters pairs of both cases.
// `order` receives the engine group number of each ECMAScript group in turn.
std::string EcmaSyntax(const std::vector<Item>& items, bool lineEnd, bool matchCase, std::vector<int>& order) {
  std::string out;
  for (const Item& it : items) {
    switch (it.kind) {
      case Item::Literal:
        if (!matchCase && IsLetter(it.ch)) {
          out += "[" + Hex(it.ch) + Hex(static_cast<uint8_t>(it.ch ^ 0x20)) + "]";
        } else {
          out += Hex(it.ch);
        }
        break;
      case Item::Any:
        out += "[\\s\\S]";
        break;
      case Item::Class: {
        std::string set;
        for (char c : kAlphabet) {
          if (ClassAccepts(it, static_cast<uint8_t>(c), matchCase)) set += Hex(static_cast<uint8_t>(c));
        }
        out += set.empty() ? "[^\\s\\S]" : "[" + set + "]";
        break;
      }
      case Item::Open:
        out += '(';
        order.push_back(it.group);
        break;
      case Item::Close:
        out += ')';
        break;
    }
    if (it.quantifier && it.kind != Item::Open && it.kind != Item::Close) out += it.quantifier;
  }
  if (lineEnd) out += '$';
  return out;
}

struct Result {
  bool found = false;
  int32_t col = 0;
  int32_t len = 0;
  std::vector<std::pair<int32_t, int32_t>> groups;   // slots 1 to 9
  bool operator==(const Result&) const = default;
};

std::string Show(const Result& r) {
  if (!r.found) return "no match";
  std::string out = "col " + std::to_string(r.col) + " len " + std::to_string(r.len) + " groups";
  for (auto [s, l] : r.groups) out += " (" + std::to_string(s) + "," + std::to_string(l) + ")";
  return out;
}

// The engine's rules applied over std::regex. A reversed search passes the reversed line and maps spans back.
class Reference {
 public:
  Reference(const Pattern& p, bool forward, bool matchCase) : forward_(forward) {
    std::vector<Item> items = p.items;
    bool anchoredStart = p.lineStart, anchoredEnd = p.lineEnd;
    if (!forward) {
      std::reverse(items.begin(), items.end());
      for (Item& it : items) {
        if (it.kind == Item::Open) {
          it.kind = Item::Close;
        } else if (it.kind == Item::Close) {
          it.kind = Item::Open;
        }
      }
      std::swap(anchoredStart, anchoredEnd);
    }
    anchoredStart_ = anchoredStart;
    regex_ = std::regex(EcmaSyntax(items, anchoredEnd, matchCase, order_), std::regex::ECMAScript);
  }

  // The match at each start column of the line, each tried on its own; empty matches count as none.
  std::vector<Result> AtEachStart(const std::string& line) const {
    const int32_t n = static_cast<int32_t>(line.size());
    std::vector<Result> results(static_cast<size_t>(n));
    // In the mirrored line, start s is the original column n - 1 - s.
    const std::string text = forward_ ? line : std::string(line.rbegin(), line.rend());
    for (int32_t s = 0; s < n; ++s) {
      Result& r = results[static_cast<size_t>(forward_ ? s : n - 1 - s)];
      r.groups.assign(9, {0, 0});
      if (anchoredStart_ && s != 0) continue;
      std::smatch m;
      if (!std::regex_search(text.begin() + s, text.end(), m, regex_, std::regex_constants::match_continuous)) continue;
      if (m.length(0) == 0) continue;
      r.found = true;
      r.len = static_cast<int32_t>(m.length(0));
      r.col = forward_ ? s : n - 1 - s;
      for (size_t k = 0; k < order_.size(); ++k) {
        const auto start = static_cast<int32_t>(m[k + 1].first - text.begin());
        const auto length = static_cast<int32_t>(m.length(static_cast<int>(k + 1)));
        r.groups[order_[k] - 1] = forward_ ? std::pair{start, length} : std::pair{n - start - length, length};
      }
    }
    return results;
  }

  // The search from `col`: the first start column in the search's direction that has a match.
  Result Search(const std::vector<Result>& atStart, int32_t col) const {
    Result none;
    none.groups.assign(9, {0, 0});
    const auto n = static_cast<int32_t>(atStart.size());
    if (n == 0 || n > 1024 || col < 0) return none;
    if (forward_ && col >= n) return none;
    if (!forward_ && col >= n) col = n - 1;
    for (int32_t c = col; forward_ ? c < n : c >= 0; c += forward_ ? 1 : -1) {
      if (atStart[static_cast<size_t>(c)].found) return atStart[static_cast<size_t>(c)];
    }
    return none;
  }

 private:
  bool forward_;
  bool anchoredStart_ = false;
  std::vector<int> order_;
  std::regex regex_;
};

Result Engine(HCOMPILEDRE re, const std::string& line, bool forward, bool matchCase, int32_t col) {
  Result r;
  r.groups.assign(9, {0, 0});
  int32_t len = 0;
  if (HitTest(re, line.c_str(), forward, matchCase, &col, &len) != 1) return r;
  r.found = true;
  r.col = col;
  r.len = len;
  const osk::regex::Matcher& matcher = osk::regex::ProcessMatcher();
  for (int g = 1; g <= 9; ++g) r.groups[g - 1] = {matcher.Slot(g).start, matcher.Slot(g).length};
  return r;
}

TEST(RegexDifferential, AgreesWithStdRegexForwardAndBackwardWithAndWithoutCase) {
  Generator gen(20240605);
  int compared = 0, matched = 0;
  for (int round = 0; round < 1500; ++round) {
    const Pattern p = gen.Make();
    const std::string source = EngineSyntax(p);
    HCOMPILEDRE re = CompileRE(source.c_str(), 1);
    if (!Consumes(p)) {
      EXPECT_EQ(re, nullptr) << "pattern consumes nothing but compiled: " << source;
      DestroyRE(re);
      continue;
    }
    ASSERT_NE(re, nullptr) << "pattern refused: " << source;
    for (bool matchCase : {true, false}) {
      for (bool forward : {true, false}) {
        const Reference reference(p, forward, matchCase);
        for (int l = 0; l < 4; ++l) {
          const std::string line = l == 0 ? gen.Line() : gen.LineFor(p);
          const int32_t n = static_cast<int32_t>(line.size());
          const std::vector<Result> atStart = reference.AtEachStart(line);
          for (int32_t col = -1; col <= n + 1; ++col) {
            const Result expected = reference.Search(atStart, col);
            const Result actual = Engine(re, line, forward, matchCase, col);
            ++compared;
            matched += expected.found;
            ASSERT_EQ(Show(actual), Show(expected))
                << "pattern '" << source << "' line '" << line << "' col " << col
                << (forward ? " forward" : " backward") << (matchCase ? " case" : " nocase");
          }
        }
      }
    }
    DestroyRE(re);
  }
  // The generator must exercise matches, not only misses.
  EXPECT_GT(matched, compared / 10);
}

TEST(RegexDifferential, PlainTextAgreesWithSubstringSearch) {
  Generator gen(99);
  for (int round = 0; round < 2000; ++round) {
    std::string needle = gen.Line().substr(0, 3);
    if (needle.empty()) continue;
    std::string line = gen.Line();
    if (gen.Chance(50)) line.insert(static_cast<size_t>(gen.Below(static_cast<int>(line.size()) + 1)), needle);
    HCOMPILEDRE re = CompileRE(needle.c_str(), 0);
    ASSERT_NE(re, nullptr);
    const int32_t n = static_cast<int32_t>(line.size());
    for (int32_t col = 0; col < n; ++col) {
      const size_t at = line.find(needle, static_cast<size_t>(col));
      const Result actual = Engine(re, line, true, true, col);
      EXPECT_EQ(actual.found, at != std::string::npos);
      if (actual.found) EXPECT_EQ(actual.col, static_cast<int32_t>(at));
      // Backwards the match must end at or before col.
      const size_t back = col + 1 >= static_cast<int32_t>(needle.size())
                              ? line.rfind(needle, static_cast<size_t>(col + 1 - static_cast<int32_t>(needle.size())))
                              : std::string::npos;
      const Result backward = Engine(re, line, false, true, col);
      EXPECT_EQ(backward.found, back != std::string::npos) << needle << " in " << line << " from " << col;
      if (backward.found) EXPECT_EQ(backward.col, static_cast<int32_t>(back + needle.size() - 1));
    }
    DestroyRE(re);
  }
}

}  // namespace
