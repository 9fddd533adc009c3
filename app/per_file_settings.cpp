#include "app/per_file_settings.h"

namespace osk::app {
namespace {

int32_t flag(int32_t v) { return v != 0 ? 1 : 0; }

}  // namespace

PerFileSettings validated(PerFileSettings s) {
  s.tabsAsSpaces = flag(s.tabsAsSpaces);
  s.autoMargin = flag(s.autoMargin);
  s.syncPanes = flag(s.syncPanes);
  s.wordWrap = flag(s.wordWrap);
  // A tab length of 0 or less would divide by zero wherever tab stops are computed.
  if (s.tabLength > 32 || s.tabLength < 1) s.tabLength = 8;
  // Values the engine cannot hold at all come back to their defaults before the usual checks, which assume
  // margins inside the line and an indent that cannot overflow when added to them.
  if (s.leftMargin < 1 || s.leftMargin > kMaxCells) s.leftMargin = 4;
  if (s.rightMargin > kMaxCells) s.rightMargin = 70;
  if (s.indent < -kMaxCells || s.indent > kMaxCells) s.indent = 0;

  if (s.autoMargin == 0) {
    if (s.rightMargin < 8 - s.indent || s.rightMargin < s.indent + 8) {
      s.indent = 0;
      s.rightMargin = 70;
    }
    // The right margin is now at least 8, so the default left margin always fits.
    if (s.rightMargin < s.leftMargin) s.leftMargin = 4;
  } else {
    if (s.rightMargin > kMaxCells || s.rightMargin < 8) s.rightMargin = 70;
    if (s.rightMargin < s.leftMargin || s.rightMargin < 1) s.leftMargin = 4;
    if (s.rightMargin < s.leftMargin + s.indent || s.leftMargin + s.indent < 1) s.indent = 0;
  }
  return s;
}

}  // namespace osk::app
