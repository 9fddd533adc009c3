#include "engine/lang/syntax_compiler.h"

#include <cstring>
#include <new>
#include <vector>

#include "engine/lang/regex_api.h"
#include "engine/lang/syntax_lexer.h"

namespace osk::syntax {

namespace {

// Thrown at the first error; the compile unwinds at once, so no second message can follow.
struct CompileFailure {};

enum Section { kBeforeMaps = 0, kInMaps = 1, kInDefinitions = 2 };

class Compiler {
 public:
  explicit Compiler(std::string_view text) : lexer_(text) {}

  ~Compiler() {
    for (void* p : patterns_) DestroyRE(static_cast<HCOMPILEDRE>(p));
  }

  CompileResult Run() {
    CompileResult result;
    try {
      CompileFile();
      result.data = std::make_unique<SyntaxData>(std::move(bytes_), std::move(patterns_));
      patterns_.clear();
    } catch (const CompileFailure&) {
      result.line = errorLine_;
      result.message = std::move(error_);
    } catch (const std::bad_alloc&) {
      result.line = lexer_.line();
      result.message = "Insufficient memory for syntax compilation";
    }
    return result;
  }

 private:
  struct MapName {
    uint32_t record;
    std::string name;
  };

  [[noreturn]] void Fail(std::string message) {
    errorLine_ = lexer_.line();
    error_ = std::move(message);
    throw CompileFailure{};
  }

  [[noreturn]] void Unexpected(const Token& t) {
    switch (t.kind) {
      case TokenKind::Word: Fail("Unexpected " + t.text);
      case TokenKind::Label: Fail("Invalid label " + t.text);
      case TokenKind::String: Fail("Unexpected string");
      case TokenKind::Character: Fail("Unexpected character");
      case TokenKind::Single: Fail("Unexpected character " + t.text);
      case TokenKind::End: Fail(inDefinition_ ? "Uxexpected EOF; missing enddef" : "Unexpected EOF");
      case TokenKind::Error: Fail(t.text);
    }
    Fail("Unexpected EOF");
  }

  Token Next() {
    Token t = lexer_.Next();
    if (t.kind == TokenKind::Error) Unexpected(t);
    return t;
  }

  void ExpectSingle(char c) {
    Token t = Next();
    if (t.kind != TokenKind::Single || t.character != static_cast<uint8_t>(c)) Unexpected(t);
  }

  void ExpectWord(Reserved word) {
    Token t = Next();
    if (t.kind != TokenKind::Word || t.word != word) Unexpected(t);
  }

  void CheckLength(const std::string& text, size_t max) {
    if (text.size() > max) Fail("String too large " + text + "\n");
  }

  std::string ExpectLabel() {
    Token t = Next();
    if (t.kind != TokenKind::Label) Unexpected(t);
    CheckLength(t.text, kLabelMax);
    return t.text;
  }

  std::string ExpectString(size_t max) {
    Token t = Next();
    if (t.kind != TokenKind::String) Unexpected(t);
    CheckLength(t.text, max);
    return t.text;
  }

  uint8_t ExpectCharacter(bool stringAllowed) {
    Token t = Next();
    if (t.kind != TokenKind::Character && !(stringAllowed && t.kind == TokenKind::String)) Unexpected(t);
    return t.character;
  }

  uint32_t ExpectNumber() {
    Token t = Next();
    if (t.kind != TokenKind::Label) Unexpected(t);
    uint32_t value = 0;
    for (char c : t.text) {
      if (c < '0' || c > '9') Unexpected(t);
      value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
  }

  // The index of the colour whose label is `label`, compared with case.
  uint32_t ColourIndex(const std::string& label) {
    for (uint32_t i = 0; i < colourLabels_.size(); ++i) {
      if (colourLabels_[i] == label) return i;
    }
    Fail("Unknown colour label " + label + "\n");
  }

  // Appends a record of exactly `record.size()` bytes; returns its offset.
  uint32_t Append(const std::vector<uint8_t>& record) {
    if (record.size() > kMaxDataSize - bytes_.size()) Fail("Syntax data exceeds 64k");
    const uint32_t at = static_cast<uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(), record.begin(), record.end());
    return at;
  }

