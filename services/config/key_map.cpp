#include "services/config/key_map.h"

#include <array>

namespace osk {
namespace {

constexpr EventContextInfo kContexts[] = {
    {kContextNone, "None", true, true},
    {kContextEditor, "Focus on Editor Window", false, true},
    {kContextOpenBar, "Focus on Open Bar", false, true},
    {kContextMarkedEditor, "Focus on Marked Editor Window", false, true},
    {kContextMouseEditor, "Mouse Over Editor Window", true, false},
    {kContextMouseOpenBar, "Mouse Over Open Bar", true, false},
    {kContextMouseToolBar, "Mouse Over Tool Bar", true, false},
    {kContextMouseMarkedText, "Mouse Over Marked Text", true, false},
    {kContextMouseMargin, "Mouse Over Editor Window Margin", true, false},
    {kContextMouseUnmarkedText, "Mouse Over Unmarked Text", true, false},
    {kContextPrintPreview, "Print Preview", true, true},
};

constexpr std::array<KeyNameInfo, 108> makeKeyNames() {
  std::array<KeyNameInfo, 108> t{};
  size_t n = 0;
  constexpr const char* digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int i = 0; i < 10; ++i) t[n++] = {static_cast<uint8_t>(0x30 + i), digits[i], false, false};
  constexpr const char* letters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                     "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
  for (int i = 0; i < 26; ++i) t[n++] = {static_cast<uint8_t>(0x41 + i), letters[i], false, false};
  t[n++] = {0x08, "Back", true, true};
  t[n++] = {0x09, "Tab", true, true};
  t[n++] = {0x0C, "Clear", true, true};
  t[n++] = {0x0D, "Enter", true, true};
  t[n++] = {0x03, "Cancel", true, true};
  t[n++] = {0x13, "Pause", true, true};
  t[n++] = {0x1B, "Esc", true, true};
  t[n++] = {0x20, "Space", false, true};
  t[n++] = {0x21, "PgUp", true, true};
  t[n++] = {0x22, "PgDown", true, true};
  t[n++] = {0x23, "End", true, true};
  t[n++] = {0x24, "Home", true, true};
  t[n++] = {0x25, "Arrow Left", true, true};
  t[n++] = {0x26, "Arrow Up", true, true};
  t[n++] = {0x27, "Arrow Right", true, true};
  t[n++] = {0x28, "Arrow Down", true, true};
  t[n++] = {0x29, "Select", true, true};
  t[n++] = {0x2A, "Print", true, true};
  t[n++] = {0x2B, "Execute", true, true};
  t[n++] = {0x2D, "Insert", true, true};
  t[n++] = {0x2E, "Delete", true, true};
  t[n++] = {0x2F, "Help", true, true};
  constexpr const char* numpad[] = {"Numpad 0", "Numpad 1", "Numpad 2", "Numpad 3", "Numpad 4",
                                    "Numpad 5", "Numpad 6", "Numpad 7", "Numpad 8", "Numpad 9"};
  for (int i = 0; i < 10; ++i) t[n++] = {static_cast<uint8_t>(0x60 + i), numpad[i], true, true};
  t[n++] = {0x6A, "Numpad *", true, true};
  t[n++] = {0x6B, "Numpad +", true, true};
  t[n++] = {0x6C, "Numpad enter", true, true};
  t[n++] = {0x6D, "Numpad -", true, true};
  t[n++] = {0x6E, "Numpad .", true, true};
  t[n++] = {0x6F, "Numpad /", true, true};
  t[n++] = {0x70, "F1", false, true};
  constexpr const char* fkeys[] = {"F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12", "F13",
                                   "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
  for (int i = 0; i < 23; ++i) t[n++] = {static_cast<uint8_t>(0x71 + i), fkeys[i], true, true};
  t[n++] = {240, "Left Mouse Down", true, true};
  t[n++] = {241, "Left Mouse Up", true, true};
  t[n++] = {242, "Right Mouse Down", true, true};
  t[n++] = {243, "Right Mouse Up", true, true};
  t[n++] = {244, "Middle Mouse Down", true, true};
  t[n++] = {245, "Middle Mouse Up", true, true};
  t[n++] = {246, "Mouse Move", true, true};
  t[n++] = {247, "Left Mouse Dlb Click", true, true};
  t[n++] = {248, "Right Mouse Dlb Click", true, true};
  t[n++] = {249, "Mid Mouse Dlb Click", true, true};
  return t;
}

constexpr auto kKeyNames = makeKeyNames();
static_assert(kKeyNames[107].code == 249, "key name table is complete");

const KeyNameInfo* findKeyName(int code) {
  for (const KeyNameInfo& k : kKeyNames)
    if (k.code == code) return &k;
  return nullptr;
}

std::string modifierPrefix(uint16_t word) {
  std::string s;
  if (word & kKeyAlt) s += "Alt+";
  if (word & kKeyCtrl) s += "Ctrl+";
  if (word & kKeyShift) s += "Shift+";
  return s;
}

}  // namespace

uint16_t makeKeyWord(uint16_t previous, int code, bool shift, bool ctrl, bool alt) {
  uint16_t w = static_cast<uint16_t>(previous & ~kKeyWordMask);
  w |= static_cast<uint16_t>((code & 0xFF) << 3);
  if (shift) w |= kKeyShift;
  if (ctrl) w |= kKeyCtrl;
  if (alt) w |= kKeyAlt;
  return w;
}

std::span<const EventContextInfo> eventContexts() { return kContexts; }

const char* eventContextName(uint16_t value) {
  for (const EventContextInfo& c : kContexts)
    if (c.value == value) return c.name;
  return nullptr;
}

std::optional<uint16_t> eventContextValue(std::string_view name) {
  for (const EventContextInfo& c : kContexts)
    if (name == c.name) return c.value;
  return std::nullopt;
}

int mouseEventFromMessage(uint32_t message) {
  switch (message) {
    case 0x0201: return kMouseLeftDown;           // WM_LBUTTONDOWN
    case 0x0202: return kMouseLeftUp;             // WM_LBUTTONUP
    case 0x0204: return kMouseRightDown;          // WM_RBUTTONDOWN
    case 0x0205: return kMouseRightUp;            // WM_RBUTTONUP
    case 0x0207: return kMouseMiddleDown;         // WM_MBUTTONDOWN
    case 0x0208: return kMouseMiddleUp;           // WM_MBUTTONUP
    case 0x0200: return kMouseMove;               // WM_MOUSEMOVE
    case 0x0203: return kMouseLeftDoubleClick;    // WM_LBUTTONDBLCLK
    case 0x0206: return kMouseRightDoubleClick;   // WM_RBUTTONDBLCLK
    case 0x0209: return kMouseMiddleDoubleClick;  // WM_MBUTTONDBLCLK
    default: return 0;
  }
}

std::span<const KeyNameInfo> keyNameTable() { return kKeyNames; }

int usKeyboardChar(int vk) {
  switch (vk) {
    case 0xBA: return ';';
    case 0xBB: return '=';
    case 0xBC: return ',';
    case 0xBD: return '-';
    case 0xBE: return '.';
    case 0xBF: return '/';
    case 0xC0: return '`';
    case 0xDB: return '[';
    case 0xDC: return '\\';
    case 0xDD: return ']';
    case 0xDE: return '\'';
    default: break;
  }
  if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A)) return vk;
  return 0;
}

