// The print stream reader.
#include "services/print/stream_reader.h"

#include <limits>

namespace osk::print {

bool StreamLine::blank() const {
  for (const TextRun& r : runs) {
    if (!r.text.empty()) return false;
  }
  return true;
}

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
 public:
  Reader(std::string_view s, bool join) : s_(s), join_(join) {}

  StreamDocument run() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (c == '\r' || c == '\n') {
        ++i_;
      } else if (c == '{') {
        ++i_;
        groups_.push_back(cls_);
      } else if (c == '}') {
        ++i_;
        if (!groups_.empty()) {
          cls_ = groups_.back();
          groups_.pop_back();
        }
      } else if (c == '\\') {
        ++i_;
        if (i_ >= s_.size()) break;
        if (isLetter(s_[i_])) {
          controlWord();
        } else {
          text(s_[i_++]);
        }
      } else {
        text(c);
        ++i_;
      }
    }
    if (started_) endLine(false);
    return std::move(doc_);
  }

 private:
  void controlWord() {
    const size_t begin = i_;
    while (i_ < s_.size() && isLetter(s_[i_])) ++i_;
    const std::string_view word = s_.substr(begin, i_ - begin);
    bool negative = false;
    if (i_ + 1 < s_.size() && s_[i_] == '-' && isDigit(s_[i_ + 1])) {
      negative = true;
      ++i_;
    }
    int64_t value = 0;
    bool hasValue = false;
    while (i_ < s_.size() && isDigit(s_[i_])) {
      hasValue = true;
      if (value < std::numeric_limits<int32_t>::max()) value = value * 10 + (s_[i_] - '0');
      ++i_;
    }
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    if (negative) value = -value;
    if (i_ < s_.size() && s_[i_] == ' ') ++i_;   // the delimiter belongs to the word
    const int32_t n = static_cast<int32_t>(value);

    // source_ counts the stream lines ended so far, so it is the number of the line being read.
    if (word == "line") {
      if (join_) {
        joinPending_ = started_;
        if (source_ < std::numeric_limits<int32_t>::max()) ++source_;
      } else {
        endLine(true);
      }
    } else if (word == "para") {
      if (join_ && started_) endLine(false);
      endLine(true);
    } else if (word == "pare") {
      if (join_ && started_) endLine(false);
    } else if (word == "parl") {
      pendingParagraph_ = true;
    } else if (word == "fli") {
      fli_ = n < 0 ? 0 : n;
    } else if (word == "lma") {
      lma_ = n < 0 ? 0 : n;
    } else if (word == "seg") {
      cls_ = n < 0 ? 0 : n;
    } else if (word == "num") {
      if (hasValue) doc_.count = value < 0 ? 0 : value;
    }
  }

  void text(char c) {
    if (join_) {
      // Paragraph lines are re-flowed: indentation comes from the paragraph's margins, and the lines of a
      // paragraph meet with one space.
      if (c == ' ' && (joinPending_ || !started_)) return;
      if (joinPending_) {
        append(' ');
        joinPending_ = false;
      }
    }
    append(c);
  }

  void append(char c) {
    if (!started_) beginLine();
    if (line_.runs.empty() || line_.runs.back().cls != cls_) line_.runs.push_back(TextRun{cls_, {}});
    line_.runs.back().text.push_back(c);
  }

  void beginLine() {
    started_ = true;
    line_.source = source_;
    if (pendingParagraph_) {
      line_.paragraphStart = true;
      pendingParagraph_ = false;
    }
    line_.firstLineIndent = fli_;
    line_.leftMargin = lma_;
  }

  // `streamLineEnds`: the end of a stream line too, not only of a joined paragraph.
  void endLine(bool streamLineEnds) {
    if (!started_) beginLine();
    doc_.lines.push_back(std::move(line_));
    line_ = StreamLine{};
    started_ = false;
    joinPending_ = false;
    if (streamLineEnds && source_ < std::numeric_limits<int32_t>::max()) ++source_;
  }

  std::string_view s_;
  bool join_;
  size_t i_ = 0;
  int32_t cls_ = 0;
  std::vector<int32_t> groups_;
  StreamDocument doc_;
  StreamLine line_;
  bool started_ = false;
  bool joinPending_ = false;
  bool pendingParagraph_ = false;
  int32_t fli_ = 0;
  int32_t lma_ = 0;
  int32_t source_ = 0;
};

}  // namespace

StreamDocument readPrintStream(std::string_view stream, bool joinParagraphs) {
  return Reader(stream, joinParagraphs).run();
}

}  // namespace osk::print
