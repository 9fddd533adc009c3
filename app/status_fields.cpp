#include "app/status_fields.h"

#include <algorithm>
#include <cstdio>

namespace osk::app {

TypingMode StatusFields::mode() const {
  if (!document) return TypingMode::kNone;
  if (readOnly) return TypingMode::kReadOnly;
  return insert ? TypingMode::kInsert : TypingMode::kOverwrite;
}

std::string lineFieldText(const StatusFields& fields) {
  if (!fields.document) return {};
  char text[32];
  std::snprintf(text, sizeof text, "Line: %lu", static_cast<unsigned long>(fields.line));
  return text;
}

std::string columnFieldText(const StatusFields& fields) {
  if (!fields.document) return {};
  char text[32];
  std::snprintf(text, sizeof text, "Col: %u", static_cast<unsigned>(fields.column));
  return text;
}

std::string modeFieldText(const StatusFields& fields) {
  switch (fields.mode()) {
    case TypingMode::kInsert: return "INS";
    case TypingMode::kOverwrite: return "OVR";
    case TypingMode::kReadOnly: return "R/O";
    case TypingMode::kNone: break;
  }
  return {};
}

uint8_t fieldsToRedraw(const StatusFields& before, const StatusFields& after) {
  uint8_t fields = 0;
  if (lineFieldText(before) != lineFieldText(after)) fields |= kLineField;
  if (columnFieldText(before) != columnFieldText(after)) fields |= kColumnField;
  if (before.mode() != after.mode()) fields |= kModeField;
  return fields;
}

StatusLayout layOutStatusFields(int barWidth, const TextWidth& width) {
  StatusLayout layout;
  int x = kFieldGap;
  const auto place = [&x](int fieldWidth) {
    const FieldSpan span{x, x + fieldWidth};
    x = span.right + kFieldGap;
    return span;
  };
  // The widest contents each field is made for: eight-digit line numbers, four-digit columns.
  layout.line = place(width("Line: 99999999") + 11);
  layout.column = place(width("Col: 9999") + 6);
  layout.mode = place(width("OVR") + 6);
  layout.message = FieldSpan{x, std::max(x, barWidth - kFieldGap)};
  return layout;
}

int statusFontHeight(int screenHeight) {
  if (screenHeight >= 768) return 15;
  if (screenHeight >= 600) return 13;
  return 11;
}

int statusBarHeightFor(int measuredTextHeight, int fontHeight) { return std::max(measuredTextHeight, fontHeight) + 8; }

unsigned GaugeProgress::percent() const {
  if (end_ <= start_) return 100;
  if (value_ <= start_) return 0;
  if (value_ >= end_) return 100;
  // At most 2^33 steps times 100: far inside 64 bits.
  return static_cast<unsigned>((value_ - start_) * 100 / (end_ - start_));
}

bool GaugeProgress::update(uint32_t value) {
  setValue(value);
  return refresh();
}

bool GaugeProgress::refresh() {
  const auto now = static_cast<uint8_t>(percent());
  if (now == shown_) return false;
  shown_ = now;
  return true;
}

std::string gaugeText(std::string_view caption, unsigned percent) {
  char number[16];
  std::snprintf(number, sizeof number, "%u%%", percent);
  if (caption.empty()) return number;
  std::string text(caption);
  text += ' ';
  text += number;
  return text;
}

}  // namespace osk::app
