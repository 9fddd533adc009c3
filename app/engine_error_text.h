// The texts the program shows for engine error codes.
//
// Codes -1 to -32 have their own text; any other value, 0 and positive values included, gives "Unknown Error.".
#pragma once

#include <cstdint>
#include <string_view>

namespace osk::app {

std::string_view engineErrorText(int32_t code);

}  // namespace osk::app