std::optional<std::string> formatKeyName(uint16_t word, KeyCharMapper mapper) {
  const int code = keyCodeOf(word);
  const bool withCtrlOrAlt = (word & (kKeyCtrl | kKeyAlt)) != 0;
  if (const KeyNameInfo* k = findKeyName(code)) {
    if (!withCtrlOrAlt) {
      const bool bindable = (word & kKeyShift) ? k->shiftAlone : k->plain;
      if (!bindable) return std::nullopt;
    }
    return modifierPrefix(word) + k->name;
  }
  if (!withCtrlOrAlt || !mapper) return std::nullopt;
  const int ch = mapper(code);
  // Characters above 126 would not survive the single-byte name unambiguously.
  if (ch < 33 || ch > 126) return std::nullopt;
  return modifierPrefix(word) + static_cast<char>(ch);
}

std::optional<uint16_t> parseKeyName(std::string_view name, KeyCharMapper mapper) {
  uint16_t mods = 0;
  for (;;) {
    if (name.starts_with("Alt+") && !(mods & (kKeyAlt | kKeyCtrl | kKeyShift)) && name.size() > 4) {
      mods |= kKeyAlt;
      name.remove_prefix(4);
    } else if (name.starts_with("Ctrl+") && !(mods & (kKeyCtrl | kKeyShift)) && name.size() > 5) {
      mods |= kKeyCtrl;
      name.remove_prefix(5);
    } else if (name.starts_with("Shift+") && !(mods & kKeyShift) && name.size() > 6) {
      mods |= kKeyShift;
      name.remove_prefix(6);
    } else {
      break;
    }
  }
  std::optional<uint16_t> word;
  for (const KeyNameInfo& k : kKeyNames)
    if (name == k.name) {
      word = makeKeyWord(0, k.code, mods & kKeyShift, mods & kKeyCtrl, mods & kKeyAlt);
      break;
    }
  if (!word && name.size() == 1 && mapper) {
    for (int vk = 1; vk < 256 && !word; ++vk)
      if (!findKeyName(vk) && mapper(vk) == static_cast<unsigned char>(name[0]))
        word = makeKeyWord(0, vk, mods & kKeyShift, mods & kKeyCtrl, mods & kKeyAlt);
  }
  if (!word) return std::nullopt;
  // Only names that format back the same way are accepted, so "Shift+A" and "F1" are refused here as well.
  auto back = formatKeyName(*word, mapper);
  if (!back || *back != std::string(modifierPrefix(*word)) + std::string(name)) return std::nullopt;
  return word;
}

