#include "engine/lang/regex_matcher.h"

#include <algorithm>
#include <cstring>

namespace osk::regex {
namespace {

// Folding touches the ASCII letters only; every other byte compares as it is.
constexpr uint8_t OtherCase(uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<uint8_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c - 'A' + 'a');
  return c;
}

constexpr uint8_t Fold(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c - 'A' + 'a') : c; }

bool Quantifiable(NodeKind kind) {
  return kind == NodeKind::AnyChar || kind == NodeKind::CharClass || kind == NodeKind::QuantifiedChar;
}

}  // namespace

Matcher::Matcher() = default;

bool Matcher::Prepare(const uint8_t* pattern, bool matchCase) {
  prepared_ = false;
  opCount_ = 0;
  matchCase_ = matchCase;
  NodeWalker walker(pattern);
  int groups = 0;
  int open[kMatchSlots];
  int depth = 0;
  int classes = 0;
  int memos = 0;
  while (auto node = walker.Next()) {
    if (opCount_ > kMaxNodes) return false;
    Op& op = ops_[opCount_++];
    op.kind = node->kind;
    op.quantifier = Quantifiable(node->kind) ? node->quantifier : Quantifier::None;
    op.count = node->count;
    op.data = node->data;
    op.group = op.classIndex = op.memo = -1;
    op.ch = op.chOther = node->count > 0 ? node->data[0] : 0;
    switch (node->kind) {
      case NodeKind::Literal:
        if (node->count == 0) return false;
        break;
      case NodeKind::QuantifiedChar:
        if (node->count != 1) return false;
        break;
      case NodeKind::GroupOpen:
        if (++groups > kMaxGroups) return false;
        op.group = static_cast<int16_t>(groups);
        open[depth++] = groups;
        break;
      case NodeKind::GroupClose:
        if (depth == 0) return false;
        op.group = static_cast<int16_t>(open[--depth]);
        break;
      case NodeKind::CharClass: {
        ClassBitmap& bits = classes_[classes];
        op.classIndex = static_cast<int16_t>(classes++);
        bits.fill(0);
        for (uint32_t i = 0; i + 1 < node->count; i += 2) {
          const int first = static_cast<int8_t>(node->data[i]);
          const int second = node->data[i + 1] == 0 ? first : static_cast<int8_t>(node->data[i + 1]);
          for (int c = first; c <= second; ++c) {
            const auto byte = static_cast<uint8_t>(c);
            bits[byte >> 6] |= uint64_t{1} << (byte & 63);
          }
        }
        if (!matchCase) {
          for (int c = 'a'; c <= 'z'; ++c) {
            const auto upper = static_cast<uint8_t>(c - 'a' + 'A');
            const bool either = ((bits[c >> 6] >> (c & 63)) & 1) | ((bits[upper >> 6] >> (upper & 63)) & 1);
            if (either) {
              bits[c >> 6] |= uint64_t{1} << (c & 63);
              bits[upper >> 6] |= uint64_t{1} << (upper & 63);
            }
          }
        }
        if (node->negated) {
          for (auto& word : bits) word = ~word;
        }
        break;
      }
      case NodeKind::GroupRef:
        return false;
      default:
        break;
    }
    if (!matchCase) op.chOther = OtherCase(op.ch);
    if (op.quantifier != Quantifier::None) op.memo = static_cast<int16_t>(memos++);
  }
  if (walker.Malformed() || opCount_ < 2 || depth != 0) return false;
  prepared_ = true;
  return true;
}

bool Matcher::Accepts(const Op& op, uint8_t c) const {
  switch (op.kind) {
    case NodeKind::AnyChar:
      return true;
    case NodeKind::QuantifiedChar:
      return c == op.ch || c == op.chOther;
    case NodeKind::CharClass:
      return (classes_[op.classIndex][c >> 6] >> (c & 63)) & 1;
    default:
      return false;
  }
}

bool Matcher::SameRun(const uint8_t* text, const uint8_t* pattern, uint32_t count) const {
  if (matchCase_) return std::memcmp(text, pattern, count) == 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (Fold(text[i]) != Fold(pattern[i])) return false;
  }
  return true;
}

bool Matcher::KnownFailure(int memo, int32_t column) const {
  return rowAttempt_[memo] == attempt_ && ((failed_[memo][column >> 6] >> (column & 63)) & 1) != 0;
}

