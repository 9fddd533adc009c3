// Splits the text of a syntax definition file into tokens: reserved words, labels (other words, numbers among
// them), strings, character constants and single characters, counting lines for error messages.
//
// Spaces, tabs, carriage returns and line feeds separate tokens; `#` starts a comment to the end of the line.
// Strings and character constants take `\t`, `\n`, a backslash before a line end (both dropped) and a backslash
// before any other character (that character). A token is at most 256 characters. Errors (an unterminated string
// or character, a zero byte, a token over 256 characters) come back as an error token carrying the message; the
// line number is that of the last line the lexer entered, so a final line end does not count a line of its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace osk::syntax {

enum class Reserved : int {
  None,
  Defcol,
  Extmap,
  Regmap,
  To,
  Startdef,
  Enddef,
  KeywordChars,
  Mlb,
  Slb,
  Islb,
  Eslb,
  Keywords,
  CaseSensitive,
  Keychars,
};

enum class TokenKind { Word, Label, String, Character, Single, End, Error };

struct Token {
  TokenKind kind = TokenKind::End;
  Reserved word = Reserved::None;   // for kind Word
  std::string text;                 // label, word, string contents or the error message
  uint8_t character = 0;            // Character: its first character (0 when empty); Single: the character
};

constexpr size_t kTokenMax = 256;

class SyntaxLexer {
 public:
  explicit SyntaxLexer(std::string_view text) : text_(text) {}

  Token Next();
  uint32_t line() const { return line_; }

 private:
  int Peek() const { return pos_ < text_.size() ? static_cast<uint8_t>(text_[pos_]) : -1; }
  int Take();
  Token Quoted(char quote);

  std::string_view text_;
  size_t pos_ = 0;
  uint32_t line_ = 1;
  bool lineEndPending_ = false;
};

// The reserved word's text, as written in files.
const char* ReservedText(Reserved word);

}  // namespace osk::syntax
