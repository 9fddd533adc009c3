// The record of the Options dialog, filled from the program's settings and the active document before the dialog
// opens, and read back when it answers OK.
//
// Filling leaves the palette fields and the two unused bytes alone (the caller owns them) and always terminates
// the text fields, cutting texts that would not fit. Reading trusts nothing in the record: a text field without
// its terminator ends at the field's end, booleans are any non-zero value, and the settings come back through
// settled() and the active document's values through margin validation, so a damaged record cannot put a value
// out of range.
#pragma once

#include <cstdint>
#include <optional>

#include "app/per_file_settings.h"
#include "app/shell_settings.h"
#include "services/ocs_options.h"

namespace osk::app {

// What the dialog shows and changes of the active document.
struct ActiveDocumentOptions {
  bool readOnly = false;
  PerFileSettings settings;
  int32_t undoCapacity = 0;   // the buffer's own undo capacity (editor messages 1090 and 1062)

  bool operator==(const ActiveDocumentOptions&) const = default;
};

void fillOptions(const ShellSettings& settings, const std::optional<ActiveDocumentOptions>& active,
                 OcsOptions& record);

struct OptionsAnswer {
  ShellSettings settings;
  std::optional<ActiveDocumentOptions> active;   // present when the record says an editor is active
};

// `current` supplies what the record does not hold (history, placement, session state and the like).
OptionsAnswer readOptions(const OcsOptions& record, ShellSettings current);

}  // namespace osk::app
