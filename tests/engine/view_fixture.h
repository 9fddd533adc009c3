// Editor windows without a platform: fake records that log what the window would do, wired into the engine as
// the window layer wires real ones, so that buffer notices, owner notifications and the current target can be
// followed natively.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/buffer.h"
#include "engine/edit_api.h"
#include "engine/editor_record.h"
#include "engine/engine_context.h"
#include "engine_fixture.h"

namespace osk::test {

struct OwnerNote {
  OskWindow window;
  uint32_t code;
  uintptr_t wParam;
  intptr_t lParam;
  int32_t caret[2];   // for 1124: the reported line and cell
};

class FakeRecord final : public EditorRecord {
 public:
  FakeRecord(OskWindow window, std::vector<OwnerNote>& notes) : EditorRecord(window), notes_(notes) {
    view.setMetrics(8, 16);
  }
  intptr_t notifyOwner(uint32_t code, uintptr_t wParam, intptr_t lParam) override {
    OwnerNote n{window(), code, wParam, lParam, {0, 0}};
    if (code == ECDN_CARET && lParam != 0) {
      n.caret[0] = reinterpret_cast<const int32_t*>(lParam)[0];
      n.caret[1] = reinterpret_cast<const int32_t*>(lParam)[1];
    }
    notes_.push_back(n);
    return 0;
  }
  void moveCaret(int32_t x, int32_t y) override {
    caretX = x;
    caretY = y;
  }
  void invalidate(const PixelRect* rect) override {
    if (rect == nullptr) {
      ++wholeRepaints;
    } else {
      rects.push_back(*rect);
    }
  }
  bool focused() const override { return hasFocus; }
  void refreshScrollBars() override {}
  void paintNow() override { ++paints; }
  void clientSize(int32_t& w, int32_t& h) const override {
    w = width;
    h = height;
  }
  bool moveContents(int32_t dx, int32_t dy) override {
    moves.push_back({dx, dy});
    return true;
  }

  int32_t width = 808;    // 100 cells of 8 pixels plus a one-cell gutter
  int32_t height = 320;   // 20 lines of 16 pixels
  bool hasFocus = false;
  int32_t caretX = 0, caretY = 0;
  int32_t wholeRepaints = 0;
  int32_t paints = 0;
  std::vector<PixelRect> rects;
  std::vector<std::pair<int32_t, int32_t>> moves;

 private:
  std::vector<OwnerNote>& notes_;
};

class ViewTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    self() = this;
    Engine& e = Engine::instance();
    e.noticeSender = deliver;
    e.recordOf = find;
  }
  void TearDown() override {
    for (auto& [w, r] : records_) {
      if (r->buffer != nullptr) r->detach();
    }
    EngineTest::TearDown();
    self() = nullptr;
  }

  FakeRecord& newWindow() {
    auto w = reinterpret_cast<OskWindow>(static_cast<uintptr_t>(0x1000 + 0x10 * records_.size()));
    auto& slot = records_[w];
    slot = std::make_unique<FakeRecord>(w, notes);
    return *slot;
  }
  void destroy(FakeRecord& r) {
    r.detach();
    records_.erase(r.window());
  }

  Buffer* buffer(HEDBUFFER h) { return Engine::instance().find(h); }

  // A buffer holding `lines` (separated by \n), shown in a new window that becomes the current target.
  FakeRecord& showing(const std::string& text, HEDBUFFER* out = nullptr, int32_t tab = 8) {
    const std::string file = write("text.txt", text);
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(file, ECD_OPEN_READ, &h, 100, tab), 0);
    FakeRecord& r = newWindow();
    r.attach(buffer(h), ECD_OPEN_VSCROLL);
    EXPECT_EQ(SetCurEdWindow(r.window()), 1);
    notes.clear();
    if (out != nullptr) *out = h;
    return r;
  }

  int count(uint32_t code, OskWindow window = nullptr) const {
    int n = 0;
    for (const OwnerNote& note : notes) n += note.code == code && (window == nullptr || note.window == window);
    return n;
  }

  std::string line(int32_t n) {
    char text[1025] = {};
    EXPECT_EQ(GetLine(n, text), 1);
    return text;
  }

  std::vector<OwnerNote> notes;

 private:
  static ViewTest*& self() {
    static ViewTest* current = nullptr;
    return current;
  }
  static intptr_t deliver(OskWindow window, uint32_t code, uintptr_t wParam, intptr_t lParam) {
    EditorRecord* r = find(window);
    if (r != nullptr) r->serveNotice(code, wParam, lParam);
    return 0;
  }
  static EditorRecord* find(OskWindow window) {
    if (self() == nullptr) return nullptr;
    auto it = self()->records_.find(window);
    return it != self()->records_.end() ? it->second.get() : nullptr;
  }

  std::map<OskWindow, std::unique_ptr<FakeRecord>> records_;
};

}  // namespace osk::test
