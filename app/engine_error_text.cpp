#include "app/engine_error_text.h"

#include <array>

namespace osk::app {
namespace {

// Indexed by -code - 1.
constexpr std::array<std::string_view, 32> kTexts{
    "File error.",
    "Disk write error.",
    "Parameter error.",
    "Insufficient Memory.",
    "Swap file error.",
    "Unknown Error.",
    "Fatal error.",
    "Unknown Error.",
    "Resource error.",
    "Class already initialised.",
    "Class not initialised.",
    "Empty buffer.",
    "Macro seg read error.",
    "Macro seg corrupt.",
    "Cannot find required DLL.",
    "Command Failed.",
    "File does not exist.",
    "Invalid directory.",
    "File exists.",
    "File missing.",
    "File already loaded.",
    "File is read only.",
    "File is unnamed.",
    "File name is invalid.",
    "Range Snap.",
    "No selection.",
    "No operations.",
    "Not set.",
    "Invalid Margin.",
    "Invalid Message.",
    "Load Aborted.",
    "Save Aborted.",
};

}  // namespace

std::string_view engineErrorText(int32_t code) {
  if (code < -static_cast<int32_t>(kTexts.size()) || code > -1) return "Unknown Error.";
  return kTexts[static_cast<std::size_t>(-code - 1)];
}

}  // namespace osk::app
