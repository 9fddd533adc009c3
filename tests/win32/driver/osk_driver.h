// Driving the real OSK32.exe as a user does: start it with a settings file and folder of its own, press keys
// through SendInput, choose menu items by the configuration's command numbers, find dialogs and message boxes by
// title and answer them, and read back what the user would see (window titles, the status bar) or what the
// program wrote (files, the settings file).
//
// Every wait is on a condition with a time-out. A program that does not end when asked is photographed (a BMP of
// the screen beside the test) and ended.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace osk::drive {

using namespace std::chrono_literals;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

std::string windowText(HWND window);
std::string className(HWND window);
std::string programFolder();
// Visible top-level windows of a class (any class when empty) that belong to a process.
std::vector<HWND> topLevelWindows(DWORD process, const std::string& windowClass);
std::vector<HWND> childrenOfClass(HWND parent, const char* windowClass);
// The text of a message box (its static control 65535).
std::string messageBoxText(HWND box);
// Controls of another program's dialog, by identifier at any depth (pages of a tabbed dialog included).
HWND control(HWND dialog, int id);
void setText(HWND dialog, int id, const std::string& text);
// Clicks a button as the user's click reaches its dialog or page.
void click(HWND dialog, int id);
// Chooses a list or combo box entry by its text and tells the dialog, as the user's choice does.
bool choose(HWND dialog, int id, const std::string& text, bool combo);
// Saves a picture of the whole screen as a BMP file; false when it cannot.
bool saveScreen(const std::string& path);
// Saves a picture of the client area of a window of this process as a BMP file, as the screen shows it (after the
// window has painted into the picture when `printClient`); false when it cannot.
bool saveWindowPicture(HWND window, const std::string& path, bool printClient = false);

// The mouse as the user moves it: the pointer to a screen point in a few steps, the left button pressed or
// released where the pointer is (through SendInput, so a drag loop of the program sees it).
void mouseTo(POINT screen);
void leftButton(bool down);
// The caret of a window of the program's thread, in screen coordinates: its top-left corner and height; false
// when that thread shows no caret.
bool caretOnScreen(HWND anyWindowOfThread, POINT& topLeft, int& height);

// A scratch folder with files, removed with everything in it.
class Scratch {
 public:
  Scratch();
  ~Scratch();
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string& path() const { return path_; }
  std::string pathOf(const std::string& name) const { return path_ + "\\" + name; }
  // Writes bytes as they are, and gives the full path.
  std::string write(const std::string& name, const std::string& bytes) const;
  // A file of that many CR LF lines "line n of name".
  std::string writeLines(const std::string& name, int lines) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string path_;
};

// The command numbers of a configuration, as the frame's menus carry them.
class CommandNumbers {
 public:
  // The built-in configuration of OSK32.exe, or a configuration file when a path is given.
  explicit CommandNumbers(const std::string& configFile = {});
  // The number of the first entry with this command name and parameter; 0 when there is none.
  int number(const std::string& name, const std::string& parameter = {}) const;

 private:
  struct Entry {
    int number;
    std::string name;
    std::string parameter;
  };
  std::vector<Entry> entries_;
};

struct Key {
  WORD vk;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// One copy of OSK32 running in a scratch folder with the settings file "osk.ini" there (unless the arguments
// name another one).
class Program {
 public:
  Program(const Scratch& folder, const std::string& arguments, bool ownSettings = true);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  std::string settingsFile() const;
  bool hasEnded() const;
  bool waitForEnd(std::chrono::milliseconds timeout = 20s) const;
  DWORD exitCode() const;

  HWND frame() const;
  HWND waitForFrame() const;
  HWND mdiClient() const;
  HWND statusBar() const;
  std::string status() const { return windowText(statusBar()); }
  std::vector<HWND> documents() const;
  bool waitForDocuments(size_t count) const;
  HWND activeDocument() const;
  HWND activeEditor() const;
  static HWND editorOf(HWND document);
  std::string activeTitle() const { return windowText(activeDocument()); }

  // A dialog or message box of the program with this title (any "#32770" when the title is empty).
  HWND waitForDialog(const std::string& title = {}, std::chrono::milliseconds timeout = 20s) const;
  std::vector<HWND> dialogs() const;
  // Presses a button of a dialog (IDOK, IDYES, ...) and waits for the dialog to go.
  bool answer(HWND dialog, int button) const;

  // The frame takes the keyboard and the keys go in through SendInput, then the program has handled them.
  void press(const std::vector<Key>& keys) const;
  void type(const std::string& text) const;
  // Menu items and tool buttons: WM_COMMAND with the command number, posted as a menu would.
  void command(int number) const;
  // Waits until the program has handled everything sent so far.
  void settle() const;

  // Posts WM_CLOSE and waits for the end; a program that will not end is photographed and ended.
  bool close();
  // Ends the program at once, photographing the screen first when `picture` is given.
  void kill(const std::string& picture = {});

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  std::string folder_;
};

}  // namespace osk::drive
