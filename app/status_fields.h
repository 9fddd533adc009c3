// What the status bar shows and where: the texts of the line, column and mode fields, their layout across the
// bar, the font and bar height, which fields a change redraws, and the progress gauge's share and text.
//
// Nothing here draws; the window side measures texts with the bar's font through the function it passes in.
// Line and column are shown as unsigned numbers; without a document every field but the message is empty.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace osk::app {

// The typing mode of the active document: none without a document, read-only before insert and overwrite.
enum class TypingMode : uint8_t { kNone = 0, kInsert = 1, kOverwrite = 2, kReadOnly = 3 };

struct StatusFields {
  bool document = false;   // a document window is active
  uint32_t line = 0;
  uint32_t column = 0;
  bool insert = true;
  bool readOnly = false;

  TypingMode mode() const;
  bool operator==(const StatusFields&) const = default;
};

std::string lineFieldText(const StatusFields& fields);     // "Line: 12", or empty without a document
std::string columnFieldText(const StatusFields& fields);   // "Col: 7", or empty without a document
std::string modeFieldText(const StatusFields& fields);     // "INS", "OVR", "R/O" or empty

// Which fields need drawing again, as a set of these bits.
enum StatusField : uint8_t { kLineField = 1, kColumnField = 2, kModeField = 4, kMessageField = 8 };
// Only the fields whose shown text changes from `before` to `after`.
uint8_t fieldsToRedraw(const StatusFields& before, const StatusFields& after);

// A field's horizontal extent in the bar's client pixels, right edge excluded.
struct FieldSpan {
  int left = 0;
  int right = 0;
  bool operator==(const FieldSpan&) const = default;
};
struct StatusLayout {
  FieldSpan line, column, mode, message;
};
using TextWidth = std::function<int(std::string_view)>;
inline constexpr int kFieldGap = 5;   // between fields, and before the first
// Line, column and mode are sized for their widest content; the message takes the rest up to a right margin of the
// same gap. A bar too narrow for them all gets an empty message field, never a negative one.
StatusLayout layOutStatusFields(int barWidth, const TextWidth& width);

// The font's character height for the screen's height: 15 from 768 pixels up, 13 from 600, else 11.
int statusFontHeight(int screenHeight);
// The bar's height from the measured text height and the font's height.
int statusBarHeightFor(int measuredTextHeight, int fontHeight);

// The progress of one long operation: the value it counts from, the value it ends at and where it stands. The end
// is held in 64 bits so that a start near the 32-bit top plus a count of several gigabytes does not wrap; values
// below the start count as nothing done and values beyond the end as all done.
class GaugeProgress {
 public:
  static constexpr uint8_t kNothingDrawn = 255;

  explicit GaugeProgress(uint32_t start = 0) : start_(start), end_(start), value_(start) {}
  // The end is the start plus the number of steps the operation expects.
  void setCount(uint32_t count) { end_ = start_ + count; }
  uint64_t start() const { return start_; }
  uint64_t end() const { return end_; }

  // 0 to 100; 100 at once when end and start are equal.
  unsigned percent() const;
  // Takes the new value; true when the percentage differs from the one last shown, which then counts as shown:
  // the gauge is drawn again only then.
  bool update(uint32_t value);
  // Takes the new value without deciding on a drawing (a caller that paces its drawings calls refresh() when due).
  void setValue(uint32_t value) { value_ = value; }
  // As update() without a new value: true once after a start or a new count.
  bool refresh();
  // The percentage last shown, kNothingDrawn before the first.
  uint8_t shown() const { return shown_; }

 private:
  uint64_t start_;
  uint64_t end_;
  uint64_t value_;
  uint8_t shown_ = kNothingDrawn;
};

// "42%", or "Saving (Esc to abort) 42%" with a caption.
std::string gaugeText(std::string_view caption, unsigned percent);

}  // namespace osk::app
