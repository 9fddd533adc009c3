// The engine's plain-named functions: the editing vocabulary of the program's commands, keystroke macros and
// extension libraries. Each acts on the current target (an editor window, or a buffer without window) chosen with
// SetCurEdWindow or SetCurBuffer; inside the event callback the window that received the character is current.
//
// Results: 1 for success and 0 for failure, or the value named. Without a current target every function returns
// 0 (or does nothing) and touches no buffer; a function that needs a window does nothing without one. Lines,
// columns and cells are 1-based; a line holds at most 1024 characters, so line destinations hold 1025 bytes and
// name destinations 261. Output pointers may be null where noted.
#pragma once

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct tagRECT;   // RECT: four 32-bit words left, top, right, bottom

// StoreCaretState / RestoreCaretState: with a mark, first = anchor and second = update; without, the first pair is
// the caret. Cells, so the state survives a change of tab length.
typedef struct EcdCaretState {
  int32_t markType;
  int32_t firstLine;
  int32_t secondLine;
  int32_t firstCell;
  int32_t secondCell;
} EcdCaretState;

// Current target and buffers.
int32_t OSK_CALL SetCurEdWindow(OskWindow window);
OskWindow OSK_CALL GetCurEdWindow(void);
int32_t OSK_CALL SetCurBuffer(HEDBUFFER buffer);
HEDBUFFER OSK_CALL GetCurBuffer(void);
HEDBUFFER OSK_CALL EnumBuffers(HEDBUFFER after);
HEDBUFFER OSK_CALL GetBufferFromName(const char* name);
OskWindow OSK_CALL GetMasterHwnd(void);
int32_t OSK_CALL GetFileName(char* destination);
int32_t OSK_CALL GetModifiedName(char* destination);
int32_t OSK_CALL SetFileName(const char* name);

// Editing.
int32_t OSK_CALL WriteChar(int32_t character);
int32_t OSK_CALL WriteString(const char* text);
int32_t OSK_CALL NewLine(void);
int32_t OSK_CALL DeleteChar(void);
int32_t OSK_CALL BackSpaceChar(void);
int32_t OSK_CALL InsertLine(int32_t after, const char* text);
int32_t OSK_CALL ReplaceLine(int32_t line, const char* text);
int32_t OSK_CALL DeleteLine(int32_t line);
int32_t OSK_CALL DeleteLines(int32_t first, int32_t count);
int32_t OSK_CALL JoinLine(int32_t line);
int32_t OSK_CALL Reflow(const char* caption);
int32_t OSK_CALL GetLine(int32_t line, char* destination);
int32_t OSK_CALL GetExpandedLine(int32_t line, char* destination);
int32_t OSK_CALL GetLineLen(int32_t line);
int32_t OSK_CALL GetLineCount(void);
int32_t OSK_CALL GetMaxLineLen(void);

// Undo.
int32_t OSK_CALL StartOp(void);
int32_t OSK_CALL EndOp(void);
int32_t OSK_CALL UndoOp(const char* caption);
int32_t OSK_CALL RedoOp(const char* caption);
int32_t OSK_CALL FinaliseOps(void);
int32_t OSK_CALL IsUndoable(void);
int32_t OSK_CALL IsRedoable(void);
int32_t OSK_CALL GetNumUndoRecords(void);

// Buffer settings.
int32_t OSK_CALL SetInsertMode(int32_t mode);
int32_t OSK_CALL GetInsertMode(void);
int32_t OSK_CALL GetCompMode(void);
int32_t OSK_CALL SetModified(int32_t flag);
int32_t OSK_CALL GetModified(void);
int32_t OSK_CALL SetTabLength(int32_t length);
int32_t OSK_CALL GetTabLength(void);
int32_t OSK_CALL SetTabsAsSpaces(int32_t flag);
int32_t OSK_CALL GetTabsAsSpaces(void);
int32_t OSK_CALL SetFirstOffset(int32_t offset);
int32_t OSK_CALL GetFirstOffset(void);
int32_t OSK_CALL SetLeftMargin(int32_t margin);
int32_t OSK_CALL GetLeftMargin(void);
int32_t OSK_CALL SetRightMargin(int32_t margin);
int32_t OSK_CALL GetRightMargin(void);
int32_t OSK_CALL SetWordWrap(int32_t flag);
int32_t OSK_CALL GetWordWrap(void);
int32_t OSK_CALL IsReadOnly(void);

