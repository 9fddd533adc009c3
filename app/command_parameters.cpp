#include "app/command_parameters.h"

namespace osk::app {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Words of a parameter, each up to the next blank or between a pair of quotes of one of `quotes`.
class Words {
 public:
  Words(std::string_view text, std::string_view quotes) : text_(text), quotes_(quotes) {}

  bool atEnd() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    return pos_ == text_.size();
  }
  // The next word; false for a quote left open. Call only when not atEnd().
  bool next(std::string& word) {
    const char first = text_[pos_];
    if (quotes_.find(first) != std::string_view::npos) {
      const std::size_t close = text_.find(first, pos_ + 1);
      if (close == std::string_view::npos) return false;
      word.assign(text_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return true;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
    word.assign(text_.substr(start, pos_ - start));
    return true;
  }
  std::string_view rest() const { return text_.substr(pos_); }

 private:
  std::string_view text_;
  std::string_view quotes_;
  std::size_t pos_ = 0;
};

bool endsWithHelpExtension(std::string_view word) {
  constexpr std::string_view kExtension = ".hlp";
  if (word.size() <= kExtension.size()) return false;
  const std::string_view tail = word.substr(word.size() - kExtension.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] + 32) : tail[i];
    if (c != kExtension[i]) return false;
  }
  return true;
}

std::optional<uint32_t> contextNumber(std::string_view word) {
  if (word.empty() || word.size() > 10) return std::nullopt;
  uint64_t n = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  if (n > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(n);
}

// The text without blanks around it and without one pair of double quotes that encloses it all; nothing for an
// opening quote that is never closed.
std::optional<std::string> unquoted(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.front() != '"') return std::string(text);
  const std::size_t close = text.find('"', 1);
  if (close == std::string_view::npos) return std::nullopt;
  if (close == text.size() - 1) return std::string(text.substr(1, close - 1));
  return std::string(text);
}

}  // namespace

std::string commandParameter(std::string_view text) {
  return std::string(text.substr(0, kMaxCommandParameter));
}

FileNameList parseFileNames(std::string_view parameter) {
  FileNameList list;
  Words words(parameter, "\"'");
  std::string name;
  while (!words.atEnd()) {
    if (!words.next(name)) {
      list.complete = false;
      break;
    }
    if (!name.empty()) list.names.push_back(name);
  }
  return list;
}

std::optional<std::string> trackMenuName(std::string_view parameter) {
  Words words(parameter, "\"'");
  if (words.atEnd()) return std::nullopt;
  const std::string_view rest = words.rest();
  if (rest.front() != '"' && rest.front() != '\'') return std::string(trimmed(rest));
  std::string name;
  if (!words.next(name) || name.empty()) return std::nullopt;
  return name;
}

std::optional<ApplicationCommand> splitApplicationCommand(std::string_view parameter) {
  Words words(parameter, "\"");
  if (words.atEnd()) return std::nullopt;
  ApplicationCommand command;
  if (!words.next(command.program) || command.program.empty()) return std::nullopt;
  std::string_view rest = words.rest();
  // The arguments start after the one blank that ends the program; further blanks belong to them.
  if (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  command.arguments.assign(rest);
  return command;
}

std::optional<HelpRequest> parseHelpParameter(HelpCommand command, std::string_view parameter) {
  HelpRequest request;
  if (command == HelpCommand::Contents) {
    const std::optional<std::string> file = unquoted(parameter);
    if (!file) return std::nullopt;
    request.file = *file;
    return request;
  }
  Words words(parameter, "\"");
  std::string word;
  if (!words.atEnd()) {
    if (!words.next(word)) return std::nullopt;
    if (endsWithHelpExtension(word) && !words.atEnd()) {
      request.file = word;
      parameter = words.rest();
    }
  }
  if (command == HelpCommand::Context) {
    Words rest(parameter, "\"");
    if (rest.atEnd() || !rest.next(word) || !rest.atEnd()) return std::nullopt;
    const std::optional<uint32_t> n = contextNumber(word);
    if (!n) return std::nullopt;
    request.context = *n;
    return request;
  }
  const std::optional<std::string> keyword = unquoted(parameter);
  if (!keyword || (keyword->empty() && command == HelpCommand::Key)) return std::nullopt;
  request.keyword = *keyword;
  return request;
}

}  // namespace osk::app
