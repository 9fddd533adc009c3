#include "scenario_helpers.h"

namespace osk::drive {

namespace {

constexpr int kExplorerFileName = 0x47c;   // the file name field of an explorer-style file dialog

}  // namespace

const CommandNumbers& builtIn() {
  static const CommandNumbers numbers;
  return numbers;
}

int numberOf(const std::string& name, const std::string& parameter) {
  const int number = builtIn().number(name, parameter);
  EXPECT_NE(number, 0) << "the built-in configuration has no " << name << " " << parameter;
  return number;
}

std::string iniValue(const std::string& file, const char* section, const char* key) {
  char value[1024] = {};
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
  return value;
}

LRESULT ask(HWND window, UINT message, WPARAM wParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

namespace {

GUITHREADINFO threadState(const Program& program) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(program.frame(), nullptr), &info);
  return info;
}

}  // namespace

HWND focusOf(const Program& program) { return threadState(program).hwndFocus; }
HWND captureOf(const Program& program) { return threadState(program).hwndCapture; }

HWND openDialog(const Program& program, const std::string& command, const std::string& title) {
  program.command(numberOf(command));
  return program.waitForDialog(title);
}

void postClick(HWND dialog, int id) { PostMessageA(control(dialog, id), BM_CLICK, 0, 0); }

bool holds(HWND dialog, int id, const std::string& text, bool combo) {
  const LRESULT none = combo ? CB_ERR : LB_ERR;
  DWORD_PTR at = static_cast<DWORD_PTR>(none);
  SendMessageTimeoutA(control(dialog, id), combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &at);
  return static_cast<LRESULT>(at) != none;
}

bool chooseFile(const Program& program, const std::string& title, const std::string& name) {
  HWND dialog = program.waitForDialog(title);
  if (dialog == nullptr) return false;
  setText(dialog, kExplorerFileName, name);
  return program.answer(dialog, IDOK);
}

std::string answerBox(const Program& program, int button, std::chrono::milliseconds timeout) {
  HWND box = program.waitForDialog("OSK", timeout);
  if (box == nullptr) return "<no message box>";
  // The box can be found a moment before its text is in.
  std::string text;
  waitFor([&] {
    text = messageBoxText(box);
    return !text.empty();
  }, 5s);
  program.answer(box, button);
  return text;
}

bool savedAs(const Program& program, const Scratch& folder, const std::string& name, const std::string& text) {
  program.press({{'S', false, true}});
  return waitFor([&] { return folder.read(name) == text; }, 10s);
}

void escapeKey(bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_ESCAPE;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

bool Scenario::start(const std::string& arguments, size_t documents) {
  program_ = std::make_unique<Program>(folder, arguments);
  return program_->waitForFrame() != nullptr && program_->waitForDocuments(documents);
}

void Scenario::TearDown() {
  // A scenario that stopped half-way may leave a dialog up: the program is ended rather than asked to close.
  if (program_) program_->kill();
}

}  // namespace osk::drive
