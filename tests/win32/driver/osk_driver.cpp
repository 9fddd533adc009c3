#include "osk_driver.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "services/config/config_reader.h"

namespace osk::drive {
namespace {

INPUT keyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_HOME || vk == VK_END ||
      vk == VK_PRIOR || vk == VK_NEXT || vk == VK_INSERT || vk == VK_DELETE) {
    input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  return input;
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(30ms);
  }
  return condition();
}

std::string windowText(HWND window) {
  if (window == nullptr) return {};
  char text[2048] = {};
  // WM_GETTEXT answers for windows of other processes too, where GetWindowText would not ask them.
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return text;
}

std::string className(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string programFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::vector<HWND> topLevelWindows(DWORD process, const std::string& windowClass) {
  struct Search {
    DWORD process;
    std::string windowClass;
    std::vector<HWND> found;
  } search{process, windowClass, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.process && IsWindowVisible(window) &&
            (s.windowClass.empty() || className(window) == s.windowClass)) {
          s.found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> childrenOfClass(HWND parent, const char* windowClass) {
  std::vector<HWND> children;
  for (HWND child = FindWindowExA(parent, nullptr, windowClass, nullptr); child != nullptr;
       child = FindWindowExA(parent, child, windowClass, nullptr)) {
    children.push_back(child);
  }
  return children;
}

std::string messageBoxText(HWND box) { return windowText(GetDlgItem(box, 0xFFFF)); }

HWND control(HWND dialog, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void setText(HWND dialog, int id, const std::string& text) {
  SendMessageTimeoutA(control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000,
                      nullptr);
}

void click(HWND dialog, int id) {
  HWND button = control(dialog, id);
  SendMessageTimeoutA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button),
                      SMTO_NORMAL, 10000, nullptr);
}

bool choose(HWND dialog, int id, const std::string& text, bool combo) {
  HWND list = control(dialog, id);
  DWORD_PTR found = 0;
  SendMessageTimeoutA(list, combo ? CB_SELECTSTRING : LB_SELECTSTRING, static_cast<WPARAM>(-1),
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &found);
  SendMessageTimeoutA(GetParent(list), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(list), SMTO_NORMAL, 5000, nullptr);
  return static_cast<LRESULT>(found) >= 0;
}

namespace {

// Writes the pixels of an area of a device context as a 24-bit BMP file; before the copy, `paint` may draw into
// the picture.
bool writeBitmap(HDC source, RECT area, const std::string& path, const std::function<void(HDC)>& paint = {}) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (paint) paint(memory);
  BitBlt(memory, 0, 0, width, height, source, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool saveScreen(const std::string& path) {
  HDC screen = GetDC(nullptr);
  const bool saved =
      writeBitmap(screen, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, path);
  ReleaseDC(nullptr, screen);
  return saved;
}

bool saveWindowPicture(HWND window, const std::string& path, bool printClient) {
  RECT client{};
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  const bool saved = writeBitmap(dc, client, path, [&](HDC memory) {
    if (printClient) SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  });
  ReleaseDC(window, dc);
  return saved;
}

Scratch::Scratch() {
  static int counter = 0;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "osk_drive_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++);
  CreateDirectoryA(path_.c_str(), nullptr);
}

Scratch::~Scratch() {
  // Everything in the folder goes, whatever the program left there.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string full = pathOf(name);
      SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(full.c_str());
      } else {
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

std::string Scratch::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(pathOf(name), std::ios::binary);
  out << bytes;
  return pathOf(name);
}

std::string Scratch::writeLines(const std::string& name, int lines) const {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + " of " + name + "\r\n";
  return write(name, text);
}

std::string Scratch::read(const std::string& name) const {
  std::ifstream in(pathOf(name), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Scratch::exists(const std::string& name) const {
  return GetFileAttributesA(pathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

CommandNumbers::CommandNumbers(const std::string& configFile) {
  std::vector<uint8_t> bytes;
  if (configFile.empty()) {
    // The program's built-in configuration, read from its resource as the program reads it.
    HMODULE program = LoadLibraryExA((programFolder() + "OSK32.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program == nullptr) return;
    if (HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1001), "CONFIGFILE")) {
      const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(program, found)));
      if (data != nullptr) bytes.assign(data, data + SizeofResource(program, found));
    }
    FreeLibrary(program);
  } else if (readConfigurationFile(configFile, bytes) != ConfigLoadStatus::kOk) {
    return;
  }
  CConfiguration configuration;
  if (parseConfiguration(bytes, configuration) != ConfigLoadStatus::kOk) return;
  for (const CCommand& command : configuration.commands) {
    if (!command.isSeparator()) entries_.push_back({command.number, command.name, command.parameter});
  }
}

int CommandNumbers::number(const std::string& name, const std::string& parameter) const {
  for (const Entry& e : entries_) {
    if (e.name == name && e.parameter == parameter) return e.number;
  }
  return 0;
}

Program::Program(const Scratch& folder, const std::string& arguments, bool ownSettings) : folder_(folder.path()) {
  std::string commandLine = "\"" + programFolder() + "OSK32.exe\" ";
  if (ownSettings) commandLine += "/ini \"" + settingsFile() + "\" ";
  commandLine += arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                     &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

Program::~Program() {
  if (process_ == nullptr) return;
  if (!hasEnded()) close();
  CloseHandle(process_);
}

std::string Program::settingsFile() const { return folder_ + "\\osk.ini"; }

bool Program::hasEnded() const { return process_ == nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

bool Program::waitForEnd(std::chrono::milliseconds timeout) const {
  return process_ != nullptr && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD Program::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_ != nullptr) GetExitCodeProcess(process_, &code);
  return code;
}

HWND Program::frame() const {
  const std::vector<HWND> frames = topLevelWindows(id_, "OSK32");
  return frames.empty() ? nullptr : frames.front();
}

HWND Program::waitForFrame() const {
  HWND found = nullptr;
  waitFor([&] { return (found = frame()) != nullptr; });
  return found;
}

HWND Program::mdiClient() const {
  HWND f = frame();
  return f != nullptr ? FindWindowExA(f, nullptr, "MDICLIENT", nullptr) : nullptr;
}

HWND Program::statusBar() const {
  HWND f = frame();
  return f != nullptr ? FindWindowExA(f, nullptr, "OSK_WSTAT", nullptr) : nullptr;
}

std::vector<HWND> Program::documents() const {
  HWND client = mdiClient();
  return client != nullptr ? childrenOfClass(client, "WCHILD") : std::vector<HWND>{};
}

HWND Program::editorOf(HWND document) {
  return document != nullptr ? FindWindowExA(document, nullptr, "CC_EDCLASSOSK2HANDSHAKE", nullptr) : nullptr;
}

bool Program::waitForDocuments(size_t count) const {
  return waitFor([&] {
    const std::vector<HWND> all = documents();
    return all.size() == count && std::all_of(all.begin(), all.end(), [](HWND d) {
             return editorOf(d) != nullptr && !windowText(d).empty();
           });
  });
}

HWND Program::activeDocument() const {
  HWND client = mdiClient();
  return client != nullptr ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

HWND Program::activeEditor() const { return editorOf(activeDocument()); }

std::vector<HWND> Program::dialogs() const { return topLevelWindows(id_, "#32770"); }

HWND Program::waitForDialog(const std::string& title, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  waitFor(
      [&] {
        for (HWND dialog : dialogs()) {
          // A dialog counts once it is up and taking input, not while it is still being made.
          const bool hasButton = GetDlgItem(dialog, IDOK) != nullptr || GetDlgItem(dialog, IDCANCEL) != nullptr ||
                                 GetDlgItem(dialog, IDYES) != nullptr;
          if ((title.empty() || windowText(dialog) == title) && IsWindowEnabled(dialog) && hasButton) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

bool Program::answer(HWND dialog, int button) const {
  // The button is clicked as the user clicks it; a dialog without that button gets the command itself.
  if (HWND control = GetDlgItem(dialog, button)) {
    PostMessageA(control, BM_CLICK, 0, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }
  return waitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

void Program::settle() const {
  if (process_ == nullptr) return;
  WaitForInputIdle(process_, 5000);
  if (HWND f = frame()) SendMessageTimeoutA(f, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
  WaitForInputIdle(process_, 5000);
}

void Program::press(const std::vector<Key>& keys) const {
  HWND f = frame();
  if (f == nullptr) return;
  // The X server gives the keyboard to the window under the pointer: the pointer goes over the frame first.
  RECT area;
  GetWindowRect(f, &area);
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SetForegroundWindow(f);
  waitFor([&] { return GetForegroundWindow() == f || GetForegroundWindow() == GetAncestor(f, GA_ROOTOWNER); }, 2s);
  for (const Key& key : keys) {
    std::vector<INPUT> inputs;
    if (key.ctrl) inputs.push_back(keyInput(VK_CONTROL, false));
    if (key.alt) inputs.push_back(keyInput(VK_MENU, false));
    if (key.shift) inputs.push_back(keyInput(VK_SHIFT, false));
    inputs.push_back(keyInput(key.vk, false));
    inputs.push_back(keyInput(key.vk, true));
    if (key.shift) inputs.push_back(keyInput(VK_SHIFT, true));
    if (key.alt) inputs.push_back(keyInput(VK_MENU, true));
    if (key.ctrl) inputs.push_back(keyInput(VK_CONTROL, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Input reaches the program through the display server: give it time to arrive before asking for idle.
    Sleep(40);
    settle();
  }
}

void Program::type(const std::string& text) const {
  std::vector<Key> keys;
  for (char c : text) {
    if (c == '\n') {
      keys.push_back({VK_RETURN});
      continue;
    }
    const SHORT scan = VkKeyScanA(c);
    if (scan == -1) continue;
    keys.push_back({static_cast<WORD>(scan & 0xFF), (scan & 0x100) != 0, (scan & 0x200) != 0, (scan & 0x400) != 0});
  }
  press(keys);
}

void Program::command(int number) const {
  if (HWND f = frame()) PostMessageA(f, WM_COMMAND, MAKEWPARAM(number, 0), 0);
  settle();
}

bool Program::close() {
  HWND f = frame();
  if (f != nullptr) PostMessageA(f, WM_CLOSE, 0, 0);
  if (waitForEnd(15s)) return true;
  kill(programFolder() + "osk_drive_timeout_" + std::to_string(id_) + ".bmp");
  return false;
}

void Program::kill(const std::string& picture) {
  if (process_ == nullptr || hasEnded()) return;
  if (!picture.empty()) saveScreen(picture);
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

void mouseTo(POINT screen) {
  POINT from{};
  GetCursorPos(&from);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  constexpr int kSteps = 6;
  for (int i = 1; i <= kSteps; ++i) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    const LONG x = from.x + (screen.x - from.x) * i / kSteps, y = from.y + (screen.y - from.y) * i / kSteps;
    input.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / std::max(1, width - 1));
    input.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / std::max(1, height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
  }
}

void leftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
  Sleep(40);
}

bool caretOnScreen(HWND anyWindowOfThread, POINT& topLeft, int& height) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(anyWindowOfThread, nullptr), &info) || info.hwndCaret == nullptr) {
    return false;
  }
  topLeft = {info.rcCaret.left, info.rcCaret.top};
  height = info.rcCaret.bottom - info.rcCaret.top;
  ClientToScreen(info.hwndCaret, &topLeft);
  return true;
}

}  // namespace osk::drive
