// The OCS_ entry points of printing and print preview, for the main program's print commands.
//
// A print or preview job reads a print stream file written by the engine (editor window message 1066) and lays it
// out with the print options of the settings file ("Print Options", "PrtColours1".."5", "PrtFonts", "PrtFonts1"..
// "6"), which are read afresh for every job, and the printer chosen last by OCS_StartPrint or OCS_PrintSettingsDlg
// (the default printer until then). `documentTime` is the document's last-modified time in seconds since 1970
// (UTC), as the "&FDate", "&FTime" and "&LFDate" header codes print it; `documentPath` gives "&File" and "&Path".
// Every function answers 0 for a null instance.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

// Messages the preview sends to its parent window.
enum {
  OCS_MSG_PREVIEW_LAYOUT = 3024,   // the preview control (child id 32) should be sized to fill the parent
};
enum { OCS_PREVIEW_CONTROL_ID = 32 };

// Preview operations, for OCS_PrintPreviewOperation and OCS_TestPrintPreviewOperation.
enum {
  OCS_PREVIEW_NEXT_PAGE = 1,
  OCS_PREVIEW_PREVIOUS_PAGE = 2,
  OCS_PREVIEW_ZOOM_IN = 3,
  OCS_PREVIEW_ZOOM_OUT = 4,
  OCS_PREVIEW_SINGLE_PAGE = 5,
  OCS_PREVIEW_DOUBLE_PAGE = 6,
};

// The print options dialog ("&Options" and "&Printer" pages) over `parent`. OK writes the options to the settings
// file and keeps the printer settings for later jobs; nonzero when the user pressed OK. Without any printer it
// says "No Printers installed" and offers the options alone.
int32_t OSK_CALL OCS_PrintSettingsDlg(HOCSINSTANCE instance, OskWindow parent);

// Chooses the printer, page range and output for the next OCS_Print. With `showDialog` nonzero the print dialog
// asks (its "Print to File" asks for the file with "Output.prn" offered); with 0 the default or last printer is
// taken without asking. A printer whose port is "FILE:" always asks for the output file. 0 when the user cancels
// or there is no printer ("No Printers installed" shown).
int32_t OSK_CALL OCS_StartPrint(HOCSINSTANCE instance, int32_t showDialog);

// Prints the stream file with the "Printing" dialog (Cancel aborts the job; the pages already sent stay printed).
// The frame is disabled meanwhile. Nonzero only when every page was printed and the job ended well; every failure
// is reported to the user ("Could not start print job.", a page that failed, a job that could not be finished,
// margins that leave no room). The stream file belongs to the services from this call: it is deleted on every
// path, so the caller need not delete it (doing so again is harmless).
int32_t OSK_CALL OCS_Print(HOCSINSTANCE instance, const char* documentPath, int64_t documentTime,
                           const char* streamFile);

// Builds a preview of the stream file inside `parent` (the program's preview window): a child control with id
// 32, laid out exactly like printed pages, and sends OCS_MSG_PREVIEW_LAYOUT to the parent. The stream file is read
// whole here and left in place (its owner deletes it). An earlier preview of this instance is destroyed first.
// 1 on success; 0 when there is no printer, the file cannot be read or the margins leave no room (each said to the
// user), and nothing is left behind. The preview ends when its control or parent is destroyed.
int32_t OSK_CALL OCS_CreatePrintPreviewWindow(HOCSINSTANCE instance, OskWindow parent, const char* documentPath,
                                              int64_t documentTime, const char* streamFile);

// Applies a preview operation (OCS_PREVIEW_*); nonzero when it changed the view. Nothing without a preview.
int32_t OSK_CALL OCS_PrintPreviewOperation(HOCSINSTANCE instance, int32_t operation);
// Nonzero when the operation is possible now: next page while a later page exists, previous page after the
// first, zoom in below the third step, zoom out above none, single page while two are shown, double page while
// one is shown. 0 without a preview.
int32_t OSK_CALL OCS_TestPrintPreviewOperation(HOCSINSTANCE instance, int32_t operation);

#ifdef __cplusplus
}
#endif
