// Document windows: MDI children of class "WCHILD", each holding one editor window (child id 1) that shows one
// engine buffer. The document window owns the buffer and closes it when it is destroyed.
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

inline constexpr char kDocumentClass[] = "WCHILD";
inline constexpr int kEditorId = 1;

bool registerDocumentClass(HINSTANCE instance);

// Opens the named file in a new document window, or activates the document window that already shows it (names
// compare without regard to case, after being made full paths). A file that cannot be read, or that the engine
// refuses, is reported to the user and gives false; nothing is left behind.
bool openDocument(const std::string& name, bool readOnly);

}  // namespace osk::app
