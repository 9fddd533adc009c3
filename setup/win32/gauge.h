// The installer's progress bar, a window class "OskSetupGauge": the filled part in blue with white text, the rest
// in the window colour with black text, "N% Complete" centred over the whole bar, and a one-pixel frame. It
// repaints only when its whole percentage changes.
#pragma once

#include <windows.h>

#include <cstdint>

namespace osk::setup {

inline constexpr const char* kGaugeClass = "OskSetupGauge";

bool registerGauge(HINSTANCE instance);
void setGaugeRange(HWND gauge, std::uint64_t range);
void setGaugePosition(HWND gauge, std::uint64_t position);
unsigned gaugePercent(HWND gauge);

}  // namespace osk::setup
