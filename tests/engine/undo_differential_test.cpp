// A long random series of edits, undos, redos and saves, checked after every step against a simple model: a
// vector of lines with a snapshot per undo group.
#include <gtest/gtest.h>

#include <random>

#include "editing_fixture.h"
#include "engine/reflow.h"

namespace osk::test {
namespace {

struct Model {
  struct Snapshot {
    std::vector<std::string> lines;
    std::vector<uint32_t> bits;
    int id;
  };
  std::vector<std::string> lines;
  std::vector<uint32_t> bits;   // property bits of each line
  bool insert = true;
  std::vector<Snapshot> undo, redo;
  int id = 0, nextId = 1, savedId = 0;
  int runKind = 0, runLine = 0, runColumn = 0;

  void begin() {
    undo.push_back({lines, bits, id});
    redo.clear();
    id = nextId++;
  }
  void closeRun() { runKind = 0; }
  bool continues(int kind, int line, int column) const {
    return runKind == kind && runLine == line && runColumn == column;
  }
  void startRun(int kind, int line) {
    closeRun();
    begin();
    runKind = kind;
    runLine = line;
  }
};

class UndoDifferential : public EditingTest, public ::testing::WithParamInterface<int> {};

std::string randomText(std::mt19937& rng, int maxLength) {
  static const char kChars[] = "abcdefgh  xyz";
  std::uniform_int_distribution<int> len(0, maxLength), pick(0, static_cast<int>(sizeof(kChars)) - 2);
  std::string s;
  for (int n = len(rng); n > 0; --n) s.push_back(kChars[pick(rng)]);
  return s;
}

TEST_P(UndoDifferential, MatchesTheModelAfterEveryStep) {
  const int capacity = GetParam();
  // With room for every record the model predicts undo, redo and the modified flag exactly; with a small
  // capacity old groups vanish, and the checks become: every undo lands on a state the model knew, nothing reads
  // as saved that is not, and nothing is undoable or redoable that the model does not hold.
  const bool exact = capacity >= 3000;
  const int steps = exact ? 600 : 3000;
  std::mt19937 rng(static_cast<unsigned>(capacity) * 7919u + 17u);
  Model m;
  m.lines = {"first line", "second  line here", "", "third"};
  m.bits = {0, 1, 0, 0};
  Buffer* b = make(m.lines, capacity);
  ASSERT_NE(b, nullptr);
  b->store().properties().set(2, 1);
  b->setProperty(kPropRightMargin, 24);
  TextPos at{1, 1};

  auto randomPos = [&]() {
    if (m.lines.empty()) return TextPos{1, 1};
    std::uniform_int_distribution<int> line(1, static_cast<int>(m.lines.size()));
    TextPos p{line(rng), 1};
    std::uniform_int_distribution<int> col(1, static_cast<int>(m.lines[p.line - 1].size()) + 3);
    p.column = col(rng);
    return p;
  };
  std::uniform_int_distribution<int> op(0, 99);

  for (int step = 0; step < steps; ++step) {
    const int o = op(rng);
    // Undo, redo and line operations move lines under the last position: start afresh when it left the text.
    if (at.line < 1 || at.line > static_cast<int>(m.lines.size()) || at.column < 1 || at.column > 80) at = randomPos();
    std::string what;
    if (o < 30) {  // type a character, mostly continuing where the last one ended
      if (op(rng) < 40 || m.lines.empty()) at = randomPos();
      const char c = "abcxyz  ."[op(rng) % 9];
      what = std::string("type '") + c + "' at " + std::to_string(at.line) + ":" + std::to_string(at.column);
      const TextPos before = at;
      if (m.lines.empty()) {
        m.closeRun();
        m.begin();
        m.lines.push_back("");
        m.bits.push_back(0);
        at.line = 1;
      }
      const int line = at.line, column = at.column;
      if (!m.continues(1, line, column)) m.startRun(1, line);
      std::string& s = m.lines[static_cast<std::size_t>(line - 1)];
      if (static_cast<int>(s.size()) < column - 1) s.append(static_cast<std::size_t>(column - 1) - s.size(), ' ');
      if (m.insert) {
        s.insert(static_cast<std::size_t>(column - 1), 1, c);
      } else if (static_cast<std::size_t>(column - 1) < s.size()) {
        s[static_cast<std::size_t>(column - 1)] = c;
      } else {
        s.push_back(c);
      }
      m.runColumn = column + 1;
      TextPos e = before;
      ASSERT_EQ(writeChar(*b, c, e), Status::kOk) << what;
      ASSERT_EQ(e.line, line) << what;
      ASSERT_EQ(e.column, column + 1) << what;
      at = e;
    } else if (o < 40) {  // delete forward
      if (op(rng) < 50 || m.lines.empty()) at = randomPos();
      what = "delete at " + std::to_string(at.line) + ":" + std::to_string(at.column);
      if (m.lines.empty()) {
        EXPECT_NE(deleteChar(*b, at), Status::kOk) << what;
      } else {
        const int line = at.line, column = at.column;
        const bool cont = m.continues(2, line, column);
        if (!cont) m.closeRun();
        std::string& s = m.lines[static_cast<std::size_t>(line - 1)];
        Status expect = Status::kOk;
        if (column <= static_cast<int>(s.size())) {
          if (!cont) m.startRun(2, line);
          m.runColumn = column;
          s.erase(static_cast<std::size_t>(column - 1), 1);
        } else if (line == static_cast<int>(m.lines.size())) {
          expect = Status::kLineTooLong;
        } else {
          m.closeRun();
          m.begin();
          std::string& t = m.lines[static_cast<std::size_t>(line - 1)];
          t.append(static_cast<std::size_t>(column - 1) - t.size(), ' ');
          t += m.lines[static_cast<std::size_t>(line)];
          m.lines.erase(m.lines.begin() + line);
          m.bits[static_cast<std::size_t>(line - 1)] |= m.bits[static_cast<std::size_t>(line)];
          m.bits.erase(m.bits.begin() + line);
        }
        ASSERT_EQ(deleteChar(*b, at), expect) << what;
      }
    } else if (o < 50) {  // backspace
      if (op(rng) < 50 || m.lines.empty()) at = randomPos();
      what = "backspace at " + std::to_string(at.line) + ":" + std::to_string(at.column);
      if (m.lines.empty()) {
        EXPECT_NE(backspace(*b, at), Status::kOk) << what;
      } else {
        const int line = at.line, column = at.column;
        const bool cont = m.continues(3, line, column);
        if (!cont) m.closeRun();
        std::string& s = m.lines[static_cast<std::size_t>(line - 1)];
        Status expect = Status::kOk;
        TextPos after = at;
        if (column > static_cast<int>(s.size()) + 1) {
          after.column = column - 1;   // nothing to delete: the caret steps back
        } else if (column >= 2) {
          if (!cont) m.startRun(3, line);
          s.erase(static_cast<std::size_t>(column - 2), 1);
          m.runColumn = column - 1;
          after.column = column - 1;
        } else if (line == 1) {
          expect = Status::kLineTooLong;
        } else {
          m.closeRun();
          m.begin();
          std::string& prev = m.lines[static_cast<std::size_t>(line - 2)];
          after = TextPos{line - 1, static_cast<int>(prev.size()) + 1};
          prev += m.lines[static_cast<std::size_t>(line - 1)];
          m.lines.erase(m.lines.begin() + line - 1);
          m.bits[static_cast<std::size_t>(line - 2)] |= m.bits[static_cast<std::size_t>(line - 1)];
          m.bits.erase(m.bits.begin() + line - 1);
        }
        ASSERT_EQ(backspace(*b, at), expect) << what;
        if (expect == Status::kOk) {
          ASSERT_EQ(at, after) << what;
        }
      }
    } else if (o < 57) {  // new line
      if (op(rng) < 50 || m.lines.empty()) at = randomPos();
      what = "new line at " + std::to_string(at.line) + ":" + std::to_string(at.column);
      m.closeRun();
      if (m.lines.empty()) {
        m.begin();
        m.lines.push_back("");
        m.bits.push_back(0);
        at.line = 1;
      }
      const int line = at.line, column = at.column;
      if (!m.insert) {
        ASSERT_EQ(newLine(*b, at), Status::kOk) << what;
        const int count = static_cast<int>(m.lines.size());
        ASSERT_EQ(at, (line < count ? TextPos{line + 1, 1} : TextPos{line, 1})) << what;
      } else {
        m.begin();
        std::string s = m.lines[static_cast<std::size_t>(line - 1)];
        if (column == 1) {
          m.lines.insert(m.lines.begin() + line - 1, "");
          m.bits.insert(m.bits.begin() + line - 1, 0);
        } else if (column >= static_cast<int>(s.size()) + 1) {
          m.lines.insert(m.lines.begin() + line, "");
          m.bits.insert(m.bits.begin() + line, 0);
        } else {
          m.lines[static_cast<std::size_t>(line - 1)] = s.substr(0, static_cast<std::size_t>(column - 1));
          m.lines.insert(m.lines.begin() + line, s.substr(static_cast<std::size_t>(column - 1)));
          m.bits.insert(m.bits.begin() + line, 0);
        }
        ASSERT_EQ(newLine(*b, at), Status::kOk) << what;
        ASSERT_EQ(at, (TextPos{line + 1, 1})) << what;
      }
    } else if (o < 62) {  // insert a line
      std::uniform_int_distribution<int> after(0, static_cast<int>(m.lines.size()));
      const int a = after(rng);
      const std::string t = randomText(rng, 30);
      what = "insert line after " + std::to_string(a);
      m.closeRun();
      m.begin();
      m.lines.insert(m.lines.begin() + a, t);
      m.bits.insert(m.bits.begin() + a, 0);
      ASSERT_EQ(insertLine(*b, a, t.c_str(), at), Status::kOk) << what;
    } else if (o < 67) {  // delete lines
      if (m.lines.empty()) continue;
      std::uniform_int_distribution<int> first(1, static_cast<int>(m.lines.size())), count(1, 4);
      const int f = first(rng);
      const int n = std::min(count(rng), static_cast<int>(m.lines.size()) - f + 1);
      what = "delete " + std::to_string(n) + " lines from " + std::to_string(f);
      m.closeRun();
      m.begin();
      m.lines.erase(m.lines.begin() + f - 1, m.lines.begin() + f - 1 + n);
      m.bits.erase(m.bits.begin() + f - 1, m.bits.begin() + f - 1 + n);
      ASSERT_EQ(deleteLines(*b, f, n, at), Status::kOk) << what;
    } else if (o < 71) {  // replace a line
      if (m.lines.empty()) continue;
      std::uniform_int_distribution<int> line(1, static_cast<int>(m.lines.size()));
      const int l = line(rng);
      const std::string t = randomText(rng, 30);
      what = "replace line " + std::to_string(l);
      m.closeRun();
      m.begin();
      m.lines[static_cast<std::size_t>(l - 1)] = t;
      m.bits[static_cast<std::size_t>(l - 1)] &= 0xFFFFu;
      ASSERT_EQ(replaceLine(*b, l, t.c_str()), Status::kOk) << what;
    } else if (o < 73) {  // join a line with the next
      if (m.lines.size() < 2) continue;
      std::uniform_int_distribution<int> line(1, static_cast<int>(m.lines.size()) - 1);
      const int l = line(rng);
      what = "join line " + std::to_string(l);
      m.closeRun();
      m.begin();
      m.lines[static_cast<std::size_t>(l - 1)] += m.lines[static_cast<std::size_t>(l)];
      m.lines.erase(m.lines.begin() + l);
      m.bits[static_cast<std::size_t>(l - 1)] |= m.bits[static_cast<std::size_t>(l)];
      m.bits.erase(m.bits.begin() + l);
      ASSERT_EQ(joinLine(*b, l), Status::kOk) << what;
    } else if (o < 76) {  // reflow everything: the model takes the result, and undo must restore what it had
      if (m.lines.empty()) continue;
      what = "reflow";
      m.closeRun();
      const std::vector<std::string> before = m.lines;
      TextPos p = at;
      ASSERT_EQ(reflow(*b, ReflowMode::kExplicit, 1, b->lineCount(), p), Status::kOk) << what;
      if (text(b) != before) {
        m.begin();
        m.lines = text(b);
        m.bits.assign(m.lines.size(), 0);
        for (int32_t i = 1; i <= b->lineCount(); ++i) m.bits[static_cast<std::size_t>(i - 1)] = b->store().properties().get(i);
      }
    } else if (o < 88) {  // undo
      what = "undo";
      m.closeRun();
      TextPos p;
      const Status s = b->undo(p);
      if (s == Status::kOk) {
        ASSERT_FALSE(m.undo.empty()) << "the engine undid a group the model does not know, step " << step;
        m.redo.push_back({m.lines, m.bits, m.id});
        m.lines = m.undo.back().lines;
        m.bits = m.undo.back().bits;
        m.id = m.undo.back().id;
        m.undo.pop_back();
      } else {
        if (exact) ASSERT_TRUE(m.undo.empty()) << "undo failed with history left, step " << step;
        m.undo.clear();
      }
    } else if (o < 96) {  // redo
      what = "redo";
      m.closeRun();
      TextPos p;
      const Status s = b->redo(p);
      if (s == Status::kOk) {
        ASSERT_FALSE(m.redo.empty()) << "the engine redid a group the model does not know, step " << step;
        m.undo.push_back({m.lines, m.bits, m.id});
        m.lines = m.redo.back().lines;
        m.bits = m.redo.back().bits;
        m.id = m.redo.back().id;
        m.redo.pop_back();
      } else {
        if (exact) ASSERT_TRUE(m.redo.empty()) << "redo failed with redo records left, step " << step;
        m.redo.clear();
      }
    } else if (o < 98) {  // toggle a bookmark, or a bit above the low 16 that replacing a line drops
      if (m.lines.empty()) continue;
      std::uniform_int_distribution<int> line(1, static_cast<int>(m.lines.size()));
      const int l = line(rng);
      const uint32_t bit = op(rng) < 70 ? 1u : 0x10000u;
      what = "toggle bit on line " + std::to_string(l);
      m.closeRun();
      m.begin();
      const bool on = (m.bits[static_cast<std::size_t>(l - 1)] & bit) != 0;
      m.bits[static_cast<std::size_t>(l - 1)] ^= bit;
      ASSERT_EQ(changeLineBits(*b, l, on ? 0 : bit, on ? bit : 0), Status::kOk) << what;
    } else if (o < 99) {  // save, or switch between insert and overwrite
      m.closeRun();
      if (op(rng) < 25) {
        what = "insert mode";
        m.insert = !m.insert;
        b->setProperty(kPropInsertMode, m.insert ? 1 : 0);
      } else {
        what = "save";
        ASSERT_EQ(b->save(nullptr, nullptr, false), 0);
        m.savedId = m.id;
      }
    } else {  // finalise
      what = "finalise";
      m.closeRun();
      ASSERT_EQ(b->finalise(), 0);
      m.undo.clear();
      m.redo.clear();
    }

    ASSERT_EQ(text(b), m.lines) << "after " << what << ", step " << step;
    for (int32_t i = 1; i <= b->lineCount(); ++i) {
      ASSERT_EQ(b->store().properties().get(i), m.bits[static_cast<std::size_t>(i - 1)])
          << "bits of line " << i << " after " << what << ", step " << step;
    }
    ASSERT_EQ(b->store().properties().next(b->lineCount(), 0xFFFFFFFFu), 0) << "bits beyond the text";
    const bool modelModified = m.id != m.savedId;
    if (exact) {
      ASSERT_EQ(b->modified(), modelModified) << "after " << what << ", step " << step;
      ASSERT_EQ(canUndo(b), !m.undo.empty()) << "after " << what << ", step " << step;
      ASSERT_EQ(canRedo(b), !m.redo.empty()) << "after " << what << ", step " << step;
    } else {
      if (modelModified) ASSERT_TRUE(b->modified()) << "a change reads as saved after " << what << ", step " << step;
      if (canUndo(b)) ASSERT_FALSE(m.undo.empty()) << "after " << what << ", step " << step;
      if (canRedo(b)) ASSERT_FALSE(m.redo.empty()) << "after " << what << ", step " << step;
    }
    ASSERT_TRUE(b->store().selfCheck());
  }
}

INSTANTIATE_TEST_SUITE_P(Capacities, UndoDifferential, ::testing::Values(3, 5, 12, 40, 3275, 3276));

}  // namespace
}  // namespace osk::test
