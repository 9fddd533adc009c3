// What the program's scenarios share on top of the driver: the built-in configuration's command numbers, values of
// the settings file, the answers to file dialogs and message boxes, a save that is waited for, and a test fixture
// that starts one copy of the program in a scratch folder of its own.
//
// A helper that waits gives up after its time-out and says so in its result; those that look things up (a command
// number) fail the test when the thing is missing, so a renamed command is reported where it is used.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "driver/osk_driver.h"

namespace osk::drive {

// The command numbers of the built-in configuration of OSK32.exe, read once.
const CommandNumbers& builtIn();
// The number of a command of the built-in configuration; a command it does not have fails the test and gives 0.
int numberOf(const std::string& name, const std::string& parameter = {});

// A value of a settings file as the program reads it; "<missing>" when the key is not there.
std::string iniValue(const std::string& file, const char* section, const char* key);

// A message of a window of the program (an editor's ECD_ question, say), answered within five seconds; 0 otherwise.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0);

// The windows of the program's thread that have the keyboard focus and the mouse capture; nullptr for none.
HWND focusOf(const Program& program);
HWND captureOf(const Program& program);

// Runs a command of the built-in configuration and gives the dialog with this title that it opens; nullptr when
// none comes.
HWND openDialog(const Program& program, const std::string& command, const std::string& title);

// Clicks a button of the program's dialog without waiting for what it does: for a button that opens a message box
// or another modal dialog, behind which a waiting click would sit until its time-out.
void postClick(HWND dialog, int id);

// Whether a list box (or combo box) of the program's dialog has an entry of exactly this text.
bool holds(HWND dialog, int id, const std::string& text, bool combo);

// Answers the program's file dialog with this title (Save As, Copy To, Load Keystroke Macro, ...) with a name.
bool chooseFile(const Program& program, const std::string& title, const std::string& name);

// The text of the program's next message box once it shows, and the box answered with `button`;
// "<no message box>" when none comes within the time-out.
std::string answerBox(const Program& program, int button, std::chrono::milliseconds timeout = 20s);

// Ctrl+S in the active document, then true once the file `name` of the folder holds `text`.
bool savedAs(const Program& program, const Scratch& folder, const std::string& name, const std::string& text);

// Esc pressed or let go through the keyboard, as a user holds it while long work runs (the window under the
// pointer takes it).
void escapeKey(bool down);

// One copy of the program in a scratch folder of its own, ended when the test is over.
class Scenario : public ::testing::Test {
 protected:
  // Starts the program with its arguments and waits for its frame and that many document windows, each with its
  // editor; false when they do not come.
  bool start(const std::string& arguments, size_t documents = 0);
  Program& program() { return *program_; }
  void TearDown() override;

  Scratch folder;
  std::unique_ptr<Program> program_;
};

}  // namespace osk::drive
