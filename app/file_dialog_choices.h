// The choices every file dialog of the program shares: explorer or old style and long names, the file type list
// with the custom filter the user typed and the chosen filter (kept per dialog for the next time), where an
// old-style dialog goes on the screen, what the Open dialog's OK does to names that do not exist, and how the
// dialog's result becomes full file names.
//
// Limits: a custom filter holds 64 bytes with its zeros (longer ones are dropped, never cut); the Open dialog's
// field holds 2047 characters (an amendment that would not fit leaves the field as typed).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/shell_settings.h"

namespace osk::app {

// The dialogs whose filter choices are kept apart. Paste From is an Open dialog and shares its choice.
enum class FileDialogKind : uint8_t { kOpen, kSaveAs, kNewFile, kCopyTo, kRunApplication, kMacro, kCount };

struct FileDialogStyle {
  bool explorer = true;    // explorer style; else the old style
  bool longNames = true;   // long file names asked for
};
// Explorer style only on the new shell with both settings set; long names whenever UseLongFileNames is set.
FileDialogStyle fileDialogStyle(bool newShell, bool useExplorerType, bool useLongFileNames);
// Several files in one Open: always in explorer style, in old style only with short names (the old style
// separates names by blanks, which long names may hold).
bool openMayChooseSeveral(const FileDialogStyle& style);
// The old style with short names checks that the file exists; otherwise a missing name is offered for amendment.
bool openNeedsExistingFile(const FileDialogStyle& style);

inline constexpr std::size_t kCustomFilterSize = 64;
inline constexpr std::size_t kOpenFieldLimit = 2047;

// The custom filter and the chosen filter of one dialog. Index 0 is the custom filter, 1 the first listed type.
struct FilterChoice {
  std::string customDescription;
  std::string customPattern;
  uint32_t index = 1;
  bool operator==(const FilterChoice&) const = default;
};

// The custom filter as the dialog's 64-byte buffer takes it (description, zero, pattern, zero); all zeros when
// there is none.
std::array<char, kCustomFilterSize> customFilterBuffer(const FilterChoice& choice);
// What the dialog left in that buffer and its filter index, kept for the next dialog. A buffer without a pattern
// holds no custom filter; an index pointing nowhere (the custom filter when there is none, or past the list)
// becomes 1.
FilterChoice choiceAfterDialog(std::span<const char> customBuffer, uint32_t index, std::size_t listedTypes);
// The patterns of a filter index ("" when it points nowhere).
std::string filterPatternAt(const FilterChoice& choice, std::span<const FileFilter> types, uint32_t index);
// The patterns of the filter an old-style dialog shows by its description: the custom filter's first.
std::string filterPatternNamed(const FilterChoice& choice, std::span<const FileFilter> types,
                               std::string_view description);

// An old-style Open dialog's field on OK: each name (blank-separated when several may be chosen, else the whole
// field) that holds no "\" or wildcard and does not exist is offered to `amend`, which answers the new name or
// nothing. The rewritten field, or nothing when no name changed or it would exceed `limit` characters.
using NameExists = std::function<bool(const std::string&)>;
using NameAmender = std::function<std::optional<std::string>(const std::string&)>;
std::optional<std::string> amendedOpenField(std::string_view field, bool several, const NameExists& exists,
                                            const NameAmender& amend, std::size_t limit = kOpenFieldLimit);

// The names a dialog answered, as full names: one name, or a folder followed by names (separated by zeros in
// explorer style, by blanks in an old-style dialog that allowed several), each joined to the folder. The buffer
// ends at its first double zero, or at its end.
std::vector<std::string> dialogResultNames(std::span<const char> result, bool explorer, bool several);
// folder + "\" + name, without doubling a "\" the folder ends with ("C:\").
std::string joinFolder(std::string_view folder, std::string_view name);

// Where an old-style dialog goes: centred over the frame, then moved so that it stays `margin` pixels inside the
// screen on every side it can (a dialog larger than the screen keeps its top-left corner inside).
struct ScreenBox {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
struct ScreenPlace {
  int32_t x = 0, y = 0;
  bool operator==(const ScreenPlace&) const = default;
};
ScreenPlace centredOver(const ScreenBox& frame, int32_t width, int32_t height, const ScreenBox& screen,
                        int32_t margin = 5);

}  // namespace osk::app
