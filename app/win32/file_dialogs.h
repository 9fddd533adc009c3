// The program's Open and Save dialogs (Open, Save As, New File, Paste From, Copy To, Run Application, and those of
// the keystroke macro files) with the choices they share: explorer or old style by the settings, the file type list
// with each dialog's custom filter and chosen filter kept for its next time, the help button with the dialog's help context, old-style dialogs
// centred over the frame with the focus on the file name, and the Open dialog's amendment of names that do not
// exist through the services (OCS_AmendOpenFile).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/file_dialog_choices.h"

namespace osk::app {

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpen;
  std::string title;                // " [Multi Select]" is added when several files may be chosen
  bool save = false;                // a Save dialog; else an Open dialog
  uint16_t helpContext = 0;
  std::string initialName;          // what the file name field starts with
  std::string initialFolder = ".";
  std::vector<FileFilter> types;    // the dialog's own file types; none: the [Filters] list
  std::size_t nameSize = MAX_PATH + 1;
  bool readOnlyBox = false;         // Open: the read-only check box is shown
  bool several = false;             // Open: several files may be chosen where the style allows it
  bool fileMustExist = false;       // Open: refused unless the file exists (the old style with short names always)
  bool amendMissing = false;        // Open: names that do not exist are offered to the services for amendment
  bool keepCurrentFolder = false;   // the current folder stays as it was, wherever the user went
  std::string defaultExtension;     // added to a name typed without one (without the dot)
  bool confirmReplace = false;      // Save: the system asks before an existing file is chosen
};

struct FileDialogAnswer {
  std::vector<std::string> names;   // full names, as many as the user chose
  bool readOnly = false;            // the read-only box was checked
};

// The dialog, modal to the frame; nothing when the user cancelled or the dialog could not be shown.
std::optional<FileDialogAnswer> askFileNames(const FileDialogRequest& request);
// The style the settings choose now.
FileDialogStyle currentFileDialogStyle();

}  // namespace osk::app
