// The keystroke macro: up to 4096 recorded key events, and the key state that replaying them builds up.
//
// An event keeps the word order of the system's journal event record (message, two parameters, time, window);
// the window is pointer-sized in memory and 32 bits wide in macro files. Only key messages (0x0100 to 0x0108) are
// ever stored: append refuses anything else and refuses a 4097th event. A macro counts as present when its first
// event's message is non-zero, so an empty macro is never present.
#pragma once

#include <array>
#include <cstdint>

#include "engine/ecd_types.h"

namespace osk::macro {

constexpr int32_t kMaxEvents = 4096;
constexpr uint32_t kFirstKeyMessage = 0x0100;   // WM_KEYDOWN
constexpr uint32_t kLastKeyMessage = 0x0108;    // the last key message
constexpr uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kSysKeyDown = 0x0104, kSysKeyUp = 0x0105;

inline bool isKeyMessage(uint32_t message) { return message >= kFirstKeyMessage && message <= kLastKeyMessage; }

struct MacroEvent {
  uint32_t message = 0;
  uint32_t paramL = 0;     // virtual key in bits 0 to 7, the key message's flags word (scan code ...) from bit 8
  uint32_t paramH = 0;     // repeat count; bit 15 an extended key
  uint32_t time = 0;       // tick count at recording
  OskWindow window = nullptr;   // window at recording; kept, never used in playback

  bool operator==(const MacroEvent&) const = default;
};

class KeystrokeMacro {
 public:
  int32_t count() const { return count_; }
  bool empty() const { return count_ == 0; }
  bool full() const { return count_ == kMaxEvents; }
  bool present() const { return count_ > 0 && events_[0].message != 0; }
  const MacroEvent& operator[](int32_t index) const { return events_[static_cast<std::size_t>(index)]; }

  void clear();
  // False, storing nothing, for a message other than a key message or when the macro is full.
  bool append(const MacroEvent& event);

 private:
  std::array<MacroEvent, kMaxEvents> events_{};
  int32_t count_ = 0;
};

// The down state of every virtual key while a macro replays, so that Shift, Ctrl and Alt read as they did when
// the macro was recorded. Replay starts with every key up; toggle states are not the macro's business.
class KeyState {
 public:
  KeyState() { keys_.fill(0); }
  // Follows a key-down or key-up event (system keys too); character events change nothing.
  void apply(const MacroEvent& event);
  bool down(uint8_t virtualKey) const { return (keys_[virtualKey] & 0x80) != 0; }
  // Writes the down bits (0x80) into a 256-byte keyboard state, keeping its toggle bits.
  void writeInto(uint8_t* keyboard) const;

 private:
  std::array<uint8_t, 256> keys_;
};

}  // namespace osk::macro
