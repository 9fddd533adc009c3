// CHistoryStore: the remembered strings of dialog fields, as numbered most-recent-first lists of at most 16.
//
// A string added again moves to the top instead of appearing twice; a 17th distinct string drops the oldest.
// Histories are created by their first string and kept in creation order. Saved to the settings file as sections
// "ExtHistory 0", "ExtHistory 1" ... with the oldest string first, and read back in that order. Loading stops at the
// first section without an identifier or count, reads at most the 16 newest strings of a section whatever count it
// claims, and a save removes the sections an earlier, larger save left behind. Strings come back exactly as they
// were saved, blanks and quotes included; strings with line breaks cannot be held by the file and are not saved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/config/list_base.h"
#include "services/settings_store.h"

namespace osk {

class CHistoryElement : public CListElement {
 public:
  static constexpr int32_t kSlots = 16;
  explicit CHistoryElement(uint16_t id) : id(id) {}
  uint16_t id;
  int32_t count = 0;
  std::string slots[kSlots];   // slot 0 is the most recent
};

class CHistoryStore {
 public:
  // Strings read from the settings file are cut to this length.
  static constexpr size_t kMaxStoredString = 1024;

  void add(std::string_view s, uint16_t id);
  const CHistoryElement* find(uint16_t id) const;
  // The strings of a history, most recent first; empty when there is none.
  std::vector<std::string> strings(uint16_t id) const;
  std::optional<std::string> top(uint16_t id) const;
  int32_t historyCount() const { return histories_.count(); }
  void clear() { histories_.clear(); }

  void load(SettingsStore& settings);
  void save(SettingsStore& settings) const;

 private:
  CList<CHistoryElement> histories_;
};

}  // namespace osk