// Marks and caret.
int32_t OSK_CALL AnchorMark(int32_t type, int32_t line, int32_t column);
int32_t OSK_CALL UpdateMark(int32_t line, int32_t column);
int32_t OSK_CALL UnMark(void);
int32_t OSK_CALL QueryMark(void);
int32_t OSK_CALL QueryMarkType(void);
int32_t OSK_CALL QueryMarkStart(int32_t* line, int32_t* column);
int32_t OSK_CALL QueryMarkEnd(int32_t* line, int32_t* column);
int32_t OSK_CALL QueryMarkAnchor(int32_t* line, int32_t* column);
int32_t OSK_CALL QueryMarkUpdate(int32_t* line, int32_t* column);
int32_t OSK_CALL SetCaretCol(int32_t line, int32_t column);
int32_t OSK_CALL SetCaretCell(int32_t line, int32_t cell);
int32_t OSK_CALL GetCaretCol(int32_t* line, int32_t* column);
int32_t OSK_CALL StoreCaretState(EcdCaretState* state);
int32_t OSK_CALL RestoreCaretState(const EcdCaretState* state);

// Line properties.
int32_t OSK_CALL SetLineProp(int32_t line, uint32_t bits);
int32_t OSK_CALL ClearLineProp(int32_t line, uint32_t bits);
uint32_t OSK_CALL GetLineProp(int32_t line, uint32_t mask);
uint32_t OSK_CALL GetPrevLineWithProp(uint32_t mask, int32_t* line);
uint32_t OSK_CALL GetNextLineWithProp(uint32_t mask, int32_t* line);

// Tabs and cells.
int32_t OSK_CALL GetExpandedLen(const char* text);
int32_t OSK_CALL ExpandText(char* text);
int32_t OSK_CALL TruncateText(char* text, int32_t cells);
int32_t OSK_CALL ColFromCell(int32_t line, int32_t cell);
int32_t OSK_CALL CellFromCol(int32_t line, int32_t column);

// Files.
int32_t OSK_CALL SaveFile(const char* caption);
int32_t OSK_CALL SaveAsFile(const char* name, const char* caption);

// Window and display.
int32_t OSK_CALL GetEdWindowSize(int32_t* lines, int32_t* cells);
int32_t OSK_CALL GetEdWindowScroll(int32_t* topLine, int32_t* leftCell);
int32_t OSK_CALL SetEdWindowScroll(int32_t topLine, int32_t leftCell);
int32_t OSK_CALL ScrollToView(void);
int32_t OSK_CALL UpdateDisplay(void);
int32_t OSK_CALL CharFromPos(int32_t x, int32_t y, int32_t clamp, int32_t* line, int32_t* cell, int32_t snap,
                             int32_t* where);
int32_t OSK_CALL GetCellRect(int32_t line, int32_t cell, struct tagRECT* rect);
int32_t OSK_CALL SetLinePointer(void);
int32_t OSK_CALL SetMovePointer(void);
int32_t OSK_CALL SetDraggingOkPointer(void);
int32_t OSK_CALL SetDraggingOkPlusPointer(void);
int32_t OSK_CALL SetDraggingIllegalPointer(void);
int32_t OSK_CALL SetCharPointer(void);
int32_t OSK_CALL SetArrowPointer(void);
int32_t OSK_CALL ShowHourGlass(int32_t on);

// Owner services ("EditorOwnerMessage"); each returns the owner's answer.
intptr_t OSK_CALL OwnerCommand(uintptr_t w, intptr_t l);
intptr_t OSK_CALL OskStatMessage(const char* text);
intptr_t OSK_CALL OskSetActiveMDIChild(OskWindow window);
intptr_t OSK_CALL OskGetActiveMDIChild(void);
intptr_t OSK_CALL OskGetNextMDIChild(OskWindow window);
intptr_t OSK_CALL OskGetPrevMDIChild(OskWindow window);
intptr_t OSK_CALL OskGetBufferMDI(HEDBUFFER buffer);
intptr_t OSK_CALL OskGetMDIBuffer(OskWindow window);
intptr_t OSK_CALL OskGetMDIState(OskWindow window);
intptr_t OSK_CALL OskSetMDIState(int32_t a, int32_t b);
intptr_t OSK_CALL OskGetINIFileName(char* destination);
intptr_t OSK_CALL OskInvokeHelp(intptr_t x);
int32_t OSK_CALL DisplayError(const char* text);
int32_t OSK_CALL InitGauge(int32_t first, int32_t count, const char* caption);
int32_t OSK_CALL UpdateGauge(int32_t step);
int32_t OSK_CALL DestroyGauge(void);

// Miscellaneous.
int32_t OSK_CALL GoBeep(void);
int32_t OSK_CALL CenterWindow(OskWindow window);
void OSK_CALL DebugState(void);

#ifdef __cplusplus
}
#endif
