// Which form of a file name the program opens by: names with a "~" are taken in their long form while long names
// are in use; without long names, a name whose base is longer than 8 characters or whose extension (with its dot)
// is longer than 4 is taken in its short, 8.3 form.
#pragma once

#include <string_view>

namespace osk::app {

enum class NameForm { kAsGiven, kLong, kShort };

NameForm wantedNameForm(std::string_view name, bool useLongFileNames);

}  // namespace osk::app
