#include "engine/lang/syntax_lexer.h"

#include <cstring>

namespace osk::syntax {

namespace {

struct ReservedEntry {
  const char* text;
  Reserved word;
};

constexpr ReservedEntry kReserved[] = {
    {"defcol", Reserved::Defcol},
    {"extmap", Reserved::Extmap},
    {"regmap", Reserved::Regmap},
    {"to", Reserved::To},
    {"startdef", Reserved::Startdef},
    {"enddef", Reserved::Enddef},
    {"keyword_chars", Reserved::KeywordChars},
    {"mlb", Reserved::Mlb},
    {"slb", Reserved::Slb},
    {"islb", Reserved::Islb},
    {"eslb", Reserved::Eslb},
    {"keywords", Reserved::Keywords},
    {"case_sensitive", Reserved::CaseSensitive},
    {"keychars", Reserved::Keychars},
};

bool IsWordChar(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

Token ErrorToken(std::string message) {
  Token t;
  t.kind = TokenKind::Error;
  t.text = std::move(message);
  return t;
}

bool IsLineEnd(std::string_view text, size_t pos) {
  return pos < text.size() &&
         (text[pos] == '\n' || (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n'));
}

}  // namespace

const char* ReservedText(Reserved word) {
  for (const ReservedEntry& e : kReserved) {
    if (e.word == word) return e.text;
  }
  return "";
}

int SyntaxLexer::Take() {
  if (pos_ >= text_.size()) return -1;
  if (lineEndPending_) {
    ++line_;
    lineEndPending_ = false;
  }
  const int c = static_cast<uint8_t>(text_[pos_++]);
  if (c == '\n') lineEndPending_ = true;
  return c;
}

Token SyntaxLexer::Next() {
  for (;;) {
    const int c = Peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      Take();
    } else if (c == '#') {
      while (Peek() != -1 && Peek() != '\n') {
        if (Peek() == 0) break;
        Take();
      }
      if (Peek() == 0) continue;
    } else {
      break;
    }
  }

  const int c = Peek();
  if (c == -1) return Token{};
  if (c == 0) {
    Take();
    return ErrorToken("Unexpected NULL in file\n");
  }
  if (IsWordChar(c)) {
    Token t;
    while (IsWordChar(Peek())) {
      t.text.push_back(static_cast<char>(Take()));
      if (t.text.size() > kTokenMax) {
        t.text.pop_back();
        return ErrorToken("String too large " + t.text + "\n");
      }
    }
    t.kind = TokenKind::Label;
    for (const ReservedEntry& e : kReserved) {
      if (t.text == e.text) {
        t.kind = TokenKind::Word;
        t.word = e.word;
      }
    }
    return t;
  }
  if (c == '"' || c == '\'') return Quoted(static_cast<char>(c));
  Take();
  Token t;
  t.kind = TokenKind::Single;
  t.character = static_cast<uint8_t>(c);
  t.text.assign(1, static_cast<char>(c));
  return t;
}

Token SyntaxLexer::Quoted(char quote) {
  const char* unterminated = quote == '"' ? "Unterminated string" : "Unterminated character";
  Take();
  Token t;
  t.kind = quote == '"' ? TokenKind::String : TokenKind::Character;
  for (;;) {
    const int c = Peek();
    if (c == -1 || IsLineEnd(text_, pos_)) return ErrorToken(unterminated);
    if (c == 0) {
      Take();
      return ErrorToken("Unexpected NULL in file\n");
    }
    Take();
    if (c == quote) break;
    if (c == '\\') {
      const int e = Peek();
      if (e == -1) return ErrorToken(unterminated);
      if (e == 0) {
        Take();
        return ErrorToken("Unexpected NULL in file\n");
      }
      if (IsLineEnd(text_, pos_)) {
        if (Take() == '\r') Take();
        continue;
      }
      Take();
      t.text.push_back(e == 't' ? '\t' : e == 'n' ? '\n' : static_cast<char>(e));
    } else {
      t.text.push_back(static_cast<char>(c));
    }
    if (t.text.size() > kTokenMax) {
      t.text.pop_back();
      return ErrorToken("String too large " + t.text + "\n");
    }
  }
  t.character = t.text.empty() ? 0 : static_cast<uint8_t>(t.text[0]);
  return t;
}

}  // namespace osk::syntax
