// The print preview window: an MDI child of class "PPCHILD" that hosts the common services' preview control (child
// 32) over a print stream file. While it is open the document windows are hidden, the frame shows the menu "Print
// Preview Menu" and the "Print Preview Tool Bar", and keys are classified as the preview's. Only one is open at a
// time (Shell::printPreview). The stream file belongs to the preview from its opening and is deleted when the
// window goes, however it goes (closed by the user, replaced, or destroyed with the frame).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "services/ocs_config_api.h"

namespace osk::app {

inline constexpr char kPreviewClass[] = "PPCHILD";
inline constexpr char kPreviewTitle[] = "Print Preview";
inline constexpr char kPreviewMenu[] = "Print Preview Menu";
inline constexpr char kPreviewToolBar[] = "Print Preview Tool Bar";

// Opens the preview over the stream file for the document name and date the pages carry. The file is deleted
// when the preview cannot be opened. False then (the services have said why, or nothing could be made).
bool openPrintPreview(const std::string& documentName, int64_t documentTime, const std::string& streamFile);
// Closes an open preview: the documents come back as they were, with the normal menu. Nothing without one.
void closePrintPreview();

// The preview operations 1 to 6 (next, previous, zoom in, zoom out, single, double page) and their enabling
// tests: 0 when possible, 1 when not (also without a preview), 2 for single and double page when not possible
// while a preview is open (the page count shown is checked).
void runPreviewOperation(int32_t operation);
decltype(OcsCommandDetails::enablingTest) printPreviewEnablingTest(std::string_view name);

}  // namespace osk::app