  void Rewrite(uint32_t offset, uint32_t value) {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) Fail("Internal syntax write data error");
    WriteU32(bytes_, offset, value);
  }

  static void Put32(std::vector<uint8_t>& r, uint32_t at, uint32_t value) { WriteU32(r, at, value); }

  static void PutText(std::vector<uint8_t>& r, uint32_t at, std::string_view text) {
    std::memcpy(r.data() + at, text.data(), text.size());
  }

  void CompileFile() {
    bytes_.assign(kHeaderSize, 0);
    for (;;) {
      Token t = Next();
      if (t.kind == TokenKind::End) {
        if (section_ != kInDefinitions) Unexpected(t);
        break;
      }
      if (t.kind != TokenKind::Word) Unexpected(t);
      switch (t.word) {
        case Reserved::Defcol:
          if (section_ != kBeforeMaps) Unexpected(t);
          Colour();
          break;
        case Reserved::Extmap:
        case Reserved::Regmap:
          if (section_ == kInDefinitions) Unexpected(t);
          section_ = kInMaps;
          Map(t.word == Reserved::Regmap);
          break;
        case Reserved::Startdef:
          if (section_ == kBeforeMaps) Fail("startdef in incorrect section");
          section_ = kInDefinitions;
          Definition();
          break;
        default:
          Unexpected(t);
      }
    }
    for (const MapName& m : maps_) {
      if (ReadU32(bytes_, m.record + kMapDefinition) == 0) Fail("Unresolved file map statement '" + m.name + "'");
    }
  }

  uint32_t Rgb() {
    ExpectSingle('(');
    const uint32_t r = ExpectNumber() & 0xFF;
    ExpectSingle(',');
    const uint32_t g = ExpectNumber() & 0xFF;
    ExpectSingle(',');
    const uint32_t b = ExpectNumber() & 0xFF;
    ExpectSingle(')');
    return kPaletteRelative | b << 16 | g << 8 | r;
  }

  static bool IsRgb(const Token& t) {
    return t.kind == TokenKind::Label && t.text.size() == 3 && (t.text[0] | 0x20) == 'r' &&
           (t.text[1] | 0x20) == 'g' && (t.text[2] | 0x20) == 'b';
  }

  void Colour() {
    const std::string label = ExpectLabel();
    ExpectSingle('=');
    const std::string name = ExpectString(kDisplayNameMax);
    uint32_t fore = kNoColour;
    uint32_t back = kNoBackground;
    uint32_t flags = kFlagUseDefault | kFlagCurrentBackNone | kFlagDefaultBackNone;
    Token t = Next();
    if (!(t.kind == TokenKind::Single && t.character == ';')) {
      if (!(t.kind == TokenKind::Single && t.character == ',') || !IsRgb(Next())) Fail("Expected ';' or RGB value");
      fore = Rgb();
      t = Next();
      if (t.kind == TokenKind::Single && t.character == ',') {
        if (!IsRgb(Next())) Fail("Expected RGB value");
        back = Rgb();
        flags = kFlagUseDefault;
        t = Next();
      }
      if (!(t.kind == TokenKind::Single && t.character == ';')) Fail("Expected ';'");
    }
    std::vector<uint8_t> r(kColourSize, 0);
    PutText(r, kColourLabel, label);
    PutText(r, kColourName, name);
    Put32(r, kColourDefaultFore, fore);
    Put32(r, kColourCurrentFore, fore);
    Put32(r, kColourDefaultBack, back);
    Put32(r, kColourCurrentBack, back);
    Put32(r, kColourFlags, flags);
    const uint32_t at = Append(r);
    if (colourLabels_.empty()) Rewrite(kHeaderFirstColour, at);
    colourLabels_.push_back(label);
    Rewrite(kHeaderColourCount, static_cast<uint32_t>(colourLabels_.size()));
  }

