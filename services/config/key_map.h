// CKeyMap and CKeyMapTable: the key and mouse bindings of a configuration, the event contexts and key names.
//
// A key event word holds Shift (bit 0), Ctrl (bit 1) and Alt (bit 2) and a virtual-key or mouse event code in bits
// 3 to 10; bits 11 to 15 carry nothing and every comparison masks them off, so 0xE780 and 0x0780 are one event.
// The table keeps 128 lists; a mapping lives in list ((word >> 3) & 0x7F) in insertion order, and at most one
// mapping exists per (masked word, context). Lookups never fail loudly: an unknown word or context finds nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "services/config/list_base.h"

namespace osk {

inline constexpr uint16_t kKeyWordMask = 0x7FF;
inline constexpr uint16_t kKeyShift = 0x1;
inline constexpr uint16_t kKeyCtrl = 0x2;
inline constexpr uint16_t kKeyAlt = 0x4;
inline constexpr int kKeyMapBuckets = 128;

inline constexpr int keyCodeOf(uint16_t word) { return (word >> 3) & 0xFF; }
inline constexpr int keyBucketOf(uint16_t word) { return (word >> 3) & 0x7F; }
inline constexpr bool sameKey(uint16_t a, uint16_t b) { return ((a ^ b) & kKeyWordMask) == 0; }

// Builds a key event word from a code and the modifier states; bits 11 to 15 stay as they were in `previous`.
uint16_t makeKeyWord(uint16_t previous, int code, bool shift, bool ctrl, bool alt);

// Event contexts: where a key or mouse event happened.
enum EventContext : uint16_t {
  kContextNone = 0,
  kContextEditor = 10,
  kContextOpenBar = 11,
  kContextMarkedEditor = 12,
  kContextMouseEditor = 20,
  kContextMouseOpenBar = 21,
  kContextMouseMarkedText = 22,
  kContextMouseMargin = 23,
  kContextMouseUnmarkedText = 24,
  kContextMouseToolBar = 25,
  kContextPrintPreview = 26,
};

struct EventContextInfo {
  uint16_t value;
  const char* name;
  bool mouse;   // valid for mouse events
  bool keys;    // valid for key events
};
// In the order the mapping dialogs list them.
std::span<const EventContextInfo> eventContexts();
// Null for a value that is not a context.
const char* eventContextName(uint16_t value);
// Exact, case-sensitive comparison of names.
std::optional<uint16_t> eventContextValue(std::string_view name);

// Mouse event codes (pseudo virtual keys 240 to 249).
enum MouseEventCode : int {
  kMouseLeftDown = 240,
  kMouseLeftUp = 241,
  kMouseRightDown = 242,
  kMouseRightUp = 243,
  kMouseMiddleDown = 244,
  kMouseMiddleUp = 245,
  kMouseMove = 246,
  kMouseLeftDoubleClick = 247,
  kMouseRightDoubleClick = 248,
  kMouseMiddleDoubleClick = 249,
};
// The mouse event code of a window message, 0 for any message that is not a mouse button or move message.
int mouseEventFromMessage(uint32_t message);

struct KeyNameInfo {
  uint8_t code;
  const char* name;
  bool plain;        // may be bound without any modifier
  bool shiftAlone;   // may be bound with Shift alone
};
std::span<const KeyNameInfo> keyNameTable();

// The character a virtual key produces (MapVirtualKey with type 2), 0 when none. The portable default answers for
// the punctuation keys of a US keyboard; the Windows layer passes the system's own mapping.
using KeyCharMapper = int (*)(int virtualKey);
int usKeyboardChar(int virtualKey);

// The display name of a key event word ("Alt+Ctrl+Shift+Home", "Ctrl+]"), or nothing when the key cannot be
// bound with those modifiers (plain letters, Shift+letters, plain F1, a key without a character or name).
std::optional<std::string> formatKeyName(uint16_t word, KeyCharMapper mapper = usKeyboardChar);
// The reverse of formatKeyName for the names it produces; a key outside the name table is found by its character
// through `mapper`. Nothing for a name that is not a bindable key.
std::optional<uint16_t> parseKeyName(std::string_view name, KeyCharMapper mapper = usKeyboardChar);

class CKeyMap : public CListElement {
 public:
  CKeyMap(uint16_t word, int32_t flag, uint16_t ctx, int32_t cmd)
      : keyWord(word), menuString(flag), context(ctx), command(cmd) {}
  uint16_t keyWord;
  int32_t menuString;   // 1: the key's name follows the command's menu text and tool tip
  uint16_t context;
  int32_t command;      // command number; 0 names nothing
};

class CKeyMapTable {
 public:
  // Replaces the command and flag of the mapping with the same masked word and context, or appends a new one.
  CKeyMap* set(uint16_t word, uint16_t context, int32_t menuString, int32_t command);
  // Removes the mapping with the same masked word and context; false when there is none.
  bool remove(uint16_t word, uint16_t context);
  // Removes every mapping of a command number; the count removed.
  int32_t removeCommand(int32_t command);
  // The mapping for (word, context). With fallback, a mapping for "None" answers any context, "Focus on Editor
  // Window" answers "Focus on Marked Editor Window", and "Mouse Over Editor Window" answers the marked text,
  // margin and unmarked text contexts; an exact context wins, else the last candidate in list order.
  const CKeyMap* find(uint16_t word, uint16_t context, bool fallback) const;
  // Mappings of one command in table order (lists 0 to 127, each in order).
  const CKeyMap* firstOf(int32_t command) const;
  const CKeyMap* nextOf(const CKeyMap* after, int32_t command) const;
  // The first mapping of the command, in table order, whose flag is set and whose key has a name; its name.
  std::string shortcutText(int32_t command, KeyCharMapper mapper = usKeyboardChar) const;

  int32_t count() const;
  void clear();
  const CList<CKeyMap>& bucket(int i) const { return buckets_[i]; }
  CList<CKeyMap>& bucket(int i) { return buckets_[i]; }
  template <class F>
  void forEach(F&& f) const {
    for (const auto& list : buckets_)
      for (const CKeyMap& m : list) f(m);
  }
  template <class F>
  void forEachMutable(F&& f) {
    for (auto& list : buckets_)
      for (CKeyMap& m : list) f(m);
  }

 private:
  CList<CKeyMap> buckets_[kKeyMapBuckets];
};

}  // namespace osk
