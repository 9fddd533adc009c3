// Document windows: MDI children of class "WCHILD", each holding one to four editor windows (panes, child ids 1 to
// 4) that show one engine buffer. The document window owns the buffer and closes it when it is destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/per_file_settings.h"

namespace osk::app {

inline constexpr char kDocumentClass[] = "WCHILD";
inline constexpr int kEditorId = 1;

bool registerDocumentClass(HINSTANCE instance);

bool isDocumentWindow(HWND window);
// The pane that last had the focus (the top-left one at first).
HWND editorOfDocument(HWND document);
// The document windows in MDI order (the active one first).
std::vector<HWND> documentWindows();
bool isSplit(HWND document);

// Opens the named file in a new document window, or activates the document window that already shows it (names
// compare without regard to case, after being made full paths). A file that cannot be read, or that the engine
// refuses, is reported to the user and gives false; nothing is left behind. The per-file settings given are used,
// else the defaults of the settings.
bool openDocument(const std::string& name, bool readOnly, const PerFileSettings* perFile = nullptr);
// A new untitled document window.
bool newDocument();

std::string documentFileName(HWND document);   // empty for an untitled buffer
void refreshTitle(HWND document);
// The per-file settings of the document's buffer, as the history and session lines keep them.
PerFileSettings perFileSettingsOf(HWND document);

// The common save. Answers true when the document may go on (saved, unmodified, or the user said No).
struct SaveRequest {
  bool askFirst = false;       // "Save changes to file %s ?"
  bool saveAs = false;
  bool evenIfUnmodified = false;
  bool quiet = false;          // autosave: no messages
  bool autosave = false;       // started by the autosave: the undo history is kept whatever the options say
};
bool saveDocument(HWND document, const SaveRequest& request);
// "Save changes to file %s ?" with Yes, No and Cancel: IDYES, IDNO or IDCANCEL.
int askSaveChanges(HWND document);

// Makes the editor font of the settings (fixed pitch, default character set) and gives it to every editor; the old
// font goes. Nothing changes without a face name or when the font cannot be made.
void makeEditorFont();

}  // namespace osk::app