void Matcher::RecordFailure(int memo, int32_t column) {
  if (rowAttempt_[memo] != attempt_) {
    failed_[memo].fill(0);
    rowAttempt_[memo] = attempt_;
  }
  failed_[memo][column >> 6] |= uint64_t{1} << (column & 63);
}

// A failure remembered for (quantified node, position) stays valid for every later start of the same search: the only thing
// that depends on the start is the rule against empty matches, and later starts make it stricter.
void Matcher::NewAttempt() {
  if (++attempt_ == 0) {
    rowAttempt_.fill(0);
    attempt_ = 1;
  }
}

// Group slots need no undoing on backtracking: every path to the End node passes every group node after the point
// where it left the failed path, so the successful path overwrites whatever a failed one recorded.
bool Matcher::Forward(int index, int32_t pos) {
  for (;; ++index) {
    const Op& op = ops_[index];
    switch (op.kind) {
      case NodeKind::End:
        if (pos - start_ < 1) return false;
        slots_[0] = {start_, pos - start_};
        return true;
      case NodeKind::LineStart:
        if (pos != 0) return false;
        break;
      case NodeKind::LineEnd:
        if (pos != length_) return false;
        break;
      case NodeKind::Literal:
        if (static_cast<uint32_t>(length_ - pos) < op.count || !SameRun(text_ + pos, op.data, op.count)) return false;
        pos += static_cast<int32_t>(op.count);
        break;
      case NodeKind::GroupOpen:
        slots_[op.group] = {pos, 0};
        break;
      case NodeKind::GroupClose:
        slots_[op.group].length = pos - slots_[op.group].start;
        break;
      case NodeKind::AnyChar:
      case NodeKind::CharClass:
      case NodeKind::QuantifiedChar: {
        if (op.quantifier == Quantifier::None) {
          if (pos >= length_ || !Accepts(op, text_[pos])) return false;
          ++pos;
          break;
        }
        if (KnownFailure(op.memo, pos)) return false;
        const int32_t limit = op.quantifier == Quantifier::Optional ? std::min(1, length_ - pos) : length_ - pos;
        int32_t run = 0;
        while (run < limit && Accepts(op, text_[pos + run])) ++run;
        const int32_t least = op.quantifier == Quantifier::OneOrMore ? 1 : 0;
        const Op& next = ops_[index + 1];
        for (int32_t taken = run; taken >= least; --taken) {
          const int32_t at = pos + taken;
          // A literal that follows can only succeed where its first character stands.
          if (next.kind == NodeKind::Literal && (at >= length_ || (text_[at] != next.ch && text_[at] != next.chOther)))
            continue;
          if (Forward(index + 1, at)) return true;
        }
        RecordFailure(op.memo, pos);
        return false;
      }
      default:
        break;
    }
  }
}

// Backwards the walk runs from the End node to the Start node and `pos` is the next character to take, leftwards;
// a match ends at the start column and begins just after the position where the Start node is reached.
bool Matcher::Backward(int index, int32_t pos) {
  for (;; --index) {
    const Op& op = ops_[index];
    switch (op.kind) {
      case NodeKind::Start:
        if (start_ - pos < 1) return false;
        slots_[0] = {pos + 1, start_ - pos};
        return true;
      case NodeKind::LineStart:
        if (pos != -1) return false;
        break;
      case NodeKind::LineEnd:
        if (pos != length_ - 1) return false;
        break;
      case NodeKind::Literal: {
        if (static_cast<uint32_t>(pos + 1) < op.count) return false;
        const int32_t first = pos + 1 - static_cast<int32_t>(op.count);
        if (!SameRun(text_ + first, op.data, op.count)) return false;
        pos = first - 1;
        break;
      }
      case NodeKind::GroupClose:
        groupEnd_[op.group] = pos + 1;
        break;
      case NodeKind::GroupOpen:
        slots_[op.group] = {pos + 1, groupEnd_[op.group] - (pos + 1)};
        break;
      case NodeKind::AnyChar:
      case NodeKind::CharClass:
      case NodeKind::QuantifiedChar: {
        if (op.quantifier == Quantifier::None) {
          if (pos < 0 || !Accepts(op, text_[pos])) return false;
          --pos;
          break;
        }
        if (KnownFailure(op.memo, pos + 1)) return false;
        const int32_t limit = op.quantifier == Quantifier::Optional ? std::min(1, pos + 1) : pos + 1;
        int32_t run = 0;
        while (run < limit && Accepts(op, text_[pos - run])) ++run;
        const int32_t least = op.quantifier == Quantifier::OneOrMore ? 1 : 0;
        const Op& next = ops_[index - 1];
        for (int32_t taken = run; taken >= least; --taken) {
          const int32_t at = pos - taken;
          if (next.kind == NodeKind::Literal) {
            const uint8_t want = next.data[next.count - 1];
            if (at < 0 || (text_[at] != want && text_[at] != (matchCase_ ? want : OtherCase(want)))) continue;
          }
          if (Backward(index - 1, at)) return true;
        }
        RecordFailure(op.memo, pos + 1);
        return false;
      }
      default:
        break;
    }
  }
}

