#include "engine/lang/macro_buffer.h"

namespace osk::macro {

void KeystrokeMacro::clear() {
  events_.fill(MacroEvent{});
  count_ = 0;
}

bool KeystrokeMacro::append(const MacroEvent& event) {
  if (!isKeyMessage(event.message) || full()) return false;
  events_[static_cast<std::size_t>(count_++)] = event;
  return true;
}

namespace {

constexpr uint8_t kShift = 0x10, kControl = 0x11, kMenu = 0x12;
constexpr uint8_t kLeftShift = 0xA0, kRightShift = 0xA1, kLeftControl = 0xA2, kRightControl = 0xA3;
constexpr uint8_t kLeftMenu = 0xA4, kRightMenu = 0xA5;
constexpr uint32_t kExtendedFlag = 0x100 << 8;   // bit 24 of the key message's flags, kept from bit 8 of paramL
constexpr uint8_t kRightShiftScan = 0x36;

}  // namespace

void KeyState::apply(const MacroEvent& event) {
  bool isDown;
  switch (event.message) {
    case kKeyDown:
    case kSysKeyDown: isDown = true; break;
    case kKeyUp:
    case kSysKeyUp: isDown = false; break;
    default: return;
  }
  const auto key = static_cast<uint8_t>(event.paramL & 0xFF);
  const bool extended = (event.paramL & kExtendedFlag) != 0 || (event.paramH & 0x8000) != 0;
  const auto set = [&](uint8_t k) { keys_[k] = isDown ? 0x80 : 0; };
  set(key);
  // The generic modifier keys also move one of their sided keys, and a sided key moves the generic one, as the
  // keyboard does.
  switch (key) {
    case kShift: set(((event.paramL >> 8) & 0xFF) == kRightShiftScan ? kRightShift : kLeftShift); break;
    case kControl: set(extended ? kRightControl : kLeftControl); break;
    case kMenu: set(extended ? kRightMenu : kLeftMenu); break;
    case kLeftShift:
    case kRightShift:
      keys_[kShift] = (keys_[kLeftShift] | keys_[kRightShift]) & 0x80;
      break;
    case kLeftControl:
    case kRightControl:
      keys_[kControl] = (keys_[kLeftControl] | keys_[kRightControl]) & 0x80;
      break;
    case kLeftMenu:
    case kRightMenu:
      keys_[kMenu] = (keys_[kLeftMenu] | keys_[kRightMenu]) & 0x80;
      break;
    default: break;
  }
}

void KeyState::writeInto(uint8_t* keyboard) const {
  for (std::size_t k = 0; k < keys_.size(); ++k) {
    keyboard[k] = static_cast<uint8_t>((keyboard[k] & 0x01) | keys_[k]);
  }
}

}  // namespace osk::macro
