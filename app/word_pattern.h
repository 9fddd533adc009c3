// WordPattern: the regular expression that says what a word is, for word moves, whole-word searches and the
// commands that work on the word at the caret.
//
// The default is "[A-Za-z0-9_]+". A pattern replaces it only when it compiles; otherwise the pattern in force stays
// (the settings take the pattern out of its "#" pair). Words are found within one line (at most 1024
// characters); columns are 1-based, as the editing functions count them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace osk::app {

struct WordSpan {
  int32_t column;   // first character, 1-based
  int32_t length;
  int32_t end() const { return column + length; }   // the column after the word
};

class WordPattern {
 public:
  static constexpr std::string_view kDefault = "[A-Za-z0-9_]+";

  WordPattern();
  ~WordPattern();
  WordPattern(const WordPattern&) = delete;
  WordPattern& operator=(const WordPattern&) = delete;

  // Compiles `pattern` and puts it in force; false (and the old one stays) when it is empty or does not compile.
  bool set(std::string_view pattern);
  const std::string& text() const { return text_; }

  // The words of one line, left to right; an empty match never counts as a word.
  std::vector<WordSpan> words(std::string_view line) const;
  // The word that covers `column`, or that ends just before it.
  bool wordAt(std::string_view line, int32_t column, WordSpan& out) const;

 private:
  void* compiled_ = nullptr;
  std::string text_;
};

}  // namespace osk::app