  void Map(bool expression) {
    const std::string name = ExpectLabel();
    ExpectWord(Reserved::To);
    for (;;) {
      const std::string text = ExpectString(expression ? kPatternMax : kExtensionMax);
      std::vector<uint8_t> r(kMapSize, 0);
      if (expression) {
        HCOMPILEDRE pattern = CompileRE(text.c_str(), 1);
        if (pattern == nullptr) Fail("Invalid regular expresion in regmap statement");
        try {
          patterns_.push_back(pattern);
        } catch (...) {
          DestroyRE(pattern);
          throw;
        }
        Put32(r, kMapKind, kMapKindExpression);
        // The handle is pointer-sized; the 36 bytes of the extension field hold it on every platform.
        std::memcpy(r.data() + kMapExtension, &pattern, sizeof pattern);
      } else {
        Put32(r, kMapKind, kMapKindExtension);
        PutText(r, kMapExtension, text);
      }
      PutText(r, kMapName, name);
      const uint32_t at = Append(r);
      if (maps_.empty()) Rewrite(kHeaderFirstMap, at);
      maps_.push_back({at, name});
      Rewrite(kHeaderMapCount, static_cast<uint32_t>(maps_.size()));
      Token t = Next();
      if (t.kind == TokenKind::Single && t.character == ';') break;
      if (!(t.kind == TokenKind::Single && t.character == ',')) Unexpected(t);
    }
  }

  // Links `record` behind the last record of a list whose head field is at `head`.
  void Link(uint32_t& last, uint32_t head, uint32_t record) {
    Rewrite(last == 0 ? head : last, record);
    last = record;
  }

  void BlockStrings(std::string& start, std::string& end) {
    start = ExpectString(kBlockStringMax);
    ExpectSingle(',');
    end = ExpectString(kBlockStringMax);
    ExpectSingle(')');
    ExpectSingle(';');
  }

