// The text form of a configuration: what the built-in configuration is written in, and what any ".cfg" file
// turns back into.
//
// One statement per line; "#" starts a comment line. Commands carry labels that menus, keys and tool bars refer
// to; the canonical label is the command's name (for a top-level item "menu." and its menu text's letters), then
// "." and the letters and digits of its parameter when it has one, then ".2", ".3" ... for repeats. Images are
// drawn as 15 rows of 16 palette characters each. A reference that names no command, and an event context that
// has no name, are written as "?" and the number. A text compiles only to a configuration that saves and loads
// back unchanged: labels, group and image references must exist, strings must fit their fields, tool bar buttons
// need images, no key is bound twice in one context, and no submenu may be the last item of another submenu.
#pragma once

#include <string>
#include <string_view>

#include "services/config/configuration.h"

namespace osk {

std::string configurationToText(const CConfiguration& cfg);

struct ConfigTextError {
  int line = 0;
  std::string message;
};

// Builds `out`, which must be empty; false with the first error otherwise.
bool configurationFromText(std::string_view text, CConfiguration& out, ConfigTextError& error);

}  // namespace osk
