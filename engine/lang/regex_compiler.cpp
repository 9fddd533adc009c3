#include "engine/lang/regex_compiler.h"

#include "engine/lang/compiled_nodes.h"

namespace osk::regex {

uint8_t TranslateEscape(uint8_t c) {
  if (c == 't') return '\t';
  if (c == 'f') return '\f';
  return c;
}

namespace {

class PatternCompiler {
 public:
  PatternCompiler(std::string_view pattern, int32_t regexFlag) : pattern_(pattern), nodes_(regexFlag) {}

  uint8_t* CompileExpression();
  uint8_t* CompilePlain();

 private:
  enum class State { BetweenItems, InLiteral, InClass };

  bool AtEnd() const { return pos_ >= pattern_.size(); }
  bool IsLast() const { return pos_ + 1 == pattern_.size(); }
  uint8_t Current() const { return static_cast<uint8_t>(pattern_[pos_]); }

  bool BetweenItems(uint8_t c);
  bool InLiteral(uint8_t c);
  bool InClass(uint8_t c);
  bool StartLiteral(uint8_t c);
  bool Quantify(uint8_t c);
  bool TakeEscaped(uint8_t& out);

  std::string_view pattern_;
  size_t pos_ = 0;
  NodeBlockBuilder nodes_;
  State state_ = State::BetweenItems;
  int openGroups_ = 0;
  int groups_ = 0;
  bool consumes_ = false;
  uint32_t classBytes_ = 0;
};

Quantifier QuantifierFor(uint8_t c) {
  switch (c) {
    case '*': return Quantifier::ZeroOrMore;
    case '+': return Quantifier::OneOrMore;
    default: return Quantifier::Optional;
  }
}


// Reads the character after a backslash at the current position; a backslash that ends the pattern is an error.
bool PatternCompiler::TakeEscaped(uint8_t& out) {
  if (pos_ + 1 >= pattern_.size()) return false;
  out = TranslateEscape(static_cast<uint8_t>(pattern_[pos_ + 1]));
  pos_ += 2;
  return true;
}

bool PatternCompiler::StartLiteral(uint8_t c) {
  consumes_ = true;
  state_ = State::InLiteral;
  return nodes_.AppendNode(NodeKind::Literal) && nodes_.AppendByte(c);
}

// A quantifier binds to the single item before it. Inside a literal run that is the run's last character, which
// moves into a node of its own unless it is the whole run.
bool PatternCompiler::Quantify(uint8_t c) {
  NodeView last = nodes_.Last();
  if (last.kind == NodeKind::Literal) {
    if (last.count == 1) {
      nodes_.SetLastKind(NodeKind::QuantifiedChar);
    } else {
      const uint8_t ch = nodes_.RemoveLastByte();
      if (!nodes_.AppendNode(NodeKind::QuantifiedChar) || !nodes_.AppendByte(ch)) return false;
    }
  } else if (last.quantifier != Quantifier::None) {
    return false;
  }
  nodes_.SetLastQuantifier(QuantifierFor(c));
  state_ = State::BetweenItems;
  ++pos_;
  return true;
}

bool PatternCompiler::BetweenItems(uint8_t c) {
  switch (c) {
    case '(':
      if (++groups_ > kMaxGroups) return false;
      ++openGroups_;
      ++pos_;
      return nodes_.AppendNode(NodeKind::GroupOpen);
    case ')':
      if (openGroups_ == 0) return false;
      --openGroups_;
      ++pos_;
      return nodes_.AppendNode(NodeKind::GroupClose);
    case '*':
    case '+':
    case '?':
      return Quantify(c);
    case '.':
      consumes_ = true;
      ++pos_;
      return nodes_.AppendNode(NodeKind::AnyChar);
    case '[':
      ++pos_;
      if (!nodes_.AppendNode(NodeKind::CharClass)) return false;
      if (!AtEnd() && Current() == '^') {
        nodes_.SetLastNegated();
        ++pos_;
      }
      classBytes_ = 0;
      state_ = State::InClass;
      return true;
    case '\\': {
      uint8_t escaped;
      return TakeEscaped(escaped) && StartLiteral(escaped);
    }
    case ']':
      return false;
    case '^':
      if (pos_ == 0) {
        ++pos_;
        return nodes_.AppendNode(NodeKind::LineStart);
      }
      break;
    case '$':
      if (IsLast()) {
        ++pos_;
        return nodes_.AppendNode(NodeKind::LineEnd);
      }
      break;
    default:
      break;
  }
  ++pos_;
  return StartLiteral(c);
}

bool PatternCompiler::InLiteral(uint8_t c) {
  switch (c) {
    case '.':
    case '(':
    case ')':
    case '[':
    case ']':
      state_ = State::BetweenItems;
      return true;
    case '$':
      if (IsLast()) {
        state_ = State::BetweenItems;
        return true;
      }
      break;
    case '\\': {
      uint8_t escaped;
      consumes_ = true;
      return TakeEscaped(escaped) && nodes_.AppendByte(escaped);
    }
    case '*':
    case '+':
    case '?':
      return Quantify(c);
    default:
      break;
  }
  ++pos_;
  return nodes_.AppendByte(c);
}

bool PatternCompiler::InClass(uint8_t c) {
  uint8_t entry[2] = {c, 0};
  switch (c) {
    case ']':
      state_ = State::BetweenItems;
      ++pos_;
      return true;
    case '\\':
      if (!TakeEscaped(entry[0])) return false;
      break;
    case '-': {
      // A dash that opens the class, or one right before the closing bracket, is the character itself.
      const bool closes = pos_ + 1 < pattern_.size() && pattern_[pos_ + 1] == ']';
      if (classBytes_ < 2 || closes) {
        ++pos_;
        break;
      }
      const NodeView last = nodes_.Last();
      const uint8_t first = last.data[last.count - 2];
      if (last.data[last.count - 1] != 0) return false;   // a range after a range
      ++pos_;
      if (AtEnd()) return false;                           // the range has no end
      uint8_t end = Current();
      if (end == '\\') {
        if (!TakeEscaped(end)) return false;
      } else {
        ++pos_;
      }
      // Ranges compare bytes as signed values; a range that runs backwards would match nothing sensible.
      if (end == 0 || static_cast<int8_t>(end) < static_cast<int8_t>(first)) return false;
      nodes_.SetLastByte(end);
      return true;
    }
    default:
      ++pos_;
      break;
  }
  consumes_ = true;
  classBytes_ += 2;
  return nodes_.AppendData(entry, 2);
}

uint8_t* PatternCompiler::CompileExpression() {
  if (!nodes_.AppendNode(NodeKind::Start)) return nullptr;
  while (!AtEnd()) {
    const uint8_t c = Current();
    bool ok = false;
    switch (state_) {
      case State::BetweenItems: ok = BetweenItems(c); break;
      case State::InLiteral: ok = InLiteral(c); break;
      case State::InClass: ok = InClass(c); break;
    }
    if (!ok) return nullptr;
  }
  // A class still open at the end of the pattern is accepted as if closed.
  if (openGroups_ != 0 || !consumes_) return nullptr;
  if (!nodes_.AppendNode(NodeKind::End)) return nullptr;
  return nodes_.Release();
}

uint8_t* PatternCompiler::CompilePlain() {
  if (pattern_.empty()) return nullptr;
  if (pattern_.size() > kBlockLimit) return nullptr;
  if (!nodes_.AppendNode(NodeKind::Start) || !nodes_.AppendNode(NodeKind::Literal) ||
      !nodes_.AppendData(pattern_.data(), static_cast<uint32_t>(pattern_.size())) ||
      !nodes_.AppendNode(NodeKind::End)) {
    return nullptr;
  }
  return nodes_.Release();
}

}  // namespace

uint8_t* CompilePattern(std::string_view pattern, int32_t regexFlag) {
  PatternCompiler compiler(pattern, regexFlag);
  return regexFlag != 0 ? compiler.CompileExpression() : compiler.CompilePlain();
}

}  // namespace osk::regex
