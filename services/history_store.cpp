#include "services/history_store.h"

namespace osk {
namespace {

std::string sectionName(int32_t n) { return "ExtHistory " + std::to_string(n); }
std::string stringKey(int32_t i) { return "Str " + std::to_string(i); }

bool savable(const std::string& s) { return s.find_first_of("\r\n") == std::string::npos; }

// A settings file is finite, but a damaged one must not keep the loader busy for long.
constexpr int32_t kMaxSections = 4096;

}  // namespace

void CHistoryStore::add(std::string_view s, uint16_t id) {
  CHistoryElement* h = const_cast<CHistoryElement*>(find(id));
  if (!h) h = histories_.append(new CHistoryElement(id));
  int32_t i = 0;
  while (i < h->count && h->slots[i] != s) ++i;
  if (i == CHistoryElement::kSlots) i = CHistoryElement::kSlots - 1;   // full: the oldest goes
  for (int32_t k = i; k > 0; --k) h->slots[k] = std::move(h->slots[k - 1]);
  h->slots[0] = std::string(s);
  if (i == h->count) ++h->count;
}

const CHistoryElement* CHistoryStore::find(uint16_t id) const {
  for (const CHistoryElement& h : histories_)
    if (h.id == id) return &h;
  return nullptr;
}

std::vector<std::string> CHistoryStore::strings(uint16_t id) const {
  std::vector<std::string> v;
  if (const CHistoryElement* h = find(id)) v.assign(h->slots, h->slots + h->count);
  return v;
}

std::optional<std::string> CHistoryStore::top(uint16_t id) const {
  const CHistoryElement* h = find(id);
  if (!h || h->count == 0) return std::nullopt;
  return h->slots[0];
}

void CHistoryStore::load(SettingsStore& settings) {
  clear();
  for (int32_t n = 0; n < kMaxSections; ++n) {
    const std::string section = sectionName(n);
    const int32_t id = settings.readInt(section, "HistId", 0);
    const int32_t count = settings.readInt(section, "NumHist", 0);
    if (id <= 0 || id > 0xFFFF || count <= 0) break;
    // Only the newest 16 strings can survive the adding, so older keys are not even read.
    const int32_t first = count > CHistoryElement::kSlots ? count - CHistoryElement::kSlots : 0;
    for (int32_t i = first; i < count; ++i)
      add(settings.readString(section, stringKey(i), "", kMaxStoredString), static_cast<uint16_t>(id));
  }
}

void CHistoryStore::save(SettingsStore& settings) const {
  int32_t n = 0;
  for (const CHistoryElement& h : histories_) {
    int32_t saved = 0;
    const std::string section = sectionName(n);
    for (int32_t slot = h.count - 1; slot >= 0; --slot) {
      if (!savable(h.slots[slot])) continue;
      settings.writeString(section, stringKey(saved++), profileQuoted(h.slots[slot]));
    }
    if (saved == 0) continue;   // an empty section would end the list for the histories after it
    settings.writeString(section, "HistId", std::to_string(h.id));
    settings.writeString(section, "NumHist", std::to_string(saved));
    ++n;
  }
  // Sections of an earlier, larger save would otherwise be read back as histories.
  for (int32_t stale = n; stale < kMaxSections && settings.readInt(sectionName(stale), "HistId", 0) != 0; ++stale)
    settings.removeSection(sectionName(stale));
}

}  // namespace osk