void Matcher::Succeed(std::string_view line) {
  std::memcpy(line_ + 1, line.data(), line.size());
  line_[0] = 0;
  line_[line.size() + 1] = 0;
  lineLength_ = static_cast<int32_t>(line.size());
}

void Matcher::Fail() {
  slots_.fill({});
  lineLength_ = 0;
  line_[1] = 0;
}

bool Matcher::MatchPrepared(std::string_view line, bool forward, bool singlePosition, int32_t& col, int32_t& len) {
  if (!prepared_ || line.empty() || line.size() > static_cast<size_t>(kMaxLineLength) || col < 0 || line.data() == nullptr) {
    Fail();
    return false;
  }
  text_ = reinterpret_cast<const uint8_t*>(line.data());
  length_ = static_cast<int32_t>(line.size());
  slots_.fill({});
  NewAttempt();

  if (forward) {
    if (col >= length_) {
      Fail();
      return false;
    }
    int32_t last = singlePosition ? col : length_ - 1;
    if (ops_[1].kind == NodeKind::LineStart) {
      if (col != 0) {
        Fail();
        return false;
      }
      last = 0;
    }
    // Starts where the leading literal's first character does not stand are skipped without running the walk.
    int lead = 1;
    while (ops_[lead].kind == NodeKind::GroupOpen) ++lead;
    const bool literalLead = ops_[lead].kind == NodeKind::Literal;
    const uint8_t want = ops_[lead].ch;
    const uint8_t wantOther = ops_[lead].chOther;
    for (int32_t start = col; start <= last; ++start) {
      if (literalLead) {
        if (want == wantOther) {
          const void* hit = std::memchr(text_ + start, want, static_cast<size_t>(last - start + 1));
          if (hit == nullptr) break;
          start = static_cast<int32_t>(static_cast<const uint8_t*>(hit) - text_);
        } else {
          while (start <= last && text_[start] != want && text_[start] != wantOther) ++start;
          if (start > last) break;
        }
      }
      start_ = start;
      if (Forward(1, start)) {
        col = start;
        len = slots_[0].length;
        Succeed(line);
        return true;
      }
    }
    Fail();
    return false;
  }

  if (col >= length_) col = length_ - 1;
  const int endIndex = opCount_ - 1;
  int32_t lowest = singlePosition ? col : 0;
  if (ops_[endIndex - 1].kind == NodeKind::LineEnd) {
    if (col != length_ - 1) {
      Fail();
      return false;
    }
    lowest = col;
  }
  int lead = endIndex - 1;
  while (ops_[lead].kind == NodeKind::GroupClose) --lead;
  const bool literalLead = ops_[lead].kind == NodeKind::Literal;
  const uint8_t want = literalLead ? ops_[lead].data[ops_[lead].count - 1] : 0;
  const uint8_t wantOther = matchCase_ ? want : OtherCase(want);
  for (int32_t start = col; start >= lowest; --start) {
    if (literalLead && text_[start] != want && text_[start] != wantOther) continue;
    start_ = start;
    if (Backward(endIndex - 1, start)) {
      col = start;
      len = slots_[0].length;
      Succeed(line);
      return true;
    }
  }
  Fail();
  return false;
}

bool Matcher::Match(const uint8_t* pattern, std::string_view line, bool forward, bool matchCase, int32_t& col,
                    int32_t& len) {
  if (!Prepare(pattern, matchCase)) {
    Fail();
    return false;
  }
  return MatchPrepared(line, forward, false, col, len);
}

Matcher& ProcessMatcher() {
  static Matcher* matcher = new Matcher();
  return *matcher;
}

}  // namespace osk::regex
