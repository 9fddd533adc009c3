// What the services make of a name typed into an Open dialog that names no existing file: a name without an
// extension gets the first extension of the dialog's current filter ("*.c;*.h" gives ".c") when a file of that
// name exists; anything else stays as typed. A filter without a plain extension ("*.*", "*", "readme.*") adds
// nothing, and names holding wildcards are never changed: the dialog uses those to filter its list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace osk {

// The extension, its dot included, of the first pattern of a filter; empty when that pattern has none.
std::string firstFilterExtension(std::string_view filterPattern);

// The amended name, or nothing when the name stays as it is. `exists` answers for a name as the caller resolves
// it (relative names against the dialog's folder).
std::optional<std::string> amendedOpenName(std::string_view name, std::string_view filterPattern,
                                           const std::function<bool(const std::string&)>& exists);

}  // namespace osk