CKeyMap* CKeyMapTable::set(uint16_t word, uint16_t context, int32_t menuString, int32_t command) {
  CList<CKeyMap>& list = buckets_[keyBucketOf(word)];
  for (CKeyMap& m : list)
    if (sameKey(m.keyWord, word) && m.context == context) {
      m.command = command;
      m.menuString = menuString;
      return &m;
    }
  return list.append(new CKeyMap(word, menuString, context, command));
}

bool CKeyMapTable::remove(uint16_t word, uint16_t context) {
  CList<CKeyMap>& list = buckets_[keyBucketOf(word)];
  for (CKeyMap& m : list)
    if (sameKey(m.keyWord, word) && m.context == context) {
      list.remove(&m);
      return true;
    }
  return false;
}

int32_t CKeyMapTable::removeCommand(int32_t command) {
  int32_t removed = 0;
  for (auto& list : buckets_) {
    for (CKeyMap* m = list.head(); m;) {
      CKeyMap* next = list.nextOf(m);
      if (m->command == command) {
        list.remove(m);
        ++removed;
      }
      m = next;
    }
  }
  return removed;
}

const CKeyMap* CKeyMapTable::find(uint16_t word, uint16_t context, bool fallback) const {
  const CKeyMap* candidate = nullptr;
  for (const CKeyMap& m : buckets_[keyBucketOf(word)]) {
    if (!sameKey(m.keyWord, word)) continue;
    if (m.context == context) return &m;
    if (!fallback) continue;
    const bool answers = m.context == kContextNone ||
                         (m.context == kContextEditor && context == kContextMarkedEditor) ||
                         (m.context == kContextMouseEditor &&
                          (context == kContextMouseMarkedText || context == kContextMouseMargin ||
                           context == kContextMouseUnmarkedText));
    if (answers) candidate = &m;
  }
  return candidate;
}

const CKeyMap* CKeyMapTable::firstOf(int32_t command) const {
  for (const auto& list : buckets_)
    for (const CKeyMap& m : list)
      if (m.command == command) return &m;
  return nullptr;
}

const CKeyMap* CKeyMapTable::nextOf(const CKeyMap* after, int32_t command) const {
  if (!after) return firstOf(command);
  int b = keyBucketOf(after->keyWord);
  const CKeyMap* m = buckets_[b].nextOf(after);
  for (;;) {
    for (; m; m = buckets_[b].nextOf(m))
      if (m->command == command) return m;
    if (++b >= kKeyMapBuckets) return nullptr;
    m = buckets_[b].head();
  }
}

std::string CKeyMapTable::shortcutText(int32_t command, KeyCharMapper mapper) const {
  for (const CKeyMap* m = firstOf(command); m; m = nextOf(m, command)) {
    if (!m->menuString) continue;
    if (auto name = formatKeyName(m->keyWord, mapper)) return *name;
  }
  return {};
}

int32_t CKeyMapTable::count() const {
  int32_t n = 0;
  for (const auto& list : buckets_) n += list.count();
  return n;
}

void CKeyMapTable::clear() {
  for (auto& list : buckets_) list.clear();
}

}  // namespace osk