  void Definition() {
    const std::string name = ExpectLabel();
    ExpectSingle(';');
    inDefinition_ = true;
    uint32_t caseSensitive = 1;
    // The sub-records come before the definition record, so their heads are collected here and written at
    // enddef; the record's list heads are fields of a record that does not exist yet.
    uint32_t heads[8] = {};
    uint32_t lastSlb = 0, lastEslb = 0, lastKeywords = 0, lastKeychars = 0;
    bool haveKeywordChars = false;
    auto link = [&](uint32_t& last, int field, uint32_t record) {
      if (last == 0) {
        heads[field] = record;
      } else {
        Rewrite(last, record);
      }
      last = record;
    };

    for (;;) {
      Token t = Next();
      if (t.kind != TokenKind::Word) Unexpected(t);
      if (t.word == Reserved::Enddef) {
        ExpectSingle(';');
        break;
      }
      switch (t.word) {
        case Reserved::Mlb: {
          if (heads[kDefMlb / 4] != 0) Fail("Multiple mlb statements not allowed");
          ExpectSingle('(');
          const uint32_t colour = ColourIndex(ExpectLabel());
          ExpectSingle(',');
          std::string start, end;
          BlockStrings(start, end);
          if (start.empty() || end.empty()) Fail("Zero length strings not allowed in mlb");
          std::vector<uint8_t> r(kMlbSize, 0);
          Put32(r, 0, colour);
          Put32(r, 4, static_cast<uint32_t>(start.size()));
          PutText(r, 8, start);
          Put32(r, 16, static_cast<uint32_t>(end.size()));
          PutText(r, 20, end);
          heads[kDefMlb / 4] = Append(r);
          break;
        }
        case Reserved::Slb:
        case Reserved::Islb: {
          ExpectSingle('(');
          const uint32_t colour = ColourIndex(ExpectLabel());
          ExpectSingle(',');
          std::string start, end;
          BlockStrings(start, end);
          std::vector<uint8_t> r(kSlbSize, 0);
          Put32(r, 4, colour);
          Put32(r, 8, static_cast<uint32_t>(start.size()));
          PutText(r, 12, start);
          Put32(r, 20, static_cast<uint32_t>(end.size()));
          PutText(r, 24, end);
          Put32(r, 32, t.word == Reserved::Slb ? 1 : 0);
          link(lastSlb, kDefFirstSlb / 4, Append(r));
          break;
        }
        case Reserved::Eslb: {
          ExpectSingle('(');
          const uint32_t colour = ColourIndex(ExpectLabel());
          ExpectSingle(',');
          const uint8_t start = ExpectCharacter(false);
          ExpectSingle(',');
          const uint8_t end = ExpectCharacter(false);
          ExpectSingle(',');
          const uint8_t escape = ExpectCharacter(true);
          ExpectSingle(')');
          ExpectSingle(';');
          std::vector<uint8_t> r(kEslbSize, 0);
          Put32(r, 4, colour);
          r[8] = escape;
          r[9] = start;
          r[10] = end;
          link(lastEslb, kDefFirstEslb / 4, Append(r));
          break;
        }
        case Reserved::KeywordChars: {
          if (haveKeywordChars) Fail("Multiple keyword_chars statements not allowed");
          haveKeywordChars = true;
          ExpectSingle('(');
          const std::string chars = ExpectString(kCharListMax);
          ExpectSingle(')');
          ExpectSingle(';');
          if (!chars.empty()) {
            heads[kDefKeywordChars / 4] = Append(std::vector<uint8_t>(chars.begin(), chars.end()));
            heads[kDefKeywordCharCount / 4] = static_cast<uint32_t>(chars.size());
          }
          break;
        }
        case Reserved::CaseSensitive: {
          ExpectSingle('(');
          caseSensitive = ExpectNumber() != 0 ? 1 : 0;
          ExpectSingle(')');
          ExpectSingle(';');
          break;
        }
        case Reserved::Keywords: {
          ExpectSingle('(');
          const uint32_t colour = ColourIndex(ExpectLabel());
          std::vector<uint8_t> r(kKeywordsHead, 0);
          Put32(r, 4, caseSensitive);
          Put32(r, 8, colour);
          Token sep = Next();
          if (!(sep.kind == TokenKind::Single && sep.character == ',')) Unexpected(sep);
          for (;;) {
            const std::string word = ExpectString(kKeywordMax);
            if (!word.empty()) {
              r.push_back(static_cast<uint8_t>(word.size()));
              r.insert(r.end(), word.begin(), word.end());
            }
            sep = Next();
            if (sep.kind == TokenKind::Single && sep.character == ')') break;
            if (!(sep.kind == TokenKind::Single && sep.character == ',')) Unexpected(sep);
          }
          ExpectSingle(';');
          r.push_back(0);
          link(lastKeywords, kDefFirstKeywords / 4, Append(r));
          break;
        }
        case Reserved::Keychars: {
          ExpectSingle('(');
          const uint32_t colour = ColourIndex(ExpectLabel());
          ExpectSingle(',');
          const std::string chars = ExpectString(kCharListMax);
          ExpectSingle(')');
          ExpectSingle(';');
          std::vector<uint8_t> r(kKeycharsHead, 0);
          Put32(r, 4, colour);
          Put32(r, 8, static_cast<uint32_t>(chars.size()));
          r.insert(r.end(), chars.begin(), chars.end());
          link(lastKeychars, kDefFirstKeychars / 4, Append(r));
          break;
        }
        default:
          Unexpected(t);
      }
    }
    inDefinition_ = false;

    std::vector<uint8_t> r(kDefinitionSize, 0);
    for (int i = 1; i < 8; ++i) Put32(r, static_cast<uint32_t>(i * 4), heads[i]);
    const uint32_t at = Append(r);
    Link(lastDefinition_, kHeaderFirstDefinition, at);
    for (const MapName& m : maps_) {
      if (m.name == name) Rewrite(m.record + kMapDefinition, at);
    }
  }

  SyntaxLexer lexer_;
  std::vector<uint8_t> bytes_;
  std::vector<void*> patterns_;
  std::vector<std::string> colourLabels_;
  std::vector<MapName> maps_;
  uint32_t lastDefinition_ = 0;
  Section section_ = kBeforeMaps;
  bool inDefinition_ = false;
  uint32_t errorLine_ = 0;
  std::string error_;
};

}  // namespace

CompileResult CompileSyntax(std::string_view text) {
  try {
    Compiler compiler(text);
    return compiler.Run();
  } catch (const std::bad_alloc&) {
    CompileResult result;
    result.message = "Insufficient memory for syntax compilation";
    return result;
  }
}

std::string FormatSyntaxError(std::string_view path, uint32_t line, std::string_view message) {
  std::string text = "Error: ";
  text.append(path);
  text += " (" + std::to_string(line) + ") ";
  text.append(message);
  text += "\n";
  return text;
}

}  // namespace osk::syntax
