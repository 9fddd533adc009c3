// Per-file settings: how a document formats text (tabs, margins, wrapping), kept as defaults for new documents and
// per file in the file history and the session lines.
//
// Margins are 1-based cells, at most 1024; the indent is the first line's offset from the left margin and may be
// negative. validated() makes any eight numbers safe to hand the engine: a tab length outside 1 to 32 becomes 8,
// margins out of range come back to their defaults, and the right margin always lies to the right of the left one.
#pragma once

#include <cstdint>

namespace osk::app {

inline constexpr int32_t kMaxCells = 1024;

struct PerFileSettings {
  int32_t tabsAsSpaces = 1;
  int32_t tabLength = 8;
  int32_t indent = 0;
  int32_t leftMargin = 4;
  int32_t rightMargin = 70;
  int32_t autoMargin = 1;
  int32_t syncPanes = 0;
  int32_t wordWrap = 0;

  bool operator==(const PerFileSettings&) const = default;
};

PerFileSettings validated(PerFileSettings settings);

}  // namespace osk::app
