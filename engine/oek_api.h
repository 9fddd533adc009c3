// The keystroke macro interface of the engine library: recording and playing keystroke macros, macro files, the
// Esc tests that long operations poll, eating Esc, and the F1 help hook. Declared extern "C" and exported by name
// from OSKECD32.dll.
//
// Functions named fb return 1 or 0. Recording and playing exclude each other; their end is reported to the owner
// window given at their start by message OEK_NOTIFY with one of the OEK_END_ codes as wParam.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define OEK_MACRO_WINDOW_CLASS "OEK_MACROWINDOW"

enum {
  OEK_NOTIFY = 1324,           // WM_USER + 300, sent to the owner window
  OEK_END_RECORDING = 1,       // recording ended: stopped, buffer full, or aborted by a task switch
  OEK_END_PLAYBACK = 2,        // playback finished
  OEK_END_STOPPED = 3,         // playback stopped by OEK_fvAbortPlayback
  OEK_END_ABORTED = 4,         // playback aborted by the user (Esc or a task switch), after "Playback aborted."
  OEK_HELP_REQUEST = 1825,     // posted to the help window for F1
};

// Starts recording for `owner`; 0 when already recording or playing.
int32_t OSK_CALL OEK_fbStartRecord(OskWindow owner);
// 0 when not recording.
int32_t OSK_CALL OEK_fbStopRecord(void);
// 0 when recording, playing or without a macro.
int32_t OSK_CALL OEK_fbPlayCurrMacro(OskWindow owner);
// Stops playback quietly (OEK_END_STOPPED); nothing when no playback runs.
void OSK_CALL OEK_fvAbortPlayback(void);
// 1 when written; 0 for an empty macro or a file that cannot be written (a partly written file is deleted).
int32_t OSK_CALL OEK_fbSaveCurrMacro(const char* fileName);
// 1 when loaded; 0 otherwise, and the macro is then empty. Refused (0, macro unchanged) while recording or playing.
int32_t OSK_CALL OEK_fbLoadMacro(const char* fileName);
int32_t OSK_CALL OEK_fbIsRecording(void);
int32_t OSK_CALL OEK_fbIsPlaying(void);
int32_t OSK_CALL OEK_fbMacroLoaded(void);
// 1 when Esc is down and a window of the calling thread is in the foreground; the answer is latched.
int32_t OSK_CALL OEK_fbIsEscPressed(void);
// As OEK_fbIsEscPressed, or 1 when the latch is set; clears the latch.
int32_t OSK_CALL OEK_fbIsPrivEscPressed(void);
// While on, Esc key presses are removed from the message queue (needs the help hook).
void OSK_CALL OEK_fvEatEsc(int32_t flag);
// Marks every key as up in the thread's keyboard state.
void OSK_CALL OEK_fvCheckNoKeyDown(void);
// Installs the F1 and Esc message hook on the calling thread; a zero help window removes it.
void OSK_CALL OEK_fvSetHelpHook(OskWindow helpWindow, void* instance);
// The message hook procedure and the macro window's procedure (LRESULT CALLBACK on Windows).
intptr_t OSK_CALL OEK_flKeyFilterFunc(int code, uintptr_t wParam, intptr_t lParam);
intptr_t OSK_CALL OEK_WndProc(OskWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);

#ifdef __cplusplus
}
#endif
