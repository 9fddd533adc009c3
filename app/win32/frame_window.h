// The main frame "OSK32": the MDI client, the status bar, the bars of the common services, the frame menu built
// from the configuration, the private messages of the engine, the services and a second copy, the timers, and the
// shutdown that asks every document first.
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

bool registerFrameClasses(HINSTANCE instance);
HWND createFrame(HINSTANCE instance, const std::string& title);

void layOutFrame();
// Builds the menu "Default" of the configuration with its dynamic popups and makes it the frame menu.
bool buildFrameMenu();
void showStatusBar(bool show);
// The autosave timer, started or stopped by the settings.
void restartAutosaveTimer();
// Makes the banner of bitmap 1005, when the program has one.
void createBanner();
// Opens one file as message 13025 does, then refreshes the state.
bool openNamedFile(const std::string& name);

}  // namespace osk::app
