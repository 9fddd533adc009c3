// A writable buffer of the engine for editing tests, with helpers to read its text and state.
#pragma once

#include <string>
#include <vector>

#include "engine/buffer.h"
#include "engine/editing.h"
#include "engine/engine_context.h"
#include "engine_fixture.h"

namespace osk::test {

class EditingTest : public EngineTest {
 protected:
  // A new named buffer (not read from disk) holding `lines`, saved state, with the given undo capacity.
  Buffer* make(const std::vector<std::string>& lines, int32_t capacity = 100, int32_t tab = 8,
               const std::string& name = "text.txt") {
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(path(name), 0, &h, capacity, tab), 0);
    Buffer* b = Engine::instance().find(h);
    if (b == nullptr) return nullptr;
    std::vector<std::string_view> views(lines.begin(), lines.end());
    if (!views.empty()) b->store().insertLines(0, views);
    b->setModified(false);
    notices().clear();
    return b;
  }

  static std::vector<std::string> text(Buffer* b) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= b->lineCount(); ++i) out.emplace_back(b->store().peekLine(i));
    return out;
  }

  static int countNotices(uint32_t code) {
    int n = 0;
    for (const Notice& x : notices()) n += x.code == code ? 1 : 0;
    return n;
  }

  static bool canUndo(Buffer* b) { return b->property(kPropUndoPossible) == 1; }
  static bool canRedo(Buffer* b) { return b->property(kPropRedoPossible) == 1; }

  static Status type(Buffer* b, const std::string& s, TextPos& at) { return writeString(*b, s, at); }
  static Status undo(Buffer* b) {
    TextPos at;
    return b->undo(at);
  }
  static Status redo(Buffer* b) {
    TextPos at;
    return b->redo(at);
  }
};

}  // namespace osk::test
